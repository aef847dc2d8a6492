// panel_command.cpp: `toolhost panel TOOL`: activates a tool and shows its
// panel as the host lays it out, as a table and, with --svg, a picture.
#include "commands.h"
#include "files.h"
#include "input_error.h"
#include "modules.h"
#include "report.h"
#include "svg.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace toolhost {

namespace {

struct PanelOptions {
    std::string tool;
    std::string svg;
};

void showPanel(const PanelOptions &options) {
    host::Host host;
    const std::unique_ptr<host::Module> module = openModule(options.tool, ".");
    host::Tool tool(host, *module);
    if (tool.result() != 0)
        throw InputError(options.tool + ": the tool did not activate: " + host::activationResultText(tool.result()));
    const host::Panel *panel = host.currentPanel();
    if (!panel)
        throw InputError(options.tool + ": the tool made no panel");
    const std::string table = controlsTable(*panel);
    if (!options.svg.empty())
        writeFileWhole(options.svg, panelSvg(*panel));
    std::cout << table;
}

} // namespace

void addPanelCommand(CLI::App &app) {
    auto options = std::make_shared<PanelOptions>();
    CLI::App *panel = app.add_subcommand("panel", "Activate a tool and list its panel's controls with their "
                                                  "positions and sizes; with --svg, draw the panel.");
    panel->add_option("tool", options->tool, "pellwyn, tamsery, vestral, or the path of a module file")->required();
    panel->add_option("--svg", options->svg, "Write a picture of the panel to FILE")->type_name("FILE");
    panel->callback([options] { showPanel(*options); });
}

} // namespace toolhost
