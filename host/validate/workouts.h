// workouts.h: the scenes the checks build and the runs of steps they share.
#pragma once

#include "checker.h"

#include <vector>

namespace validate {

// `count` selectable items ("item 0", ...) in a spread of positions and
// rotations, then two bystanders that are never selected. Every item has
// keys at t=0 and t=2 on its position, rotation and scale channels, the
// first item also at t=1 on its position and rotation channels. The time
// is 1. Items from the 100th on have no keys, to keep large scenes light.
// `lacking`, when not null, is a channel name that item 0 goes without.
void standardScene(Session &session, int count, const char *lacking = nullptr);

// The item numbers of the selectable items: 0 .. count-1.
std::vector<int> firstItems(int count);

Step selectStep(std::vector<int> items);
Step activateStep(host::Faults faults = {});
Step simpleStep(Action action, int index = 0);
Step numberStep(Action action, double number, int index = 0); // setTime, setGrid
Step eventStep(Action action, const ToolEvent &event);

// A mouse drag in a viewport by window pixels: down at the first point, a
// move per further point with deltas from the first, up at the last.
std::vector<Step> drag(const host::Host &host, int viewport, const std::vector<std::array<double, 2>> &pixels,
                       int flags = 0);

// A press on the origin handle as the tool draws it, then moves to the
// given pixels and up.
std::vector<Step> handleDrag(const host::Host &host, int viewport, const std::vector<std::array<double, 2>> &pixels,
                             int flags = 0);

// Every control of the panel worked once with ordinary values: a number
// typed, each entry of a choice, a drag button dragged up and down, every
// item of a list picked and then none, every button pressed.
std::vector<Step> workEveryControl(Session &session);

// What a user does with a tool in a few seconds: drags in every viewport
// (plain, with the modifier key, on the origin handle), every control
// worked, a drag at another time, the host's queries. Each step is run as it is made, since
// later steps depend on the panel the earlier ones left.
void workout(Checker &checker);

} // namespace validate
