// validate.h: `toolhost validate`: every check on one module, each in a
// child process, a line per check and a summary.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace validate {

struct Options {
    std::string modulePath;
    std::optional<std::string> channels; // "Position.*,Rotation.H": what the module may key
    std::vector<std::string> checks;     // names to run; empty: all
    std::optional<std::uint64_t> seed;   // the first random sequence's seed; none: from the clock
    double seconds = 10.0;               // how long the random sequences run (at least one runs)
    unsigned timeout = 600;              // seconds a check may take before it counts as hung
    int sequenceSteps = 200;             // steps per random sequence
};

// The names of the checks, in the order they run; "random" last.
std::vector<std::string> checkNames();
// One line per check: its name and what it covers.
void listChecks(std::ostream &out);

// Runs the checks and writes their results to `out`. Returns 0 when every
// check passed, 1 otherwise. Throws std::invalid_argument for options it
// cannot use (an unknown check, an empty channel name).
int validateModule(const Options &options, std::ostream &out);

} // namespace validate
