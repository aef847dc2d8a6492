// vestral.h: Vestral++ adds heading, pitch and bank offsets to the own
// rotation of every selected item and keys its rotation channels.
#pragma once

#include "toolkit.h"

#include <vector>

// Degrees to radians and back, as the panel's degrees meet the host's radians.
constexpr double degreesToRadians = 0.017453292519943295;
constexpr double radiansToDegrees = 57.29577951308232;

// Slots of a rotation vector and of the channel set: heading, pitch, bank.
enum RotationSlot { heading = 0, pitch = 1, bank = 2 };

// The rotation channel a drag about `axis` turns: Y heading, X pitch, Z bank,
// whatever the sign; -1 for no axis.
constexpr int rotationSlotOf(int axis) noexcept {
    switch (axis) {
    case 2: case -2: return heading;
    case 1: case -1: return pitch;
    case 3: case -3: return bank;
    default: return -1;
    }
}

// One selected item as the last snapshot found it.
struct ItemRecord {
    Vec3 startRotation{};     // heading, pitch, bank (radians) at the snapshot
    ItemId item = nullptr;
    ChannelSet<3> channels{}; // "Rotation.H", "Rotation.P", "Rotation.B"; null where the item lacks one
};

struct ToolInstance : ToolCommon {
    double dragAngle = 0.0; // the current drag's angle, radians
    Vec3 shownAngles{};     // the last drag angle about each channel (heading, pitch, bank), radians
    std::vector<ItemRecord> items;
};

inline ToolInstance &vestral(ToolCommon &common) noexcept { return static_cast<ToolInstance &>(common); }

// The offsets last taken from the panel, in degrees, at single precision for
// the life of the module.
extern float offsetH, offsetP, offsetB;

// The controls of the panel built last; null where the host failed to add one.
extern ControlId offsetFieldH, offsetFieldP, offsetFieldB;
extern ControlId offsetNudgeH, offsetNudgeP, offsetNudgeB;
extern ControlId applyButton;
extern ControlId angleInfoH, angleInfoP, angleInfoB;

// Keys, for every captured item, its captured rotation plus dragAngle on the
// channel picked by axis.
void applyToItems(ToolInstance &tool) noexcept;

// The float fields' handler: takes the edited offset.
void onControlEvent(ControlId control, void *userData) noexcept;
// The Apply button's handler: adds the three offsets to a fresh snapshot.
void onApply(ControlId control, void *userData) noexcept;
