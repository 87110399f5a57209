#include "clicker/run_stop_toggle.h"

#include "clicker/click_tick.h"
#include "platform/desktop_services.h"
#include "platform/timer_resolution.h"

namespace quorvin {

int PeriodForInterval(std::u16string_view text) {
  return TruncateToInt(static_cast<double>(TextToFloat(text)) * 1000.0);
}

RunStopToggle::~RunStopToggle() {
  if (fineTimerResolution_) EndFineTimerResolution();
}

void RunStopToggle::Toggle() {
  if (running_) {
    Stop();
  } else {
    Start();
  }
}

void RunStopToggle::Start() {
  SetLabelText(controls_.透明标签4_运行状态, kRunningText);
  SetDisabled(controls_.组合框_热键设置, 1);
  SetDisabled(controls_.组合框_鼠标点击类型, 1);
  SetDisabled(controls_.组合框_鼠标单机间隔秒, 1);
  running_ = true;

  const int index = GetSelectedIndex(controls_.组合框_鼠标单机间隔秒);
  const int period = PeriodForInterval(GetItemText(controls_.组合框_鼠标单机间隔秒, index));
  // The default 15.6 ms tick would make the short intervals all alike.
  if (!fineTimerResolution_) fineTimerResolution_ = BeginFineTimerResolution();
  SetTimerPeriod(controls_.时钟1, period);

  // The first click comes at once, not one period later.
  clickThread_.Start([this](const WorkPermit& permit) { ClickTick(controls_, &permit); });
}

void RunStopToggle::Stop() {
  running_ = false;
  SetLabelText(controls_.透明标签4_运行状态, kStoppedText);
  SetDisabled(controls_.组合框_热键设置, 0);
  SetDisabled(controls_.组合框_鼠标点击类型, 0);
  SetDisabled(controls_.组合框_鼠标单机间隔秒, 0);
  SetTimerPeriod(controls_.时钟1, 0);
  clickThread_.CallOff();
  if (fineTimerResolution_) {
    EndFineTimerResolution();
    fineTimerResolution_ = false;
  }
}

}  // namespace quorvin
