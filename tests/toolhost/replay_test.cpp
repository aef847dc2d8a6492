// Replaying steps on the headless host: cursors become the events a tool
// sees, the scenario's viewports and scene reach the host, panel steps find
// the right control, and the outcome reads back what the tool did.
#include "input_error.h"
#include "replay.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace toolhost;

namespace {

constexpr double degree = 0.017453292519943295;

Outcome play(const std::string &text) { return replay(parseScenario(text, "s.json", ".")); }

const ChannelChange &change(const Outcome &o, const std::string &item, const std::string &channel) {
    for (const ChannelChange &c : o.channels)
        if (c.item == item && c.channel == channel)
            return c;
    static const ChannelChange none{"?", "?", {}, {}};
    ADD_FAILURE() << "no row for " << item << " " << channel;
    return none;
}

const FieldValue &field(const Outcome &o, const std::string &label, int nth = 1, const std::string &kind = "float") {
    for (const FieldValue &f : o.panel->fields)
        if (f.label == label && f.nth == nth && f.kind == kind)
            return f;
    static const FieldValue none{};
    ADD_FAILURE() << "no field " << label << " #" << nth;
    return none;
}

} // namespace

// Down at a world point, move at another 50 pixels to its right: the tool
// sees deltaX 50, so "Scale" about (0, 0, 0) is by 1.5.
TEST(Replay, WorldPointsBecomePixelOffsetsFromThePress) {
    const Outcome o = play(R"({"module": "pellwyn", "items": [{"name": "a", "position": [2, 0, 0]}],
      "steps": [{"do": "activate"}, {"do": "choose", "control": "Origin", "entry": "Custom"},
                {"do": "down", "at": [3, -3, 0]}, {"do": "move", "at": [4, -3, 0]}, {"do": "up"}]})");
    EXPECT_NEAR(change(o, "a", "Position.X").after.value, 3.0, 1e-12);
    EXPECT_DOUBLE_EQ(field(o, "X").number.value(), 1.5);
}

// A press on the origin cross drags the origin; with the fine flag it snaps
// to tenths of the viewport's grid. The viewport's own scale and centre put
// the cross at pixel (100, 100), its grid decides the snap.
TEST(Replay, TheScenariosViewportIsTheOneTheToolWorksIn) {
    const struct {
        double grid;
        double x, y;
    } cases[] = {{1.0, 2.0, 1.3}, {0.5, 1.0, 0.65}};
    for (const auto &c : cases) {
        const Outcome o = play(R"({"module": "pellwyn", "items": [{"name": "a", "position": [1, 1, 1]}],
          "viewports": [{"view": "front", "scale": 100, "center": [100, 100], "grid": )" +
                               std::to_string(c.grid) + R"(}],
          "steps": [{"do": "activate"}, {"do": "choose", "control": "Origin", "entry": "Custom"},
                    {"do": "down", "pixel": [100, 100], "fine": true},
                    {"do": "move", "at": [2.0, 1.37, 5], "fine": true}, {"do": "up"}]})");
        EXPECT_NEAR(field(o, "X", 2).number.value(), c.x, 1e-12) << "grid " << c.grid;
        EXPECT_NEAR(field(o, "Y", 2).number.value(), c.y, 1e-12) << "grid " << c.grid;
        EXPECT_EQ(field(o, "Z", 2).number.value(), 0.0) << "the depth coordinate stays";
        EXPECT_FALSE(change(o, "a", "Position.X").after.keyed) << "an origin drag keys nothing";
    }
}

// Each nudge drags the button on the named field's row; the first event
// from a button only records its position.
TEST(Replay, NudgeWorksTheDragButtonBesideTheNamedField) {
    const Outcome o = play(R"({"module": "pellwyn", "steps": [{"do": "activate"},
      {"do": "nudge", "control": "X", "nth": 2, "positions": [0, 1]},
      {"do": "nudge", "control": "Y", "positions": [0, 5]}]})");
    EXPECT_EQ(field(o, "X", 2).number.value(), static_cast<double>(0.001f)); // the origin's X, from 0
    EXPECT_EQ(field(o, "Y").number.value(), static_cast<double>(1.01f));    // the Y factor, from 1
    EXPECT_EQ(field(o, "X").number.value(), 1.0);
    EXPECT_EQ(field(o, "Y", 2).number.value(), 0.0);
}

// Keys land at the time a step set, only on the items a step selected, and
// the outcome compares at that time.
TEST(Replay, TimeAndSelectionStepsDecideWhereAndWhatIsKeyed) {
    const Outcome o = play(R"({"module": "vestral", "items": [{"name": "a"}, {"name": "b"}],
      "steps": [{"do": "activate"}, {"do": "time", "value": 4}, {"do": "select", "items": ["b"]},
                {"do": "type", "control": "H", "value": 10}, {"do": "press", "control": "Apply"}]})");
    EXPECT_EQ(o.time, 4.0);
    EXPECT_STREQ(changeName(change(o, "a", "Rotation.H")), "none");
    EXPECT_STREQ(changeName(change(o, "b", "Rotation.H")), "created");
    EXPECT_NEAR(change(o, "b", "Rotation.H").after.value, 10 * degree, 1e-15);
    EXPECT_TRUE(o.items[1].selected);
    EXPECT_FALSE(o.items[0].selected);
}

TEST(Replay, ChoosesByIndexAndShowsTheEntry) {
    const Outcome o = play(R"({"module": "tamsery", "steps": [{"do": "activate"},
      {"do": "choose", "control": "Origin", "entry": 1}]})");
    EXPECT_EQ(field(o, "Origin", 1, "choice").text, "Average");
}

TEST(Replay, AToolIsUsableFromActivateToDone) {
    const std::string after = R"({"module": "tamsery", "steps": [{"do": "activate"}, {"do": "done"}, )";
    try {
        play(after + R"({"do": "type", "control": "H", "value": 5}]})");
        ADD_FAILURE() << "a done tool's panel took a value";
    } catch (const InputError &e) {
        EXPECT_NE(std::string(e.what()).find("step 3 (type): the tool is done"), std::string::npos) << e.what();
    }
    const Outcome o = play(after + R"({"do": "activate"}, {"do": "type", "control": "H", "value": 5}]})");
    EXPECT_TRUE(o.panel->open) << "the new activation's panel";
    EXPECT_EQ(field(o, "H").number.value(), 5.0);
}

// An item without some channels has the others, each with its own value.
TEST(Replay, MissingChannelsAreLeftOutAndTheRestKeepTheirValues) {
    const Outcome o = play(R"({"module": "vestral", "items": [{"name": "a", "position": [1, 2, 3],
      "rotation": [0.5, 0.6, 0.7], "missing": ["Position.Z", "Rotation.P"]}], "steps": []})");
    for (const ChannelChange &c : o.channels)
        EXPECT_TRUE(c.channel != "Position.Z" && c.channel != "Rotation.P") << c.channel;
    EXPECT_EQ(change(o, "a", "Position.Y").before.value, 2.0);
    EXPECT_EQ(change(o, "a", "Rotation.H").before.value, 0.5);
    EXPECT_EQ(change(o, "a", "Rotation.B").before.value, 0.7);
}

// The origin the picture shows is where the tool draws its cross.
TEST(Replay, TheOriginIsReadFromTheToolsDrawing) {
    const Outcome o = play(R"({"module": "pellwyn", "steps": [{"do": "activate"},
      {"do": "type", "control": "X", "nth": 2, "value": 1}, {"do": "type", "control": "Y", "nth": 2, "value": 2},
      {"do": "type", "control": "Z", "nth": 2, "value": 3}]})");
    ASSERT_EQ(o.origins.size(), 3u);
    const host::Vec3 seen[] = {{1, 2, 0}, {1, 0, 3}, {0, 2, 3}}; // front, top, side: no depth
    for (std::size_t v = 0; v < 3; ++v)
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_NEAR(o.origins[v].point[k], seen[v][k], 1e-9) << "view " << v << " coordinate " << k;

    EXPECT_TRUE(play(R"({"module": "vestral", "steps": [{"do": "activate"}]})").origins.empty())
        << "Vestral++ draws no origin";
}
