#include <gtest/gtest.h>

#include "platform/desktop_services.h"
#include "platform/event_gate.h"
#include "tests/windows/counting_window.h"
#include "ui/label.h"

namespace quorvin::testing {
namespace {

// Keys the tests can take without meeting the program or the desktop.
constexpr int kKeyA = VK_F9;
constexpr int kKeyB = VK_F10;

std::int32_t RegisterOn(const CountingWindow& window, const CountingWindow& receiver, int key,
                        int modifiers = 0) {
  return RegisterGlobalHotkey(window.Handle(), receiver.Handle(), modifiers, key);
}

TEST(Hotkeys, IdsGrowByOnePerCallRefusedCallsIncluded) {
  CountingWindow window, receiver;
  const std::int32_t before = LastIssuedHotkeyId();
  const std::int32_t first = RegisterOn(window, receiver, kKeyA);
  const std::int32_t refused = RegisterOn(window, receiver, kKeyA);  // the key is taken
  const std::int32_t third = RegisterOn(window, receiver, kKeyB);
  EXPECT_EQ(first, before == 0 ? kFirstHotkeyId : before + 1);
  if (before == 0) {
    EXPECT_EQ(first, 33001);
    EXPECT_EQ(third, 33003);
  }
  EXPECT_EQ(refused, 0);
  EXPECT_EQ(third, first + 2);
  EXPECT_EQ(LastIssuedHotkeyId(), third);
  UnregisterGlobalHotkey(window.Handle(), first);
  UnregisterGlobalHotkey(window.Handle(), third);
}

TEST(Hotkeys, UnregisteredKeyCanBeTakenAgainAndUnknownIdsChangeNothing) {
  CountingWindow window, receiver;
  const std::int32_t id = RegisterOn(window, receiver, kKeyA);
  ASSERT_NE(id, 0);
  UnregisterGlobalHotkey(window.Handle(), 0);
  UnregisterGlobalHotkey(window.Handle(), 33000);
  UnregisterGlobalHotkey(window.Handle(), LastIssuedHotkeyId() + 5);
  EXPECT_FALSE(RegisterHotKey(nullptr, 1, 0, kKeyA)) << "F9 should still be ours";
  UnregisterGlobalHotkey(window.Handle(), id);
  UnregisterGlobalHotkey(window.Handle(), id);  // twice: nothing more
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, 0, kKeyA)) << "F9 should be free after unregistering";
  UnregisterHotKey(nullptr, 1);
}

TEST(Hotkeys, EveryPressNotifiesTheLatestReceiver) {
  CountingWindow window, receiverA, receiverB;
  receiverB.answer = 42;
  const std::int32_t idA = RegisterOn(window, receiverA, kKeyA);
  const std::int32_t idB = RegisterOn(window, receiverB, kKeyB);
  ASSERT_NE(idA, 0);
  ASSERT_NE(idB, 0);

  PostMessageW(window.Handle(), WM_HOTKEY, static_cast<WPARAM>(idA), 0);
  PumpMessagesFor(50);
  EXPECT_EQ(receiverA.Count(kHotkeyNotify), 0);
  EXPECT_EQ(receiverB.Count(kHotkeyNotify), 1);
  EXPECT_EQ(receiverB.LastWParam(kHotkeyNotify), static_cast<WPARAM>(idA));
  EXPECT_EQ(window.Count(WM_HOTKEY), 1) << "the window still processes WM_HOTKEY";
  UnregisterGlobalHotkey(window.Handle(), idA);
  UnregisterGlobalHotkey(window.Handle(), idB);
}

TEST(Hotkeys, ForeignIdsReachOnlyTheWindowsOwnProcessing) {
  CountingWindow window, receiver;
  const std::int32_t id = RegisterOn(window, receiver, kKeyA);
  ASSERT_NE(id, 0);
  for (WPARAM foreign : {WPARAM{33000}, static_cast<WPARAM>(LastIssuedHotkeyId() + 1), WPARAM{0},
                         WPARAM{1}, static_cast<WPARAM>(-1)}) {
    receiver.Clear();
    window.Clear();
    PostMessageW(window.Handle(), WM_HOTKEY, foreign, 0);
    PumpMessagesFor(30);
    EXPECT_EQ(receiver.Count(kHotkeyNotify), 0) << "id " << foreign;
    EXPECT_EQ(window.Count(WM_HOTKEY), 1) << "id " << foreign;
  }
  UnregisterGlobalHotkey(window.Handle(), id);
}

TEST(Hotkeys, ModifierCodesTranslateToPlatformFlags) {
  struct Case {
    int code;
    UINT flags;
  };
  const Case cases[] = {{1, MOD_CONTROL},           {2, MOD_SHIFT},
                        {3, MOD_CONTROL | MOD_SHIFT}, {4, MOD_ALT},
                        {5, MOD_CONTROL | MOD_ALT}, {6, MOD_SHIFT | MOD_ALT}};
  CountingWindow window, receiver;
  for (const Case& c : cases) {
    const std::int32_t id = RegisterOn(window, receiver, kKeyA, c.code);
    ASSERT_NE(id, 0) << "code " << c.code;
    // The same combination is now taken; the key alone is not.
    EXPECT_FALSE(RegisterHotKey(nullptr, 7, c.flags, kKeyA)) << "code " << c.code;
    EXPECT_TRUE(RegisterHotKey(nullptr, 8, 0, kKeyA)) << "code " << c.code;
    UnregisterHotKey(nullptr, 7);
    UnregisterHotKey(nullptr, 8);
    UnregisterGlobalHotkey(window.Handle(), id);
  }
}

TEST(Hotkeys, InjectedKeyPressRaisesTheLabelsFeedbackEvent) {
  CountingWindow window;
  Label label;
  ASSERT_TRUE(label.Create(window.Handle(), RecordOf(ControlName::标签1)));
  int raised = 0;
  WPARAM seenId = 0;
  label.OnFeedback([&](WPARAM id, LPARAM) -> LRESULT {
    ++raised;
    seenId = id;
    return 7;
  });
  OpenEvents();
  const std::int32_t id = RegisterGlobalHotkey(window.Handle(), label.Handle(), 0, kKeyB);
  ASSERT_NE(id, 0);

  INPUT keys[2]{};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = static_cast<WORD>(kKeyB);
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
  const ULONGLONG end = GetTickCount64() + 3000;
  while (raised == 0 && GetTickCount64() < end) PumpMessagesFor(20);
  EXPECT_EQ(raised, 1);
  EXPECT_EQ(seenId, static_cast<WPARAM>(id));
  EXPECT_EQ(SendMessageW(label.Handle(), kHotkeyNotify, static_cast<WPARAM>(id), 0), 7)
      << "the handler's result is the message's result";
  UnregisterGlobalHotkey(window.Handle(), id);
}

}  // namespace
}  // namespace quorvin::testing
