// Every example under examples/ runs, and the keys it leaves are the ones
// worked out by hand from what each tool does.
#include "toolhost_process.h"

#include <nlohmann/json.hpp>

#include <cmath>

using nlohmann::json;
using namespace toolhost_test;

namespace {

constexpr double degree = 0.017453292519943295;
constexpr double quarterTurn = 1.5707963267948966;

struct Expected {
    const char *item, *channel, *change;
    double before, after;
};

const json *row(const json &report, const std::string &item, const std::string &channel) {
    for (const json &r : report["channels"])
        if (r["item"] == item && r["channel"] == channel)
            return &r;
    return nullptr;
}

const json *field(const json &report, const std::string &label, const std::string &kind, int nth = 1) {
    for (const json &f : report["panel"]["fields"])
        if (f["label"] == label && f["kind"] == kind && f["nth"] == nth)
            return &f;
    return nullptr;
}

json runExample(const std::string &name) {
    const Ran run = toolhost({"run", std::string(EXAMPLES_DIR) + "/" + name, "--json"}, freshFolder());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    return json::parse(run.out, nullptr, false);
}

void expectKeys(const json &report, const std::vector<Expected> &expected) {
    ASSERT_FALSE(report.is_discarded());
    for (const Expected &e : expected) {
        const json *r = row(report, e.item, e.channel);
        ASSERT_NE(r, nullptr) << e.item << " " << e.channel;
        const std::string change = e.change;
        EXPECT_EQ((*r)["change"], change) << e.item << " " << e.channel;
        EXPECT_EQ((*r)["after"]["key"], change == "created" || change == "changed" || change == "kept")
            << e.item << " " << e.channel;
        EXPECT_NEAR((*r)["before"]["value"].get<double>(), e.before, 1e-12) << e.item << " " << e.channel;
        EXPECT_NEAR((*r)["after"]["value"].get<double>(), e.after, 1e-12) << e.item << " " << e.channel;
    }
}

} // namespace

// "Scale" dragged 100 pixels right: factor 2 about the custom origin (0, 0, 0).
// b already had a key at the current time; c is not selected.
TEST(Examples, PellwynDoublesTheDistancesFromTheOrigin) {
    const json report = runExample("pellwyn-scale.json");
    expectKeys(report, {
                           {"a", "Position.X", "created", 1, 2},
                           {"a", "Position.Y", "created", 0, 0},
                           {"a", "Position.Z", "created", 0, 0},
                           {"b", "Position.X", "created", 0, 0},
                           {"b", "Position.Y", "changed", 2, 4},
                           {"b", "Position.Z", "created", 0, 0},
                           {"a", "Rotation.H", "none", 0, 0},
                           {"c", "Position.X", "none", 5, 5},
                       });
    EXPECT_EQ(report["time"], 1.0);
    EXPECT_EQ((*field(report, "Origin", "choice"))["entry"], "Custom");
    EXPECT_EQ((*field(report, "X", "float"))["value"], 2.0);     // the scale factor
    EXPECT_EQ((*field(report, "X", "float", 2))["value"], 0.0);  // the origin
}

// Under "Rotate", a fine drag of 90 pixels in the front view turns the
// selection 90 degrees about Z through the picked item at (1, 0, 0): arm
// (2, 0, 0) goes to (1, 1, 0); tip lies on the axis and stays; Z is never
// keyed; each bank grows by a quarter turn (arm's from its key of 0.25).
TEST(Examples, TamseryTurnsAQuarterAboutThePickedItem) {
    const json report = runExample("tamsery-rotate.json");
    expectKeys(report, {
                           {"arm", "Position.X", "created", 2, 1},
                           {"arm", "Position.Y", "created", 0, 1},
                           {"arm", "Position.Z", "none", 0, 0},
                           {"arm", "Rotation.B", "changed", 0.25, 0.25 + quarterTurn},
                           {"arm", "Rotation.H", "none", 0, 0},
                           {"tip", "Position.X", "created", 1, 1},
                           {"tip", "Position.Y", "created", 0, 0},
                           {"tip", "Position.Z", "none", 3, 3},
                           {"tip", "Rotation.B", "created", 0, quarterTurn},
                           {"pivot", "Position.X", "none", 1, 1},
                       });
    EXPECT_EQ((*field(report, "B", "float"))["value"], 90.0);
    EXPECT_EQ((*field(report, "X", "float"))["value"], 1.0);
    EXPECT_EQ((*field(report, "", "list"))["value"], "pivot");
}

// Apply with P = 10 and B = -5, then a 50-pixel drag in the side view adds
// 5 degrees of pitch (0.1 degree a pixel) to the pitch Apply left.
TEST(Examples, VestralAddsTheTypedOffsetsThenTheDrag) {
    const json report = runExample("vestral-offset.json");
    expectKeys(report, {
                           {"camera", "Rotation.H", "none", 0.1, 0.1},
                           {"camera", "Rotation.P", "created", 0, 15 * degree},
                           {"camera", "Rotation.B", "created", 0, -5 * degree},
                           {"light", "Rotation.P", "created", 0, 15 * degree},
                           {"light", "Rotation.B", "created", 0, -5 * degree},
                           {"light", "Position.Y", "none", 3, 3},
                       });
    EXPECT_EQ((*field(report, "P", "info"))["value"], "5.000000");
    EXPECT_EQ((*field(report, "P", "float"))["value"], 10.0);
}

// The table a user reads carries the same figures as the JSON.
TEST(Examples, TheTableShowsEachKeyOnItsRow) {
    const Ran run = toolhost({"run", std::string(EXAMPLES_DIR) + "/pellwyn-scale.json"}, freshFolder());
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::vector<std::string> rowsOfB;
    while (std::getline(lines, line))
        if (line.rfind("b ", 0) == 0)
            rowsOfB.push_back(line);
    ASSERT_EQ(rowsOfB.size(), 6u) << run.out;
    EXPECT_NE(rowsOfB[1].find("Position.Y"), std::string::npos);
    EXPECT_NE(rowsOfB[1].find(" 2.000000"), std::string::npos) << "a key before is shown bare";
    EXPECT_NE(rowsOfB[1].find(" 4.000000  changed"), std::string::npos);
    EXPECT_NE(rowsOfB[0].find("(0.000000)"), std::string::npos) << "no key before: the value in parentheses";
}
