// Whole validations of small foreign modules: a sound one passes every
// check, and each deliberately broken one fails, with the check that caught
// it and what it found.
#include "validate.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Validation {
    int status;
    std::string report;
};

Validation validateWith(const char *module, std::vector<std::string> checks, double seconds = 0.0,
                 std::optional<std::uint64_t> seed = 1) {
    validate::Options options;
    options.modulePath = module;
    options.checks = std::move(checks);
    options.seconds = seconds;
    options.seed = seed;
    options.timeout = 120;
    std::ostringstream out;
    const int status = validate::validateModule(options, out);
    return {status, out.str()};
}

} // namespace

TEST(BrokenModules, EachFaultIsCaughtByItsCheck) {
    struct Case {
        const char *module;
        const char *check;
        std::vector<const char *> expected; // parts of the report, in order
    };
    const Case cases[] = {
        {BROKEN_KEYS_NAN, "selection-one", {"FAIL  selection-one", "item 1 Position.X: a key added at t=1 holds nan"}},
        {BROKEN_KEYS_SCALE, "selection-one",
         {"FAIL  selection-one", "item 1 Scale.X: a key added at t=1 on a channel the module may not key"}},
        {BROKEN_KEYS_OTHER_TIME, "selection-one",
         {"FAIL  selection-one", "item 1 Position.X: the key at t=2 changed, not at the current time 1"}},
        {BROKEN_EMPTY_SELECTION, "selection-empty", {"FAIL  selection-empty", "crashed: ", "in step 3 (down in viewport 0"}},
        {BROKEN_KEEPS_PANEL, "load", {"FAIL  load", "panel \"Broken\" outlived its activation"}},
        {BROKEN_KEYS_NAN, "random",
         {"FAIL  random", "replay: toolhost validate " BROKEN_KEYS_NAN " --check random --seed ", "holds nan"}},
    };
    for (const Case &c : cases) {
        const Validation run = validateWith(c.module, {c.check});
        EXPECT_EQ(run.status, 1) << run.report;
        std::size_t at = 0;
        for (const char *part : c.expected) {
            at = run.report.find(part, at);
            ASSERT_NE(at, std::string::npos) << c.check << ": no \"" << part << "\" in\n" << run.report;
        }
    }
}

TEST(BrokenModules, ALeakIsFoundByTheHeapsGrowthOrByTheLeakSanitizer) {
    // Without a sanitizer 1000 activations show the growth; under
    // LeakSanitizer the first activation's block is already found.
    const Validation run = validateWith(BROKEN_LEAKS, {"lifecycle"});
    EXPECT_EQ(run.status, 1) << run.report;
    const bool grew = run.report.find("FAIL  lifecycle") != std::string::npos &&
                      run.report.find("the heap grew by") != std::string::npos;
    const bool leaked = run.report.find("memory leaked: LeakSanitizer's report is on stderr") != std::string::npos;
    EXPECT_TRUE(grew || leaked) << run.report;
}

TEST(BrokenModules, TheCrashOnAnEmptySelectionLeavesTheOtherChecksStanding) {
    const Validation run = validateWith(BROKEN_EMPTY_SELECTION, {"selection-empty", "selection-one"});
    EXPECT_NE(run.report.find("FAIL  selection-empty"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("pass  selection-one"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("3 checks: 2 passed, 1 failed"), std::string::npos) << run.report;
}

TEST(BrokenModules, ASoundForeignModulePassesEveryCheck) {
    const Validation run = validateWith(SOUND_TOOL, {}, 1.0, std::nullopt);
    EXPECT_EQ(run.status, 0) << run.report;
    EXPECT_NE(run.report.find("16 checks: 16 passed, 0 failed"), std::string::npos) << run.report;
}

TEST(BrokenModules, AFileThatIsNoModuleFailsToLoadAndTheRestIsSkipped) {
    const Validation run = validateWith("/dev/null", {});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.report.find("FAIL  load"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("skipped"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("1 check: 0 passed, 1 failed"), std::string::npos) << run.report;
}
