// module.cpp: the module descriptor, the activation and the host callbacks.
//
// Every function the host calls is a short trampoline: it finds the instance,
// calls the toolkit's or the tool's noexcept operation, and lets nothing
// escape.
#include "callbacks.h"

#include <climits>

namespace {

// 333 once the first activation of this module load applied the defaults.
int defaultsMarker = 0;

ToolCommon &instanceFrom(void *instance) noexcept { return *static_cast<ToolCommon *>(instance); }

void *startup() noexcept { return reinterpret_cast<void *>(static_cast<intptr_t>(4)); }
void shutdown(void *) noexcept {}

// Closing the panel neither ends the tool nor changes the instance.
void onPanelClose(PanelId, void *) noexcept {}

void done(void *instance) noexcept {
    if (!instance) return; // a host that calls done after a failed activation
    ToolCommon &tool = instanceFrom(instance);
    if (PanelService *panels = hostServices.panelService; panels && tool.panelId) {
        if (panelOpen(tool) && panels->closePanel) panels->closePanel(tool.panelId);
        if (panels->destroyPanel) panels->destroyPanel(tool.panelId);
    }
    destroyInstance(&tool);
}

void draw(void *instance, DrawAccess *access) noexcept {
    if (instance && access && toolTraits.handleTest != HandleTest::never)
        drawOriginHandle(instanceFrom(instance), *access);
}

const char *help(void *, ToolEvent *) noexcept { return toolTraits.helpText; }

int dirty(void *instance) noexcept { return instance && instanceFrom(instance).dirty ? TOOL_DIRTY_ALL : 0; }

int count(void *, ToolEvent *) noexcept { return 0; }

// The index plus one; the largest index has no successor and answers itself.
int handle(void *, ToolEvent *, int index, double *) noexcept { return index < INT_MAX ? index + 1 : INT_MAX; }

int start(void *instance, ToolEvent *event) noexcept {
    if (!instance) return 1;
    ToolCommon &tool = instanceFrom(instance);
    if (event) pickAxis(tool, *event);
    captureSelection(tool);
    return 1;
}

int adjust(void *instance, ToolEvent *, int) noexcept {
    if (instance) instanceFrom(instance).dirty = 1;
    return 0;
}

int down(void *instance, ToolEvent *event) noexcept {
    if (instance && event) pressDown(instanceFrom(instance), *event);
    return 1;
}

void moveCallback(void *instance, ToolEvent *event) noexcept {
    if (instance && event) move(instanceFrom(instance), *event);
}

void upCallback(void *instance, ToolEvent *event) noexcept {
    static const ToolEvent none{};
    if (instance) up(instanceFrom(instance), event ? *event : none);
}

void event(void *instance, int code) noexcept {
    if (instance && code == TOOL_EVENT_REFRESH) instanceFrom(instance).dirty = 1;
}

template <class Service>
Service *fetch(GlobalFunc getGlobal, const char *name) noexcept {
    return static_cast<Service *>(getGlobal(name, 0));
}

void bindServices(GlobalFunc getGlobal) noexcept {
    hostServices.panelService = fetch<PanelService>(getGlobal, PANEL_SERVICE_NAME);
    hostServices.viewportService = fetch<ViewportService>(getGlobal, VIEWPORT_SERVICE_NAME);
    hostServices.interfaceService = fetch<InterfaceService>(getGlobal, INTERFACE_SERVICE_NAME);
    hostServices.itemService = fetch<ItemService>(getGlobal, ITEM_SERVICE_NAME);
    hostServices.timeService = fetch<TimeService>(getGlobal, TIME_SERVICE_NAME);
    hostServices.channelService = fetch<ChannelService>(getGlobal, CHANNEL_SERVICE_NAME);
    hostServices.envelopeService = fetch<EnvelopeService>(getGlobal, ENVELOPE_SERVICE_NAME);
}

// The activation: one new instance per use of the tool. 0 success, 1 no
// instance, 2 no panel (the instance is then freed again: the host gets no
// done to call for it).
int activateTool(int, GlobalFunc getGlobal, void *local, void *) noexcept {
    auto *slot = static_cast<ToolSlot *>(local);
    if (!slot || !getGlobal) return 1;

    ToolCommon *tool = createInstance();
    if (!tool) return 1;

    if (defaultsMarker != 333) {
        applyFirstActivationDefaults();
        defaultsMarker = 333;
    }
    bindServices(getGlobal);
    slot->instance = tool;
    if (hostServices.panelService) hostServices.panelService->panelGlobal = getGlobal;

    forgetLastNudge();
    tool->panelId = buildPanel(*tool);
    if (!tool->panelId) {
        slot->instance = nullptr;
        destroyInstance(tool);
        return 2;
    }
    PanelService &panels = *hostServices.panelService; // buildPanel succeeded, so it exists
    if (panels.openPanel) panels.openPanel(tool->panelId, 0);
    if (panels.setPanelAttribute)
        panels.setPanelAttribute(tool->panelId, PANEL_CLOSE_CALLBACK, reinterpret_cast<void *>(&onPanelClose));

    if (ToolCallbacks *callbacks = slot->callbacks) {
        callbacks->done = done;
        callbacks->draw = draw;
        callbacks->help = help;
        callbacks->dirty = dirty;
        callbacks->count = count;
        callbacks->handle = handle;
        callbacks->start = start;
        callbacks->adjust = adjust;
        callbacks->down = down;
        callbacks->move = moveCallback;
        callbacks->up = upCallback;
        callbacks->event = event;
    }
    return 0;
}

const ServerRecord servers[] = {
    {LAYOUT_TOOL_CLASS, toolTraits.serverName, activateTool, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

} // namespace

extern "C" MODULE_EXPORT ModuleDescriptor _mod_descrip;
ModuleDescriptor _mod_descrip = {MODULE_SYNC, MODULE_VERSION, MODULE_MACHINE, startup, shutdown, servers};
