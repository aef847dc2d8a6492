// scenario.cpp: reading a scenario file into plain data, checking every
// field so that a mistake is reported where it was made.
#include "scenario.h"

#include "files.h"
#include "input_error.h"
#include "json_fields.h"
#include "located_json.h"

#include <algorithm>
#include <limits>
#include <set>

namespace toolhost {

using nlohmann::json;

namespace {

const struct {
    Action action;
    const char *name;
} actionNames[] = {
    {Action::activate, "activate"}, {Action::down, "down"},     {Action::move, "move"},
    {Action::up, "up"},             {Action::drag, "drag"},     {Action::type, "type"},
    {Action::choose, "choose"},     {Action::press, "press"},   {Action::nudge, "nudge"},
    {Action::pick, "pick"},         {Action::close, "close"},   {Action::time, "time"},
    {Action::select, "select"},     {Action::done, "done"},
};

const std::vector<std::string> &defaultChannels() {
    static const std::vector<std::string> names(host::defaultChannelNames.begin(), host::defaultChannelNames.end());
    return names;
}

// The keys of an item: {"Position.X": [[time, value], ...], ...}.
std::vector<ChannelKeys> readKeys(const Fields &f, const std::vector<std::string> &missing) {
    const json &keys = f.at("keys");
    if (!keys.is_object())
        f.fail("keys", "must be an object of channel names, not " + typeOf(keys));
    std::vector<ChannelKeys> out;
    for (const auto &[channel, list] : keys.items()) {
        const Fields channelField = f.child("keys", "\"keys\" of " + f.context());
        if (std::find(defaultChannels().begin(), defaultChannels().end(), channel) == defaultChannels().end())
            channelField.fail(channel, "is not a channel (channels: " + joined(defaultChannels()) + ")");
        if (std::find(missing.begin(), missing.end(), channel) != missing.end())
            channelField.fail(channel, "is listed as missing, so it can have no keys");
        ChannelKeys entry{channel, {}};
        const std::string badKey = "must be a list of [time, value] pairs";
        if (!list.is_array())
            channelField.fail(channel, badKey);
        for (const json &key : list) {
            if (!key.is_array() || key.size() != 2)
                channelField.fail(channel, badKey);
            entry.keys.push_back({channelField.numberAt(key[0], channel), channelField.numberAt(key[1], channel)});
        }
        out.push_back(std::move(entry));
    }
    return out;
}

ItemSpec readItem(const Fields &f) {
    f.allow({"name", "position", "rotation", "keys", "missing"});
    ItemSpec item;
    item.name = f.text("name");
    if (item.name.empty())
        f.fail("name", "must not be empty");
    if (f.has("position"))
        item.position = f.vec3("position");
    if (f.has("rotation"))
        item.rotation = f.vec3("rotation");
    if (f.has("missing")) {
        item.missing = f.names("missing");
        for (const std::string &name : item.missing)
            if (std::find(defaultChannels().begin(), defaultChannels().end(), name) == defaultChannels().end())
                f.fail("missing", "names \"" + name + "\", which is not a channel (channels: " +
                                      joined(defaultChannels()) + ")");
    }
    if (f.has("keys"))
        item.keys = readKeys(f, item.missing);
    return item;
}

std::optional<host::View> viewNamed(const std::string &name) {
    for (host::View view : {host::View::front, host::View::top, host::View::side})
        if (name == viewName(view))
            return view;
    return std::nullopt;
}

ViewportSpec readViewport(const Fields &f) {
    f.allow({"view", "grid", "scale", "center"});
    ViewportSpec v;
    const std::string view = f.text("view");
    const auto named = viewNamed(view);
    if (!named)
        f.fail("view", "must be \"front\", \"top\" or \"side\", not \"" + view + "\"");
    v.view = *named;
    v.grid = f.number("grid", v.grid);
    if (v.grid < 0)
        f.fail("grid", "must not be negative");
    v.pixelsPerUnit = f.number("scale", v.pixelsPerUnit);
    if (!(v.pixelsPerUnit > 0))
        f.fail("scale", "must be more than 0 pixels per unit");
    if (f.has("center")) {
        const host::Vec3 c = f.vec3("center", 2);
        v.centerX = c[0];
        v.centerY = c[1];
    }
    return v;
}

// What a step may hold besides "do", by action.
std::vector<std::string> stepFields(Action action) {
    switch (action) {
    case Action::down: return {"viewport", "at", "pixel", "fine"};
    case Action::move:
    case Action::up: return {"at", "pixel", "by", "fine"};
    case Action::drag: return {"viewport", "at", "pixel", "by", "fine"};
    case Action::type: return {"control", "nth", "value"};
    case Action::choose: return {"control", "nth", "entry"};
    case Action::press: return {"control", "nth"};
    case Action::nudge: return {"control", "nth", "positions"};
    case Action::pick: return {"nth", "item"};
    case Action::time: return {"value"};
    case Action::select: return {"items"};
    case Action::activate:
    case Action::close:
    case Action::done: return {};
    }
    return {};
}

// "at" (a world point), "pixel" (a window pixel) or "by" (pixels from the
// press); at most one of those `allowed`.
Cursor readCursor(const Fields &f, const std::vector<std::string> &allowed, bool required) {
    std::vector<std::string> given;
    for (const std::string &key : allowed)
        if (f.has(key))
            given.push_back(key);
    if (given.size() > 1)
        f.failHere("give one of \"" + given[0] + "\" and \"" + given[1] + "\", not both");
    if (given.empty()) {
        if (required)
            f.failHere("say where: \"" + joined(allowed) + "\" (one of them) is missing");
        return {};
    }
    const std::string &key = given[0];
    if (key == "at")
        return {Cursor::Kind::world, f.vec3(key)};
    return {key == "pixel" ? Cursor::Kind::pixel : Cursor::Kind::offset, f.vec3(key, 2)};
}

int readViewportRef(const Fields &f, const std::vector<ViewportSpec> &viewports) {
    if (!f.has("viewport"))
        return 0;
    const json &v = f.at("viewport");
    if (v.is_string()) {
        const std::string name = v.get<std::string>();
        for (std::size_t i = 0; i < viewports.size(); ++i)
            if (name == viewName(viewports[i].view))
                return static_cast<int>(i);
        f.fail("viewport", "names \"" + name + "\", but the scene has no " + name + " viewport");
    }
    const int index = f.integerAt(v, "viewport", 0);
    if (static_cast<std::size_t>(index) >= viewports.size())
        f.fail("viewport", "is " + std::to_string(index) + ", but the scene has " + std::to_string(viewports.size()) +
                               " viewports (0 to " + std::to_string(viewports.size() - 1) + ")");
    return index;
}

void requireItems(const Fields &f, const std::string &key, const std::vector<std::string> &names,
                  const std::vector<ItemSpec> &items) {
    for (const std::string &name : names)
        if (std::none_of(items.begin(), items.end(), [&](const ItemSpec &i) { return i.name == name; }))
            f.fail(key, "names \"" + name + "\", which is not an item of the scene");
}

Step readStep(const Fields &f, const Scenario &scenario) {
    Step step;
    const std::string name = f.text("do");
    const auto found = std::find_if(std::begin(actionNames), std::end(actionNames),
                                    [&](const auto &a) { return name == a.name; });
    if (found == std::end(actionNames)) {
        std::vector<std::string> known;
        for (const auto &a : actionNames)
            known.push_back(a.name);
        f.fail("do", "is \"" + name + "\", which is no step (steps: " + joined(known) + ")");
    }
    step.action = found->action;
    const Fields s(f, f.context() + " (" + name + ")");
    std::vector<std::string> known = stepFields(step.action);
    known.insert(known.begin(), "do");
    s.allow(known);

    switch (step.action) {
    case Action::down:
        step.viewport = readViewportRef(s, scenario.viewports);
        step.at = readCursor(s, {"at", "pixel"}, true);
        break;
    case Action::move:
        step.at = readCursor(s, {"at", "pixel", "by"}, true);
        break;
    case Action::up:
        step.at = readCursor(s, {"at", "pixel", "by"}, false);
        break;
    case Action::drag:
        step.viewport = readViewportRef(s, scenario.viewports);
        step.at = readCursor(s, {"at", "pixel"}, true);
        s.require("by");
        step.by = {Cursor::Kind::offset, s.vec3("by", 2)};
        break;
    case Action::type:
        step.value = s.number("value");
        break;
    case Action::choose: {
        s.require("entry");
        const json &entry = s.at("entry");
        if (entry.is_string())
            step.entryText = entry.get<std::string>();
        else
            step.entryIndex = s.integerAt(entry, "entry", 0);
        break;
    }
    case Action::nudge: {
        s.require("positions");
        const json &positions = s.at("positions");
        if (!positions.is_array() || positions.empty())
            s.fail("positions", "must be a list of whole numbers, the drag button's positions in turn");
        for (const json &p : positions)
            step.positions.push_back(s.integerAt(p, "positions", std::numeric_limits<int>::min()));
        break;
    }
    case Action::pick:
        s.require("item");
        if (!s.at("item").is_null()) {
            step.item = s.text("item");
            requireItems(s, "item", {*step.item}, scenario.items);
        }
        break;
    case Action::time:
        step.value = s.number("value");
        break;
    case Action::select:
        s.require("items");
        step.items = s.names("items");
        requireItems(s, "items", step.items, scenario.items);
        break;
    case Action::press:
    case Action::activate:
    case Action::close:
    case Action::done:
        break;
    }
    if (step.action == Action::down || step.action == Action::move || step.action == Action::up ||
        step.action == Action::drag)
        step.fine = s.boolean("fine", false);
    if (step.action == Action::type || step.action == Action::choose || step.action == Action::press ||
        step.action == Action::nudge)
        step.control = s.text("control");
    if (step.action == Action::type || step.action == Action::choose || step.action == Action::press ||
        step.action == Action::nudge || step.action == Action::pick)
        step.nth = s.integer("nth", 1, 1);
    return step;
}

} // namespace

const char *actionName(Action action) {
    for (const auto &a : actionNames)
        if (a.action == action)
            return a.name;
    return "?";
}

const char *viewName(host::View view) {
    switch (view) {
    case host::View::front: return "front";
    case host::View::top: return "top";
    case host::View::side: return "side";
    }
    return "?";
}

std::string stepPrefix(const Scenario &scenario, const Step &step) {
    return scenario.file + (step.line > 0 ? ":" + std::to_string(step.line) : std::string()) + ": step " +
           std::to_string(step.number) + " (" + actionName(step.action) + "): ";
}

Scenario parseScenario(const std::string &text, const std::string &file, const std::string &folder) {
    const LocatedJson doc = parseLocatedJson(text, file);
    const Fields top(doc, file, doc.value, "", "scenario");
    top.allow({"module", "time", "items", "selection", "viewports", "steps"});

    Scenario scenario;
    scenario.file = file;
    scenario.folder = folder;
    scenario.module = top.text("module");
    scenario.moduleLine = doc.lineOf("module");
    scenario.time = top.number("time", 0.0);

    if (top.has("items")) {
        const json &items = top.at("items");
        if (!items.is_array())
            top.fail("items", "must be a list of items, not " + typeOf(items));
        std::set<std::string> names;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string path = elementPath("items", i);
            const Fields f(doc, file, items[i], path, path);
            scenario.items.push_back(readItem(f));
            if (!names.insert(scenario.items.back().name).second)
                f.fail("name", "\"" + scenario.items.back().name + "\" is the name of an earlier item too; steps name items, so names must differ", false);
        }
    }

    if (top.has("selection")) {
        scenario.selection = top.names("selection");
        requireItems(top, "selection", scenario.selection, scenario.items);
    } else {
        for (const ItemSpec &item : scenario.items)
            scenario.selection.push_back(item.name);
    }

    if (top.has("viewports")) {
        const json &viewports = top.at("viewports");
        if (!viewports.is_array() || viewports.empty())
            top.fail("viewports", "must be a list of at least one viewport");
        for (std::size_t i = 0; i < viewports.size(); ++i) {
            const std::string path = elementPath("viewports", i);
            scenario.viewports.push_back(readViewport(Fields(doc, file, viewports[i], path, path)));
        }
    } else {
        scenario.viewports = {{host::View::front}, {host::View::top}, {host::View::side}};
    }

    top.require("steps");
    const json &steps = top.at("steps");
    if (!steps.is_array())
        top.fail("steps", "must be a list of steps, not " + typeOf(steps));
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::string path = elementPath("steps", i);
        const Fields f(doc, file, steps[i], path, "step " + std::to_string(i + 1));
        Step step = readStep(f, scenario);
        step.number = static_cast<int>(i + 1);
        step.line = doc.lineOf(path);
        scenario.steps.push_back(std::move(step));
    }
    return scenario;
}

Scenario loadScenario(const std::string &path) {
    return parseScenario(readFile(path), path, folderOf(path));
}

} // namespace toolhost
