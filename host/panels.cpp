// panels.cpp: the panel service ("LWPanelServices") and the user working
// the panels' controls.
//
// Panels and controls live in deques owned by the host, so their handles
// (Panel*, Control*) stay valid for the host's life; a destroyed panel is
// only marked, never freed, so a test can still look at it. Handles are
// checked against what the host handed out before they are used.
#include "internal.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace host {

namespace {

constexpr int firstControlX = 10;
constexpr int firstControlY = 10;
constexpr int controlGap = 4;

void reject(Host &h) { ++h.counters.rejectedCalls; }

// The panel a module's call names, on the current host `h`. A call naming no
// panel of that host is refused.
Panel *knownPanel(PanelId id, Host *&h) {
    h = Host::current();
    Panel *panel = h ? detail::panelFromId(*h, id) : nullptr;
    if (!panel && h)
        reject(*h);
    return panel;
}

Control *controlFromId(Host &h, ControlId id) {
    if (!id)
        return nullptr;
    for (Panel &panel : h.panels)
        for (Control &control : panel.controls)
            if (&control == id)
                return &control;
    return nullptr;
}

std::vector<std::string> copyList(intptr_t address) {
    std::vector<std::string> out;
    if (const auto *list = reinterpret_cast<const char *const *>(address))
        for (; *list; ++list)
            out.emplace_back(*list);
    return out;
}

// ---- the value a ControlValue carries, by kind -----------------------------

// Copies as much of the text as the caller's buffer holds, ended by a zero.
bool writeText(ControlValue &value, const std::string &text) {
    if (!value.text.buffer || value.text.length <= 0)
        return false;
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(value.text.length) - 1);
    std::memcpy(value.text.buffer, text.data(), n);
    value.text.buffer[n] = '\0';
    return true;
}

// The text of a caller's buffer: up to its first zero, at most `length`
// bytes (the text need not be ended within them).
std::string readText(const char *buffer, int length) {
    if (length <= 0)
        return {};
    const auto *end = static_cast<const char *>(std::memchr(buffer, 0, static_cast<std::size_t>(length)));
    return std::string(buffer, end ? static_cast<std::size_t>(end - buffer) : static_cast<std::size_t>(length));
}

// Gives an integer attribute to the caller in the variant the caller chose.
bool writeInteger(ControlValue &value, intptr_t v) {
    switch (value.kind) {
    case VALUE_KIND_INTEGER:
        value.integer.value = v;
        return true;
    case VALUE_KIND_NUMBER:
        value.number.value = static_cast<double>(v);
        return true;
    case VALUE_KIND_TEXT:
        return writeText(value, std::to_string(v));
    default:
        return false;
    }
}

// Zeroes the variant the caller chose, for a read that has no answer.
void writeNothing(ControlValue &value) {
    switch (value.kind) {
    case VALUE_KIND_INTEGER:
        value.integer.value = 0;
        break;
    case VALUE_KIND_NUMBER:
        value.number.value = 0.0;
        break;
    case VALUE_KIND_TEXT:
        writeText(value, "");
        break;
    default:
        break;
    }
}

// The integer attributes of a control, by code; null for other codes.
intptr_t *integerAttribute(Control &c, int code, intptr_t &scratch) {
    switch (code) {
    case CONTROL_POS_X: scratch = c.x; return &scratch;
    case CONTROL_POS_Y: scratch = c.y; return &scratch;
    case CONTROL_WIDTH: scratch = c.width; return &scratch;
    case CONTROL_HEIGHT: scratch = c.height; return &scratch;
    case CONTROL_EVENT_HANDLER: return &c.eventHandler;
    case CONTROL_USER_DATA: return &c.userData;
    default: return nullptr;
    }
}

void storeGeometry(Control &c, int code, intptr_t v) {
    const int i = static_cast<int>(v);
    switch (code) {
    case CONTROL_POS_X: c.x = i; break;
    case CONTROL_POS_Y: c.y = i; break;
    case CONTROL_WIDTH: c.width = i; break;
    case CONTROL_HEIGHT: c.height = i; break;
    default: break;
    }
}

// ---- the service functions ---------------------------------------------------

PanelId createPanel(const char *title, void * /*reserved*/) {
    Host *h = Host::current();
    if (!h || h->faults.createPanelFails)
        return nullptr;
    Panel &panel = h->panels.emplace_back();
    panel.title = title ? title : "";
    return &panel;
}

int openPanel(PanelId id, int /*flags*/) {
    Host *h = nullptr;
    Panel *panel = knownPanel(id, h);
    if (!panel)
        return 0;
    ++panel->openCalls;
    if (panel->destroyed) {
        reject(*h);
        return 0;
    }
    panel->open = true;
    return 1;
}

int handlePanel(PanelId id, int /*wait*/) {
    Host *h = nullptr;
    Panel *panel = knownPanel(id, h);
    if (!panel)
        return -1;
    return panel->open && !panel->destroyed ? 0 : -1;
}

void closePanel(PanelId id) {
    Host *h = nullptr;
    Panel *panel = knownPanel(id, h);
    if (!panel)
        return;
    ++panel->closeCalls;
    panel->open = false; // the close callback is for the user's close only
}

void destroyPanel(PanelId id) {
    Host *h = nullptr;
    Panel *panel = knownPanel(id, h);
    if (!panel)
        return;
    ++panel->destroyCalls;
    panel->open = false;
    panel->destroyed = true;
}

void setPanelAttribute(PanelId id, int code, void *value) {
    Host *h = nullptr;
    Panel *panel = knownPanel(id, h);
    if (!panel)
        return;
    switch (code) {
    case PANEL_WIDTH:
    case PANEL_HEIGHT:
        if (!value) {
            reject(*h);
            return;
        }
        (code == PANEL_WIDTH ? panel->width : panel->height) = *static_cast<const int *>(value);
        return;
    case PANEL_CLOSE_CALLBACK:
        // The value is the function itself, not a pointer to it.
        panel->closeCallback = reinterpret_cast<PanelCloseFunc>(value);
        return;
    default:
        reject(*h);
        return;
    }
}

ControlId addControl(PanelId id, const char *typeName, ControlDesc *desc, const char *label) {
    Host *h = nullptr;
    Panel *panel = knownPanel(id, h);
    if (!panel)
        return nullptr;
    if (panel->destroyed) {
        reject(*h);
        return nullptr;
    }
    const int call = panel->addControlCalls++;
    if (call == h->faults.addControlFailsAt)
        return nullptr;
    const auto size = defaultControlSize(typeName ? typeName : "");
    if (!size) {
        reject(*h);
        return nullptr;
    }

    int y = firstControlY;
    if (!panel->controls.empty())
        y = panel->controls.back().y + panel->controls.back().height + controlGap;

    Control &control = panel->controls.emplace_back();
    control.panel = panel;
    control.typeName = typeName;
    if (desc)
        control.desc = *desc;
    control.label = label ? label : "";
    control.x = firstControlX;
    control.y = y;
    control.width = size->first;
    control.height = size->second;
    // A choice's entries and a text control's lines are lists ended by null;
    // copy them, since the module may build them on its stack.
    if (control.typeName == "ChoiceControl" || control.typeName == "TextControl")
        control.entries = copyList(control.desc.word1);
    return &control;
}

void getControl(ControlId id, int code, ControlValue *value) {
    Host *h = Host::current();
    if (!h)
        return;
    if (!value) {
        reject(*h);
        return;
    }
    Control *c = controlFromId(*h, id);
    if (!c) {
        reject(*h);
        writeNothing(*value);
        return;
    }
    if (code == CONTROL_VALUE) {
        switch (value->kind) {
        case VALUE_KIND_INTEGER: value->integer.value = c->integer; return;
        case VALUE_KIND_NUMBER: value->number.value = c->number; return;
        case VALUE_KIND_TEXT:
            if (!writeText(*value, c->text))
                reject(*h);
            return;
        default: reject(*h); return;
        }
    }
    intptr_t scratch = 0;
    const intptr_t *attribute = integerAttribute(*c, code, scratch);
    if (!attribute) {
        reject(*h);
        writeNothing(*value);
        return;
    }
    if (!writeInteger(*value, *attribute))
        reject(*h);
}

void setControl(ControlId id, int code, ControlValue *value) {
    Host *h = Host::current();
    if (!h)
        return;
    Control *c = controlFromId(*h, id);
    if (!c || !value) {
        reject(*h);
        return;
    }
    if (code == CONTROL_VALUE) {
        switch (value->kind) {
        case VALUE_KIND_INTEGER:
            c->integer = value->integer.value;
            return;
        case VALUE_KIND_NUMBER:
            c->number = value->number.value;
            return;
        case VALUE_KIND_TEXT:
            if (!value->text.buffer) {
                reject(*h);
                return;
            }
            c->text = readText(value->text.buffer, value->text.length);
            return;
        default:
            reject(*h);
            return;
        }
    }
    intptr_t scratch = 0;
    intptr_t *attribute = integerAttribute(*c, code, scratch);
    if (!attribute || value->kind != VALUE_KIND_INTEGER) {
        reject(*h);
        return;
    }
    if (attribute == &scratch)
        storeGeometry(*c, code, value->integer.value);
    else
        *attribute = value->integer.value;
}

// ---- the user ----------------------------------------------------------------

void requireWorkable(const Control &control, const char *typeName, const char *action) {
    if (control.typeName != typeName)
        throw std::logic_error(std::string("cannot ") + action + " \"" + control.label + "\": it is a " +
                               control.typeName + ", not a " + typeName);
    if (!control.panel || !control.panel->open || control.panel->destroyed)
        throw std::logic_error(std::string("cannot ") + action + " \"" + control.label + "\": its panel is not open");
}

} // namespace

PanelService detail::panelServiceTable() {
    PanelService s{};
    s.createPanel = createPanel;
    s.openPanel = openPanel;
    s.handlePanel = handlePanel;
    s.closePanel = closePanel;
    s.destroyPanel = destroyPanel;
    s.setPanelAttribute = setPanelAttribute;
    s.addControl = addControl;
    s.getControl = getControl;
    s.setControl = setControl;
    return s;
}

Panel *detail::panelFromId(Host &h, PanelId id) {
    if (!id)
        return nullptr;
    for (Panel &panel : h.panels)
        if (&panel == id)
            return &panel;
    return nullptr;
}

std::optional<std::pair<int, int>> defaultControlSize(std::string_view typeName) {
    static const struct {
        std::string_view name;
        int width, height;
    } sizes[] = {
        {"ChoiceControl", 150, 20},    {"TextControl", 100, 16}, {"FloatControl", 80, 20},
        {"DragButtonControl", 30, 20}, {"ButtonControl", 60, 20}, {"InfoControl", 80, 20},
        {"LWListControl", 100, 60},
    };
    for (const auto &s : sizes)
        if (s.name == typeName)
            return std::pair{s.width, s.height};
    return std::nullopt;
}

Control *Panel::find(const std::string &label, int occurrence) {
    for (Control &control : controls)
        if (control.label == label && occurrence-- == 0)
            return &control;
    return nullptr;
}

Panel *Host::currentPanel() { return panels.empty() ? nullptr : &panels.back(); }

std::vector<ItemId> Host::listItems() const {
    std::vector<ItemId> out;
    for (const Item &item : scene.items())
        out.push_back(const_cast<Item *>(&item));
    return out;
}

void Host::typeNumber(Control &control, double value) {
    requireWorkable(control, "FloatControl", "type into");
    control.number = value;
    fire(control);
}

void Host::choose(Control &control, int index) {
    requireWorkable(control, "ChoiceControl", "choose in");
    if (index < 0 || static_cast<std::size_t>(index) >= control.entries.size())
        return; // the choice offers no such entry: nothing happens
    control.integer = index;
    fire(control);
}

void Host::press(Control &control) {
    requireWorkable(control, "ButtonControl", "press");
    fire(control);
}

void Host::dragTo(Control &control, int position) {
    requireWorkable(control, "DragButtonControl", "drag");
    control.integer = position;
    fire(control);
}

void Host::pick(Control &control, ItemId item) {
    requireWorkable(control, "LWListControl", "pick in");
    if (item) {
        const auto offered = listItems();
        if (std::find(offered.begin(), offered.end(), item) == offered.end())
            return; // the list offers no such item: nothing happens
    }
    control.integer = reinterpret_cast<intptr_t>(item);
    fire(control);
}

void Host::fire(Control &control) {
    if (control.eventHandler)
        reinterpret_cast<ControlHandler>(control.eventHandler)(&control, reinterpret_cast<void *>(control.userData));
}

void Host::closePanel(Panel &panel) {
    if (!panel.open || panel.destroyed)
        throw std::logic_error("cannot close panel \"" + panel.title + "\": it is not open");
    if (panel.closeCallback)
        panel.closeCallback(&panel, nullptr);
    panel.open = false;
}

} // namespace host
