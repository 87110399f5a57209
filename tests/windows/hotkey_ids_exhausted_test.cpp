#include <gtest/gtest.h>

#include "platform/desktop_services.h"
#include "tests/windows/counting_window.h"

namespace quorvin::testing {
namespace {

// Its own program: it uses up every id this process may ever issue.
TEST(HotkeyIds, PastTheApplicationRangeRegistrationIsRefusedWithoutAskingWindows) {
  CountingWindow window, receiver;
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, 0, VK_F9));  // every call below is refused
  while (LastIssuedHotkeyId() < kLastHotkeyId) {
    const std::int32_t before = LastIssuedHotkeyId();
    ASSERT_EQ(RegisterGlobalHotkey(window.Handle(), receiver.Handle(), 0, VK_F9), 0);
    ASSERT_EQ(LastIssuedHotkeyId(), before == 0 ? kFirstHotkeyId : before + 1);
  }
  EXPECT_EQ(LastIssuedHotkeyId(), 0xBFFF);
  UnregisterHotKey(nullptr, 1);

  // F10 is free, yet refused, and Windows never saw the call: the key stays free.
  EXPECT_EQ(RegisterGlobalHotkey(window.Handle(), receiver.Handle(), 0, VK_F10), 0);
  EXPECT_EQ(LastIssuedHotkeyId(), 0xBFFF);
  EXPECT_TRUE(RegisterHotKey(nullptr, 2, 0, VK_F10));
  UnregisterHotKey(nullptr, 2);
}

}  // namespace
}  // namespace quorvin::testing
