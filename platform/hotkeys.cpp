#include <windows.h>
#include <commctrl.h>

#include "platform/desktop_services.h"

namespace quorvin {
namespace {

// Process-wide, touched on the user-interface thread only.
std::int32_t lastIssuedId = 0;
HWND receiver = nullptr;

constexpr UINT_PTR kHotkeySubclassId = 0x8075;

UINT ModifierFlags(int code) {
  UINT flags = 0;
  switch (code) {
    case 1: flags = MOD_CONTROL; break;
    case 2: flags = MOD_SHIFT; break;
    case 3: flags = MOD_CONTROL | MOD_SHIFT; break;
    case 4: flags = MOD_ALT; break;
    case 5: flags = MOD_CONTROL | MOD_ALT; break;
    case 6: flags = MOD_SHIFT | MOD_ALT; break;
    default: flags = static_cast<UINT>(code); break;
  }
  // A toggle must not flip on and off while a key is held down and repeats.
  return flags | MOD_NOREPEAT;
}

bool IsIssuedId(WPARAM id) {
  return lastIssuedId >= kFirstHotkeyId && id >= static_cast<WPARAM>(kFirstHotkeyId) &&
         id <= static_cast<WPARAM>(lastIssuedId);
}

// Hooked onto every window that hotkeys are registered on: turns presses of our keys into
// notifications of the receiver, then lets the window see WM_HOTKEY as usual.
LRESULT CALLBACK HotkeyWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR, DWORD_PTR) {
  if (message == WM_HOTKEY && IsIssuedId(wParam) && receiver != nullptr) {
    SendMessageW(receiver, kHotkeyNotify, wParam, 0);
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &HotkeyWindowProc, kHotkeySubclassId);
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

std::int32_t RegisterGlobalHotkey(WindowHandle window, WindowHandle newReceiver, int modifierCode,
                                  int virtualKey) {
  receiver = newReceiver;
  const UINT flags = ModifierFlags(modifierCode);
  if (lastIssuedId >= kLastHotkeyId) return 0;  // ids used up: refused without asking Windows
  const std::int32_t id = lastIssuedId == 0 ? kFirstHotkeyId : lastIssuedId + 1;
  lastIssuedId = id;
  if (window != nullptr) SetWindowSubclass(window, &HotkeyWindowProc, kHotkeySubclassId, 0);
  return RegisterHotKey(window, id, flags, static_cast<UINT>(virtualKey)) ? id : 0;
}

void UnregisterGlobalHotkey(WindowHandle window, std::int32_t id) {
  if (id == 0 || !IsIssuedId(static_cast<WPARAM>(id))) return;
  UnregisterHotKey(window, id);
}

std::int32_t LastIssuedHotkeyId() { return lastIssuedId; }

}  // namespace quorvin
