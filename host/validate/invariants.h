// invariants.h: what must hold of the scene's keys after every step.
//
// Between two snapshots of one scene a module may only add keys or change
// the values of keys, and only at the current time, on items that were
// selected while it ran, on channels it may key, with finite values. It
// never removes a key.
#pragma once

#include "channel_policy.h"
#include "host.h"

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

namespace validate {

// Every key of every channel of every item, items in scene order and
// channels in group order. Two snapshots of a scene whose items and
// channels did not change line up channel by channel.
struct KeySnapshot {
    std::vector<std::size_t> firstKey; // per channel, its first key in `keys`; one more entry ends the last
    std::vector<host::Key> keys;
};

KeySnapshot takeSnapshot(const host::Scene &scene);

// What a step was allowed to do.
struct StepRules {
    double time;                                       // the current time during the step
    const std::unordered_set<const host::Item *> *keyable; // items the module may key
    const ChannelPolicy *policy;
};

// Every broken rule, one line each ("Cube Position.X: ..."); empty when all held.
std::vector<std::string> brokenRules(const host::Scene &scene, const KeySnapshot &before, const KeySnapshot &after,
                                     const StepRules &rules);

} // namespace validate
