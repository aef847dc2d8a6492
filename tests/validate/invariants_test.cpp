// The rules on the scene's keys between two snapshots: each way a module
// can go wrong is found and named, and what a sound module does is not.
#include "invariants.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

struct Case {
    const char *what;
    std::function<void(host::Scene &)> change;
    const char *finding; // a part of the one finding expected; null: none
};

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

host::Envelope &envelope(host::Scene &scene, const char *item, const char *channel) {
    return scene.find(item)->channel(channel)->envelope;
}

} // namespace

TEST(Invariants, FindEveryWrongKeyAndOnlyThose) {
    const Case cases[] = {
        {"nothing changed", [](host::Scene &) {}, nullptr},
        {"the key at the current time updated",
         [](host::Scene &s) { envelope(s, "cube", "Position.X").setKey(1.0, 7.0); }, nullptr},
        {"a key added at the current time",
         [](host::Scene &s) { envelope(s, "cube", "Position.Y").setKey(1.0, 7.0); }, nullptr},
        {"an earlier key changed", [](host::Scene &s) { envelope(s, "cube", "Position.X").setKey(0.0, 7.0); },
         "cube Position.X: the key at t=0 changed, not at the current time 1"},
        {"a key added later", [](host::Scene &s) { envelope(s, "cube", "Position.X").setKey(3.0, 7.0); },
         "cube Position.X: a key added at t=3, not at the current time 1"},
        {"a key removed",
         [](host::Scene &s) {
             auto &keys = envelope(s, "cube", "Position.X").keys();
             keys.erase(keys.begin());
         },
         "cube Position.X: the key at t=0 was removed"},
        {"NaN written over a key", [](host::Scene &s) { envelope(s, "cube", "Position.X").setKey(1.0, nan); },
         "the key at t=1 was set to nan"},
        {"infinity keyed", [](host::Scene &s) { envelope(s, "cube", "Position.Z").setKey(1.0, -inf); },
         "a key added at t=1 holds -inf"},
        {"a channel the module does not own",
         [](host::Scene &s) { envelope(s, "cube", "Rotation.H").setKey(1.0, 0.5); },
         "cube Rotation.H: a key added at t=1 on a channel the module may not key (it may key Position.*)"},
        {"an item never selected", [](host::Scene &s) { envelope(s, "bystander", "Position.X").setKey(1.0, 0.5); },
         "bystander Position.X: a key added at t=1 on an item that was not selected"},
        {"0 turned into -0 at another time",
         [](host::Scene &s) { envelope(s, "cube", "Position.Z").keys().front().value = -0.0; },
         "the key at t=0 changed"},
    };
    for (const Case &c : cases) {
        host::Scene scene;
        host::Item &cube = scene.addItem("cube", {2, 0, 0});
        scene.addItem("bystander");
        cube.channel("Position.X")->envelope.setKey(0.0, 1.0);
        cube.channel("Position.X")->envelope.setKey(1.0, 2.0);
        cube.channel("Position.Z")->envelope.setKey(0.0, 0.0);
        scene.setTime(1.0);
        const validate::KeySnapshot before = validate::takeSnapshot(scene);

        c.change(scene);
        const std::unordered_set<const host::Item *> keyable{&cube};
        const validate::ChannelPolicy policy = validate::policyFromList("Position.*");
        const auto found = validate::brokenRules(scene, before, validate::takeSnapshot(scene), {1.0, &keyable, &policy});

        if (!c.finding) {
            EXPECT_TRUE(found.empty()) << c.what << ": " << found.front();
            continue;
        }
        ASSERT_EQ(found.size(), 1u) << c.what;
        EXPECT_NE(found[0].find(c.finding), std::string::npos) << c.what << ": " << found[0];
    }
}

TEST(Invariants, OneKeyCanBreakSeveralRules) {
    host::Scene scene;
    scene.addItem("bystander");
    const validate::KeySnapshot before = validate::takeSnapshot(scene);
    scene.find("bystander")->channel("Scale.X")->envelope.setKey(5.0, nan);
    const std::unordered_set<const host::Item *> keyable;
    const validate::ChannelPolicy policy = validate::policyForServer("Another_Tool");
    const auto found = validate::brokenRules(scene, before, validate::takeSnapshot(scene), {1.0, &keyable, &policy});
    EXPECT_EQ(found.size(), 4u); // not finite, not now, not selected, not its channel
}
