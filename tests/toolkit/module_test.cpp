// The descriptor, the activation and the common callbacks.
#include "harness.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

TEST(Descriptor, WordsAndServerListAsTheHostReadsThem) {
    EXPECT_EQ(_mod_descrip.sync, 0x04121994u);
    EXPECT_EQ(_mod_descrip.version, 3u);
    EXPECT_EQ(_mod_descrip.machine, 0x300u);
    EXPECT_EQ(_mod_descrip.startup(), reinterpret_cast<void *>(4));
    _mod_descrip.shutdown(nullptr);

    const ServerRecord *server = _mod_descrip.servers;
    EXPECT_STREQ(server[0].className, "LayoutTool");
    EXPECT_STREQ(server[0].name, "Fixture_Tool");
    EXPECT_NE(server[0].activate, nullptr);
    EXPECT_EQ(server[0].tags, nullptr);
    // The list ends at an all-zero record right after the one server.
    EXPECT_EQ(server[1].className, nullptr);
    EXPECT_EQ(server[1].name, nullptr);
    EXPECT_EQ(server[1].activate, nullptr);
    EXPECT_EQ(server[1].tags, nullptr);
}

TEST(Activation, SucceedsFillingTwelveSlotsAndLeavingPanel) {
    Activation a;
    void *(*hostPanel)(void *) = [](void *) -> void * { return nullptr; };
    a.callbacks.panel = hostPanel;
    ASSERT_EQ(a.activate(), 0);
    ASSERT_NE(a.slot.instance, nullptr);
    const ToolCallbacks &c = a.callbacks;
    for (auto slot : {(void *)c.done, (void *)c.draw, (void *)c.help, (void *)c.dirty, (void *)c.count,
                      (void *)c.handle, (void *)c.start, (void *)c.adjust, (void *)c.down, (void *)c.move,
                      (void *)c.up, (void *)c.event})
        EXPECT_NE(slot, nullptr);
    EXPECT_EQ(c.panel, hostPanel);

    host::Panel &panel = a.panel();
    EXPECT_TRUE(panel.open);
    EXPECT_NE(panel.closeCallback, nullptr);
    EXPECT_EQ(a.tool().panelId, static_cast<PanelId>(&panel));
    // The panel services learn the host's accessor.
    auto *panels = static_cast<PanelService *>(host::Host::getGlobal(PANEL_SERVICE_NAME, 0));
    EXPECT_EQ(panels->panelGlobal, &host::Host::getGlobal);
    // A new instance starts with no axis and the handle not grabbed.
    EXPECT_EQ(a.tool().axis, 0);
    EXPECT_EQ(a.tool().onHandle, 0);
}

TEST(Activation, NoInstanceGivesOneAndTouchesNothing) {
    Activation a;
    fixture::failAllocation = true;
    EXPECT_EQ(a.activate(), 1);
    fixture::failAllocation = false;
    EXPECT_EQ(a.slot.instance, nullptr);
    EXPECT_EQ(a.callbacks.done, nullptr);
    EXPECT_TRUE(a.host.panels.empty());
}

TEST(Activation, NoPanelGivesTwoFreesTheInstanceAndFillsNoSlot) {
    Activation a;
    a.host.faults.createPanelFails = true;
    EXPECT_EQ(a.activate(), 2);
    EXPECT_EQ(a.slot.instance, nullptr); // nothing left for a done that never comes
    ToolCallbacks untouched{};
    EXPECT_EQ(std::memcmp(&a.callbacks, &untouched, sizeof untouched), 0);
}

TEST(Activation, MissingPanelServiceFailsTheActivationCleanly) {
    Activation a;
    a.host.faults.missingServices = {PANEL_SERVICE_NAME};
    EXPECT_EQ(a.activate(), 2);
    EXPECT_EQ(a.slot.instance, nullptr);
}

TEST(Activation, LaterActivationsKeepThePanelValues) {
    {
        Activation first(true);
        ASSERT_EQ(first.result, 0);
        fixture::value = 7.5f; // as a nudge would leave it
    }
    Activation second(true);
    EXPECT_EQ(fixture::value, 7.5f);
    EXPECT_DOUBLE_EQ(second.panel().find(" V")->number, 7.5);
}

TEST(CommonCallbacks, AnswerAsDocumented) {
    Activation a(true);
    ASSERT_EQ(a.result, 0);
    void *inst = a.slot.instance;
    ToolCallbacks &c = a.callbacks;
    EXPECT_STREQ(c.help(inst, nullptr), "Fixture");
    EXPECT_EQ(c.dirty(inst), 3); // the panel build marked it and nothing clears it
    EXPECT_EQ(c.count(inst, nullptr), 0);
    EXPECT_EQ(c.handle(inst, nullptr, 4, nullptr), 5);
    EXPECT_EQ(c.handle(inst, nullptr, INT_MIN, nullptr), INT_MIN + 1);
    EXPECT_EQ(c.handle(inst, nullptr, INT_MAX, nullptr), INT_MAX); // no overflow past the largest index

    a.tool().dirty = 0;
    EXPECT_EQ(c.dirty(inst), 0);
    c.event(inst, 2);
    EXPECT_EQ(a.tool().dirty, 0);
    c.event(inst, 1);
    EXPECT_EQ(a.tool().dirty, 1);
    a.tool().dirty = 0;
    EXPECT_EQ(c.adjust(inst, nullptr, 0), 0);
    EXPECT_EQ(a.tool().dirty, 1);
}

struct AxisCase {
    double x, y, z;
    int startAxis; // axis after start, from a previous axis of 2
    int downAxis;  // axis after down
};

class AxisRule : public ::testing::TestWithParam<AxisCase> {};

TEST_P(AxisRule, DominantComponentPicksTheAxis) {
    const AxisCase &c = GetParam();
    Activation a(true);
    ToolEvent event{};
    event.eventAxis[0] = c.x;
    event.eventAxis[1] = c.y;
    event.eventAxis[2] = c.z;

    a.tool().axis = 2;
    const int capturesBefore = fixture::captures;
    EXPECT_EQ(a.callbacks.start(a.slot.instance, &event), 1);
    EXPECT_EQ(a.tool().axis, c.startAxis);
    EXPECT_EQ(fixture::captures, capturesBefore + 1); // start always captures

    a.tool().axis = 2;
    EXPECT_EQ(a.callbacks.down(a.slot.instance, &event), 1);
    EXPECT_EQ(a.tool().axis, c.downAxis);
    EXPECT_EQ(a.tool().onHandle, 0);
    EXPECT_EQ(fixture::captures, capturesBefore + 2); // no handle: down captures
}

INSTANTIATE_TEST_SUITE_P(Cases, AxisRule,
                         ::testing::Values(AxisCase{0.2, -0.9, 0.1, -2, -2}, AxisCase{0, 0, 5, 3, 3},
                                           AxisCase{-3, 1, 1, -1, -1}, AxisCase{1, 0, 0, 1, 1},
                                           // A tie for the largest, or nothing: start keeps the
                                           // axis, down falls back to X.
                                           AxisCase{1, -1, 0.5, 2, 1}, AxisCase{0, 0, 0, 2, 1},
                                           AxisCase{0, 2, -2, 2, 1}));

TEST(Done, AfterTheUserClosedThePanelStillDestroysIt) {
    Activation a(true);
    host::Panel &panel = a.panel();
    a.host.closePanel(panel);
    EXPECT_FALSE(panel.open);
    // Closing the panel does not end the tool: its callbacks keep working.
    ToolEvent event{};
    EXPECT_EQ(a.callbacks.start(a.slot.instance, &event), 1);
    a.callbacks.done(a.slot.instance);
    a.slot.instance = nullptr;
    EXPECT_TRUE(panel.destroyed);
}

TEST(Done, WithAnOpenPanelClosesAndDestroysIt) {
    Activation a(true);
    host::Panel &panel = a.panel();
    a.callbacks.done(a.slot.instance);
    a.slot.instance = nullptr;
    EXPECT_FALSE(panel.open);
    EXPECT_TRUE(panel.destroyed);
}

TEST(Done, WithoutAnInstanceDoesNothing) {
    Activation a(true);
    a.callbacks.done(nullptr);
    EXPECT_TRUE(a.panel().open);
}
