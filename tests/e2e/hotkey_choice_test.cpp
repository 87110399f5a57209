#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/running_clicker.h"

namespace quorvin::testing {
namespace {

using N = ControlName;

class HotkeyChoiceTest : public ClickerTest {
 protected:
  std::wstring Status() const { return WindowText(Child(N::透明标签4_运行状态)); }

  // Chooses an item the way a user does: opens the list with a click, moves to the item
  // with the arrow keys, confirms with Enter.
  void Choose(int item) {
    HWND box = Child(N::组合框_热键设置);
    const POINT at = CentreOf(box);
    // Far enough from the last click on the box not to make a double-click of it.
    PumpMessagesFor(GetDoubleClickTime() + 100);
    MoveMouseTo(at.x, at.y);
    PumpMessagesFor(100);
    LeftButton(true);
    LeftButton(false);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3000))
        << "the list of 组合框_热键设置 did not open";
    const int current = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
    for (int i = current; i < item; ++i) PressKey(VK_DOWN);
    for (int i = current; i > item; --i) PressKey(VK_UP);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) == 0; }, 3000));
    PumpMessagesFor(300);
    ASSERT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), item);
  }

  // Whether a press of the key toggles the clicker (it is put back as it was).
  bool Toggles(WORD key) {
    const std::wstring before = Status();
    PressKey(key);
    const bool toggled = WaitUntil([&] { return Status() != before && !Status().empty(); }, 1500);
    if (toggled) {
      const std::wstring now = Status();
      PressKey(key);
      WaitUntil([&] { return Status() != now; }, 1500);
    }
    return toggled;
  }

  void SetUp() override {
    ClickerTest::SetUp();
    if (HasFatalFailure()) return;
    // A start with the longest interval clicks once; keep that click on a harmless spot.
    SendMessageW(Child(N::组合框_鼠标单机间隔秒), CB_SETCURSEL, 17, 0);
  }
};

TEST_F(HotkeyChoiceTest, ChoosingF8MovesTheHotkeyAndF7MovesItBack) {
  ASSERT_TRUE(Toggles(VK_F7));
  EXPECT_FALSE(Toggles(VK_F8));
  Choose(1);
  EXPECT_FALSE(Toggles(VK_F7)) << "F7 after choosing F8";
  EXPECT_TRUE(Toggles(VK_F8)) << "F8 after choosing F8";
  Choose(0);
  EXPECT_TRUE(Toggles(VK_F7)) << "F7 after choosing F7 again";
  EXPECT_FALSE(Toggles(VK_F8)) << "F8 after choosing F7 again";
}

TEST_F(HotkeyChoiceTest, ChoosingTheActiveKeyAgainLeavesExactlyOneWorkingKey) {
  Choose(0);  // F7 again, while F7 is active
  EXPECT_TRUE(Toggles(VK_F7));
  EXPECT_FALSE(Toggles(VK_F8));
  Choose(1);
  EXPECT_FALSE(Toggles(VK_F7)) << "F7 must be withdrawn after switching to F8";
  EXPECT_TRUE(Toggles(VK_F8));
  Choose(1);  // F8 again
  Choose(0);
  EXPECT_TRUE(Toggles(VK_F7));
  EXPECT_FALSE(Toggles(VK_F8)) << "F8 must be withdrawn after switching back to F7";
  // The key not in use is free for other programs.
  EXPECT_TRUE(RegisterHotKey(nullptr, 1, 0, VK_F8));
  UnregisterHotKey(nullptr, 1);
}

TEST(HotkeyHeldElsewhere, F7TakenAtStartUpShowsNoErrorAndF8CanBeChosen) {
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, 0, VK_F7)) << "the test needs F7 for itself";
  ProgramProcess clicker(ProgramBesideTests(L"QuorvinClicker.exe"));
  HWND window = clicker.WaitForWindow(kClickerTitle);
  ASSERT_NE(window, nullptr) << "the window must show although F7 is taken";
  PumpMessagesFor(500);
  EXPECT_EQ(FindTopLevelOfProcess(clicker.Id(), L"错误"), nullptr);
  EXPECT_EQ(FindTopLevelOfProcess(clicker.Id(), L"信息："), nullptr);

  HWND status = GetDlgItem(window, ControlId(N::透明标签4_运行状态));
  HWND box = GetDlgItem(window, ControlId(N::组合框_热键设置));
  SendMessageW(GetDlgItem(window, ControlId(N::组合框_鼠标单机间隔秒)), CB_SETCURSEL, 17, 0);
  PressKey(VK_F7);  // ours: the clicker does not hear it
  PumpMessagesFor(500);
  EXPECT_EQ(WindowText(status), L"");

  const POINT at = CentreOf(box);
  MoveMouseTo(at.x, at.y);
  LeftButton(true);
  LeftButton(false);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3000));
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  PumpMessagesFor(400);
  PressKey(VK_F8);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(status) == L"正在运行..."; }, 3000));
  PressKey(VK_F8);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(status) == L"已经停止!!!"; }, 3000));
  UnregisterHotKey(nullptr, 1);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(clicker.WaitForExit().has_value());
}

}  // namespace
}  // namespace quorvin::testing
