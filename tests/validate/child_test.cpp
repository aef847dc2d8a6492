// Checks run in child processes: whatever the body does, the parent gets
// an outcome that says what happened and where.
#include "child.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

using validate::ChildOutcome;
using validate::Reporter;
using validate::runInChild;
using Status = ChildOutcome::Status;

TEST(RunInChild, TellsHowTheChildEnded) {
    struct Case {
        const char *what;
        void (*body)(Reporter &);
        Status status;
        const char *lastStep;
    };
    const Case cases[] = {
        {"every rule held", [](Reporter &r) { r.at("step 1 (down)"); }, Status::passed, "after the last step"},
        {"a rule broken", [](Reporter &r) { r.broken("cube Position.X: NaN"); }, Status::failed, "after the last step"},
        {"the body threw", [](Reporter &) { throw std::runtime_error("no such scene"); }, Status::error, ""},
        {"the module crashed",
         [](Reporter &r) {
             r.at("step 3 (move)");
             std::abort();
         },
         Status::crashed, "step 3 (move)"},
        {"the module hung",
         [](Reporter &r) {
             r.at("step 9 (up)");
             for (volatile bool forever = true; forever;) {
             }
         },
         Status::timedOut, "step 9 (up)"},
    };
    for (const Case &c : cases) {
        const ChildOutcome outcome = runInChild(c.body, 2);
        EXPECT_EQ(outcome.status, c.status) << c.what << ": " << validate::statusWord(outcome.status);
        EXPECT_EQ(outcome.lastStep.rfind(c.lastStep, 0), 0u) << c.what << ": " << outcome.lastStep;
    }
}

TEST(RunInChild, NamesTheSignalThatEndedIt) {
    const ChildOutcome outcome = runInChild([](Reporter &) { std::abort(); }, 0);
    ASSERT_EQ(outcome.status, Status::crashed);
    EXPECT_EQ(outcome.death.rfind("signal 6", 0), 0u) << outcome.death;
}

TEST(RunInChild, KeepsTheFirstFindingsAndCountsThemAll) {
    const ChildOutcome outcome = runInChild(
        [](Reporter &r) {
            r.note("12 controls");
            for (int i = 0; i < 25; ++i) r.broken("finding " + std::to_string(i) + "\nsecond line");
        },
        0);
    EXPECT_EQ(outcome.status, Status::failed);
    EXPECT_EQ(outcome.findingCount, 25);
    ASSERT_EQ(outcome.findings.size(), 20u);
    EXPECT_EQ(outcome.findings[0], "finding 0 second line");
    EXPECT_EQ(outcome.notes, std::vector<std::string>{"12 controls"});
}
