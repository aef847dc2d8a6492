// The origin cross: where it is drawn, when a press grabs it, how it drags.
#include "pellwyn_fixture.h"

#include <cmath>

namespace {

struct OriginHandleTest : PellwynTest {
    void SetUp() override {
        PellwynTest::SetUp();
        host.choose(originChoice(), 0); // "Custom": the cross can be grabbed
    }
    // Whether the cross is drawn white (grabbed) in the front view.
    bool drawnGrabbed() {
        host.drawn.clear();
        tool->draw(front);
        return !host.drawn.empty() && host.drawn[0].color[1] == 1.0f;
    }
    host::Vec3 shownOrigin() { return {originField(0).number, originField(1).number, originField(2).number}; }
};

} // namespace

TEST_F(OriginHandleTest, CrossOfTwentyPixelLinesAtTheCustomOrigin) {
    host.typeNumber(originField(0), 2.0);
    host.typeNumber(originField(1), 1.0);
    tool->draw(front);
    ASSERT_EQ(host.drawn.size(), 2u);
    double x, y, depth;
    host.viewports[front].project({2, 1, 0}, x, y, depth);
    const host::DrawnLine &vertical = host.drawn[0];
    const host::DrawnLine &horizontal = host.drawn[1];
    EXPECT_EQ(vertical.from, (host::Vec3{x, y - 10, 0.01}));
    EXPECT_EQ(vertical.to, (host::Vec3{x, y + 10, 0.01}));
    EXPECT_EQ(horizontal.from, (host::Vec3{x - 10, y, 0.01}));
    EXPECT_EQ(horizontal.to, (host::Vec3{x + 10, y, 0.01}));
    for (const auto &line : host.drawn) {
        EXPECT_EQ(line.coordinates, 3);
        EXPECT_EQ(line.color, (std::array<float, 4>{171 / 255.0f, 188 / 255.0f, 188 / 255.0f, 1.0f}));
    }
}

TEST_F(OriginHandleTest, PressWithinTenPixelsGrabsTheCross) {
    host::Item &a = add("a", {1, 0, 0});
    select({&a});
    struct Case {
        double dx, dy;
        bool hit;
    };
    const Case cases[] = {{9.9, 0, true}, {10, 0, false}, {0, -9.9, true}, {-10, 3, false}, {9.9, 9.9, true}};
    for (const Case &c : cases) {
        tool->down(host.eventAtPixel(front, 320 + c.dx, 240 + c.dy)); // (0, 0, 0) projects to (320, 240)
        EXPECT_EQ(drawnGrabbed(), c.hit) << c.dx << ", " << c.dy;
    }
}

TEST_F(OriginHandleTest, GrabbingKeepsTheLastSnapshotAndMovesOnlyTheOrigin) {
    host::Item &a = add("a", {1, 0, 0});
    select({&a});
    tool->down(host.eventAtPixel(front, 500, 400)); // captures a
    select({});
    tool->down(host.eventAtPixel(front, 320, 240)); // grabs: no new snapshot
    tool->move(host.eventAt(front, {2, 3, 7}, 30, 0));
    tool->up(host.eventAt(front, {2, 3, 7}, 30, 0));
    EXPECT_EQ(host.counters.keysCreated + host.counters.valuesWritten, 0u);
    // In the view plane only: the front view's depth (Z) keeps its value.
    EXPECT_EQ(shownOrigin(), (host::Vec3{2, 3, 0}));
    for (int k = 0; k < 3; ++k) EXPECT_EQ(scaleField(k).number, 1.0); // the move reset the factors

    // The next press away from the cross scales a about the new origin.
    select({&a});
    dragBy(front, 100, 0);
    EXPECT_NEAR(*key(a, "Position.X"), 0.0, 1e-12);
    EXPECT_NEAR(*key(a, "Position.Y"), -3.0, 1e-12);
}

TEST_F(OriginHandleTest, CentreOfObjectsModeNeverGrabs) {
    host.choose(originChoice(), 1);
    host::Item &a = add("a", {0, 0, 0});
    select({&a});
    tool->down(host.eventAtPixel(front, 320, 240));
    EXPECT_FALSE(drawnGrabbed());
}

TEST_F(OriginHandleTest, GridSnapTruncatesTenthsTowardZero) {
    struct Case {
        double grid;
        host::Vec3 cursor, snapped;
    };
    const Case cases[] = {
        {1.0, {1.37, -1.37, 4}, {1.3, -1.3, 0}},
        {0.5, {2.0, 0, 0}, {1.0, 0, 0}}, // the truncated tenths times a tenth of the grid
        {0.0, {1.37, 2.5, 0}, {1.37, 2.5, 0}}, // no grid: no snapping
        // A tenfold beyond the 32-bit integers stays as it is.
        {1.0, {1e10, -3e9, 0}, {1e10, -3e9, 0}},
    };
    for (const Case &c : cases) {
        host.viewports[front].gridSize = c.grid;
        host.typeNumber(originField(0), 0);
        host.typeNumber(originField(1), 0);
        tool->down(host.eventAtPixel(front, 320, 240));
        tool->move(host.eventAt(front, c.cursor, 5, 5, EVENT_FLAG_MODIFIER));
        tool->up(host.eventAt(front, c.cursor, 5, 5, EVENT_FLAG_MODIFIER));
        const host::Vec3 shown = shownOrigin();
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(shown[k], c.snapped[k], 1e-9) << "grid " << c.grid << " k " << k;
    }
}

TEST_F(OriginHandleTest, BadCursorOrGridLeavesTheOriginFinite) {
    tool->down(host.eventAtPixel(front, 320, 240));
    for (double grid : {NAN, INFINITY}) {
        host.viewports[front].gridSize = grid;
        tool->move(host.eventAt(front, {1.5, NAN, 0}, 1, 1, EVENT_FLAG_MODIFIER));
    }
    tool->up(host.eventAt(front, {0, 0, 0}));
    const host::Vec3 shown = shownOrigin();
    for (double v : shown) EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(shown[0], 1.5);
    EXPECT_EQ(shown[1], 0.0);
}

TEST_F(OriginHandleTest, CrossIsGrabbedWhereItIsDrawnAndDragKeepsItsDepth) {
    // Typing sets both origins; a nudge moves only the drawn one (the
    // custom origin): X from 100 to 99, a whole unit (50 pixels) away, and
    // the depth Z from 5 to 4.95.
    host.typeNumber(originField(0), 100.0);
    host.typeNumber(originField(2), 5.0);
    for (std::size_t button : {13, 15}) { // the origin X and Z drag buttons
        ASSERT_EQ(panel().at(button)->typeName, "DragButtonControl");
        host.dragTo(*panel().at(button), 10);
        host.dragTo(*panel().at(button), 10);
    }
    EXPECT_EQ(originField(0).number, 99.0);

    double x, y, depth;
    host.viewports[front].project({99, 0, 4.95}, x, y, depth);
    tool->down(host.eventAtPixel(front, x, y));
    EXPECT_TRUE(drawnGrabbed());
    tool->move(host.eventAt(front, {3, 4, -8}, 1, 1));
    tool->up(host.eventAt(front, {3, 4, -8}, 1, 1));
    EXPECT_EQ(shownOrigin(), (host::Vec3{3, 4, 4.95f}));
}
