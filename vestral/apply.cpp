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

// Only the channel of the drag's axis is keyed, so only its value, the
// captured angle plus the drag angle, is computed.
void applyToItems(ToolInstance &tool) noexcept {
    const int slot = rotationSlotOf(tool.axis);
    if (slot < 0) return;
    const KeyWriter setKey;
    for (const ItemRecord &record : tool.items) setKey(record.channels[slot], record.startRotation[slot] + tool.dragAngle);
}

void onApply(ControlId control, void *userData) noexcept {
    if (!control || !userData) return;
    ToolInstance &tool = vestral(*instanceOf(userData));
    const Vec3 offset{takeOffset(offsetFieldH, offsetH), takeOffset(offsetFieldP, offsetP),
                      takeOffset(offsetFieldB, offsetB)};

    // Rotations are read afresh, so each Apply adds the offsets again.
    captureSelection(tool);
    const KeyWriter setKey;
    for (const ItemRecord &record : tool.items)
        for (int k = 0; k < 3; ++k)
            // A zero offset leaves its channel untouched: no key is set or created.
            if (offset[k] != 0.0) setKey(record.channels[k], offset[k] * degreesToRadians + record.startRotation[k]);
}
