// nudge.cpp: the drag buttons beside the numeric fields.
//
// Dragging across a button nudges its field by one percent of the value per
// event (at least 0.001 near zero), within ±100000. Only the change of the
// button's position from one event to the next matters.
#include "callbacks.h"

namespace {

// The nudge memory, shared by every activation of the module.
ControlId lastNudgeControl = nullptr;
int32_t lastNudgePosition = 0;

constexpr double nudgeLimit = 100000.0;

const NudgePair *pairOf(ControlId button) noexcept {
    for (int i = 0; i < toolTraits.nudgePairCount; ++i)
        if (*toolTraits.nudgePairs[i].button == button) return &toolTraits.nudgePairs[i];
    return nullptr;
}

// The field's value one step up or down, clamped, at single precision.
float nudged(double v, bool upward) noexcept {
    const double step = v / 100.0;
    double n;
    if (-0.0001 < step && step < 0.0001)
        n = upward ? v + 0.001 : v - 0.001;
    else if (step > 0)
        n = upward ? v + step : v - step;
    else
        n = upward ? v - step : v + step;
    // Clamping before the narrowing gives the same float and keeps huge
    // values inside the float range.
    if (n > nudgeLimit) n = nudgeLimit;
    if (n < -nudgeLimit) n = -nudgeLimit;
    return static_cast<float>(n);
}

// Reads and writes of its own, apart from the records the other handlers share.
int32_t readPosition(PanelService &panels, ControlId control) noexcept {
    ControlValue value{VALUE_KIND_INTEGER};
    panels.getControl(control, CONTROL_VALUE, &value);
    return static_cast<int32_t>(value.integer.value);
}

double readField(PanelService &panels, ControlId field) noexcept {
    ControlValue value{VALUE_KIND_NUMBER};
    panels.getControl(field, CONTROL_VALUE, &value);
    return value.number.value;
}

void writeField(PanelService &panels, ControlId field, double v) noexcept {
    ControlValue value{VALUE_KIND_NUMBER};
    value.number.value = v;
    panels.setControl(field, CONTROL_VALUE, &value);
}

} // namespace

void forgetLastNudge() noexcept {
    lastNudgeControl = nullptr;
    lastNudgePosition = 0;
}

void onNudge(ControlId control, void *userData) noexcept {
    PanelService *panels = hostServices.panelService;
    if (!control || !userData || !panels || !panels->getControl || !panels->setControl) return;
    ToolCommon &instance = *instanceOf(userData);

    const int32_t pos = readPosition(*panels, control);
    if (control != lastNudgeControl) { // the first event from a button only records it
        lastNudgeControl = control;
        lastNudgePosition = pos;
        return;
    }
    const bool upward = pos > lastNudgePosition;
    const NudgePair *pair = pairOf(control);
    if (!pair || !*pair->field) return;

    const float n = nudged(readField(*panels, *pair->field), upward);
    lastNudgePosition = pos;
    writeField(*panels, *pair->field, n);
    instance.dirty = 1;
    if (pair->value)
        *pair->value = n;
    else
        instance.customOrigin[pair->originAxis] = n;
}
