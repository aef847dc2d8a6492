// modules.cpp: tool names to module files, and opening them.
#include "modules.h"

#include "input_error.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace toolhost {

namespace {

bool isFile(const std::string &path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The folder this program runs from, or "" when the system will not say.
std::string programFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "";
    const std::string path(buffer, static_cast<std::size_t>(n));
    return path.substr(0, path.find_last_of('/'));
}

std::string builtPath(const std::string &tool) {
    if (tool == "pellwyn")
        return TOOLHOST_BUILT_PELLWYN;
    if (tool == "tamsery")
        return TOOLHOST_BUILT_TAMSERY;
    return TOOLHOST_BUILT_VESTRAL;
}

} // namespace

const std::vector<std::string> &toolNames() {
    static const std::vector<std::string> names{"pellwyn", "tamsery", "vestral"};
    return names;
}

std::string modulePath(const std::string &module, const std::string &folder) {
    const bool isPath = module.find('/') != std::string::npos ||
                        (module.size() > 2 && module.compare(module.size() - 2, 2, ".p") == 0);
    if (isPath)
        return module[0] == '/' || folder.empty() || folder == "." ? module : folder + "/" + module;

    bool known = false;
    for (const std::string &name : toolNames())
        known = known || name == module;
    if (!known)
        throw InputError("unknown tool \"" + module +
                         "\": name pellwyn, tamsery or vestral, or give the path of a module file");

    std::vector<std::string> candidates;
    const std::string here = programFolder();
    if (!here.empty()) {
        candidates.push_back(here + "/" + module + ".p");
        candidates.push_back(here + "/../lib/kelzu/" + module + ".p");
    }
    candidates.push_back(builtPath(module));
    std::string looked;
    for (const std::string &candidate : candidates) {
        if (isFile(candidate))
            return candidate;
        looked += (looked.empty() ? "" : ", ") + candidate;
    }
    throw InputError("no module file for the tool \"" + module + "\" (looked for " + looked +
                     "); build it first: cmake --build <build folder> --target " + module);
}

std::unique_ptr<host::Module> openModule(const std::string &module, const std::string &folder) {
    const std::string path = modulePath(module, folder);
    std::string error;
    std::unique_ptr<host::Module> opened = host::Module::open(path, error);
    if (!opened)
        throw InputError("the module will not load: " + error);
    return opened;
}

} // namespace toolhost
