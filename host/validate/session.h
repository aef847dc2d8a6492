// session.h: one module driven on a fresh headless host, step by step.
//
// A step is plain data: what the host or the user does next. The checks
// write their steps out, the random runs and the fuzzers decode them from
// bytes, and all of them go through Session::apply.
#pragma once

#include "host.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace validate {

enum class Action : std::uint8_t {
    activate,    // a new activation with `faults`; the previous one gets done first
    done,        // the host ends the activation
    start,       // the tool callbacks that take `event`
    down,
    move,
    up,
    pressHandle, // down on the origin handle as the tool draws it in event.viewport
    draw,        // in viewport `index`
    help,
    dirty,
    count,
    handle,      // with `index`
    adjust,      // with `index`
    event,       // code `index`
    work,        // the user works control `index` of the panel with `number` or `position`
    closePanel,  // the user closes the tool's panel
    select,      // the selection becomes `items` (scene item numbers; repeats allowed)
    setTime,     // the current time becomes `number`
    setGrid,     // viewport `index`'s grid (-1: every viewport's) becomes `number`
};

struct Step {
    Action action{};
    ToolEvent event{};      // start, down, move, up, pressHandle
    int index = 0;          // see Action
    int position = 0;       // work: a choice's index, a drag button's position, a list's item number (-1: no item)
    double number = 0.0;    // work: a float field's value; setTime, setGrid
    std::vector<int> items; // select
    host::Faults faults;    // activate
};

// "move in viewport 0 at (1, 2, 3), delta (4, -5), flags 0x8", ...
std::string describe(const Step &step);

// A tool event in a viewport at a window pixel, axis along the view. An
// unknown viewport number gets the front view's axis and the world origin.
ToolEvent eventAt(const host::Host &host, int viewport, double x, double y, int deltaX = 0, int deltaY = 0,
                  int flags = 0);

class Session {
public:
    explicit Session(const host::Module &module);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    host::Host &host() { return *host_; }
    host::Scene &scene() { return host_->scene; }
    // The scene's items by number, as select steps name them.
    const std::vector<host::Item *> &items() const { return items_; }
    host::Item &addItem(const std::string &name, host::Vec3 position = {}, host::Vec3 rotation = {});
    host::Item &addItem(const std::string &name, const std::vector<std::pair<std::string, double>> &channels);

    void apply(const Step &step);
    // describe(), with the control a work step reaches named.
    std::string describe(const Step &step);

    // The activation in use, or null before the first.
    host::Tool *tool() { return tool_.get(); }
    bool active() const { return tool_ && tool_->active(); }
    // The open or user-closed panel of the active tool, or null.
    host::Panel *panel();

    // Every item that was selected while the module ran since the last
    // activation: the only items a snapshot of the module can hold.
    const std::unordered_set<const host::Item *> &keyable() const { return keyable_; }

private:
    const host::Module &module_;
    std::unique_ptr<host::Host> host_;
    std::unique_ptr<host::Tool> tool_; // destroyed before the host
    std::vector<host::Item *> items_;
    std::unordered_set<const host::Item *> keyable_;

    void noteSelection();
    void work(host::Control &control, const Step &step);
};

} // namespace validate
