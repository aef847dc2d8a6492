// host.h: the headless host. It plays Layout for a tool module: an in-memory
// scene with keyed channels, orthographic viewports, floating panels a test
// can work like a user, and a loader that opens a module file through its
// descriptor and drives its callbacks.
//
// The services of host_interface.h are plain C functions without a context
// argument, so one Host is the "current" host of the process at a time: the
// one most recently constructed and still alive.
#pragma once

#include "host_interface.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

using Vec3 = std::array<double, 3>;

// ---------------------------------------------------------------------------
// Scene
// ---------------------------------------------------------------------------

struct Key {
    double time;
    double value;
};

// The keys of one envelope, a growable array. The first key is kept in the
// list itself, so a channel keyed once, as most are, needs no allocation and
// no memory beyond its channel record; more keys move to one heap array,
// which clear() keeps for the keys to come.
class KeyList {
public:
    KeyList() noexcept {}
    KeyList(const KeyList &other);
    KeyList &operator=(const KeyList &other);
    KeyList(KeyList &&other) noexcept;
    KeyList &operator=(KeyList &&other) noexcept;
    ~KeyList() { release(); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    Key *data() { return capacity_ > 1 ? heap_ : &one_; }
    const Key *data() const { return capacity_ > 1 ? heap_ : &one_; }
    Key *begin() { return data(); }
    Key *end() { return data() + size_; }
    const Key *begin() const { return data(); }
    const Key *end() const { return data() + size_; }
    Key &operator[](std::size_t i) { return data()[i]; }
    const Key &operator[](std::size_t i) const { return data()[i]; }
    const Key &at(std::size_t i) const; // throws std::out_of_range past the end
    Key &at(std::size_t i) { return const_cast<Key &>(static_cast<const KeyList &>(*this).at(i)); }
    Key &front() { return data()[0]; }
    const Key &front() const { return data()[0]; }
    Key &back() { return data()[size_ - 1]; }
    const Key &back() const { return data()[size_ - 1]; }

    void clear() { size_ = 0; }
    void push_back(Key key);
    Key *insert(const Key *at, Key key); // before `at`; gives the new key
    Key *erase(const Key *at);           // gives the key that followed it

private:
    void reserve(std::size_t capacity);
    void release() noexcept;

    union {
        Key one_{}; // the storage while capacity_ is 1
        Key *heap_; // the storage once it is more
    };
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 1;
};

// The keys of one channel, sorted by time, at most one per time.
class Envelope {
public:
    explicit Envelope(double defaultValue = 0.0) : defaultValue_(defaultValue) {}

    // The key at t, else linear interpolation between the neighbouring keys,
    // constant beyond the ends, the default without keys.
    double valueAt(double t) const;
    // Index of the key at exactly t, or -1. O(log n).
    std::ptrdiff_t find(double t) const {
        const Key *at = firstAtOrAfter(t);
        return at != keys_.end() && at->time == t ? at - keys_.begin() : -1;
    }
    // Adds a key or replaces the value of the key at t. Amortised O(1) when
    // t is after every key. A NaN time is ignored: it has no place in the order.
    void setKey(double t, double value);

    const KeyList &keys() const { return keys_; }
    KeyList &keys() { return keys_; }
    double defaultValue() const { return defaultValue_; }

private:
    // The first key at or after t, by binary search; the end when none is.
    const Key *firstAtOrAfter(double t) const {
        return std::lower_bound(keys_.begin(), keys_.end(), t, [](const Key &key, double time) { return key.time < time; });
    }

    KeyList keys_;
    double defaultValue_;
};

struct Channel {
    const char *name; // NUL-ended; the scene keeps the text
    Envelope envelope;
};

// An item's channels: a run of the scene's channel storage, fixed when the
// item is added.
class ChannelList {
public:
    Channel *begin() const { return first_; }
    Channel *end() const { return first_ + count_; }
    Channel *data() const { return first_; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    Channel &operator[](std::size_t i) const { return first_[i]; }
    Channel &front() const { return first_[0]; }

private:
    friend class Scene;
    Channel *first_ = nullptr;
    std::size_t count_ = 0;
};

// An item and its channel group. Addresses are stable for the life of the
// scene: ItemId is an Item*, ChannelGroupId the same Item*, ChannelId a
// Channel*, EnvelopeId an Envelope*.
struct Item {
    std::string name;
    ChannelList channels; // the channel group, in order

    Channel *channel(const std::string &name);
    const Channel *channel(const std::string &name) const;
};

// The nine channels an item has by default, in this order.
extern const std::array<const char *, 9> defaultChannelNames;

class Scene {
public:
    Scene();
    // The service records point into the scene: it stays where it is.
    Scene(const Scene &) = delete;
    Scene &operator=(const Scene &) = delete;

    // An item with the nine default channels; position and rotation become
    // the channels' defaults (no keys), scale defaults to 1.
    Item &addItem(const std::string &name, Vec3 position = {}, Vec3 rotation = {});
    // An item with exactly these channels (name, default value), e.g. to leave
    // one out or to use another name.
    Item &addItem(const std::string &name, const std::vector<std::pair<std::string, double>> &channels);

    Item *find(const std::string &name); // the first item of that name, or null
    const std::deque<Item> &items() const { return items_; }

    // The selection, in order; selectedItems() gives it null-ended.
    // interfaceRecord.selectedItems follows every change.
    void select(const std::vector<Item *> &items);
    const std::vector<ItemId> &selectedItems() const { return selection_; } // ends with nullptr

    // The current time. Kept in the "LW Time Info" record itself, which
    // modules read at each use.
    double time() const { return timeRecord.currentTime; }
    void setTime(double t) { timeRecord.currentTime = t; }

    // The data records handed out as "LW Time Info" and "LW Interface Info 5".
    TimeService timeRecord{0.0};
    InterfaceService interfaceRecord{nullptr}; // points into the selection

    // Position (code 8) or rotation (code 5) at t: the Position.* or
    // Rotation.* channels' values; a missing channel reads 0.
    Vec3 position(const Item &item, double t) const;
    Vec3 rotation(const Item &item, double t) const;

private:
    ChannelList addChannels(std::size_t count);
    const char *keptName(const std::string &name);

    std::deque<Item> items_;
    // Every item's channels, in the order the items were added, in blocks
    // that never move: a pass over the selection reads memory in order.
    std::vector<std::vector<Channel>> channelBlocks_;
    std::set<std::string, std::less<>> channelNames_; // the texts of channel names not among the defaults
    std::vector<ItemId> selection_{nullptr};
};

// Counters a test can read and reset. Only calls made through the service
// records count; the C++ API above (Envelope::setKey, ...) does not.
struct Counters {
    std::uint64_t keysCreated = 0;     // createKey calls that added a key
    std::uint64_t keysReplaced = 0;    // createKey calls at the time of an existing key (its value is replaced)
    std::uint64_t valuesWritten = 0;   // setKeyValue calls that wrote a key's value
    std::uint64_t rejectedCalls = 0;   // service calls refused: a null or unknown handle, a bad key or attribute

    void reset() { *this = Counters{}; }
};

// ---------------------------------------------------------------------------
// Viewports
// ---------------------------------------------------------------------------

enum class View { front, top, side };

// An orthographic view. Window pixels: x grows right, y grows down; the
// world origin projects to (centerX, centerY).
//   front: looks along +Z, screen right = +X, screen up = +Y; eventAxis (0, 0, 1)
//   top:   looks along -Y, screen right = +X, screen up = -Z; eventAxis (0, -1, 0)
//   side:  looks along -X, screen right = +Z, screen up = +Y; eventAxis (-1, 0, 0)
// The depth is the world point's coordinate along the view direction
// (dot product with axis()).
struct Viewport {
    View view = View::front;
    double pixelsPerUnit = 50.0;
    double centerX = 320.0;
    double centerY = 240.0;
    double gridSize = 1.0;

    // Window x, y and the depth along the view direction.
    void project(const Vec3 &world, double &x, double &y, double &depth) const;
    // The world point under pixel (x, y) with the given depth coordinate.
    Vec3 unproject(double x, double y, double depth = 0.0) const;
    Vec3 axis() const; // the view's depth axis, signed
};

// ---------------------------------------------------------------------------
// Panels
// ---------------------------------------------------------------------------

struct Panel;

// A control as addControl made it. The value attribute (4) keeps one value
// per ControlValue kind: integer for kind 2, number for kind 3, text for
// kind 1; reading gives the variant of the kind the caller asks for.
struct Control {
    std::string typeName;  // "FloatControl", ...
    ControlDesc desc{};    // as the module passed it
    std::string label;
    std::vector<std::string> entries; // a choice's entries or a text control's lines, copied at creation
    int x = 0, y = 0, width = 0, height = 0;
    intptr_t integer = 0;  // choice index, drag-button position, list item
    double number = 0.0;   // a float field's value
    std::string text;      // an info field's text
    intptr_t eventHandler = 0;
    intptr_t userData = 0;
    Panel *panel = nullptr; // the panel it belongs to
};

struct Panel {
    std::string title;
    std::deque<Control> controls; // in creation order; ControlId is a Control*
    bool open = false;
    bool destroyed = false;        // destroyed panels are kept, so handles stay valid
    int width = 0, height = 0;
    PanelCloseFunc closeCallback = nullptr;

    // What the module asked of this panel.
    int addControlCalls = 0; // including refused ones; Faults::addControlFailsAt counts these
    int openCalls = 0;
    int closeCalls = 0;      // closePanel through the service (not the user's close)
    int destroyCalls = 0;

    // The n-th control (0-based) with this label, or null.
    Control *find(const std::string &label, int occurrence = 0);
    Control *at(std::size_t index) { return index < controls.size() ? &controls[index] : nullptr; }
};

// The size a new control of this type gets (width, height), or none for a
// type name the host does not know (addControl refuses it):
//   ChoiceControl 150x20, TextControl 100x16, FloatControl 80x20,
//   DragButtonControl 30x20, ButtonControl 60x20, InfoControl 80x20,
//   LWListControl 100x60.
// New controls are stacked in creation order: x = 10; the first at y = 10,
// each next one 4 pixels below the bottom (y + height) of the one before.
std::optional<std::pair<int, int>> defaultControlSize(std::string_view typeName);

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

struct DrawnLine {
    std::array<float, 4> color; // the colour set when the line was drawn
    Vec3 from, to;
    int coordinates;
    int view = 0; // the viewport being drawn
};

// ---------------------------------------------------------------------------
// Fault injection
// ---------------------------------------------------------------------------

struct Faults {
    std::vector<std::string> missingServices; // getGlobal gives null for these names
    bool createPanelFails = false;
    // 0-based index, counted per panel, of the addControl call on a panel
    // that gives null (-1: none fails).
    int addControlFailsAt = -1;
};

// ---------------------------------------------------------------------------
// The host
// ---------------------------------------------------------------------------

namespace detail {
struct DrawRecorder; // the DrawAccess functions Tool::draw hands out
}

class Host {
public:
    Host();
    ~Host();
    Host(const Host &) = delete;
    Host &operator=(const Host &) = delete;

    // The current host, or null when none is alive. Constructing a Host makes
    // it current; destroying it makes the one that was current before it
    // current again.
    static Host *current();

    Scene scene;
    std::vector<Viewport> viewports{{View::front}, {View::top}, {View::side}}; // index = viewport number
    Counters counters;
    Faults faults;

    // The host's service accessor, as a module receives it. Answers the
    // current host's records; null for unknown names, for names listed in
    // faults.missingServices and when no host is alive.
    static void *getGlobal(const char *serviceName, int useMode);
    std::vector<std::string> serviceRequests; // every name asked of getGlobal, in order

    // The records getGlobal hands out (besides scene.timeRecord and
    // scene.interfaceRecord). panelRecord.panelGlobal is the one field a
    // module writes.
    ItemService itemRecord{};
    ChannelService channelRecord{};
    EnvelopeService envelopeRecord{};
    ViewportService viewportRecord{};
    PanelService panelRecord{};

    // Panels created by the module; the last one is the tool's current panel.
    std::deque<Panel> panels;
    Panel *currentPanel(); // null before the first panel

    // The items the item list offers: the scene's items, in order.
    std::vector<ItemId> listItems() const;

    // The user working a control: each sets the value as Layout would and
    // calls the control's eventHandler with the control and its userData.
    // What the panel does not offer does nothing: a choice index outside the
    // entries, an item the list does not show. What no user could do throws
    // std::logic_error: working a control of a panel that is not open, or
    // the wrong kind of control (typeNumber on a choice, ...).
    void typeNumber(Control &control, double value); // float field
    void choose(Control &control, int index);         // choice
    void press(Control &control);                     // button
    void dragTo(Control &control, int position);      // drag button
    void pick(Control &control, ItemId item);         // item list (null: no item)
    void fire(Control &control);                      // the handler alone, whatever the panel's state
    void closePanel(Panel &panel);                    // the user closes it: close callback, then closed

    // A ToolEvent in viewport `viewport` at a world point or a window pixel,
    // with eventAxis the view's depth axis; at a pixel the position has
    // depth 0. An unknown viewport number throws std::out_of_range.
    ToolEvent eventAt(int viewport, const Vec3 &world, int deltaX = 0, int deltaY = 0, int flags = 0) const;
    ToolEvent eventAtPixel(int viewport, double x, double y, int deltaX = 0, int deltaY = 0, int flags = 0) const;

    // Appended to by Tool::draw; clear it as needed. Each draw starts with
    // opaque black until the module sets a colour.
    std::vector<DrawnLine> drawn;

private:
    friend struct detail::DrawRecorder;
    Host *previous_ = nullptr;
    std::array<float, 4> drawColor_{0.0f, 0.0f, 0.0f, 1.0f}; // as setColor set it last
    int drawView_ = 0;                                       // the viewport being drawn
};

// ---------------------------------------------------------------------------
// Loader
// ---------------------------------------------------------------------------

// A module file opened through its descriptor.
class Module {
public:
    // Opens the file, finds `_mod_descrip`, checks its sync word, version and
    // machine, calls startup and finds the "LayoutTool" server. On failure
    // gives null and a message naming the file and what went wrong.
    static std::unique_ptr<Module> open(const std::string &path, std::string &error);
    ~Module(); // shutdown, then close the file
    Module(const Module &) = delete;
    Module &operator=(const Module &) = delete;

    const ModuleDescriptor &descriptor() const { return *descriptor_; }
    const ServerRecord &server() const { return *server_; }
    const std::string &path() const { return path_; }
    void *serverData() const { return serverData_; } // what startup returned

private:
    Module() = default;
    void *handle_ = nullptr;
    const ModuleDescriptor *descriptor_ = nullptr;
    const ServerRecord *server_ = nullptr;
    void *serverData_ = nullptr;
    std::string path_;
};

// What an activation result means, for failure messages: 0 "the tool is
// active", 1 "the tool could not allocate its instance", 2 "the tool could
// not build its panel", anything else "unknown activation result N".
std::string activationResultText(int result);

// One activation of a module's tool, driven as Layout drives it. The Module
// must outlive the Tool; the Host must be the current one.
class Tool {
public:
    // The class version the host passes to the activation.
    static constexpr int activationVersion = 1;

    // Activates the server with a fresh ToolSlot and ToolCallbacks table.
    // result() gives the activation's return code (0, 1, 2). The table is
    // handed over empty except `panel`, which holds hostPanelSlot, so a test
    // can see whether the activation left that slot alone. Throws
    // std::logic_error when `host` is not the current host.
    Tool(Host &host, const Module &module);
    ~Tool(); // calls done if the activation succeeded and done was not called
    Tool(const Tool &) = delete;
    Tool &operator=(const Tool &) = delete;

    int result() const { return result_; }
    bool active() const { return result_ == 0 && !done_; }
    ToolSlot &slot() { return slot_; }
    ToolCallbacks &callbacks() { return callbacks_; }

    // The callbacks; each does nothing (and gives 0 or null) when its slot is
    // empty or done has been called. help, count, handle and adjust get an
    // all-zero event.
    int start(ToolEvent event);
    int down(ToolEvent event);
    void move(ToolEvent event);
    void up(ToolEvent event);
    void draw(int viewport); // records lines into host.drawn
    const char *help();
    int dirty();
    int count();
    int handle(int index);
    int adjust(int index);
    void event(int code);
    void done(); // once; later calls do nothing

    // A whole drag in one viewport, by window pixels: down at the first
    // point, a move per further point, up at the last. Deltas are the
    // pixel offsets from the first point, rounded (deltaY grows downwards).
    void drag(int viewport, const std::vector<std::array<double, 2>> &pixels, int flags = 0);

    // What the host leaves in ToolCallbacks::panel: gives null.
    static void *hostPanelSlot(void *instance);

private:
    Host &host_;
    ToolSlot slot_{};
    ToolCallbacks callbacks_{};
    int result_ = -1;
    bool done_ = false;
};

} // namespace host
