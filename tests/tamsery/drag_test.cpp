// drag_test.cpp: dragging in a viewport, to rotate the selection or to move
// the origin cross.
#include "tamsery_fixture.h"

#include <functional>
#include <limits>

namespace tamsery_test {
namespace {

using DragTest = TamseryTest;

TEST_F(DragTest, HorizontalOffsetGivesTheAngle) {
    struct Case {
        int deltaX;
        int flags;
        double degrees;
    };
    const Case cases[] = {{150, 0, 1.5}, {150, modifierBit, 150}, {-150, 0, -1.5}, {0, 0, 0}, {0, modifierBit, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "deltaX " << c.deltaX << " flags " << c.flags);
        host::Item &item = only({1, 0, 0});
        rotate(3, c.deltaX, c.flags);
        EXPECT_DOUBLE_EQ(angleField(2).number, c.degrees);
        const double a = c.degrees * degreesToRadians;
        expectKeys(item, {std::cos(a), std::sin(a), none, none, none, none});
    }
}

TEST_F(DragTest, TheAngleShowsInTheFieldOfItsAxis) {
    struct Case {
        int view;
        int field; // H about Y, P about X, B about Z
    };
    const Case cases[] = {{front, 2}, {top, 0}, {side, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.view);
        activate();
        for (int f = 0; f < 3; ++f) host.typeNumber(angleField(f), 7);
        const host::Vec3 away{4, 4, 4};
        tool->down(host.eventAt(c.view, away));
        tool->move(host.eventAt(c.view, away, 250));
        for (int f = 0; f < 3; ++f) EXPECT_DOUBLE_EQ(angleField(f).number, f == c.field ? 2.5 : 7.0) << f;
    }
}

TEST_F(DragTest, OriginDragSnapsToATenthOfTheGridAndKeepsTheTypedDepth) {
    struct Case {
        const char *name;
        double grid;
        int flags;
        host::Vec3 cursor;
        host::Vec3 expected;
    };
    // The front view drags in X and Y; Z is the depth typed into the panel.
    const Case cases[] = {
        {"grid 1", 1.0, modifierBit, {1.27, -0.43, 0}, {1.2, -0.4, 5}},
        {"grid 0.5 scales the truncated tenfold", 0.5, modifierBit, {1.27, 0, 0}, {0.6, 0, 2.5}},
        {"no modifier", 1.0, 0, {1.27, -0.43, 0}, {1.27, -0.43, 5}},
        {"grid 0", 0.0, modifierBit, {1.27, -0.43, 0}, {1.27, -0.43, 5}},
        {"tenfold beyond 32 bits", 1.0, modifierBit, {3e8, -3e9, 0}, {3e8, -3e9, 5}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        activate();
        host::Item &item = only({1, 0, 0});
        host.viewports[front].gridSize = c.grid;
        host.typeNumber(originField(2), 5);
        tool->down(host.eventAt(front, {0, 0, 0}));
        tool->move(host.eventAt(front, c.cursor, 40, 0, c.flags));
        tool->up(host.eventAt(front, c.cursor, 40, 0, c.flags));
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(originFields()[k], c.expected[k], 1e-9) << k;
        expectKeys(item, {none, none, none, none, none, none});
        EXPECT_EQ(angleField(2).number, 0.0) << "an origin drag leaves no angle";
    }
}

TEST_F(DragTest, TheCrossIsGrabbedWhereItIsDrawnInEitherOriginMode) {
    struct Case {
        const char *name;
        bool average;
        host::Vec3 press;
        bool grabbed;
    };
    const Case cases[] = {
        {"on the typed origin", false, {2, 0, 0}, true},
        {"on the last working origin", false, {0, 0, 0}, false},
        {"Average, on the typed origin", true, {2, 0, 0}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        activate();
        if (c.average) chooseAverage();
        host::Item &item = only({5, 5, 0});
        host.typeNumber(originField(0), 2);

        tool->down(host.eventAt(front, c.press));
        host.drawn.clear();
        tool->draw(front);
        ASSERT_EQ(host.drawn.size(), 2u);
        EXPECT_EQ(host.drawn[0].color == (std::array<float, 4>{1, 1, 1, 1}), c.grabbed);
        EXPECT_DOUBLE_EQ(host.drawn[0].from[0], 420.0) << "drawn at the typed origin";

        tool->move(host.eventAt(front, {3, 1, 0}, 900));
        EXPECT_EQ(keyCount(item, X) == 0, c.grabbed);
        if (c.grabbed) {
            EXPECT_EQ(originFields(), (host::Vec3{3, 1, 0}));
        }
    }
}

TEST_F(DragTest, WithThePanelClosedTheDragStillKeysButWritesNoField) {
    chooseAverage();
    host::Item &left = add("left", {0, 0, 0});
    host::Item &right = add("right", {2, 0, 0});
    host.scene.select({&left, &right});
    host.closePanel(panel());

    rotate(3, 90, modifierBit);
    expectKeys(left, {1, -1, none, none, none, none});
    expectKeys(right, {1, 1, none, none, none, none});
    EXPECT_EQ(originFields(), (host::Vec3{0, 0, 0})) << "the centre is not written";
    EXPECT_EQ(angleField(2).number, 0.0);
}

TEST_F(DragTest, NothingSelectedKeysNothingYetTheFieldsFollow) {
    chooseAverage();
    host.typeNumber(originField(0), 7);
    host::Item &bystander = add("not selected", {1, 0, 0});
    rotate(3, 150);
    expectKeys(bystander, {none, none, none, none, none, none});
    EXPECT_DOUBLE_EQ(angleField(2).number, 1.5);
    EXPECT_EQ(originFields(), (host::Vec3{7, 0, 0})) << "an empty snapshot keeps the origin";
}

TEST_F(DragTest, NonFiniteInputsNeverReachAKey) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char *name;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"typed NaN origin, then a drag", [&] { host.typeNumber(originField(0), nan), rotate(3, 90, modifierBit); }},
        {"typed infinite origin, then a drag", [&] { host.typeNumber(originField(1), HUGE_VAL), rotate(3, 90, modifierBit); }},
        {"Apply with a NaN angle", [&] { apply(nan, 0, 0); }},
        {"Apply with an angle beyond single precision", [&] { apply(1e300, 0, 0); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        activate();
        host::Item &item = only({1, 2, 3});
        for (const char *name : {"Position.X", "Position.Y", "Position.Z"})
            item.channel(name)->envelope.setKey(sceneTime, item.channel(name)->envelope.defaultValue());
        c.act();
        expectKeys(item, {1, 2, 3, none, none, none});
        for (int k : {X, Y, Z}) EXPECT_EQ(keyCount(item, k), 1u);
    }
}

TEST_F(DragTest, OriginDragIgnoresANonFiniteCursor) {
    host.typeNumber(originField(2), 5);
    tool->down(host.eventAt(front, {0, 0, 0}));
    ToolEvent event = host.eventAt(front, {1, 2, 0});
    event.eventPosition[0] = std::numeric_limits<double>::infinity();
    event.eventPosition[1] = std::numeric_limits<double>::quiet_NaN();
    tool->move(event);
    EXPECT_EQ(originFields(), (host::Vec3{0, 0, 5}));
}

} // namespace
} // namespace tamsery_test
