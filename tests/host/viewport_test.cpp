// Viewports: the three orthographic projections, the viewport service and
// the events a test makes in a viewport.
#include "host.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace host;

namespace {

struct ProjectionCase {
    View view;
    Vec3 world;
    double x, y, depth; // with the default scale 50 px per unit and centre (320, 240)
    Vec3 axis;
};

const ProjectionCase projections[] = {
    {View::front, {1, 2, 3}, 370, 140, 3, {0, 0, 1}},
    {View::top, {1, 2, 3}, 370, 390, -2, {0, -1, 0}},
    {View::side, {1, 2, 3}, 470, 140, -1, {-1, 0, 0}},
    {View::front, {-0.5, -1, 0}, 295, 290, 0, {0, 0, 1}},
    {View::top, {0, 7, -2}, 320, 140, -7, {0, -1, 0}},
    {View::side, {4, 0, -1}, 270, 240, -4, {-1, 0, 0}},
};

TEST(Viewport, ProjectsAndUnprojectsEachView) {
    for (const ProjectionCase &c : projections) {
        Viewport v;
        v.view = c.view;
        double x, y, depth;
        v.project(c.world, x, y, depth);
        SCOPED_TRACE(static_cast<int>(c.view));
        EXPECT_DOUBLE_EQ(x, c.x);
        EXPECT_DOUBLE_EQ(y, c.y);
        EXPECT_DOUBLE_EQ(depth, c.depth);
        EXPECT_EQ(v.axis(), c.axis);
        const Vec3 back = v.unproject(x, y, depth);
        for (int i = 0; i < 3; ++i)
            EXPECT_DOUBLE_EQ(back[i], c.world[i]);
    }
}

TEST(Viewport, ScaleAndCentreApply) {
    Viewport v{View::side, 20.0, 100.0, 50.0, 0.5};
    double x, y, depth;
    v.project({0, 1, 2}, x, y, depth);
    EXPECT_DOUBLE_EQ(x, 140.0);
    EXPECT_DOUBLE_EQ(y, 30.0);
    const Vec3 w = v.unproject(110.0, 60.0, 3.0);
    EXPECT_DOUBLE_EQ(w[0], -3.0);
    EXPECT_DOUBLE_EQ(w[1], -0.5);
    EXPECT_DOUBLE_EQ(w[2], 0.5);
}

TEST(ViewportService, ProjectsThroughTheHostsViewports) {
    Host h;
    h.viewports[1].gridSize = 0.25;
    const auto &service = *static_cast<ViewportService *>(Host::getGlobal(VIEWPORT_SERVICE_NAME, 0));
    const double world[3] = {1, 2, 3};
    for (int n = 0; n < 3; ++n) {
        double x = -1, y = -1, depth = -1, ex, ey, ed;
        EXPECT_NE(service.projectPoint(n, world, &x, &y, &depth), 0);
        h.viewports[static_cast<std::size_t>(n)].project({1, 2, 3}, ex, ey, ed);
        EXPECT_EQ(x, ex);
        EXPECT_EQ(y, ey);
        EXPECT_EQ(depth, ed);
    }
    EXPECT_EQ(service.gridSize(0), 1.0);
    EXPECT_EQ(service.gridSize(1), 0.25);

    // An unknown viewport: zeros, a zero result, no crash.
    for (int n : {-1, 3, 1000}) {
        double x = -1, y = -1, depth = -1;
        EXPECT_EQ(service.projectPoint(n, world, &x, &y, &depth), 0);
        EXPECT_EQ(x, 0.0);
        EXPECT_EQ(y, 0.0);
        EXPECT_EQ(depth, 0.0);
        EXPECT_EQ(service.gridSize(n), 0.0);
    }
    EXPECT_EQ(h.counters.rejectedCalls, 6u);
}

TEST(Events, CarryPositionAxisDeltasFlagsAndViewport) {
    Host h;
    const ToolEvent e = h.eventAt(2, {1, 2, 3}, -4, 7, EVENT_FLAG_MODIFIER);
    EXPECT_EQ(Vec3({e.eventPosition[0], e.eventPosition[1], e.eventPosition[2]}), Vec3({1, 2, 3}));
    EXPECT_EQ(Vec3({e.eventAxis[0], e.eventAxis[1], e.eventAxis[2]}), h.viewports[2].axis());
    EXPECT_EQ(e.deltaX, -4);
    EXPECT_EQ(e.deltaY, 7);
    EXPECT_EQ(e.eventFlags, EVENT_FLAG_MODIFIER);
    EXPECT_EQ(e.viewport, 2);

    // At a pixel: the world point under it, at depth 0.
    const ToolEvent p = h.eventAtPixel(1, 370, 390);
    EXPECT_EQ(Vec3({p.eventPosition[0], p.eventPosition[1], p.eventPosition[2]}), Vec3({1, 0, 3}));
    EXPECT_EQ(p.viewport, 1);

    EXPECT_THROW(h.eventAt(3, {0, 0, 0}), std::out_of_range);
    EXPECT_THROW(h.eventAtPixel(-1, 0, 0), std::out_of_range);
}

} // namespace
