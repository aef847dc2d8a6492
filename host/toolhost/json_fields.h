// json_fields.h: reading the fields of one JSON object with every value
// checked, so that a wrong one is reported at its line in the file.
#pragma once

#include "located_json.h"

#include <nlohmann/json.hpp>

#include <array>
#include <string>
#include <vector>

namespace toolhost {

// "a, b, c".
std::string joined(const std::vector<std::string> &names);
// What a JSON value is, for messages: "a number", "a list", ...
std::string typeOf(const nlohmann::json &value);

// One JSON object being read: its path in the document gives the line, its
// context starts every message about it ("items[1]", "step 3 (type)").
// Every failure throws InputError "FILE:LINE: CONTEXT: ...".
class Fields {
public:
    // Fails unless `value` is an object.
    Fields(const LocatedJson &doc, const std::string &file, const nlohmann::json &value, std::string path,
           std::string context);
    // The same object, with messages that start with another context.
    Fields(const Fields &other, std::string context);

    // The object in the field `key`.
    Fields child(const std::string &key, std::string context) const;

    // Fails on any field not in `known`.
    void allow(const std::vector<std::string> &known) const;
    void require(const std::string &key) const;

    bool has(const std::string &key) const { return value_.contains(key); }
    const nlohmann::json &at(const std::string &key) const { return value_.at(key); }
    std::string pathOf(const std::string &key) const { return memberPath(path_, key); }
    const std::string &context() const { return context_; }

    // Required fields (no fallback) and optional ones.
    double number(const std::string &key) const;
    double number(const std::string &key, double fallback) const;
    int integer(const std::string &key, int fallback, int lowest) const;
    bool boolean(const std::string &key, bool fallback) const;
    std::string text(const std::string &key) const;
    // A list of `size` numbers (2 or 3), the rest 0.
    std::array<double, 3> vec3(const std::string &key, std::size_t size = 3) const;
    std::vector<std::string> names(const std::string &key) const;

    // A value of the field `key` (or an element of it) as a number, or a
    // whole number no lower than `lowest`.
    double numberAt(const nlohmann::json &v, const std::string &key) const;
    int integerAt(const nlohmann::json &v, const std::string &key, int lowest) const;

    // A message about the field `key`: "\"key\" " and the message, or with
    // quoteKey false the message alone.
    [[noreturn]] void fail(const std::string &key, const std::string &message, bool quoteKey = true) const;
    // A message about the object itself.
    [[noreturn]] void failHere(const std::string &message) const;

private:
    const LocatedJson &doc_;
    const std::string &file_;
    const nlohmann::json &value_;
    std::string path_, context_;
};

} // namespace toolhost
