// svg.h: pictures as SVG text: a replay's scene in three views, and a
// tool's panel as the host lays it out.
#pragma once

#include "replay.h"

#include <string>
#include <vector>

namespace toolhost {

// One row per outcome, each with a front, a top and a side view: every item
// before (hollow) and after (filled) with an arrow between, a tick for its
// turn about the view's depth axis when its rotation changed, its name, the
// tool's origin cross and a grid.
std::string sceneSvg(const std::vector<Outcome> &outcomes);

// Every control of the panel at its position and size, with its label.
std::string panelSvg(const host::Panel &panel);

} // namespace toolhost
