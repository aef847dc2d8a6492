// scaling.cpp: the drag. Cursor movement becomes scale factors, and every
// captured item's distance from the origin is multiplied by them.
#include "pellwyn.h"

#include <cstdlib>

namespace {

// Which coordinates a drag computes, with which factor, and which it keys.
struct DragPlan {
    Vec3 factor{};
    bool computed[3]{};
    bool keyed[3]{};
};

// "Stretch" drives the two view-plane coordinates by the two movements and
// leaves the depth coordinate alone; "Stretch Flat" scales all three by the
// horizontal factor but keys only the view plane; "Scale" scales and keys
// all three.
DragPlan planDrag(const ToolInstance &tool) noexcept {
    DragPlan plan;
    const double f0 = tool.dragFactors[0];
    const double f1 = tool.dragFactors[1];
    const int depth = std::abs(tool.axis) - 1; // 0 X, 1 Y, 2 Z; outside 0..2 when no axis was picked
    switch (tool.method) {
    case methodStretch: {
        // Seen along X the horizontal movement drives Z and the vertical Y;
        // along Y, X and Z; along Z, X and Y.
        static const int byDepth[3][2] = {{2, 1}, {0, 2}, {0, 1}};
        if (depth < 0 || depth > 2) break;
        plan.factor[byDepth[depth][0]] = f0;
        plan.factor[byDepth[depth][1]] = f1;
        plan.computed[byDepth[depth][0]] = plan.computed[byDepth[depth][1]] = true;
        break;
    }
    case methodStretchFlat:
    case methodScale:
        for (int k = 0; k < 3; ++k) {
            plan.factor[k] = f0;
            plan.computed[k] = true;
        }
        break;
    default:
        break;
    }
    for (int k = 0; k < 3; ++k)
        plan.keyed[k] = plan.computed[k] && (tool.method == methodScale || k != depth);
    return plan;
}

} // namespace

void showDrag(ToolInstance &tool) noexcept {
    if (!panelOpen(tool)) return;
    // Each scale field shows the factor its coordinate got; under "Stretch"
    // the depth coordinate, which keeps its place, shows 1.
    const DragPlan plan = planDrag(tool);
    for (int k = 0; k < 3; ++k) setNumber(controls.values.fields[k], plan.computed[k] ? plan.factor[k] : 1.0);
    for (int k = 0; k < 3; ++k) setNumber(controls.originFields.fields[k], tool.customOrigin[k]);
}

void applyToItems(ToolInstance &tool) noexcept {
    const DragPlan plan = planDrag(tool);
    const Vec3 origin = tool.origin;
    const KeyWriter setKey;
    for (int i = 0; i < tool.itemCount; ++i) {
        const ItemRecord &record = tool.items[i];
        for (int k = 0; k < 3; ++k)
            if (plan.keyed[k]) setKey(record.channels[k], record.distance * plan.factor[k] * record.direction[k] + origin[k]);
    }
}

void move(ToolCommon &common, const ToolEvent &event) noexcept {
    ToolInstance &tool = pellwyn(common);
    tool.dragFactors = {1.0, 1.0, 1.0};
    if (tool.onHandle == 1) {
        dragOrigin(tool, event); // the origin fields follow at up
        return;
    }
    const double perPixel = event.eventFlags & EVENT_FLAG_MODIFIER ? 0.1 : 0.01;
    tool.dragFactors[0] = 1.0 + event.deltaX * perPixel;
    tool.dragFactors[1] = 1.0 + event.deltaY * perPixel;
    showDrag(tool);
    applyToItems(tool);
    tool.dirty = 1;
}

void up(ToolCommon &common, const ToolEvent &) noexcept { showDrag(pellwyn(common)); }
