#pragma once

#include <windows.h>

#include <functional>

#include "platform/window_base.h"
#include "ui/control_table.h"
#include "ui/picture.h"

namespace quorvin {

// A push button drawn with a picture per state: normal, pointer over it, pressed.
class PictureButton : public WindowBase {
 public:
  enum class State { kNormal, kHover, kPressed };

  bool Create(HWND parent, const ControlRecord& record, HCURSOR pointer);
  void OnClicked(std::function<void()> handler) { clicked_ = std::move(handler); }
  State CurrentState() const { return state_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Enter(State state);
  bool PointerInside(LPARAM lParam) const;
  const Picture& Shown() const;
  void Paint();

  std::function<void()> clicked_;
  Picture normal_;
  Picture hover_;
  Picture pressed_;
  State state_ = State::kNormal;
};

// Shows one picture stretched over the whole control, on its background colour.
class PictureBox : public WindowBase {
 public:
  bool Create(HWND parent, const ControlRecord& record);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  COLORREF background_ = 0;
  Picture picture_;
};

}  // namespace quorvin
