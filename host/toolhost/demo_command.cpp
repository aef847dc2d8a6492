// demo_command.cpp: `toolhost demo`: the built-in scene worked once with each
// tool, the tables printed and the three scenes drawn into one picture.
#include "commands.h"
#include "demo_scenes.h"
#include "files.h"
#include "replay.h"
#include "report.h"
#include "svg.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace toolhost {

namespace {

void demo(const std::string &svgPath) {
    std::vector<Outcome> outcomes;
    std::string report;
    for (const DemoScene &demo : demoScenes()) {
        outcomes.push_back(replay(demo.scenario));
        report += "== " + demo.description + "\n\n" + textReport(outcomes.back()) + "\n";
        outcomes.back().title = demo.title;
    }
    writeFileWhole(svgPath, sceneSvg(outcomes));
    std::cout << report << "The scenes are drawn in " << svgPath << "\n";
}

} // namespace

void addDemoCommand(CLI::App &app) {
    auto svg = std::make_shared<std::string>("demo.svg");
    CLI::App *command = app.add_subcommand("demo", "Show each tool at work on a built-in scene: print the keys and "
                                                   "panels, and draw the scenes into demo.svg.");
    command->add_option("--svg", *svg, "Where to draw the scenes")->type_name("FILE")->capture_default_str();
    command->callback([svg] { demo(*svg); });
}

} // namespace toolhost
