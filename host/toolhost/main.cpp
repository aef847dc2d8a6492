// main.cpp: toolhost, a command-line program that plays Layout for the tool
// modules: it replays scenarios, shows a tool's panel and runs a demo.
#include "commands.h"
#include "input_error.h"
#include "validate_command.h"

#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char **argv) {
    CLI::App app{"toolhost: replays what a user does with a tool module on a headless Layout host, "
                 "and shows the keys the tool sets, its panel and a picture of the scene."};
    app.require_subcommand(1);
    toolhost::addRunCommand(app);
    toolhost::addPanelCommand(app);
    toolhost::addDemoCommand(app);
    toolhost::addValidateCommand(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        // --help answers 0; any mistake on the command line is bad input.
        return app.exit(e) == 0 ? 0 : 2;
    } catch (const toolhost::InputError &e) {
        std::cerr << "toolhost: " << e.what() << "\n";
        return 2;
    } catch (const std::exception &e) {
        std::cerr << "toolhost: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
