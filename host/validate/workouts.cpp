// workouts.cpp: scenes and step runs shared by the checks.
#include "workouts.h"

#include <string_view>

namespace validate {

void standardScene(Session &session, int count, const char *lacking) {
    auto addOne = [&](const std::string &name, int i, bool keyed, bool without) {
        const double s = static_cast<double>(i);
        const host::Vec3 position{1.5 * s - 2.0, 0.25 * s + 1.0, 3.0 - 0.75 * s};
        const host::Vec3 rotation{0.1 * s, -0.05 * s, 0.2};
        host::Item *item;
        if (without) {
            std::vector<std::pair<std::string, double>> channels;
            const double defaults[9] = {position[0], position[1], position[2], rotation[0], rotation[1],
                                        rotation[2], 1.0,         1.0,         1.0};
            for (std::size_t c = 0; c < host::defaultChannelNames.size(); ++c)
                if (std::string(host::defaultChannelNames[c]) != lacking)
                    channels.emplace_back(host::defaultChannelNames[c], defaults[c]);
            item = &session.addItem(name, channels);
        } else {
            item = &session.addItem(name, position, rotation);
        }
        if (!keyed) return;
        for (host::Channel &channel : item->channels) {
            const double v = channel.envelope.defaultValue();
            channel.envelope.setKey(0.0, v - 0.5);
            channel.envelope.setKey(2.0, v + 0.5);
            if (i == 0 && std::string_view(channel.name).rfind("Scale.", 0) != 0) channel.envelope.setKey(1.0, v);
        }
    };
    for (int i = 0; i < count; ++i) addOne("item " + std::to_string(i), i, i < 100, i == 0 && lacking);
    addOne("bystander 0", 7, true, false);
    addOne("bystander 1", -3, true, false);
    session.scene().setTime(1.0);
}

std::vector<int> firstItems(int count) {
    std::vector<int> items(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) items[static_cast<std::size_t>(i)] = i;
    return items;
}

Step selectStep(std::vector<int> items) {
    Step step;
    step.action = Action::select;
    step.items = std::move(items);
    return step;
}

Step activateStep(host::Faults faults) {
    Step step;
    step.action = Action::activate;
    step.faults = std::move(faults);
    return step;
}

Step simpleStep(Action action, int index) {
    Step step;
    step.action = action;
    step.index = index;
    return step;
}

Step numberStep(Action action, double number, int index) {
    Step step = simpleStep(action, index);
    step.number = number;
    return step;
}

Step eventStep(Action action, const ToolEvent &event) {
    Step step;
    step.action = action;
    step.event = event;
    return step;
}

namespace {

std::vector<Step> movesAndUp(const host::Host &host, int viewport, const std::vector<std::array<double, 2>> &pixels,
                             std::size_t from, int flags) {
    std::vector<Step> steps;
    if (pixels.empty()) return steps;
    const auto &first = pixels.front();
    auto at = [&](const std::array<double, 2> &p) {
        return eventAt(host, viewport, p[0], p[1], static_cast<int>(p[0] - first[0]), static_cast<int>(p[1] - first[1]),
                       flags);
    };
    for (std::size_t i = from; i < pixels.size(); ++i) steps.push_back(eventStep(Action::move, at(pixels[i])));
    steps.push_back(eventStep(Action::up, at(pixels.back())));
    return steps;
}

} // namespace

std::vector<Step> drag(const host::Host &host, int viewport, const std::vector<std::array<double, 2>> &pixels,
                       int flags) {
    std::vector<Step> steps;
    if (pixels.empty()) return steps;
    steps.push_back(eventStep(Action::down, eventAt(host, viewport, pixels[0][0], pixels[0][1], 0, 0, flags)));
    for (Step &s : movesAndUp(host, viewport, pixels, 1, flags)) steps.push_back(std::move(s));
    return steps;
}

std::vector<Step> handleDrag(const host::Host &host, int viewport, const std::vector<std::array<double, 2>> &pixels,
                             int flags) {
    ToolEvent press{};
    press.viewport = viewport;
    press.eventFlags = flags;
    std::vector<Step> steps{eventStep(Action::pressHandle, press)};
    for (Step &s : movesAndUp(host, viewport, pixels, 0, flags)) steps.push_back(std::move(s));
    return steps;
}

std::vector<Step> workEveryControl(Session &session) {
    std::vector<Step> steps;
    host::Panel *panel = session.panel();
    if (!panel) return steps;
    auto work = [&](std::size_t index, double number, int position) {
        Step step = simpleStep(Action::work, static_cast<int>(index));
        step.number = number;
        step.position = position;
        steps.push_back(step);
    };
    for (std::size_t i = 0; i < panel->controls.size(); ++i) {
        const host::Control &c = panel->controls[i];
        if (c.typeName == "FloatControl") {
            work(i, 2.0, 0);
        } else if (c.typeName == "ChoiceControl") {
            for (std::size_t e = c.entries.size(); e-- > 0;) work(i, 0, static_cast<int>(e));
        } else if (c.typeName == "DragButtonControl") {
            for (int position : {10, 20, 30, 25}) work(i, 0, position);
        } else if (c.typeName == "LWListControl") {
            for (std::size_t item = 0; item < session.items().size() && item < 4; ++item)
                work(i, 0, static_cast<int>(item));
            work(i, 0, -1);
        } else {
            work(i, 0, 0);
        }
    }
    return steps;
}

void workout(Checker &checker) {
    const host::Host &host = checker.session().host();
    for (int v = 0; v < static_cast<int>(host.viewports.size()); ++v) {
        checker.run(drag(host, v, {{350, 260}, {380, 270}, {410, 215}, {300, 290}}));
        checker.run(drag(host, v, {{330, 250}, {345, 235}}, EVENT_FLAG_MODIFIER));
        checker.run(handleDrag(host, v, {{335, 245}, {352, 231}}));
    }
    checker.run(workEveryControl(checker.session()));
    checker.run(simpleStep(Action::draw, 0));
    checker.run(numberStep(Action::setTime, 2.0));
    checker.run(drag(host, 0, {{350, 260}, {390, 240}}));
    checker.run(workEveryControl(checker.session())); // Apply again, at the new time
    for (Action query : {Action::help, Action::dirty, Action::count}) checker.run(simpleStep(query));
    checker.run(simpleStep(Action::handle, 0));
    checker.run(simpleStep(Action::adjust, 0));
    checker.run(simpleStep(Action::event, TOOL_EVENT_REFRESH));
    checker.run(numberStep(Action::setTime, 1.0));
}

} // namespace validate
