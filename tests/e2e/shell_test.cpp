#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/running_clicker.h"

namespace quorvin::testing {
namespace {

using N = ControlName;

struct ExpectedControl {
  N name;
  const wchar_t* label;
  int left, top, width, height;
  bool visible;
  const wchar_t* text;
};

// From the top of the stacking order down.
const ExpectedControl kExpected[] = {
    {N::图片框1, L"图片框1", 4, 3, 22, 22, true, L""},
    {N::透明标签7, L"透明标签7", 34, 1, 86, 24, true, L"Talmeo鼠标连点器"},
    {N::图形按钮2, L"图形按钮2", 350, 1, 37, 31, true, L""},
    {N::图形按钮1, L"图形按钮1", 311, 1, 37, 31, true, L""},
    {N::编辑框1, L"编辑框1", 240, 54, 128, 24, true, L"测试框"},
    {N::透明标签6, L"透明标签6", 17, 185, 192, 16, true, L" 1.把鼠标移动到需要点击的地方.\r\n"},
    {N::透明标签5, L"透明标签5", 17, 204, 353, 16, true,
     L"\r\n 2.按一下F7键开始,再按一下停止.(默认热键是F7，可以自己更改)"},
    {N::透明标签4, L"透明标签4", 17, 165, 72, 16, true, L"\r\n 使用方法：\r\n"},
    {N::标签2, L"标签2", 10, 160, 368, 68, true, L""},
    {N::透明标签4_运行状态, L"透明标签4_运行状态", 224, 71, 144, 80, true, L""},
    {N::标签1, L"标签1", 204, 85, 20, 24, true, L"秒"},
    {N::时钟1, L"时钟1", 312, 55, 48, 32, false, L""},
    {N::透明标签3, L"透明标签3", 17, 111, 56, 24, true, L"热键设置："},
    {N::透明标签2, L"透明标签2", 17, 85, 120, 24, true, L"每次点击的间隔时间："},
    {N::透明标签1, L"透明标签1", 17, 55, 80, 24, true, L"点击类型 鼠标："},
    {N::组合框_热键设置, L"组合框_热键设置", 74, 114, 64, 0, true, L"F7"},
    {N::组合框_鼠标单机间隔秒, L"组合框_鼠标单机间隔秒", 136, 87, 64, 0, true, L"0.1"},
    {N::组合框_鼠标点击类型, L"组合框_鼠标点击类型", 104, 58, 80, 0, true, L"左键单击"},
};

std::string Utf8(const std::wstring& text) {
  std::string out(static_cast<std::size_t>(text.size() * 4 + 1), '\0');
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<std::size_t>(size > 0 ? size : 0));
  return out;
}

std::vector<std::wstring> ItemsOf(HWND box) {
  std::vector<std::wstring> items;
  const auto count = SendMessageW(box, CB_GETCOUNT, 0, 0);
  for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back(text);
  }
  return items;
}

TEST_F(ClickerTest, EighteenControlsAtTheirPlacesWithTheirTexts) {
  for (const ExpectedControl& c : kExpected) {
    HWND control = Child(c.name);
    ASSERT_NE(control, nullptr) << Utf8(c.label);
    RECT rect = ScreenRect(control);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, c.left) << Utf8(c.label);
    EXPECT_EQ(rect.top, c.top) << Utf8(c.label);
    EXPECT_EQ(rect.right - rect.left, c.width) << Utf8(c.label);
    if (c.height > 0) {
      EXPECT_EQ(rect.bottom - rect.top, c.height) << Utf8(c.label);
    }
    EXPECT_EQ(IsWindowVisible(control) != FALSE, c.visible) << Utf8(c.label);
    EXPECT_TRUE(IsWindowEnabled(control)) << Utf8(c.label);
    EXPECT_EQ(WindowText(control), c.text) << Utf8(c.label) << ": text " << Utf8(WindowText(control));
  }
}

TEST_F(ClickerTest, StackedFromThePictureBoxDownToTheClickTypeBox) {
  std::vector<int> order;
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    order.push_back(GetDlgCtrlID(child));
  std::vector<int> expected;
  for (const ExpectedControl& c : kExpected) expected.push_back(ControlId(c.name));
  EXPECT_EQ(order, expected);
}

TEST_F(ClickerTest, ComboBoxesAreDropDownListsWithTheirItemsAndStartSelections) {
  struct Box {
    N name;
    std::vector<std::wstring> items;
    int selected;
  };
  const Box boxes[] = {
      {N::组合框_鼠标点击类型, {L"左键单击", L"右键单击", L"左键双击"}, 0},
      {N::组合框_鼠标单机间隔秒,
       {L"0.01", L"0.02", L"0.03", L"0.04", L"0.05", L"0.1", L"0.2", L"0.5", L"1", L"2", L"3",
        L"4", L"5", L"6", L"7", L"8", L"9", L"10"},
       5},
      {N::组合框_热键设置, {L"F7", L"F8"}, 0},
  };
  for (const Box& box : boxes) {
    HWND hwnd = Child(box.name);
    EXPECT_EQ(ItemsOf(hwnd), box.items) << ControlId(box.name);
    EXPECT_EQ(Selection(box.name), box.selected) << ControlId(box.name);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & 3, CBS_DROPDOWNLIST) << ControlId(box.name);
  }
  const LONG editStyle = GetWindowLongW(Child(N::编辑框1), GWL_STYLE);
  EXPECT_EQ(editStyle & (ES_MULTILINE | ES_READONLY | ES_PASSWORD), 0);
  EXPECT_NE(editStyle & ES_AUTOHSCROLL, 0);
  EXPECT_NE(GetWindowLongW(Child(N::编辑框1), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(ClickerTest, F7IsRegisteredBeforeTheWindowShows) {
  // Registered by the created event, before the window first showed: it is taken now.
  EXPECT_FALSE(RegisterHotKey(nullptr, 1, 0, VK_F7));
  UnregisterHotKey(nullptr, 1);
}

TEST_F(ClickerTest, TabCyclesTheFourBoxesForwardAndBack) {
  const HWND cycle[] = {Child(N::组合框_鼠标点击类型), Child(N::组合框_鼠标单机间隔秒),
                        Child(N::组合框_热键设置), Child(N::编辑框1)};
  ASSERT_TRUE(WaitUntil([&] { return FocusOfClicker() == cycle[0]; }, 3000))
      << "the focus starts on 组合框_鼠标点击类型";
  for (int step = 1; step <= 5; ++step) {
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return FocusOfClicker() == cycle[step % 4]; }, 2000))
        << "after " << step << " Tab presses";
  }
  // Now on 组合框_鼠标单机间隔秒 (index 1): back twice lands on 编辑框1.
  PressKey(VK_TAB, {VK_SHIFT});
  EXPECT_TRUE(WaitUntil([&] { return FocusOfClicker() == cycle[0]; }, 2000));
  PressKey(VK_TAB, {VK_SHIFT});
  EXPECT_TRUE(WaitUntil([&] { return FocusOfClicker() == cycle[3]; }, 2000))
      << "Shift+Tab from 组合框_鼠标点击类型 goes to 编辑框1";
}

TEST_F(ClickerTest, EscFromTheEditBoxClosesWithExitCodeZeroAndNoNotice) {
  SetForegroundWindow(window_);
  PressKey(VK_TAB, {VK_SHIFT});  // to 编辑框1
  ASSERT_TRUE(WaitUntil([&] { return FocusOfClicker() == Child(N::编辑框1); }, 2000));
  PressKey(VK_ESCAPE);
  const auto code = ExitCode();
  ASSERT_TRUE(code.has_value()) << "Esc did not close the program";
  EXPECT_EQ(*code, 0u);
}

TEST_F(ClickerTest, EscWithTheIntervalListOpenClosesTheProgram) {
  HWND box = Child(N::组合框_鼠标单机间隔秒);
  const POINT at = CentreOf(box);
  MoveMouseTo(at.x, at.y);
  LeftButton(true);
  LeftButton(false);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3000))
      << "the list did not open";
  PressKey(VK_ESCAPE);
  const auto code = ExitCode();
  ASSERT_TRUE(code.has_value()) << "Esc with the list open did not close the program";
  EXPECT_EQ(*code, 0u);
  EXPECT_EQ(FindTopLevelOfProcess(process_->Id(), L"信息："), nullptr);
}

TEST_F(ClickerTest, ShiftEscEnterAndF1DoNotClose) {
  PressKey(VK_ESCAPE, {VK_SHIFT});
  PressKey(VK_RETURN);
  PressKey(VK_F1);
  PumpMessagesFor(500);
  EXPECT_TRUE(StillRunning());
  EXPECT_TRUE(IsWindowVisible(window_));
}

TEST_F(ClickerTest, CloseButtonShowsTheNoticeThenExitsWithZero) {
  const POINT at = CentreOf(Child(N::图形按钮2));
  MoveMouseTo(at.x, at.y);
  LeftButton(true);
  LeftButton(false);
  HWND notice = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (notice = FindTopLevelOfProcess(process_->Id(), L"信息：")) != nullptr; }, 5000))
      << "no notice captioned 信息：";
  // Only an OK button, and the group and site named in the text.
  int buttons = 0;
  std::wstring texts;
  for (HWND child : ChildWindowsOf(notice)) {
    wchar_t className[32]{};
    GetClassNameW(child, className, 32);
    if (std::wstring(className) == L"Button") ++buttons;
    texts += WindowText(child) + L"|";
  }
  EXPECT_EQ(buttons, 1) << Utf8(texts);
  EXPECT_NE(texts.find(L"Talmeo技术群："), std::wstring::npos) << Utf8(texts);
  EXPECT_NE(texts.find(L"  免费分享："), std::wstring::npos) << Utf8(texts);
  EXPECT_FALSE(IsWindowEnabled(window_)) << "the notice is task-modal";
  EXPECT_TRUE(StillRunning());

  PostMessageW(notice, WM_COMMAND, IDOK, 0);
  const auto code = ExitCode();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
}

TEST_F(ClickerTest, DragByTheWindowSurfaceAndByALabelMovesTheWindow) {
  struct Case {
    const char* where;
    POINT offset;  // within the window
  };
  const Case cases[] = {{"the window's surface", {180, 145}}, {"标签1", {212, 97}},
                        {"标签2", {250, 220}},                {"图片框1", {14, 13}}};
  for (const Case& c : cases) {
    const RECT before = ScreenRect(window_);
    MoveMouseTo(before.left + c.offset.x, before.top + c.offset.y);
    LeftButton(true);
    PumpMessagesFor(100);
    for (int i = 1; i <= 10; ++i) {
      MoveMouseTo(before.left + c.offset.x - 3 * i, before.top + c.offset.y + 2 * i);
      PumpMessagesFor(20);
    }
    LeftButton(false);
    PumpMessagesFor(200);
    const RECT after = ScreenRect(window_);
    EXPECT_EQ(after.left - before.left, -30) << c.where;
    EXPECT_EQ(after.top - before.top, 20) << c.where;
  }
}

TEST_F(ClickerTest, DragByACaptionTextOrAComboBoxDoesNotMoveTheWindow) {
  struct Case {
    const char* where;
    N control;
  };
  const Case cases[] = {{"透明标签1", N::透明标签1}, {"透明标签7", N::透明标签7},
                        {"组合框_鼠标点击类型", N::组合框_鼠标点击类型}};
  for (const Case& c : cases) {
    const RECT before = ScreenRect(window_);
    const RECT control = ScreenRect(Child(c.control));
    const POINT start{control.left + 5, (control.top + control.bottom) / 2};
    MoveMouseTo(start.x, start.y);
    LeftButton(true);
    PumpMessagesFor(100);
    for (int i = 1; i <= 10; ++i) {
      MoveMouseTo(start.x + 3 * i, start.y + 2 * i);
      PumpMessagesFor(20);
    }
    LeftButton(false);
    PumpMessagesFor(200);
    SendMessageW(Child(c.control), CB_SHOWDROPDOWN, FALSE, 0);  // a list that opened
    const RECT after = ScreenRect(window_);
    EXPECT_EQ(after.left, before.left) << c.where;
    EXPECT_EQ(after.top, before.top) << c.where;
  }
}

TEST_F(ClickerTest, MinimizeButtonMinimizesButAReleaseElsewhereDoesNothing) {
  const POINT at = CentreOf(Child(N::图形按钮1));
  MoveMouseTo(at.x, at.y);
  LeftButton(true);
  PumpMessagesFor(50);
  MoveMouseTo(at.x - 60, at.y + 60);
  PumpMessagesFor(50);
  LeftButton(false);
  PumpMessagesFor(300);
  EXPECT_FALSE(IsIconic(window_)) << "released away from the button";

  MoveMouseTo(at.x, at.y);
  PumpMessagesFor(50);
  LeftButton(true);
  PumpMessagesFor(50);
  LeftButton(false);
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(window_) != FALSE; }, 3000));
  EXPECT_TRUE(StillRunning());
}

TEST_F(ClickerTest, TextTypedIntoTheEditBoxChangesNothingElse) {
  SetForegroundWindow(window_);
  PressKey(VK_TAB, {VK_SHIFT});
  ASSERT_TRUE(WaitUntil([&] { return FocusOfClicker() == Child(N::编辑框1); }, 2000));
  for (WORD key : {WORD{'A'}, WORD{'B'}, WORD{VK_F8}, WORD{'1'}}) PressKey(key);
  PumpMessagesFor(300);
  EXPECT_EQ(Selection(N::组合框_热键设置), 0);
  EXPECT_EQ(Selection(N::组合框_鼠标单机间隔秒), 5);
  EXPECT_EQ(WindowText(Child(N::透明标签4_运行状态)), L"");
  EXPECT_NE(WindowText(Child(N::编辑框1)), L"测试框");
}

}  // namespace
}  // namespace quorvin::testing
