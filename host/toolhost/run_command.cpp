// run_command.cpp: `toolhost run SCENARIO`: replays a scenario file and shows
// the keys before and after, the panel's fields and, with --svg, the scene.
#include "commands.h"
#include "files.h"
#include "replay.h"
#include "report.h"
#include "scenario.h"
#include "svg.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace toolhost {

namespace {

struct RunOptions {
    std::string scenario;
    bool json = false;
    std::string svg;
};

void run(const RunOptions &options) {
    const Outcome outcome = replay(loadScenario(options.scenario));
    // Everything is made before anything is written, so a failure leaves
    // no half-written output.
    const std::string report = options.json ? jsonReport(outcome).dump(2) + "\n" : textReport(outcome);
    if (!options.svg.empty())
        writeFileWhole(options.svg, sceneSvg({outcome}));
    std::cout << report;
}

} // namespace

void addRunCommand(CLI::App &app) {
    auto options = std::make_shared<RunOptions>();
    CLI::App *run = app.add_subcommand("run", "Replay a scenario file: build its scene, load its tool, take its steps, "
                                              "then show every item's keys before and after at the current time "
                                              "and the tool panel's fields. README.md describes the file.");
    run->add_option("scenario", options->scenario, "The scenario, a JSON file")->required();
    run->add_flag("--json", options->json, "Print the result as JSON instead of tables");
    run->add_option("--svg", options->svg, "Also write a picture of the scene (front, top and side views) to FILE")
        ->type_name("FILE");
    run->callback([options] { toolhost::run(*options); });
}

} // namespace toolhost
