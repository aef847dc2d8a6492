// panel_test.cpp: the module's identity, its panel's controls and layout,
// the drag buttons and read-outs, and activations the host cannot fully serve.
#include "vestral_fixture.h"

#include <iterator>
#include <string>

namespace vestral_test {
namespace {

using PanelTest = VestralTest;

TEST_F(PanelTest, TheModuleNamesItsToolAndPanel) {
    EXPECT_STREQ(module->server().className, "LayoutTool");
    EXPECT_STREQ(module->server().name, "Kelzu_Vestral++");
    EXPECT_STREQ(tool->help(), "Vestral++");
    EXPECT_EQ(tool->dirty(), 3);
    EXPECT_EQ(panel().title, "Kelzu Vestral++");
    EXPECT_TRUE(panel().open);
    EXPECT_EQ(panel().width, 200);
    EXPECT_EQ(panel().height, 120);
}

// The ten controls in creation order, as the module described them.
TEST_F(PanelTest, ControlsAreCreatedInOrder) {
    struct Expected {
        const char *typeName;
        const char *label;
        int kind;
        intptr_t word1, word2;
    };
    const Expected expected[] = {
        {"FloatControl", " H", 3, 0, 0},       {"FloatControl", " P", 3, 0, 0},
        {"FloatControl", " B", 3, 0, 0},       {"DragButtonControl", "", 19, -1, 0},
        {"DragButtonControl", "", 19, -1, 0},  {"DragButtonControl", "", 19, -1, 0},
        {"ButtonControl", "Apply", 2, 0, 0},   {"InfoControl", "H", 1, 10, 0},
        {"InfoControl", "P", 1, 10, 0},        {"InfoControl", "B", 1, 10, 0},
    };
    ASSERT_EQ(panel().controls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const host::Control &c = *panel().at(i);
        SCOPED_TRACE(testing::Message() << "control " << i << " \"" << c.label << '"');
        EXPECT_EQ(c.typeName, expected[i].typeName);
        EXPECT_EQ(c.label, expected[i].label);
        EXPECT_EQ(c.desc.kind, expected[i].kind);
        // Float fields and the button set no words; a read-out sets only word 1.
        if (expected[i].kind == 1 || expected[i].kind == 19) {
            EXPECT_EQ(c.desc.word1, expected[i].word1);
        }
        if (expected[i].kind == 19) {
            EXPECT_EQ(c.desc.word2, expected[i].word2);
        }
    }
}

// Three rows, one per channel, each under the one before and Apply under
// the last: field, its drag button after the field's width, and the
// read-out at four drag-button widths.
TEST_F(PanelTest, ControlsSitInTheirRows) {
    const host::Control &apply = control("Apply");
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(infoLabels[k]);
        const host::Control &f = field(k);
        const host::Control &n = nudge(k);
        const host::Control &i = control(infoLabels[k]);
        EXPECT_EQ(n.x, f.width);
        EXPECT_EQ(n.y, f.y);
        EXPECT_EQ(i.x, 4 * n.width);
        EXPECT_EQ(i.y, f.y);
        const host::Control &below = k < 2 ? field(k + 1) : apply;
        EXPECT_EQ(below.y, k == 0 ? f.height : f.y + f.height);
    }
}

// Every control carries the instance; the float fields, the drag buttons
// with the read-outs, and Apply each share one handler.
TEST_F(PanelTest, EveryControlIsWiredToTheInstance) {
    const intptr_t instance = reinterpret_cast<intptr_t>(tool->slot().instance);
    for (const host::Control &c : panel().controls) {
        EXPECT_EQ(c.userData, instance) << c.label;
        EXPECT_NE(c.eventHandler, 0) << c.label;
    }
    const intptr_t fieldHandler = field(0).eventHandler;
    const intptr_t nudgeHandler = nudge(0).eventHandler;
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(field(k).eventHandler, fieldHandler);
        EXPECT_EQ(nudge(k).eventHandler, nudgeHandler);
        EXPECT_EQ(control(infoLabels[k]).eventHandler, nudgeHandler);
    }
    EXPECT_NE(fieldHandler, nudgeHandler);
    EXPECT_NE(control("Apply").eventHandler, fieldHandler);
    EXPECT_NE(control("Apply").eventHandler, nudgeHandler);
}

// Each drag button nudges the field beside it and no other, and Apply uses
// the nudged value.
TEST_F(PanelTest, EachDragButtonNudgesItsOwnField) {
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(fieldLabels[k]);
        host::Item &item = addItem("a");
        host.scene.select({&item});
        for (int j = 0; j < 3; ++j) host.typeNumber(field(j), 2.0);
        host.dragTo(nudge(k), 5);  // the first event only records the button
        host.dragTo(nudge(k), 10); // a larger position raises by one percent
        for (int j = 0; j < 3; ++j) EXPECT_EQ(field(j).number, j == k ? double(2.02f) : 2.0) << fieldLabels[j];
        host.typeNumber(field((k + 1) % 3), 0);
        host.typeNumber(field((k + 2) % 3), 0);
        host.press(control("Apply"));
        EXPECT_DOUBLE_EQ(keys(item, k).at(0).value, double(2.02f) * degreesToRadians);
    }
}

// The read-outs reach the drag buttons' handler but are paired with no
// field: their events change no value, no text and no key.
TEST_F(PanelTest, AReadOutEventChangesNothing) {
    host::Item &item = addItem("a");
    host.scene.select({&item});
    for (int k = 0; k < 3; ++k) host.typeNumber(field(k), 4.0 + k);
    drag(topView, 25);
    const double keyed = keys(item, 0).at(0).value;
    for (int k = 0; k < 3; ++k) {
        host::Control &readOut = control(infoLabels[k]);
        host.fire(readOut);
        host.fire(readOut); // a second event would be the one to nudge
    }
    for (int k = 0; k < 3; ++k) EXPECT_EQ(field(k).number, 4.0 + k);
    EXPECT_EQ(info(0), "2.500000");
    ASSERT_EQ(keys(item, 0).size(), 1u);
    EXPECT_EQ(keys(item, 0)[0].value, keyed);
    EXPECT_TRUE(keys(item, 1).empty());
}

// A host that lacks a service, or fails to build part of the panel: the
// tool does what it still can and never crashes.
TEST(VestralHostFaults, MissingServicesMakeTheToolDoLess) {
    struct Case {
        const char *service;
        int activation;
        bool keys; // a drag still keys
    };
    const Case cases[] = {
        {"LWPanelServices", 2, false},     {"LW Viewport Info 3", 0, true}, {"LW Interface Info 5", 0, false},
        {"LW Item Info 4", 0, false},      {"LW Time Info", 0, false},      {"Channel Info 2", 0, false},
        {"Animation Envelopes", 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.service);
        host::Host host;
        std::string error;
        auto module = host::Module::open(VESTRAL_MODULE, error);
        ASSERT_TRUE(module) << error;
        host.faults.missingServices = {c.service};
        host::Item &item = host.scene.addItem("a");
        host.scene.select({&item});
        host::Tool tool(host, *module);
        ASSERT_EQ(tool.result(), c.activation);
        if (c.activation != 0) continue;
        tool.down(host.eventAt(topView, {}));
        tool.move(host.eventAt(topView, {}, 10));
        tool.up(host.eventAt(topView, {}, 10));
        EXPECT_EQ(item.channel("Rotation.H")->envelope.keys().size(), c.keys ? 1u : 0u);
        host::Panel &panel = *host.currentPanel();
        host.typeNumber(*panel.find(" P"), 5);
        host.press(*panel.find("Apply"));
        EXPECT_EQ(item.channel("Rotation.P")->envelope.keys().size(), c.keys ? 1u : 0u);
    }
}

TEST(VestralHostFaults, APanelTheHostCannotCreateFailsTheActivation) {
    host::Host host;
    std::string error;
    auto module = host::Module::open(VESTRAL_MODULE, error);
    ASSERT_TRUE(module) << error;
    host.faults.createPanelFails = true;
    host::Tool tool(host, *module);
    EXPECT_EQ(tool.result(), 2);
}

// Whichever control the host fails to add, the others still work: the drag
// keys, and Apply (when it exists) keys the channels whose field exists.
TEST(VestralHostFaults, AControlTheHostCannotAddLeavesTheRestWorking) {
    for (int missing = 0; missing < 10; ++missing) {
        SCOPED_TRACE(testing::Message() << "control " << missing << " missing");
        host::Host host;
        std::string error;
        auto module = host::Module::open(VESTRAL_MODULE, error);
        ASSERT_TRUE(module) << error;
        host.faults.addControlFailsAt = missing;
        host::Item &item = host.scene.addItem("a");
        host.scene.select({&item});
        host::Tool tool(host, *module);
        ASSERT_EQ(tool.result(), 0);

        tool.down(host.eventAt(frontView, {}));
        tool.move(host.eventAt(frontView, {}, 10));
        EXPECT_EQ(item.channel("Rotation.B")->envelope.keys().size(), 1u);

        host::Panel &panel = *host.currentPanel();
        for (const char *label : {" H", " P"})
            if (host::Control *f = panel.find(label)) host.typeNumber(*f, 1);
        host::Control *apply = panel.find("Apply");
        if (!apply) continue;
        host.press(*apply);
        const bool headingField = panel.find(" H") != nullptr;
        const bool pitchField = panel.find(" P") != nullptr;
        EXPECT_EQ(item.channel("Rotation.H")->envelope.keys().size(), headingField ? 1u : 0u);
        EXPECT_EQ(item.channel("Rotation.P")->envelope.keys().size(), pitchField ? 1u : 0u);
    }
}

} // namespace
} // namespace vestral_test
