// services.cpp: the current host, getGlobal, and the scene, animation and
// viewport service records.
//
// Every service function finds its data through the current host. A handle
// the host cannot use (null, a channel of another group, a key index out of
// range, an unknown viewport) makes the call do nothing, give none or zeros,
// and counts in counters.rejectedCalls. The functions that modules call once
// per key or item do not allocate.
#include "internal.h"

#include <cmath>
#include <cstring>

namespace host {

namespace {

Host *currentHost = nullptr;

void reject() {
    if (Host *h = Host::current())
        ++h->counters.rejectedCalls;
}

// KeyId: the key's index plus one, so that index 0 is not the null "none".
// Valid until the next key insertion in the same envelope.
KeyId keyIdOf(std::ptrdiff_t index) { return reinterpret_cast<KeyId>(static_cast<intptr_t>(index + 1)); }
std::ptrdiff_t indexOfKeyId(KeyId key) { return static_cast<std::ptrdiff_t>(reinterpret_cast<intptr_t>(key)) - 1; }

// ---- "LW Item Info 4" ------------------------------------------------------

void itemParam(ItemId itemId, int code, double time, double out[3]) {
    if (!out) {
        reject();
        return;
    }
    out[0] = out[1] = out[2] = 0.0;
    Host *h = Host::current();
    const Item *item = static_cast<const Item *>(itemId);
    if (!h || !item || (code != ITEM_PARAM_WORLD_POSITION && code != ITEM_PARAM_ROTATION)) {
        reject();
        return;
    }
    // Items have no parents: the world position is the item's own.
    const Vec3 v = code == ITEM_PARAM_WORLD_POSITION ? h->scene.position(*item, time) : h->scene.rotation(*item, time);
    out[0] = v[0];
    out[1] = v[1];
    out[2] = v[2];
}

ChannelGroupId itemChannelGroup(ItemId item) {
    if (!item)
        reject();
    return item; // an item is its own channel group
}

// ---- "Channel Info 2" ------------------------------------------------------

ChannelId nextChannel(ChannelGroupId group, ChannelId channelId) {
    Item *item = static_cast<Item *>(group);
    if (!item) {
        reject();
        return nullptr;
    }
    const ChannelList &channels = item->channels;
    if (!channelId)
        return channels.empty() ? nullptr : &channels.front();
    const auto at = reinterpret_cast<uintptr_t>(channelId);
    const auto first = reinterpret_cast<uintptr_t>(channels.data());
    const auto end = reinterpret_cast<uintptr_t>(channels.data() + channels.size());
    if (at < first || at >= end || (at - first) % sizeof(Channel) != 0) {
        reject(); // not a channel of this group
        return nullptr;
    }
    const std::size_t next = (at - first) / sizeof(Channel) + 1;
    return next < channels.size() ? &channels[next] : nullptr;
}

const char *channelName(ChannelId channel) {
    if (!channel) {
        reject();
        return nullptr;
    }
    return static_cast<Channel *>(channel)->name;
}

EnvelopeId channelEnvelope(ChannelId channel) {
    if (!channel) {
        reject();
        return nullptr;
    }
    return &static_cast<Channel *>(channel)->envelope;
}

// ---- "Animation Envelopes" -------------------------------------------------

KeyId findKey(EnvelopeId envelopeId, double time) {
    const Envelope *envelope = static_cast<const Envelope *>(envelopeId);
    if (!envelope) {
        reject();
        return nullptr;
    }
    const std::ptrdiff_t index = envelope->find(time);
    return index < 0 ? nullptr : keyIdOf(index);
}

int setKeyValue(EnvelopeId envelopeId, KeyId key, int attribute, void *value) {
    Envelope *envelope = static_cast<Envelope *>(envelopeId);
    if (!envelope || !value || attribute != KEY_ATTRIBUTE_VALUE) {
        reject();
        return 0;
    }
    const std::ptrdiff_t index = indexOfKeyId(key);
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(envelope->keys().size())) {
        reject();
        return 0;
    }
    envelope->keys()[static_cast<std::size_t>(index)].value = *static_cast<const double *>(value);
    if (Host *h = Host::current())
        ++h->counters.valuesWritten;
    return 1;
}

KeyId createKey(EnvelopeId envelopeId, double time, double value) {
    Envelope *envelope = static_cast<Envelope *>(envelopeId);
    if (!envelope || std::isnan(time)) { // a NaN time has no place among the keys
        reject();
        return nullptr;
    }
    Host *h = Host::current();
    std::ptrdiff_t index = envelope->find(time);
    if (index >= 0) {
        envelope->keys()[static_cast<std::size_t>(index)].value = value;
        if (h)
            ++h->counters.keysReplaced;
        return keyIdOf(index);
    }
    envelope->setKey(time, value);
    const auto &keys = envelope->keys();
    index = keys.back().time == time ? static_cast<std::ptrdiff_t>(keys.size()) - 1 : envelope->find(time);
    if (h)
        ++h->counters.keysCreated;
    return keyIdOf(index);
}

// ---- "LW Viewport Info 3" --------------------------------------------------

const Viewport *viewportOf(Host *h, int number) {
    if (!h || number < 0 || static_cast<std::size_t>(number) >= h->viewports.size())
        return nullptr;
    return &h->viewports[static_cast<std::size_t>(number)];
}

int projectPoint(int viewport, const double world[3], double *x, double *y, double *depth) {
    double px = 0.0, py = 0.0, pd = 0.0;
    const Viewport *view = viewportOf(Host::current(), viewport);
    const bool ok = view && world;
    if (ok)
        view->project({world[0], world[1], world[2]}, px, py, pd);
    else
        reject();
    if (x)
        *x = px;
    if (y)
        *y = py;
    if (depth)
        *depth = pd;
    return ok ? 1 : 0;
}

double gridSize(int viewport) {
    const Viewport *view = viewportOf(Host::current(), viewport);
    if (!view) {
        reject();
        return 0.0;
    }
    return view->gridSize;
}

} // namespace

// ---------------------------------------------------------------------------
// The host and getGlobal
// ---------------------------------------------------------------------------

Host::Host() : previous_(currentHost) {
    itemRecord = {itemParam, itemChannelGroup};
    channelRecord = {nextChannel, channelName, channelEnvelope};
    envelopeRecord = {findKey, setKeyValue, createKey};
    viewportRecord = {projectPoint, gridSize};
    panelRecord = detail::panelServiceTable();
    currentHost = this;
}

Host::~Host() {
    if (currentHost == this) {
        currentHost = previous_;
        return;
    }
    // Destroyed out of order: unlink it from the chain of earlier hosts.
    for (Host *h = currentHost; h; h = h->previous_)
        if (h->previous_ == this) {
            h->previous_ = previous_;
            break;
        }
}

Host *Host::current() { return currentHost; }

void *Host::getGlobal(const char *serviceName, int /*useMode*/) {
    Host *h = currentHost;
    if (!h || !serviceName)
        return nullptr;
    h->serviceRequests.emplace_back(serviceName);
    for (const std::string &missing : h->faults.missingServices)
        if (missing == serviceName)
            return nullptr;

    struct Entry {
        const char *name;
        void *record;
    };
    const Entry entries[] = {
        {TIME_SERVICE_NAME, &h->scene.timeRecord},
        {INTERFACE_SERVICE_NAME, &h->scene.interfaceRecord},
        {ITEM_SERVICE_NAME, &h->itemRecord},
        {CHANNEL_SERVICE_NAME, &h->channelRecord},
        {ENVELOPE_SERVICE_NAME, &h->envelopeRecord},
        {VIEWPORT_SERVICE_NAME, &h->viewportRecord},
        {PANEL_SERVICE_NAME, &h->panelRecord},
    };
    for (const Entry &entry : entries)
        if (std::strcmp(entry.name, serviceName) == 0)
            return entry.record;
    return nullptr;
}

} // namespace host
