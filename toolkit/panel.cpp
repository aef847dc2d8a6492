// panel.cpp: control access and the two-column panel of the origin tools.
#include "toolkit.h"

namespace {

// The module's shared value records: every control read and write except
// onNudge's passes through one of them.
ControlValue integerValue{VALUE_KIND_INTEGER};
ControlValue numberValue{VALUE_KIND_NUMBER};
ControlValue textValue{VALUE_KIND_TEXT};

PanelService *controls() noexcept {
    PanelService *panels = hostServices.panelService;
    return panels && panels->getControl && panels->setControl ? panels : nullptr;
}

} // namespace

bool panelOpen(const ToolCommon &instance) noexcept {
    const PanelService *panels = hostServices.panelService;
    return instance.panelId && panels && panels->handlePanel && panels->handlePanel(instance.panelId, 0) >= 0;
}

ControlId addControl(PanelId panel, const char *typeName, int kind, const char *label, intptr_t word1,
                     intptr_t word2) noexcept {
    PanelService *panels = hostServices.panelService;
    if (!panel || !panels || !panels->addControl) return nullptr;
    ControlDesc desc{kind, word1, word2, 0, 0, 0};
    return panels->addControl(panel, typeName, &desc, label);
}

intptr_t getInteger(ControlId control, int code) noexcept {
    PanelService *panels = controls();
    if (!control || !panels) return 0;
    integerValue.kind = VALUE_KIND_INTEGER;
    integerValue.integer.value = 0;
    panels->getControl(control, code, &integerValue);
    return integerValue.integer.value;
}

void setInteger(ControlId control, int code, intptr_t value) noexcept {
    PanelService *panels = controls();
    if (!control || !panels) return;
    integerValue.kind = VALUE_KIND_INTEGER;
    integerValue.integer.value = value;
    panels->setControl(control, code, &integerValue);
}

double getNumber(ControlId control) noexcept {
    PanelService *panels = controls();
    if (!control || !panels) return 0.0;
    numberValue.kind = VALUE_KIND_NUMBER;
    numberValue.number.value = 0.0;
    panels->getControl(control, CONTROL_VALUE, &numberValue);
    return numberValue.number.value;
}

void setNumber(ControlId control, double value) noexcept {
    PanelService *panels = controls();
    if (!control || !panels) return;
    numberValue.kind = VALUE_KIND_NUMBER;
    numberValue.number.value = value;
    panels->setControl(control, CONTROL_VALUE, &numberValue);
}

void setText(ControlId control, char *buffer, int length) noexcept {
    PanelService *panels = controls();
    if (!control || !panels) return;
    textValue.kind = VALUE_KIND_TEXT;
    textValue.text.buffer = buffer;
    textValue.text.length = length;
    panels->setControl(control, CONTROL_VALUE, &textValue);
}

void setPosition(ControlId control, intptr_t x, intptr_t y) noexcept {
    setInteger(control, CONTROL_POS_X, x);
    setInteger(control, CONTROL_POS_Y, y);
}

void setPanelSize(PanelId panel, int code, int pixels) noexcept {
    PanelService *panels = hostServices.panelService;
    if (panel && panels && panels->setPanelAttribute) panels->setPanelAttribute(panel, code, &pixels);
}

void wire(ControlId control, ToolCommon &instance, ControlHandler handler) noexcept {
    setInteger(control, CONTROL_USER_DATA, reinterpret_cast<intptr_t>(&instance));
    setInteger(control, CONTROL_EVENT_HANDLER, reinterpret_cast<intptr_t>(handler));
}

PanelId addOriginPanel(const char *title, const char *const originEntries[], const char *const methodEntries[],
                       const char *valueHeading, const std::array<const char *, 3> &valueLabels,
                       OriginPanel &c) noexcept {
    c = OriginPanel{};
    PanelService *panels = hostServices.panelService;
    if (!panels || !panels->createPanel) return nullptr;
    PanelId panel = panels->createPanel(title, nullptr);
    if (!panel) return nullptr;
    setPanelSize(panel, PANEL_WIDTH, 277);
    setPanelSize(panel, PANEL_HEIGHT, 300);

    static const char *const noLines[] = {nullptr};
    static const std::array<const char *, 3> originLabels{" X", " Y", " Z"};
    auto entries = [](const char *const list[]) { return reinterpret_cast<intptr_t>(list); };
    c.originChoice = addControl(panel, "ChoiceControl", CONTROL_KIND_CHOICE, "Origin", entries(originEntries), 0);
    c.methodChoice = addControl(panel, "ChoiceControl", CONTROL_KIND_CHOICE, "Method", entries(methodEntries), 0);
    c.values.heading = addControl(panel, "TextControl", CONTROL_KIND_TEXT, valueHeading, entries(noLines));
    c.originFields.heading = addControl(panel, "TextControl", CONTROL_KIND_TEXT, "Origin", entries(noLines));
    for (FieldColumn *column : {&c.values, &c.originFields}) {
        const auto &labels = column == &c.values ? valueLabels : originLabels;
        for (int i = 0; i < 3; ++i)
            column->fields[i] = addControl(panel, "FloatControl", CONTROL_KIND_FLOAT, labels[i]);
        for (int i = 0; i < 3; ++i)
            column->nudges[i] = addControl(panel, "DragButtonControl", CONTROL_KIND_DRAG_BUTTON, "", -1, 0);
    }
    c.applyButton = addControl(panel, "ButtonControl", CONTROL_KIND_BUTTON, "Apply");
    return panel;
}

void layOutOriginPanel(const OriginPanel &c) noexcept {
    auto x = [](ControlId control) { return getInteger(control, CONTROL_POS_X); };
    auto y = [](ControlId control) { return getInteger(control, CONTROL_POS_Y); };
    auto w = [](ControlId control) { return getInteger(control, CONTROL_WIDTH); };
    auto h = [](ControlId control) { return getInteger(control, CONTROL_HEIGHT); };
    const FieldColumn &left = c.values;
    const FieldColumn &right = c.originFields;

    const intptr_t x0 = x(c.originChoice);
    const intptr_t y1 = y(left.heading) + h(left.heading) + 10;
    setPosition(left.fields[0], x0, y1);
    setPosition(left.nudges[0], x0 + w(left.fields[0]), y1);
    setPosition(right.heading, x0 + 2 * w(left.nudges[0]) + 70, y(left.heading));
    const intptr_t y2 = y1 + h(left.fields[0]) - 2;
    setPosition(left.fields[1], x0, y2);
    setPosition(left.nudges[1], x0 + w(left.fields[1]), y2);
    const intptr_t y3 = y2 + h(left.fields[1]) - 2;
    setPosition(left.fields[2], x0, y3);
    setPosition(left.nudges[2], x0 + w(left.fields[2]), y3);

    const intptr_t x1 = x(right.heading);
    setPosition(right.fields[0], x1, y(left.fields[0]));
    setPosition(right.nudges[0], x1 + w(right.fields[0]), y(left.fields[0]));
    setPosition(right.fields[1], x1, y(left.fields[1]));
    setPosition(right.nudges[1], x1 + w(right.fields[1]), y(left.fields[1]));
    setPosition(right.fields[2], x1, y(left.fields[2]));
    setPosition(c.applyButton, x1, y(left.fields[2]) + h(right.fields[2]));
    setPosition(right.nudges[2], x1 + w(right.fields[2]), y(left.fields[2]));
}
