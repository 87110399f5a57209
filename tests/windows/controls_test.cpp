#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/desktop_services.h"
#include "platform/event_gate.h"
#include "platform/timer_control.h"
#include "tests/windows/counting_window.h"
#include "ui/label.h"

namespace quorvin::testing {
namespace {

HWND MakeComboBox(HWND parent, std::initializer_list<const wchar_t*> items) {
  HWND box = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0,
                             80, 160, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (const wchar_t* item : items) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  return box;
}

TEST(ComboBoxServices, ItemTextsAndSelectionReadBackExactly) {
  CountingWindow parent;
  HWND box = MakeComboBox(parent.Handle(), {L"左键单击", L"右键单击", L"左键双击"});
  const Control combo(box);
  EXPECT_EQ(GetSelectedIndex(combo), -1) << "nothing selected yet";
  SendMessageW(box, CB_SETCURSEL, 1, 0);
  EXPECT_EQ(GetSelectedIndex(combo), 1);

  struct Case {
    int index;
    std::u16string text;
  };
  const Case cases[] = {{0, u"左键单击"}, {1, u"右键单击"}, {2, u"左键双击"},
                        {-1, u""},        {3, u""},         {-100, u""}};
  for (const Case& c : cases) {
    EXPECT_TRUE(GetItemText(combo, c.index) == c.text) << "组合框: index " << c.index;
  }
  EXPECT_EQ(GetSelectedIndex(Control(nullptr)), -1);
  EXPECT_TRUE(GetItemText(Control(nullptr), 0).empty());
}

TEST(ControlServices, AnyNonZeroFlagDisables) {
  CountingWindow parent;
  HWND box = MakeComboBox(parent.Handle(), {L"F7", L"F8"});
  for (int flag : {1, 2, -1}) {
    SetDisabled(Control(box), flag);
    EXPECT_FALSE(IsWindowEnabled(box)) << "flag " << flag;
    SetDisabled(Control(box), 0);
    EXPECT_TRUE(IsWindowEnabled(box)) << "flag 0 after " << flag;
  }
}

TEST(ControlServices, LabelTextIsStoredAsWideText) {
  CountingWindow parent(true);
  TransparentLabel label;
  ASSERT_TRUE(label.Create(parent.Handle(), RecordOf(ControlName::透明标签4_运行状态), nullptr));
  for (std::u16string_view text : {u"正在运行...", u"已经停止!!!", u""}) {
    SetLabelText(Control(label.Handle()), text);
    wchar_t buffer[64]{};
    GetWindowTextW(label.Handle(), buffer, 64);
    EXPECT_TRUE(std::u16string(buffer, buffer + wcslen(buffer)) == text);
  }
}

TEST(ControlServices, WindowHandleOfAGoneWindowIsNull) {
  HWND gone = nullptr;
  {
    CountingWindow window;
    gone = window.Handle();
    EXPECT_EQ(WindowHandleOf(Control(gone)), gone);
  }
  EXPECT_EQ(WindowHandleOf(Control(gone)), nullptr);
  EXPECT_EQ(WindowHandleOf(Control()), nullptr);
}

class TimerControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenEvents();
    ASSERT_TRUE(timer_.Create(parent_.Handle(), 1, 0, 0, 48, 32, 0));
    timer_.OnPeriodic([this] { ++ticks_; });
  }
  CountingWindow parent_;
  TimerControl timer_;
  int ticks_ = 0;
};

TEST_F(TimerControlTest, WritingTheSamePeriodKeepsThePhase) {
  SetTimerPeriod(Control(timer_.Handle()), 120);
  // Rewritten every 40 ms: a restart each time would never let the timer expire.
  for (int i = 0; i < 15; ++i) {
    PumpMessagesFor(40);
    SetTimerPeriod(Control(timer_.Handle()), 120);
  }
  EXPECT_GE(ticks_, 2) << "after 600 ms of a 120 ms period";
  EXPECT_EQ(timer_.Period(), 120);
}

TEST_F(TimerControlTest, ANewPeriodRestartsTheTimer) {
  SetTimerPeriod(Control(timer_.Handle()), 120);
  for (int i = 0; i < 15; ++i) {
    PumpMessagesFor(40);
    SetTimerPeriod(Control(timer_.Handle()), i % 2 == 0 ? 121 : 120);
  }
  EXPECT_EQ(ticks_, 0) << "each new period starts a full period afresh";
}

TEST_F(TimerControlTest, NegativePeriodStopsAndStoresZero) {
  SetTimerPeriod(Control(timer_.Handle()), 20);
  PumpMessagesFor(150);
  EXPECT_GT(ticks_, 0);
  EXPECT_TRUE(timer_.Active());
  SetTimerPeriod(Control(timer_.Handle()), -5);
  EXPECT_EQ(timer_.Period(), 0);
  EXPECT_FALSE(timer_.Active());
  PumpMessagesFor(30);  // an expiry already queued may still arrive
  const int stoppedAt = ticks_;
  PumpMessagesFor(150);
  EXPECT_EQ(ticks_, stoppedAt);
}

}  // namespace
}  // namespace quorvin::testing
