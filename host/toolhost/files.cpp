// files.cpp: whole-file reading and all-or-nothing writing.
#include "files.h"

#include "input_error.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace toolhost {

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw InputError(path + ": cannot read the file (" + std::strerror(errno) + ")");
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad())
        throw InputError(path + ": cannot read the file");
    return contents.str();
}

std::string folderOf(const std::string &path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void writeFileWhole(const std::string &path, const std::string &contents) {
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0)
        throw std::runtime_error(path + ": cannot write (" + std::strerror(errno) + ")");
    const std::string temporary(name.data());
    auto fail = [&](const char *what) {
        const std::string why = std::strerror(errno);
        std::remove(temporary.c_str());
        throw std::runtime_error(path + ": " + what + " (" + why + ")");
    };
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            fail("cannot write");
        }
        written += static_cast<std::size_t>(n);
    }
    // mkstemp makes the file private; a picture is for everyone to read.
    fchmod(fd, 0644);
    if (::close(fd) != 0)
        fail("cannot write");
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        fail("cannot put the file in place");
}

} // namespace toolhost
