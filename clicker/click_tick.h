#pragma once

#include "clicker/clicker_controls.h"
#include "platform/threads.h"

namespace quorvin {

// One click of the chosen kind at the pointer's position. On the worker, `permit` is asked
// just before the click, so a run called off in time clicks nothing.
void ClickTick(const ClickerControls& controls, const WorkPermit* permit = nullptr);

// Reads x, then y, in two separate queries, and clicks there.
void ClickAtCursor(int kind, const WorkPermit* permit = nullptr);

}  // namespace quorvin
