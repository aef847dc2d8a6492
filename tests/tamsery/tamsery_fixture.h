// tamsery_fixture.h: the Tamsery module loaded from its file and activated in
// a headless host, with helpers to build a scene, drag, work the panel and
// read the keys as a user would see them.
#pragma once

#include "module_fixture.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tamsery_test {

constexpr double degreesToRadians = 0.017453292519943295;
constexpr int modifierBit = 8;
constexpr double sceneTime = 1.5; // keys must land here, not at 0

// The host's viewports: front looks along Z, top along -Y, side along -X.
enum { front = 0, top = 1, side = 2 };

// The six channels the tool keys, in the order of the expectations below.
enum { X, Y, Z, H, P, B };
inline const std::array<const char *, 6> channelNames{"Position.X", "Position.Y", "Position.Z",
                                                      "Rotation.H", "Rotation.P", "Rotation.B"};

// What each channel should hold at the current time: a value, or no key.
using Keys = std::array<std::optional<double>, 6>;
constexpr std::nullopt_t none = std::nullopt;

struct TamseryTest : ModuleTest {
    void SetUp() override {
        host.scene.setTime(sceneTime);
        load(TAMSERY_MODULE);
    }

    host::Control &originChoice() { return control("Origin"); }
    host::Control &methodChoice() { return control("Method"); }
    host::Control &angleField(int hpb) { return control(std::array{" H", " P", " B"}[hpb]); }
    host::Control &originField(int xyz) { return control(std::array{" X", " Y", " Z"}[xyz]); }
    host::Control &itemList() { return *panel().at(17); }
    host::Control &applyButton() { return control("Apply"); }
    host::Vec3 originFields() { return {originField(0).number, originField(1).number, originField(2).number}; }

    void chooseRotate() { host.choose(methodChoice(), 1); }
    void chooseAverage() { host.choose(originChoice(), 1); }
    void typeOrigin(host::Vec3 p) {
        for (int k = 0; k < 3; ++k) host.typeNumber(originField(k), p[k]);
    }
    void apply(double h, double p, double b) {
        host.typeNumber(angleField(0), h);
        host.typeNumber(angleField(1), p);
        host.typeNumber(angleField(2), b);
        host.press(applyButton());
    }

    host::Item &add(const std::string &name, host::Vec3 position, host::Vec3 rotation = {}) {
        return host.scene.addItem(name, position, rotation);
    }
    // Adds one item and makes it the whole selection.
    host::Item &only(host::Vec3 position, host::Vec3 rotation = {}) {
        host::Item &item = add("item" + std::to_string(host.scene.items().size()), position, rotation);
        host.scene.select({&item});
        return item;
    }

    // An event whose dominant axis component gives the tool `axisCode`
    // (±1 X, ±2 Y, ±3 Z), at a point far from the origin cross.
    ToolEvent eventFor(int axisCode, int deltaX = 0, int flags = 0) {
        ToolEvent event = host.eventAt(front, {4, 4, 4}, deltaX, 0, flags);
        host::Vec3 axis{};
        axis[std::abs(axisCode) - 1] = axisCode > 0 ? 1.0 : -1.0;
        for (int k = 0; k < 3; ++k) event.eventAxis[k] = axis[k];
        return event;
    }
    // A press that misses the cross, one move by deltaX pixels, the release.
    void rotate(int axisCode, int deltaX, int flags = 0) {
        tool->down(eventFor(axisCode));
        tool->move(eventFor(axisCode, deltaX, flags));
        tool->up(eventFor(axisCode, deltaX, flags));
    }

    std::optional<double> key(host::Item &item, int channel) { return ModuleTest::key(item, channelNames[channel]); }
    std::size_t keyCount(host::Item &item, int channel) {
        return item.channel(channelNames[channel])->envelope.keys().size();
    }
    // Every channel as expected: keyed with that value (within 1e-12), or
    // without any key at all.
    void expectKeys(host::Item &item, const Keys &expected) {
        for (int c = 0; c < 6; ++c) {
            SCOPED_TRACE(channelNames[c]);
            if (!expected[c]) {
                EXPECT_EQ(keyCount(item, c), 0u);
            } else if (const auto actual = key(item, c)) {
                EXPECT_NEAR(*actual, *expected[c], 1e-12);
            } else {
                ADD_FAILURE() << "no key";
            }
        }
    }
};

} // namespace tamsery_test
