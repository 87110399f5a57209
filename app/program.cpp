#include "app/program.h"

#include "app/message_loop.h"
#include "app/window_operations.h"
#include "clicker/click_tick.h"
#include "clicker/hotkey_choice.h"
#include "clicker/run_stop_toggle.h"
#include "platform/event_gate.h"
#include "ui/main_window.h"

namespace quorvin {
namespace {

ClickerControls ControlsOf(const MainWindow& window) {
  return {Control(window.Handle()),
          Control(window.ControlWindow(ControlName::标签1)),
          Control(window.ControlWindow(ControlName::透明标签4_运行状态)),
          Control(window.ControlWindow(ControlName::组合框_热键设置)),
          Control(window.ControlWindow(ControlName::组合框_鼠标点击类型)),
          Control(window.ControlWindow(ControlName::组合框_鼠标单机间隔秒)),
          Control(window.ControlWindow(ControlName::时钟1))};
}

// Whatever the build left in the queue is dispatched before the created event, with the
// handlers still held back.
void DispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int RunProgram(HINSTANCE instance) {
  MainWindow window;
  if (!window.Build(instance)) ReportFatalError(kStartupFailedText);

  const ClickerControls controls = ControlsOf(window);
  HotkeyIds hotkeys;
  RunStopToggle toggle(controls);
  HWND main = window.Handle();

  WindowEvents events;
  events.minimizeClicked = [main] {
    SetMinimizeBox(main, true);
    MinimizeWindow(main);
  };
  events.closeClicked = [] {
    ShowMessageBox(kCloseNotice, MB_OK);
    ExitProgram(0);
  };
  events.hotkeyFeedback = [&toggle](WPARAM, LPARAM) -> LRESULT {
    toggle.Toggle();
    return 0;
  };
  events.panelFeedback = [](WPARAM, LPARAM) -> LRESULT { return 0; };
  events.clickTimer = [&controls] { ClickTick(controls); };
  events.hotkeyChosen = [&controls, &hotkeys] { ChooseHotkey(controls, hotkeys); };
  events.intervalChosen = [] {};
  window.Bind(std::move(events));

  DispatchPending();
  OpenEvents();
  // The created event: F7 works before the user can see the window.
  RegisterStartupHotkey(controls, hotkeys);
  SetDragByAnyPoint(true);

  ShowWindow(main, SW_SHOW);
  UpdateWindow(main);

  const int code = RunMessageLoop(window);
  CloseEventsForGood();
  return code;
}

}  // namespace quorvin
