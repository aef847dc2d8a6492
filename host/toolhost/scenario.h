// scenario.h: a scenario file as plain data. A scenario is a scene (items,
// time, selection, viewports), the tool module to load and the steps a user
// takes; README.md, "Scenario files", describes the format.
#pragma once

#include "host.h"

#include <optional>
#include <string>
#include <vector>

namespace toolhost {

struct ChannelKeys {
    std::string channel;
    std::vector<host::Key> keys;
};

struct ItemSpec {
    std::string name;
    host::Vec3 position{}; // the position channels' values where they have no key
    host::Vec3 rotation{}; // heading, pitch, bank in radians, likewise
    std::vector<ChannelKeys> keys;
    std::vector<std::string> missing; // default channels the item lacks
};

struct ViewportSpec {
    host::View view = host::View::front;
    double grid = 1.0;
    double pixelsPerUnit = 50.0;
    double centerX = 320.0, centerY = 240.0;
};

// Where a mouse event happens.
struct Cursor {
    enum class Kind { none, world, pixel, offset };
    Kind kind = Kind::none;
    host::Vec3 value{}; // a world point; a window pixel x, y; or pixels dx, dy from the press
};

enum class Action { activate, down, move, up, drag, type, choose, press, nudge, pick, close, time, select, done };

struct Step {
    Action action = Action::activate;
    int number = 0; // 1-based, for messages
    int line = 0;   // where it starts in the file, 0 when not from a file

    // down, move, up, drag
    int viewport = 0;
    Cursor at;     // down, move, up; where a drag starts
    Cursor by;     // drag: pixels from the start to the end
    bool fine = false; // the modifier flag (bit 8)

    // type, choose, press, nudge, pick: the control, by its label without
    // surrounding blanks and its 1-based place among the controls of its kind
    // with that label
    std::string control;
    int nth = 1;
    double value = 0.0;            // type: the number; time: the seconds
    std::optional<int> entryIndex; // choose: by 0-based index ...
    std::string entryText;         // ... or by the entry's text
    std::vector<int> positions;    // nudge: the drag button's successive positions
    std::optional<std::string> item; // pick: the item; none picks no item
    std::vector<std::string> items;  // select
};

struct Scenario {
    std::string file;   // as given, for messages
    std::string folder; // the folder relative module paths start from
    std::string module; // a tool name or a module file path
    int moduleLine = 0;
    double time = 0.0;
    std::vector<ItemSpec> items;
    std::vector<std::string> selection;
    std::vector<ViewportSpec> viewports;
    std::vector<Step> steps;
};

const char *actionName(Action action);
const char *viewName(host::View view);

// "FILE:LINE: step N (ACTION): " or "FILE: step N (ACTION): ".
std::string stepPrefix(const Scenario &scenario, const Step &step);

// Parses a scenario. Anything wrong (malformed JSON, an unknown or misspelt
// field, a value of the wrong type, a name that is not in the scene) throws
// InputError naming the file, the line and the step.
Scenario parseScenario(const std::string &text, const std::string &file, const std::string &folder);
Scenario loadScenario(const std::string &path);

} // namespace toolhost
