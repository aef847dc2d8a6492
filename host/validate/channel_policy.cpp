// channel_policy.cpp: which channels a module may key.
#include "channel_policy.h"

#include <algorithm>
#include <stdexcept>

namespace validate {

namespace {

bool matches(std::string_view pattern, std::string_view channel) {
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
        const std::string_view prefix = pattern.substr(0, pattern.size() - 1); // keeps the '.'
        return channel.substr(0, prefix.size()) == prefix;
    }
    return pattern == channel;
}

} // namespace

bool ChannelPolicy::allows(std::string_view channel) const {
    if (anyButScale) return !matches("Scale.*", channel);
    for (const std::string &pattern : allowed)
        if (matches(pattern, channel)) return true;
    return false;
}

std::string ChannelPolicy::describe() const {
    if (anyButScale) return "any channel but Scale.*";
    std::string text;
    for (const std::string &pattern : allowed) text += (text.empty() ? "" : ", ") + pattern;
    return text;
}

ChannelPolicy policyForServer(std::string_view serverName) {
    static const struct {
        std::string_view server;
        std::vector<std::string> channels;
    } known[] = {
        {"Kelzu_Pellwyn", {"Position.X", "Position.Y", "Position.Z"}},
        {"Kelzu_Tamsery", {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P", "Rotation.B"}},
        {"Kelzu_Vestral++", {"Rotation.H", "Rotation.P", "Rotation.B"}},
    };
    for (const auto &tool : known)
        if (tool.server == serverName) return ChannelPolicy{tool.channels, false};
    return ChannelPolicy{{}, true};
}

ChannelPolicy policyFromList(std::string_view list) {
    ChannelPolicy policy;
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        const std::string_view name = list.substr(from, comma - from);
        if (name.empty()) throw std::invalid_argument("an empty channel name in \"" + std::string(list) + "\"");
        policy.allowed.emplace_back(name);
        from = comma + 1;
    }
    return policy;
}

} // namespace validate
