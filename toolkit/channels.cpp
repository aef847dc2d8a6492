// channels.cpp: finding an item's channels by name, keying them, vectors.
#include "toolkit.h"

#include <cmath>
#include <cstring>
#include <limits>

void findItemChannels(ItemId item, const char *const names[], EnvelopeId slots[], int slotCount) noexcept {
    for (int i = 0; i < slotCount; ++i) slots[i] = nullptr;
    const ItemService *items = hostServices.itemService;
    const ChannelService *channels = hostServices.channelService;
    if (!items || !items->itemChannelGroup || !channels || !channels->nextChannel || !channels->channelName ||
        !channels->channelEnvelope)
        return;

    ChannelGroupId group = items->itemChannelGroup(item);
    if (!group) return;
    for (ChannelId channel = channels->nextChannel(group, nullptr); channel;
         channel = channels->nextChannel(group, channel)) {
        const char *name = channels->channelName(channel);
        if (!name) continue;
        for (int i = 0; i < slotCount; ++i) {
            // Not a comparison: the leading run of characters found anywhere
            // in the slot's ten-character name must be longer than 9.
            if (std::strspn(name, names[i]) > 9) slots[i] = channels->channelEnvelope(channel);
        }
    }
}

void normalize(Vec3 &vector, double length) noexcept {
    const double n = std::sqrt(vector[0] * vector[0] + vector[1] * vector[1] + vector[2] * vector[2]);
    if (n == 0) return;
    for (double &component : vector) component *= length / n;
}

float toFloat32(double value) noexcept {
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest) return std::numeric_limits<float>::infinity();
    if (value < -largest) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}
