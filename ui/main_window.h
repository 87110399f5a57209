#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "platform/timer_control.h"
#include "platform/unique_handles.h"
#include "platform/window_base.h"
#include "ui/control_table.h"
#include "ui/label.h"
#include "ui/picture.h"
#include "ui/picture_button.h"

namespace quorvin {

inline constexpr wchar_t kMainWindowTitle[] = L"Quorvin鼠标连点器";
inline constexpr wchar_t kMainWindowClass[] = L"QuorvinClickerMainWindow";
inline constexpr int kMainWindowWidth = 391;
inline constexpr int kMainWindowHeight = 239;

// Posted to the main window when the user confirms a choice in a combo box (wParam: the
// box's control id), so the handler runs after the box has finished with the choice.
inline constexpr UINT kListItemSelected = WM_APP + 0x102;

// The events of the window and its controls that handlers can be bound to.
struct WindowEvents {
  std::function<void()> minimizeClicked;                 // 图形按钮1
  std::function<void()> closeClicked;                    // 图形按钮2
  std::function<LRESULT(WPARAM, LPARAM)> hotkeyFeedback; // 标签1
  std::function<LRESULT(WPARAM, LPARAM)> panelFeedback;  // 标签2
  std::function<void()> clickTimer;                      // 时钟1
  std::function<void()> hotkeyChosen;                    // 组合框_热键设置
  std::function<void()> intervalChosen;                  // 组合框_鼠标单机间隔秒
};

// The program's one top-level window and its eighteen controls, built from the control table.
class MainWindow : public WindowBase {
 public:
  MainWindow();
  ~MainWindow() override;

  // Builds the window and every control (steps: the window hidden at its centred place;
  // the controls from the bottom of the table up; stacked; shown without activation).
  // False when the window or any control cannot be created.
  bool Build(HINSTANCE instance);
  // Binds the handlers; events raised before the gate opens are dropped.
  void Bind(WindowEvents events);

  HWND ControlWindow(ControlName name) const { return windows_[static_cast<std::size_t>(name)]; }
  // The kind of the control that owns `hwnd`, if it is one of ours.
  const ControlRecord* RecordOfWindow(HWND hwnd) const;

  // Keys the window takes before its controls see them (Tab, Shift+Tab, Esc). True when the
  // key was taken.
  bool HandleWindowKey(const MSG& message);

  // A test seam: the named control's creation is made to fail.
  static void FailCreationOf(const wchar_t* controlName);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool CreateControl(const ControlRecord& record);
  void MoveFocusAlongCycle(int step);
  void HandFocusOn();
  void PaintBackground();
  LRESULT AnswerColours(HDC dc, HWND control);

  WindowEvents events_;
  std::array<HWND, kControlCount> windows_{};
  std::array<HBRUSH, kControlCount> brushes_{};  // kept for each control's life
  std::array<UniqueBrush, kControlCount> ownedBrushes_;
  std::unique_ptr<Label> 标签1_;
  std::unique_ptr<Label> 标签2_;
  std::unique_ptr<TimerControl> 时钟1_;
  std::unique_ptr<PictureButton> 图形按钮1_;
  std::unique_ptr<PictureButton> 图形按钮2_;
  std::unique_ptr<PictureBox> 图片框1_;
  std::array<std::unique_ptr<TransparentLabel>, kControlCount> transparentLabels_;
  UniqueFont statusFont_;
  UniqueCursor handCursor_;
  UniqueIcon icon_;
  Picture background_;
  bool backgroundLoaded_ = false;
  HWND lastFocus_ = nullptr;
};

}  // namespace quorvin
