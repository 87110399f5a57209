// Baseline: the least a timer-driven clicker can do. F7 starts a SetTimer with the period given
// on the command line (milliseconds) and every WM_TIMER clicks with mouse_event; F7 again stops.
// Nothing else: no window to draw, no worker thread, no timer resolution request. Its cadence is
// the mechanism's own limit.
#include <windows.h>

#include <cwchar>

namespace {

constexpr int kToggleHotkey = 1;

void ClickLeft() {
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const long period = std::wcstol(commandLine, nullptr, 10);
  if (period <= 0)
    return 2;
  if (!RegisterHotKey(nullptr, kToggleHotkey, MOD_NOREPEAT, VK_F7))
    return 3;
  // A hidden window only so the benchmark can see that the hotkey is in place.
  HWND ready = CreateWindowExW(0, L"STATIC", L"quorvin-bench-bare-timer", WS_POPUP, 0, 0, 1, 1,
                               nullptr, nullptr, instance, nullptr);
  if (ready == nullptr)
    return 4;

  UINT_PTR timer = 0;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_HOTKEY && message.wParam == kToggleHotkey) {
      if (timer == 0) {
        timer = SetTimer(nullptr, 0, static_cast<UINT>(period), nullptr);
      } else {
        KillTimer(nullptr, timer);
        timer = 0;
      }
    } else if (message.message == WM_TIMER && timer != 0 && message.wParam == timer) {
      ClickLeft();
    }
    DispatchMessageW(&message);
  }
  return 0;
}
