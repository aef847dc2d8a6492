// panel.cpp: the panel of offset fields, their drag buttons, Apply and the
// three angle read-outs.
#include "vestral.h"

ControlId offsetFieldH = nullptr, offsetFieldP = nullptr, offsetFieldB = nullptr;
ControlId offsetNudgeH = nullptr, offsetNudgeP = nullptr, offsetNudgeB = nullptr;
ControlId applyButton = nullptr;
ControlId angleInfoH = nullptr, angleInfoP = nullptr, angleInfoB = nullptr;

namespace {

// Each drag button nudges the offset field beside it. The info fields share
// onNudge as their handler but have no pair, so their events change nothing.
constexpr NudgePair nudgePairs[] = {
    {&offsetNudgeH, &offsetFieldH, &offsetH, 0},
    {&offsetNudgeP, &offsetFieldP, &offsetP, 0},
    {&offsetNudgeB, &offsetFieldB, &offsetB, 0},
};

constexpr int panelWidth = 200;
constexpr int panelHeight = 120;
constexpr int infoFieldWidth = 10; // characters

intptr_t posX(ControlId control) noexcept { return getInteger(control, CONTROL_POS_X); }
intptr_t posY(ControlId control) noexcept { return getInteger(control, CONTROL_POS_Y); }
intptr_t width(ControlId control) noexcept { return getInteger(control, CONTROL_WIDTH); }
intptr_t height(ControlId control) noexcept { return getInteger(control, CONTROL_HEIGHT); }

// One row per channel: the float field where the host put it (the first
// row's stays put), its drag button right after it, the info field at four
// drag-button widths. Each row sits under the one before, Apply under the
// last.
void layOut() noexcept {
    setPosition(offsetNudgeH, width(offsetFieldH), posY(offsetFieldH));
    setPosition(offsetFieldP, posX(offsetFieldP), height(offsetFieldH));
    setPosition(angleInfoH, 4 * width(offsetNudgeH), posY(offsetFieldH));
    setPosition(offsetNudgeP, width(offsetFieldP), posY(offsetFieldP));
    setPosition(offsetFieldB, posX(offsetFieldB), posY(offsetFieldP) + height(offsetFieldP));
    setPosition(angleInfoP, 4 * width(offsetNudgeP), posY(offsetFieldP));
    setPosition(offsetNudgeB, width(offsetFieldB), posY(offsetFieldB));
    setPosition(applyButton, posX(applyButton), posY(offsetFieldB) + height(offsetFieldB));
    setPosition(angleInfoB, 4 * width(offsetNudgeB), posY(offsetFieldB));
}

} // namespace

const ToolTraits toolTraits{"Kelzu_Vestral++", "Vestral++", HandleTest::never, nudgePairs, 3};

// The fields get no initial value: they start as the host makes them, and
// the info fields stay empty until the first move.
PanelId buildPanel(ToolCommon &tool) noexcept {
    PanelService *panels = hostServices.panelService;
    if (!panels || !panels->createPanel) return nullptr;
    PanelId panel = panels->createPanel("Kelzu Vestral++", nullptr);
    tool.panelId = panel;
    if (!panel) return nullptr;

    offsetFieldH = addControl(panel, "FloatControl", CONTROL_KIND_FLOAT, " H");
    offsetFieldP = addControl(panel, "FloatControl", CONTROL_KIND_FLOAT, " P");
    offsetFieldB = addControl(panel, "FloatControl", CONTROL_KIND_FLOAT, " B");
    offsetNudgeH = addControl(panel, "DragButtonControl", CONTROL_KIND_DRAG_BUTTON, "", -1, 0);
    offsetNudgeP = addControl(panel, "DragButtonControl", CONTROL_KIND_DRAG_BUTTON, "", -1, 0);
    offsetNudgeB = addControl(panel, "DragButtonControl", CONTROL_KIND_DRAG_BUTTON, "", -1, 0);
    applyButton = addControl(panel, "ButtonControl", CONTROL_KIND_BUTTON, "Apply");
    angleInfoH = addControl(panel, "InfoControl", CONTROL_KIND_INFO, "H", infoFieldWidth);
    angleInfoP = addControl(panel, "InfoControl", CONTROL_KIND_INFO, "P", infoFieldWidth);
    angleInfoB = addControl(panel, "InfoControl", CONTROL_KIND_INFO, "B", infoFieldWidth);

    layOut();
    setPanelSize(panel, PANEL_WIDTH, panelWidth);
    setPanelSize(panel, PANEL_HEIGHT, panelHeight);

    for (ControlId field : {offsetFieldH, offsetFieldP, offsetFieldB}) wire(field, tool, onControlEvent);
    for (ControlId control : {offsetNudgeH, offsetNudgeP, offsetNudgeB, angleInfoH, angleInfoP, angleInfoB})
        wire(control, tool, onNudge);
    wire(applyButton, tool, onApply);

    tool.dirty = 1;
    return panel;
}

// Nothing is keyed here: the offsets take effect at the next Apply.
void onControlEvent(ControlId control, void *userData) noexcept {
    if (!control || !userData) return;
    if (control == offsetFieldH) offsetH = toFloat32(getNumber(control));
    if (control == offsetFieldP) offsetP = toFloat32(getNumber(control));
    if (control == offsetFieldB) offsetB = toFloat32(getNumber(control));
    instanceOf(userData)->dirty = 1;
}
