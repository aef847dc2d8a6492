// modules.h: finding the module file a scenario or a command names.
#pragma once

#include "host.h"

#include <memory>
#include <string>
#include <vector>

namespace toolhost {

// The tools this program knows by name: pellwyn, tamsery, vestral.
const std::vector<std::string> &toolNames();

// The module file for `module`: a tool name, looked for next to this
// program, then in ../lib/kelzu beside it, then where the build put it; or
// a file path (one with a '/' or ending in ".p"), relative to `folder`.
// Throws InputError when a tool name is unknown or no file for it exists.
std::string modulePath(const std::string &module, const std::string &folder);

// Opens the module; InputError with the loader's reason when it will not load.
std::unique_ptr<host::Module> openModule(const std::string &module, const std::string &folder);

} // namespace toolhost
