// checker.cpp: a step, then the rules.
#include "checker.h"

namespace validate {

Checker::Checker(Session &session, const ChannelPolicy &policy, Reporter &reporter)
    : session_(session), policy_(policy), reporter_(reporter), last_(takeSnapshot(session.scene())) {}

void Checker::run(const std::vector<Step> &steps) {
    for (const Step &step : steps) run(step);
}

void Checker::run(const Step &step) {
    ++steps_;
    const std::string where = label_ + "step " + std::to_string(steps_) + " (" + session_.describe(step) + ")";
    reporter_.at(where);
    session_.apply(step);

    host::Scene &scene = session_.scene();
    KeySnapshot now = takeSnapshot(scene);
    const StepRules rules{scene.time(), &session_.keyable(), &policy_};
    for (const std::string &what : brokenRules(scene, last_, now, rules)) report(where, what);
    last_ = std::move(now);
    checkPanels(step, where);
}

void Checker::report(const std::string &where, const std::string &what) {
    ++findings_;
    reporter_.broken(where + ": " + what);
}

// A panel lives as long as its activation: once the host is done with a
// tool, or an activation failed, nothing of it may stay on the screen.
void Checker::checkPanels(const Step &step, const std::string &where) {
    const bool activated = step.action == Action::activate;
    if (!activated && step.action != Action::done) return;
    auto &panels = session_.host().panels;
    const bool keepLast = activated && session_.active();
    for (std::size_t i = 0; i < panels.size(); ++i) {
        if (keepLast && i + 1 == panels.size()) break;
        host::Panel &panel = panels[i];
        if (!panel.destroyed) {
            report(where, "panel \"" + panel.title + "\" outlived its activation (never destroyed)");
            panel.destroyed = true; // reported once
            panel.open = false;
        }
    }
}

} // namespace validate
