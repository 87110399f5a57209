#include <gtest/gtest.h>

#include "tests/e2e/clicker_process.h"

namespace quorvin::testing {
namespace {

constexpr wchar_t kTitle[] = L"Quorvin鼠标连点器";

TEST(Startup, WindowIsFramelessCentredAndClosesWithExitCodeZero) {
  ProgramProcess clicker(ProgramBesideTests(L"QuorvinClicker.exe"));
  ASSERT_TRUE(clicker.Started());
  HWND window = clicker.WaitForWindow(kTitle);
  ASSERT_NE(window, nullptr) << "no visible window titled Quorvin鼠标连点器";

  RECT rect{};
  ASSERT_TRUE(GetWindowRect(window, &rect));
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(rect.right - rect.left, 391);
  EXPECT_EQ(rect.bottom - rect.top, 239);
  EXPECT_EQ(rect.left, (screenWidth - 391) / 2) << "screen " << screenWidth << "x" << screenHeight;
  EXPECT_EQ(rect.top, (screenHeight - 239) / 2) << "screen " << screenWidth << "x" << screenHeight;
  if (screenWidth == 1024 && screenHeight == 768) {
    EXPECT_EQ(rect.left, 316);
    EXPECT_EQ(rect.top, 264);
  }

  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, 0) << "style " << std::hex << style;
  EXPECT_EQ(style & WS_THICKFRAME, 0) << "style " << std::hex << style;
  EXPECT_EQ(style & WS_SYSMENU, 0) << "style " << std::hex << style;
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0) << "style " << std::hex << style;
  EXPECT_NE(style & WS_MINIMIZEBOX, 0) << "style " << std::hex << style;
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 391);
  EXPECT_EQ(client.bottom, 239);

  ASSERT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0));
  const auto exitCode = clicker.WaitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "still running after WM_CLOSE";
  EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
}  // namespace quorvin::testing
