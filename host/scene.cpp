// scene.cpp: envelopes, items and the scene's selection and clock.
#include "host.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace host {

const std::array<const char *, 9> defaultChannelNames{
    "Position.X", "Position.Y", "Position.Z",
    "Rotation.H", "Rotation.P", "Rotation.B",
    "Scale.X",    "Scale.Y",    "Scale.Z",
};

namespace {

bool keyBefore(const Key &key, double t) { return key.time < t; }

// The channel of that name without building a std::string for it.
template <typename ItemT>
auto channelNamed(ItemT &item, const char *name) -> decltype(&item.channels[0]) {
    for (auto &channel : item.channels)
        if (std::strcmp(channel.name.c_str(), name) == 0)
            return &channel;
    return nullptr;
}

} // namespace

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
    auto next = std::lower_bound(keys_.begin(), keys_.end(), t, keyBefore);
    if (next->time == t)
        return next->value;
    auto prev = next - 1;
    double f = (t - prev->time) / (next->time - prev->time);
    return prev->value + (next->value - prev->value) * f;
}

std::ptrdiff_t Envelope::find(double t) const {
    auto it = std::lower_bound(keys_.begin(), keys_.end(), t, keyBefore);
    if (it == keys_.end() || it->time != t)
        return -1;
    return it - keys_.begin();
}

void Envelope::setKey(double t, double value) {
    if (std::isnan(t))
        return;
    if (keys_.empty() || keys_.back().time < t) {
        keys_.push_back({t, value});
        return;
    }
    auto it = std::lower_bound(keys_.begin(), keys_.end(), t, keyBefore);
    if (it != keys_.end() && it->time == t)
        it->value = value;
    else
        keys_.insert(it, {t, value});
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
    Item &item = items_.emplace_back();
    item.name = name;
    item.channels.reserve(defaultChannelNames.size());
    for (std::size_t i = 0; i < defaultChannelNames.size(); ++i)
        item.channels.push_back({defaultChannelNames[i], Envelope(defaults[i])});
    return item;
}

Item &Scene::addItem(const std::string &name, const std::vector<std::pair<std::string, double>> &channels) {
    Item &item = items_.emplace_back();
    item.name = name;
    item.channels.reserve(channels.size());
    for (const auto &[channelName, defaultValue] : channels)
        item.channels.push_back({channelName, Envelope(defaultValue)});
    return item;
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

Vec3 channelValues(const Item &item, const char *const names[3], double t) {
    Vec3 out{};
    for (int i = 0; i < 3; ++i)
        if (const Channel *channel = channelNamed(item, names[i]))
            out[i] = channel->envelope.valueAt(t);
    return out;
}

const char *const positionNames[3] = {"Position.X", "Position.Y", "Position.Z"};
const char *const rotationNames[3] = {"Rotation.H", "Rotation.P", "Rotation.B"};

} // namespace

Vec3 Scene::position(const Item &item, double t) const { return channelValues(item, positionNames, t); }
Vec3 Scene::rotation(const Item &item, double t) const { return channelValues(item, rotationNames, t); }

} // namespace host
