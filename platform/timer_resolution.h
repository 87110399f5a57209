#pragma once

namespace quorvin {

// Asks Windows for 1 ms timer resolution while clicking runs, so that short intervals are
// honoured instead of rounding up to the default 15.6 ms tick. Every successful Begin is
// matched by one End.
bool BeginFineTimerResolution();
void EndFineTimerResolution();

}  // namespace quorvin
