// located_json.h: JSON text parsed with the line of every value, so that a
// message about a value can point into the file.
#pragma once

#include <nlohmann/json.hpp>

#include <map>
#include <string>

namespace toolhost {

struct LocatedJson {
    nlohmann::json value;
    // The 1-based line of each value, by its path: "" the document,
    // "items[1]" an array element, "items[1].name" an object member (the line
    // of its key).
    std::map<std::string, int> lines;

    // The line of the value at `path`, else of its closest enclosing value
    // that has one, else 0.
    int lineOf(std::string path) const;
};

// The path of a member or an element below `parent`.
std::string memberPath(const std::string &parent, const std::string &key);
std::string elementPath(const std::string &parent, std::size_t index);

// Parses `text`. Malformed JSON, or an object that names a field twice,
// throws InputError "FILE:LINE:COLUMN: ..." with `fileName` as FILE.
LocatedJson parseLocatedJson(const std::string &text, const std::string &fileName);

} // namespace toolhost
