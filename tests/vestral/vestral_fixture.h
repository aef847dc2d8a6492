// vestral_fixture.h: the Vestral++ module loaded into a headless host, with
// a scene of items and helpers to drag, type and read keys as a user would.
#pragma once

#include "host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vestral_test {

constexpr double degreesToRadians = 0.017453292519943295;
constexpr int modifierBit = 8;

// The host's views and the rotation channel a drag in each turns.
constexpr int frontView = 0; // looks along Z: bank
constexpr int topView = 1;   // looks along Y: heading
constexpr int sideView = 2;  // looks along X: pitch

inline const std::array<const char *, 3> rotationChannels{"Rotation.H", "Rotation.P", "Rotation.B"};
inline const std::array<const char *, 3> fieldLabels{" H", " P", " B"};
inline const std::array<const char *, 3> infoLabels{"H", "P", "B"};

class VestralTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        module = host::Module::open(VESTRAL_MODULE, error);
        ASSERT_TRUE(module) << error;
        activate();
    }

    // A new activation of the tool (the previous one, if any, gets done).
    void activate() {
        tool.reset();
        tool = std::make_unique<host::Tool>(host, *module);
        ASSERT_EQ(tool->result(), 0);
    }

    host::Panel &panel() { return *host.currentPanel(); }

    host::Control &control(const std::string &label, int occurrence = 0) {
        host::Control *found = panel().find(label, occurrence);
        EXPECT_NE(found, nullptr) << "no control \"" << label << "\"";
        static host::Control none;
        return found ? *found : none;
    }
    host::Control &field(int channel) { return control(fieldLabels[channel]); }
    host::Control &nudge(int channel) { return control("", channel); }
    std::string info(int channel) { return control(infoLabels[channel]).text; }

    host::Item &addItem(const std::string &name, host::Vec3 rotation = {}) {
        return host.scene.addItem(name, host::Vec3{}, rotation);
    }

    const std::vector<host::Key> &keys(host::Item &item, int channel) {
        return item.channel(rotationChannels[channel])->envelope.keys();
    }

    // A press in `viewport`, then one move by deltaX pixels.
    void drag(int viewport, int deltaX, int flags = 0) {
        tool->down(host.eventAt(viewport, {}));
        tool->move(host.eventAt(viewport, {}, deltaX, 0, flags));
    }

    // Types the three offsets and presses Apply.
    void apply(double h, double p, double b) {
        host.typeNumber(field(0), h);
        host.typeNumber(field(1), p);
        host.typeNumber(field(2), b);
        host.press(control("Apply"));
    }

    host::Host host;
    std::unique_ptr<host::Module> module;
    std::unique_ptr<host::Tool> tool;
};

} // namespace vestral_test
