#pragma once

#include <windows.h>

namespace quorvin::bench {

// Milliseconds on the performance counter, the finest clock the system has.
double NowMs();

// Dispatches this thread's messages for a while, sleeping in between, so that a message is
// stamped as soon as it arrives and the benchmark itself costs no CPU while it waits.
void PumpFor(double milliseconds);

// Pumps until the condition holds or the timeout passes; returns the condition's last value.
template <typename Condition>
bool PumpUntil(Condition condition, double timeoutMs) {
  const double end = NowMs() + timeoutMs;
  while (!condition()) {
    const double left = end - NowMs();
    if (left <= 0)
      return condition();
    PumpFor(left < 5 ? left : 5);
  }
  return true;
}

}  // namespace quorvin::bench
