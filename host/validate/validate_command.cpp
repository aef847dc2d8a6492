// validate_command.cpp: `toolhost validate MODULE`: the conformance and
// stress checks on one tool module, each in a child process.
#include "validate_command.h"

#include "input_error.h"
#include "modules.h"
#include "validate.h"

#include <CLI/CLI.hpp>

#include <sys/stat.h>

#include <cmath>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace toolhost {

namespace {

struct ValidateArguments {
    std::string module;
    bool list = false;
    validate::Options options;
    std::string channels;
};

void runValidate(ValidateArguments &args) {
    if (args.list) {
        validate::listChecks(std::cout);
        return;
    }
    if (args.module.empty()) throw InputError("validate: name a module (a tool name or a module file)");
    if (!std::isfinite(args.options.seconds) || args.options.seconds < 0)
        throw InputError("validate: --seconds must be a number of seconds, 0 or more");
    args.options.modulePath = modulePath(args.module, ".");
    struct stat info {};
    if (stat(args.options.modulePath.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        throw InputError("validate: no module file " + args.options.modulePath);
    if (!args.channels.empty()) args.options.channels = args.channels;

    int status;
    try {
        status = validate::validateModule(args.options, std::cout);
    } catch (const std::invalid_argument &e) {
        throw InputError(std::string("validate: ") + e.what());
    }
    if (status != 0) throw std::runtime_error("validate: " + args.options.modulePath + " did not pass every check");
}

} // namespace

void addValidateCommand(CLI::App &app) {
    auto args = std::make_shared<ValidateArguments>();
    CLI::App *cmd = app.add_subcommand(
        "validate",
        "Check a tool module (ours or another's) for sound behaviour: each check runs in a child process, and after "
        "every step the scene's keys must hold no NaN or infinity, change only at the current time, only on items "
        "that were selected and only on channels the module may key, and never be removed. Exit status 0 only when "
        "every check passed.");
    cmd->add_option("module", args->module, "A tool name (pellwyn, tamsery, vestral) or a module file");
    cmd->add_option("--check", args->options.checks, "Run only these checks (repeat, or separate by commas); "
                                                     "\"load\" always runs")
        ->delimiter(',')
        ->type_name("NAME");
    cmd->add_option("--seed", args->options.seed, "The first random sequence's seed (default: a fresh one, printed)");
    cmd->add_option("--seconds", args->options.seconds, "How long the random sequences run; at least one runs")
        ->capture_default_str();
    cmd->add_option("--timeout", args->options.timeout, "Seconds a check may run before it counts as hung")
        ->capture_default_str();
    cmd->add_option("--channels", args->channels,
                    "The channels the module may key, by name, \"Position.*\" for a group (default: those of "
                    "pellwyn, tamsery or vestral by the module's server name, for any other module every channel "
                    "but Scale.*)")
        ->type_name("LIST");
    cmd->add_flag("--list", args->list, "List the checks and what each covers");
    cmd->callback([args] { runValidate(*args); });
}

} // namespace toolhost
