// validate_command.h: toolhost's `validate` subcommand.
#pragma once

namespace CLI {
class App;
}

namespace toolhost {

void addValidateCommand(CLI::App &app);

} // namespace toolhost
