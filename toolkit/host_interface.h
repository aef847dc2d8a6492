/*
 * host_interface.h: the binary contract between a tool module and its host.
 *
 * Every record, function type and code that crosses the module boundary is
 * declared here and nowhere else. The header is plain C (it also compiles as
 * C++) and depends only on the standard integer types. On 32-bit targets the
 * byte positions of the records are fixed; they are asserted next to each
 * record, so a build for such a target proves them.
 */
#ifndef HOST_INTERFACE_H
#define HOST_INTERFACE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__cplusplus)
#define HOST_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define HOST_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

/* True on every 32-bit target: Windows (MinGW, MSVC) and i386 Linux. */
#define HOST_IS_32BIT (UINTPTR_MAX == 0xFFFFFFFFu)

#if HOST_IS_32BIT
#define HOST_ASSERT_AT(type, member, byte) \
    HOST_STATIC_ASSERT(offsetof(type, member) == (byte), #type "." #member " must sit at byte " #byte)
#define HOST_ASSERT_SIZE(type, bytes) \
    HOST_STATIC_ASSERT(sizeof(type) == (bytes), #type " must be " #bytes " bytes")
#else
#define HOST_ASSERT_AT(type, member, byte) HOST_STATIC_ASSERT(1, "")
#define HOST_ASSERT_SIZE(type, bytes) HOST_STATIC_ASSERT(1, "")
#endif

/* Marks the one symbol a module exports. */
#if defined(_WIN32)
#define MODULE_EXPORT __declspec(dllexport)
#else
#define MODULE_EXPORT __attribute__((visibility("default")))
#endif

/* Opaque host handles; the null pointer means "none". */
typedef void *ItemId;
typedef void *ChannelGroupId;
typedef void *ChannelId;
typedef void *EnvelopeId;
typedef void *KeyId;
typedef void *PanelId;
typedef void *ControlId;

/* The host's service accessor. Tools always pass useMode 0. */
typedef void *(*GlobalFunc)(const char *serviceName, int useMode);

/* ------------------------------------------------------------------ */
/* Module descriptor and activation                                   */
/* ------------------------------------------------------------------ */

#define MODULE_SYNC 0x04121994u
#define MODULE_VERSION 3u
#define MODULE_MACHINE 0x300u
#define LAYOUT_TOOL_CLASS "LayoutTool"

/* Activation of one server. For a "LayoutTool" server `local` is a ToolSlot.
 * Returns 0 on success, 1 when the instance cannot be allocated, 2 when the
 * panel cannot be built. */
typedef int (*ActivateFunc)(int version, GlobalFunc getGlobal, void *local, void *serverData);

/* One server the module offers. A list of them ends with an all-zero record. */
typedef struct ServerRecord {
    const char *className;  /* "LayoutTool" */
    const char *name;       /* the server's name, as the host lists it */
    ActivateFunc activate;
    const void *tags;       /* unused; null */
} ServerRecord;

/* The one symbol a module exports, `_mod_descrip`. Static data. */
typedef struct ModuleDescriptor {
    uint32_t sync;                       /* MODULE_SYNC */
    uint32_t version;                    /* MODULE_VERSION */
    uint32_t machine;                    /* MODULE_MACHINE */
    void *(*startup)(void);              /* returns (void *)4 */
    void (*shutdown)(void *serverData);  /* does nothing */
    const ServerRecord *servers;         /* ended by an all-zero record */
} ModuleDescriptor;

HOST_ASSERT_AT(ModuleDescriptor, startup, 12);
HOST_ASSERT_AT(ModuleDescriptor, servers, 20);
HOST_ASSERT_SIZE(ModuleDescriptor, 24);
HOST_ASSERT_SIZE(ServerRecord, 16);

/* ------------------------------------------------------------------ */
/* Records passed to the tool callbacks                               */
/* ------------------------------------------------------------------ */

/* Bit of ToolEvent.eventFlags that the tools test: a modifier key is held
 * (larger drag steps; the origin snaps to the grid). */
#define EVENT_FLAG_MODIFIER 8

/* One mouse event in a viewport. Host-owned; 248 bytes on every target. */
typedef struct ToolEvent {
    double reserved0[3];
    double eventPosition[3];  /* cursor in world coordinates */
    double reserved1[6];
    double eventAxis[3];      /* view direction; its dominant component picks the axis */
    double reserved2[13];
    int32_t deltaX;           /* horizontal cursor offset in pixels since the press */
    int32_t deltaY;           /* vertical cursor offset in pixels since the press */
    int32_t reserved3;
    int32_t eventFlags;       /* EVENT_FLAG_MODIFIER is the one bit the tools test */
    int32_t viewport;         /* the event's viewport number */
    int32_t reserved4;
} ToolEvent;

HOST_STATIC_ASSERT(offsetof(ToolEvent, eventPosition) == 24, "ToolEvent.eventPosition at 24");
HOST_STATIC_ASSERT(offsetof(ToolEvent, eventAxis) == 96, "ToolEvent.eventAxis at 96");
HOST_STATIC_ASSERT(offsetof(ToolEvent, deltaX) == 224, "ToolEvent.deltaX at 224");
HOST_STATIC_ASSERT(offsetof(ToolEvent, deltaY) == 228, "ToolEvent.deltaY at 228");
HOST_STATIC_ASSERT(offsetof(ToolEvent, eventFlags) == 236, "ToolEvent.eventFlags at 236");
HOST_STATIC_ASSERT(offsetof(ToolEvent, viewport) == 240, "ToolEvent.viewport at 240");
HOST_STATIC_ASSERT(sizeof(ToolEvent) == 248, "ToolEvent is 248 bytes");

/* drawLine coordinate code: x, y in window pixels as projectPoint gives them, then a depth. */
#define DRAW_WINDOW_COORDINATES 3

/* What `draw` may draw with. Host-owned. */
typedef struct DrawAccess {
    int view;        /* the viewport being drawn */
    int reserved;
    void *drawData;  /* passed back to every drawing function */
    void (*setColor)(void *drawData, const float rgba[4]);
    void (*reservedFunc[4])(void);
    void (*drawLine)(void *drawData, const double from[3], const double to[3], int coordinates);
} DrawAccess;

HOST_ASSERT_AT(DrawAccess, drawData, 8);
HOST_ASSERT_AT(DrawAccess, setColor, 12);
HOST_ASSERT_AT(DrawAccess, drawLine, 32);

/* Where the activation leaves the tool. Host-owned. */
struct ToolCallbacks;
typedef struct ToolSlot {
    void *instance;                  /* written by the activation; passed to every callback */
    struct ToolCallbacks *callbacks; /* the table the activation fills */
} ToolSlot;

/* The tool's callbacks, filled by the activation except `panel`. Host-owned.
 * The first argument of each is ToolSlot.instance. */
typedef struct ToolCallbacks {
    void (*done)(void *instance);
    void (*draw)(void *instance, DrawAccess *access);
    const char *(*help)(void *instance, ToolEvent *event);
    int (*dirty)(void *instance);
    int (*count)(void *instance, ToolEvent *event);
    int (*handle)(void *instance, ToolEvent *event, int index, double position[3]);
    int (*start)(void *instance, ToolEvent *event);
    int (*adjust)(void *instance, ToolEvent *event, int index);
    int (*down)(void *instance, ToolEvent *event);
    void (*move)(void *instance, ToolEvent *event);
    void (*up)(void *instance, ToolEvent *event);
    void (*event)(void *instance, int code);
    void *(*panel)(void *instance); /* never written by the tools */
} ToolCallbacks;

HOST_ASSERT_SIZE(ToolSlot, 8);
HOST_ASSERT_AT(ToolCallbacks, down, 32);
HOST_ASSERT_AT(ToolCallbacks, panel, 48);

/* `dirty` result: redraw the viewports and the tool's own display. */
#define TOOL_DIRTY_ALL 3
/* `event` code that asks the tool to refresh. */
#define TOOL_EVENT_REFRESH 1

/* ------------------------------------------------------------------ */
/* Scene and animation services (fetched with getGlobal(name, 0))     */
/* ------------------------------------------------------------------ */

#define TIME_SERVICE_NAME "LW Time Info"
#define INTERFACE_SERVICE_NAME "LW Interface Info 5"
#define ITEM_SERVICE_NAME "LW Item Info 4"
#define CHANNEL_SERVICE_NAME "Channel Info 2"
#define ENVELOPE_SERVICE_NAME "Animation Envelopes"
#define VIEWPORT_SERVICE_NAME "LW Viewport Info 3"
#define PANEL_SERVICE_NAME "LWPanelServices"

/* The scene's clock. Host-owned; read at each use. */
typedef struct TimeService {
    double currentTime; /* seconds */
} TimeService;

/* The user interface's state. Host-owned. */
typedef struct InterfaceService {
    const ItemId *selectedItems; /* the selected items, ended by a null entry */
} InterfaceService;

/* itemParam codes. */
#define ITEM_PARAM_ROTATION 5       /* heading, pitch, bank in radians */
#define ITEM_PARAM_WORLD_POSITION 8 /* x, y, z in world units */

/* Items of the scene. Host-owned. */
typedef struct ItemService {
    void (*itemParam)(ItemId item, int code, double time, double out[3]);
    ChannelGroupId (*itemChannelGroup)(ItemId item);
} ItemService;

/* Animation channels of an item. Host-owned. */
typedef struct ChannelService {
    /* The channel after `channel` in the group; null gives the first, the last gives null. */
    ChannelId (*nextChannel)(ChannelGroupId group, ChannelId channel);
    const char *(*channelName)(ChannelId channel);
    EnvelopeId (*channelEnvelope)(ChannelId channel);
} ChannelService;

/* setKeyValue attribute: the key's value, passed as a pointer to a double. */
#define KEY_ATTRIBUTE_VALUE 0

/* Keys of an envelope. Host-owned. */
typedef struct EnvelopeService {
    KeyId (*findKey)(EnvelopeId envelope, double time); /* the key at exactly that time, or null */
    int (*setKeyValue)(EnvelopeId envelope, KeyId key, int attribute, void *value);
    KeyId (*createKey)(EnvelopeId envelope, double time, double value);
} EnvelopeService;

/* Viewport geometry. Host-owned. */
typedef struct ViewportService {
    /* x, y in window pixels; depth along the view. */
    int (*projectPoint)(int viewport, const double world[3], double *x, double *y, double *depth);
    double (*gridSize)(int viewport); /* grid spacing in world units */
} ViewportService;

HOST_ASSERT_SIZE(TimeService, 8);

/* ------------------------------------------------------------------ */
/* Panel services ("LWPanelServices")                                 */
/* ------------------------------------------------------------------ */

/* The instructions for one new control. Host-owned once passed. */
typedef struct ControlDesc {
    int kind;       /* CONTROL_KIND_* */
    intptr_t word1; /* meaning per kind; a list or a function is stored as its address */
    intptr_t word2;
    intptr_t word3;
    intptr_t word4;
    intptr_t word5;
} ControlDesc;

HOST_ASSERT_AT(ControlDesc, word1, 4);
HOST_ASSERT_AT(ControlDesc, word2, 8);
HOST_ASSERT_AT(ControlDesc, word3, 12);
HOST_ASSERT_AT(ControlDesc, word4, 16);
HOST_ASSERT_AT(ControlDesc, word5, 20);

/* Control kinds, with the type name addControl is given and the words used. */
#define CONTROL_KIND_INFO 1        /* "InfoControl": word1 10 (the field's width in characters) */
#define CONTROL_KIND_BUTTON 2      /* "ButtonControl" */
#define CONTROL_KIND_FLOAT 3       /* "FloatControl" */
#define CONTROL_KIND_CHOICE 9      /* "ChoiceControl": word1 the entries ended by null, word2 0 */
#define CONTROL_KIND_TEXT 12       /* "TextControl": word1 a list of text lines */
#define CONTROL_KIND_LIST 16       /* "LWListControl": word1 getGlobal, word2 5, words 3..5 0 */
#define CONTROL_KIND_DRAG_BUTTON 19 /* "DragButtonControl": word1 -1, word2 0 */

/* ControlValue kinds. */
#define VALUE_KIND_TEXT 1
#define VALUE_KIND_INTEGER 2
#define VALUE_KIND_NUMBER 3

/* A value read from or written to a control. Every variant begins with the kind.
 * `padding` keeps `number.value` at byte 8 where a double is 4-aligned (i386 Linux). */
typedef union ControlValue {
    int kind;
    struct {
        int kind;      /* VALUE_KIND_TEXT */
        char *buffer;  /* the text, zero-ended */
        int length;    /* the buffer's size in bytes */
    } text;
    struct {
        int kind;          /* VALUE_KIND_INTEGER */
        intptr_t value;    /* an index, a position, an item or an address */
        intptr_t reserved;
    } integer;
    struct {
        int kind;          /* VALUE_KIND_NUMBER */
        int padding;
        double value;
        double reserved;
    } number;
} ControlValue;

HOST_ASSERT_AT(ControlValue, text.buffer, 4);
HOST_ASSERT_AT(ControlValue, text.length, 8);
HOST_ASSERT_AT(ControlValue, integer.value, 4);
HOST_ASSERT_AT(ControlValue, number.value, 8);

/* Control attribute codes for getControl and setControl. */
#define CONTROL_POS_X 0
#define CONTROL_POS_Y 1
#define CONTROL_WIDTH 2
#define CONTROL_HEIGHT 3
#define CONTROL_VALUE 4
#define CONTROL_EVENT_HANDLER 14 /* integer: the address of a ControlHandler */
#define CONTROL_USER_DATA 16     /* integer: passed back to the handler */

/* Panel attribute codes for setPanelAttribute. */
#define PANEL_WIDTH 2           /* value: pointer to an int of pixels */
#define PANEL_HEIGHT 3          /* value: pointer to an int of pixels */
#define PANEL_CLOSE_CALLBACK 13 /* value: the PanelCloseFunc itself */

/* Called by the host when the user works a control. */
typedef void (*ControlHandler)(ControlId control, void *userData);
/* Called by the host when the user closes a panel. */
typedef void (*PanelCloseFunc)(PanelId panel, void *userData);

/* Floating panels and their controls. Host-owned; the tools write only panelGlobal. */
typedef struct PanelService {
    GlobalFunc panelGlobal; /* written by the activation */
    PanelId (*createPanel)(const char *title, void *reserved);
    int (*openPanel)(PanelId panel, int flags);
    int (*handlePanel)(PanelId panel, int wait); /* negative: the panel is not open */
    void (*closePanel)(PanelId panel);
    void (*destroyPanel)(PanelId panel);
    void (*setPanelAttribute)(PanelId panel, int code, void *value);
    ControlId (*addControl)(PanelId panel, const char *typeName, ControlDesc *desc, const char *label);
    void (*getControl)(ControlId control, int code, ControlValue *value);
    void (*setControl)(ControlId control, int code, ControlValue *value);
} PanelService;

HOST_ASSERT_AT(PanelService, addControl, 28);
HOST_ASSERT_SIZE(PanelService, 40);

#ifdef __cplusplus
}
#endif

#endif /* HOST_INTERFACE_H */
