#include "tests/windows/counting_window.h"

namespace quorvin::testing {
namespace {
constexpr wchar_t kClass[] = L"QuorvinTestCountingWindow";
}

CountingWindow::CountingWindow(bool visible, RECT place) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &CountingWindow::Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // already registered by an earlier window: fine
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST, kClass, L"counting", WS_POPUP | (visible ? WS_VISIBLE : 0),
                          place.left, place.top, place.right - place.left, place.bottom - place.top,
                          nullptr, nullptr, wc.hInstance, this);
  if (visible) {
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
  }
}

CountingWindow::~CountingWindow() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

int CountingWindow::Count(UINT message) const {
  const auto found = counts_.find(message);
  return found == counts_.end() ? 0 : found->second;
}

WPARAM CountingWindow::LastWParam(UINT message) const {
  const auto found = lastWParam_.find(message);
  return found == lastWParam_.end() ? 0 : found->second;
}

LRESULT CALLBACK CountingWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<CountingWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr) {
    ++self->counts_[message];
    self->lastWParam_[message] = wParam;
    if (message >= WM_APP) return self->answer;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace quorvin::testing
