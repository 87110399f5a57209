#include "bench/timing.h"

namespace quorvin::bench {

double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

void PumpFor(double milliseconds) {
  const double end = NowMs() + milliseconds;
  MSG message;
  for (;;) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    const double left = end - NowMs();
    if (left <= 0)
      return;
    // Whole milliseconds, rounded up, so the wait never ends early and spins.
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left) + 1, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

}  // namespace quorvin::bench
