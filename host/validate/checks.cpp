// checks.cpp: what each check does to the module.
//
// Every check builds its scenes, activates the tool and runs steps through
// a Checker, which checks the scene's keys after each step. Findings and
// notes go to the check's Reporter.
#include "checks.h"

#include "heap.h"
#include "workouts.h"

#include <climits>
#include <functional>
#include <limits>
#include <stdexcept>

namespace validate {

const host::Module &CheckContext::module() {
    if (!module_) {
        std::string error;
        module_ = host::Module::open(path, error);
        if (!module_) throw std::runtime_error(error);
    }
    return *module_;
}

ChannelPolicy CheckContext::policyFor(const host::Module &m) const {
    if (channels_) return *channels_;
    const char *name = m.server().name;
    return policyForServer(name ? name : "");
}

const ChannelPolicy &CheckContext::policy() {
    if (!policy_) policy_ = policyFor(module());
    return *policy_;
}

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

const char *const serviceNames[] = {PANEL_SERVICE_NAME,  VIEWPORT_SERVICE_NAME, INTERFACE_SERVICE_NAME,
                                    ITEM_SERVICE_NAME,   TIME_SERVICE_NAME,     CHANNEL_SERVICE_NAME,
                                    ENVELOPE_SERVICE_NAME};

Session &withScene(Session &session, int items, const char *lacking) {
    standardScene(session, items, lacking);
    return session;
}

// A fresh host with the standard scene of `items` items, `selection`
// selected (none given: all of them), and the tool activated with `faults`.
struct Stage {
    CheckContext &context;
    Session session;
    Checker checker;

    Stage(CheckContext &context, int items, host::Faults faults = {}, const char *lacking = nullptr,
          std::optional<std::vector<int>> selection = std::nullopt)
        : context(context), session(context.module()),
          checker(withScene(session, items, lacking), context.policy(), context.reporter) {
        checker.run(selectStep(selection ? std::move(*selection) : firstItems(items)));
        checker.run(activateStep(std::move(faults)));
    }

    host::Host &host() { return session.host(); }
    void run(const Step &step) { checker.run(step); }
    void run(const std::vector<Step> &steps) { checker.run(steps); }
    // Done, and what the stage did added to the check's summary.
    void finish() {
        checker.run(simpleStep(Action::done));
        const host::Counters &counted = session.host().counters;
        context.steps += checker.steps();
        context.keyWrites += static_cast<long>(counted.keysCreated + counted.keysReplaced + counted.valuesWritten);
    }
};

std::string bytes(long n) { return (n >= 0 ? "+" : "") + std::to_string(n) + " bytes"; }

// Runs `cycle` `warmUp` times, then `times` times, and reports a heap that
// grew by more than the slack over the measured runs.
long heapGrowth(CheckContext &context, const char *what, int warmUp, int times, const std::function<void()> &cycle) {
    for (int i = 0; i < warmUp; ++i) cycle();
    const long before = static_cast<long>(heapInUse());
    for (int i = 0; i < times; ++i) cycle();
    const long growth = static_cast<long>(heapInUse()) - before;
    if (growth > heapSlack)
        context.reporter.broken("the heap grew by " + std::to_string(growth) + " bytes over " + std::to_string(times) +
                                " " + what + " (" + std::to_string(growth / times) + " bytes each)");
    return growth;
}

// Presses every button, then drags: plain, on the origin handle, with the modifier key.
void useValues(Stage &stage) {
    if (host::Panel *panel = stage.session.panel())
        for (std::size_t i = 0; i < panel->controls.size(); ++i)
            if (panel->controls[i].typeName == "ButtonControl") stage.run(simpleStep(Action::work, static_cast<int>(i)));
    stage.run(drag(stage.host(), 0, {{350, 260}, {372, 249}}));
    stage.run(handleDrag(stage.host(), 1, {{331, 250}, {345, 262}}));
    stage.run(drag(stage.host(), 2, {{300, 220}, {290, 230}}, EVENT_FLAG_MODIFIER));
}

Step work(std::size_t control, double number, int position) {
    Step step = simpleStep(Action::work, static_cast<int>(control));
    step.number = number;
    step.position = position;
    return step;
}

const double edgeNumbers[] = {nan, inf, -inf, 1e308, -1e308, 0.0, -0.0, 1e-300, 5e-324, 3.5};

// ---------------------------------------------------------------------------

void checkLoad(CheckContext &context) {
    std::string error;
    auto module = host::Module::open(context.path, error);
    if (!module) {
        context.reporter.broken(error);
        return;
    }
    const char *server = module->server().name;
    const ChannelPolicy policy = context.policyFor(*module);
    context.reporter.note(std::string("server ") + (server ? server : "(no name)") + ", may key " + policy.describe());

    Session session(*module);
    standardScene(session, 3);
    Checker checker(session, policy, context.reporter);
    checker.run(selectStep(firstItems(3)));
    checker.run(activateStep());
    const int result = session.tool()->result();
    if (result != 0) {
        context.reporter.broken("activation on a host that offers everything: " + host::activationResultText(result));
        return;
    }
    checker.run(simpleStep(Action::help));
    const char *help = session.tool()->help();
    host::Panel *panel = session.panel();
    context.reporter.note(std::string("help \"") + (help ? help : "(none)") + "\", " +
                          (panel ? std::to_string(panel->controls.size()) + " controls" : "no panel"));
    checker.run(simpleStep(Action::done));
}

void checkLifecycle(CheckContext &context) {
    const host::Module &module = context.module();
    const ModuleDescriptor &descriptor = module.descriptor();
    auto cycle = [&] {
        void *serverData = descriptor.startup ? descriptor.startup() : nullptr;
        {
            Stage stage(context, 2);
            stage.run(drag(stage.host(), 0, {{350, 260}, {380, 270}}));
            stage.finish();
        }
        if (descriptor.shutdown) descriptor.shutdown(serverData);
    };
    const long growth = heapGrowth(context, "activations", 20, 1000, cycle);
    context.reporter.note("1000 times startup, activation, drag, done, shutdown: heap " + bytes(growth));
}

void checkReload(CheckContext &context) {
    auto cycle = [&] {
        std::string error;
        auto module = host::Module::open(context.path, error);
        if (!module) throw std::runtime_error(error);
        const ChannelPolicy policy = context.policyFor(*module);
        Session session(*module);
        standardScene(session, 2);
        Checker checker(session, policy, context.reporter);
        checker.run(selectStep(firstItems(2)));
        checker.run(activateStep());
        checker.run(drag(session.host(), 0, {{350, 260}, {380, 270}}));
        checker.run(simpleStep(Action::done));
    };
    const long growth = heapGrowth(context, "loads", 5, 100, cycle);
    context.reporter.note("100 loads and unloads: heap " + bytes(growth));
}

void checkEvents(CheckContext &context) {
    Stage stage(context, 3);
    const ToolEvent base = eventAt(stage.host(), 0, 350, 260, 15, -10);
    std::vector<ToolEvent> edges;
    auto edge = [&](auto change) {
        ToolEvent e = base;
        change(e);
        edges.push_back(e);
    };
    const double axes[][3] = {{0, 0, 0},     {1, -1, 0.5},     {nan, 0, 0},        {nan, nan, nan},
                              {inf, 0, 0},   {-inf, inf, -inf}, {1e308, -1e308, 1e-300}};
    for (const auto &a : axes) edge([&](ToolEvent &e) { std::copy(a, a + 3, e.eventAxis); });
    const double positions[][3] = {{nan, nan, nan}, {nan, 1, 2}, {1e308, 1e308, 1e308}, {-1e308, -1e308, -1e308},
                                   {inf, -inf, inf}};
    for (const auto &p : positions) edge([&](ToolEvent &e) { std::copy(p, p + 3, e.eventPosition); });
    const int deltas[][2] = {{0, 0}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}};
    for (int flags : {0, EVENT_FLAG_MODIFIER})
        for (const auto &d : deltas) edge([&](ToolEvent &e) {
            e.deltaX = d[0];
            e.deltaY = d[1];
            e.eventFlags = flags;
        });
    for (int bit = 0; bit < 32; ++bit) edge([&](ToolEvent &e) { e.eventFlags = static_cast<std::int32_t>(1u << bit); });
    edge([](ToolEvent &e) { e.eventFlags = -1; });
    for (int viewport : {-1, 3, 1000, INT_MIN, INT_MAX}) edge([&](ToolEvent &e) { e.viewport = viewport; });

    for (const ToolEvent &e : edges) {
        // Each callback on its own, then inside a drag that began well,
        // then inside a drag of the origin handle.
        for (Action a : {Action::start, Action::down, Action::move, Action::move, Action::up}) stage.run(eventStep(a, e));
        stage.run(eventStep(Action::down, base));
        stage.run(eventStep(Action::move, e));
        stage.run(eventStep(Action::up, e));
        ToolEvent press{};
        press.viewport = 0;
        stage.run(eventStep(Action::pressHandle, press));
        stage.run(eventStep(Action::move, e));
        stage.run(eventStep(Action::up, e));
    }
    for (int index : {0, -1, 1, 3, INT_MIN, INT_MAX}) {
        stage.run(simpleStep(Action::draw, index));
        stage.run(simpleStep(Action::handle, index));
        stage.run(simpleStep(Action::adjust, index));
        stage.run(simpleStep(Action::event, index));
    }
    for (Action query : {Action::help, Action::dirty, Action::count}) stage.run(simpleStep(query));
    workout(stage.checker);
    stage.finish();
    context.reporter.note(std::to_string(edges.size()) + " edge events through every callback");
}

void checkGrid(CheckContext &context) {
    Stage stage(context, 3);
    const double far[][3] = {{1e308, -1e308, 1e308}, {nan, 0.3, nan}, {2.1e8, -2.2e8, 4e9}, {0.37, -0.43, 5}};
    for (double g : {0.0, -1.0, nan, 1e-300, 1e300, inf, -inf, 5e-324, 0.5}) {
        stage.run(numberStep(Action::setGrid, g, -1));
        for (int v = 0; v < 3; ++v) {
            stage.run(handleDrag(stage.host(), v, {{335, 245}, {352, 231}, {1e7, -1e7}}, EVENT_FLAG_MODIFIER));
            ToolEvent press{};
            press.viewport = v;
            press.eventFlags = EVENT_FLAG_MODIFIER;
            stage.run(eventStep(Action::pressHandle, press));
            for (const auto &p : far) {
                ToolEvent e = eventAt(stage.host(), v, 340, 250, 5, 5, EVENT_FLAG_MODIFIER);
                std::copy(p, p + 3, e.eventPosition);
                stage.run(eventStep(Action::move, e));
            }
            stage.run(eventStep(Action::up, eventAt(stage.host(), v, 340, 250, 5, 5, EVENT_FLAG_MODIFIER)));
            stage.run(drag(stage.host(), v, {{350, 260}, {380, 210}}, EVENT_FLAG_MODIFIER));
        }
        useValues(stage);
    }
    stage.finish();
}

void checkControls(CheckContext &context) {
    Stage stage(context, 3);
    host::Panel *panel = stage.session.panel();
    if (!panel) {
        context.reporter.note("no panel");
        return;
    }
    const std::size_t controls = panel->controls.size();
    for (std::size_t i = 0; i < controls; ++i) {
        const host::Control &c = panel->controls[i];
        const int entries = static_cast<int>(c.entries.size());
        if (c.typeName == "FloatControl") {
            for (double v : edgeNumbers) {
                stage.run(work(i, v, 0));
                useValues(stage);
            }
        } else if (c.typeName == "ChoiceControl") {
            for (int index : {-1, entries, entries + 1, INT_MAX, INT_MIN, 0}) {
                stage.run(work(i, 0, index));
                useValues(stage);
            }
        } else if (c.typeName == "DragButtonControl") {
            // Jumps between the ends of the range, then a stand-still.
            for (int position : {0, INT_MIN, INT_MAX, INT_MIN, INT_MAX, INT_MAX, 0, 0}) stage.run(work(i, 0, position));
            useValues(stage);
        } else if (c.typeName == "LWListControl") {
            for (int item = -1; item < static_cast<int>(stage.session.items().size()); ++item) {
                stage.run(work(i, 0, item));
                useValues(stage);
            }
        } else {
            stage.run(work(i, 0, 0));
            useValues(stage);
        }
    }
    // Every field at once at each edge value.
    for (double v : edgeNumbers) {
        for (std::size_t i = 0; i < controls; ++i)
            if (panel->controls[i].typeName == "FloatControl") stage.run(work(i, v, 0));
        useValues(stage);
    }
    workout(stage.checker);
    stage.finish();
    context.reporter.note(std::to_string(controls) + " controls");
}

void checkClosedPanel(CheckContext &context) {
    Stage stage(context, 3);
    host::Panel *panel = stage.session.panel();
    if (!panel) {
        context.reporter.note("no panel");
        return;
    }
    stage.run(simpleStep(Action::closePanel));
    for (std::size_t i = 0; i < panel->controls.size(); ++i) {
        for (double v : {2.0, nan, 1e308}) stage.run(work(i, v, 0));
        for (int position : {-1, 0, 1, 40, INT_MAX}) stage.run(work(i, 0, position));
    }
    workout(stage.checker);
    stage.finish();
}

void checkSelection(CheckContext &context, int items, std::vector<int> selection) {
    Stage stage(context, items, {}, nullptr, std::move(selection));
    workout(stage.checker);
    stage.finish();
}

void checkEmptySelection(CheckContext &context) { checkSelection(context, 3, {}); }
void checkOneItem(CheckContext &context) { checkSelection(context, 3, {1}); }
void checkRepeatedItems(CheckContext &context) { checkSelection(context, 3, {0, 0, 1, 2, 1, 1}); }

void checkManyItems(CheckContext &context) {
    constexpr int count = 10000;
    Stage stage(context, count);
    for (int v = 0; v < 3; ++v) stage.run(drag(stage.host(), v, {{350, 260}, {380, 270}, {310, 230}}));
    stage.run(workEveryControl(stage.session));
    stage.finish();
    context.reporter.note(std::to_string(count) + " items selected");
}

void checkMissingChannels(CheckContext &context) {
    for (const char *channel : host::defaultChannelNames) {
        Stage stage(context, 3, {}, channel);
        stage.checker.setLabel(std::string("item 0 without ") + channel + ", ");
        workout(stage.checker);
        stage.finish();
    }
    context.reporter.note("item 0 without each of its 9 channels in turn");
}

void checkMissingServices(CheckContext &context) {
    std::vector<host::Faults> cases;
    host::Faults all;
    for (const char *name : serviceNames) {
        cases.push_back(host::Faults{{name}, false, -1});
        all.missingServices.emplace_back(name);
    }
    cases.push_back(all);
    for (const host::Faults &faults : cases) {
        Stage stage(context, 3, faults);
        stage.checker.setLabel(describe(activateStep(faults)).substr(sizeof "activate") + ", ");
        workout(stage.checker);
        stage.finish();
    }
    context.reporter.note("each of the 7 services missing in turn, then all of them");
}

void checkPanelRefused(CheckContext &context) {
    Stage stage(context, 3);
    host::Faults refused;
    refused.createPanelFails = true;
    int results[3] = {0, 0, 0};
    const long growth = heapGrowth(context, "refused activations", 5, 100, [&] {
        stage.host().serviceRequests.clear(); // the host's own log, not the module's memory
        stage.run(activateStep(refused));
        ++results[std::min(std::max(stage.session.tool()->result(), 0), 2)];
        stage.run(drag(stage.host(), 0, {{350, 260}, {380, 270}}));
    });
    workout(stage.checker); // the tool after a refused panel, then a good activation
    stage.run(activateStep());
    workout(stage.checker);
    stage.finish();
    context.reporter.note("createPanel refused 105 times (activation results: " + std::to_string(results[0]) +
                          " times 0, " + std::to_string(results[1]) + " times 1, " + std::to_string(results[2]) +
                          " times 2 or more): heap " + bytes(growth));
}

void checkControlRefused(CheckContext &context) {
    int calls = 0;
    {
        Stage probe(context, 0);
        if (host::Panel *panel = probe.session.panel()) calls = panel->addControlCalls;
        probe.finish();
    }
    for (int failing = 0; failing < calls; ++failing) {
        host::Faults faults;
        faults.addControlFailsAt = failing;
        Stage stage(context, 3, faults);
        stage.checker.setLabel("addControl call " + std::to_string(failing) + " refused, ");
        workout(stage.checker);
        stage.finish();
    }
    context.reporter.note(calls ? "each of the " + std::to_string(calls) + " addControl calls refused in turn"
                                : std::string("no addControl calls to refuse"));
}

} // namespace

const std::vector<CheckInfo> &checkList() {
    static const std::vector<CheckInfo> checks = {
        {"load", "the module loads, starts, activates on a full host, answers help and is done", checkLoad},
        {"lifecycle", "startup, activation, a drag, done and shutdown 1000 times without heap growth", checkLifecycle},
        {"reload", "the module loaded and unloaded 100 times without heap growth", checkReload},
        {"events", "every callback with edge events: axes, positions, deltas, flag bits, viewports", checkEvents},
        {"grid", "modifier-key drags and origin drags under grid sizes 0, negative, NaN, tiny, huge", checkGrid},
        {"controls", "every control with edge values: NaN, infinities, huge, zeros, bad indices, jumps",
         checkControls},
        {"closed-panel", "controls and drags after the user closed the panel", checkClosedPanel},
        {"selection-empty", "the whole workout with nothing selected", checkEmptySelection},
        {"selection-one", "the whole workout with one item selected", checkOneItem},
        {"selection-10000", "drags and every control with 10,000 items selected", checkManyItems},
        {"selection-repeated", "the same items several times in the selection", checkRepeatedItems},
        {"missing-channels", "an item lacking each of its channels in turn", checkMissingChannels},
        {"missing-services", "each host service missing in turn, then all", checkMissingServices},
        {"panel-refused", "createPanel failing, 105 activations without heap growth", checkPanelRefused},
        {"control-refused", "addControl failing at each control in turn", checkControlRefused},
    };
    return checks;
}

} // namespace validate
