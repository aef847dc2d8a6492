// validate.cpp: runs the checks in child processes and reports them.
#include "validate.h"

#include "checks.h"
#include "child.h"
#include "sequences.h"

#include <algorithm>
#include <chrono>
#include <iomanip>
#include <ostream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace validate {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t findingsShown = 10;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string seconds(double s) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(1) << s << " s";
    return out.str();
}

std::string joined(const std::vector<std::string> &parts) {
    std::string out;
    for (const std::string &p : parts) out += (out.empty() ? "" : "; ") + p;
    return out;
}

// "pass  events  ...", then for a check that did not pass, what went wrong.
void printOutcome(std::ostream &out, const std::string &name, const ChildOutcome &o, double took,
                  const std::string &extra = "") {
    const bool passed = o.status == ChildOutcome::Status::passed;
    out << (passed ? "pass  " : "FAIL  ") << std::left << std::setw(20) << name << ' ';
    if (passed) {
        out << joined(o.notes) << (o.notes.empty() ? "" : " ") << "(" << seconds(took) << ")\n";
        return;
    }
    switch (o.status) {
    case ChildOutcome::Status::failed:
        out << o.findingCount << (o.findingCount == 1 ? " rule" : " rules") << " broken";
        break;
    case ChildOutcome::Status::crashed: out << "crashed: " << o.death; break;
    case ChildOutcome::Status::timedOut: out << "hung: " << o.death; break;
    case ChildOutcome::Status::error: out << "could not run"; break;
    case ChildOutcome::Status::passed: break;
    }
    out << " (" << seconds(took) << ")\n";
    if (!extra.empty()) out << "      " << extra << "\n";
    for (std::size_t i = 0; i < o.findings.size() && i < findingsShown; ++i) out << "      " << o.findings[i] << "\n";
    if (o.findingCount > static_cast<long>(std::min(o.findings.size(), findingsShown)))
        out << "      ... and " << o.findingCount - static_cast<long>(std::min(o.findings.size(), findingsShown))
            << " more, repeats included\n";
    if (o.status == ChildOutcome::Status::crashed || o.status == ChildOutcome::Status::timedOut) {
        out << "      in " << (o.lastStep.empty() ? "the module's load or activation" : o.lastStep) << "\n";
        if (o.status == ChildOutcome::Status::crashed)
            out << "      (a sanitizer's report, if any, is on stderr)\n";
    }
}

std::optional<ChannelPolicy> channelsOf(const Options &options) {
    if (!options.channels) return std::nullopt;
    return policyFromList(*options.channels);
}

} // namespace

std::vector<std::string> checkNames() {
    std::vector<std::string> names;
    for (const CheckInfo &check : checkList()) names.emplace_back(check.name);
    names.emplace_back("random");
    return names;
}

void listChecks(std::ostream &out) {
    for (const CheckInfo &check : checkList()) out << std::left << std::setw(20) << check.name << ' ' << check.covers << "\n";
    out << std::left << std::setw(20) << "random" << ' '
        << "seeded random sequences of all of the above, for --seconds\n";
}

int validateModule(const Options &options, std::ostream &out) {
    const std::optional<ChannelPolicy> channels = channelsOf(options);
    const std::vector<std::string> known = checkNames();
    for (const std::string &name : options.checks)
        if (std::find(known.begin(), known.end(), name) == known.end())
            throw std::invalid_argument("no check \"" + name + "\" (see --list)");
    auto wanted = [&](const std::string &name) {
        return options.checks.empty() || std::find(options.checks.begin(), options.checks.end(), name) !=
                                             options.checks.end();
    };

    out << "validating " << options.modulePath << "\n";
    int ran = 0, passed = 0;
    bool loads = true;
    for (const CheckInfo &check : checkList()) {
        // "load" always runs: the others need a module that loads.
        if (check.name != std::string("load") && (!loads || !wanted(check.name))) continue;
        const Clock::time_point start = Clock::now();
        const ChildOutcome outcome = runInChild(
            [&](Reporter &reporter) {
                CheckContext context(options.modulePath, channels, reporter);
                check.run(context);
                if (context.steps > 0)
                    reporter.note(std::to_string(context.steps) + " steps, " + std::to_string(context.keyWrites) +
                                  " key writes");
            },
            options.timeout);
        ++ran;
        passed += outcome.status == ChildOutcome::Status::passed;
        printOutcome(out, check.name, outcome, secondsSince(start));
        if (check.name == std::string("load") && outcome.status != ChildOutcome::Status::passed) {
            loads = false;
            out << "      the other checks need a module that loads: skipped\n";
        }
        out.flush();
    }

    if (loads && wanted("random")) {
        const std::uint64_t first = options.seed ? *options.seed : std::random_device{}();
        out << "random sequences from seed " << first << " (replay one with --check random --seed N --seconds 0)\n";
        const Clock::time_point start = Clock::now();
        std::uint64_t seed = first;
        long steps = 0;
        int sequences = 0;
        ChildOutcome outcome;
        do {
            outcome = runInChild(
                [&](Reporter &reporter) {
                    CheckContext context(options.modulePath, channels, reporter);
                    SeededSource source(seed);
                    runSequence(context.module(), context.policy(), source, reporter, options.sequenceSteps);
                },
                options.timeout);
            ++sequences;
            for (const std::string &note : outcome.notes)
                if (note.rfind("steps ", 0) == 0) steps += std::stol(note.substr(6));
            if (outcome.status != ChildOutcome::Status::passed) break;
            ++seed;
        } while (secondsSince(start) < options.seconds);
        ++ran;
        const double took = secondsSince(start);
        if (outcome.status == ChildOutcome::Status::passed) {
            ++passed;
            outcome.notes = {std::to_string(sequences) + (sequences == 1 ? " sequence" : " sequences") + " (seeds " + std::to_string(first) + " to " +
                             std::to_string(seed - 1) + "), " + std::to_string(steps) + " steps"};
            printOutcome(out, "random", outcome, took);
        } else {
            printOutcome(out, "random", outcome, took,
                         "sequence of seed " + std::to_string(seed) + "; replay: toolhost validate " +
                             options.modulePath + " --check random --seed " + std::to_string(seed) + " --seconds 0");
        }
    }

    out << ran << (ran == 1 ? " check: " : " checks: ") << passed << " passed, " << ran - passed << " failed\n";
    return passed == ran ? 0 : 1;
}

} // namespace validate
