// files.h: reading a whole file, and writing one so that it is either
// complete or absent.
#pragma once

#include <string>

namespace toolhost {

// The file's contents; InputError naming the path when it cannot be read.
std::string readFile(const std::string &path);

// The folder of `path` ("." for a bare file name).
std::string folderOf(const std::string &path);

// Writes `contents` to a new file beside `path` and renames it into place,
// so a reader never sees half a file. Throws std::runtime_error naming the
// path when it cannot.
void writeFileWhole(const std::string &path, const std::string &contents);

} // namespace toolhost
