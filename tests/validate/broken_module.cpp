// broken_module.cpp: a small foreign "LayoutTool" module for the validator's
// tests. Built as it stands it is sound: a drag keys Position.X of every
// selected item at the current time. Each build definition gives it one
// fault of the kind the validator exists to catch:
//
//   BROKEN_KEYS_NAN          a drag keys NaN
//   BROKEN_KEYS_SCALE        a drag keys Scale.X
//   BROKEN_KEYS_OTHER_TIME   a drag keys one second after the current time
//   BROKEN_EMPTY_SELECTION   start and down divide by the number of selected items
//   BROKEN_LEAKS             every activation leaks a block of memory
//   BROKEN_KEEPS_PANEL       done never destroys the panel
#include "host_interface.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

GlobalFunc globals = nullptr;

template <class Service>
Service *service(const char *name) {
    return globals ? static_cast<Service *>(globals(name, 0)) : nullptr;
}

struct Instance {
    PanelId panel;
};

#ifdef BROKEN_LEAKS
char *volatile lastBlock = nullptr; // each activation's block replaces the last one's
#endif

EnvelopeId envelopeOf(ItemId item, const char *channelName) {
    auto *items = service<ItemService>(ITEM_SERVICE_NAME);
    auto *channels = service<ChannelService>(CHANNEL_SERVICE_NAME);
    if (!items || !channels) return nullptr;
    ChannelGroupId group = items->itemChannelGroup(item);
    for (ChannelId c = channels->nextChannel(group, nullptr); c; c = channels->nextChannel(group, c)) {
        const char *name = channels->channelName(c);
        if (name && std::strcmp(name, channelName) == 0) return channels->channelEnvelope(c);
    }
    return nullptr;
}

#ifdef BROKEN_EMPTY_SELECTION
int selectedCount() {
    auto *ui = service<InterfaceService>(INTERFACE_SERVICE_NAME);
    int n = 0;
    if (ui && ui->selectedItems)
        while (ui->selectedItems[n]) ++n;
    return n;
}
#endif

int press(void *, ToolEvent *) {
#ifdef BROKEN_EMPTY_SELECTION
    volatile int n = selectedCount();
    volatile int perItem = 1000 / n; // the centre of nothing
    (void)perItem;
#endif
    return 1;
}

void move(void *, ToolEvent *event) {
    auto *ui = service<InterfaceService>(INTERFACE_SERVICE_NAME);
    auto *clock = service<TimeService>(TIME_SERVICE_NAME);
    auto *keys = service<EnvelopeService>(ENVELOPE_SERVICE_NAME);
    if (!ui || !ui->selectedItems || !clock || !keys || !event) return;
    const char *channel = "Position.X";
    double time = clock->currentTime;
    double value = 1.0 + event->deltaX % 100;
#if defined(BROKEN_KEYS_NAN)
    value = std::numeric_limits<double>::quiet_NaN();
#elif defined(BROKEN_KEYS_SCALE)
    channel = "Scale.X";
#elif defined(BROKEN_KEYS_OTHER_TIME)
    time += 1.0;
#endif
    for (const ItemId *item = ui->selectedItems; *item; ++item)
        if (EnvelopeId envelope = envelopeOf(*item, channel)) keys->createKey(envelope, time, value);
}

void done(void *instance) {
    auto *self = static_cast<Instance *>(instance);
#ifndef BROKEN_KEEPS_PANEL
    auto *panels = service<PanelService>(PANEL_SERVICE_NAME);
    if (panels && self->panel) panels->destroyPanel(self->panel);
#endif
    delete self;
}

void drawNothing(void *, DrawAccess *) {}
const char *help(void *, ToolEvent *) { return "broken"; }
int dirty(void *) { return 0; }
int none(void *, ToolEvent *) { return 0; }
int handle(void *, ToolEvent *, int, double *) { return 0; }
int adjust(void *, ToolEvent *, int) { return 0; }
void up(void *, ToolEvent *) {}
void event(void *, int) {}

int activate(int, GlobalFunc getGlobal, void *local, void *) {
    auto *slot = static_cast<ToolSlot *>(local);
    if (!slot || !getGlobal) return 1;
    globals = getGlobal;
#ifdef BROKEN_LEAKS
    lastBlock = new char[256];
#endif
    auto *self = new Instance{nullptr};
    if (auto *panels = service<PanelService>(PANEL_SERVICE_NAME); panels && panels->createPanel) {
        self->panel = panels->createPanel("Broken", nullptr);
        if (self->panel) panels->openPanel(self->panel, 0);
    }
    slot->instance = self;
    ToolCallbacks *c = slot->callbacks;
    c->done = done;
    c->draw = drawNothing;
    c->help = help;
    c->dirty = dirty;
    c->count = none;
    c->handle = handle;
    c->start = press;
    c->adjust = adjust;
    c->down = press;
    c->move = move;
    c->up = up;
    c->event = event;
    return 0;
}

void *startup() { return reinterpret_cast<void *>(static_cast<intptr_t>(4)); }
void shutdown(void *) {}

const ServerRecord servers[] = {
    {LAYOUT_TOOL_CLASS, "Broken_Tool", activate, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

} // namespace

extern "C" MODULE_EXPORT const ModuleDescriptor _mod_descrip;
const ModuleDescriptor _mod_descrip = {MODULE_SYNC, MODULE_VERSION, MODULE_MACHINE, startup, shutdown, servers};
