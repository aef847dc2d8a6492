// origin_handle.cpp: the axis of a press, the origin cross and its drag.
#include "callbacks.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr float handleColor[4] = {171.0f / 255.0f, 188.0f / 255.0f, 188.0f / 255.0f, 1.0f};
constexpr float grabbedColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr double handleDepth = 0.01;  // window depth of the cross's lines
constexpr double handleReach = 10.0;  // half a line, and the hit window, in pixels

bool project(int viewport, const double world[3], double &x, double &y) noexcept {
    const ViewportService *views = hostServices.viewportService;
    if (!views || !views->projectPoint) return false;
    double depth = 0;
    x = y = 0;
    views->projectPoint(viewport, world, &x, &y, &depth);
    return true;
}

// The press hit the cross drawn at customOrigin: within 10 pixels on both
// window axes, strictly.
bool hitsHandle(const ToolCommon &instance, const ToolEvent &event) noexcept {
    double ox, oy, px, py;
    if (!project(event.viewport, instance.customOrigin.data(), ox, oy) ||
        !project(event.viewport, event.eventPosition, px, py))
        return false;
    return ox - handleReach < px && px < ox + handleReach && oy - handleReach < py && py < oy + handleReach;
}

// 10 × v truncated toward zero, times a tenth of the grid. A coordinate whose
// tenfold is not a 32-bit integer, or whose result is not finite, stays.
double snapToTenthOfGrid(double v, double grid) noexcept {
    const double tenfold = 10.0 * v;
    if (!(tenfold > -2147483649.0 && tenfold < 2147483648.0)) return v;
    const double snapped = static_cast<int32_t>(tenfold) * (grid / 10.0);
    return std::isfinite(snapped) ? snapped : v;
}

} // namespace

void pickAxis(ToolCommon &instance, const ToolEvent &event) noexcept {
    const double x = std::fabs(event.eventAxis[0]);
    const double y = std::fabs(event.eventAxis[1]);
    const double z = std::fabs(event.eventAxis[2]);
    if (y < x && z < x) instance.axis = event.eventAxis[0] > 0 ? 1 : -1;
    if (x < y && z < y) instance.axis = event.eventAxis[1] > 0 ? 2 : -2;
    if (x < z && y < z) instance.axis = event.eventAxis[2] > 0 ? 3 : -3;
}

void pressDown(ToolCommon &instance, const ToolEvent &event) noexcept {
    instance.axis = 1;
    instance.onHandle = 0;
    pickAxis(instance, event);
    const HandleTest test = toolTraits.handleTest;
    const bool testHandle =
        test == HandleTest::always || (test == HandleTest::inCustomMode && instance.originMode == 0);
    if (testHandle && hitsHandle(instance, event)) {
        instance.onHandle = 1;
        return;
    }
    captureSelection(instance);
}

void drawOriginHandle(const ToolCommon &instance, const DrawAccess &access) noexcept {
    double x, y;
    if (!project(access.view, instance.customOrigin.data(), x, y)) return;
    if (access.setColor) access.setColor(access.drawData, instance.onHandle == 1 ? grabbedColor : handleColor);
    if (!access.drawLine) return;
    const double vertical[2][3] = {{x, y - handleReach, handleDepth}, {x, y + handleReach, handleDepth}};
    const double horizontal[2][3] = {{x - handleReach, y, handleDepth}, {x + handleReach, y, handleDepth}};
    access.drawLine(access.drawData, vertical[0], vertical[1], DRAW_WINDOW_COORDINATES);
    access.drawLine(access.drawData, horizontal[0], horizontal[1], DRAW_WINDOW_COORDINATES);
}

void dragOrigin(ToolCommon &instance, const ToolEvent &event) noexcept {
    Vec3 p = instance.customOrigin;
    const int depthAxis = std::abs(instance.axis) - 1; // -1 (no axis) keeps nothing
    for (int k = 0; k < 3; ++k)
        if (k != depthAxis && std::isfinite(event.eventPosition[k])) p[k] = event.eventPosition[k];

    if (event.eventFlags & EVENT_FLAG_MODIFIER) {
        const ViewportService *views = hostServices.viewportService;
        const double grid = views && views->gridSize ? views->gridSize(event.viewport) : 0.0;
        if (grid != 0 && std::isfinite(grid))
            for (double &v : p) v = snapToTenthOfGrid(v, grid);
    }
    instance.origin = p;
    instance.customOrigin = p;
}
