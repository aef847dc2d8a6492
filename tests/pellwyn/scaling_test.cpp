// Dragging in a viewport scales the captured items about the origin.
#include "pellwyn_fixture.h"

#include <cmath>

namespace {

void expectNear(const host::Vec3 &actual, const host::Vec3 &expected) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(actual[k], expected[k], 1e-12) << "coordinate " << k;
}

} // namespace

TEST_F(PellwynTest, CentreOfTheSelectionIsTheOrigin) {
    host::Item &a = add("a", {0, 0, 0});
    host::Item &b = add("b", {2, 4, 6});
    select({&a, &b});
    dragBy(front, 100, 0); // "Scale", factor 2
    // Each item lies √14 from the centre (1, 2, 3), on opposite sides.
    expectNear(keyedPosition(a), {-1, -2, -3});
    expectNear(keyedPosition(b), {3, 6, 9});
    for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(originField(k).number, k + 1.0);
}

TEST_F(PellwynTest, ScaleDoublesDistancesFromACustomOrigin) {
    host.choose(originChoice(), 0); // "Custom" at (0, 0, 0)
    host::Item &a = add("a", {1, 0, 0});
    host::Item &b = add("b", {0, 2, 0});
    select({&a, &b});
    dragBy(front, 100, 37); // vertical movement plays no part in "Scale"
    expectNear(keyedPosition(a), {2, 0, 0});
    expectNear(keyedPosition(b), {0, 4, 0});
}

TEST_F(PellwynTest, FactorPerPixelAndTheFineFlag) {
    struct Case {
        int dx;
        int flags;
        double factor;
    };
    const Case cases[] = {{10, 0, 1.1}, {10, EVENT_FLAG_MODIFIER, 2.0}, {-100, 0, 0.0}, {-200, 0, -1.0}, {0, 0, 1.0}};
    host.choose(originChoice(), 0);
    for (const Case &c : cases) {
        host::Item &a = add("a" + std::to_string(c.dx), {1, -2, 3});
        select({&a});
        dragBy(front, c.dx, 0, c.flags);
        for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(scaleField(k).number, c.factor) << c.dx;
        // Collapsed onto the origin at 0, mirrored through it at -1.
        expectNear(keyedPosition(a), {1 * c.factor, -2 * c.factor, 3 * c.factor});
    }
}

TEST_F(PellwynTest, StretchSeenAlongYDrivesXAndZAndLeavesY) {
    host.choose(originChoice(), 0);
    host.choose(methodChoice(), 0); // "Stretch"
    host::Item &a = add("a", {1, 1, 1});
    select({&a});
    dragBy(top, 100, 0); // horizontal only: X
    EXPECT_NEAR(*key(a, "Position.X"), 2.0, 1e-12);
    EXPECT_NEAR(*key(a, "Position.Z"), 1.0, 1e-12);
    EXPECT_FALSE(key(a, "Position.Y"));
    EXPECT_EQ(scaleField(0).number, 2.0);
    EXPECT_EQ(scaleField(1).number, 1.0);
    EXPECT_EQ(scaleField(2).number, 1.0);

    dragBy(top, 0, 200); // vertical only: Z
    EXPECT_NEAR(*key(a, "Position.X"), 2.0, 1e-12);
    EXPECT_NEAR(*key(a, "Position.Z"), 3.0, 1e-12);
    EXPECT_FALSE(key(a, "Position.Y"));
    EXPECT_EQ(scaleField(2).number, 3.0);
}

TEST_F(PellwynTest, StretchSeenAlongXShowsEachFactorWhereItWasApplied) {
    host.choose(originChoice(), 0);
    host.choose(methodChoice(), 0);
    host::Item &a = add("a", {1, 1, 1});
    select({&a});
    dragBy(side, 100, 200); // f0 = 2 drives Z, f1 = 3 drives Y
    EXPECT_FALSE(key(a, "Position.X"));
    EXPECT_NEAR(*key(a, "Position.Y"), 3.0, 1e-12);
    EXPECT_NEAR(*key(a, "Position.Z"), 2.0, 1e-12);
    EXPECT_EQ(scaleField(0).number, 1.0);
    EXPECT_EQ(scaleField(1).number, 3.0);
    EXPECT_EQ(scaleField(2).number, 2.0);
}

TEST_F(PellwynTest, StretchFlatScalesTheViewPlaneUniformly) {
    host.choose(originChoice(), 0);
    host.choose(methodChoice(), 1);
    host::Item &a = add("a", {1, 2, 3});
    select({&a});
    dragBy(front, 100, 300);
    EXPECT_NEAR(*key(a, "Position.X"), 2.0, 1e-12);
    EXPECT_NEAR(*key(a, "Position.Y"), 4.0, 1e-12);
    EXPECT_FALSE(key(a, "Position.Z"));
}

TEST_F(PellwynTest, MovesDoNotCompoundWithinADrag) {
    host.choose(originChoice(), 0);
    host::Item &a = add("a", {1, 0, 0});
    select({&a});
    tool->down(host.eventAtPixel(front, 500, 400));
    for (int dx : {50, 100, 100, 30}) tool->move(host.eventAtPixel(front, 500 + dx, 400, dx, 0));
    EXPECT_NEAR(*key(a, "Position.X"), 1.3, 1e-12);
    EXPECT_EQ(a.channel("Position.X")->envelope.keys().size(), 1u);
}

TEST_F(PellwynTest, EmptySelectionKeysNothingButTheFieldsFollow) {
    host::Item &a = add("a", {1, 0, 0});
    host.scene.select({});
    dragBy(front, 100, 0);
    EXPECT_EQ(host.counters.keysCreated + host.counters.valuesWritten, 0u);
    EXPECT_EQ(scaleField(0).number, 2.0);
    EXPECT_FALSE(key(a, "Position.X"));
}

TEST_F(PellwynTest, ItemWithoutAChannelKeysTheOthers) {
    host.choose(originChoice(), 0);
    host::Item &a = host.scene.addItem("a", {{"Position.X", 1.0}, {"Position.Z", 3.0}});
    select({&a});
    dragBy(front, 100, 0);
    EXPECT_NEAR(*key(a, "Position.X"), 2.0, 1e-12);
    EXPECT_NEAR(*key(a, "Position.Z"), 6.0, 1e-12);
    EXPECT_EQ(host.counters.keysCreated, 2u);
}

TEST_F(PellwynTest, ClosedPanelIsNotWrittenButTheDragStillKeys) {
    host.choose(originChoice(), 0);
    host::Item &a = add("a", {1, 0, 0});
    select({&a});
    host.closePanel(panel());
    dragBy(front, 100, 0);
    EXPECT_NEAR(*key(a, "Position.X"), 2.0, 1e-12);
    EXPECT_EQ(scaleField(0).number, 1.0);
}

TEST_F(PellwynTest, OverflowingFactorWritesNoKeyAndKeepsTheOld) {
    host.choose(originChoice(), 0);
    host::Item &a = add("a", {1e306, 0, 0});
    a.channel("Position.X")->envelope.setKey(0.0, 1e306);
    select({&a});
    dragBy(front, 100000, 0); // 1e306 × 1001 overflows
    ASSERT_EQ(a.channel("Position.X")->envelope.keys().size(), 1u);
    EXPECT_EQ(*key(a, "Position.X"), 1e306);
}
