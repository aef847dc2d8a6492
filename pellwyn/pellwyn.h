// pellwyn.h: Pellwyn scales the selected items' distances from an origin.
#pragma once

#include "toolkit.h"

#include <vector>

// Method choice.
enum PellwynMethod { methodStretch = 0, methodStretchFlat = 1, methodScale = 2 };
// Origin choice.
enum PellwynOrigin { originCustom = 0, originCenterOfObjs = 1 };

// One selected item as the last snapshot found it.
struct ItemRecord {
    Vec3 startPosition{}; // world position at the snapshot
    Vec3 direction{};     // unit vector from origin to startPosition; zero when they coincide
    double distance = 0;  // |startPosition - origin|
    ItemId item = nullptr;
    ChannelSet<3> channels{}; // "Position.X", "Position.Y", "Position.Z"
};

struct ToolInstance : ToolCommon {
    ToolInstance() {
        method = methodScale;
        originMode = originCenterOfObjs;
    }
    // The current drag's factors: [0] from the horizontal movement, [1] from
    // the vertical one, [2] always 1.
    Vec3 dragFactors{1.0, 1.0, 1.0};
    std::vector<ItemRecord> items;
};

inline ToolInstance &pellwyn(ToolCommon &common) noexcept { return static_cast<ToolInstance &>(common); }

// The typed factors, kept at single precision for the life of the module.
extern float scaleX, scaleY, scaleZ;

// The panel built last: `values` is the scale column.
extern OriginPanel controls;

// Shows the drag's factors in the scale fields and customOrigin in the
// origin fields, while the panel is open.
void showDrag(ToolInstance &tool) noexcept;

// Keys every captured item's position scaled by the drag's factors.
void applyToItems(ToolInstance &tool) noexcept;

void onControlEvent(ControlId control, void *userData) noexcept;
void onApply(ControlId control, void *userData) noexcept;
