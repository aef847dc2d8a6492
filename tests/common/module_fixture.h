// module_fixture.h: a tool module loaded from its file and activated in a
// headless host, as Layout would load and activate it. Each tool's test
// fixture derives from it and adds the helpers of its own panel and keys.
#pragma once

#include "host.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

struct ModuleTest : ::testing::Test {
    host::Host host;
    std::unique_ptr<host::Module> module;
    std::unique_ptr<host::Tool> tool;

    // Opens the module file and activates its tool.
    void load(const char *path) {
        std::string error;
        module = host::Module::open(path, error);
        ASSERT_TRUE(module) << error;
        activate();
    }

    // A new activation of the tool; the previous one, if any, gets done.
    void activate() {
        tool.reset();
        tool = std::make_unique<host::Tool>(host, *module);
        ASSERT_EQ(tool->result(), 0) << host::activationResultText(tool->result());
    }

    host::Panel &panel() { return *host.currentPanel(); }

    // The n-th control with this label; a missing one fails the test.
    host::Control &control(const std::string &label, int occurrence = 0) {
        host::Control *found = panel().find(label, occurrence);
        if (!found) ADD_FAILURE() << "no control \"" << label << "\" #" << occurrence;
        static host::Control missing;
        return found ? *found : missing;
    }

    // The value keyed at the current time on the item's channel, if any.
    std::optional<double> key(host::Item &item, const char *channel) {
        const host::Envelope &envelope = item.channel(channel)->envelope;
        const std::ptrdiff_t i = envelope.find(host.scene.time());
        if (i < 0) return std::nullopt;
        return envelope.keys()[static_cast<std::size_t>(i)].value;
    }
};
