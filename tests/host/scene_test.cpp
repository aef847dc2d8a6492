// The scene: envelope values and key order, items' channels and parameters,
// and the animation services a module keys through.
#include "host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

using namespace host;

namespace {

Envelope envelopeWith(std::initializer_list<Key> keys, double defaultValue = 0.0) {
    Envelope e(defaultValue);
    for (const Key &k : keys)
        e.setKey(k.time, k.value);
    return e;
}

TEST(Envelope, ValueAt) {
    struct Case {
        const char *what;
        Envelope envelope;
        double t, expected;
    };
    const Case cases[] = {
        {"no keys: the default", envelopeWith({}, 7.5), 3.0, 7.5},
        {"one key, before it", envelopeWith({{1.0, 4.0}}, 7.5), -10.0, 4.0},
        {"one key, after it", envelopeWith({{1.0, 4.0}}, 7.5), 10.0, 4.0},
        {"at a key", envelopeWith({{0.0, 1.0}, {1.0, 3.0}, {2.0, -1.0}}), 1.0, 3.0},
        {"first segment", envelopeWith({{0.0, 1.0}, {1.0, 3.0}, {2.0, -1.0}}), 0.25, 1.5},
        {"second segment", envelopeWith({{0.0, 1.0}, {1.0, 3.0}, {2.0, -1.0}}), 1.75, 0.0},
        {"before the first key", envelopeWith({{0.0, 1.0}, {1.0, 3.0}, {2.0, -1.0}}), -1.0, 1.0},
        {"after the last key", envelopeWith({{0.0, 1.0}, {1.0, 3.0}, {2.0, -1.0}}), 5.0, -1.0},
        {"uneven spacing", envelopeWith({{1.0, 10.0}, {5.0, 30.0}}), 2.0, 15.0},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(c.envelope.valueAt(c.t), c.expected) << c.what;
}

TEST(Envelope, SetKeyKeepsTimeOrderAndOneKeyPerTime) {
    Envelope e;
    for (double t : {3.0, 1.0, 5.0, 2.0, 4.0})
        e.setKey(t, t * 10);
    e.setKey(2.0, -2.0);           // replaces
    e.setKey(std::nan(""), 99.0);  // refused
    std::vector<double> times, values;
    for (const Key &k : e.keys()) {
        times.push_back(k.time);
        values.push_back(k.value);
    }
    EXPECT_EQ(times, (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_EQ(values, (std::vector<double>{10, -2, 30, 40, 50}));

    for (std::ptrdiff_t i = 0; i < 5; ++i)
        EXPECT_EQ(e.find(static_cast<double>(i + 1)), i);
    EXPECT_EQ(e.find(2.5), -1);
    EXPECT_EQ(e.find(0.0), -1);
    EXPECT_EQ(e.find(6.0), -1);
    EXPECT_EQ(Envelope().find(0.0), -1);
}

std::vector<double> timesOf(const KeyList &keys) {
    std::vector<double> times;
    for (const Key &k : keys)
        times.push_back(k.time);
    return times;
}

KeyList keyListOf(int count) {
    KeyList keys;
    for (int i = 0; i < count; ++i)
        keys.push_back({double(i), -double(i)});
    return keys;
}

// The first key lives in the list itself and later ones on the heap: every
// operation must give the same keys on either side of that line.
TEST(KeyList, KeepsItsKeysAcrossCopiesMovesAndEdits) {
    for (int n : {0, 1, 2, 5}) {
        SCOPED_TRACE("keys: " + std::to_string(n));
        std::vector<double> expected;
        for (int i = 0; i < n; ++i)
            expected.push_back(i);

        KeyList original = keyListOf(n);
        KeyList copy(original);
        EXPECT_EQ(timesOf(copy), expected);
        KeyList moved(std::move(copy));
        EXPECT_EQ(timesOf(moved), expected);
        EXPECT_TRUE(copy.empty()); // NOLINT(bugprone-use-after-move): a moved-from list is empty

        for (int other : {0, 1, 3, 8}) {
            KeyList assigned = keyListOf(other);
            assigned = original;
            EXPECT_EQ(timesOf(assigned), expected);
            KeyList moveAssigned = keyListOf(other);
            moveAssigned = std::move(assigned);
            EXPECT_EQ(timesOf(moveAssigned), expected);
        }
        KeyList &self = original;
        original = self;
        EXPECT_EQ(timesOf(original), expected);
        EXPECT_EQ(original.size(), static_cast<std::size_t>(n));
        EXPECT_THROW(original.at(static_cast<std::size_t>(n)), std::out_of_range);

        // Emptied, the list takes keys again where it kept them.
        original.clear();
        EXPECT_TRUE(original.empty());
        original.push_back({7.0, 70.0});
        EXPECT_EQ(timesOf(original), std::vector<double>{7.0});
        EXPECT_EQ(original.at(0).value, 70.0);
    }
}

TEST(KeyList, InsertAndEraseAnywhere) {
    KeyList keys;
    EXPECT_EQ(keys.insert(keys.end(), {2.0, 0.0})->time, 2.0);   // into the list itself
    EXPECT_EQ(keys.insert(keys.begin(), {0.0, 0.0})->time, 0.0); // onto the heap
    EXPECT_EQ(keys.insert(keys.begin() + 1, {1.0, 0.0})->time, 1.0);
    EXPECT_EQ(keys.insert(keys.end(), {3.0, 0.0})->time, 3.0);
    EXPECT_EQ(timesOf(keys), (std::vector<double>{0, 1, 2, 3}));

    EXPECT_EQ(keys.erase(keys.begin() + 1)->time, 2.0);
    const Key *afterLast = keys.erase(keys.end() - 1);
    EXPECT_EQ(afterLast, keys.end());
    EXPECT_EQ(keys.erase(keys.begin())->time, 2.0);
    EXPECT_EQ(timesOf(keys), std::vector<double>{2.0});
    keys.erase(keys.begin());
    EXPECT_TRUE(keys.empty());
}

// ---------------------------------------------------------------------------

TEST(Scene, NewItemHasTheNineChannelsWithDefaults) {
    Host h;
    Item &item = h.scene.addItem("Cube", {1, 2, 3}, {0.1, 0.2, 0.3});
    ASSERT_EQ(item.channels.size(), defaultChannelNames.size());
    const double defaults[9] = {1, 2, 3, 0.1, 0.2, 0.3, 1, 1, 1};
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_STREQ(item.channels[i].name, defaultChannelNames[i]);
        EXPECT_TRUE(item.channels[i].envelope.keys().empty());
        EXPECT_EQ(item.channels[i].envelope.defaultValue(), defaults[i]);
    }
    EXPECT_EQ(h.scene.find("Cube"), &item);
    EXPECT_EQ(h.scene.find("Sphere"), nullptr);
}

TEST(Scene, SelectionIsKeptNullEndedInTheInterfaceRecord) {
    Host h;
    Item &a = h.scene.addItem("A");
    Item &b = h.scene.addItem("B");
    const auto *record = static_cast<InterfaceService *>(Host::getGlobal(INTERFACE_SERVICE_NAME, 0));
    ASSERT_EQ(record, &h.scene.interfaceRecord);
    ASSERT_NE(record->selectedItems, nullptr);
    EXPECT_EQ(record->selectedItems[0], nullptr);

    h.scene.select({&b, &a});
    EXPECT_EQ(record->selectedItems[0], &b);
    EXPECT_EQ(record->selectedItems[1], &a);
    EXPECT_EQ(record->selectedItems[2], nullptr);

    h.scene.select({&a});
    EXPECT_EQ(record->selectedItems[0], &a);
    EXPECT_EQ(record->selectedItems[1], nullptr);
    EXPECT_EQ(h.scene.selectedItems(), (std::vector<ItemId>{&a, nullptr}));
}

TEST(Scene, TimeLivesInTheTimeRecord) {
    Host h;
    const auto *record = static_cast<TimeService *>(Host::getGlobal(TIME_SERVICE_NAME, 0));
    ASSERT_EQ(record, &h.scene.timeRecord);
    h.scene.setTime(2.5);
    EXPECT_EQ(record->currentTime, 2.5);
}

class SceneServices : public ::testing::Test {
protected:
    Host h;
    const ItemService &items = *static_cast<ItemService *>(Host::getGlobal(ITEM_SERVICE_NAME, 0));
    const ChannelService &channels = *static_cast<ChannelService *>(Host::getGlobal(CHANNEL_SERVICE_NAME, 0));
    const EnvelopeService &keys = *static_cast<EnvelopeService *>(Host::getGlobal(ENVELOPE_SERVICE_NAME, 0));
};

TEST_F(SceneServices, ItemParamReadsPositionAndRotationChannelsAtTheTime) {
    Item &item = h.scene.addItem("Null", {1, 2, 3}, {0.5, 0.25, 0.125});
    item.channel("Position.X")->envelope.setKey(0.0, 0.0);
    item.channel("Position.X")->envelope.setKey(2.0, 10.0);
    item.channel("Rotation.B")->envelope.setKey(1.0, -1.0);

    double out[3];
    items.itemParam(&item, ITEM_PARAM_WORLD_POSITION, 0.5, out);
    EXPECT_EQ(Vec3({out[0], out[1], out[2]}), Vec3({2.5, 2, 3}));
    items.itemParam(&item, ITEM_PARAM_ROTATION, 0.5, out);
    EXPECT_EQ(Vec3({out[0], out[1], out[2]}), Vec3({0.5, 0.25, -1}));

    // A missing channel reads 0; an unknown code gives zeros and is refused.
    Item &bare = h.scene.addItem("Bare", {{"Position.Y", 4.0}});
    items.itemParam(&bare, ITEM_PARAM_WORLD_POSITION, 0.0, out);
    EXPECT_EQ(Vec3({out[0], out[1], out[2]}), Vec3({0, 4, 0}));
    items.itemParam(&item, 7, 0.0, out);
    EXPECT_EQ(Vec3({out[0], out[1], out[2]}), Vec3({0, 0, 0}));
    EXPECT_EQ(h.counters.rejectedCalls, 1u);
}

TEST_F(SceneServices, ChannelWalkGivesTheGroupInOrder) {
    Item &item = h.scene.addItem("Cube");
    Item &other = h.scene.addItem("Other");
    ChannelGroupId group = items.itemChannelGroup(&item);

    std::vector<std::string> names;
    for (ChannelId c = channels.nextChannel(group, nullptr); c; c = channels.nextChannel(group, c)) {
        names.emplace_back(channels.channelName(c));
        EXPECT_EQ(channels.channelEnvelope(c), &static_cast<Channel *>(c)->envelope);
    }
    EXPECT_EQ(names, std::vector<std::string>(defaultChannelNames.begin(), defaultChannelNames.end()));

    // A channel of another group ends the walk instead of wandering off.
    EXPECT_EQ(channels.nextChannel(group, &other.channels[3]), nullptr);
    EXPECT_EQ(h.counters.rejectedCalls, 1u);
    Item &empty = h.scene.addItem("Empty", std::vector<std::pair<std::string, double>>{});
    EXPECT_EQ(channels.nextChannel(items.itemChannelGroup(&empty), nullptr), nullptr);
}

TEST_F(SceneServices, CreateKeyAddsOrReplacesAndCounts) {
    Envelope &e = h.scene.addItem("Cube").channel("Position.X")->envelope;
    EXPECT_EQ(keys.findKey(&e, 1.0), nullptr);

    KeyId k1 = keys.createKey(&e, 1.0, 5.0);
    KeyId k0 = keys.createKey(&e, 0.0, 2.0); // before: k1 is no longer valid
    ASSERT_NE(k0, nullptr);
    EXPECT_EQ(h.counters.keysCreated, 2u);
    EXPECT_EQ(keys.findKey(&e, 0.0), k0);
    ASSERT_NE(keys.findKey(&e, 1.0), nullptr);
    EXPECT_NE(keys.findKey(&e, 1.0), k1);

    EXPECT_EQ(keys.createKey(&e, 1.0, 6.0), keys.findKey(&e, 1.0));
    EXPECT_EQ(h.counters.keysCreated, 2u);
    EXPECT_EQ(h.counters.keysReplaced, 1u);
    EXPECT_EQ(h.counters.valuesWritten, 0u);
    EXPECT_EQ(e.valueAt(1.0), 6.0);
    EXPECT_EQ(e.keys().size(), 2u);

    EXPECT_EQ(keys.createKey(&e, std::nan(""), 1.0), nullptr);
    EXPECT_EQ(e.keys().size(), 2u);
}

TEST_F(SceneServices, SetKeyValueWritesThroughAValidHandleOnly) {
    Envelope &e = h.scene.addItem("Cube").channel("Rotation.H")->envelope;
    e.setKey(0.0, 1.0);
    e.setKey(1.0, 2.0);
    double v = 9.0;

    ASSERT_EQ(keys.setKeyValue(&e, keys.findKey(&e, 1.0), KEY_ATTRIBUTE_VALUE, &v), 1);
    EXPECT_EQ(e.keys()[1].value, 9.0);
    EXPECT_EQ(h.counters.valuesWritten, 1u);
    EXPECT_EQ(h.counters.keysCreated, 0u); // the C++ setKey above does not count

    struct Bad {
        const char *what;
        EnvelopeId envelope;
        KeyId key;
        int attribute;
        void *value;
    };
    double w = -1.0;
    const Bad bad[] = {
        {"no key", &e, nullptr, 0, &w},
        {"index past the end", &e, reinterpret_cast<KeyId>(intptr_t{3}), 0, &w},
        {"negative index", &e, reinterpret_cast<KeyId>(intptr_t{-5}), 0, &w},
        {"other attribute", &e, keys.findKey(&e, 0.0), 1, &w},
        {"no value", &e, keys.findKey(&e, 0.0), 0, nullptr},
        {"no envelope", nullptr, keys.findKey(&e, 0.0), 0, &w},
    };
    for (const Bad &b : bad)
        EXPECT_EQ(keys.setKeyValue(b.envelope, b.key, b.attribute, b.value), 0) << b.what;
    EXPECT_EQ(e.keys()[0].value, 1.0);
    EXPECT_EQ(e.keys()[1].value, 9.0);
    EXPECT_EQ(h.counters.valuesWritten, 1u);
    EXPECT_EQ(h.counters.rejectedCalls, std::size(bad));

    h.counters.reset();
    EXPECT_EQ(h.counters.valuesWritten, 0u);
    EXPECT_EQ(h.counters.rejectedCalls, 0u);
}

} // namespace
