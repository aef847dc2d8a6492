// located_json.cpp: a JSON document built from the parser's events, noting
// the line at which each value starts.
#include "located_json.h"

#include "input_error.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace toolhost {

using nlohmann::json;

namespace {

// A character iterator that tells how far the parser has read: every copy
// writes its position to one shared place.
struct TrackingIterator {
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char *;
    using reference = const char &;

    const char *at;
    const char **furthest;

    reference operator*() const { return *at; }
    TrackingIterator &operator++() {
        *furthest = ++at;
        return *this;
    }
    TrackingIterator operator++(int) {
        TrackingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const TrackingIterator &other) const { return at == other.at; }
    bool operator!=(const TrackingIterator &other) const { return at != other.at; }
};

// Lines counted once, forward, as the parser moves on.
class LineCounter {
public:
    explicit LineCounter(const std::string &text) : text_(text) {}
    // The line of the character at `offset`.
    int lineAt(std::size_t offset) {
        offset = std::min(offset, text_.size());
        if (offset < counted_) {
            counted_ = 0;
            line_ = 1;
        }
        line_ += static_cast<int>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(counted_),
                                             text_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
        counted_ = offset;
        return line_;
    }
    int columnAt(std::size_t offset) const {
        offset = std::min(offset, text_.size());
        const std::size_t newline = offset == 0 ? std::string::npos : text_.rfind('\n', offset - 1);
        return static_cast<int>(newline == std::string::npos ? offset + 1 : offset - newline);
    }

private:
    const std::string &text_;
    std::size_t counted_ = 0;
    int line_ = 1;
};

class Builder : public nlohmann::json_sax<json> {
public:
    Builder(const std::string &text, const char **furthest, LocatedJson &out)
        : text_(text), furthest_(furthest), lines_(text), out_(out) {}

    std::string error; // set when the parse stopped

    bool null() override { return add(nullptr); }
    bool boolean(bool v) override { return add(v); }
    bool number_integer(number_integer_t v) override { return add(v); }
    bool number_unsigned(number_unsigned_t v) override { return add(v); }
    bool number_float(number_float_t v, const string_t &) override { return add(v); }
    bool string(string_t &v) override { return add(v); }
    bool binary(binary_t &) override { return add(nullptr); } // JSON text has none

    bool start_object(std::size_t) override { return open(json::object()); }
    bool start_array(std::size_t) override { return open(json::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t &name) override {
        const Open &parent = stack_.back();
        if (parent.value->contains(name)) {
            const std::size_t at = lastRead();
            error = location(at) + "the field \"" + name + "\" appears twice in " +
                    (parent.path.empty() ? std::string("the document") : parent.path);
            return false;
        }
        key_ = name;
        keyPath_ = memberPath(parent.path, name);
        out_.lines[keyPath_] = lines_.lineAt(lastRead());
        return true;
    }

    bool parse_error(std::size_t byte, const std::string &, const nlohmann::detail::exception &e) override {
        std::string what = e.what();
        const std::size_t detail = what.find("syntax error");
        if (detail != std::string::npos)
            what = what.substr(detail);
        const std::size_t at = byte == 0 ? 0 : byte - 1;
        error = location(at) + "malformed JSON: " + what;
        return false;
    }

private:
    struct Open {
        json *value;
        std::string path;
    };

    // The offset of the last character the parser read.
    std::size_t lastRead() const {
        const auto read = static_cast<std::size_t>(*furthest_ - text_.data());
        return read == 0 ? 0 : read - 1;
    }
    std::string location(std::size_t offset) {
        const int column = lines_.columnAt(offset);
        return std::to_string(lines_.lineAt(offset)) + ":" + std::to_string(column) + ": ";
    }

    // Puts a value in place; gives it and its path.
    std::pair<json *, std::string> place(json value) {
        if (stack_.empty()) {
            out_.value = std::move(value);
            out_.lines[""] = lines_.lineAt(lastRead());
            return {&out_.value, ""};
        }
        Open &parent = stack_.back();
        if (parent.value->is_array()) {
            const std::string path = elementPath(parent.path, parent.value->size());
            out_.lines[path] = lines_.lineAt(lastRead());
            parent.value->push_back(std::move(value));
            return {&parent.value->back(), path};
        }
        json &slot = (*parent.value)[key_];
        slot = std::move(value);
        return {&slot, keyPath_};
    }
    bool add(json value) {
        place(std::move(value));
        return true;
    }
    bool open(json container) {
        auto [value, path] = place(std::move(container));
        stack_.push_back({value, path});
        return true;
    }
    bool close() {
        stack_.pop_back();
        return true;
    }

    const std::string &text_;
    const char **furthest_;
    LineCounter lines_;
    LocatedJson &out_;
    std::vector<Open> stack_;
    std::string key_, keyPath_;
};

} // namespace

std::string memberPath(const std::string &parent, const std::string &key) {
    return parent.empty() ? key : parent + "." + key;
}

std::string elementPath(const std::string &parent, std::size_t index) {
    return parent + "[" + std::to_string(index) + "]";
}

int LocatedJson::lineOf(std::string path) const {
    for (;;) {
        const auto found = lines.find(path);
        if (found != lines.end())
            return found->second;
        if (path.empty())
            return 0;
        const std::size_t cut = path.find_last_of(".[");
        path = cut == std::string::npos ? std::string() : path.substr(0, cut);
    }
}

LocatedJson parseLocatedJson(const std::string &text, const std::string &fileName) {
    LocatedJson out;
    const char *furthest = text.data();
    Builder builder(text, &furthest, out);
    const TrackingIterator first{text.data(), &furthest};
    const TrackingIterator last{text.data() + text.size(), &furthest};
    const bool parsed = json::sax_parse(first, last, &builder);
    if (!parsed || !builder.error.empty())
        throw InputError(fileName + ":" + (builder.error.empty() ? "1:1: malformed JSON" : builder.error));
    return out;
}

} // namespace toolhost
