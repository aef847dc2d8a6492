// drag_test.cpp: dragging in a viewport turns the selection about the
// rotation channel of the view's axis and shows the angle in degrees.
#include "vestral_fixture.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace vestral_test {
namespace {

using DragTest = VestralTest;

struct AngleCase {
    int deltaX;
    int flags;
    const char *text; // the heading read-out
};

// 0.1 degree a pixel, 1 degree with the modifier bit; the read-out is the
// whole "%f" text however wide it is.
TEST_F(DragTest, HorizontalMovementBecomesTheAngleAndItsReadOut) {
    const AngleCase cases[] = {
        {25, 0, "2.500000"},
        {25, modifierBit, "25.000000"},
        {-10, 0, "-1.000000"},
        {300, modifierBit, "300.000000"},
        {-3000, modifierBit, "-3000.000000"},
        {std::numeric_limits<int32_t>::min(), modifierBit, "-2147483648.000000"},
    };
    host::Item &item = addItem("a", {0.25, 0.5, 0.75});
    host.scene.select({&item});
    for (const AngleCase &c : cases) {
        SCOPED_TRACE(c.text);
        item.channel("Rotation.H")->envelope.keys().clear();
        drag(topView, c.deltaX, c.flags);
        const double degreesPerPixel = c.flags ? 1.0 : 0.1;
        ASSERT_EQ(keys(item, 0).size(), 1u);
        EXPECT_EQ(keys(item, 0)[0].value, 0.25 + c.deltaX * degreesPerPixel * degreesToRadians);
        EXPECT_EQ(info(0), c.text);
    }
}

// The read-out is what "%f" prints for the angle in degrees, rounding and
// all, for the drag steps of a long drag either way.
TEST_F(DragTest, ReadOutIsThePrintfTextOfTheAngle) {
    host::Item &item = addItem("a");
    host.scene.select({&item});
    for (int flags : {0, modifierBit})
        for (int deltaX = -4001; deltaX <= 4001; deltaX += 13) {
            drag(topView, deltaX, flags);
            const double degreesPerPixel = flags ? 1.0 : 0.1;
            const double degrees = deltaX * degreesPerPixel * degreesToRadians * 57.29577951308232;
            char expected[64];
            std::snprintf(expected, sizeof expected, "%f", degrees);
            ASSERT_EQ(info(0), expected) << "deltaX " << deltaX << " flags " << flags;
        }
}

TEST_F(DragTest, TwentyFivePixelsTurnByTheExpectedRadians) {
    host::Item &item = addItem("a");
    host.scene.select({&item});
    drag(topView, 25);
    EXPECT_EQ(keys(item, 0).at(0).value, 0.04363323129985824);
}

// |axis| picks the channel: Y heading, X pitch, Z bank. Its sign does not
// matter, and the other two channels keep their keys.
TEST_F(DragTest, TheAxisPicksTheOneChannelKeyed) {
    struct Case {
        host::Vec3 eventAxis;
        int channel;
    };
    const Case cases[] = {
        {{0, -1, 0}, 0}, {{0, 1, 0}, 0}, {{1, 0, 0}, 1}, {{-1, 0, 0}, 1}, {{0, 0, 1}, 2}, {{0, 0, -1}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "axis " << c.eventAxis[0] << ' ' << c.eventAxis[1] << ' ' << c.eventAxis[2]);
        host::Item &item = addItem("item", {0.1, 0.2, 0.3});
        host.scene.select({&item});
        ToolEvent event = host.eventAt(frontView, {});
        for (int k = 0; k < 3; ++k) event.eventAxis[k] = c.eventAxis[k];
        tool->down(event);
        event.deltaX = 10;
        tool->move(event);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(keys(item, k).size(), k == c.channel ? 1u : 0u) << rotationChannels[k];
        EXPECT_EQ(info(c.channel), "1.000000");
    }
}

// Each move adds its own angle to the rotation captured at the press; the
// next drag starts from what the last one keyed.
TEST_F(DragTest, MovesDoNotAccumulateAndAReleaseKeepsTheLastMove) {
    host::Item &item = addItem("a", {0.5, 0, 0});
    host.scene.select({&item});
    tool->down(host.eventAt(topView, {}));
    for (int dx : {10, 40, 30}) tool->move(host.eventAt(topView, {}, dx));
    tool->up(host.eventAt(topView, {}, 30));
    ASSERT_EQ(keys(item, 0).size(), 1u);
    const double afterFirst = 0.5 + 30 * 0.1 * degreesToRadians;
    EXPECT_EQ(keys(item, 0)[0].value, afterFirst);
    EXPECT_EQ(info(0), "3.000000");

    drag(topView, 10);
    ASSERT_EQ(keys(item, 0).size(), 1u);
    EXPECT_EQ(keys(item, 0)[0].value, afterFirst + 10 * 0.1 * degreesToRadians);
}

// Without horizontal movement the captured rotation itself is keyed at the
// current time, creating the key when there was none.
TEST_F(DragTest, AMoveWithoutHorizontalMovementKeysTheCapturedRotation) {
    host::Item &item = addItem("a");
    host::Envelope &bank = item.channel("Rotation.B")->envelope;
    bank.setKey(0.0, 0.2);
    bank.setKey(2.0, 0.6);
    host.scene.setTime(1.5);
    host.scene.select({&item});
    tool->down(host.eventAt(frontView, {}));
    tool->move(host.eventAt(frontView, {}, 0, 40));
    ASSERT_EQ(bank.keys().size(), 3u);
    EXPECT_EQ(bank.keys()[1].time, 1.5);
    EXPECT_DOUBLE_EQ(bank.keys()[1].value, 0.5);
    EXPECT_EQ(info(2), "0.000000");
}

// Every read-out keeps the last angle about its channel; a new activation
// starts them at zero. Until the first move they stay as created.
TEST_F(DragTest, ReadOutsKeepTheLastAngleOfEachChannel) {
    EXPECT_EQ(info(0), "");
    drag(topView, 25);
    drag(sideView, -10);
    EXPECT_EQ(info(0), "2.500000");
    EXPECT_EQ(info(1), "-1.000000");
    EXPECT_EQ(info(2), "0.000000");

    activate();
    drag(frontView, 5, modifierBit);
    EXPECT_EQ(info(0), "0.000000");
    EXPECT_EQ(info(1), "0.000000");
    EXPECT_EQ(info(2), "5.000000");
}

TEST_F(DragTest, WithoutSelectionNothingIsKeyedButTheReadOutsFollow) {
    host::Item &item = addItem("unselected");
    drag(topView, 25);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(keys(item, k).empty());
    EXPECT_EQ(info(0), "2.500000");
}

// Once the user closed the panel its read-outs are left alone, and the drag
// still keys.
TEST_F(DragTest, AClosedPanelIsNotWrittenTo) {
    host::Item &item = addItem("a");
    host.scene.select({&item});
    drag(topView, 25);
    host.closePanel(panel());
    drag(topView, 50);
    EXPECT_EQ(info(0), "2.500000");
    EXPECT_DOUBLE_EQ(keys(item, 0).at(0).value, (25 + 50) * 0.1 * degreesToRadians);
}

// The press never grabs anything: even on the spot where the origin cross
// of the other tools sits it captures the selection, and nothing is drawn.
TEST_F(DragTest, EveryPressCapturesAndNothingIsDrawn) {
    host::Item &item = addItem("a");
    host.scene.select({&item});
    drag(frontView, 10);
    EXPECT_EQ(keys(item, 2).size(), 1u);
    for (int view : {frontView, topView, sideView}) tool->draw(view);
    EXPECT_TRUE(host.drawn.empty());
}

// Items lacking a rotation channel, or holding a rotation that is not a
// finite number, get no key on that channel; the others are keyed as usual.
TEST_F(DragTest, AnItemWithoutAUsableChannelIsSkipped) {
    host::Item &noPitch = host.scene.addItem("no pitch", {{"Rotation.H", 0.0}, {"Rotation.B", 0.0}});
    host::Item &infinite = addItem("infinite", {0, std::numeric_limits<double>::infinity(), 0});
    host::Item &plain = addItem("plain");
    host.scene.select({&noPitch, &infinite, &plain});
    drag(sideView, 10);
    EXPECT_TRUE(noPitch.channel("Rotation.H")->envelope.keys().empty());
    EXPECT_TRUE(noPitch.channel("Rotation.B")->envelope.keys().empty());
    EXPECT_TRUE(keys(infinite, 1).empty());
    ASSERT_EQ(keys(plain, 1).size(), 1u);
    EXPECT_EQ(keys(plain, 1)[0].value, 10 * 0.1 * degreesToRadians);
}

// The item array follows the selection both ways, so a smaller selection
// never keys records left from a larger one.
TEST_F(DragTest, TheSnapshotFollowsTheSelectionSize) {
    struct Case {
        int first, second; // items in the first and the second drag
    };
    for (const Case c : {Case{5, 3}, Case{3, 5}}) {
        SCOPED_TRACE(testing::Message() << c.first << " then " << c.second);
        std::vector<host::Item *> firstSet, secondSet;
        for (int i = 0; i < c.first; ++i) firstSet.push_back(&addItem("first"));
        for (int i = 0; i < c.second; ++i) secondSet.push_back(&addItem("second"));
        host.scene.select(firstSet);
        drag(topView, 10);
        host.scene.select(secondSet);
        drag(topView, 20);
        for (host::Item *item : firstSet) EXPECT_EQ(keys(*item, 0).at(0).value, 10 * 0.1 * degreesToRadians);
        for (host::Item *item : secondSet) EXPECT_EQ(keys(*item, 0).at(0).value, 20 * 0.1 * degreesToRadians);
    }
}

} // namespace
} // namespace vestral_test
