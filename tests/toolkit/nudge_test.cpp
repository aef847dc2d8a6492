// The drag buttons beside the numeric fields.
#include "harness.h"

#include <gtest/gtest.h>

namespace {

struct NudgeTest : ::testing::Test {
    Activation a{true};
    host::Control &field() { return *a.panel().find(" V"); }
    host::Control &button() { return *a.panel().at(1); }
    host::Control &originField() { return *a.panel().find(" O"); }
    host::Control &originButton() { return *a.panel().at(3); }

    // Types v, then drags the button: a first event that only records the
    // button (the other button was the last one dragged), then one at a
    // higher or lower position.
    float nudge(double v, bool upward) {
        a.host.typeNumber(field(), v);
        a.host.dragTo(originButton(), 0);
        a.host.dragTo(button(), 100);
        a.host.dragTo(button(), upward ? 101 : 99);
        return fixture::value;
    }
};

} // namespace

TEST_F(NudgeTest, StepsByOnePercentAtSinglePrecisionWithinLimits) {
    struct Case {
        double v;
        bool upward;
        float expected;
    };
    const Case cases[] = {
        {1.0, true, 1.01f},  // 1.0099999904632568 as a double
        {-2.0, true, -1.98f},
        {-2.0, false, -2.02f},
        {0.0, true, 0.001f},
        {0.0, false, -0.001f},
        {0.005, true, 0.006f}, // a step of 0.00005 is below 0.0001: 0.001 instead
        {0.005, false, 0.004f},
        {99999.0, true, 100000.0f}, // 100998.99 clamped
        {-99999.0, false, -100000.0f},
        {1e308, true, 100000.0f}, // clamped before the narrowing
    };
    for (const Case &c : cases) {
        EXPECT_EQ(nudge(c.v, c.upward), c.expected) << c.v << (c.upward ? " up" : " down");
        EXPECT_EQ(field().number, static_cast<double>(c.expected));
    }
    EXPECT_EQ(static_cast<double>(nudge(1.0, true)), 1.0099999904632568);
}

TEST_F(NudgeTest, FirstEventOnlyRecordsTheButtonAndAStillButtonGoesDown) {
    a.host.typeNumber(field(), 2.0);
    fixture::value = 2.0f;
    a.tool().dirty = 0;
    a.host.dragTo(button(), 50);
    EXPECT_EQ(field().number, 2.0);
    EXPECT_EQ(a.tool().dirty, 0);

    a.host.dragTo(button(), 50); // same position: down
    EXPECT_EQ(fixture::value, 1.98f);
    EXPECT_EQ(a.tool().dirty, 1);
    a.host.dragTo(button(), 60);
    EXPECT_GT(fixture::value, 1.98f);

    // Moving to another button costs one event there.
    a.host.typeNumber(originField(), 5.0);
    a.host.dragTo(originButton(), 0);
    EXPECT_EQ(a.tool().customOrigin[0], 0.0);
    a.host.dragTo(originButton(), 1);
    EXPECT_EQ(a.tool().customOrigin[0], static_cast<double>(5.05f));
    EXPECT_EQ(a.tool().origin[0], 0.0); // the working origin waits for the next snapshot
}
