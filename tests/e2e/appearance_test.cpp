#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/pixel_tally.h"
#include "tests/e2e/running_clicker.h"
#include "tests/windows/counting_window.h"
#include "tools/capture/capture.h"

namespace quorvin::testing {
namespace {

using N = ControlName;
using capture::ScreenPixels;

// The pictures are JPEG: their colours come back a few steps off.
constexpr int kTolerance = 12;

constexpr COLORREF kFlatGreen = RGB(79, 185, 111);
constexpr COLORREF kEdgeGreen = RGB(95, 212, 131);
constexpr COLORREF kPanelYellow = RGB(232, 232, 0);
constexpr COLORREF kPictureBoxBackground = RGB(128, 224, 0);
constexpr COLORREF kStatusPink = RGB(255, 80, 128);
constexpr COLORREF kMinimizeBar = RGB(30, 100, 47);
constexpr COLORREF kMinimizeBarLit = RGB(50, 139, 76);

bool Near(COLORREF colour, COLORREF want, int tolerance = kTolerance) {
  return std::abs(GetRValue(colour) - GetRValue(want)) <= tolerance &&
         std::abs(GetGValue(colour) - GetGValue(want)) <= tolerance &&
         std::abs(GetBValue(colour) - GetBValue(want)) <= tolerance;
}
bool Dark(COLORREF colour) {
  return GetRValue(colour) < 70 && GetGValue(colour) < 70 && GetBValue(colour) < 70;
}
bool WhiteIsh(COLORREF colour) {
  return GetRValue(colour) > 200 && GetGValue(colour) > 200 && GetBValue(colour) > 200;
}
// Anti-aliased glyph edges: the green behind blended towards black, never brighter.
bool GreenOrDarker(COLORREF colour) {
  return GetRValue(colour) <= GetRValue(kFlatGreen) + kTolerance &&
         GetGValue(colour) <= GetGValue(kFlatGreen) + kTolerance &&
         GetBValue(colour) <= GetBValue(kFlatGreen) + kTolerance &&
         GetGValue(colour) >= GetRValue(colour) && GetGValue(colour) >= GetBValue(colour);
}

std::vector<POINT> PinkPoints(const ScreenPixels& pixels, const RECT& area) {
  std::vector<POINT> points;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (Near(pixels.At(x, y), kStatusPink)) points.push_back({x, y});
  return points;
}

bool SamePoints(const std::vector<POINT>& a, const std::vector<POINT>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
  return true;
}

class AppearanceTest : public ClickerTest {
 protected:
  void SetUp() override {
    ClickerTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(ScreenRect(window_).right - ScreenRect(window_).left, 391);
    // The pointer away from the window: a hover would change what is drawn.
    MoveMouseTo(2, 2);
    PumpMessagesFor(100);
  }
  void TearDown() override {
    MoveMouseTo(2, 2);
    ClickerTest::TearDown();
  }

  // What the window shows once it has painted everything it was asked to.
  ScreenPixels Capture() {
    PumpMessagesFor(300);
    return capture::CaptureWindow(window_);
  }
  ScreenPixels CaptureAfterFullRepaint() {
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return Capture();
  }
  std::wstring Status() const { return WindowText(Child(N::透明标签4_运行状态)); }

  // Beside the test executable, in build/…/screenshots, for a person to look at.
  static void SaveScreenshot(const ScreenPixels& pixels, const wchar_t* fileName) {
    const std::wstring directory = ProgramBesideTests(L"..\\screenshots");
    CreateDirectoryW(directory.c_str(), nullptr);
    const std::wstring path = directory + L"\\" + fileName;
    const int size = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    EXPECT_TRUE(capture::SavePng(pixels, narrow)) << narrow;
  }
};

TEST_F(AppearanceTest, BackgroundIsTheFramePictureNeverTheFallbackColour) {
  const ScreenPixels pixels = Capture();
  ASSERT_EQ(pixels.width, 391);
  ASSERT_EQ(pixels.height, 239);
  SaveScreenshot(pixels, L"startup.png");

  const Tally fallback = Count(pixels, {0, 0, pixels.width, pixels.height},
                               [](COLORREF c) { return Near(c, kWindowBackgroundColour); });
  EXPECT_EQ(fallback.matching, 0) << "window background RGB(0,224,128) shows at some pixels";

  struct Point {
    const char* where;
    int x, y;
    COLORREF want;
  };
  const Point points[] = {
      {"free surface below the options", 180, 145, kFlatGreen},
      {"free surface at the right", 385, 120, kFlatGreen},
      {"left edge band", 1, 120, kEdgeGreen},
      {"right edge band", 389, 120, kEdgeGreen},
      {"bottom edge band", 200, 237, kEdgeGreen},
  };
  for (const Point& point : points) {
    const COLORREF colour = pixels.At(point.x, point.y);
    EXPECT_TRUE(Near(colour, point.want))
        << "window " << point.where << " (" << point.x << "," << point.y << "): "
        << Describe(colour) << ", want about " << Describe(point.want);
  }
}

TEST_F(AppearanceTest, PanelIsYellowWithTheUsageNotesInBlack) {
  const ScreenPixels pixels = Capture();
  const Tally yellow =
      Count(pixels, PlaceOf(N::标签2), [](COLORREF c) { return Near(c, kPanelYellow); });
  EXPECT_GT(yellow.matching, yellow.total * 8 / 10) << "标签2 yellow pixels: " << Where(yellow);

  for (N note : {N::透明标签4, N::透明标签6, N::透明标签5}) {
    const Tally text = Count(pixels, PlaceOf(note), Dark);
    EXPECT_GT(text.matching, 20) << NameOf(note) << " dark text pixels: " << text.matching;
    const Tally rest = Count(pixels, PlaceOf(note), [](COLORREF c) {
      return Dark(c) || Near(c, kPanelYellow) ||
             (GetRValue(c) == GetGValue(c) && GetBValue(c) < GetRValue(c));  // text edges
    });
    EXPECT_EQ(rest.matching, rest.total) << NameOf(note) << " yellow or black: " << Where(rest);
  }
}

TEST_F(AppearanceTest, SecondsLabelIsWindowGreenBehindItsGlyph) {
  const ScreenPixels pixels = Capture();
  const RECT place = PlaceOf(N::标签1);
  const Tally glyph = Count(pixels, place, Dark);
  EXPECT_GT(glyph.matching, 8) << "标签1 dark pixels of 秒: " << glyph.matching;
  const Tally green = Count(pixels, place, [](COLORREF c) { return Near(c, kFlatGreen); });
  EXPECT_GT(green.matching, green.total / 2) << "标签1 window-green pixels: " << Where(green);
  const Tally greenOrGlyph = Count(pixels, place, GreenOrDarker);
  EXPECT_EQ(greenOrGlyph.matching, greenOrGlyph.total)
      << "标签1 pixels neither green nor glyph: " << Where(greenOrGlyph);
}

TEST_F(AppearanceTest, PictureBoxShowsTheMouseOverItsWholeArea) {
  const ScreenPixels pixels = Capture();
  const RECT place = PlaceOf(N::图片框1);
  const Tally background =
      Count(pixels, place, [](COLORREF c) { return Near(c, kPictureBoxBackground); });
  EXPECT_EQ(background.matching, 0) << "图片框1 background RGB(128,224,0) shows";
  const Tally mouse = Count(pixels, place, WhiteIsh);
  EXPECT_GT(mouse.matching, 20) << "图片框1 white pixels of the mouse: " << mouse.matching;
}

TEST_F(AppearanceTest, CaptionsAreLegibleWhiteText) {
  const ScreenPixels pixels = Capture();
  for (N caption : {N::透明标签1, N::透明标签2, N::透明标签3, N::透明标签7}) {
    const Tally white = Count(pixels, PlaceOf(caption), WhiteIsh);
    EXPECT_GT(white.matching, 20) << NameOf(caption) << " white text pixels: " << white.matching;
  }
}

TEST_F(AppearanceTest, StatusTextAppearsInPinkAndIsRedrawnCleanlyOnStop) {
  // Clicks land on a window of the test's own, not on the clicker or the desktop.
  CountingWindow target(true, RECT{20, 20, 200, 150});
  MoveMouseTo(100, 80);
  PumpMessagesFor(100);

  const RECT status = PlaceOf(N::透明标签4_运行状态);
  const RECT edit = PlaceOf(N::编辑框1);
  auto uncovered = [&](const ScreenPixels& pixels) {
    // The edit box lies over the rectangle's top rows.
    Tally tally;
    for (int y = status.top; y < status.bottom; ++y)
      for (int x = status.left; x < status.right; ++x) {
        if (y < edit.bottom && x >= edit.left) continue;
        ++tally.total;
        const COLORREF colour = pixels.At(x, y);
        if (Near(colour, kFlatGreen)) {
          ++tally.matching;
        } else if (tally.firstOther.x < 0) {
          tally.firstOther = {x, y};
          tally.firstOtherColour = colour;
        }
      }
    return tally;
  };
  const ScreenPixels atStart = Capture();
  const Tally empty = uncovered(atStart);
  EXPECT_EQ(empty.matching, empty.total) << "透明标签4_运行状态 at start, green: " << Where(empty);

  PressKey(VK_F7);
  ASSERT_TRUE(WaitUntil([&] { return Status() == L"正在运行..."; }, 3000))
      << "透明标签4_运行状态 text length " << Status().size();
  const ScreenPixels running = Capture();
  SaveScreenshot(running, L"running.png");
  const std::vector<POINT> runningPink = PinkPoints(running, status);
  EXPECT_GT(runningPink.size(), 50u) << "透明标签4_运行状态 pink pixels while running";

  PressKey(VK_F7);
  ASSERT_TRUE(WaitUntil([&] { return Status() == L"已经停止!!!"; }, 3000))
      << "透明标签4_运行状态 text length " << Status().size();
  const ScreenPixels stopped = Capture();
  const std::vector<POINT> stoppedPink = PinkPoints(stopped, status);
  EXPECT_GT(stoppedPink.size(), 50u) << "透明标签4_运行状态 pink pixels once stopped";
  EXPECT_FALSE(SamePoints(runningPink, stoppedPink))
      << "透明标签4_运行状态 still shows the running text's pixels";

  const ScreenPixels repainted = CaptureAfterFullRepaint();
  int differing = 0;
  POINT first{-1, -1};
  for (int y = status.top; y < status.bottom; ++y)
    for (int x = status.left; x < status.right; ++x)
      if (stopped.At(x, y) != repainted.At(x, y)) {
        if (differing++ == 0) first = {x, y};
      }
  EXPECT_EQ(differing, 0) << "透明标签4_运行状态 differs from a fresh paint, first at (" << first.x
                          << "," << first.y << ") " << Describe(stopped.At(first.x, first.y))
                          << " vs " << Describe(repainted.At(first.x, first.y));
}

TEST_F(AppearanceTest, MinimizeBarLightsUnderThePointerAndSinksWhenPressed) {
  const RECT button = PlaceOf(N::图形按钮1);
  // The bar of the picture, in window coordinates.
  const RECT bar{button.left + 14, button.top + 9, button.left + 32, button.top + 12};
  const RECT sunkBar{bar.left, bar.top + 2, bar.right, bar.bottom + 2};
  const RECT aboveSunkBar{bar.left, bar.top, bar.right, bar.top + 1};
  auto closeTo = [](COLORREF want) { return [want](COLORREF c) { return Near(c, want); }; };

  const Tally normal = Count(Capture(), bar, closeTo(kMinimizeBar));
  EXPECT_EQ(normal.matching, normal.total) << "图形按钮1 bar, normal: " << Where(normal);

  const RECT screen = ScreenRect(Child(N::图形按钮1));
  MoveMouseTo((screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2);
  PumpMessagesFor(100);
  MoveMouseTo((screen.left + screen.right) / 2 + 1, (screen.top + screen.bottom) / 2);
  const Tally hover = Count(Capture(), bar, closeTo(kMinimizeBarLit));
  EXPECT_EQ(hover.matching, hover.total) << "图形按钮1 bar, pointer over it: " << Where(hover);

  LeftButton(true);
  const ScreenPixels held = Capture();
  // Away before letting go, so the press does not minimize the window.
  MoveMouseTo(2, 2);
  PumpMessagesFor(100);
  LeftButton(false);
  PumpMessagesFor(100);
  EXPECT_FALSE(IsIconic(window_)) << "released away from 图形按钮1, yet the window minimized";

  const Tally sunk = Count(held, sunkBar, closeTo(kMinimizeBarLit));
  EXPECT_EQ(sunk.matching, sunk.total) << "图形按钮1 bar, pressed: " << Where(sunk);
  const Tally vacated = Count(held, aboveSunkBar, closeTo(kFlatGreen));
  EXPECT_EQ(vacated.matching, vacated.total)
      << "图形按钮1 row above the pressed bar: " << Where(vacated);

  const Tally released = Count(Capture(), bar, closeTo(kMinimizeBar));
  EXPECT_EQ(released.matching, released.total)
      << "图形按钮1 bar, pointer gone: " << Where(released);
}

}  // namespace
}  // namespace quorvin::testing
