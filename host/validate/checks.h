// checks.h: the conformance and stress checks, each run in a child process.
#pragma once

#include "checker.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace validate {

// What a check is given inside its child process.
class CheckContext {
public:
    CheckContext(std::string modulePath, std::optional<ChannelPolicy> channels, Reporter &reporter)
        : path(std::move(modulePath)), reporter(reporter), channels_(std::move(channels)) {}

    const std::string path;
    Reporter &reporter;
    // What the check did, for its summary line.
    long steps = 0;
    long keyWrites = 0;

    // The module, opened on first use and kept open for the whole check.
    // Throws std::runtime_error with the loader's reason when it will not
    // load.
    const host::Module &module();
    // The channels the given module may key: those named by the user, or
    // those its server name implies.
    ChannelPolicy policyFor(const host::Module &module) const;
    const ChannelPolicy &policy();

private:
    std::optional<ChannelPolicy> channels_;
    std::unique_ptr<host::Module> module_;
    std::optional<ChannelPolicy> policy_;
};

struct CheckInfo {
    const char *name;
    const char *covers; // one line for --list
    void (*run)(CheckContext &context);
};

// Every check but the random runs, in the order they run; "load" first.
const std::vector<CheckInfo> &checkList();

// Heap growth a loop may show without being taken for a leak: what the
// allocator and the loader keep for themselves.
constexpr long heapSlack = 16 * 1024;

} // namespace validate
