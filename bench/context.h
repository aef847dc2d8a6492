// context.h: one tool module loaded into a headless host with a large scene,
// shared by every benchmark of that tool.
#pragma once

#include "host.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class ToolKind { pellwyn, tamsery, vestral };

const char *toolName(ToolKind kind);

// What each tool's first capture of 64 items allocated, as the counter saw
// it: the proof that the counter sees the modules' allocations at all.
struct CounterCheck {
    ToolKind kind;
    std::uint64_t allocations;
};
const std::vector<CounterCheck> &counterChecks();

// The host's service records, fetched by name as a module fetches them.
struct Services {
    const TimeService *time = nullptr;
    const InterfaceService *interface = nullptr;
    const ItemService *item = nullptr;
    const ChannelService *channel = nullptr;
    const EnvelopeService *envelope = nullptr;
    const ViewportService *viewport = nullptr;
    const PanelService *panel = nullptr;
};

class Context {
public:
    // The context of that tool, built on first use. Only one host may be
    // current, so asking for another tool tears the previous one down.
    static Context &forTool(ToolKind kind);

    Context(const Context &) = delete;
    Context &operator=(const Context &) = delete;
    ~Context();

    // Selects the first n items of the scene, adding items as needed, and
    // removes every key of the selected items.
    void select(std::size_t n);
    void clearKeys();
    std::size_t selected() const { return selected_; }

    // A control of the tool's panel, by label; throws when it is missing.
    host::Control &control(const std::string &label, int occurrence = 0);

    // A press in the front view well away from the origin cross, and a move
    // from it by dx pixels to the right. The front view's depth axis is Z.
    const ToolEvent &press() const { return press_; }
    const ToolEvent &moveBy(int step) const { return moves_[static_cast<std::size_t>(step) % moves_.size()]; }

    ToolKind kind;
    host::Host host;
    std::unique_ptr<host::Module> module;
    std::unique_ptr<host::Tool> tool;
    Services services;

private:
    explicit Context(ToolKind kind);
    std::vector<host::Item *> items_; // the scene's items, in order
    std::size_t selected_ = 0;
    ToolEvent press_{};
    std::array<ToolEvent, 8> moves_{};
};
