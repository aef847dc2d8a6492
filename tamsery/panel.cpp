// panel.cpp: Tamsery's floating panel and its handlers.
//
// The panel offers the Origin ("Custom", "Average") and Method ("Keep",
// "Rotate") choices, the angles H, P, B in degrees, the custom origin X, Y,
// Z, an item list whose pick moves the origin to that item, and Apply, which
// rotates the selection by the typed angles.
#include "tamsery.h"

#include <cstdlib>

namespace {

const char *const originEntries[] = {"Custom", "Average", nullptr};
const char *const methodEntries[] = {"Keep", "Rotate", nullptr};

// The rotate fields in panel order, and the angle each one sets.
enum RotateField { fieldH, fieldP, fieldB };
float *const angleOf[3] = {&angleH, &angleP, &angleB};

// Both choices have two entries.
bool isEntry(intptr_t index) noexcept { return index == 0 || index == 1; }

// The choice's index; an index it does not have, or a choice the host gave
// no handle, keeps `current`.
int chosen(ControlId choice, int current) noexcept {
    if (!choice) return current;
    const intptr_t index = getInteger(choice, CONTROL_VALUE);
    return isEntry(index) ? static_cast<int>(index) : current;
}

int indexOf(const std::array<ControlId, 3> &handles, ControlId control) noexcept {
    for (int i = 0; i < 3; ++i)
        if (handles[i] == control) return i;
    return -1;
}

// H turns about Y, P about X, B about Z.
ControlId rotateFieldOf(int axis) noexcept {
    switch (std::abs(axis)) {
    case 1: return panelControls.values.fields[fieldP];
    case 2: return panelControls.values.fields[fieldH];
    case 3: return panelControls.values.fields[fieldB];
    default: return nullptr;
    }
}

void writeOriginFields(const Vec3 &point) noexcept {
    for (int k = 0; k < 3; ++k) setNumber(panelControls.originFields.fields[k], point[k]);
}

// The picked item's world position becomes both origins; the snapshot is
// retaken. False when there is nothing to pick.
bool pickOrigin(ToolInstance &tool, ItemId item) noexcept {
    const ItemService *items = hostServices.itemService;
    const TimeService *clock = hostServices.timeService;
    if (!item || !items || !items->itemParam || !clock) return false;
    const Vec3 p = itemParam(item, ITEM_PARAM_WORLD_POSITION, clock->currentTime);
    tool.customOrigin = p;
    tool.origin = p;
    captureSelection(tool);
    // Under "Average" the snapshot moved both origins to the centre; the
    // fields still show the item the user picked.
    if (panelOpen(tool)) writeOriginFields(p);
    return true;
}

// A field's value, or `fallback` when the host gave the field no handle.
double fieldValue(ControlId field, double fallback) noexcept { return field ? getNumber(field) : fallback; }

} // namespace

void showOrigin(const ToolInstance &tool) noexcept {
    if (panelOpen(tool)) writeOriginFields(tool.customOrigin);
}

void showDrag(const ToolInstance &tool) noexcept {
    if (!panelOpen(tool)) return;
    setNumber(rotateFieldOf(tool.axis), tool.angle);
    writeOriginFields(tool.customOrigin);
}

PanelId buildPanel(ToolCommon &common) noexcept {
    auto &tool = static_cast<ToolInstance &>(common);
    OriginPanel &c = panelControls;
    itemList = nullptr;
    const PanelId panel = addOriginPanel("Kelzu Tamsery", originEntries, methodEntries, "Rotate", {" H", " P", " B"}, c);
    if (!panel) return nullptr;
    tool.panelId = panel;
    tool.customOrigin = {};
    // The list shows the scene's items; the host's accessor lets it find them.
    itemList = addControl(panel, "LWListControl", CONTROL_KIND_LIST, "",
                          reinterpret_cast<intptr_t>(hostServices.panelService->panelGlobal), 5);

    if (!isEntry(tool.originMode)) tool.originMode = 0;
    if (!isEntry(tool.method)) tool.method = 0;

    layOutOriginPanel(c);
    // The list sits on the Method row, right of the choice.
    setPosition(itemList, getInteger(c.methodChoice, CONTROL_WIDTH) + 10, getInteger(c.methodChoice, CONTROL_POS_Y));

    setInteger(c.originChoice, CONTROL_VALUE, tool.originMode);
    setInteger(c.methodChoice, CONTROL_VALUE, tool.method);
    for (int i = 0; i < 3; ++i) setNumber(c.values.fields[i], *angleOf[i]);
    writeOriginFields(tool.customOrigin);
    setPanelSize(panel, PANEL_HEIGHT, static_cast<int>(2 * getInteger(c.applyButton, CONTROL_HEIGHT)));

    wire(c.originChoice, tool, onControlEvent);
    wire(c.methodChoice, tool, onControlEvent);
    for (ControlId field : c.values.fields) wire(field, tool, onControlEvent);
    for (ControlId nudge : c.values.nudges) wire(nudge, tool, onNudge);
    for (ControlId field : c.originFields.fields) wire(field, tool, onControlEvent);
    wire(itemList, tool, onControlEvent);
    for (ControlId nudge : c.originFields.nudges) wire(nudge, tool, onNudge);
    wire(c.applyButton, tool, onApply);

    tool.dirty = 1;
    return panel;
}

// Takes an edit into the tool's state. Nothing is keyed: a new choice, angle
// or origin takes effect at the next drag or Apply.
void onControlEvent(ControlId control, void *userData) noexcept {
    if (!control || !userData) return;
    auto &tool = static_cast<ToolInstance &>(*instanceOf(userData));
    const OriginPanel &c = panelControls;

    if (control == c.originChoice) {
        tool.originMode = chosen(control, tool.originMode);
        setInteger(control, CONTROL_VALUE, tool.originMode);
    } else if (control == c.methodChoice) {
        tool.method = chosen(control, tool.method);
        setInteger(control, CONTROL_VALUE, tool.method);
    } else if (const int i = indexOf(c.values.fields, control); i >= 0) {
        *angleOf[i] = toFloat32(getNumber(control));
    } else if (const int k = indexOf(c.originFields.fields, control); k >= 0) {
        tool.customOrigin[k] = getNumber(control); // the working origin follows at the next snapshot
    } else if (control == itemList) {
        if (!pickOrigin(tool, reinterpret_cast<ItemId>(getInteger(control, CONTROL_VALUE)))) return;
    }
    tool.dirty = 1;
}

// Rotates the selection by the typed angles: about Z by B, then about X by
// P, then about Y by H, each from the same snapshot. A channel that two of
// the rotations key keeps the later one's value.
void onApply(ControlId control, void *userData) noexcept {
    if (!control || !userData) return;
    auto &tool = static_cast<ToolInstance &>(*instanceOf(userData));
    const OriginPanel &c = panelControls;

    tool.originMode = chosen(c.originChoice, tool.originMode);
    tool.method = chosen(c.methodChoice, tool.method);
    for (int i = 0; i < 3; ++i) *angleOf[i] = toFloat32(fieldValue(c.values.fields[i], *angleOf[i]));
    for (int k = 0; k < 3; ++k) {
        const double v = fieldValue(c.originFields.fields[k], tool.customOrigin[k]);
        tool.customOrigin[k] = v;
        tool.origin[k] = v;
    }
    const double h = angleH, p = angleP, b = angleB;

    captureSelection(tool);
    if (b != 0) {
        tool.axis = 3;
        tool.angle = b;
        applyToItems(tool);
    }
    if (p != 0) {
        tool.axis = 1;
        tool.angle = p;
        applyToItems(tool);
    }
    if (h != 0) {
        tool.axis = 2;
        tool.angle = h;
        applyToItems(tool);
    }
}
