// context.cpp: building a tool's benchmark scene and activation.
#include "context.h"

#include "allocation_counter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

const char *modulePath(ToolKind kind) {
    switch (kind) {
    case ToolKind::pellwyn: return PELLWYN_MODULE;
    case ToolKind::tamsery: return TAMSERY_MODULE;
    case ToolKind::vestral: return VESTRAL_MODULE;
    }
    return "";
}

// Item placement: a fixed pseudo-random spread.
struct Spread {
    std::uint64_t state;
    double next(double lo, double hi) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return lo + (hi - lo) * static_cast<double>(state >> 11) / 9007199254740992.0;
    }
};

template <class Record>
const Record *fetch(const char *name) {
    auto *record = static_cast<const Record *>(host::Host::getGlobal(name, 0));
    if (!record) throw std::runtime_error(std::string("the host offers no ") + name);
    return record;
}

std::unique_ptr<Context> current;
std::vector<CounterCheck> checks;

} // namespace

const char *toolName(ToolKind kind) {
    switch (kind) {
    case ToolKind::pellwyn: return "pellwyn";
    case ToolKind::tamsery: return "tamsery";
    case ToolKind::vestral: return "vestral";
    }
    return "";
}

const std::vector<CounterCheck> &counterChecks() { return checks; }

Context &Context::forTool(ToolKind kind) {
    if (!current || current->kind != kind) {
        current.reset(); // its host stops being current before the next one starts
        current.reset(new Context(kind));
    }
    return *current;
}

Context::Context(ToolKind k) : kind(k) {
    std::string error;
    module = host::Module::open(modulePath(kind), error);
    if (!module) throw std::runtime_error(error);
    tool = std::make_unique<host::Tool>(host, *module);
    if (tool->result() != 0)
        throw std::runtime_error(std::string(toolName(kind)) + ": " + host::activationResultText(tool->result()));

    services.time = fetch<TimeService>(TIME_SERVICE_NAME);
    services.interface = fetch<InterfaceService>(INTERFACE_SERVICE_NAME);
    services.item = fetch<ItemService>(ITEM_SERVICE_NAME);
    services.channel = fetch<ChannelService>(CHANNEL_SERVICE_NAME);
    services.envelope = fetch<EnvelopeService>(ENVELOPE_SERVICE_NAME);
    services.viewport = fetch<ViewportService>(VIEWPORT_SERVICE_NAME);
    services.panel = fetch<PanelService>(PANEL_SERVICE_NAME);

    const double x = 500, y = 400; // the cross starts at the origin, (320, 240) in the front view
    press_ = host.eventAtPixel(0, x, y);
    for (std::size_t i = 0; i < moves_.size(); ++i) {
        const int dx = 10 + static_cast<int>(i);
        moves_[i] = host.eventAtPixel(0, x + dx, y, dx, 0);
    }

    // A zero from the allocation counter means something only if the
    // module's own allocations reach it: the first capture of a selection
    // larger than the tool's item array has to grow that array.
    select(64);
    const AllocationWindow window;
    tool->down(press_);
    const std::uint64_t allocations = window.since().calls;
    checks.push_back({kind, allocations});
    if (allocations == 0) {
        std::fprintf(stderr, "%s: the allocation counter does not see the module's allocations\n", toolName(kind));
        std::exit(2);
    }
}

Context::~Context() = default;

void Context::select(std::size_t n) {
    for (std::size_t i = items_.size(); i < n; ++i) {
        Spread spread{0x9E3779B97F4A7C15u * (i + 1)}; // item i lies where it lies in every run and every tool
        const host::Vec3 position{spread.next(-50, 50), spread.next(-50, 50), spread.next(-50, 50)};
        const host::Vec3 rotation{spread.next(-3, 3), spread.next(-1.5, 1.5), spread.next(-3, 3)};
        items_.push_back(&host.scene.addItem("item" + std::to_string(i), position, rotation));
    }
    host.scene.select(std::vector<host::Item *>(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(n)));
    selected_ = n;
    clearKeys();
}

void Context::clearKeys() {
    for (std::size_t i = 0; i < selected_; ++i)
        for (host::Channel &channel : items_[i]->channels) channel.envelope.keys().clear();
}

host::Control &Context::control(const std::string &label, int occurrence) {
    host::Panel *panel = host.currentPanel();
    host::Control *c = panel ? panel->find(label, occurrence) : nullptr;
    if (!c) throw std::runtime_error(std::string(toolName(kind)) + ": no control \"" + label + "\"");
    return *c;
}
