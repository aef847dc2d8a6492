// tamsery.h: the Tamsery tool. It rotates the positions of the selected items
// about an origin around the world X, Y or Z axis and, under the Method
// "Rotate", turns each item's own heading, pitch or bank with them.
#pragma once

#include "toolkit.h"

#include <vector>

// The channels a captured item is keyed through, in the order of its ChannelSet.
enum ChannelSlot { positionX, positionY, positionZ, rotationH, rotationP, rotationB, channelSlotCount };

// One selected item as the snapshot found it.
struct ItemRecord {
    Vec3 startPosition{}; // world position at the snapshot
    ItemId item = nullptr;
    Vec3 startRotation{}; // heading, pitch, bank in radians at the snapshot
    ChannelSet<channelSlotCount> channels{}; // a null slot is never keyed
};

struct ToolInstance : ToolCommon {
    double angle = 0.0; // degrees, for the next applyToItems
    std::vector<ItemRecord> items;
};

// The typed angles in degrees, as last taken from the panel. Single precision,
// and kept while the module stays loaded.
extern float angleH, angleP, angleB;

// The handles of the panel built last. values.fields are rotateFieldH, P and
// B, values.nudges their drag buttons; originFields.fields are originFieldX,
// Y and Z, originFields.nudges theirs.
extern OriginPanel panelControls;
extern ControlId itemList;

// Rotates every captured item by `angle` degrees about customOrigin around
// the world axis |axis| and keys what moved at the current time.
void applyToItems(ToolInstance &instance) noexcept;

// While the panel is open: customOrigin into the origin fields.
void showOrigin(const ToolInstance &instance) noexcept;
// While the panel is open: the drag's angle into the rotate field of its
// axis, then customOrigin into the origin fields.
void showDrag(const ToolInstance &instance) noexcept;

// Panel handlers.
void onControlEvent(ControlId control, void *userData) noexcept;
void onApply(ControlId control, void *userData) noexcept;
