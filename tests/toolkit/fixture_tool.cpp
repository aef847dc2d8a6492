// fixture_tool.cpp: the smallest tool the toolkit can host. Its panel has a
// float field " V" and a field " O" (customOrigin X), each with a drag button.
// A drag keys every captured item's Position.X with deltaX.
#include "fixture_tool.h"

namespace fixture {
bool failAllocation = false;
int captures = 0;
float value = 0.0f;
std::vector<ItemRecord> *lastItems = nullptr;
} // namespace fixture

namespace {

struct ToolInstance : ToolCommon {
    std::vector<fixture::ItemRecord> items;
};

ControlId valueField, valueNudge, originField, originNudge;

const NudgePair nudgePairs[] = {
    {&valueNudge, &valueField, &fixture::value, 0},
    {&originNudge, &originField, nullptr, 0},
};

} // namespace

const ToolTraits toolTraits = {"Fixture_Tool", "Fixture", HandleTest::never, nudgePairs, 2};

ToolCommon *createInstance() noexcept {
    return fixture::failAllocation ? nullptr : createInstanceOf<ToolInstance>();
}
void destroyInstance(ToolCommon *instance) noexcept { delete static_cast<ToolInstance *>(instance); }
void applyFirstActivationDefaults() noexcept { fixture::value = 1.0f; }

PanelId buildPanel(ToolCommon &tool) noexcept {
    PanelService *panels = hostServices.panelService;
    PanelId panel = panels && panels->createPanel ? panels->createPanel("Fixture", nullptr) : nullptr;
    if (!panel) return nullptr;
    valueField = addControl(panel, "FloatControl", CONTROL_KIND_FLOAT, " V");
    valueNudge = addControl(panel, "DragButtonControl", CONTROL_KIND_DRAG_BUTTON, "", -1, 0);
    originField = addControl(panel, "FloatControl", CONTROL_KIND_FLOAT, " O");
    originNudge = addControl(panel, "DragButtonControl", CONTROL_KIND_DRAG_BUTTON, "", -1, 0);
    setNumber(valueField, fixture::value);
    wire(valueNudge, tool, onNudge);
    wire(originNudge, tool, onNudge);
    tool.dirty = 1;
    return panel;
}

void captureSelection(ToolCommon &common) noexcept {
    static constexpr ChannelNames<3> names{{"Position.X", "Position.Y", "Position.Z"}};
    auto &tool = static_cast<ToolInstance &>(common);
    ++fixture::captures;
    fixture::lastItems = &tool.items;
    const ItemId *selection = nullptr;
    double time = 0;
    tool.items.clear();
    if (snapshotSource(selection, time))
        for (const ItemId *item = selection; *item; ++item) {
            tool.items.push_back({*item, {}});
            findItemChannels(*item, names, tool.items.back().channels);
        }
    tool.itemCount = static_cast<int>(tool.items.size());
}

void move(ToolCommon &common, const ToolEvent &event) noexcept {
    for (const auto &record : static_cast<ToolInstance &>(common).items)
        setChannelKey(record.channels[0], event.deltaX);
}

void up(ToolCommon &, const ToolEvent &) noexcept {}
