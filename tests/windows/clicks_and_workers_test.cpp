#include <gtest/gtest.h>

#include <atomic>

#include "platform/desktop_services.h"
#include "tests/e2e/handle_count.h"
#include "tests/windows/counting_window.h"

namespace quorvin::testing {
namespace {

struct Buttons {
  int leftDown, leftUp, rightDown, rightUp;
};

Buttons CountButtons(const CountingWindow& target) {
  return {target.Count(WM_LBUTTONDOWN), target.Count(WM_LBUTTONUP), target.Count(WM_RBUTTONDOWN),
          target.Count(WM_RBUTTONUP)};
}

// A visible target under the pointer; its class asks for no double-clicks, so every press
// counts as a press.
class ClickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PumpMessagesFor(100);
    target_.Clear();
  }
  CountingWindow target_{true, RECT{200, 200, 400, 350}};
};

TEST_F(ClickTest, EachKindGivesExactlyItsButtonEventsWhereThePointerIsPut) {
  struct Case {
    int kind;
    Buttons expected;
  };
  const Case cases[] = {{kLeftClick, {1, 1, 0, 0}},      {kLeftDoubleClick, {2, 2, 0, 0}},
                        {kRightClick, {0, 0, 1, 1}},     {kRightDoubleClick, {0, 0, 2, 2}},
                        {7, {1, 1, 0, 0}},               {-1, {1, 1, 0, 0}}};
  for (const Case& c : cases) {
    SetCursorPos(10, 10);  // elsewhere: the click must put the pointer on the target itself
    target_.Clear();
    SynthesizeClick(300, 280, c.kind);
    PumpMessagesFor(150);
    const Buttons got = CountButtons(target_);
    EXPECT_EQ(got.leftDown, c.expected.leftDown) << "kind " << c.kind;
    EXPECT_EQ(got.leftUp, c.expected.leftUp) << "kind " << c.kind;
    EXPECT_EQ(got.rightDown, c.expected.rightDown) << "kind " << c.kind;
    EXPECT_EQ(got.rightUp, c.expected.rightUp) << "kind " << c.kind;
    EXPECT_EQ(CursorX(), 300) << "kind " << c.kind;
    EXPECT_EQ(CursorY(), 280) << "kind " << c.kind;
  }
}

TEST(Threads, StartThreadStoresTheHandleOnlyWhenAsked) {
  static std::atomic<int> runs{0};
  runs = 0;
  ThreadHandle handle;
  ASSERT_TRUE(StartThread([](void*) { ++runs; }, nullptr, &handle));
  ASSERT_TRUE(handle);
  EXPECT_EQ(WaitForSingleObject(handle.Native(), 5000), WAIT_OBJECT_0);

  const auto before = HandleCountOf(GetCurrentProcess());
  ASSERT_TRUE(before.has_value());
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(StartThread([](void*) { ++runs; }));
  for (int i = 0; i < 500 && runs < 51; ++i) Sleep(10);
  EXPECT_EQ(runs.load(), 51);
  Sleep(50);
  const auto after = HandleCountOf(GetCurrentProcess());
  ASSERT_TRUE(after.has_value());
  EXPECT_LE(*after, *before + 2) << "handles of threads started without a handle variable leak: before "
                                 << *before << ", after " << *after;
}

TEST(OneShotWorker, CalledOffBeforeItsActItNeverActs) {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> began{0}, refused{0};
  {
    OneShotWorker worker;
    ASSERT_TRUE(worker.Start([&](const WorkPermit& permit) {
      WaitForSingleObject(release, 5000);
      (permit.Begin() ? began : refused)++;
    }));
    worker.CallOff();  // returns at once although the body is still waiting
    SetEvent(release);
    for (int i = 0; i < 500 && refused == 0; ++i) Sleep(10);
  }
  EXPECT_EQ(began.load(), 0);
  EXPECT_EQ(refused.load(), 1);
  CloseHandle(release);
}

TEST(OneShotWorker, ABegunActIsCompletedAndBeginIsTrueOnlyOnce) {
  std::atomic<int> firstAnswer{-1}, secondAnswer{-1};
  OneShotWorker worker;
  ASSERT_TRUE(worker.Start([&](const WorkPermit& permit) {
    firstAnswer = permit.Begin() ? 1 : 0;
    secondAnswer = permit.Begin() ? 1 : 0;
  }));
  for (int i = 0; i < 500 && secondAnswer < 0; ++i) Sleep(10);
  worker.CallOff();
  EXPECT_EQ(firstAnswer.load(), 1);
  EXPECT_EQ(secondAnswer.load(), 0);
}

TEST_F(ClickTest, AWorkerWaitingOnTheWindowClicksNothingWhenCalledOff) {
  // The worker's selection query waits for this thread, as the click tick's does; the stop
  // comes first, so when the query is answered the click must not happen.
  HWND target = target_.Handle();
  OneShotWorker worker;
  ASSERT_TRUE(worker.Start([target](const WorkPermit& permit) {
    SendMessageW(target, WM_NULL, 0, 0);
    if (permit.Begin()) SynthesizeClick(300, 280, kLeftClick);
  }));
  Sleep(50);
  worker.CallOff();
  PumpMessagesFor(300);
  EXPECT_EQ(target_.Count(WM_LBUTTONDOWN), 0);
}

TEST(OneShotWorker, ManyStartsLeakNoHandle) {
  const auto before = HandleCountOf(GetCurrentProcess());
  ASSERT_TRUE(before.has_value());
  std::atomic<int> ran{0};
  {
    OneShotWorker worker;
    for (int i = 0; i < 300; ++i) {
      ASSERT_TRUE(worker.Start([&](const WorkPermit& permit) {
        if (permit.Begin()) ++ran;
      }));
      if (i % 2 == 0) worker.CallOff();
    }
  }
  Sleep(300);
  const auto after = HandleCountOf(GetCurrentProcess());
  ASSERT_TRUE(after.has_value());
  EXPECT_LE(*after, *before + 2) << "before " << *before << ", after " << *after;
  EXPECT_LE(ran.load(), 300);
}

}  // namespace
}  // namespace quorvin::testing
