#include "clicker/hotkey_choice.h"

#include "platform/desktop_services.h"

namespace quorvin {
namespace {

bool SelectedItemIs(const ClickerControls& controls, std::u16string_view key) {
  const int index = GetSelectedIndex(controls.组合框_热键设置);
  return GetItemText(controls.组合框_热键设置, index) == key;
}

// Withdraws `from` and registers `key` in its place, unless `key` is the one registered.
void MoveHotkey(const ClickerControls& controls, std::int32_t& from, std::int32_t& to, int key) {
  if (to != 0) return;  // already the live key
  const WindowHandle window = WindowHandleOf(controls.mainWindow);
  UnregisterGlobalHotkey(window, from);
  from = 0;
  to = RegisterGlobalHotkey(WindowHandleOf(controls.mainWindow), WindowHandleOf(controls.标签1), 0,
                            key);
}

}  // namespace

void ChooseHotkey(const ClickerControls& controls, HotkeyIds& ids) {
  if (SelectedItemIs(controls, u"F8"))
    MoveHotkey(controls, ids.hotkeyIdF7, ids.hotkeyIdF8, kVirtualKeyF8);
  if (SelectedItemIs(controls, u"F7"))
    MoveHotkey(controls, ids.hotkeyIdF8, ids.hotkeyIdF7, kVirtualKeyF7);
}

void RegisterStartupHotkey(const ClickerControls& controls, HotkeyIds& ids) {
  ids.hotkeyIdF7 = RegisterGlobalHotkey(WindowHandleOf(controls.mainWindow),
                                        WindowHandleOf(controls.标签1), 0, kVirtualKeyF7);
}

}  // namespace quorvin
