#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/clicker_process.h"

namespace quorvin::testing {
namespace {

TEST(FatalStart, AControlThatCannotBeCreatedShowsTheErrorBoxAndExitsWithMinusOne) {
  ProgramProcess program(ProgramBesideTests(L"quorvin_failing_start.exe"));
  ASSERT_TRUE(program.Started());
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = FindTopLevelOfProcess(program.Id(), L"错误")) != nullptr; },
                        15000))
      << "no error box captioned 错误";
  std::wstring texts;
  for (HWND child : ChildWindowsOf(box)) texts += WindowText(child) + L"|";
  EXPECT_NE(texts.find(L"载入启动窗口失败"), std::wstring::npos);
  EXPECT_EQ(program.FindWindowOfProcess(L"Quorvin鼠标连点器") != nullptr &&
                IsWindowVisible(program.FindWindowOfProcess(L"Quorvin鼠标连点器")),
            false)
      << "the main window must never show";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  const auto code = program.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 4294967295u);
}

}  // namespace
}  // namespace quorvin::testing
