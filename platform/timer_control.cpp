#include "platform/timer_control.h"

#include "platform/desktop_services.h"
#include "platform/event_gate.h"

namespace quorvin {
namespace {
constexpr wchar_t kTimerControlClass[] = L"QuorvinTimerControl";
}

bool TimerControl::Create(HWND parent, int id, int left, int top, int width, int height,
                          int initialPeriod) {
  WNDCLASSEXW wc{};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kTimerControlClass;
  if (!RegisterClassOnce(wc)) return false;
  // Never shown, so it takes no input.
  if (CreateWindowExW(0, kTimerControlClass, L"", WS_CHILD, left, top, width, height,
                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), wc.hInstance, this) == nullptr)
    return false;
  SetPeriod(initialPeriod);
  return true;
}

void TimerControl::SetPeriod(int milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  if (milliseconds == period_) return;  // a running timer keeps its phase
  period_ = milliseconds;
  if (active_) KillTimer(Handle(), kTimerId);
  active_ = period_ > 0 && SetTimer(Handle(), kTimerId, static_cast<UINT>(period_), nullptr) != 0;
}

LRESULT TimerControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimerId) {
        if (periodic_ && EventsOpen()) periodic_();
        return 0;
      }
      break;
    case kTimerControlSetPeriod:
      SetPeriod(static_cast<int>(wParam));
      return 0;
    case WM_DESTROY:
      if (active_) KillTimer(Handle(), kTimerId);
      active_ = false;
      break;
  }
  return WindowBase::HandleMessage(message, wParam, lParam);
}

void SetTimerPeriod(Control timer, int milliseconds) {
  HWND window = WindowHandleOf(timer);
  if (window == nullptr) return;
  if (milliseconds < 0) milliseconds = 0;
  SendMessageW(window, kTimerControlSetPeriod, static_cast<WPARAM>(milliseconds), 0);
}

}  // namespace quorvin
