// panel.cpp: Pellwyn's panel: Method and Origin, the typed factors and
// origin, and Apply.
#include "pellwyn.h"

float scaleX, scaleY, scaleZ;
OriginPanel controls;

namespace {

float *const scaleValues[3] = {&scaleX, &scaleY, &scaleZ};

const NudgePair nudgePairs[] = {
    {&controls.values.nudges[0], &controls.values.fields[0], &scaleX, 0},
    {&controls.values.nudges[1], &controls.values.fields[1], &scaleY, 0},
    {&controls.values.nudges[2], &controls.values.fields[2], &scaleZ, 0},
    {&controls.originFields.nudges[0], &controls.originFields.fields[0], nullptr, 0},
    {&controls.originFields.nudges[1], &controls.originFields.fields[1], nullptr, 1},
    {&controls.originFields.nudges[2], &controls.originFields.fields[2], nullptr, 2},
};

// A choice's new index; an index the choice does not have keeps the old one.
int chosen(ControlId choice, int current, int entries) noexcept {
    const intptr_t index = getInteger(choice, CONTROL_VALUE);
    return index >= 0 && index < entries ? static_cast<int>(index) : current;
}

// A field's value; a field the host failed to create keeps `current`.
double fieldValue(ControlId field, double current) noexcept { return field ? getNumber(field) : current; }

} // namespace

const ToolTraits toolTraits = {"Kelzu_Pellwyn", "Pellwyn", HandleTest::inCustomMode, nudgePairs,
                               static_cast<int>(sizeof nudgePairs / sizeof nudgePairs[0])};

ToolCommon *createInstance() noexcept { return createInstanceOf<ToolInstance>(); }
void destroyInstance(ToolCommon *instance) noexcept { delete static_cast<ToolInstance *>(instance); }

void applyFirstActivationDefaults() noexcept { scaleX = scaleY = scaleZ = 1.0f; }

PanelId buildPanel(ToolCommon &common) noexcept {
    ToolInstance &tool = pellwyn(common);
    static const char *const originEntries[] = {"Custom", "Center of Objs", nullptr};
    static const char *const methodEntries[] = {"Stretch", "Stretch Flat", "Scale", nullptr};
    tool.panelId = addOriginPanel("Kelzu Pellwyn", originEntries, methodEntries, "Scale", {" X", " Y", " Z"}, controls);
    if (!tool.panelId) return nullptr;
    tool.customOrigin = {0.0, 0.0, 0.0};

    if (tool.originMode < 0 || tool.originMode > 1) tool.originMode = 0;
    if (tool.method < 0 || tool.method > 2) tool.method = 0;
    layOutOriginPanel(controls);

    setInteger(controls.originChoice, CONTROL_VALUE, tool.originMode);
    setInteger(controls.methodChoice, CONTROL_VALUE, tool.method);
    for (int k = 0; k < 3; ++k) setNumber(controls.values.fields[k], *scaleValues[k]);
    for (int k = 0; k < 3; ++k) setNumber(controls.originFields.fields[k], tool.customOrigin[k]);
    setPanelSize(tool.panelId, PANEL_HEIGHT, 2 * static_cast<int>(getInteger(controls.applyButton, CONTROL_HEIGHT)));

    wire(controls.originChoice, tool, onControlEvent);
    wire(controls.methodChoice, tool, onControlEvent);
    for (ControlId field : controls.values.fields) wire(field, tool, onControlEvent);
    for (ControlId nudge : controls.values.nudges) wire(nudge, tool, onNudge);
    for (ControlId field : controls.originFields.fields) wire(field, tool, onControlEvent);
    for (ControlId nudge : controls.originFields.nudges) wire(nudge, tool, onNudge);
    wire(controls.applyButton, tool, onApply);

    tool.dirty = 1;
    return tool.panelId;
}

void onControlEvent(ControlId control, void *userData) noexcept {
    if (!control || !userData) return;
    ToolInstance &tool = pellwyn(*instanceOf(userData));
    if (control == controls.originChoice) {
        tool.originMode = chosen(control, tool.originMode, 2);
        setInteger(control, CONTROL_VALUE, tool.originMode);
    } else if (control == controls.methodChoice) {
        tool.method = chosen(control, tool.method, 3);
        setInteger(control, CONTROL_VALUE, tool.method);
    }
    for (int k = 0; k < 3; ++k) {
        if (control == controls.values.fields[k]) *scaleValues[k] = toFloat32(getNumber(control));
        if (control == controls.originFields.fields[k]) tool.origin[k] = tool.customOrigin[k] = getNumber(control);
    }
    tool.dirty = 1;
}

void onApply(ControlId, void *userData) noexcept {
    if (!userData) return;
    ToolInstance &tool = pellwyn(*instanceOf(userData));
    tool.originMode = chosen(controls.originChoice, tool.originMode, 2);
    setInteger(controls.methodChoice, CONTROL_VALUE, methodStretch);
    tool.method = methodStretch;
    for (int k = 0; k < 3; ++k)
        *scaleValues[k] = toFloat32(fieldValue(controls.values.fields[k], *scaleValues[k]));
    for (int k = 0; k < 3; ++k)
        tool.origin[k] = tool.customOrigin[k] = fieldValue(controls.originFields.fields[k], tool.customOrigin[k]);
    const Vec3 factor{scaleX, scaleY, scaleZ};

    captureSelection(tool);
    // Apply scales each coordinate by its own factor, whatever the method
    // and the view; a factor of exactly 1 leaves its channel unkeyed.
    const KeyWriter setKey;
    for (int i = 0; i < tool.itemCount; ++i) {
        const ItemRecord &record = tool.items[i];
        for (int k = 0; k < 3; ++k)
            if (factor[k] != 1.0)
                setKey(record.channels[k], factor[k] * record.distance * record.direction[k] + tool.origin[k]);
    }
}
