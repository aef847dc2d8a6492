// replay.cpp: a scenario's scene built in a headless host, its steps worked
// as a user would, and the keys and panel read back.
#include "replay.h"

#include "input_error.h"
#include "modules.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace toolhost {

namespace {

const char *kindName(const std::string &typeName) {
    if (typeName == "FloatControl")
        return "float field";
    if (typeName == "ChoiceControl")
        return "choice";
    if (typeName == "ButtonControl")
        return "button";
    if (typeName == "LWListControl")
        return "item list";
    if (typeName == "DragButtonControl")
        return "drag button";
    if (typeName == "InfoControl")
        return "info field";
    return "heading";
}

// How steps name a control: "X", "X #2" for the second of its kind so named.
std::string shownName(const std::string &label, int nth) {
    const std::string name = label.empty() ? "(no label)" : label;
    return nth > 1 ? name + " #" + std::to_string(nth) : name;
}

// Each control of the panel with its place among those of its kind and label.
std::vector<std::pair<host::Control *, int>> numbered(host::Panel &panel) {
    std::vector<std::pair<host::Control *, int>> out;
    for (host::Control &control : panel.controls) {
        int nth = 1;
        for (const auto &[earlier, ignored] : out)
            nth += earlier->typeName == control.typeName && trimmed(earlier->label) == trimmed(control.label);
        out.emplace_back(&control, nth);
    }
    return out;
}

host::Item &buildItem(host::Scene &scene, const ItemSpec &item) {
    if (item.missing.empty())
        return scene.addItem(item.name, item.position, item.rotation);
    std::vector<std::pair<std::string, double>> channels;
    for (std::size_t i = 0; i < host::defaultChannelNames.size(); ++i) {
        const std::string name = host::defaultChannelNames[i];
        if (std::find(item.missing.begin(), item.missing.end(), name) != item.missing.end())
            continue;
        const double value = i < 3 ? item.position[i] : i < 6 ? item.rotation[i - 3] : 1.0;
        channels.emplace_back(name, value);
    }
    return scene.addItem(item.name, channels);
}

KeyAt keyAt(const host::Envelope &envelope, double t) {
    const std::ptrdiff_t i = envelope.find(t);
    if (i >= 0)
        return {true, envelope.keys()[static_cast<std::size_t>(i)].value};
    return {false, envelope.valueAt(t)};
}

// Position (first) or rotation (offset 3) of a copied channel group at t.
host::Vec3 readVector(const std::vector<host::Channel> &channels, std::size_t first, double t) {
    host::Vec3 out{};
    for (std::size_t k = 0; k < 3; ++k)
        for (const host::Channel &c : channels)
            if (std::strcmp(c.name, host::defaultChannelNames[first + k]) == 0)
                out[k] = c.envelope.valueAt(t);
    return out;
}

class Player {
public:
    explicit Player(const Scenario &scenario) : scenario_(scenario) {}

    Outcome play() {
        buildScene();
        std::vector<std::vector<host::Channel>> before;
        for (const host::Item &item : host_.scene.items())
            before.emplace_back(item.channels.begin(), item.channels.end());
        try {
            module_ = openModule(scenario_.module, scenario_.folder);
        } catch (const InputError &e) {
            throw InputError(scenario_.file + ":" + std::to_string(scenario_.moduleLine) + ": module \"" +
                             scenario_.module + "\": " + e.what());
        }
        for (const Step &step : scenario_.steps) {
            try {
                play(step);
            } catch (const std::logic_error &e) { // the host refused what no user could do
                throw InputError(stepPrefix(scenario_, step) + e.what());
            }
        }
        return collect(before);
    }

private:
    [[noreturn]] void fail(const Step &step, const std::string &message) const {
        throw InputError(stepPrefix(scenario_, step) + message);
    }

    void buildScene() {
        host_.scene.setTime(scenario_.time);
        for (const ItemSpec &described : scenario_.items) {
            host::Item &item = buildItem(host_.scene, described);
            for (const ChannelKeys &keys : described.keys)
                for (const host::Key &key : keys.keys)
                    item.channel(keys.channel)->envelope.setKey(key.time, key.value);
        }
        select(scenario_.selection);
        host_.viewports.clear();
        for (const ViewportSpec &v : scenario_.viewports) {
            host::Viewport viewport;
            viewport.view = v.view;
            viewport.gridSize = v.grid;
            viewport.pixelsPerUnit = v.pixelsPerUnit;
            viewport.centerX = v.centerX;
            viewport.centerY = v.centerY;
            host_.viewports.push_back(viewport);
        }
    }

    void select(const std::vector<std::string> &names) {
        std::vector<host::Item *> items;
        for (const std::string &name : names)
            items.push_back(host_.scene.find(name));
        host_.scene.select(items);
    }

    host::Tool &activeTool(const Step &step) {
        if (!tool_)
            fail(step, "no tool is active: add an \"activate\" step before this one");
        if (!tool_->active())
            fail(step, "the tool is done: add an \"activate\" step to use it again");
        return *tool_;
    }

    host::Panel &panel(const Step &step) {
        activeTool(step);
        host::Panel *panel = host_.currentPanel();
        if (!panel)
            fail(step, "the tool has no panel");
        return *panel;
    }

    host::Control &control(const Step &step, const std::string &typeName, const std::string &label) {
        host::Panel &p = panel(step);
        std::string offered;
        for (const auto &[control, nth] : numbered(p)) {
            if (control->typeName != typeName)
                continue;
            if (trimmed(control->label) == trimmed(label) && nth == step.nth)
                return *control;
            offered += (offered.empty() ? "" : ", ") + shownName(trimmed(control->label), nth);
        }
        const std::string kind = kindName(typeName);
        fail(step, "the panel \"" + p.title + "\" has no " + kind + " \"" + shownName(trimmed(label), step.nth) + "\" (" +
                       (offered.empty() ? "it has no " + kind : kind + "s: " + offered) + ")");
    }

    // The drag button on the row of a float field, the first to its right.
    host::Control &dragButtonBeside(const Step &step, const host::Control &field) {
        host::Control *best = nullptr;
        for (host::Control &c : field.panel->controls)
            if (c.typeName == "DragButtonControl" && c.y == field.y && c.x > field.x && (!best || c.x < best->x))
                best = &c;
        if (!best)
            fail(step, "the float field \"" + trimmed(field.label) + "\" has no drag button beside it");
        return *best;
    }

    int pixelDelta(const Step &step, double from, double to) const {
        const double d = std::round(to - from);
        if (!(std::fabs(d) < INT_MAX))
            fail(step, "the cursor is too far from the press to be a mouse movement");
        return static_cast<int>(d);
    }

    // The event for a cursor in the pressed viewport, with the pixel offsets
    // from the press.
    ToolEvent eventAt(const Step &step, const Cursor &cursor) {
        const host::Viewport &view = host_.viewports[static_cast<std::size_t>(mouse_.viewport)];
        const int flags = step.fine ? EVENT_FLAG_MODIFIER : 0;
        double x = 0, y = 0, depth = 0;
        switch (cursor.kind) {
        case Cursor::Kind::world:
            view.project(cursor.value, x, y, depth);
            return host_.eventAt(mouse_.viewport, cursor.value, pixelDelta(step, mouse_.x, x),
                                 pixelDelta(step, mouse_.y, y), flags);
        case Cursor::Kind::pixel:
            x = cursor.value[0];
            y = cursor.value[1];
            break;
        case Cursor::Kind::offset:
            x = mouse_.x + cursor.value[0];
            y = mouse_.y + cursor.value[1];
            break;
        case Cursor::Kind::none:
            return mouse_.last;
        }
        return host_.eventAtPixel(mouse_.viewport, x, y, pixelDelta(step, mouse_.x, x), pixelDelta(step, mouse_.y, y),
                                  flags);
    }

    void press(const Step &step, int viewport, const Cursor &at) {
        host::Tool &tool = activeTool(step);
        if (mouse_.down)
            fail(step, "the mouse button is already down: add an \"up\" step first");
        mouse_.viewport = viewport;
        const host::Viewport &view = host_.viewports[static_cast<std::size_t>(viewport)];
        double depth = 0;
        if (at.kind == Cursor::Kind::world) {
            view.project(at.value, mouse_.x, mouse_.y, depth);
        } else {
            mouse_.x = at.value[0];
            mouse_.y = at.value[1];
        }
        const ToolEvent event = eventAt(step, at);
        // Layout starts the tool's interaction, then reports the press.
        tool.start(event);
        tool.down(event);
        mouse_.down = true;
        mouse_.last = event;
    }

    void moveTo(const Step &step, const Cursor &at) {
        host::Tool &tool = activeTool(step);
        if (!mouse_.down)
            fail(step, "the mouse button is not down: add a \"down\" step first");
        mouse_.last = eventAt(step, at);
        tool.move(mouse_.last);
    }

    void release(const Step &step, const Cursor &at) {
        host::Tool &tool = activeTool(step);
        if (!mouse_.down)
            fail(step, "the mouse button is not down: add a \"down\" step first");
        mouse_.last = eventAt(step, at);
        mouse_.last.eventFlags = step.fine ? EVENT_FLAG_MODIFIER : 0;
        tool.up(mouse_.last);
        mouse_.down = false;
    }

    void play(const Step &step) {
        switch (step.action) {
        case Action::activate: {
            if (tool_)
                tool_->done();
            mouse_ = Mouse{};
            tool_.reset();
            tool_ = std::make_unique<host::Tool>(host_, *module_);
            if (tool_->result() != 0)
                fail(step, "the tool did not activate: " + host::activationResultText(tool_->result()));
            break;
        }
        case Action::down:
            press(step, step.viewport, step.at);
            break;
        case Action::move:
            moveTo(step, step.at);
            break;
        case Action::up:
            release(step, step.at);
            break;
        case Action::drag:
            press(step, step.viewport, step.at);
            moveTo(step, step.by);
            release(step, step.by);
            break;
        case Action::type:
            host_.typeNumber(control(step, "FloatControl", step.control), step.value);
            break;
        case Action::choose: {
            host::Control &choice = control(step, "ChoiceControl", step.control);
            int index = step.entryIndex.value_or(-1);
            if (!step.entryIndex) {
                const auto found = std::find(choice.entries.begin(), choice.entries.end(), step.entryText);
                index = found == choice.entries.end() ? -1 : static_cast<int>(found - choice.entries.begin());
            }
            if (index < 0 || static_cast<std::size_t>(index) >= choice.entries.size()) {
                std::string entries;
                for (std::size_t i = 0; i < choice.entries.size(); ++i)
                    entries += (i ? ", " : "") + std::to_string(i) + " \"" + choice.entries[i] + "\"";
                const std::string asked = step.entryIndex ? std::to_string(*step.entryIndex) : "\"" + step.entryText + "\"";
                fail(step, "the choice \"" + trimmed(choice.label) + "\" has no entry " + asked + " (entries: " + entries + ")");
            }
            host_.choose(choice, index);
            break;
        }
        case Action::press:
            host_.press(control(step, "ButtonControl", step.control));
            break;
        case Action::nudge: {
            host::Control &button = dragButtonBeside(step, control(step, "FloatControl", step.control));
            for (int position : step.positions)
                host_.dragTo(button, position);
            break;
        }
        case Action::pick:
            host_.pick(control(step, "LWListControl", ""), step.item ? host_.scene.find(*step.item) : nullptr);
            break;
        case Action::close:
            host_.closePanel(panel(step));
            break;
        case Action::time:
            host_.scene.setTime(step.value);
            break;
        case Action::select:
            select(step.items);
            break;
        case Action::done:
            activeTool(step).done();
            mouse_ = Mouse{};
            break;
        }
    }

    std::string itemName(intptr_t id) const {
        for (const host::Item &item : host_.scene.items())
            if (reinterpret_cast<intptr_t>(&item) == id)
                return item.name;
        return "(none)";
    }

    PanelState panelState(host::Panel &panel) const {
        PanelState state{panel.title, panel.open && !panel.destroyed, {}};
        for (const auto &[c, nth] : numbered(panel)) {
            FieldValue field{trimmed(c->label), nth, "", std::nullopt, ""};
            if (c->typeName == "FloatControl") {
                field.kind = "float";
                field.number = c->number;
            } else if (c->typeName == "ChoiceControl") {
                field.kind = "choice";
                field.number = static_cast<double>(c->integer);
                if (c->integer >= 0 && static_cast<std::size_t>(c->integer) < c->entries.size())
                    field.text = c->entries[static_cast<std::size_t>(c->integer)];
            } else if (c->typeName == "InfoControl") {
                field.kind = "info";
                field.text = c->text;
            } else if (c->typeName == "LWListControl") {
                field.kind = "list";
                field.text = itemName(c->integer);
            } else {
                continue;
            }
            state.fields.push_back(field);
        }
        return state;
    }

    // Where the tool draws its origin cross in a front, a top and a side view.
    std::vector<OriginMark> origins() {
        std::vector<OriginMark> marks;
        if (!tool_ || !tool_->active())
            return marks;
        host_.viewports = {{host::View::front}, {host::View::top}, {host::View::side}};
        for (int v = 0; v < 3; ++v) {
            host_.drawn.clear();
            tool_->draw(v);
            if (host_.drawn.empty())
                continue;
            double x = 0, y = 0;
            for (const host::DrawnLine &line : host_.drawn) {
                x += line.from[0] + line.to[0];
                y += line.from[1] + line.to[1];
            }
            const double n = 2.0 * static_cast<double>(host_.drawn.size());
            const host::Viewport &view = host_.viewports[static_cast<std::size_t>(v)];
            marks.push_back({view.view, view.unproject(x / n, y / n)});
        }
        return marks;
    }

    Outcome collect(const std::vector<std::vector<host::Channel>> &before) {
        Outcome out;
        out.title = scenario_.file;
        out.modulePath = module_->path();
        out.server = module_->server().name ? module_->server().name : "";
        out.time = host_.scene.time();
        out.viewports = scenario_.viewports;
        const double t = out.time;
        const std::vector<ItemId> &selection = host_.scene.selectedItems();
        std::size_t i = 0;
        for (const host::Item &item : host_.scene.items()) {
            const std::vector<host::Channel> &was = before[i++];
            for (std::size_t c = 0; c < item.channels.size(); ++c) {
                const host::Channel &channel = item.channels[c];
                ChannelChange change{item.name, channel.name, keyAt(was[c].envelope, t), keyAt(channel.envelope, t)};
                const std::string_view name = channel.name;
                const bool moves = name.rfind("Position.", 0) == 0 || name.rfind("Rotation.", 0) == 0;
                if (moves || change.before.keyed || change.after.keyed)
                    out.channels.push_back(change);
            }
            ItemPose pose;
            pose.name = item.name;
            pose.selected = std::find(selection.begin(), selection.end(), &item) != selection.end();
            pose.positionBefore = readVector(was, 0, t);
            pose.rotationBefore = readVector(was, 3, t);
            pose.positionAfter = host_.scene.position(item, t);
            pose.rotationAfter = host_.scene.rotation(item, t);
            out.items.push_back(pose);
        }
        if (host::Panel *panel = host_.currentPanel())
            out.panel = panelState(*panel);
        out.origins = origins();
        return out;
    }

    struct Mouse {
        bool down = false;
        int viewport = 0;
        double x = 0, y = 0; // the pixel pressed
        ToolEvent last{};
    };

    const Scenario &scenario_;
    // Destroyed in reverse: the tool is done before its module closes, and
    // both before the host goes.
    host::Host host_;
    std::unique_ptr<host::Module> module_;
    std::unique_ptr<host::Tool> tool_;
    Mouse mouse_;
};

} // namespace

std::string trimmed(const std::string &label) {
    const std::size_t first = label.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return label.substr(first, label.find_last_not_of(" \t") - first + 1);
}

const char *changeName(const ChannelChange &change) {
    if (!change.before.keyed)
        return change.after.keyed ? "created" : "none";
    if (!change.after.keyed)
        return "removed";
    return change.before.value == change.after.value ? "kept" : "changed";
}

Outcome replay(const Scenario &scenario) { return Player(scenario).play(); }

} // namespace toolhost
