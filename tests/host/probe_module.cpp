// probe_module.cpp: a small "LayoutTool" module that exercises the host's
// loader and callback driving. Its callbacks answer in ways that show which
// arguments arrived, and it records the rest in `probe_log`.
//
// Built several times with different definitions to give the loader broken
// modules: FIXTURE_SYNC, FIXTURE_VERSION, FIXTURE_MACHINE override the
// descriptor's words, FIXTURE_CLASS the server's class, and
// FIXTURE_NO_DESCRIPTOR exports the descriptor under another name.
#include "probe_log.h"

#include <cstdlib>
#include <cstring>

#ifndef FIXTURE_SYNC
#define FIXTURE_SYNC MODULE_SYNC
#endif
#ifndef FIXTURE_VERSION
#define FIXTURE_VERSION MODULE_VERSION
#endif
#ifndef FIXTURE_MACHINE
#define FIXTURE_MACHINE MODULE_MACHINE
#endif
#ifndef FIXTURE_CLASS
#define FIXTURE_CLASS LAYOUT_TOOL_CLASS
#endif

extern "C" MODULE_EXPORT ProbeLog probe_log;
ProbeLog probe_log;

namespace {

struct Probe {
    PanelService *panels;
    PanelId panel;
    int events; // `event` calls
};

Probe *self(void *instance) { return static_cast<Probe *>(instance); }

void record(char what, const ToolEvent *event) {
    const std::size_t n = std::strlen(probe_log.trace);
    if (n >= PROBE_TRACE_MAX)
        return;
    probe_log.trace[n] = what;
    probe_log.deltaX[n] = event->deltaX;
    probe_log.deltaY[n] = event->deltaY;
    probe_log.viewport[n] = event->viewport;
    probe_log.flags[n] = event->eventFlags;
}

void done(void *instance) {
    ++probe_log.dones;
    Probe *p = self(instance);
    p->panels->destroyPanel(p->panel);
    std::free(p);
}

// Four lines: one before any colour is set, then red, then two in green.
// The first point's x is the view, so the test sees which view arrived.
void draw(void *, DrawAccess *access) {
    const float red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    const float green[4] = {0.0f, 1.0f, 0.0f, 0.5f};
    const double a[3] = {static_cast<double>(access->view), 0.0, 0.0};
    const double b[3] = {1.0, 2.0, 3.0};
    access->drawLine(access->drawData, a, b, DRAW_WINDOW_COORDINATES);
    access->setColor(access->drawData, red);
    access->drawLine(access->drawData, a, b, DRAW_WINDOW_COORDINATES);
    access->setColor(access->drawData, green);
    access->drawLine(access->drawData, b, a, DRAW_WINDOW_COORDINATES);
    access->drawLine(access->drawData, a, a, 2);
}

const char *help(void *, ToolEvent *event) { return event ? "probe help" : nullptr; }
int dirty(void *instance) { return self(instance)->events; }
int count(void *, ToolEvent *event) { return event ? 0 : -1; }
int handle(void *, ToolEvent *, int index, double *) { return index + 1; }
int start(void *, ToolEvent *event) {
    record('S', event);
    return 1;
}
int adjust(void *, ToolEvent *, int index) { return 2 * index; }
int down(void *, ToolEvent *event) {
    record('D', event);
    return 1;
}
void move(void *, ToolEvent *event) { record('M', event); }
void up(void *, ToolEvent *event) { record('U', event); }
void event(void *instance, int code) { self(instance)->events += code; }

void onPanelClose(PanelId, void *) {}

int activate(int version, GlobalFunc getGlobal, void *local, void *serverData) {
    ++probe_log.activations;
    probe_log.activationVersion = version;
    probe_log.activationGlobal = getGlobal;
    probe_log.activationServerData = serverData;

    auto *p = static_cast<Probe *>(std::calloc(1, sizeof(Probe)));
    if (!p)
        return 1;
    auto *slot = static_cast<ToolSlot *>(local);
    slot->instance = p;
    p->panels = static_cast<PanelService *>(getGlobal(PANEL_SERVICE_NAME, 0));
    p->panel = p->panels ? p->panels->createPanel("Probe", nullptr) : nullptr;
    if (!p->panel) {
        // The host calls no done for a failed activation: nothing may stay behind.
        slot->instance = nullptr;
        std::free(p);
        return 2;
    }
    p->panels->openPanel(p->panel, 0);
    p->panels->setPanelAttribute(p->panel, PANEL_CLOSE_CALLBACK, reinterpret_cast<void *>(onPanelClose));

    ToolCallbacks *c = slot->callbacks;
    c->done = done;
    c->draw = draw;
    c->help = help;
    c->dirty = dirty;
    c->count = count;
    c->handle = handle;
    c->start = start;
    c->adjust = adjust;
    c->down = down;
    c->move = move;
    c->up = up;
    c->event = event;
    return 0;
}

void *startup() {
    ++probe_log.startups;
    return reinterpret_cast<void *>(4);
}

void shutdown(void *serverData) {
    ++probe_log.shutdowns;
    probe_log.shutdownData = serverData;
}

const ServerRecord servers[] = {
    {FIXTURE_CLASS, "Probe", activate, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

} // namespace

#ifdef FIXTURE_NO_DESCRIPTOR
#define DESCRIPTOR_NAME mod_descrip
#else
#define DESCRIPTOR_NAME _mod_descrip
#endif

extern "C" MODULE_EXPORT const ModuleDescriptor DESCRIPTOR_NAME;
const ModuleDescriptor DESCRIPTOR_NAME = {FIXTURE_SYNC, FIXTURE_VERSION, FIXTURE_MACHINE, startup, shutdown, servers};
