// scene.cpp: envelopes, items and the scene's selection and clock.
#include "host.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace host {

const std::array<const char *, 9> defaultChannelNames{
    "Position.X", "Position.Y", "Position.Z",
    "Rotation.H", "Rotation.P", "Rotation.B",
    "Scale.X",    "Scale.Y",    "Scale.Z",
};

namespace {

// The channel of that name without building a std::string for it. A
// default channel's name is the very text of defaultChannelNames.
Channel *channelNamed(const Item &item, const char *name) {
    for (Channel &channel : item.channels)
        if (channel.name == name || std::strcmp(channel.name, name) == 0)
            return &channel;
    return nullptr;
}

// Channels a block of the scene's channel storage holds, unless one item
// has more.
constexpr std::size_t channelBlockSize = 4096;

} // namespace

// ---------------------------------------------------------------------------
// KeyList
// ---------------------------------------------------------------------------

KeyList::KeyList(const KeyList &other) {
    reserve(other.size_);
    std::copy(other.begin(), other.end(), data());
    size_ = other.size_;
}

KeyList &KeyList::operator=(const KeyList &other) {
    if (this != &other)
        *this = KeyList(other);
    return *this;
}

KeyList::KeyList(KeyList &&other) noexcept { *this = std::move(other); }

KeyList &KeyList::operator=(KeyList &&other) noexcept {
    if (this == &other)
        return *this;
    release();
    if (other.capacity_ > 1)
        heap_ = other.heap_;
    else
        one_ = other.one_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.one_ = {};
    other.size_ = 0;
    other.capacity_ = 1;
    return *this;
}

void KeyList::release() noexcept {
    if (capacity_ > 1)
        delete[] heap_;
    one_ = {};
    size_ = 0;
    capacity_ = 1;
}

void KeyList::reserve(std::size_t capacity) {
    if (capacity <= capacity_)
        return;
    if (capacity > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many keys in one envelope");
    Key *keys = new Key[capacity];
    std::copy(begin(), end(), keys);
    if (capacity_ > 1)
        delete[] heap_;
    heap_ = keys;
    capacity_ = static_cast<std::uint32_t>(capacity);
}

const Key &KeyList::at(std::size_t i) const {
    if (i >= size_)
        throw std::out_of_range("no key " + std::to_string(i) + " among " + std::to_string(size_));
    return data()[i];
}

void KeyList::push_back(Key key) {
    if (size_ == capacity_)
        reserve(std::size_t{capacity_} * 2);
    data()[size_++] = key;
}

Key *KeyList::insert(const Key *at, Key key) {
    const std::size_t index = static_cast<std::size_t>(at - data());
    push_back(key);
    Key *keys = data();
    std::rotate(keys + index, keys + size_ - 1, keys + size_);
    return keys + index;
}

Key *KeyList::erase(const Key *at) {
    Key *keys = data();
    const std::size_t index = static_cast<std::size_t>(at - keys);
    std::copy(keys + index + 1, keys + size_, keys + index);
    --size_;
    return keys + index;
}

// ---------------------------------------------------------------------------
// Envelope
// ---------------------------------------------------------------------------

double Envelope::valueAt(double t) const {
    if (keys_.empty())
        return defaultValue_;
    if (!(t > keys_.front().time))
        return keys_.front().value;
    if (!(t < keys_.back().time))
        return keys_.back().value;
    // front.time < t < back.time: `next` is the first key at or after t and
    // has a key before it.
    const Key *next = firstAtOrAfter(t);
    if (next->time == t)
        return next->value;
    const Key *prev = next - 1;
    double f = (t - prev->time) / (next->time - prev->time);
    return prev->value + (next->value - prev->value) * f;
}

void Envelope::setKey(double t, double value) {
    if (std::isnan(t))
        return;
    if (keys_.empty() || keys_.back().time < t) {
        keys_.push_back({t, value});
        return;
    }
    const Key *at = firstAtOrAfter(t);
    if (at != keys_.end() && at->time == t)
        keys_[static_cast<std::size_t>(at - keys_.begin())].value = value;
    else
        keys_.insert(at, {t, value});
}

// ---------------------------------------------------------------------------
// Item
// ---------------------------------------------------------------------------

Channel *Item::channel(const std::string &name) { return channelNamed(*this, name.c_str()); }
const Channel *Item::channel(const std::string &name) const { return channelNamed(*this, name.c_str()); }

// ---------------------------------------------------------------------------
// Scene
// ---------------------------------------------------------------------------

Scene::Scene() { interfaceRecord.selectedItems = selection_.data(); }

Item &Scene::addItem(const std::string &name, Vec3 position, Vec3 rotation) {
    const double defaults[9] = {position[0], position[1], position[2],
                                rotation[0], rotation[1], rotation[2],
                                1.0,         1.0,         1.0};
    ChannelList channels = addChannels(defaultChannelNames.size());
    for (std::size_t i = 0; i < channels.size(); ++i)
        channels[i] = {defaultChannelNames[i], Envelope(defaults[i])};
    return items_.emplace_back(Item{name, channels});
}

Item &Scene::addItem(const std::string &name, const std::vector<std::pair<std::string, double>> &channels) {
    ChannelList list = addChannels(channels.size());
    for (std::size_t i = 0; i < channels.size(); ++i)
        list[i] = {keptName(channels[i].first), Envelope(channels[i].second)};
    return items_.emplace_back(Item{name, list});
}

ChannelList Scene::addChannels(std::size_t count) {
    if (channelBlocks_.empty() || channelBlocks_.back().capacity() - channelBlocks_.back().size() < count)
        channelBlocks_.emplace_back().reserve(std::max(count, channelBlockSize));
    std::vector<Channel> &block = channelBlocks_.back();
    ChannelList list;
    list.first_ = block.data() + block.size();
    list.count_ = count;
    block.resize(block.size() + count, Channel{"", Envelope()}); // within the capacity: nothing moves
    return list;
}

const char *Scene::keptName(const std::string &name) {
    for (const char *known : defaultChannelNames)
        if (name == known)
            return known;
    return channelNames_.insert(name).first->c_str();
}

Item *Scene::find(const std::string &name) {
    for (Item &item : items_)
        if (item.name == name)
            return &item;
    return nullptr;
}

void Scene::select(const std::vector<Item *> &items) {
    selection_.assign(items.begin(), items.end());
    selection_.push_back(nullptr);
    interfaceRecord.selectedItems = selection_.data();
}

namespace {

// The values of the three default channels from `first` on.
Vec3 channelValues(const Item &item, std::size_t first, double t) {
    const char *const *names = &defaultChannelNames[first];
    Vec3 out{};
    for (int i = 0; i < 3; ++i)
        if (const Channel *channel = channelNamed(item, names[i]))
            out[i] = channel->envelope.valueAt(t);
    return out;
}

} // namespace

Vec3 Scene::position(const Item &item, double t) const { return channelValues(item, 0, t); }
Vec3 Scene::rotation(const Item &item, double t) const { return channelValues(item, 3, t); }

} // namespace host
