// snapshot.cpp: the selection as it stands when a rotation begins.
//
// Every drag and every Apply rotates from this snapshot, never from keys the
// tool wrote since, so repeated drag steps replace each other's keys.
#include "tamsery.h"

namespace {

constexpr ChannelNames<channelSlotCount> channelNames{
    {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P", "Rotation.B"}};

} // namespace

void captureSelection(ToolCommon &common) noexcept {
    auto &tool = static_cast<ToolInstance &>(common);
    const ItemId *selection = nullptr;
    double time = 0.0;
    std::size_t n = 0;
    if (snapshotSource(selection, time))
        while (selection[n]) ++n;
    try {
        tool.items.resize(n);
    } catch (...) {
        n = 0; // out of memory: capture nothing, as for an empty selection
    }
    tool.itemCount = static_cast<int>(n);
    if (n == 0) return; // origins and panel keep what they showed

    Vec3 sum{};
    for (std::size_t i = 0; i < n; ++i) {
        ItemRecord &record = tool.items[i];
        record.item = selection[i];
        record.startPosition = itemParam(record.item, ITEM_PARAM_WORLD_POSITION, time);
        record.startRotation = itemParam(record.item, ITEM_PARAM_ROTATION, time);
        findItemChannels(record.item, channelNames, record.channels);
        for (int k = 0; k < 3; ++k) sum[k] += record.startPosition[k];
    }
    if (tool.originMode == 1) // "Average": the centre of the selection
        for (int k = 0; k < 3; ++k) tool.customOrigin[k] = sum[k] / static_cast<double>(n);
    tool.origin = tool.customOrigin;
    showOrigin(tool);
}
