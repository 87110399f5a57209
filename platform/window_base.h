#pragma once

#include <windows.h>

namespace quorvin {

// Base of the window classes the program registers itself. The object is handed over in
// CreateWindowExW's lpParam, kept in GWLP_USERDATA from WM_NCCREATE and forgotten at
// WM_NCDESTROY, so no message after destruction reaches a dead object.
class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase() {
    if (hwnd_ != nullptr) {
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      DestroyWindow(hwnd_);
    }
  }

  HWND Handle() const { return hwnd_; }

 protected:
  // Registers the class once per process; false when the platform refuses it.
  static bool RegisterClassOnce(WNDCLASSEXW wc) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) return true;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &WindowBase::Procedure;
    return RegisterClassExW(&wc) != 0;
  }

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowBase* self = nullptr;
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      self = static_cast<WindowBase*>(create->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      LRESULT result = self->HandleMessage(message, wParam, lParam);
      self->hwnd_ = nullptr;
      return result;
    }
    return self->HandleMessage(message, wParam, lParam);
  }

  HWND hwnd_ = nullptr;
};

}  // namespace quorvin
