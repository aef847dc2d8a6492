// drag.cpp: the mouse drag. A press on the origin cross moves the origin;
// any other press rotates the selection by the horizontal mouse offset.
#include "tamsery.h"

void move(ToolCommon &common, const ToolEvent &event) noexcept {
    auto &tool = static_cast<ToolInstance &>(common);
    tool.angle = 0.0; // an origin drag leaves no angle behind
    if (tool.onHandle == 1) {
        dragOrigin(tool, event);
        showOrigin(tool);
        return;
    }
    // Set anew from the offset since the press, never accumulated: a
    // hundredth of a degree per pixel, a whole degree with the modifier.
    tool.angle = event.deltaX * ((event.eventFlags & EVENT_FLAG_MODIFIER) ? 1.0 : 0.01);
    showDrag(tool);
    applyToItems(tool);
    tool.dirty = 1;
}

void up(ToolCommon &common, const ToolEvent &) noexcept { showDrag(static_cast<ToolInstance &>(common)); }
