#pragma once

// The operations the program's logic asks of Windows. The logic reaches the platform only
// through these (and the window operations of the shell); nothing here includes windows.h.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/control.h"
#include "platform/text_to_float.h"
#include "platform/threads.h"
#include "platform/window_handle.h"

namespace quorvin {

// --- Windows and the pointer -------------------------------------------------------------

// The control's window handle; null when it has none (never created, or destroyed).
WindowHandle WindowHandleOf(Control control);

// The pointer's screen position; each call asks the platform anew. 0 when it cannot tell.
int CursorX();
int CursorY();

// Codes of a synthesized click.
enum ClickKind : int {
  kLeftClick = 0,
  kLeftDoubleClick = 1,
  kRightClick = 2,
  kRightDoubleClick = 3,
};

// Puts the pointer at (x, y), then injects the kind's button events there in one go, so no
// other input falls between them and no button is left down. Unknown kinds click once left.
void SynthesizeClick(int x, int y, int kind);

// --- Global hotkeys ----------------------------------------------------------------------

// Sent to the receiver for every press of a hotkey registered through this service:
// wParam is the hotkey's id, lParam 0; the result is the receiver's answer.
inline constexpr unsigned kHotkeyNotify = 0x8075;
inline constexpr std::int32_t kFirstHotkeyId = 33001;
// Applications may use ids up to 0xBFFF; beyond that Windows reserves them.
inline constexpr std::int32_t kLastHotkeyId = 0xBFFF;

// Modifier codes: 0 none, 1 Ctrl, 2 Shift, 3 Ctrl+Shift, 4 Alt, 5 Ctrl+Alt, 6 Shift+Alt;
// any other value is passed to the platform as its flags.
// Registers the key system-wide on `window`, makes `receiver` the receiver of every hotkey
// notification, and returns the new id (one per call, refused calls included, never reused),
// or 0 when the platform refused the key or the ids are used up.
std::int32_t RegisterGlobalHotkey(WindowHandle window, WindowHandle receiver, int modifierCode,
                                  int virtualKey);
// Withdraws a registration; ids that are 0, unknown or already withdrawn change nothing.
void UnregisterGlobalHotkey(WindowHandle window, std::int32_t id);
// The last id issued in this process, 0 before the first registration.
std::int32_t LastIssuedHotkeyId();

// --- Controls ----------------------------------------------------------------------------

// Sets the timer control's period in ms (negative counts as 0, 0 stops it). Writing the
// period it already has changes nothing, so a running timer keeps its phase; a new period
// restarts it, the first expiry coming one period after the call.
void SetTimerPeriod(Control timer, int milliseconds);

// The combo box's selected index, -1 when none; asked of the control on every call.
int GetSelectedIndex(Control comboBox);
// A copy of the item's text; empty when the index names no item.
std::u16string GetItemText(Control comboBox, int index);
// Any non-zero flag disables the control, 0 enables it.
void SetDisabled(Control control, int flag);
// Sets the label's text and repaints at once the area beneath it and the label, so the new
// text shows on fresh background with no trace of the old.
void SetLabelText(Control label, std::u16string_view text);

// --- Threads: see platform/threads.h -----------------------------------------------------

}  // namespace quorvin
