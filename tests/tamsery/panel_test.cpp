// panel_test.cpp: the panel's controls, Apply, the item list and the drag
// buttons, and a tool that keeps working when the host falls short.
#include "tamsery_fixture.h"

#include <cstring>
#include <iterator>

namespace tamsery_test {
namespace {

using PanelTest = TamseryTest;

TEST_F(PanelTest, EveryControlInOrderAndPlace) {
    struct Expected {
        const char *type;
        const char *label;
        int x, y;
    };
    // With the host's default sizes: choices 150 x 20, headings 100 x 16,
    // fields 80 x 20, drag buttons 30 x 20, Apply 60 x 20.
    const Expected expected[] = {
        {"ChoiceControl", "Origin", 10, 10},      {"ChoiceControl", "Method", 10, 34},
        {"TextControl", "Rotate", 10, 58},        {"TextControl", "Origin", 140, 58},
        {"FloatControl", " H", 10, 84},           {"FloatControl", " P", 10, 102},
        {"FloatControl", " B", 10, 120},          {"DragButtonControl", "", 90, 84},
        {"DragButtonControl", "", 90, 102},       {"DragButtonControl", "", 90, 120},
        {"FloatControl", " X", 140, 84},          {"FloatControl", " Y", 140, 102},
        {"FloatControl", " Z", 140, 120},         {"DragButtonControl", "", 220, 84},
        {"DragButtonControl", "", 220, 102},      {"DragButtonControl", "", 220, 120},
        {"ButtonControl", "Apply", 140, 140},     {"LWListControl", "", 160, 34},
    };
    host::Panel &p = panel();
    EXPECT_EQ(p.title, "Kelzu Tamsery");
    EXPECT_EQ(p.width, 277);
    EXPECT_EQ(p.height, 40) << "twice the height of Apply";
    ASSERT_EQ(p.controls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const host::Control &c = p.controls[i];
        EXPECT_EQ(c.typeName, expected[i].type);
        EXPECT_EQ(c.label, expected[i].label);
        EXPECT_EQ(c.x, expected[i].x);
        EXPECT_EQ(c.y, expected[i].y);
    }
}

TEST_F(PanelTest, ChoicesListAndWiring) {
    EXPECT_EQ(originChoice().entries, (std::vector<std::string>{"Custom", "Average"}));
    EXPECT_EQ(methodChoice().entries, (std::vector<std::string>{"Keep", "Rotate"}));

    const ControlDesc &list = itemList().desc;
    EXPECT_EQ(list.kind, CONTROL_KIND_LIST);
    EXPECT_EQ(list.word1, reinterpret_cast<intptr_t>(&host::Host::getGlobal));
    EXPECT_EQ(list.word2, 5);
    EXPECT_EQ(list.word3 | list.word4 | list.word5, 0);

    const auto instance = reinterpret_cast<intptr_t>(tool->slot().instance);
    for (const host::Control &c : panel().controls) {
        SCOPED_TRACE(c.typeName + " \"" + c.label + "\"");
        const bool heading = c.typeName == "TextControl";
        EXPECT_EQ(c.eventHandler != 0, !heading);
        EXPECT_EQ(c.userData, heading ? 0 : instance);
    }
}

TEST_F(PanelTest, ApplyRotatesByTheTypedAngles) {
    struct Case {
        const char *name;
        double h, p, b;
        bool rotateMethod;
        host::Vec3 position;
        Keys expected;
    };
    const host::Vec3 r{0.1, 0.2, 0.3};
    const double k = degreesToRadians;
    const double c10 = std::cos(10 * k), s10 = std::sin(10 * k);
    const double c30 = std::cos(30 * k), s30 = std::sin(30 * k);
    const double c45 = std::cos(45 * k), s45 = std::sin(45 * k);
    const Case cases[] = {
        {"H 90", 90, 0, 0, false, {1, 0, 0}, {std::cos(90 * k), none, -1, none, none, none}},
        {"B 10 under Rotate", 0, 0, 10, true, {1, 2, 0}, {c10 - 2 * s10, s10 + 2 * c10, none, none, none, 0.3 + 10 * k}},
        // Y from the turn about X, X and Z from the turn about Y, both from the snapshot.
        {"P 30 and H 45 under Rotate", 45, 30, 0, true, {1, 2, 3},
         {c45 + 3 * s45, 2 * c30 - 3 * s30, -s45 + 3 * c45, 0.1 + 45 * k, 0.2 + 30 * k, none}},
        {"all zero", 0, 0, 0, true, {1, 2, 3}, {none, none, none, none, none, none}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        activate();
        if (c.rotateMethod) chooseRotate();
        host::Item &item = only(c.position, r);
        apply(c.h, c.p, c.b);
        expectKeys(item, c.expected);
    }
}

TEST_F(PanelTest, TypedAnglesAreSinglePrecision) {
    chooseRotate();
    host::Item &item = only({0, 0, 0});
    apply(0.1, 0, 0);
    ASSERT_TRUE(key(item, H));
    EXPECT_EQ(*key(item, H), 0.10000000149011612 * degreesToRadians);
}

TEST_F(PanelTest, ApplyTwiceRotatesTwice) {
    host::Item &item = only({1, 0, 0});
    apply(90, 0, 0);
    host.press(applyButton());
    expectKeys(item, {-1, none, 0, none, none, none});
}

TEST_F(PanelTest, ApplyUnderAverageTurnsAboutTheCentre) {
    chooseAverage();
    host::Item &left = add("left", {0, 0, 0});
    host::Item &right = add("right", {2, 0, 0});
    host.scene.select({&left, &right});
    typeOrigin({9, 9, 9});
    apply(180, 0, 0);
    expectKeys(left, {2, none, 0, none, none, none});
    expectKeys(right, {0, none, 0, none, none, none});
    EXPECT_EQ(originFields(), (host::Vec3{1, 0, 0}));
}

TEST_F(PanelTest, AnglesOutliveTheActivationAndTheOriginDoesNot) {
    chooseRotate();
    typeOrigin({1, 2, 3});
    apply(30, 20, 10); // nothing selected: keys nothing, keeps the values
    EXPECT_EQ(methodChoice().integer, 1) << "Apply keeps the Method";

    activate();
    EXPECT_EQ(angleField(0).number, 30);
    EXPECT_EQ(angleField(1).number, 20);
    EXPECT_EQ(angleField(2).number, 10);
    EXPECT_EQ(originFields(), (host::Vec3{0, 0, 0}));

    tool.reset();
    module.reset(); // unloading the module forgets the angles
    std::string error;
    module = host::Module::open(TAMSERY_MODULE, error);
    ASSERT_TRUE(module) << error;
    activate();
    EXPECT_EQ(angleField(0).number, 0);
    EXPECT_EQ(angleField(2).number, 0);
}

TEST_F(PanelTest, PickingAnItemMovesTheOriginToIt) {
    struct Case {
        const char *name;
        bool average;
        Keys afterDrag; // of the selected item, turned 90 degrees about Z
    };
    const Case cases[] = {
        {"Custom: the item is the pivot", false, {7, 2, none, none, none, none}},
        {"Average: the centre is the pivot", true, {1, 0, none, none, none, none}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        activate();
        if (c.average) chooseAverage();
        host::Item &selected = only({1, 0, 0});
        host::Item &picked = add("picked" + std::to_string(c.average), {3, 4, 5});

        host.pick(itemList(), &picked);
        EXPECT_EQ(originFields(), (host::Vec3{3, 4, 5}));
        expectKeys(selected, {none, none, none, none, none, none});

        rotate(3, 90, modifierBit);
        expectKeys(selected, c.afterDrag);
    }
}

TEST_F(PanelTest, AListEventWithoutAnItemChangesNothing) {
    chooseAverage();
    only({1, 0, 0});
    host.typeNumber(originField(0), 7);
    host.pick(itemList(), nullptr);
    EXPECT_EQ(originFields(), (host::Vec3{7, 0, 0})) << "no snapshot, no move";
}

TEST_F(PanelTest, AChoiceIndexTheChoiceLacksKeepsTheChoice) {
    chooseRotate();
    methodChoice().integer = 5;
    host.fire(methodChoice());
    EXPECT_EQ(methodChoice().integer, 1);
    host::Item &item = only({1, 0, 0});
    rotate(2, 90, modifierBit);
    EXPECT_TRUE(key(item, H)) << "still Rotate";
}

TEST_F(PanelTest, EachDragButtonNudgesItsOwnField) {
    const char *const fields[6] = {" H", " P", " B", " X", " Y", " Z"};
    for (int button = 0; button < 6; ++button) {
        SCOPED_TRACE(fields[button]);
        activate();
        std::vector<double> before;
        for (const char *label : fields) before.push_back(control(label).number);
        host::Control &nudge = control("", button);
        host.dragTo(nudge, 10); // the first event only records the position
        host.dragTo(nudge, 20);
        for (int f = 0; f < 6; ++f)
            EXPECT_EQ(control(fields[f]).number, f == button ? double(0.001f) : before[f]) << fields[f];
    }
    activate();
    EXPECT_EQ(angleField(0).number, double(0.001f)) << "a nudged angle is kept";
    EXPECT_EQ(originField(0).number, 0.0) << "a nudged origin is not";
}

// Works every control the panel has, as a user would.
void workEveryControl(host::Host &host, host::Panel &panel) {
    for (host::Control &c : panel.controls) {
        if (c.typeName == "FloatControl") host.typeNumber(c, 30);
        if (c.typeName == "ChoiceControl") host.choose(c, 1);
        if (c.typeName == "DragButtonControl") host.dragTo(c, 5), host.dragTo(c, 9);
        if (c.typeName == "LWListControl") host.pick(c, host.listItems().at(0));
        if (c.typeName == "ButtonControl") host.press(c);
    }
}

TEST_F(PanelTest, AControlTheHostFailsToAddCostsOnlyThatControl) {
    for (int failing = 0; failing < 18; ++failing) {
        SCOPED_TRACE(failing);
        host.faults.addControlFailsAt = failing;
        activate();
        EXPECT_EQ(panel().controls.size(), 17u);
        host::Item &item = only({1, 2, 3});
        rotate(3, 90, modifierBit);
        EXPECT_TRUE(key(item, X));
        workEveryControl(host, panel());
        for (int c = 0; c < 6; ++c)
            if (auto k = key(item, c)) {
                EXPECT_TRUE(std::isfinite(*k)) << channelNames[c];
            }
    }
}

TEST_F(PanelTest, AMissingServiceMakesTheToolDoLess) {
    for (const char *service : {PANEL_SERVICE_NAME, VIEWPORT_SERVICE_NAME, INTERFACE_SERVICE_NAME, ITEM_SERVICE_NAME,
                                TIME_SERVICE_NAME, CHANNEL_SERVICE_NAME, ENVELOPE_SERVICE_NAME}) {
        SCOPED_TRACE(service);
        tool.reset();
        host.faults.missingServices = {service};
        tool = std::make_unique<host::Tool>(host, *module);
        const bool noPanel = std::strcmp(service, PANEL_SERVICE_NAME) == 0;
        ASSERT_EQ(tool->result(), noPanel ? 2 : 0);
        if (noPanel) continue;

        host::Item &item = only({1, 0, 0});
        tool->down(host.eventAt(front, {0, 0, 0})); // on the cross, if it can be seen
        tool->move(host.eventAt(front, {1, 1, 0}, 90, 0, modifierBit));
        tool->up(host.eventAt(front, {1, 1, 0}, 90, 0, modifierBit));
        const bool canKey = std::strcmp(service, VIEWPORT_SERVICE_NAME) == 0; // the cross is just not seen
        EXPECT_EQ(key(item, Y).has_value(), canKey);
        tool->draw(front);
        workEveryControl(host, panel());
    }
    host.faults.missingServices.clear();
}

TEST_F(PanelTest, NoPanelFailsTheActivation) {
    tool.reset();
    host.faults.createPanelFails = true;
    host::Tool failed(host, *module);
    EXPECT_EQ(failed.result(), 2);
}

} // namespace
} // namespace tamsery_test
