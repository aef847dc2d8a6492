// Finding channels by name, keying at the current time, normalising.
#include "harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr ChannelNames<3> positionNames{{"Position.X", "Position.Y", "Position.Z"}};

struct ChannelsTest : ::testing::Test {
    Activation a{true}; // binds the host's services into the toolkit

    host::Item &itemWith(const std::vector<std::string> &names) {
        std::vector<std::pair<std::string, double>> channels;
        for (const auto &n : names) channels.push_back({n, 0.0});
        return a.host.scene.addItem("item", channels);
    }
    EnvelopeId envelopeOf(host::Item &item, std::size_t index) { return &item.channels[index].envelope; }
};

} // namespace

TEST_F(ChannelsTest, NamesMatchByTheirLeadingRunOfSlotCharacters) {
    struct Case {
        std::vector<std::string> channels;
        std::array<int, 3> expected; // index of the channel each slot gets, -1 none
    };
    const Case cases[] = {
        {{"Position.X", "Position.Y", "Position.Z"}, {0, 1, 2}},
        // A run of 10 fills X; "Y" is not among X's characters, so Y's run is 9.
        {{"Position.XYZ"}, {0, -1, -1}},
        // Lower case x is not a character of "Position.X".
        {{"Position.x", "Position.y"}, {-1, -1, -1}},
        // Every matching channel replaces the one before: the last wins.
        {{"Position.X", "Scale.X", "Position.X2", "Position.Y"}, {2, 3, -1}},
        // Short or unrelated names match nothing.
        {{"Position", "Rotation.H", ""}, {-1, -1, -1}},
        // Only the first ten characters count, in any order and repeated:
        // "Position.." holds nothing but characters of every slot's name.
        {{"Position..", "Position.Z\xff"}, {0, 0, 1}},
        {{"XXXXXXXXXX", "ZZZZZZZZZ", "noitisoP.Z"}, {0, -1, 2}},
        // What follows the first ten characters does not count; a byte
        // outside ASCII occurs in no slot's name.
        {{"Position.Y!", "Position\xe9Y"}, {-1, 0, -1}},
    };
    for (const Case &c : cases) {
        host::Item &item = itemWith(c.channels);
        ChannelSet<3> slots{};
        findItemChannels(&item, positionNames, slots);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(slots[k], c.expected[k] < 0 ? nullptr : envelopeOf(item, c.expected[k]))
                << "slot " << positionNames.names[k] << " of " << ::testing::PrintToString(c.channels);
    }
}

TEST_F(ChannelsTest, SlotsAreClearedBeforeTheWalk) {
    host::Item &item = itemWith({"Rotation.H"});
    int stale = 0;
    ChannelSet<3> slots{&stale, &stale, &stale};
    findItemChannels(&item, positionNames, slots);
    EXPECT_EQ(slots, (ChannelSet<3>{}));
}

TEST_F(ChannelsTest, SetChannelKeyUpdatesTheKeyAtTheCurrentTimeOrCreatesOne) {
    host::Item &item = itemWith({"Position.X"});
    host::Envelope &envelope = item.channels[0].envelope;
    envelope.setKey(0.0, 1.0);
    envelope.setKey(2.0, 5.0);
    a.host.counters = {};

    a.host.scene.setTime(2.0);
    setChannelKey(&envelope, 7.0);
    EXPECT_EQ(envelope.keys().size(), 2u);
    EXPECT_EQ(envelope.keys()[1].value, 7.0);
    EXPECT_EQ(a.host.counters.valuesWritten, 1u);
    EXPECT_EQ(a.host.counters.keysCreated, 0u);

    a.host.scene.setTime(1.0); // read at each call
    setChannelKey(&envelope, 3.0);
    ASSERT_EQ(envelope.keys().size(), 3u);
    EXPECT_EQ(envelope.keys()[1].time, 1.0);
    EXPECT_EQ(envelope.keys()[1].value, 3.0);
    EXPECT_EQ(a.host.counters.keysCreated, 1u);
}

TEST_F(ChannelsTest, SetChannelKeyNeverWritesANonFiniteValue) {
    host::Item &item = itemWith({"Position.X", "Position.Y"});
    host::Envelope &keyed = item.channels[0].envelope;
    host::Envelope &bare = item.channels[1].envelope;
    keyed.setKey(0.0, 4.0);
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
        setChannelKey(&keyed, bad);
        setChannelKey(&bare, bad);
    }
    ASSERT_EQ(keyed.keys().size(), 1u);
    EXPECT_EQ(keyed.keys()[0].value, 4.0);
    EXPECT_TRUE(bare.keys().empty());
    setChannelKey(nullptr, 1.0); // an unfilled slot
}

// A KeyWriter stands in for each envelope function the host lacks: without
// findKey nothing is written, without setKeyValue an existing key keeps its
// value, without createKey no key is added.
TEST_F(ChannelsTest, KeyWriterWritesWhatTheEnvelopeFunctionsAtHandAllow) {
    struct Case {
        const char *missing;
        double keyedAfter; // the key at the current time, 4 before
        bool bareKeyed;    // whether the channel without a key got one
    };
    const Case cases[] = {
        {"findKey", 4.0, false},
        {"setKeyValue", 4.0, true},
        {"createKey", 7.0, false},
        {"nothing", 7.0, true},
    };
    const EnvelopeService complete = a.host.envelopeRecord;
    for (const Case &c : cases) {
        host::Item &item = itemWith({"Position.X", "Position.Y"});
        host::Envelope &keyed = item.channels[0].envelope;
        host::Envelope &bare = item.channels[1].envelope;
        keyed.setKey(0.0, 4.0);
        EnvelopeService &record = a.host.envelopeRecord;
        record = complete;
        if (std::string(c.missing) == "findKey") record.findKey = nullptr;
        if (std::string(c.missing) == "setKeyValue") record.setKeyValue = nullptr;
        if (std::string(c.missing) == "createKey") record.createKey = nullptr;

        const KeyWriter setKey;
        setKey(&keyed, 7.0);
        setKey(&bare, 7.0);
        ASSERT_EQ(keyed.keys().size(), 1u) << c.missing;
        EXPECT_EQ(keyed.keys()[0].value, c.keyedAfter) << c.missing;
        EXPECT_EQ(bare.keys().size(), c.bareKeyed ? 1u : 0u) << c.missing;
    }
    a.host.envelopeRecord = complete;
}

TEST(SetChannelKey, WithoutTheEnvelopeOrTimeServiceWritesNothing) {
    for (const char *missing : {ENVELOPE_SERVICE_NAME, TIME_SERVICE_NAME}) {
        Activation a;
        a.host.faults.missingServices = {missing};
        ASSERT_EQ(a.activate(), 0);
        host::Item &item = a.host.scene.addItem("item");
        setChannelKey(&item.channels[0].envelope, 1.0);
        EXPECT_TRUE(item.channels[0].envelope.keys().empty()) << missing;
    }
}

TEST(Normalize, ScalesToUnitLengthAndLeavesZeroAlone) {
    struct Case {
        Vec3 in, out;
    };
    const Case cases[] = {
        {{3, 4, 0}, {0.6, 0.8, 0}},
        {{0, 0, 0}, {0, 0, 0}},
        {{0, -2, 0}, {0, -1, 0}},
    };
    for (const Case &c : cases) {
        Vec3 v = c.in;
        normalize(v);
        for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(v[k], c.out[k]);
    }
    Vec3 v{3, 4, 0};
    normalize(v, 10.0);
    EXPECT_DOUBLE_EQ(v[0], 6.0);
    EXPECT_DOUBLE_EQ(v[1], 8.0);
}
