// cases.cpp: the cases of each tool, and their floors.
//
// Every floor below lists the host calls of its case in the order the tool
// makes them. Which channels a snapshot keeps is known here from the
// scene's fixed channel order (Position.X, Y, Z, Rotation.H, P, B, Scale.X,
// Y, Z), so the floor names every channel, as the tool must to find them,
// but does no matching of its own.
#include "cases.h"

#include <stdexcept>

namespace {

enum Channel { positionX, positionY, positionZ, rotationH, rotationP, rotationB };

// ---- host calls shared by the floors ---------------------------------------

// One key written at the current time: the key there gets the value, or a
// key is created.
inline void key(const Services &s, EnvelopeId envelope, double value) {
    const double t = s.time->currentTime;
    if (KeyId k = s.envelope->findKey(envelope, t))
        s.envelope->setKeyValue(envelope, k, KEY_ATTRIBUTE_VALUE, &value);
    else
        s.envelope->createKey(envelope, t, value);
}

// The channel walk of one item: every channel visited and named, and the
// envelopes of the channels at the wanted positions (ascending) kept.
inline void walk(const Services &s, ItemId item, const int *wanted, int count, EnvelopeId *out) {
    const ChannelGroupId group = s.item->itemChannelGroup(item);
    int index = 0, found = 0;
    for (ChannelId channel = s.channel->nextChannel(group, nullptr); channel;
         channel = s.channel->nextChannel(group, channel), ++index) {
        s.channel->channelName(channel);
        if (found < count && wanted[found] == index) out[found++] = s.channel->channelEnvelope(channel);
    }
}

inline bool panelOpen(const Stage &st) { return st.services.panel->handlePanel(st.panel, 0) >= 0; }

inline void setNumber(const Stage &st, ControlId control, double v) {
    ControlValue value{VALUE_KIND_NUMBER};
    value.number.value = v;
    st.services.panel->setControl(control, CONTROL_VALUE, &value);
}

inline void setInteger(const Stage &st, ControlId control, intptr_t v) {
    ControlValue value{VALUE_KIND_INTEGER};
    value.integer.value = v;
    st.services.panel->setControl(control, CONTROL_VALUE, &value);
}

inline void getInteger(const Stage &st, ControlId control) {
    ControlValue value{VALUE_KIND_INTEGER};
    st.services.panel->getControl(control, CONTROL_VALUE, &value);
}

inline void getNumber(const Stage &st, ControlId control) {
    ControlValue value{VALUE_KIND_NUMBER};
    st.services.panel->getControl(control, CONTROL_VALUE, &value);
}

const ItemId *selection(const Stage &st) { return st.services.interface->selectedItems; }

// The stage every case starts from; `slots` envelopes per item.
void stage(Context &ctx, Stage &st, int slots) {
    st.services = ctx.services;
    st.panel = ctx.host.currentPanel();
    st.applyButton = &ctx.control("Apply");
    st.slots = slots;
    st.envelopes.assign(ctx.selected() * static_cast<std::size_t>(slots), nullptr);
    st.values.assign(ctx.selected() * 3, 0.0);
}

// The floor's own snapshot of the envelopes, for the drag steps.
void collect(Stage &st, const int *wanted) {
    std::size_t i = 0;
    for (const ItemId *item = selection(st); *item; ++item, ++i)
        walk(st.services, *item, wanted, st.slots, &st.envelopes[i * static_cast<std::size_t>(st.slots)]);
}

// Keys `keyed` slots of every item the floor collected.
template <int N>
inline void keyAll(const Stage &st, const int (&keyed)[N], double value) {
    const std::size_t n = st.envelopes.size() / static_cast<std::size_t>(st.slots);
    for (std::size_t i = 0; i < n; ++i) {
        const EnvelopeId *envelopes = &st.envelopes[i * static_cast<std::size_t>(st.slots)];
        for (int slot : keyed) key(st.services, envelopes[slot], value);
    }
}

void toolMove(Context &ctx, Stage &, int step) { ctx.tool->move(ctx.moveBy(step)); }
void toolDown(Context &ctx, Stage &, int) { ctx.tool->down(ctx.press()); }
void toolApply(Context &ctx, Stage &st, int) { ctx.host.fire(*st.applyButton); }

// ---- Pellwyn: "Scale" about the centre of the selection ---------------------
//
// Snapshot: two passes of world positions, the centre into the origin
// fields, the position channels. Drag step: the factors and the origin into
// the six fields, three position keys per item. Apply: the Origin choice
// read, the Method choice set, six fields read, a snapshot, three keys per
// item (every typed factor is -1, which keeps the scene where it was every
// second Apply).

const int pellwynChannels[] = {positionX, positionY, positionZ};
const int pellwynKeyed[] = {0, 1, 2};

void pellwynPanel(Context &ctx, Stage &st) {
    ctx.host.choose(ctx.control("Origin"), 1); // "Center of Objs"
    ctx.host.choose(ctx.control("Method"), 2); // "Scale"
    st.choiceRead = &ctx.control("Origin");
    st.choiceWrite = &ctx.control("Method");
    for (const char *label : {" X", " Y", " Z"}) st.writes.push_back(&ctx.control(label, 0));
    for (const char *label : {" X", " Y", " Z"}) st.writes.push_back(&ctx.control(label, 1));
    st.reads = st.writes;
}

void pellwynSetUpMove(Context &ctx, Stage &st) {
    stage(ctx, st, 3);
    pellwynPanel(ctx, st);
    ctx.tool->down(ctx.press());
    collect(st, pellwynChannels);
}

void pellwynSetUpSnapshot(Context &ctx, Stage &st) {
    stage(ctx, st, 3);
    pellwynPanel(ctx, st);
    for (int k = 0; k < 3; ++k) ctx.host.typeNumber(ctx.control(k == 0 ? " X" : k == 1 ? " Y" : " Z", 0), -1.0);
}

void pellwynFloorMove(Context &, Stage &st, int step) {
    if (panelOpen(st))
        for (ControlId field : st.writes) setNumber(st, field, 1.0 + step * 0.01);
    keyAll(st, pellwynKeyed, 1.0 + step * 0.01);
}

void pellwynFloorSnapshot(Stage &st) {
    const Services &s = st.services;
    const double t = s.time->currentTime;
    const ItemId *items = selection(st);
    for (std::size_t i = 0; items[i]; ++i) s.item->itemParam(items[i], ITEM_PARAM_WORLD_POSITION, t, &st.values[3 * i]);
    if (panelOpen(st))
        for (int k = 3; k < 6; ++k) setNumber(st, st.writes[static_cast<std::size_t>(k)], 0.0);
    for (std::size_t i = 0; items[i]; ++i) {
        s.item->itemParam(items[i], ITEM_PARAM_WORLD_POSITION, t, &st.values[3 * i]);
        walk(s, items[i], pellwynChannels, 3, &st.envelopes[3 * i]);
    }
}

void pellwynFloorDown(Context &, Stage &st, int) { pellwynFloorSnapshot(st); }

void pellwynFloorApply(Context &, Stage &st, int step) {
    getInteger(st, st.choiceRead);
    setInteger(st, st.choiceWrite, 0);
    for (ControlId field : st.reads) getNumber(st, field);
    pellwynFloorSnapshot(st);
    keyAll(st, pellwynKeyed, step * 0.01);
}

// ---- Tamsery: "Rotate" about a custom origin --------------------------------
//
// Press: the origin cross and the cursor projected for the handle test.
// Snapshot: position and rotation per item, the six channels, the origin
// into its fields. Drag step (front view, so about Z): the angle into the B
// field and the origin into its fields, then X, Y and bank per item. Apply:
// both choices and six fields read, a snapshot, then one pass per typed
// angle (B about Z, P about X, H about Y), each keying two positions and
// one rotation per item.

const int tamseryChannels[] = {positionX, positionY, positionZ, rotationH, rotationP, rotationB};
const int aboutZ[] = {positionX, positionY, rotationB};
const int aboutX[] = {positionY, positionZ, rotationP};
const int aboutY[] = {positionX, positionZ, rotationH};

void tamseryPanel(Context &ctx, Stage &st) {
    ctx.host.choose(ctx.control("Origin"), 0); // "Custom", at (0, 0, 0)
    ctx.host.choose(ctx.control("Method"), 1); // "Rotate"
    st.writes.push_back(&ctx.control(" B"));
    for (const char *label : {" X", " Y", " Z"}) st.writes.push_back(&ctx.control(label));
    st.reads.push_back(&ctx.control("Origin"));
    st.reads.push_back(&ctx.control("Method"));
    for (const char *label : {" H", " P", " B", " X", " Y", " Z"}) st.reads.push_back(&ctx.control(label));
}

void tamserySetUpMove(Context &ctx, Stage &st) {
    stage(ctx, st, 6);
    tamseryPanel(ctx, st);
    ctx.tool->down(ctx.press());
    collect(st, tamseryChannels);
}

void tamserySetUpSnapshot(Context &ctx, Stage &st) {
    stage(ctx, st, 6);
    tamseryPanel(ctx, st);
    for (const char *label : {" H", " P", " B"}) ctx.host.typeNumber(ctx.control(label), 1.0);
}

void tamseryFloorMove(Context &, Stage &st, int step) {
    if (panelOpen(st))
        for (ControlId field : st.writes) setNumber(st, field, step * 0.01);
    keyAll(st, aboutZ, step * 0.01);
}

void tamseryFloorSnapshot(Stage &st) {
    const Services &s = st.services;
    const double t = s.time->currentTime;
    const ItemId *items = selection(st);
    for (std::size_t i = 0; items[i]; ++i) {
        s.item->itemParam(items[i], ITEM_PARAM_WORLD_POSITION, t, &st.values[3 * i]);
        s.item->itemParam(items[i], ITEM_PARAM_ROTATION, t, &st.values[3 * i]);
        walk(s, items[i], tamseryChannels, 6, &st.envelopes[6 * i]);
    }
    if (panelOpen(st))
        for (std::size_t k = 1; k < 4; ++k) setNumber(st, st.writes[k], 0.0);
}

void tamseryFloorDown(Context &ctx, Stage &st, int) {
    const double origin[3] = {0.0, 0.0, 0.0};
    double x, y, depth;
    const ToolEvent &press = ctx.press();
    st.services.viewport->projectPoint(press.viewport, origin, &x, &y, &depth);
    st.services.viewport->projectPoint(press.viewport, press.eventPosition, &x, &y, &depth);
    tamseryFloorSnapshot(st);
}

void tamseryFloorApply(Context &, Stage &st, int step) {
    getInteger(st, st.reads[0]); // the Origin and Method choices
    getInteger(st, st.reads[1]);
    for (std::size_t k = 2; k < st.reads.size(); ++k) getNumber(st, st.reads[k]);
    tamseryFloorSnapshot(st);
    keyAll(st, aboutZ, step * 0.01);
    keyAll(st, aboutX, step * 0.01);
    keyAll(st, aboutY, step * 0.01);
}

// ---- Vestral++: offsets of each item's own rotation -------------------------
//
// Snapshot: the rotation per item and the three rotation channels. Drag
// step (front view, so bank): the three angle read-outs rewritten, then the
// bank key per item. Apply: three fields read, a snapshot, three rotation
// keys per item.

const int vestralChannels[] = {rotationH, rotationP, rotationB};
const int vestralBank[] = {2};
const int vestralAll[] = {0, 1, 2};

// The read-outs' texts. The tool formats them; the floor only hands them over.
char readoutText[3][32] = {"0.000000", "0.000000", "1.000000"};

void vestralPanel(Context &ctx, Stage &st) {
    for (const char *label : {"H", "P", "B"}) st.writes.push_back(&ctx.control(label));
    for (const char *label : {" H", " P", " B"}) st.reads.push_back(&ctx.control(label));
}

void vestralSetUpMove(Context &ctx, Stage &st) {
    stage(ctx, st, 3);
    vestralPanel(ctx, st);
    ctx.tool->down(ctx.press());
    collect(st, vestralChannels);
}

void vestralSetUpSnapshot(Context &ctx, Stage &st) {
    stage(ctx, st, 3);
    vestralPanel(ctx, st);
    for (ControlId field : st.reads) ctx.host.typeNumber(*static_cast<host::Control *>(field), 1.0);
}

void vestralFloorMove(Context &, Stage &st, int step) {
    if (panelOpen(st))
        for (int k = 0; k < 3; ++k) {
            ControlValue value{VALUE_KIND_TEXT};
            value.text.buffer = readoutText[k];
            value.text.length = sizeof readoutText[k];
            st.services.panel->setControl(st.writes[static_cast<std::size_t>(k)], CONTROL_VALUE, &value);
        }
    keyAll(st, vestralBank, step * 0.01);
}

void vestralFloorSnapshot(Stage &st) {
    const Services &s = st.services;
    const double t = s.time->currentTime;
    const ItemId *items = selection(st);
    for (std::size_t i = 0; items[i]; ++i) {
        s.item->itemParam(items[i], ITEM_PARAM_ROTATION, t, &st.values[3 * i]);
        walk(s, items[i], vestralChannels, 3, &st.envelopes[3 * i]);
    }
}

void vestralFloorDown(Context &, Stage &st, int) { vestralFloorSnapshot(st); }

void vestralFloorApply(Context &, Stage &st, int step) {
    for (ControlId field : st.reads) getNumber(st, field);
    vestralFloorSnapshot(st);
    keyAll(st, vestralAll, step * 0.01);
}

} // namespace

const char *stepName(Step step) {
    switch (step) {
    case Step::moveCreated: return "move_created";
    case Step::moveUpdated: return "move_updated";
    case Step::down: return "down";
    case Step::apply: return "apply";
    }
    return "";
}

const std::vector<Case> &allCases() {
    static const std::vector<Case> cases{
        {ToolKind::pellwyn, Step::moveCreated, pellwynSetUpMove, toolMove, pellwynFloorMove},
        {ToolKind::pellwyn, Step::moveUpdated, pellwynSetUpMove, toolMove, pellwynFloorMove},
        {ToolKind::pellwyn, Step::down, pellwynSetUpSnapshot, toolDown, pellwynFloorDown},
        {ToolKind::pellwyn, Step::apply, pellwynSetUpSnapshot, toolApply, pellwynFloorApply},
        {ToolKind::tamsery, Step::moveCreated, tamserySetUpMove, toolMove, tamseryFloorMove},
        {ToolKind::tamsery, Step::moveUpdated, tamserySetUpMove, toolMove, tamseryFloorMove},
        {ToolKind::tamsery, Step::down, tamserySetUpSnapshot, toolDown, tamseryFloorDown},
        {ToolKind::tamsery, Step::apply, tamserySetUpSnapshot, toolApply, tamseryFloorApply},
        {ToolKind::vestral, Step::moveCreated, vestralSetUpMove, toolMove, vestralFloorMove},
        {ToolKind::vestral, Step::moveUpdated, vestralSetUpMove, toolMove, vestralFloorMove},
        {ToolKind::vestral, Step::down, vestralSetUpSnapshot, toolDown, vestralFloorDown},
        {ToolKind::vestral, Step::apply, vestralSetUpSnapshot, toolApply, vestralFloorApply},
    };
    return cases;
}
