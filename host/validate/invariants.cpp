// invariants.cpp: comparing two snapshots of the scene's keys.
#include "invariants.h"

#include <cmath>
#include <cstring>
#include <sstream>

namespace validate {

namespace {

// Keys are compared bit for bit, so a NaN that stays NaN is no change and
// -0 replacing 0 is one.
bool sameValue(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string number(double v) {
    std::ostringstream text;
    text.precision(17);
    text << v;
    return text.str();
}

struct ChannelCheck {
    const host::Item &item;
    const host::Channel &channel;
    const StepRules &rules;
    std::vector<std::string> &broken;

    void report(const std::string &what) const { broken.push_back(item.name + " " + channel.name + ": " + what); }

    // A key that is new or has a new value.
    void written(const host::Key &key, bool isNew) const {
        const std::string what = (isNew ? "a key added at t=" : "the key at t=") + number(key.time);
        if (!std::isfinite(key.value)) report(what + (isNew ? " holds " : " was set to ") + number(key.value));
        if (key.time != rules.time)
            report(what + (isNew ? "" : " changed") + ", not at the current time " + number(rules.time));
        if (!rules.keyable->count(&item)) report(what + (isNew ? "" : " changed") + " on an item that was not selected");
        if (!rules.policy->allows(channel.name))
            report(what + (isNew ? "" : " changed") + " on a channel the module may not key (it may key " +
                   rules.policy->describe() + ")");
    }
};

} // namespace

KeySnapshot takeSnapshot(const host::Scene &scene) {
    KeySnapshot snapshot;
    for (const host::Item &item : scene.items())
        for (const host::Channel &channel : item.channels) {
            snapshot.firstKey.push_back(snapshot.keys.size());
            const auto &keys = channel.envelope.keys();
            snapshot.keys.insert(snapshot.keys.end(), keys.begin(), keys.end());
        }
    snapshot.firstKey.push_back(snapshot.keys.size());
    return snapshot;
}

std::vector<std::string> brokenRules(const host::Scene &scene, const KeySnapshot &before, const KeySnapshot &after,
                                     const StepRules &rules) {
    std::vector<std::string> broken;
    std::size_t c = 0; // channel number in both snapshots
    for (const host::Item &item : scene.items())
        for (const host::Channel &channel : item.channels) {
            const ChannelCheck check{item, channel, rules, broken};
            const host::Key *b = before.keys.data() + before.firstKey[c];
            const host::Key *bEnd = before.keys.data() + before.firstKey[c + 1];
            const host::Key *a = after.keys.data() + after.firstKey[c];
            const host::Key *aEnd = after.keys.data() + after.firstKey[c + 1];
            ++c;
            const std::size_t n = static_cast<std::size_t>(aEnd - a);
            if (bEnd - b == aEnd - a && (n == 0 || std::memcmp(b, a, n * sizeof *a) == 0))
                continue; // untouched: the common case
            // Both runs are sorted by time: walk them together.
            while (b != bEnd || a != aEnd) {
                if (a == aEnd || (b != bEnd && b->time < a->time)) {
                    check.report("the key at t=" + number(b->time) + " was removed");
                    ++b;
                } else if (b == bEnd || a->time < b->time) {
                    check.written(*a, true);
                    ++a;
                } else {
                    if (!sameValue(a->value, b->value)) check.written(*a, false);
                    ++a;
                    ++b;
                }
            }
        }
    return broken;
}

} // namespace validate
