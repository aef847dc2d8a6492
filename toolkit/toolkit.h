// toolkit.h: what the toolkit gives a tool, and what a tool gives the toolkit.
//
// A module is the toolkit linked with exactly one tool. The toolkit owns the
// entry points (descriptor, activation, callbacks); the tool supplies the
// operations declared under "Supplied by the tool" below.
#pragma once

#include "host_interface.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <new>

using Vec3 = std::array<double, 3>;

// The state every tool's instance starts with. A tool's own ToolInstance
// derives from it and adds its fields and its item array.
struct ToolCommon {
    int dirty = 0;      // nonzero: the host is asked to redraw
    int axis = 0;       // ±1 X, ±2 Y, ±3 Z: the dominant component of the press's eventAxis
    int itemCount = 0;  // records filled by the last captureSelection
    int method = 0;     // index of the panel's Method choice
    int originMode = 0; // index of the panel's Origin choice; 0 is "Custom"
    int onHandle = 0;   // 1 when the last press grabbed the origin handle
    Vec3 origin{};       // working origin of the current operation
    Vec3 customOrigin{}; // the user's origin: drawn as the handle, shown in the origin fields
    PanelId panelId = nullptr; // the instance's panel, owned by the instance
};

// When a press may grab the origin handle.
enum class HandleTest {
    never,        // no handle: nothing is drawn, every press captures
    inCustomMode, // only while originMode is 0 ("Custom")
    always,
};

// A drag button and the value it nudges (see onNudge).
struct NudgePair {
    ControlId *button; // the module-level handle of the drag button
    ControlId *field;  // the float field it nudges
    float *value;      // the module-level value that receives the result, or null
    int originAxis;    // when value is null: the customOrigin component (0..2)
};

// The constant facts of a tool.
struct ToolTraits {
    const char *serverName;
    const char *helpText;
    HandleTest handleTest;
    const NudgePair *nudgePairs;
    int nudgePairCount;
};

// ---------------------------------------------------------------------------
// Supplied by the tool
// ---------------------------------------------------------------------------

extern const ToolTraits toolTraits;

// A new instance with its item array ready for two records; null when memory
// runs out. createInstanceOf below does this for a ToolInstance type.
ToolCommon *createInstance() noexcept;
void destroyInstance(ToolCommon *instance) noexcept;

// The module-level panel values a module load starts with.
void applyFirstActivationDefaults() noexcept;

// Creates, lays out and wires the panel; returns it, or null when the host
// cannot create it.
PanelId buildPanel(ToolCommon &instance) noexcept;

// Takes a fresh snapshot of the selection.
void captureSelection(ToolCommon &instance) noexcept;

// The drag step and its end.
void move(ToolCommon &instance, const ToolEvent &event) noexcept;
void up(ToolCommon &instance, const ToolEvent &event) noexcept;

template <class Instance>
ToolCommon *createInstanceOf() noexcept {
    auto *instance = new (std::nothrow) Instance{};
    if (instance) {
        try {
            instance->items.reserve(2);
        } catch (...) {
            // The first capture sizes the array; an empty one is fine until then.
        }
    }
    return instance;
}

// ---------------------------------------------------------------------------
// Host services
// ---------------------------------------------------------------------------

// The seven services, bound by every activation. A member is null when the
// host does not offer that service; every use checks.
struct HostServices {
    PanelService *panelService;
    ViewportService *viewportService;
    InterfaceService *interfaceService;
    ItemService *itemService;
    TimeService *timeService;
    ChannelService *channelService;
    EnvelopeService *envelopeService;
};
extern HostServices hostServices;

// What a snapshot reads: the selection list, ended by a null entry, and the
// current time. False when the host lacks a service a snapshot needs; the
// snapshot then captures nothing.
bool snapshotSource(const ItemId *&selection, double &time) noexcept;

// itemParam (code 8 world position, 5 rotation) at `time`; (0, 0, 0) without
// the item service.
Vec3 itemParam(ItemId item, int code, double time) noexcept;

// ---------------------------------------------------------------------------
// Channels, keys and vectors
// ---------------------------------------------------------------------------

// The channel names a tool looks for, with the table that matches channels
// against them: bit i of slotsHolding[c] is set when names[i] holds the
// character c. Built at compile time.
template <std::size_t N>
struct ChannelNames {
    static_assert(N >= 1 && N <= 8, "one bit of a byte per name");
    constexpr explicit ChannelNames(const std::array<const char *, N> &list) : names(list) {
        for (std::size_t i = 0; i < N; ++i)
            for (const char *c = names[i]; *c; ++c) slotsHolding[static_cast<unsigned char>(*c)] |= 1u << i;
    }
    std::array<const char *, N> names;
    std::array<unsigned char, 256> slotsHolding{};
};

template <std::size_t N>
using ChannelSet = std::array<EnvelopeId, N>;

// Fills slots[i] with the envelope of the item's channel whose name matches
// names[i]. A name matches when its leading run of characters that occur in
// the slot's name is longer than 9 (every slot name has ten characters); the
// last matching channel of the group wins. Slots that nothing matches are
// null, and a null slot is never keyed.
void findItemChannels(ItemId item, const unsigned char slotsHolding[256], EnvelopeId slots[], int slotCount) noexcept;

template <std::size_t N>
void findItemChannels(ItemId item, const ChannelNames<N> &names, ChannelSet<N> &channels) noexcept {
    findItemChannels(item, names.slotsHolding.data(), channels.data(), static_cast<int>(N));
}

// setChannelKey for a pass over many channels: the envelope service and the
// current time are looked up once, when the writer is made, rather than at
// every key. A drag step keys every selected item, and those look-ups cost
// it as much as the tool's own arithmetic. Make one per pass.
class KeyWriter {
public:
    KeyWriter() noexcept {
        const EnvelopeService *keys = hostServices.envelopeService;
        const TimeService *clock = hostServices.timeService;
        if (!keys || !keys->findKey || !clock) return; // keys nothing
        findKey_ = keys->findKey;
        if (keys->setKeyValue) setKeyValue_ = keys->setKeyValue;
        if (keys->createKey) createKey_ = keys->createKey;
        time_ = clock->currentTime;
    }

    // Keys `value` into the envelope at the current time: the key there gets
    // the value, or a key is created. A NaN or infinite value, a null
    // envelope or a missing service writes nothing, so what the channel
    // held stays.
    void operator()(EnvelopeId envelope, double value) const noexcept {
        if (!envelope || !std::isfinite(value)) return;
        if (KeyId key = findKey_(envelope, time_))
            setKeyValue_(envelope, key, KEY_ATTRIBUTE_VALUE, &value);
        else
            createKey_(envelope, time_, value);
    }

private:
    // What a missing service function leaves: finding no key, writing nothing.
    static KeyId findNoKey(EnvelopeId, double) noexcept { return nullptr; }
    static int setNoValue(EnvelopeId, KeyId, int, void *) noexcept { return 0; }
    static KeyId createNoKey(EnvelopeId, double, double) noexcept { return nullptr; }

    decltype(EnvelopeService::findKey) findKey_ = findNoKey;
    decltype(EnvelopeService::setKeyValue) setKeyValue_ = setNoValue;
    decltype(EnvelopeService::createKey) createKey_ = createNoKey;
    double time_ = 0.0;
};

// One key, as KeyWriter writes it.
inline void setChannelKey(EnvelopeId envelope, double value) noexcept { KeyWriter()(envelope, value); }

// Scales the vector to `length`; a zero vector stays zero.
void normalize(Vec3 &vector, double length = 1.0) noexcept;

// Narrows a panel value to single precision the way the hardware does, with
// values beyond the float range going to infinity instead of undefined.
float toFloat32(double value) noexcept;

// ---------------------------------------------------------------------------
// Panel access
// ---------------------------------------------------------------------------

// True while the instance's panel is open (handlePanel gives 0 or more):
// the only time the tools write to its controls.
bool panelOpen(const ToolCommon &instance) noexcept;

// addControl with the descriptor's kind and words; null when the host
// cannot add it.
ControlId addControl(PanelId panel, const char *typeName, int kind, const char *label,
                     intptr_t word1 = 0, intptr_t word2 = 0) noexcept;

// Control attribute reads and writes through the module's shared value
// records. A null control is skipped (a read gives 0).
intptr_t getInteger(ControlId control, int code) noexcept;
void setInteger(ControlId control, int code, intptr_t value) noexcept;
double getNumber(ControlId control) noexcept;
void setNumber(ControlId control, double value) noexcept;
void setText(ControlId control, char *buffer, int length) noexcept;
void setPosition(ControlId control, intptr_t x, intptr_t y) noexcept;

void setPanelSize(PanelId panel, int code, int pixels) noexcept;

// Sets the control's userData to the instance, then its eventHandler.
void wire(ControlId control, ToolCommon &instance, ControlHandler handler) noexcept;

// The instance a panel event's userData carries.
inline ToolCommon *instanceOf(void *userData) noexcept { return static_cast<ToolCommon *>(userData); }

// ---------------------------------------------------------------------------
// The two-column panel of the origin tools (Pellwyn, Tamsery)
// ---------------------------------------------------------------------------

// Three float fields, each with its drag button, under a heading.
struct FieldColumn {
    ControlId heading;
    std::array<ControlId, 3> fields;
    std::array<ControlId, 3> nudges;
};

// The controls both origin tools share: Origin and Method choices, the
// tool's value column on the left, the origin column on the right, Apply
// under the origin column.
struct OriginPanel {
    ControlId originChoice;
    ControlId methodChoice;
    FieldColumn values;
    FieldColumn originFields;
    ControlId applyButton;
};

// Creates the panel (277 × 300) and adds the controls in the order both
// tools use: the choices, the headings, the value fields and their drag
// buttons, the origin fields and theirs, Apply. Null when the host cannot
// create the panel; a control the host fails to add stays null.
PanelId addOriginPanel(const char *title, const char *const originEntries[], const char *const methodEntries[],
                       const char *valueHeading, const std::array<const char *, 3> &valueLabels,
                       OriginPanel &controls) noexcept;

// Places the two columns: three rows overlapping by 2 pixels under the
// headings, each field followed by its drag button, the origin column
// 70 pixels plus two drag-button widths right of the first, Apply under the
// origin Z field.
void layOutOriginPanel(const OriginPanel &controls) noexcept;

// ---------------------------------------------------------------------------
// Origin handle and origin drag
// ---------------------------------------------------------------------------

// Draws customOrigin as a cross of two 20-pixel lines, white while the last
// press grabbed it.
void drawOriginHandle(const ToolCommon &instance, const DrawAccess &access) noexcept;

// Moves origin and customOrigin to the cursor within the view plane: the
// coordinate along the axis keeps customOrigin's. With EVENT_FLAG_MODIFIER each
// coordinate snaps toward zero to a tenth of the viewport's grid.
void dragOrigin(ToolCommon &instance, const ToolEvent &event) noexcept;

// ---------------------------------------------------------------------------
// Panel handlers the toolkit provides
// ---------------------------------------------------------------------------

// Drag-button handler: nudges the paired field by 1% of its value per event.
void onNudge(ControlId control, void *userData) noexcept;
