#pragma once

#include <windows.h>

#include <functional>

#include "platform/window_base.h"

namespace quorvin {

// SetTimerPeriod's message to a timer control: wParam is the period in ms (0 stops).
inline constexpr UINT kTimerControlSetPeriod = WM_APP + 0x101;

// An invisible child window that owns one system timer and raises its periodic event on
// each expiry.
class TimerControl : public WindowBase {
 public:
  bool Create(HWND parent, int id, int left, int top, int width, int height, int initialPeriod);
  void OnPeriodic(std::function<void()> handler) { periodic_ = std::move(handler); }

  void SetPeriod(int milliseconds);
  int Period() const { return period_; }
  bool Active() const { return active_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static constexpr UINT_PTR kTimerId = 1;
  std::function<void()> periodic_;
  int period_ = 0;
  bool active_ = false;
};

}  // namespace quorvin
