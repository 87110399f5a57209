#pragma once

#include "platform/window_handle.h"

namespace quorvin {

// A control of the main window (or the window itself) as the logic addresses it.
class Control {
 public:
  Control() = default;
  explicit Control(WindowHandle window) : window_(window) {}
  WindowHandle Window() const { return window_; }

 private:
  WindowHandle window_ = nullptr;
};

}  // namespace quorvin
