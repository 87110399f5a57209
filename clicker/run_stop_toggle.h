#pragma once

#include "clicker/clicker_controls.h"
#include "platform/threads.h"

namespace quorvin {

inline constexpr char16_t kRunningText[] = u"正在运行...";
inline constexpr char16_t kStoppedText[] = u"已经停止!!!";

// Each press of the hotkey flips between stopped and running.
class RunStopToggle {
 public:
  explicit RunStopToggle(const ClickerControls& controls) : controls_(controls) {}
  ~RunStopToggle();
  RunStopToggle(const RunStopToggle&) = delete;
  RunStopToggle& operator=(const RunStopToggle&) = delete;

  void Toggle();
  bool Running() const { return running_; }

 private:
  void Start();
  void Stop();

  const ClickerControls& controls_;
  bool running_ = false;
  OneShotWorker clickThread_;
  bool fineTimerResolution_ = false;
};

// The timer period for an interval text: the text read as a float, widened, times 1000,
// truncated (9 ms for "0.01").
int PeriodForInterval(std::u16string_view text);

}  // namespace quorvin
