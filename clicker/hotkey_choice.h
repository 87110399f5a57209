#pragma once

#include "clicker/clicker_controls.h"

namespace quorvin {

// Moves the global hotkey to the key chosen in 组合框_热键设置. Choosing the key that is
// already registered changes nothing, so at most one of F7 and F8 toggles at any time.
void ChooseHotkey(const ClickerControls& controls, HotkeyIds& ids);

// The created event's registration of F7, with 标签1 as receiver.
void RegisterStartupHotkey(const ClickerControls& controls, HotkeyIds& ids);

}  // namespace quorvin
