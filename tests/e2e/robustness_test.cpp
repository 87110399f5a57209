#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/desktop_services.h"
#include "tests/e2e/handle_count.h"
#include "tests/e2e/running_clicker.h"
#include "tests/windows/counting_window.h"

namespace quorvin::testing {
namespace {

using N = ControlName;

constexpr int kInterval0_01 = 0, kInterval0_02 = 1, kInterval10 = 17;
constexpr wchar_t kRunning[] = L"正在运行...";
constexpr wchar_t kStopped[] = L"已经停止!!!";

// F7 is the first key the program registers, so its id is the first one issued.
constexpr WPARAM kStartupHotkeyId = kFirstHotkeyId;

struct ResourceCounts {
  DWORD handles = 0;
  int windows = 0;
  DWORD gdiObjects = 0;
  DWORD userObjects = 0;
};

std::string Describe(const ResourceCounts& counts) {
  std::ostringstream text;
  text << "handles " << counts.handles << ", windows " << counts.windows << ", GDI objects "
       << counts.gdiObjects << ", USER objects " << counts.userObjects;
  return text.str();
}

// The clicker, with a window of the test's own under the pointer that counts the clicks.
class RobustnessTest : public ClickerTest {
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

  std::wstring Status() const { return WindowText(Child(N::透明标签4_运行状态)); }
  int LeftDowns() const { return target_->Count(WM_LBUTTONDOWN); }
  int ClicksDuring(DWORD ms) {
    const int before = LeftDowns();
    PumpMessagesFor(ms);
    return LeftDowns() - before;
  }
  void Select(N box, int index) {
    SendMessageW(Child(box), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  bool WaitForStatus(const wchar_t* text, DWORD timeoutMs = 3000) {
    return WaitUntil([&] { return Status() == text; }, timeoutMs);
  }
  bool Answers() const {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) != 0;
  }
  ResourceCounts Resources() const {
    ResourceCounts counts;
    counts.handles = HandleCountOf(process_->Process()).value_or(0);
    counts.windows = WindowCountOf(process_->Id());
    counts.gdiObjects = GetGuiResources(process_->Process(), GR_GDIOBJECTS);
    counts.userObjects = GetGuiResources(process_->Process(), GR_USEROBJECTS);
    return counts;
  }
  // Threads that ended a moment ago keep some handles for a few seconds under Wine; a leaked
  // handle never comes back, so the count is given time to settle.
  ResourceCounts SettledResources(const ResourceCounts& before) {
    ResourceCounts now = Resources();
    WaitUntil([&] { return (now = Resources()).handles <= before.handles + 3; }, 8000);
    return now;
  }
  // Wine counts no GDI or USER objects (it answers 0); where they are counted they must stay
  // flat too.
  void ExpectFlat(const ResourceCounts& before, const ResourceCounts& after) {
    RecordProperty("resources_before", Describe(before));
    RecordProperty("resources_after", Describe(after));
    ASSERT_NE(before.handles, 0u) << "no way to count the clicker's handles";
    EXPECT_LE(after.handles, before.handles + 3)
        << "before: " << Describe(before) << "; after: " << Describe(after);
    EXPECT_EQ(after.windows, before.windows)
        << "before: " << Describe(before) << "; after: " << Describe(after);
    if (before.gdiObjects != 0 || after.gdiObjects != 0) {
      EXPECT_LE(after.gdiObjects, before.gdiObjects + 4)
          << "before: " << Describe(before) << "; after: " << Describe(after);
    }
    if (before.userObjects != 0 || after.userObjects != 0) {
      EXPECT_LE(after.userObjects, before.userObjects + 2)
          << "before: " << Describe(before) << "; after: " << Describe(after);
    }
  }

  // Posts a marker behind whatever was posted to the clicker before: once the interval box
  // shows it, the clicker's thread has handled all of that. The marker moves the interval
  // between 0.01 and 0.02 s, both fast enough that a stray start would click at once.
  bool QueueDrained(DWORD timeoutMs = 30000) {
    marker_ = marker_ == kInterval0_01 ? kInterval0_02 : kInterval0_01;
    PostMessageW(Child(N::组合框_鼠标单机间隔秒), CB_SETCURSEL, static_cast<WPARAM>(marker_), 0);
    return WaitUntil([&] { return Selection(N::组合框_鼠标单机间隔秒) == marker_; }, timeoutMs);
  }

  // One start and stop, the way a user would, checking both took effect.
  void ExpectF7StartsAndStops() {
    target_->Clear();
    PressKey(VK_F7);
    EXPECT_TRUE(WaitForStatus(kRunning)) << "F7 did not start; status length " << Status().size();
    EXPECT_TRUE(WaitUntil([&] { return LeftDowns() >= 3; }, 3000))
        << "clicks after F7: " << LeftDowns();
    PressKey(VK_F7);
    EXPECT_TRUE(WaitForStatus(kStopped)) << "F7 did not stop";
    PumpMessagesFor(300);
    EXPECT_EQ(ClicksDuring(400), 0) << "clicks after the stop";
  }

  std::unique_ptr<CountingWindow> target_;
  int marker_ = kInterval0_01;
};

TEST_F(RobustnessTest, ThousandF7PressesInBurstsLeaveHandlesAndGuiObjectsFlatAndNoClicks) {
  Select(N::组合框_鼠标单机间隔秒, kInterval0_01);
  // One cycle first, so that whatever a first start creates once exists already.
  PressKey(VK_F7);
  ASSERT_TRUE(WaitForStatus(kRunning));
  PressKey(VK_F7);
  ASSERT_TRUE(WaitForStatus(kStopped));
  ASSERT_TRUE(QueueDrained());
  PumpMessagesFor(300);
  const ResourceCounts before = Resources();

  // Ten presses to a SendInput call: the input path takes them as one batch.
  constexpr int kPresses = 1000;
  constexpr int kPressesPerCall = 10;
  std::vector<INPUT> keys(2 * kPressesPerCall);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = VK_F7;
    keys[i].ki.dwFlags = i % 2 == 0 ? 0 : KEYEVENTF_KEYUP;
  }
  UINT taken = 0;
  for (int call = 0; call < kPresses / kPressesPerCall; ++call) {
    taken += SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    if (call % 10 == 9)
      PumpMessagesFor(1);  // the counting window keeps answering
  }
  ASSERT_EQ(taken, static_cast<UINT>(2 * kPresses)) << "key events the system took";

  ASSERT_TRUE(QueueDrained()) << "the clicker did not get through the presses in 30 s";
  EXPECT_TRUE(WaitForStatus(kStopped, 10000))
      << "after " << kPresses << " presses; status length " << Status().size();
  PumpMessagesFor(500);
  EXPECT_TRUE(StillRunning());
  EXPECT_TRUE(Answers()) << "the window stopped answering";
  EXPECT_EQ(Status(), kStopped) << "the status changed again after settling";
  EXPECT_EQ(ClicksDuring(500), 0) << "still clicking after an even number of presses";
  for (N box : {N::组合框_热键设置, N::组合框_鼠标点击类型, N::组合框_鼠标单机间隔秒})
    EXPECT_TRUE(IsWindowEnabled(Child(box))) << "box " << ControlId(box) << " left locked";
  ExpectFlat(before, SettledResources(before));

  ExpectF7StartsAndStops();
}

TEST_F(RobustnessTest, FloodOfForeignHotkeyMessagesTogglesNothingAndTheHotkeyStillWorks) {
  Select(N::组合框_鼠标单机间隔秒, kInterval0_01);
  HWND label1 = Child(N::标签1);
  ASSERT_NE(label1, nullptr);

  // Ids the program never issued: around and beyond its range, the system's own (-1, -2),
  // and on 64-bit one whose low 32 bits are the registered id.
  std::vector<WPARAM> foreignIds{0,
                                 1,
                                 kStartupHotkeyId - 1,
                                 kStartupHotkeyId + 1,
                                 kStartupHotkeyId + 100,
                                 static_cast<WPARAM>(kLastHotkeyId),
                                 0xC000,
                                 static_cast<WPARAM>(-1),
                                 static_cast<WPARAM>(-2)};
  if (sizeof(WPARAM) > 4)
    foreignIds.push_back(static_cast<WPARAM>((1ULL << 32) + kStartupHotkeyId));
  const LPARAM hotkeyLParams[] = {0, MAKELPARAM(0, VK_F7), MAKELPARAM(0, VK_F8),
                                  MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F7), -1};
  const WPARAM notifyWParams[] = {kStartupHotkeyId, 0, kStartupHotkeyId - 1,
                                  static_cast<WPARAM>(-1)};
  const LPARAM notifyLParams[] = {0, 1, -1};

  // The notification belongs to 标签1 alone: the main window (where the keys are registered)
  // and every other control must ignore it.
  std::vector<HWND> notOurReceiver{window_};
  for (HWND child : ChildWindowsOf(window_))
    if (child != label1)
      notOurReceiver.push_back(child);

  int posted = 0;
  for (int round = 0; round < 12; ++round) {
    for (int repeat = 0; repeat < 5; ++repeat)
      for (WPARAM id : foreignIds)
        for (LPARAM lParam : hotkeyLParams)
          posted += PostMessageW(window_, WM_HOTKEY, id, lParam) ? 1 : 0;
    for (HWND hwnd : notOurReceiver)
      for (WPARAM wParam : notifyWParams)
        for (LPARAM lParam : notifyLParams)
          posted += PostMessageW(hwnd, kHotkeyNotify, wParam, lParam) ? 1 : 0;
    ASSERT_TRUE(QueueDrained()) << "round " << round;
  }
  EXPECT_GT(posted, 4000);
  PumpMessagesFor(300);
  ASSERT_TRUE(StillRunning());
  EXPECT_TRUE(Answers()) << "the window stopped answering after " << posted << " messages";
  EXPECT_EQ(Status(), L"") << "a foreign message toggled; status length " << Status().size();
  EXPECT_EQ(LeftDowns(), 0) << "clicks after foreign messages";
  EXPECT_TRUE(IsWindowEnabled(Child(N::组合框_鼠标单机间隔秒)));

  // The same road with the registered id does toggle, so the silence above was not the
  // messages getting lost.
  PostMessageW(window_, WM_HOTKEY, kStartupHotkeyId, MAKELPARAM(0, VK_F7));
  EXPECT_TRUE(WaitForStatus(kRunning)) << "WM_HOTKEY with the registered id";
  EXPECT_TRUE(WaitUntil([&] { return LeftDowns() >= 3; }, 3000)) << "clicks: " << LeftDowns();
  PostMessageW(window_, WM_HOTKEY, kStartupHotkeyId, MAKELPARAM(0, VK_F7));
  EXPECT_TRUE(WaitForStatus(kStopped));
  ASSERT_TRUE(QueueDrained());
  PumpMessagesFor(300);
  const ResourceCounts before = Resources();

  // The notification itself, posted to 标签1 by anyone, is indistinguishable from a press:
  // each one toggles, whatever its parameters, so an even number ends stopped. Foreign
  // WM_HOTKEYs come in between.
  constexpr int kNotifications = 1000;
  for (int i = 0; i < kNotifications; ++i) {
    PostMessageW(label1, kHotkeyNotify, notifyWParams[i % std::size(notifyWParams)],
                 notifyLParams[i % std::size(notifyLParams)]);
    PostMessageW(window_, WM_HOTKEY, foreignIds[i % foreignIds.size()],
                 hotkeyLParams[i % std::size(hotkeyLParams)]);
    if (i % 250 == 249) {
      ASSERT_TRUE(QueueDrained()) << "after " << i + 1 << " notifications";
    }
  }
  EXPECT_TRUE(WaitForStatus(kStopped)) << "after " << kNotifications << " notifications";
  PumpMessagesFor(300);
  EXPECT_TRUE(StillRunning());
  EXPECT_TRUE(Answers());
  EXPECT_EQ(ClicksDuring(500), 0) << "still clicking after an even number of notifications";
  ExpectFlat(before, SettledResources(before));

  PostMessageW(label1, kHotkeyNotify, 0, -1);
  EXPECT_TRUE(WaitForStatus(kRunning)) << "one more notification";
  PostMessageW(label1, kHotkeyNotify, 0, -1);
  EXPECT_TRUE(WaitForStatus(kStopped)) << "and one more";
  PumpMessagesFor(300);

  ExpectF7StartsAndStops();
}

// A key registered by the test's own thread, as another program holds it.
class HeldKey {
 public:
  HeldKey(int id, UINT key) : id_(id), held_(RegisterHotKey(nullptr, id, 0, key) != FALSE) {}
  ~HeldKey() {
    if (held_)
      UnregisterHotKey(nullptr, id_);
  }
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;
  bool Held() const { return held_; }

 private:
  int id_;
  bool held_;
};

constexpr int kHeldF7Id = 7;
constexpr int kHeldF8Id = 8;

enum class Heard { kNobody, kClicker, kOtherProgram };

const char* NameOf(Heard heard) {
  switch (heard) {
    case Heard::kNobody:
      return "nobody";
    case Heard::kClicker:
      return "the clicker";
    case Heard::kOtherProgram:
      return "the other program";
  }
  return "?";
}

// The clicker while another program (this test) holds or takes F7 and F8.
class HotkeyTakenTest : public ClickerTest {
 protected:
  void SetUp() override {
    ClickerTest::SetUp();
    if (HasFatalFailure())
      return;
    // A start with the longest interval clicks once; it lands on a window of the test's own.
    SendMessageW(Child(N::组合框_鼠标单机间隔秒), CB_SETCURSEL, kInterval10, 0);
    target_ = std::make_unique<CountingWindow>(true, RECT{20, 20, 200, 150});
    RestPointer();
    windowsAtStart_ = VisibleTopLevelWindows(process_->Id());
  }
  void TearDown() override {
    ClickerTest::TearDown();
    target_.reset();
  }

  void RestPointer() {
    MoveMouseTo(100, 80);
    PumpMessagesFor(100);
  }
  std::wstring Status() const { return WindowText(Child(N::透明标签4_运行状态)); }

  // Who hears a press of the key: the clicker (it toggles, and is put back as it was), the
  // thread of this test through its own registration, or nobody.
  Heard Press(WORD key) {
    const std::wstring before = Status();
    PressKey(key);
    const ULONGLONG end = GetTickCount64() + 1500;
    Heard heard = Heard::kNobody;
    while (heard == Heard::kNobody && GetTickCount64() < end) {
      MSG message;
      // Only WM_HOTKEY is taken from the queue here: a pump would swallow the thread's own.
      while (PeekMessageW(&message, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE))
        if (message.hwnd == nullptr)
          heard = Heard::kOtherProgram;
      if (heard == Heard::kNobody && Status() != before && !Status().empty())
        heard = Heard::kClicker;
      if (heard == Heard::kNobody)
        Sleep(10);
    }
    if (heard == Heard::kClicker) {
      const std::wstring now = Status();
      PressKey(key);
      WaitUntil([&] { return Status() != now; }, 1500);
    }
    PumpMessagesFor(100);
    return heard;
  }

  // Chooses an item the way a user does: a click opens the list, the arrow keys move to the
  // item, Enter confirms. `whileOpen` runs with the list open, before the choice is made.
  void Choose(int item, const std::function<void()>& whileOpen = {}) {
    HWND box = Child(N::组合框_热键设置);
    const POINT at = CentreOf(box);
    PumpMessagesFor(GetDoubleClickTime() + 100);  // not a double-click with the last click
    MoveMouseTo(at.x, at.y);
    PumpMessagesFor(100);
    LeftButton(true);
    LeftButton(false);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3000))
        << "the list of 组合框_热键设置 did not open";
    if (whileOpen)
      whileOpen();
    const int current = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
    for (int i = current; i < item; ++i)
      PressKey(VK_DOWN);
    for (int i = current; i > item; --i)
      PressKey(VK_UP);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) == 0; }, 3000));
    PumpMessagesFor(300);
    ASSERT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), item) << "组合框_热键设置 selection";
    RestPointer();
  }

  // Nothing is reported: no box of any kind, the program running and answering.
  void ExpectQuietAndAnswering(const char* after) {
    PumpMessagesFor(500);
    EXPECT_TRUE(StillRunning()) << after;
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0)
        << "the window stopped answering " << after;
    EXPECT_EQ(VisibleTopLevelWindows(process_->Id()), windowsAtStart_)
        << "a new window of the clicker " << after;
    EXPECT_EQ(FindTopLevelOfProcess(process_->Id(), L"错误"), nullptr) << after;
  }

  void ExpectHeard(WORD key, Heard want, const char* context) {
    const Heard heard = Press(key);
    EXPECT_EQ(heard, want) << (key == VK_F7 ? "F7 " : "F8 ") << context << ": heard by "
                           << NameOf(heard) << ", want " << NameOf(want);
  }

  std::unique_ptr<CountingWindow> target_;
  int windowsAtStart_ = 0;
};

TEST_F(HotkeyTakenTest, F8TakenWhileTheListIsOpenIsChosenSilentlyAndF7CanBeChosenBack) {
  ASSERT_EQ(windowsAtStart_, 1);
  ExpectHeard(VK_F7, Heard::kClicker, "at start-up");
  std::optional<HeldKey> f8;
  Choose(1, [&] {
    f8.emplace(kHeldF8Id, VK_F8);
    ASSERT_TRUE(f8->Held()) << "the test needs F8 for itself";
  });
  if (HasFatalFailure())
    return;
  ExpectQuietAndAnswering("after choosing the taken F8");
  ExpectHeard(VK_F8, Heard::kOtherProgram, "held elsewhere, chosen");
  ExpectHeard(VK_F7, Heard::kNobody, "given up for F8");

  Choose(0);
  ExpectQuietAndAnswering("after choosing F7 again");
  ExpectHeard(VK_F7, Heard::kClicker, "chosen again");
  ExpectHeard(VK_F8, Heard::kOtherProgram, "still held elsewhere");

  // Once the other program lets go, F8 works as soon as the user chooses it.
  f8.reset();
  ExpectHeard(VK_F8, Heard::kNobody, "let go, not chosen");
  Choose(1);
  ExpectQuietAndAnswering("after choosing the freed F8");
  ExpectHeard(VK_F8, Heard::kClicker, "freed and chosen");
  ExpectHeard(VK_F7, Heard::kNobody, "given up for F8");
}

// Both keys held by another program before the clicker starts.
class BothKeysTakenAtStartUpTest : public HotkeyTakenTest {
 protected:
  void SetUp() override {
    f7_.emplace(kHeldF7Id, VK_F7);
    f8_.emplace(kHeldF8Id, VK_F8);
    ASSERT_TRUE(f7_->Held() && f8_->Held()) << "the test needs F7 and F8 for itself";
    HotkeyTakenTest::SetUp();
  }
  void TearDown() override {
    HotkeyTakenTest::TearDown();
    f7_.reset();
    f8_.reset();
  }

  std::optional<HeldKey> f7_;
  std::optional<HeldKey> f8_;
};

TEST_F(BothKeysTakenAtStartUpTest, NeitherKeyWorksNothingIsReportedAndF7WorksOnceFreedAndChosen) {
  EXPECT_EQ(windowsAtStart_, 1) << "visible windows of the clicker at start-up";
  ExpectQuietAndAnswering("at start-up");
  ExpectHeard(VK_F7, Heard::kOtherProgram, "held since before start-up");
  ExpectHeard(VK_F8, Heard::kOtherProgram, "held since before start-up");
  EXPECT_EQ(Status(), L"");

  Choose(1);
  ExpectQuietAndAnswering("after choosing the taken F8");
  ExpectHeard(VK_F8, Heard::kOtherProgram, "held, chosen");

  // F7 let go: the refused start-up registration is not tried again by itself.
  f7_.reset();
  ExpectHeard(VK_F7, Heard::kNobody, "let go, not chosen");
  Choose(0);
  ExpectQuietAndAnswering("after choosing the freed F7");
  ExpectHeard(VK_F7, Heard::kClicker, "freed and chosen");
  ExpectHeard(VK_F8, Heard::kOtherProgram, "still held");
}

}  // namespace
}  // namespace quorvin::testing
