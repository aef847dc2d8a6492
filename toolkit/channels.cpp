// channels.cpp: finding an item's channels by name, keying them, vectors.
#include "toolkit.h"

#include <cmath>
#include <cstring>
#include <limits>

void findItemChannels(ItemId item, const unsigned char slotsHolding[256], EnvelopeId slots[], int slotCount) noexcept {
    for (int i = 0; i < slotCount; ++i) slots[i] = nullptr;
    const ItemService *items = hostServices.itemService;
    const ChannelService *channels = hostServices.channelService;
    if (!items || !items->itemChannelGroup || !channels || !channels->nextChannel || !channels->channelName ||
        !channels->channelEnvelope)
        return;

    ChannelGroupId group = items->itemChannelGroup(item);
    if (!group) return;
    const unsigned allSlots = (1u << slotCount) - 1;
    for (ChannelId channel = channels->nextChannel(group, nullptr); channel;
         channel = channels->nextChannel(group, channel)) {
        const char *name = channels->channelName(channel);
        if (!name) continue;
        // Not a comparison: the name's first ten characters must all occur
        // somewhere in the slot's name, which makes the leading run longer
        // than 9. The name's end occurs in no slot's name, so a shorter
        // name matches nothing and is not read past its end.
        unsigned matching = allSlots;
        for (int c = 0; c < 10 && matching; ++c) matching &= slotsHolding[static_cast<unsigned char>(name[c])];
        if (!matching) continue;
        const EnvelopeId envelope = channels->channelEnvelope(channel);
        for (int i = 0; i < slotCount; ++i)
            if (matching >> i & 1u) slots[i] = envelope;
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
