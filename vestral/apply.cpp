// apply.cpp: adding a drag angle or the typed offsets to the captured rotations.
#include "vestral.h"

float offsetH = 0.0f;
float offsetP = 0.0f;
float offsetB = 0.0f;

namespace {

// The field's value at single precision, kept in `offset`. A field the host
// failed to add offsets nothing and leaves the kept value alone.
double takeOffset(ControlId field, float &offset) noexcept {
    if (!field) return 0.0;
    offset = toFloat32(getNumber(field));
    return offset;
}

} // namespace

void applyToItems(ToolInstance &tool) noexcept {
    const int slot = rotationSlotOf(tool.axis);
    const KeyWriter setKey;
    for (ItemRecord &record : tool.items) {
        const double angle = tool.dragAngle; // read here, it need not outlive the host calls below
        for (int k = 0; k < 3; ++k) record.newRotation[k] = record.startRotation[k] + angle;
        if (slot >= 0) setKey(record.channels[slot], record.newRotation[slot]);
    }
}

void onApply(ControlId control, void *userData) noexcept {
    if (!control || !userData) return;
    ToolInstance &tool = vestral(*instanceOf(userData));
    const Vec3 offset{takeOffset(offsetFieldH, offsetH), takeOffset(offsetFieldP, offsetP),
                      takeOffset(offsetFieldB, offsetB)};

    // Rotations are read afresh, so each Apply adds the offsets again.
    captureSelection(tool);
    const KeyWriter setKey;
    for (ItemRecord &record : tool.items) {
        for (int k = 0; k < 3; ++k) record.newRotation[k] = offset[k] * degreesToRadians + record.startRotation[k];
        // A zero offset leaves its channel untouched: no key is set or created.
        for (int k = 0; k < 3; ++k)
            if (offset[k] != 0.0) setKey(record.channels[k], record.newRotation[k]);
    }
}
