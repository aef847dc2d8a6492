// channel_policy.h: which channels a module may key.
//
// A module's own channels cannot be read from its file. The three tools of
// this project are known by their server names; any other module may key
// every channel except Scale.*, unless the user names its channels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace validate {

struct ChannelPolicy {
    // Channel names the module may key; a name ending in ".*" stands for
    // every channel that begins with what comes before the '*'.
    std::vector<std::string> allowed;
    // No list: everything but Scale.* is allowed.
    bool anyButScale = false;

    bool allows(std::string_view channel) const;
    std::string describe() const; // "Position.X, Position.Y" or "any channel but Scale.*"
};

// The policy of a known tool by its server name, or anyButScale.
ChannelPolicy policyForServer(std::string_view serverName);

// The policy of a comma-separated list such as "Position.*,Rotation.H".
// Throws std::invalid_argument for an empty list or an empty name.
ChannelPolicy policyFromList(std::string_view list);

} // namespace validate
