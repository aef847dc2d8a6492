// Panels: the panel service as a module calls it, and the user working the
// controls.
#include "host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

using namespace host;

namespace {

class Panels : public ::testing::Test {
protected:
    Host h;
    PanelService &ps = *static_cast<PanelService *>(Host::getGlobal(PANEL_SERVICE_NAME, 0));

    ControlId add(PanelId panel, const char *type, const char *label, ControlDesc desc = {}) {
        return ps.addControl(panel, type, &desc, label);
    }
    intptr_t getInt(ControlId c, int code) {
        ControlValue v{};
        v.integer.kind = VALUE_KIND_INTEGER;
        ps.getControl(c, code, &v);
        return v.integer.value;
    }
    void setInt(ControlId c, int code, intptr_t value) {
        ControlValue v{};
        v.integer.kind = VALUE_KIND_INTEGER;
        v.integer.value = value;
        ps.setControl(c, code, &v);
    }
};

TEST_F(Panels, NewControlsStackWithTheirTypesDefaultSizes) {
    PanelId p = ps.createPanel("Tool", nullptr);
    ASSERT_NE(p, nullptr);
    const char *types[] = {"ChoiceControl", "TextControl", "FloatControl", "DragButtonControl",
                           "ButtonControl", "InfoControl", "LWListControl"};
    int expectedY = 10;
    for (const char *type : types) {
        ControlId c = add(p, type, type);
        ASSERT_NE(c, nullptr) << type;
        const auto size = defaultControlSize(type);
        ASSERT_TRUE(size) << type;
        EXPECT_EQ(getInt(c, CONTROL_POS_X), 10) << type;
        EXPECT_EQ(getInt(c, CONTROL_POS_Y), expectedY) << type;
        EXPECT_EQ(getInt(c, CONTROL_WIDTH), size->first) << type;
        EXPECT_EQ(getInt(c, CONTROL_HEIGHT), size->second) << type;
        expectedY += size->second + 4;
    }
    // The next control goes below where the last one is now.
    Panel &panel = *static_cast<Panel *>(p);
    setInt(&panel.controls.back(), CONTROL_POS_Y, 500);
    EXPECT_EQ(getInt(add(p, "ButtonControl", "Below"), CONTROL_POS_Y), 500 + 60 + 4);

    EXPECT_EQ(add(p, "SliderControl", "Unknown type"), nullptr);
    EXPECT_EQ(panel.controls.size(), std::size(types) + 1);
    EXPECT_EQ(panel.title, "Tool");
}

TEST_F(Panels, ChoiceEntriesAndTextLinesAreCopied) {
    PanelId p = ps.createPanel("Tool", nullptr);
    char first[] = "Custom";
    const char *entries[] = {first, "Center of Objs", nullptr};
    ControlDesc choice{CONTROL_KIND_CHOICE, reinterpret_cast<intptr_t>(entries), 0, 0, 0, 0};
    auto *c = static_cast<Control *>(ps.addControl(p, "ChoiceControl", &choice, "Origin"));
    first[0] = 'X'; // the module's list may change or go away afterwards
    EXPECT_EQ(c->entries, (std::vector<std::string>{"Custom", "Center of Objs"}));
    EXPECT_EQ(c->desc.kind, CONTROL_KIND_CHOICE);
    EXPECT_EQ(c->label, "Origin");

    const char *noLines[] = {nullptr};
    ControlDesc text{CONTROL_KIND_TEXT, reinterpret_cast<intptr_t>(noLines), 0, 0, 0, 0};
    auto *t = static_cast<Control *>(ps.addControl(p, "TextControl", &text, "Scale"));
    EXPECT_TRUE(t->entries.empty());
}

TEST_F(Panels, ControlAttributesRoundTrip) {
    PanelId p = ps.createPanel("Tool", nullptr);
    ControlId c = add(p, "FloatControl", " X");
    for (int code : {CONTROL_POS_X, CONTROL_POS_Y, CONTROL_WIDTH, CONTROL_HEIGHT}) {
        setInt(c, code, 100 + code);
        EXPECT_EQ(getInt(c, code), 100 + code) << code;
    }
    int marker = 0;
    setInt(c, CONTROL_USER_DATA, reinterpret_cast<intptr_t>(&marker));
    EXPECT_EQ(getInt(c, CONTROL_USER_DATA), reinterpret_cast<intptr_t>(&marker));

    // The value keeps one variant per kind, each read back in the caller's kind.
    setInt(c, CONTROL_VALUE, 42);
    ControlValue number{};
    number.number.kind = VALUE_KIND_NUMBER;
    number.number.value = -1.25;
    ps.setControl(c, CONTROL_VALUE, &number);
    number.number.value = 0;
    ps.getControl(c, CONTROL_VALUE, &number);
    EXPECT_EQ(number.number.value, -1.25);
    EXPECT_EQ(getInt(c, CONTROL_VALUE), 42);
    EXPECT_EQ(static_cast<Control *>(c)->number, -1.25);
    EXPECT_EQ(h.counters.rejectedCalls, 0u);
}

TEST_F(Panels, TextValuesNeverPassTheBuffersTheyAreGiven) {
    PanelId p = ps.createPanel("Tool", nullptr);
    auto *info = static_cast<Control *>(add(p, "InfoControl", "H"));
    auto setText = [&](const char *buffer, int length) {
        ControlValue v{};
        v.text.kind = VALUE_KIND_TEXT;
        v.text.buffer = const_cast<char *>(buffer);
        v.text.length = length;
        ps.setControl(info, CONTROL_VALUE, &v);
    };
    auto getText = [&](int length) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        ControlValue v{};
        v.text.kind = VALUE_KIND_TEXT;
        v.text.buffer = buffer;
        v.text.length = length;
        ps.getControl(info, CONTROL_VALUE, &v);
        for (std::size_t i = static_cast<std::size_t>(length); i < sizeof buffer; ++i)
            EXPECT_EQ(buffer[i], '#') << "written past a buffer of " << length << " at " << i;
        return std::string(buffer, strnlen(buffer, static_cast<std::size_t>(length)));
    };

    setText("2.500000", 10);
    EXPECT_EQ(info->text, "2.500000");
    EXPECT_EQ(getText(10), "2.500000");
    EXPECT_EQ(getText(4), "2.5");
    EXPECT_EQ(getText(1), "");

    // A buffer without a zero within `length` is taken up to `length` bytes.
    const char unended[4] = {'1', '2', '3', '4'};
    setText(unended, 4);
    EXPECT_EQ(info->text, "1234");
    setText("100.000000", 3);
    EXPECT_EQ(info->text, "100");
    setText("ignored", 0);
    EXPECT_EQ(info->text, "");
}

TEST_F(Panels, HandlePanelAnswersWhetherThePanelIsOpen) {
    PanelId p = ps.createPanel("Tool", nullptr);
    ControlId c = add(p, "FloatControl", " X");
    EXPECT_LT(ps.handlePanel(p, 0), 0); // created, not yet open
    EXPECT_NE(ps.openPanel(p, 0), 0);
    EXPECT_EQ(ps.handlePanel(p, 0), 0);
    ps.closePanel(p);
    EXPECT_LT(ps.handlePanel(p, 0), 0);
    EXPECT_NE(ps.openPanel(p, 0), 0);
    EXPECT_EQ(ps.handlePanel(p, 0), 0);
    ps.destroyPanel(p);
    EXPECT_LT(ps.handlePanel(p, 0), 0);
    EXPECT_EQ(ps.openPanel(p, 0), 0); // a destroyed panel stays shut
    EXPECT_LT(ps.handlePanel(p, 0), 0);

    // Its controls can still be read; nothing can be added.
    EXPECT_EQ(getInt(c, CONTROL_POS_X), 10);
    EXPECT_EQ(add(p, "FloatControl", " Y"), nullptr);
    const Panel &panel = *static_cast<Panel *>(p);
    EXPECT_TRUE(panel.destroyed);
    EXPECT_EQ(panel.openCalls, 3);
    EXPECT_EQ(panel.closeCalls, 1);
    EXPECT_EQ(panel.destroyCalls, 1);
}

TEST_F(Panels, UnknownHandlesAreRefusedWithoutHarm) {
    int notAPanel = 0;
    EXPECT_LT(ps.handlePanel(nullptr, 0), 0);
    EXPECT_LT(ps.handlePanel(&notAPanel, 0), 0);
    ps.closePanel(&notAPanel);
    ps.destroyPanel(nullptr);
    EXPECT_EQ(add(&notAPanel, "FloatControl", " X"), nullptr);
    EXPECT_EQ(notAPanel, 0);

    ControlValue v{};
    v.integer.kind = VALUE_KIND_INTEGER;
    v.integer.value = 77;
    ps.getControl(&notAPanel, CONTROL_VALUE, &v);
    EXPECT_EQ(v.integer.value, 0);
    ps.setControl(nullptr, CONTROL_VALUE, &v);
    EXPECT_EQ(h.counters.rejectedCalls, 7u);
}

TEST_F(Panels, PanelAttributes) {
    PanelId p = ps.createPanel("Tool", nullptr);
    int width = 277, height = 300;
    ps.setPanelAttribute(p, PANEL_WIDTH, &width);
    ps.setPanelAttribute(p, PANEL_HEIGHT, &height);
    static PanelId closedPanel;
    static void *closedData;
    static int handleAnswerInCallback;
    PanelCloseFunc onClose = [](PanelId panel, void *userData) {
        closedPanel = panel;
        closedData = userData;
        auto &service = *static_cast<PanelService *>(Host::getGlobal(PANEL_SERVICE_NAME, 0));
        handleAnswerInCallback = service.handlePanel(panel, 0);
    };
    ps.setPanelAttribute(p, PANEL_CLOSE_CALLBACK, reinterpret_cast<void *>(onClose));

    Panel &panel = *static_cast<Panel *>(p);
    EXPECT_EQ(panel.width, 277);
    EXPECT_EQ(panel.height, 300);
    EXPECT_EQ(panel.closeCallback, onClose);

    // The module's own close does not call the callback; the user's does,
    // while the panel is still open, and then closes it.
    ps.openPanel(p, 0);
    closedData = &width;
    handleAnswerInCallback = -7;
    h.closePanel(panel);
    EXPECT_EQ(closedPanel, p);
    EXPECT_EQ(closedData, nullptr);
    EXPECT_EQ(handleAnswerInCallback, 0);
    EXPECT_FALSE(panel.open);
    EXPECT_THROW(h.closePanel(panel), std::logic_error);

    closedPanel = nullptr;
    ps.openPanel(p, 0);
    ps.closePanel(p);
    EXPECT_EQ(closedPanel, nullptr);
}

// ---- the user ----------------------------------------------------------------

struct HandlerLog {
    ControlId control = nullptr;
    void *userData = nullptr;
    intptr_t integer = 0;
    double number = 0;
    int calls = 0;
};
HandlerLog handlerLog;

void loggingHandler(ControlId control, void *userData) {
    handlerLog.control = control;
    handlerLog.userData = userData;
    handlerLog.integer = static_cast<Control *>(control)->integer;
    handlerLog.number = static_cast<Control *>(control)->number;
    ++handlerLog.calls;
}

class UserWorksPanel : public Panels {
protected:
    void SetUp() override {
        handlerLog = {};
        panelId = ps.createPanel("Tool", nullptr);
        ps.openPanel(panelId, 0);
        const char *entries[] = {"Keep", "Rotate", nullptr};
        choice = wired(add(panelId, "ChoiceControl", "Method",
                           {CONTROL_KIND_CHOICE, reinterpret_cast<intptr_t>(entries), 0, 0, 0, 0}));
        field = wired(add(panelId, "FloatControl", " H"));
        nudge = wired(add(panelId, "DragButtonControl", "", {CONTROL_KIND_DRAG_BUTTON, -1, 0, 0, 0, 0}));
        button = wired(add(panelId, "ButtonControl", "Apply"));
        list = wired(add(panelId, "LWListControl", "",
                         {CONTROL_KIND_LIST, reinterpret_cast<intptr_t>(&Host::getGlobal), 5, 0, 0, 0}));
    }
    Control *wired(ControlId c) {
        setInt(c, CONTROL_USER_DATA, reinterpret_cast<intptr_t>(&instance));
        setInt(c, CONTROL_EVENT_HANDLER, reinterpret_cast<intptr_t>(&loggingHandler));
        return static_cast<Control *>(c);
    }
    int instance = 0;
    PanelId panelId = nullptr;
    Control *choice = nullptr, *field = nullptr, *nudge = nullptr, *button = nullptr, *list = nullptr;
};

TEST_F(UserWorksPanel, EachActionSetsTheValueThenCallsTheHandler) {
    Item &cube = h.scene.addItem("Cube");
    Item &light = h.scene.addItem("Light");
    EXPECT_EQ(h.listItems(), (std::vector<ItemId>{&cube, &light}));

    h.choose(*choice, 1);
    EXPECT_EQ(handlerLog.integer, 1);
    h.typeNumber(*field, 12.5);
    EXPECT_EQ(handlerLog.number, 12.5);
    h.dragTo(*nudge, -3);
    EXPECT_EQ(handlerLog.integer, -3);
    h.pick(*list, &light);
    EXPECT_EQ(handlerLog.integer, reinterpret_cast<intptr_t>(&light));
    EXPECT_EQ(getInt(list, CONTROL_VALUE), reinterpret_cast<intptr_t>(&light));
    h.press(*button);
    EXPECT_EQ(handlerLog.control, button);
    EXPECT_EQ(handlerLog.userData, &instance);
    EXPECT_EQ(handlerLog.calls, 5);

    // A control without a handler takes the value and calls nothing.
    setInt(field, CONTROL_EVENT_HANDLER, 0);
    h.typeNumber(*field, 3.0);
    EXPECT_EQ(field->number, 3.0);
    EXPECT_EQ(handlerLog.calls, 5);
}

TEST_F(UserWorksPanel, WhatThePanelDoesNotOfferDoesNothing) {
    Item stray;
    h.choose(*choice, 1);
    h.choose(*choice, 2);
    h.choose(*choice, -1);
    EXPECT_EQ(choice->integer, 1);
    h.pick(*list, &stray);
    EXPECT_EQ(list->integer, 0);
    EXPECT_EQ(handlerLog.calls, 1);
}

TEST_F(UserWorksPanel, RefusesWhatNoUserCouldDo) {
    EXPECT_THROW(h.typeNumber(*choice, 1.0), std::logic_error); // not a float field
    EXPECT_THROW(h.press(*nudge), std::logic_error);
    EXPECT_EQ(handlerLog.calls, 0);

    h.pick(*list, nullptr); // the list reporting no item
    EXPECT_EQ(handlerLog.integer, 0);

    ps.closePanel(panelId);
    EXPECT_THROW(h.press(*button), std::logic_error);
    EXPECT_THROW(h.dragTo(*nudge, 5), std::logic_error);
    EXPECT_EQ(nudge->integer, 0);
    h.fire(*nudge); // a test can still call the handler directly
    EXPECT_EQ(handlerLog.calls, 2);
}

// ---- faults ------------------------------------------------------------------

TEST_F(Panels, CreatePanelCanBeMadeToFail) {
    h.faults.createPanelFails = true;
    EXPECT_EQ(ps.createPanel("Tool", nullptr), nullptr);
    EXPECT_TRUE(h.panels.empty());
    EXPECT_EQ(h.currentPanel(), nullptr);
    h.faults.createPanelFails = false;
    PanelId p = ps.createPanel("Tool", nullptr);
    EXPECT_NE(p, nullptr);
    EXPECT_EQ(p, h.currentPanel());
}

TEST_F(Panels, AddControlFailsAtTheNthCallOfEachPanel) {
    h.faults.addControlFailsAt = 2;
    for (const char *title : {"First", "Second"}) {
        PanelId p = ps.createPanel(title, nullptr);
        std::vector<bool> made;
        for (const char *label : {"a", "b", "c", "d"})
            made.push_back(add(p, "ButtonControl", label) != nullptr);
        EXPECT_EQ(made, (std::vector<bool>{true, true, false, true})) << title;
        const Panel &panel = *static_cast<Panel *>(p);
        ASSERT_EQ(panel.controls.size(), 3u);
        EXPECT_EQ(panel.controls[2].label, "d");
        EXPECT_EQ(panel.addControlCalls, 4);
    }
    EXPECT_EQ(h.counters.rejectedCalls, 0u); // an injected failure is not the module's fault
}

TEST_F(Panels, FindsControlsByLabelAndOccurrence) {
    PanelId p = ps.createPanel("Tool", nullptr);
    ControlId first = add(p, "FloatControl", " X");
    add(p, "DragButtonControl", "");
    ControlId second = add(p, "FloatControl", " X");
    Panel &panel = *static_cast<Panel *>(p);
    EXPECT_EQ(panel.find(" X"), first);
    EXPECT_EQ(panel.find(" X", 1), second);
    EXPECT_EQ(panel.find(" X", 2), nullptr);
    EXPECT_EQ(panel.find("X"), nullptr);
    EXPECT_EQ(panel.at(1), &panel.controls[1]);
    EXPECT_EQ(panel.at(3), nullptr);
}

} // namespace
