// snapshot.cpp: the instance and the selection a drag or an Apply starts from.
#include "vestral.h"

namespace {
constexpr ChannelNames<3> rotationChannels{{"Rotation.H", "Rotation.P", "Rotation.B"}};
}

ToolCommon *createInstance() noexcept { return createInstanceOf<ToolInstance>(); }

void destroyInstance(ToolCommon *instance) noexcept { delete static_cast<ToolInstance *>(instance); }

// The offsets start at zero with the module and then keep what the user typed.
void applyFirstActivationDefaults() noexcept {}

void captureSelection(ToolCommon &common) noexcept {
    ToolInstance &tool = vestral(common);
    const ItemId *selection = nullptr;
    double time = 0;
    int count = 0;
    if (snapshotSource(selection, time))
        while (selection[count]) ++count;
    try {
        tool.items.resize(static_cast<std::size_t>(count));
    } catch (...) {
        count = 0; // no room: this snapshot holds nothing, so nothing is keyed
        tool.items.clear();
    }
    tool.itemCount = count;

    for (int i = 0; i < count; ++i) {
        ItemRecord &record = tool.items[i];
        record.item = selection[i];
        record.startRotation = itemParam(record.item, ITEM_PARAM_ROTATION, time);
        findItemChannels(record.item, rotationChannels, record.channels);
    }
}
