// input_error.h: the one kind of failure that is the user's input at fault.
#pragma once

#include <stdexcept>

namespace toolhost {

// A scenario, a command-line value or a module the user named is wrong. The
// message says where (file, line, step) and what; the program prints it and
// exits with status 2.
struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace toolhost
