#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "tests/e2e/pixel_tally.h"
#include "tests/e2e/running_clicker.h"
#include "tests/windows/counting_window.h"
#include "tools/capture/capture.h"

namespace quorvin::testing {
namespace {

using N = ControlName;
using capture::ScreenPixels;

constexpr COLORREF kPictureBoxBackground = RGB(128, 224, 0);
constexpr COLORREF kPanelYellow = RGB(232, 232, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kInterval10 = 17;

// Solid fills come back exact; a little room for a display of fewer colours.
bool Near(COLORREF colour, COLORREF want, int tolerance = 4) {
  return std::abs(GetRValue(colour) - GetRValue(want)) <= tolerance &&
         std::abs(GetGValue(colour) - GetGValue(want)) <= tolerance &&
         std::abs(GetBValue(colour) - GetBValue(want)) <= tolerance;
}

// Black text smoothed onto a background: a shade between black and that background.
bool ShadeTowardsBlack(COLORREF colour, COLORREF background) {
  const int sum = GetRValue(colour) + GetGValue(colour) + GetBValue(colour);
  const int backgroundSum = GetRValue(background) + GetGValue(background) + GetBValue(background);
  if (backgroundSum == 0)
    return sum == 0;
  auto channelFits = [&](int channel, int backgroundChannel) {
    return std::abs(channel * backgroundSum - backgroundChannel * sum) <= 24 * backgroundSum;
  };
  return sum <= backgroundSum + 12 && channelFits(GetRValue(colour), GetRValue(background)) &&
         channelFits(GetGValue(colour), GetGValue(background)) &&
         channelFits(GetBValue(colour), GetBValue(background));
}

// Pixels of the area in one picture that differ from another's, and where the first is.
std::string Differences(const ScreenPixels& a,
                        const ScreenPixels& b,
                        const RECT& area,
                        int* count) {
  *count = 0;
  std::ostringstream text;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (a.At(x, y) != b.At(x, y) && (*count)++ == 0)
        text << "first at (" << x << "," << y << ") " << Describe(a.At(x, y)) << " vs "
             << Describe(b.At(x, y));
  return text.str();
}

// The program started with its pictures damaged as `arguments` say (see
// corrupt_pictures_main.cpp).
class DamagedPicturesTest : public ::testing::TestWithParam<const wchar_t*> {
 protected:
  void SetUp() override {
    process_ = std::make_unique<ProgramProcess>(ProgramBesideTests(L"quorvin_corrupt_pictures.exe"),
                                                GetParam());
    ASSERT_TRUE(process_->Started());
    window_ = process_->WaitForWindow(kClickerTitle);
    ASSERT_NE(window_, nullptr) << "the window did not show; exit code "
                                << process_->WaitForExit(0).value_or(STILL_ACTIVE);
    MoveMouseTo(2, 2);  // away from the window: a hover would change what is drawn
    PumpMessagesFor(300);
  }
  void TearDown() override {
    MoveMouseTo(2, 2);
    if (process_ && WaitForSingleObject(process_->Process(), 0) == WAIT_TIMEOUT) {
      PostMessageW(window_, WM_CLOSE, 0, 0);
      process_->WaitForExit(5000);
    }
    process_.reset();
  }

  HWND Child(N name) const { return GetDlgItem(window_, ControlId(name)); }
  std::wstring Status() const { return WindowText(Child(N::透明标签4_运行状态)); }
  ScreenPixels Capture() {
    PumpMessagesFor(300);
    return capture::CaptureWindow(window_);
  }
  HWND CaptureOfClicker() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
    return info.hwndCapture;
  }

  void ExpectNoBoxAndAnswering() {
    EXPECT_EQ(VisibleTopLevelWindows(process_->Id()), 1) << "visible windows of the program";
    EXPECT_EQ(FindTopLevelOfProcess(process_->Id(), L"错误"), nullptr);
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0)
        << "the window does not answer";
  }

  // A press of F7 starts (the worker's click lands on the test's window), another stops.
  void ExpectF7Works() {
    CountingWindow target(true, RECT{20, 20, 200, 150});
    SendMessageW(Child(N::组合框_鼠标单机间隔秒), CB_SETCURSEL, kInterval10, 0);
    MoveMouseTo(100, 80);
    PumpMessagesFor(100);
    target.Clear();
    PressKey(VK_F7);
    EXPECT_TRUE(WaitUntil([&] { return Status() == L"正在运行..."; }, 3000)) << "F7 did not start";
    EXPECT_TRUE(WaitUntil([&] { return target.Count(WM_LBUTTONDOWN) >= 1; }, 3000))
        << "no click after F7";
    PressKey(VK_F7);
    EXPECT_TRUE(WaitUntil([&] { return Status() == L"已经停止!!!"; }, 3000)) << "F7 did not stop";
    MoveMouseTo(2, 2);
  }

  std::unique_ptr<ProgramProcess> process_;
  HWND window_ = nullptr;
};

std::string CaseName(const ::testing::TestParamInfo<const wchar_t*>& info) {
  std::string name;
  for (const wchar_t* c = info.param; *c != 0; ++c)
    name += (*c >= L'a' && *c <= L'z') ? static_cast<char>(*c) : '_';
  return name;
}

using EveryPictureDamagedTest = DamagedPicturesTest;

TEST_P(EveryPictureDamagedTest, EachHolderDrawsItsFallbackAndTheProgramStillWorks) {
  ExpectNoBoxAndAnswering();
  const ScreenPixels pixels = Capture();
  ASSERT_EQ(pixels.width, 391);
  ASSERT_EQ(pixels.height, 239);

  // The window's own surface, wherever no control lies over it, is its background colour.
  std::vector<RECT> controls;
  for (HWND child : ChildWindowsOf(window_)) {
    if (!IsWindowVisible(child))
      continue;
    RECT place = ScreenRect(child);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&place), 2);
    controls.push_back(place);
  }
  auto uncovered = [&](int x, int y) {
    for (const RECT& place : controls)
      if (x >= place.left && x < place.right && y >= place.top && y < place.bottom)
        return false;
    return true;
  };
  const Tally surface = Count(
      pixels, {0, 0, pixels.width, pixels.height},
      [](COLORREF c) { return Near(c, kWindowBackgroundColour); }, uncovered);
  EXPECT_GT(surface.total, 20000) << "pixels of the window's own surface";
  EXPECT_EQ(surface.matching, surface.total)
      << "window surface in RGB(0,224,128): " << Where(surface);

  // 标签1 without its picture: the system's button face, and its black 秒.
  const COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);
  const Tally face =
      Count(pixels, PlaceOf(N::标签1), [&](COLORREF c) { return Near(c, buttonFace); });
  EXPECT_GT(face.matching, face.total / 2)
      << "标签1 in the button face " << Describe(buttonFace) << ": " << Where(face);
  const Tally faceOrGlyph = Count(pixels, PlaceOf(N::标签1),
                                  [&](COLORREF c) { return ShadeTowardsBlack(c, buttonFace); });
  EXPECT_EQ(faceOrGlyph.matching, faceOrGlyph.total)
      << "标签1 pixels neither button face nor glyph: " << Where(faceOrGlyph);
  const Tally glyph =
      Count(pixels, PlaceOf(N::标签1), [](COLORREF c) { return Near(c, kBlack, 70); });
  EXPECT_GT(glyph.matching, 8) << "标签1 dark pixels of 秒";

  // 标签2 never had a picture: still its yellow under the black notes.
  const Tally yellow =
      Count(pixels, PlaceOf(N::标签2), [](COLORREF c) { return Near(c, kPanelYellow); });
  EXPECT_GT(yellow.matching, yellow.total * 8 / 10) << "标签2 yellow: " << Where(yellow);

  const Tally box =
      Count(pixels, PlaceOf(N::图片框1), [](COLORREF c) { return Near(c, kPictureBoxBackground); });
  EXPECT_EQ(box.matching, box.total) << "图片框1 in RGB(128,224,0): " << Where(box);

  for (N button : {N::图形按钮1, N::图形按钮2}) {
    const Tally black = Count(pixels, PlaceOf(button), [](COLORREF c) { return Near(c, kBlack); });
    EXPECT_EQ(black.matching, black.total) << NameOf(button) << " black: " << Where(black);
  }

  ExpectF7Works();
  ExpectNoBoxAndAnswering();
}

INSTANTIATE_TEST_SUITE_P(Damages,
                         EveryPictureDamagedTest,
                         ::testing::Values(L"all truncated",
                                           L"all flipped",
                                           L"all empty",
                                           L"all foreign",
                                           L"all mislabelled"),
                         CaseName);

class ButtonStatesTest : public DamagedPicturesTest {};

// The hover and pressed looks of both picture buttons, each against the normal look; in the
// intact program they differ, which shows the pointer really put the button in that state.
TEST_P(ButtonStatesTest, HoverAndPressShowTheNormalPictureWhenTheirOwnAreDamaged) {
  const bool damaged = std::wstring(GetParam()) != L"intact";
  ExpectNoBoxAndAnswering();
  const ScreenPixels normal = Capture();
  const Tally fallback = Count(normal, {0, 0, normal.width, normal.height},
                               [](COLORREF c) { return Near(c, kWindowBackgroundColour); });
  EXPECT_EQ(fallback.matching, 0) << "the window's intact picture is missing: " << Where(fallback);

  for (N button : {N::图形按钮1, N::图形按钮2}) {
    const std::string id = NameOf(button);
    const RECT place = PlaceOf(button);
    const Tally black = Count(normal, place, [](COLORREF c) { return Near(c, kBlack, 12); });
    EXPECT_LT(black.matching, black.total / 20)
        << id << " shows black, not its intact normal picture: " << Where(black);

    const POINT centre = CentreOf(Child(button));
    MoveMouseTo(centre.x, centre.y);
    PumpMessagesFor(100);
    MoveMouseTo(centre.x + 1, centre.y);
    const ScreenPixels hover = Capture();
    EXPECT_EQ(CaptureOfClicker(), Child(button)) << id << " did not see the pointer";

    LeftButton(true);
    const ScreenPixels pressed = Capture();
    EXPECT_EQ(CaptureOfClicker(), Child(button)) << id << " did not see the press";
    // Away before letting go, so the press neither minimizes nor asks to close.
    MoveMouseTo(2, 2);
    PumpMessagesFor(100);
    LeftButton(false);
    PumpMessagesFor(200);

    int hoverDiffers = 0, pressedDiffers = 0;
    const std::string hoverWhere = Differences(hover, normal, place, &hoverDiffers);
    const std::string pressedWhere = Differences(pressed, normal, place, &pressedDiffers);
    if (damaged) {
      EXPECT_EQ(hoverDiffers, 0) << id << " hover vs normal: " << hoverWhere;
      EXPECT_EQ(pressedDiffers, 0) << id << " pressed vs normal: " << pressedWhere;
    } else {
      EXPECT_GT(hoverDiffers, 0) << id << " hover looks like normal";
      EXPECT_GT(pressedDiffers, 0) << id << " pressed looks like normal";
    }
  }
  EXPECT_FALSE(IsIconic(window_)) << "released away from 图形按钮1, yet the window minimized";
  ExpectNoBoxAndAnswering();
}

INSTANTIATE_TEST_SUITE_P(Damages,
                         ButtonStatesTest,
                         ::testing::Values(L"states truncated", L"states flipped", L"intact"),
                         CaseName);

}  // namespace
}  // namespace quorvin::testing
