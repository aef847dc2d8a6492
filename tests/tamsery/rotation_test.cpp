// rotation_test.cpp: which channels a rotation keys, and with what.
#include "tamsery_fixture.h"

namespace tamsery_test {
namespace {

const double c90 = std::cos(90 * degreesToRadians); // not quite 0 in doubles
const double halfPi = 90 * degreesToRadians;

using RotationTest = TamseryTest;

TEST_F(RotationTest, KeysTheTwoMovedPositionsAndUnderRotateTheAxisAngle) {
    struct Case {
        const char *name;
        int axis;
        bool rotateMethod;
        host::Vec3 position;
        Keys expected;
    };
    const host::Vec3 rotation{0.1, 0.2, 0.3};
    const Case cases[] = {
        {"about Z", 3, false, {1, 0, 0}, {c90, 1, none, none, none, none}},
        {"about Y", 2, false, {1, 0, 0}, {c90, none, -1, none, none, none}},
        {"about X", 1, false, {0, 1, 0}, {none, c90, 1, none, none, none}},
        {"about -Z", -3, false, {1, 0, 0}, {c90, 1, none, none, none, none}},
        {"about -Y", -2, false, {1, 0, 0}, {c90, none, -1, none, none, none}},
        {"about -X", -1, false, {0, 1, 0}, {none, c90, 1, none, none, none}},
        {"Rotate about Y turns the heading", 2, true, {1, 0, 0}, {c90, none, -1, 0.1 + halfPi, none, none}},
        {"Rotate about -X turns the pitch", -1, true, {0, 1, 0}, {none, c90, 1, none, 0.2 + halfPi, none}},
        {"Rotate about Z turns the bank", 3, true, {1, 0, 0}, {c90, 1, none, none, none, 0.3 + halfPi}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        activate();
        if (c.rotateMethod) chooseRotate();
        host::Item &item = only(c.position, rotation);
        rotate(c.axis, 90, modifierBit);
        expectKeys(item, c.expected);
    }
}

TEST_F(RotationTest, TurnsAboutTheCustomOrigin) {
    typeOrigin({1, 1, 5});
    host::Item &offAxis = add("off axis", {2, 1, 0});
    host::Item &onAxis = add("on the axis", {1, 1, 3});
    host.scene.select({&offAxis, &onAxis});
    rotate(3, 90, modifierBit);
    expectKeys(offAxis, {1, 2, none, none, none, none});
    expectKeys(onAxis, {1, 1, none, none, none, none});
}

TEST_F(RotationTest, EachMoveStartsAgainFromThePress) {
    host::Item &item = only({1, 0, 0});
    item.channel("Position.X")->envelope.setKey(sceneTime, 1.0);
    item.channel("Position.X")->envelope.setKey(0.0, 5.0);

    tool->down(eventFor(3));
    tool->move(eventFor(3, 9000)); // 90 degrees
    tool->move(eventFor(3, 4500)); // 45 degrees from the press, not 135
    tool->up(eventFor(3, 4500));

    const double h = std::sqrt(0.5);
    expectKeys(item, {h, h, none, none, none, none});
    EXPECT_EQ(keyCount(item, X), 2u) << "the key at the current time is updated, not duplicated";
    EXPECT_EQ(keyCount(item, Y), 1u);
}

TEST_F(RotationTest, NoOffsetKeysTheCapturedPose) {
    chooseRotate();
    host::Item &item = only({1, 2, 3}, {0.1, 0.2, 0.3});
    rotate(2, 0);
    expectKeys(item, {1, none, 3, 0.1, none, none});
}

TEST_F(RotationTest, AChannelTheItemLacksIsSkipped) {
    chooseRotate();
    host::Item &item = host.scene.addItem("no Z, no pitch", {{"Position.X", 1.0}, {"Position.Y", 0.0}, {"Rotation.H", 0.1}});
    host.scene.select({&item});
    rotate(2, 90, modifierBit);
    ASSERT_TRUE(key(item, X));
    EXPECT_NEAR(*key(item, X), c90, 1e-12);
    ASSERT_TRUE(key(item, H));
    EXPECT_DOUBLE_EQ(*key(item, H), 0.1 + halfPi);
    EXPECT_TRUE(item.channel("Position.Y")->envelope.keys().empty());
}

} // namespace
} // namespace tamsery_test
