#pragma once

#include <cstdint>

#include "platform/control.h"

namespace quorvin {

// The controls of the main window that the click engine reads and changes.
struct ClickerControls {
  Control mainWindow;
  Control 标签1;               // receiver of the hotkey notifications
  Control 透明标签4_运行状态;  // run status
  Control 组合框_热键设置;
  Control 组合框_鼠标点击类型;
  Control 组合框_鼠标单机间隔秒;
  Control 时钟1;
};

// The ids under which F7 and F8 were last registered; 0 when refused or never registered.
struct HotkeyIds {
  std::int32_t hotkeyIdF7 = 0;
  std::int32_t hotkeyIdF8 = 0;
};

inline constexpr int kVirtualKeyF7 = 118;
inline constexpr int kVirtualKeyF8 = 119;

}  // namespace quorvin
