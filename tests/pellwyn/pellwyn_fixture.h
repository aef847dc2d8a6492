// pellwyn_fixture.h: the Pellwyn module loaded from its file, activated in a
// headless host, with helpers to set up a scene and read keys.
#pragma once

#include "module_fixture.h"

#include <cmath>
#include <memory>
#include <optional>
#include <string>

struct PellwynTest : ModuleTest {
    enum { front = 0, top = 1, side = 2 }; // the host's viewports

    void SetUp() override { load(PELLWYN_MODULE); }

    host::Control &originChoice() { return control("Origin", 0); }
    host::Control &methodChoice() { return control("Method"); }
    host::Control &scaleField(int k) { return control(labels[k], 0); }
    host::Control &originField(int k) { return control(labels[k], 1); }
    host::Control &apply() { return control("Apply"); }

    host::Item &add(const std::string &name, host::Vec3 position) { return host.scene.addItem(name, position); }
    void select(std::initializer_list<host::Item *> items) { host.scene.select(items); }

    host::Vec3 keyedPosition(host::Item &item) {
        return {key(item, "Position.X").value_or(NAN), key(item, "Position.Y").value_or(NAN),
                key(item, "Position.Z").value_or(NAN)};
    }

    // A press well away from the origin cross, then a move by (dx, dy) pixels.
    void dragBy(int viewport, int dx, int dy, int flags = 0) {
        tool->down(host.eventAtPixel(viewport, 500, 400));
        tool->move(host.eventAtPixel(viewport, 500 + dx, 400 + dy, dx, dy, flags));
        tool->up(host.eventAtPixel(viewport, 500 + dx, 400 + dy, dx, dy, flags));
    }

    static constexpr const char *labels[3] = {" X", " Y", " Z"};
};
