// harness.h: activates the fixture tool in this process, through the
// toolkit's own descriptor, against a headless host.
#pragma once

#include "fixture_tool.h"
#include "host.h"

extern "C" ModuleDescriptor _mod_descrip;

struct Activation {
    host::Host host;
    ToolSlot slot{};
    ToolCallbacks callbacks{};
    int result = -1;

    Activation() = default;
    explicit Activation(bool activateNow) {
        if (activateNow) activate();
    }
    ~Activation() {
        if (slot.instance && callbacks.done) callbacks.done(slot.instance);
    }
    int activate() {
        slot.callbacks = &callbacks;
        result = _mod_descrip.servers[0].activate(1, host::Host::getGlobal, &slot, nullptr);
        return result;
    }
    ToolCommon &tool() { return *static_cast<ToolCommon *>(slot.instance); }
    host::Panel &panel() { return *host.currentPanel(); }
};
