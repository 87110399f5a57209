#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "ui/resource_ids.h"

namespace quorvin {

enum class ControlKind { kLabel, kTransparentLabel, kComboBox, kTimer, kPictureButton, kPictureBox, kEditBox };

// Every control of the main window, in stacking order from the top.
enum class ControlName {
  图片框1,
  透明标签7,
  图形按钮2,
  图形按钮1,
  编辑框1,
  透明标签6,
  透明标签5,
  透明标签4,
  标签2,
  透明标签4_运行状态,
  标签1,
  时钟1,
  透明标签3,
  透明标签2,
  透明标签1,
  组合框_热键设置,
  组合框_鼠标单机间隔秒,
  组合框_鼠标点击类型,
};
inline constexpr std::size_t kControlCount = 18;

// The pictures the window carries (resource ids in app/resources.rc).
enum class PictureId : int {
  kNone = 0,
  kWindowBackground = QUORVIN_IDR_WINDOW_BACKGROUND,
  kMouse = QUORVIN_IDR_MOUSE,
  kMinimizeNormal = QUORVIN_IDR_MINIMIZE_NORMAL,
  kMinimizeHover = QUORVIN_IDR_MINIMIZE_HOVER,
  kMinimizePressed = QUORVIN_IDR_MINIMIZE_PRESSED,
  kCloseNormal = QUORVIN_IDR_CLOSE_NORMAL,
  kCloseHover = QUORVIN_IDR_CLOSE_HOVER,
  kClosePressed = QUORVIN_IDR_CLOSE_PRESSED,
  kLabelBackground = QUORVIN_IDR_LABEL_BACKGROUND,
};

enum class Background { kNone, kColour, kButtonFace };
enum class FontChoice { kDefaultGui, kStatus };
enum class TextAlign { kLeft, kCentre };

struct ControlLook {
  COLORREF text = RGB(0, 0, 0);
  Background background = Background::kNone;
  COLORREF backgroundColour = 0;
  FontChoice font = FontChoice::kDefaultGui;
  TextAlign align = TextAlign::kLeft;
  PictureId picture = PictureId::kNone;  // the normal picture of a picture button
  PictureId hoverPicture = PictureId::kNone;
  PictureId pressedPicture = PictureId::kNone;
};

struct ControlRecord {
  ControlName name;
  const wchar_t* nameText;  // for messages and tests
  ControlKind kind;
  int left, top, width, height;
  bool visible;
  bool tabStop;
  const wchar_t* text;
  std::span<const wchar_t* const> items;
  int selection;
  ControlLook look;
};

// Child window ids, from the position in the table.
inline int ControlId(ControlName name) { return 1000 + static_cast<int>(name); }

const std::array<ControlRecord, kControlCount>& ControlTable();
const ControlRecord& RecordOf(ControlName name);

// Tab and Shift+Tab walk these, skipping hidden and disabled ones.
inline constexpr std::array<ControlName, 4> kTabCycle{
    ControlName::组合框_鼠标点击类型, ControlName::组合框_鼠标单机间隔秒,
    ControlName::组合框_热键设置, ControlName::编辑框1};

// Drop-down boxes are created this high: room for the closed field and the open list.
inline constexpr int kComboBoxCreationHeight = 160;

// The main window's own look.
inline constexpr COLORREF kWindowBackgroundColour = RGB(0, 224, 128);

}  // namespace quorvin
