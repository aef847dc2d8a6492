// Reading scenario files: every field into plain data, defaults filled, and
// each mistake reported with the file, the line and the step.
#include "input_error.h"
#include "scenario.h"

#include <gtest/gtest.h>

using namespace toolhost;

namespace {

std::string errorOf(const std::string &text) {
    try {
        parseScenario(text, "s.json", ".");
    } catch (const InputError &e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(Scenario, ReadsEveryFieldAndFillsTheDefaults) {
    const Scenario s = parseScenario(R"({
      "module": "tamsery", "time": 2.5,
      "items": [{"name": "a", "position": [1, 2, 3], "rotation": [0.1, 0.2, 0.3],
                 "keys": {"Position.X": [[0, 1], [5, 2]]}, "missing": ["Scale.Z"]},
                {"name": "b"}],
      "viewports": [{"view": "top", "grid": 0.25, "scale": 80, "center": [10, 20]}],
      "steps": [
        {"do": "activate"},
        {"do": "down", "viewport": "top", "at": [1, 0, 2], "fine": true},
        {"do": "move", "by": [5, -3]},
        {"do": "up"},
        {"do": "choose", "control": "Origin", "entry": 1},
        {"do": "nudge", "control": "X", "nth": 2, "positions": [0, 3]},
        {"do": "pick", "item": null},
        {"do": "select", "items": ["b"]}
      ]})",
                                     "s.json", "here");
    EXPECT_EQ(s.module, "tamsery");
    EXPECT_EQ(s.moduleLine, 2);
    EXPECT_EQ(s.time, 2.5);
    ASSERT_EQ(s.items.size(), 2u);
    EXPECT_EQ(s.items[0].position, (host::Vec3{1, 2, 3}));
    EXPECT_EQ(s.items[0].rotation, (host::Vec3{0.1, 0.2, 0.3}));
    ASSERT_EQ(s.items[0].keys.size(), 1u);
    EXPECT_EQ(s.items[0].keys[0].keys.size(), 2u);
    EXPECT_EQ(s.items[0].keys[0].keys[1].value, 2.0);
    EXPECT_EQ(s.items[0].missing, std::vector<std::string>{"Scale.Z"});
    EXPECT_EQ(s.selection, (std::vector<std::string>{"a", "b"})) << "every item is selected by default";
    ASSERT_EQ(s.viewports.size(), 1u);
    EXPECT_EQ(s.viewports[0].view, host::View::top);
    EXPECT_EQ(s.viewports[0].centerY, 20.0);

    ASSERT_EQ(s.steps.size(), 8u);
    EXPECT_EQ(s.steps[1].at.kind, Cursor::Kind::world);
    EXPECT_TRUE(s.steps[1].fine);
    EXPECT_EQ(s.steps[1].line, 9);
    EXPECT_EQ(s.steps[2].at.kind, Cursor::Kind::offset);
    EXPECT_EQ(s.steps[2].at.value[1], -3.0);
    EXPECT_EQ(s.steps[3].at.kind, Cursor::Kind::none);
    EXPECT_EQ(s.steps[4].entryIndex, 1);
    EXPECT_EQ(s.steps[5].nth, 2);
    EXPECT_EQ(s.steps[5].positions, (std::vector<int>{0, 3}));
    EXPECT_FALSE(s.steps[6].item);
    EXPECT_EQ(s.steps[7].number, 8);

    const Scenario bare = parseScenario(R"({"module": "pellwyn", "steps": []})", "s.json", ".");
    EXPECT_EQ(bare.viewports.size(), 3u) << "front, top and side, as the host has them";
    EXPECT_EQ(bare.viewports[2].view, host::View::side);
}

TEST(Scenario, EachMistakeIsNamedWhereItIs) {
    const struct {
        const char *what, *text;
        std::vector<std::string> mentions;
    } cases[] = {
        {"no module", R"({"steps": []})", {"s.json:1:", "\"module\" is missing"}},
        {"no steps", R"({"module": "pellwyn"})", {"\"steps\" is missing"}},
        {"a step without do", "{\"module\": \"pellwyn\",\n \"steps\": [\n  {\"control\": \"X\"}]}",
         {"s.json:3:", "step 1", "\"do\" is missing"}},
        {"a number given as text", "{\"module\": \"pellwyn\", \"steps\": [\n{\"do\": \"activate\"},\n{\"do\": \"type\", \"control\": \"X\", \"value\": \"2\"}]}",
         {"s.json:3:", "step 2 (type)", "\"value\" must be a number, not a string"}},
        {"a field of another step", R"({"module": "pellwyn", "steps": [{"do": "press", "control": "Apply", "value": 1}]})",
         {"step 1 (press)", "unknown field \"value\""}},
        {"two items of one name", "{\"module\": \"pellwyn\", \"items\": [{\"name\": \"a\"},\n {\"name\": \"a\"}], \"steps\": []}",
         {"s.json:2:", "items[1]", "\"a\" is the name of an earlier item too"}},
        {"keys on a missing channel",
         R"({"module": "pellwyn", "items": [{"name": "a", "missing": ["Position.X"], "keys": {"Position.X": [[0, 1]]}}], "steps": []})",
         {"items[0]", "\"Position.X\" is listed as missing"}},
        {"keys not in pairs", R"({"module": "pellwyn", "items": [{"name": "a", "keys": {"Position.X": [[0, 1, 2]]}}], "steps": []})",
         {"[time, value] pairs"}},
        {"no such channel", R"({"module": "pellwyn", "items": [{"name": "a", "missing": ["Position.W"]}], "steps": []})",
         {"\"Position.W\", which is not a channel"}},
        {"a viewport the scene lacks", R"({"module": "pellwyn", "steps": [{"do": "down", "viewport": 3, "pixel": [0, 0]}]})",
         {"step 1 (down)", "the scene has 3 viewports"}},
        {"two places at once", R"({"module": "pellwyn", "steps": [{"do": "down", "at": [0, 0, 0], "pixel": [0, 0]}]})",
         {"step 1 (down)", "not both"}},
        {"nowhere to press", R"({"module": "pellwyn", "steps": [{"do": "down"}]})", {"step 1 (down)", "say where"}},
        {"a point of two coordinates", R"({"module": "pellwyn", "steps": [{"do": "down", "at": [0, 0]}]})",
         {"\"at\" must be a list of 3 numbers"}},
        {"nth from 1", R"({"module": "pellwyn", "steps": [{"do": "press", "control": "Apply", "nth": 0}]})",
         {"\"nth\" is out of range"}},
        {"a fraction of a position", R"({"module": "pellwyn", "steps": [{"do": "nudge", "control": "X", "positions": [1.5]}]})",
         {"\"positions\" must be a whole number"}},
        {"selecting a stranger", R"({"module": "pellwyn", "items": [{"name": "a"}], "selection": ["zed"], "steps": []})",
         {"\"zed\", which is not an item"}},
        {"a view Layout lacks", R"({"module": "pellwyn", "viewports": [{"view": "perspective"}], "steps": []})",
         {"viewports[0]", "\"front\", \"top\" or \"side\""}},
        {"a negative grid", R"({"module": "pellwyn", "viewports": [{"view": "top", "grid": -1}], "steps": []})",
         {"\"grid\" must not be negative"}},
        {"a field twice", "{\"module\": \"pellwyn\",\n\"module\": \"tamsery\", \"steps\": []}",
         {"s.json:2:", "\"module\" appears twice"}},
        {"not an object", "[1, 2]", {"must be an object"}},
    };
    for (const auto &c : cases) {
        const std::string error = errorOf(c.text);
        for (const std::string &mention : c.mentions)
            EXPECT_NE(error.find(mention), std::string::npos) << c.what << ": wanted \"" << mention << "\" in: " << error;
    }
}
