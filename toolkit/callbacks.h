// callbacks.h: the toolkit's own pieces behind the host callbacks.
#pragma once

#include "toolkit.h"

// Sets axis from the dominant component of eventAxis: ±1 X, ±2 Y, ±3 Z.
// On a tie for the largest magnitude, or a zero vector, axis keeps its value.
void pickAxis(ToolCommon &instance, const ToolEvent &event) noexcept;

// The press: axis, the origin-handle test, and the snapshot unless the press
// grabbed the handle.
void pressDown(ToolCommon &instance, const ToolEvent &event) noexcept;

// Forgets the drag button of the last nudge, so that a new panel's controls
// never continue an old drag.
void forgetLastNudge() noexcept;
