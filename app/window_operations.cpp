#include "app/window_operations.h"

#include <string>

#include "platform/event_gate.h"

namespace quorvin {
namespace {
bool dragByAnyPoint = false;
bool minimizeBox = true;  // the window is created with WS_MINIMIZEBOX
constexpr bool kMaximizeBox = false;
}  // namespace

int ShowMessageBox(std::wstring_view text, UINT flags) {
  if ((flags & MB_SYSTEMMODAL) == 0) flags |= MB_TASKMODAL;
  const std::wstring owned(text);
  return MessageBoxW(nullptr, owned.c_str(), kNoticeCaption, flags);
}

void ExitProgram(int code) {
  CloseEventsForGood();
  // Nothing to save; Windows withdraws the hotkeys and ends the timer with the process.
  ExitProcess(static_cast<UINT>(code));
}

void ReportFatalError(std::wstring_view message) {
  CloseEventsForGood();
  const std::wstring owned(message);
  MessageBoxW(nullptr, owned.c_str(), kErrorCaption, MB_ICONERROR);
  ExitProgram(-1);
}

void MinimizeWindow(HWND window) {
  if (IsWindowVisible(window)) ShowWindow(window, SW_MINIMIZE);
}

void SetMinimizeBox(HWND window, bool on) {
  minimizeBox = on;
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  constexpr LONG_PTR kCaptionBits = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  // No border: never a caption or a system menu.
  const LONG_PTR wanted = (minimizeBox ? WS_MINIMIZEBOX : 0) | (kMaximizeBox ? WS_MAXIMIZEBOX : 0);
  if ((style & kCaptionBits) == wanted) return;
  SetWindowLongPtrW(window, GWL_STYLE, (style & ~kCaptionBits) | wanted);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetDragByAnyPoint(bool on) { dragByAnyPoint = on; }
bool DragByAnyPoint() { return dragByAnyPoint; }

}  // namespace quorvin
