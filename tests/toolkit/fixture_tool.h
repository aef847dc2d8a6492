// fixture_tool.h: a minimal tool linked with the toolkit, for the toolkit's
// own tests. Its knobs let a test reach the toolkit's failure paths.
#pragma once

#include "toolkit.h"

#include <vector>

namespace fixture {

struct ItemRecord {
    ItemId item = nullptr;
    ChannelSet<3> channels{}; // "Position.X", "Position.Y", "Position.Z"
};

extern bool failAllocation; // createInstance gives null
extern int captures;        // captureSelection calls
extern float value;         // nudged by the drag button beside " V"
extern std::vector<ItemRecord> *lastItems;

} // namespace fixture
