#include "bench/target_window.h"

#include "bench/timing.h"

namespace quorvin::bench {
namespace {
constexpr wchar_t kClassName[] = L"QuorvinBenchTarget";
}

TargetWindow::TargetWindow(RECT place) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  // No CS_DBLCLKS: clicks 10 ms apart stay plain button-downs.
  windowClass.lpfnWndProc = &Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // a second target finds the class registered already
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST, kClassName, L"quorvin-bench-target", WS_POPUP | WS_VISIBLE,
                          place.left, place.top, place.right - place.left, place.bottom - place.top,
                          nullptr, nullptr, windowClass.hInstance, this);
}

TargetWindow::~TargetWindow() {
  if (hwnd_ != nullptr)
    DestroyWindow(hwnd_);
}

POINT TargetWindow::Centre() const {
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void TargetWindow::Clear() {
  leftDowns.clear();
  keyDowns.clear();
  leftUps = 0;
  otherButtons = 0;
}

LRESULT CALLBACK TargetWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const double now = NowMs();
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  }
  auto* self = reinterpret_cast<TargetWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr) {
    switch (message) {
      case WM_LBUTTONDOWN:
        self->leftDowns.push_back(now);
        return 0;
      case WM_LBUTTONUP:
        ++self->leftUps;
        return 0;
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        ++self->otherButtons;
        return 0;
      case WM_KEYDOWN:
        self->keyDowns.push_back(now);
        return 0;
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // clicks must not bring it in front of the clicker
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace quorvin::bench
