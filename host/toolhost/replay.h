// replay.h: playing a scenario on the headless host and collecting what the
// tool changed.
#pragma once

#include "scenario.h"

#include <optional>
#include <string>
#include <vector>

namespace toolhost {

// A channel at the current time: the value of its key there, or, without a
// key, the value the channel has there anyway.
struct KeyAt {
    bool keyed = false;
    double value = 0.0;
};

struct ChannelChange {
    std::string item, channel;
    KeyAt before, after;
};

// "created", "changed", "kept" (a key with the same value), "removed" or
// "none" (no key before or after).
const char *changeName(const ChannelChange &change);

struct ItemPose {
    std::string name;
    bool selected = false;
    host::Vec3 positionBefore{}, positionAfter{};
    host::Vec3 rotationBefore{}, rotationAfter{};
};

struct FieldValue {
    std::string label; // without surrounding blanks
    int nth = 1;       // its place among the controls of its kind with that label
    std::string kind;  // "float", "choice", "info", "list"
    std::optional<double> number; // float: the value; choice: the index
    std::string text;  // choice: the entry; info: the text; list: the item
};

struct PanelState {
    std::string title;
    bool open = false;
    std::vector<FieldValue> fields;
};

// Where the tool shows its origin in one kind of view, as its drawing
// says; the coordinate along the view's depth axis is 0.
struct OriginMark {
    host::View view;
    host::Vec3 point;
};

struct Outcome {
    std::string title;  // what was played: the scenario file or a demo's name
    std::string modulePath, server;
    double time = 0.0;  // the current time at the end, where keys are compared
    std::vector<ChannelChange> channels; // the position and rotation channels, and any other keyed at the time
    std::vector<ItemPose> items;
    std::optional<PanelState> panel;     // the tool's last panel
    std::vector<OriginMark> origins;     // none when the tool draws no origin or is done
    std::vector<ViewportSpec> viewports; // the scenario's
};

// Plays every step. A step the scene or the panel cannot do (a control or
// item that does not exist, a move without a press, ...), or a module that
// will not load or activate, throws InputError naming the file, line and step.
Outcome replay(const Scenario &scenario);

// A control's label as steps name it: without surrounding blanks.
std::string trimmed(const std::string &label);

} // namespace toolhost
