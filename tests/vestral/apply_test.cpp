// apply_test.cpp: Apply adds the typed offsets to the selection's rotation,
// keying only the channels whose offset is not zero.
#include "vestral_fixture.h"

#include <cmath>
#include <limits>

namespace vestral_test {
namespace {

using ApplyTest = VestralTest;

// Offsets are used at single precision: 0.1 is 0.10000000149011612 degrees.
TEST_F(ApplyTest, KeysEachChannelWithANonzeroOffset) {
    struct Case {
        host::Vec3 typed;
        host::Vec3 added; // radians; NAN where the channel gets no key
    };
    const Case cases[] = {
        {{10, 0, 0}, {0.17453292519943295, NAN, NAN}},
        {{0.1, 0, 0}, {0.10000000149011612 * degreesToRadians, NAN, NAN}},
        {{0, -5, 2.5}, {NAN, -5 * degreesToRadians, 2.5 * degreesToRadians}},
        {{0, 0, 0}, {NAN, NAN, NAN}},
    };
    const host::Vec3 start{0.3, -0.2, 1.1};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "H " << c.typed[0] << " P " << c.typed[1] << " B " << c.typed[2]);
        host::Item &a = addItem("a", start);
        host::Item &b = addItem("b", start);
        host.scene.select({&a, &b});
        apply(c.typed[0], c.typed[1], c.typed[2]);
        for (host::Item *item : {&a, &b}) {
            for (int k = 0; k < 3; ++k) {
                if (std::isnan(c.added[k])) {
                    EXPECT_TRUE(keys(*item, k).empty()) << rotationChannels[k];
                } else {
                    ASSERT_EQ(keys(*item, k).size(), 1u) << rotationChannels[k];
                    EXPECT_EQ(keys(*item, k)[0].time, 0.0);
                    EXPECT_DOUBLE_EQ(keys(*item, k)[0].value, start[k] + c.added[k]) << rotationChannels[k];
                }
            }
        }
    }
}

TEST_F(ApplyTest, TheTenthOfADegreeIsTheSinglePrecisionOne) {
    host::Item &item = addItem("a");
    host.scene.select({&item});
    apply(0.1, 0, 0);
    EXPECT_EQ(keys(item, 0).at(0).value, 0.10000000149011612 * degreesToRadians);
    EXPECT_NE(keys(item, 0).at(0).value, 0.1 * degreesToRadians);
}

// Apply reads the rotation afresh, so it changes the key at the current
// time (never a second one there) and a second Apply adds again.
TEST_F(ApplyTest, AKeyAtTheCurrentTimeIsUpdatedNotDuplicated) {
    host::Item &item = addItem("a");
    host::Envelope &headingEnvelope = item.channel("Rotation.H")->envelope;
    headingEnvelope.setKey(0.0, 0.1);
    headingEnvelope.setKey(1.0, 0.5);
    host.scene.setTime(1.0);
    host.scene.select({&item});
    apply(10, 0, 0);
    ASSERT_EQ(headingEnvelope.keys().size(), 2u);
    EXPECT_DOUBLE_EQ(headingEnvelope.keys()[1].value, 0.5 + 0.17453292519943295);
    host.press(control("Apply"));
    ASSERT_EQ(headingEnvelope.keys().size(), 2u);
    EXPECT_DOUBLE_EQ(headingEnvelope.keys()[1].value, 0.5 + 2 * 0.17453292519943295);
    EXPECT_EQ(headingEnvelope.keys()[0].value, 0.1);
}

// A typed NaN, an offset beyond single precision, or a rotation that is not
// finite keys nothing on that channel and leaves its key as it was; the
// item's other channels are still keyed.
TEST_F(ApplyTest, NoKeyIsWrittenWithANonFiniteValue) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char *name;
        double typedHeading;
        double heldHeading; // the heading key at the current time
    };
    const Case cases[] = {
        {"typed NaN", std::nan(""), 0.3},
        {"typed 1e300", 1e300, 0.3},
        {"typed -1e39", -1e39, 0.3},
        {"infinite heading", 5, inf},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        host::Item &item = addItem(c.name);
        item.channel("Rotation.H")->envelope.setKey(0.0, c.heldHeading);
        host.scene.select({&item});
        apply(c.typedHeading, 5, 0);
        ASSERT_EQ(keys(item, 0).size(), 1u);
        EXPECT_EQ(keys(item, 0)[0].value, c.heldHeading);
        ASSERT_EQ(keys(item, 1).size(), 1u);
        EXPECT_DOUBLE_EQ(keys(item, 1)[0].value, 5 * degreesToRadians);
    }
}

// Typing keys nothing; the offset counts from the next Apply.
TEST_F(ApplyTest, TypingAloneKeysNothing) {
    host::Item &item = addItem("a");
    host.scene.select({&item});
    host.typeNumber(field(0), 15);
    EXPECT_TRUE(keys(item, 0).empty());
    EXPECT_EQ(tool->dirty(), 3);
    host.press(control("Apply"));
    EXPECT_DOUBLE_EQ(keys(item, 0).at(0).value, 15 * degreesToRadians);
}

TEST_F(ApplyTest, WithoutSelectionNothingIsKeyed) {
    host::Item &item = addItem("unselected");
    apply(10, 10, 10);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(keys(item, k).empty());
}

// Apply leaves the drag alone: its read-outs keep the last drag's angles.
TEST_F(ApplyTest, ApplyDoesNotTouchTheReadOuts) {
    drag(topView, 25);
    apply(10, 20, 30);
    EXPECT_EQ(info(0), "2.500000");
    EXPECT_EQ(info(1), "0.000000");
}

} // namespace
} // namespace vestral_test
