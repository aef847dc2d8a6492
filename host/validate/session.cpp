// session.cpp: applying and describing steps.
#include "session.h"

#include <sstream>

namespace validate {

namespace {

std::string text(double v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

std::string vector3(const double v[3]) { return "(" + text(v[0]) + ", " + text(v[1]) + ", " + text(v[2]) + ")"; }

std::string hexFlags(std::int32_t flags) {
    std::ostringstream out;
    out << "0x" << std::hex << static_cast<std::uint32_t>(flags);
    return out.str();
}

std::string eventText(const char *name, const ToolEvent &e) {
    return std::string(name) + " in viewport " + std::to_string(e.viewport) + " at " + vector3(e.eventPosition) +
           ", axis " + vector3(e.eventAxis) + ", delta (" + std::to_string(e.deltaX) + ", " +
           std::to_string(e.deltaY) + "), flags " + hexFlags(e.eventFlags);
}

std::string faultsText(const host::Faults &faults) {
    std::string out;
    for (const std::string &name : faults.missingServices) out += (out.empty() ? " without \"" : ", \"") + name + "\"";
    if (faults.createPanelFails) out += ", createPanel failing";
    if (faults.addControlFailsAt >= 0) out += ", addControl call " + std::to_string(faults.addControlFailsAt) + " failing";
    return out;
}

std::string quoted(const std::string &s) { return "\"" + s + "\""; }

} // namespace

std::string describe(const Step &s) {
    switch (s.action) {
    case Action::activate: return "activate" + faultsText(s.faults);
    case Action::done: return "done";
    case Action::start: return eventText("start", s.event);
    case Action::down: return eventText("down", s.event);
    case Action::move: return eventText("move", s.event);
    case Action::up: return eventText("up", s.event);
    case Action::pressHandle:
        return "down on the origin handle in viewport " + std::to_string(s.event.viewport) + ", flags " +
               hexFlags(s.event.eventFlags);
    case Action::draw: return "draw viewport " + std::to_string(s.index);
    case Action::help: return "help";
    case Action::dirty: return "dirty";
    case Action::count: return "count";
    case Action::handle: return "handle " + std::to_string(s.index);
    case Action::adjust: return "adjust " + std::to_string(s.index);
    case Action::event: return "event code " + std::to_string(s.index);
    case Action::work:
        return "work control " + std::to_string(s.index) + " with " + text(s.number) + " / " +
               std::to_string(s.position);
    case Action::closePanel: return "the user closes the panel";
    case Action::select: {
        if (s.items.empty()) return "select nothing";
        if (s.items.size() > 8) return "select " + std::to_string(s.items.size()) + " items";
        std::string out = "select item";
        if (s.items.size() > 1) out += "s";
        for (std::size_t i = 0; i < s.items.size(); ++i) out += (i ? ", " : " ") + std::to_string(s.items[i]);
        return out;
    }
    case Action::setTime: return "set the time to " + text(s.number);
    case Action::setGrid:
        return "set the grid of " + (s.index < 0 ? std::string("every viewport") : "viewport " + std::to_string(s.index)) +
               " to " + text(s.number);
    }
    return "unknown step";
}

ToolEvent eventAt(const host::Host &host, int viewport, double x, double y, int deltaX, int deltaY, int flags) {
    if (viewport >= 0 && static_cast<std::size_t>(viewport) < host.viewports.size())
        return host.eventAtPixel(viewport, x, y, deltaX, deltaY, flags);
    ToolEvent event{};
    event.eventAxis[2] = 1.0;
    event.deltaX = deltaX;
    event.deltaY = deltaY;
    event.eventFlags = flags;
    event.viewport = viewport;
    return event;
}

Session::Session(const host::Module &module) : module_(module), host_(std::make_unique<host::Host>()) {}

Session::~Session() { tool_.reset(); }

host::Item &Session::addItem(const std::string &name, host::Vec3 position, host::Vec3 rotation) {
    host::Item &item = host_->scene.addItem(name, position, rotation);
    items_.push_back(&item);
    return item;
}

host::Item &Session::addItem(const std::string &name, const std::vector<std::pair<std::string, double>> &channels) {
    host::Item &item = host_->scene.addItem(name, channels);
    items_.push_back(&item);
    return item;
}

host::Panel *Session::panel() {
    if (!active()) return nullptr;
    host::Panel *panel = host_->currentPanel();
    return panel && !panel->destroyed ? panel : nullptr;
}

std::string Session::describe(const Step &step) {
    host::Panel *p = step.action == Action::work ? panel() : nullptr;
    if (!p || p->controls.empty()) return validate::describe(step);
    const host::Control &c = p->controls[static_cast<std::size_t>(static_cast<unsigned>(step.index)) % p->controls.size()];
    const std::string control = c.typeName + " " + quoted(c.label);
    if (c.typeName == "FloatControl") return "type " + text(step.number) + " into " + control;
    if (c.typeName == "ChoiceControl") return "choose " + std::to_string(step.position) + " in " + control;
    if (c.typeName == "DragButtonControl")
        return "drag " + control + " (control " + std::to_string(step.index) + ") to " + std::to_string(step.position);
    if (c.typeName == "LWListControl")
        return step.position >= 0 && static_cast<std::size_t>(step.position) < items_.size()
                   ? "pick " + quoted(items_[step.position]->name) + " in " + control
                   : "pick no item in " + control;
    if (c.typeName == "ButtonControl") return "press " + control;
    return "an event from " + control;
}

void Session::noteSelection() {
    for (ItemId item : host_->scene.selectedItems())
        if (item) keyable_.insert(static_cast<const host::Item *>(item));
}

void Session::work(host::Control &control, const Step &step) {
    const std::string &type = control.typeName;
    if (type == "FloatControl") {
        control.number = step.number;
    } else if (type == "ChoiceControl" || type == "DragButtonControl") {
        control.integer = step.position;
    } else if (type == "LWListControl") {
        const bool anItem = step.position >= 0 && static_cast<std::size_t>(step.position) < items_.size();
        control.integer = anItem ? reinterpret_cast<intptr_t>(static_cast<ItemId>(items_[step.position])) : 0;
    }
    host_->fire(control);
}

void Session::apply(const Step &step) {
    host::Host &h = *host_;
    switch (step.action) {
    case Action::activate:
        tool_.reset(); // done for the previous activation, if it is still active
        h.faults = step.faults;
        keyable_.clear();
        noteSelection();
        tool_ = std::make_unique<host::Tool>(h, module_);
        return;
    case Action::select: {
        std::vector<host::Item *> chosen;
        for (int i : step.items)
            if (i >= 0 && static_cast<std::size_t>(i) < items_.size()) chosen.push_back(items_[i]);
        h.scene.select(chosen);
        return;
    }
    case Action::setTime: h.scene.setTime(step.number); return;
    case Action::setGrid:
        for (std::size_t v = 0; v < h.viewports.size(); ++v)
            if (step.index < 0 || static_cast<std::size_t>(step.index) == v) h.viewports[v].gridSize = step.number;
        return;
    default: break;
    }

    // Everything else calls into the module, which may take a snapshot of
    // what is selected now.
    if (!tool_) return;
    noteSelection();
    host::Tool &tool = *tool_;
    switch (step.action) {
    case Action::done: tool.done(); return;
    case Action::start: tool.start(step.event); return;
    case Action::down: tool.down(step.event); return;
    case Action::move: tool.move(step.event); return;
    case Action::up: tool.up(step.event); return;
    case Action::pressHandle: {
        // The handle is where the tool draws it: the middle of its first line.
        ToolEvent event = step.event;
        h.drawn.clear();
        tool.draw(event.viewport);
        if (!h.drawn.empty()) {
            const host::DrawnLine &line = h.drawn.front();
            event = eventAt(h, event.viewport, (line.from[0] + line.to[0]) / 2, (line.from[1] + line.to[1]) / 2, 0, 0,
                            event.eventFlags);
        }
        h.drawn.clear();
        tool.down(event);
        return;
    }
    case Action::draw:
        h.drawn.clear();
        tool.draw(step.index);
        return;
    case Action::help: tool.help(); return;
    case Action::dirty: tool.dirty(); return;
    case Action::count: tool.count(); return;
    case Action::handle: tool.handle(step.index); return;
    case Action::adjust: tool.adjust(step.index); return;
    case Action::event: tool.event(step.index); return;
    case Action::work:
        if (host::Panel *p = panel(); p && !p->controls.empty())
            work(p->controls[static_cast<std::size_t>(static_cast<unsigned>(step.index)) % p->controls.size()], step);
        return;
    case Action::closePanel:
        if (host::Panel *p = panel(); p && p->open) h.closePanel(*p);
        return;
    default: return;
    }
}

} // namespace validate
