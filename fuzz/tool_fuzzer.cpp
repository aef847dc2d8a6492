// tool_fuzzer.cpp: the libFuzzer target of one tool module.
//
// The module file is loaded once (FUZZ_MODULE, or the file named by
// KELZU_FUZZ_MODULE) and stays loaded, as Layout keeps it. Every input
// becomes a step sequence on a fresh headless host, with the key rules
// checked after every step. A broken rule aborts, so libFuzzer keeps the
// input; a crash or a sanitizer's report is caught by libFuzzer itself.
// Either way the step the module was in is printed.
#include "sequences.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

extern "C" void __sanitizer_set_death_callback(void (*callback)(void));

namespace {

std::unique_ptr<host::Module> module;
validate::ChannelPolicy policy;
constexpr int maxSteps = 400;

struct AbortingReporter : validate::Reporter {
    std::string step;

    void at(const std::string &s) override { step = s; }
    void broken(const std::string &what) override {
        std::fprintf(stderr, "\nrule broken: %s\n", what.c_str());
        std::abort();
    }
    void note(const std::string &) override {}
};

AbortingReporter *current = nullptr;

void tellStep() {
    if (current) std::fprintf(stderr, "\nthe module was in %s\n", current->step.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    const char *path = std::getenv("KELZU_FUZZ_MODULE");
    if (!path || !*path) path = FUZZ_MODULE;
    std::string error;
    module = host::Module::open(path, error);
    if (!module) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(2);
    }
    policy = validate::policyForServer(module->server().name ? module->server().name : "");
    __sanitizer_set_death_callback(tellStep);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    validate::BufferSource bytes(data, size);
    AbortingReporter reporter;
    current = &reporter;
    validate::runSequence(*module, policy, bytes, reporter, maxSteps);
    current = nullptr;
    return 0;
}
