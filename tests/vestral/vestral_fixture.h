// vestral_fixture.h: the Vestral++ module loaded into a headless host, with
// a scene of items and helpers to drag, type and read keys as a user would.
#pragma once

#include "module_fixture.h"

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

class VestralTest : public ModuleTest {
protected:
    void SetUp() override { load(VESTRAL_MODULE); }

    host::Control &field(int channel) { return control(fieldLabels[channel]); }
    host::Control &nudge(int channel) { return control("", channel); }
    std::string info(int channel) { return control(infoLabels[channel]).text; }

    host::Item &addItem(const std::string &name, host::Vec3 rotation = {}) {
        return host.scene.addItem(name, host::Vec3{}, rotation);
    }

    const host::KeyList &keys(host::Item &item, int channel) {
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
};

} // namespace vestral_test
