// child.h: running one check in a child process, so that a crash, a
// sanitizer's report or a hang in the module ends the child and is
// reported, not the validator.
#pragma once

#include "checker.h"

#include <functional>
#include <string>
#include <vector>

namespace validate {

struct ChildOutcome {
    enum class Status {
        passed,   // the body ran to its end and every rule held
        failed,   // the body ran to its end and some rule did not hold
        crashed,  // the child died: a signal, or an exit of its own (a sanitizer's report is on stderr)
        timedOut, // the child ran longer than it was given
        error,    // the body threw: the validator could not do what it meant to
    };
    Status status = Status::crashed;
    std::vector<std::string> findings; // the first few broken rules, or the error
    long findingCount = 0;             // all of them
    std::vector<std::string> notes;
    std::string lastStep; // the step the child was in when it died
    std::string death;    // "signal 11 (Segmentation fault)", "exit status 1"
};

// Runs `body` in a child process with a fresh copy of this one and waits
// for it, at most `timeoutSeconds` (0: no limit). The body reports through
// the Reporter it is given. Under AddressSanitizer the child also looks for
// leaks when the body has returned: a leak is a finding.
ChildOutcome runInChild(const std::function<void(Reporter &)> &body, unsigned timeoutSeconds);

// "passed", "FAILED", "CRASHED", "TIMED OUT", "ERROR".
const char *statusWord(ChildOutcome::Status status);

} // namespace validate
