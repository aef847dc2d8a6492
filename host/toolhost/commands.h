// commands.h: toolhost's subcommands. Each lives in its own file and joins
// the program with one call in main.cpp. A command reports bad input by
// throwing InputError (exit status 2) and other failures by throwing
// std::runtime_error (exit status 1).
#pragma once

namespace CLI {
class App;
}

namespace toolhost {

void addRunCommand(CLI::App &app);
void addPanelCommand(CLI::App &app);
void addDemoCommand(CLI::App &app);

} // namespace toolhost
