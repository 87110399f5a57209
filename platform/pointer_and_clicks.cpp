#include <windows.h>

#include <array>

#include "platform/desktop_services.h"

namespace quorvin {

WindowHandle WindowHandleOf(Control control) {
  HWND window = control.Window();
  return window != nullptr && IsWindow(window) ? window : nullptr;
}

int CursorX() {
  POINT point{};
  return GetCursorPos(&point) ? point.x : 0;
}

int CursorY() {
  POINT point{};
  return GetCursorPos(&point) ? point.y : 0;
}

namespace {
INPUT ButtonEvent(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  // No MOUSEEVENTF_MOVE: every event acts where the pointer was put.
  input.mi.dwFlags = flags;
  return input;
}
}  // namespace

void SynthesizeClick(int x, int y, int kind) {
  SetCursorPos(x, y);  // a failed placement does not hold the click back

  const INPUT leftDown = ButtonEvent(MOUSEEVENTF_LEFTDOWN);
  const INPUT leftUp = ButtonEvent(MOUSEEVENTF_LEFTUP);
  const INPUT rightDown = ButtonEvent(MOUSEEVENTF_RIGHTDOWN);
  const INPUT rightUp = ButtonEvent(MOUSEEVENTF_RIGHTUP);
  std::array<INPUT, 4> events{leftDown, leftUp};
  UINT count = 2;
  switch (kind) {
    case kLeftDoubleClick:
      events = {leftDown, leftUp, leftDown, leftUp};
      count = 4;
      break;
    case kRightClick:
      events = {rightDown, rightUp};
      break;
    case kRightDoubleClick:
      events = {rightDown, rightUp, rightDown, rightUp};
      count = 4;
      break;
    default:
      break;
  }
  // One call, so the events are not interleaved with other input and a click that begins
  // always ends with its buttons up.
  SendInput(count, events.data(), sizeof(INPUT));
}

}  // namespace quorvin
