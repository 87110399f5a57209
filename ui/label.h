#pragma once

#include <windows.h>

#include <functional>

#include "platform/window_base.h"
#include "ui/control_table.h"
#include "ui/picture.h"

namespace quorvin {

// A label: an optional background picture at natural size, its background colour for the
// rest, and one line of text. Raises its feedback event on the hotkey notification.
class Label : public WindowBase {
 public:
  using Feedback = std::function<LRESULT(WPARAM, LPARAM)>;

  bool Create(HWND parent, const ControlRecord& record);
  void OnFeedback(Feedback handler) { feedback_ = std::move(handler); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  void RedrawTransparentLabelsAbove(const RECT& painted) const;
  COLORREF BackgroundColour() const;

  ControlLook look_;
  Feedback feedback_;
  Picture picture_;
  bool pictureLoaded_ = false;
};

// A label without a background of its own: only its text, over whatever lies beneath.
class TransparentLabel : public WindowBase {
 public:
  bool Create(HWND parent, const ControlRecord& record, HFONT font);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ControlLook look_;
  HFONT font_ = nullptr;  // owned by the main window
};

}  // namespace quorvin
