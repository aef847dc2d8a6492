// toolhost_process.h: running the toolhost program as a user would, in a
// folder of its own, and reading what it printed.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace toolhost_test {

inline std::string quoted(const std::string &arg) {
    std::string out = "'";
    for (char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

inline std::string readText(const std::string &path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool exists(const std::string &path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

inline void writeText(const std::string &path, const std::string &text) { std::ofstream(path) << text; }

// A fresh, empty folder for one test.
inline std::string freshFolder() {
    std::string pattern = ::testing::TempDir() + "toolhost_XXXXXX";
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a folder from " << pattern;
    return pattern;
}

struct Ran {
    int status = -1;
    std::string out, err;
};

// Runs `toolhost ARGS...` in `folder` (through the build's emulator, if any).
inline Ran toolhost(const std::vector<std::string> &args, const std::string &folder) {
    std::string command = "cd " + quoted(folder) + " && ";
    if (std::string(TOOLHOST_LAUNCHER).size())
        command += quoted(TOOLHOST_LAUNCHER) + " ";
    command += quoted(TOOLHOST);
    for (const std::string &arg : args)
        command += " " + quoted(arg);
    command += " >" + quoted(folder + "/.stdout") + " 2>" + quoted(folder + "/.stderr") + " </dev/null";
    const int status = std::system(command.c_str());
    Ran run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readText(folder + "/.stdout");
    run.err = readText(folder + "/.stderr");
    std::remove((folder + "/.stdout").c_str());
    std::remove((folder + "/.stderr").c_str());
    return run;
}

} // namespace toolhost_test
