// checker.h: runs steps on a session and checks the scene's keys after
// each one.
#pragma once

#include "channel_policy.h"
#include "invariants.h"
#include "session.h"

#include <string>
#include <vector>

namespace validate {

// Where a check's findings go: a child process's pipe, a fuzzer's abort, a
// test's list.
struct Reporter {
    virtual ~Reporter() = default;
    // The step about to run, so that a crash can be placed.
    virtual void at(const std::string &step) = 0;
    // A rule that did not hold.
    virtual void broken(const std::string &what) = 0;
    // A fact for the check's summary line.
    virtual void note(const std::string &text) = 0;
};

class Checker {
public:
    // Build the scene first: the checker's first snapshot is taken here.
    Checker(Session &session, const ChannelPolicy &policy, Reporter &reporter);

    // What the findings of the following steps begin with ("without
    // Position.X: "), to tell the variants of one check apart.
    void setLabel(std::string label) { label_ = std::move(label); }

    void run(const Step &step);
    void run(const std::vector<Step> &steps);

    Session &session() { return session_; }
    int steps() const { return steps_; }
    int findings() const { return findings_; }

private:
    Session &session_;
    const ChannelPolicy &policy_;
    Reporter &reporter_;
    KeySnapshot last_;
    std::string label_;
    int steps_ = 0;
    int findings_ = 0;

    void report(const std::string &where, const std::string &what);
    void checkPanels(const Step &step, const std::string &where);
};

} // namespace validate
