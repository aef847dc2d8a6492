// snapshot.cpp: the selection as the next scaling starts from it.
#include "pellwyn.h"

#include <cmath>

namespace {
constexpr ChannelNames<3> positionChannels{{"Position.X", "Position.Y", "Position.Z"}};
}

void captureSelection(ToolCommon &common) noexcept {
    ToolInstance &tool = pellwyn(common);
    const ItemId *selection = nullptr;
    double time = 0;
    Vec3 sum{};
    int count = 0;
    if (snapshotSource(selection, time)) {
        for (const ItemId *item = selection; *item; ++item, ++count) {
            const Vec3 p = itemParam(*item, ITEM_PARAM_WORLD_POSITION, time);
            for (int k = 0; k < 3; ++k) sum[k] += p[k];
        }
    }
    try {
        tool.items.resize(static_cast<std::size_t>(count));
    } catch (...) {
        count = 0;
        tool.items.clear();
    }
    if (count < 1) {
        tool.itemCount = 0; // origin, customOrigin and the panel stay as they were
        return;
    }
    tool.itemCount = count;

    if (tool.originMode == originCenterOfObjs) {
        for (int k = 0; k < 3; ++k) tool.origin[k] = sum[k] / count;
        tool.customOrigin = tool.origin;
        if (panelOpen(tool))
            for (int k = 0; k < 3; ++k) setNumber(controls.originFields.fields[k], tool.customOrigin[k]);
    } else {
        tool.origin = tool.customOrigin;
    }

    for (int i = 0; i < count; ++i) {
        ItemRecord &record = tool.items[i];
        record.item = selection[i];
        record.startPosition = itemParam(record.item, ITEM_PARAM_WORLD_POSITION, time);
        Vec3 offset;
        for (int k = 0; k < 3; ++k) offset[k] = record.startPosition[k] - tool.origin[k];
        record.distance = std::sqrt(offset[0] * offset[0] + offset[1] * offset[1] + offset[2] * offset[2]);
        normalize(offset);
        record.direction = offset;
        findItemChannels(record.item, positionChannels, record.channels);
    }
}
