#include "app/message_loop.h"

#include <windows.h>

#include "app/window_operations.h"
#include "ui/main_window.h"

namespace quorvin {
namespace {

enum class PressVerdict { kDeliver, kDrop };

// A left press on the window's surface, a label or the picture box starts the platform's
// move loop, as a press on a caption would; presses on the labels and the picture box are
// then dropped, the window's own still delivered.
PressVerdict FilterPress(const MainWindow& window, const MSG& message) {
  if (!DragByAnyPoint() || message.message != WM_LBUTTONDOWN) return PressVerdict::kDeliver;
  HWND main = window.Handle();
  if (message.hwnd == main) {
    PostMessageW(main, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return PressVerdict::kDeliver;
  }
  const ControlRecord* record = window.RecordOfWindow(message.hwnd);
  if (record != nullptr &&
      (record->kind == ControlKind::kLabel || record->kind == ControlKind::kPictureBox)) {
    PostMessageW(main, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return PressVerdict::kDrop;
  }
  return PressVerdict::kDeliver;
}

}  // namespace

int RunMessageLoop(MainWindow& window) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (FilterPress(window, message) == PressVerdict::kDrop) continue;
    if (window.HandleWindowKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace quorvin
