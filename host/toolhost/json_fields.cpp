// json_fields.cpp: checked reading of a JSON object's fields, with messages
// that point at the line of the value at fault.
#include "json_fields.h"

#include "input_error.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace toolhost {

using nlohmann::json;

std::string joined(const std::vector<std::string> &names) {
    std::string out;
    for (const std::string &name : names)
        out += (out.empty() ? "" : ", ") + name;
    return out;
}

std::string typeOf(const json &value) {
    if (value.is_number())
        return "a number";
    if (value.is_string())
        return "a string";
    if (value.is_boolean())
        return "true or false";
    if (value.is_array())
        return "a list";
    if (value.is_object())
        return "an object";
    return "null";
}

Fields::Fields(const LocatedJson &doc, const std::string &file, const json &value, std::string path,
               std::string context)
    : doc_(doc), file_(file), value_(value), path_(std::move(path)), context_(std::move(context)) {
    if (!value_.is_object())
        failHere("must be an object, not " + typeOf(value_));
}

Fields::Fields(const Fields &other, std::string context)
    : doc_(other.doc_), file_(other.file_), value_(other.value_), path_(other.path_), context_(std::move(context)) {}

Fields Fields::child(const std::string &key, std::string context) const {
    return Fields(doc_, file_, at(key), pathOf(key), std::move(context));
}

void Fields::allow(const std::vector<std::string> &known) const {
    for (const auto &[key, ignored] : value_.items())
        if (std::find(known.begin(), known.end(), key) == known.end())
            fail(key, "unknown field \"" + key + "\" (" + (known.empty() ? "no fields here" : "fields: " + joined(known)) + ")",
                 false);
}

void Fields::require(const std::string &key) const {
    if (!has(key))
        failHere("the field \"" + key + "\" is missing");
}

double Fields::number(const std::string &key) const {
    require(key);
    return numberAt(at(key), key);
}

double Fields::number(const std::string &key, double fallback) const { return has(key) ? number(key) : fallback; }

int Fields::integer(const std::string &key, int fallback, int lowest) const {
    return has(key) ? integerAt(at(key), key, lowest) : fallback;
}

bool Fields::boolean(const std::string &key, bool fallback) const {
    if (!has(key))
        return fallback;
    if (!at(key).is_boolean())
        fail(key, "must be true or false, not " + typeOf(at(key)));
    return at(key).get<bool>();
}

std::string Fields::text(const std::string &key) const {
    require(key);
    if (!at(key).is_string())
        fail(key, "must be a string, not " + typeOf(at(key)));
    return at(key).get<std::string>();
}

std::array<double, 3> Fields::vec3(const std::string &key, std::size_t size) const {
    const json &v = at(key);
    if (!v.is_array() || v.size() != size)
        fail(key, "must be a list of " + std::to_string(size) + " numbers");
    std::array<double, 3> out{};
    for (std::size_t i = 0; i < size; ++i)
        out[i] = numberAt(v[i], key);
    return out;
}

std::vector<std::string> Fields::names(const std::string &key) const {
    const json &v = at(key);
    if (!v.is_array())
        fail(key, "must be a list of names, not " + typeOf(v));
    std::vector<std::string> out;
    for (const json &name : v) {
        if (!name.is_string())
            fail(key, "must be a list of names; it holds " + typeOf(name));
        out.push_back(name.get<std::string>());
    }
    return out;
}

double Fields::numberAt(const json &v, const std::string &key) const {
    if (!v.is_number())
        fail(key, "must be a number, not " + typeOf(v));
    return v.get<double>();
}

int Fields::integerAt(const json &v, const std::string &key, int lowest) const {
    if (!v.is_number_integer())
        fail(key, "must be a whole number, not " + (v.is_number() ? v.dump() : typeOf(v)));
    if (v.is_number_unsigned() && v.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<int>::max()))
        fail(key, "is out of range: " + v.dump());
    const auto n = v.get<std::int64_t>();
    if (n < lowest || n > std::numeric_limits<int>::max())
        fail(key, "is out of range: " + v.dump());
    return static_cast<int>(n);
}

void Fields::fail(const std::string &key, const std::string &message, bool quoteKey) const {
    throw InputError(file_ + ":" + std::to_string(doc_.lineOf(pathOf(key))) + ": " + context_ + ": " +
                     (quoteKey ? "\"" + key + "\" " : "") + message);
}

void Fields::failHere(const std::string &message) const {
    throw InputError(file_ + ":" + std::to_string(doc_.lineOf(path_)) + ": " + context_ + ": " + message);
}

} // namespace toolhost
