// viewport.cpp: the orthographic views and the mouse events made in them.
#include "host.h"

#include <stdexcept>
#include <string>

namespace host {

namespace {

// The view's screen-right, screen-up and depth directions in world
// coordinates; an orthonormal basis, so unprojecting is a weighted sum.
struct Basis {
    Vec3 right, up, depth;
};

Basis basisOf(View view) {
    switch (view) {
    case View::top:
        return {{1, 0, 0}, {0, 0, -1}, {0, -1, 0}};
    case View::side:
        return {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}};
    case View::front:
    default:
        return {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    }
}

double dot(const Vec3 &a, const Vec3 &b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

const Viewport &viewportAt(const std::vector<Viewport> &viewports, int number) {
    if (number < 0 || static_cast<std::size_t>(number) >= viewports.size())
        throw std::out_of_range("no viewport " + std::to_string(number) + " (the host has " +
                                std::to_string(viewports.size()) + ")");
    return viewports[static_cast<std::size_t>(number)];
}

} // namespace

void Viewport::project(const Vec3 &world, double &x, double &y, double &depth) const {
    const Basis b = basisOf(view);
    x = centerX + dot(world, b.right) * pixelsPerUnit;
    y = centerY - dot(world, b.up) * pixelsPerUnit; // window y grows downwards
    depth = dot(world, b.depth);
}

Vec3 Viewport::unproject(double x, double y, double depth) const {
    const Basis b = basisOf(view);
    const double u = (x - centerX) / pixelsPerUnit;
    const double v = (centerY - y) / pixelsPerUnit;
    Vec3 world{};
    for (int i = 0; i < 3; ++i)
        world[i] = b.right[i] * u + b.up[i] * v + b.depth[i] * depth;
    return world;
}

Vec3 Viewport::axis() const { return basisOf(view).depth; }

ToolEvent Host::eventAt(int viewport, const Vec3 &world, int deltaX, int deltaY, int flags) const {
    const Viewport &view = viewportAt(viewports, viewport);
    ToolEvent event{};
    const Vec3 axis = view.axis();
    for (int i = 0; i < 3; ++i) {
        event.eventPosition[i] = world[i];
        event.eventAxis[i] = axis[i];
    }
    event.deltaX = deltaX;
    event.deltaY = deltaY;
    event.eventFlags = flags;
    event.viewport = viewport;
    return event;
}

ToolEvent Host::eventAtPixel(int viewport, double x, double y, int deltaX, int deltaY, int flags) const {
    return eventAt(viewport, viewportAt(viewports, viewport).unproject(x, y), deltaX, deltaY, flags);
}

} // namespace host
