#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/e2e/handle_count.h"
#include "tests/e2e/running_clicker.h"
#include "tests/windows/counting_window.h"

namespace quorvin::testing {
namespace {

using N = ControlName;

constexpr int kInterval0_01 = 0, kInterval0_05 = 4, kInterval0_1 = 5, kInterval0_5 = 7,
              kInterval10 = 17;

// The clicker, plus a window of the test's own under the pointer that counts the clicks.
class ClickingTest : public ClickerTest {
 protected:
  void SetUp() override {
    ClickerTest::SetUp();
    if (HasFatalFailure())
      return;
    target_ = std::make_unique<CountingWindow>(true, RECT{20, 20, 260, 200});
    PumpMessagesFor(100);
    MoveMouseTo(140, 110);
    PumpMessagesFor(100);
    target_->Clear();
  }
  void TearDown() override {
    ClickerTest::TearDown();
    target_.reset();
  }

  int LeftDowns() const { return target_->Count(WM_LBUTTONDOWN); }
  int AllDowns() const { return target_->Count(WM_LBUTTONDOWN) + target_->Count(WM_RBUTTONDOWN); }
  std::wstring Status() const { return WindowText(Child(N::透明标签4_运行状态)); }
  void Select(N box, int index) {
    SendMessageW(Child(box), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  bool WaitForStatus(const wchar_t* text) {
    return WaitUntil([&] { return Status() == text; }, 3000);
  }
  // Counts the clicks arriving during `ms` milliseconds.
  int ClicksDuring(DWORD ms) {
    const int before = LeftDowns();
    PumpMessagesFor(ms);
    return LeftDowns() - before;
  }
  void StopAndSettle() {
    PressKey(VK_F7);
    EXPECT_TRUE(WaitForStatus(L"已经停止!!!"));
    PumpMessagesFor(300);
  }

  std::unique_ptr<CountingWindow> target_;
};

TEST_F(ClickingTest, F7StartsWithAnImmediateClickAndF7AgainStopsEverything) {
  Select(N::组合框_鼠标单机间隔秒, kInterval10);  // the timer's first tick is 10 s away
  PressKey(VK_F7);
  ASSERT_TRUE(WaitForStatus(L"正在运行...")) << "status: " << Status().size();
  for (N box : {N::组合框_热键设置, N::组合框_鼠标点击类型, N::组合框_鼠标单机间隔秒})
    EXPECT_FALSE(IsWindowEnabled(Child(box))) << ControlId(box);
  EXPECT_TRUE(WaitUntil([&] { return LeftDowns() >= 1; }, 3000))
      << "the worker's click did not come, long before the first 10 s tick";
  EXPECT_EQ(target_->Count(WM_LBUTTONUP), LeftDowns());

  PressKey(VK_F7);
  ASSERT_TRUE(WaitForStatus(L"已经停止!!!"));
  for (N box : {N::组合框_热键设置, N::组合框_鼠标点击类型, N::组合框_鼠标单机间隔秒})
    EXPECT_TRUE(IsWindowEnabled(Child(box))) << ControlId(box);
  EXPECT_EQ(Selection(N::组合框_鼠标单机间隔秒), kInterval10) << "selections unchanged";
  EXPECT_EQ(Selection(N::组合框_鼠标点击类型), 0);
}

TEST_F(ClickingTest, ClicksKeepComingAtTheChosenIntervalUntilStopped) {
  Select(N::组合框_鼠标单机间隔秒, kInterval0_05);
  PressKey(VK_F7);
  ASSERT_TRUE(WaitForStatus(L"正在运行..."));
  PumpMessagesFor(200);
  const int fast = ClicksDuring(1500);
  StopAndSettle();
  EXPECT_EQ(ClicksDuring(600), 0) << "clicks after the stop";

  Select(N::组合框_鼠标单机间隔秒, kInterval0_5);
  PressKey(VK_F7);
  ASSERT_TRUE(WaitForStatus(L"正在运行..."));
  PumpMessagesFor(200);
  const int slow = ClicksDuring(1500);
  StopAndSettle();

  // 50 ms against 500 ms: about ten times as many; wide margins for a loaded machine.
  EXPECT_GE(fast, 10) << "at 0.05 s for 1.5 s";
  EXPECT_GE(slow, 1) << "at 0.5 s for 1.5 s";
  EXPECT_LE(slow, 4) << "at 0.5 s for 1.5 s";
  EXPECT_GT(fast, 3 * slow) << "fast " << fast << ", slow " << slow;
}

TEST_F(ClickingTest, EachClickKindGivesExactlyItsButtonEvents) {
  struct Case {
    int item;
    const char* text;
    int leftDowns, leftUps, rightDowns, rightUps;
  };
  const Case cases[] = {
      {0, "左键单击", 1, 1, 0, 0}, {1, "右键单击", 0, 0, 2, 2}, {2, "左键双击", 2, 2, 0, 0}};
  Select(N::组合框_鼠标单机间隔秒, kInterval10);
  for (const Case& c : cases) {
    Select(N::组合框_鼠标点击类型, c.item);
    target_->Clear();
    PressKey(VK_F7);
    ASSERT_TRUE(WaitForStatus(L"正在运行...")) << c.text;
    EXPECT_TRUE(WaitUntil([&] { return AllDowns() >= 1; }, 3000)) << c.text;
    PumpMessagesFor(300);
    PressKey(VK_F7);
    ASSERT_TRUE(WaitForStatus(L"已经停止!!!")) << c.text;
    PumpMessagesFor(200);
    EXPECT_EQ(target_->Count(WM_LBUTTONDOWN), c.leftDowns) << c.text;
    EXPECT_EQ(target_->Count(WM_LBUTTONUP), c.leftUps) << c.text;
    EXPECT_EQ(target_->Count(WM_RBUTTONDOWN), c.rightDowns) << c.text;
    EXPECT_EQ(target_->Count(WM_RBUTTONUP), c.rightUps) << c.text;
  }
}

TEST_F(ClickingTest, TwoQuickPressesGiveAtMostTheWorkersOneClick) {
  Select(N::组合框_鼠标单机间隔秒, kInterval0_1);
  PressKey(VK_F7);
  PressKey(VK_F7);
  ASSERT_TRUE(WaitForStatus(L"已经停止!!!"));
  PumpMessagesFor(700);
  EXPECT_LE(LeftDowns(), 2) << "the worker's click and at most a tick";
  EXPECT_EQ(ClicksDuring(500), 0);
}

TEST_F(ClickingTest, ManyFastStartStopCyclesLeaveHandlesFlatAndTheWindowResponsive) {
  Select(N::组合框_鼠标单机间隔秒, kInterval0_01);
  auto handles = [&] { return HandleCountOf(process_->Process()).value_or(0); };
  // One cycle first, so everything a first start creates once exists already.
  PressKey(VK_F7);
  PressKey(VK_F7);
  ASSERT_TRUE(WaitForStatus(L"已经停止!!!"));
  PumpMessagesFor(300);
  const DWORD before = handles();
  ASSERT_GT(before, 0u) << "the clicker's handles cannot be counted";
  for (int i = 0; i < 200; ++i) {
    PressKey(VK_F7);
    PressKey(VK_F7);
    if (i % 20 == 0)
      PumpMessagesFor(10);
  }
  ASSERT_TRUE(WaitUntil([&] { return Status() == L"已经停止!!!"; }, 10000));
  PumpMessagesFor(500);
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0)
      << "the window stopped answering";
  // Threads that ended a moment ago keep some handles for a few seconds under Wine; a leaked
  // handle never comes back, so the count is given time to settle.
  DWORD after = handles();
  WaitUntil([&] { return (after = handles()) <= before + 3; }, 8000);
  EXPECT_LE(after, before + 3) << "handles before " << before << ", after " << after;
  EXPECT_EQ(ClicksDuring(400), 0) << "still clicking after an even number of presses";
}

TEST_F(ClickingTest, KeepsClickingWhileMinimizedAndF7StillToggles) {
  Select(N::组合框_鼠标单机间隔秒, kInterval0_05);
  PressKey(VK_F7);
  ASSERT_TRUE(WaitForStatus(L"正在运行..."));
  const POINT at = CentreOf(Child(N::图形按钮1));
  MoveMouseTo(at.x, at.y);
  PumpMessagesFor(50);
  LeftButton(true);
  LeftButton(false);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(window_) != FALSE; }, 3000));
  MoveMouseTo(140, 110);
  PumpMessagesFor(200);
  EXPECT_GE(ClicksDuring(800), 4) << "while minimized";
  StopAndSettle();
  EXPECT_EQ(ClicksDuring(400), 0);
  PressKey(VK_F7);
  EXPECT_TRUE(WaitForStatus(L"正在运行...")) << "F7 while minimized";
  StopAndSettle();
}

TEST_F(ClickingTest, KeepsClickingWhileTheCloseNoticeIsOpen) {
  Select(N::组合框_鼠标单机间隔秒, kInterval0_05);
  const POINT at = CentreOf(Child(N::图形按钮2));
  MoveMouseTo(at.x, at.y);
  PumpMessagesFor(50);
  LeftButton(true);
  LeftButton(false);
  HWND notice = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return (notice = FindTopLevelOfProcess(process_->Id(), L"信息：")) != nullptr; },
      5000));
  MoveMouseTo(140, 110);
  PumpMessagesFor(100);
  PressKey(VK_F7);
  ASSERT_TRUE(WaitForStatus(L"正在运行...")) << "F7 with the notice open";
  PumpMessagesFor(200);
  EXPECT_GE(ClicksDuring(800), 4) << "with the notice open";
  PressKey(VK_F7);
  EXPECT_TRUE(WaitForStatus(L"已经停止!!!"));
  PostMessageW(notice, WM_COMMAND, IDOK, 0);
  const auto code = ExitCode();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
}

}  // namespace
}  // namespace quorvin::testing
