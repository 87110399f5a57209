#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "tests/e2e/clicker_process.h"
#include "ui/control_table.h"

namespace quorvin::testing {

inline constexpr wchar_t kClickerTitle[] = L"Quorvin鼠标连点器";

// The real executable started for one test, its window shown.
class ClickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    process_ = std::make_unique<ProgramProcess>(ProgramBesideTests(L"QuorvinClicker.exe"));
    ASSERT_TRUE(process_->Started());
    window_ = process_->WaitForWindow(kClickerTitle);
    ASSERT_NE(window_, nullptr) << "the window did not show";
    PumpMessagesFor(300);  // let it settle: first paint, focus
  }
  void TearDown() override {
    if (process_ && WaitForSingleObject(process_->Process(), 0) == WAIT_TIMEOUT) {
      PostMessageW(window_, WM_CLOSE, 0, 0);
      process_->WaitForExit(5000);
    }
    process_.reset();
  }

  HWND Child(ControlName name) const { return GetDlgItem(window_, ControlId(name)); }
  // The focused window of the clicker's thread.
  HWND FocusOfClicker() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
    return info.hwndFocus;
  }
  std::optional<DWORD> ExitCode(DWORD timeoutMs = 5000) const { return process_->WaitForExit(timeoutMs); }
  bool StillRunning() const { return WaitForSingleObject(process_->Process(), 0) == WAIT_TIMEOUT; }
  int Selection(ControlName box) const {
    return static_cast<int>(SendMessageW(Child(box), CB_GETCURSEL, 0, 0));
  }

  std::unique_ptr<ProgramProcess> process_;
  HWND window_ = nullptr;
};

}  // namespace quorvin::testing
