// Measures the clicker against baselines in one run: cadence against a bare SetTimer clicker,
// first-click latency against the input path's own, CPU, memory and start-up against a minimal
// window program, and object counts over many start/stop cycles. Prints a table and writes
// results.md, results.json and cadence.png into the output folder.
//
//   quorvin_bench.exe [--quick] [--cycles N] [--out FOLDER]
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/cadence_chart.h"
#include "bench/interval_stats.h"
#include "bench/measured_process.h"
#include "bench/results.h"
#include "bench/target_window.h"
#include "bench/timing.h"
#include "tests/e2e/clicker_process.h"
#include "ui/control_table.h"

namespace quorvin::bench {
namespace {

using testing::PressKey;
using testing::WindowText;

constexpr wchar_t kClickerTitle[] = L"Quorvin鼠标连点器";
constexpr wchar_t kMinimalTitle[] = L"quorvin-bench-minimal-window";
constexpr wchar_t kBareTimerTitle[] = L"quorvin-bench-bare-timer";
constexpr wchar_t kRunning[] = L"正在运行...";
constexpr wchar_t kStopped[] = L"已经停止!!!";
constexpr int kLongestIntervalItem = 17;  // "10": only the worker's immediate click comes
constexpr double kMegabyte = 1024.0 * 1024.0;

// The timer period the clicker sets for an item (the first items fall a millisecond short of
// their text), which the bare timer is given too; SetTimer raises anything under
// USER_TIMER_MINIMUM to it, so that is the period the clicks can keep.
struct Setting {
  const char* text;
  int item;
  int timerMs;
  int clicks;
  double periodMs() const { return timerMs < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : timerMs; }
};
constexpr Setting kSettings[] = {{"0.01", 0, 9, 500},
                                 {"0.05", 4, 50, 200},
                                 {"0.1", 5, 100, 100},
                                 {"0.5", 7, 500, 30},
                                 {"1", 8, 1000, 15}};

struct Options {
  bool quick = false;
  int cycles = 10000;
  std::string out = ".";
};

void Progress(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::fputs("[bench] ", stderr);
  std::vfprintf(stderr, format, arguments);
  std::fputc('\n', stderr);
  va_end(arguments);
}

double Median(const std::vector<double>& values) {
  return Percentile(values, 0.5);
}

// The clicker, started once and driven through its window as a user would.
class Clicker {
 public:
  Clicker() : process_(testing::ProgramBesideTests(L"QuorvinClicker.exe")) {
    window_ = process_.WaitForWindow(kClickerTitle, true);
  }
  bool Ready() const { return window_ != nullptr; }
  MeasuredProcess& Process() { return process_; }
  HWND Window() const { return window_; }
  HWND Child(ControlName name) const { return GetDlgItem(window_, ControlId(name)); }
  std::wstring Status() const { return WindowText(Child(ControlName::透明标签4_运行状态)); }
  void SelectInterval(int item) {
    SendMessageW(Child(ControlName::组合框_鼠标单机间隔秒), CB_SETCURSEL, static_cast<WPARAM>(item),
                 0);
  }
  // Reads the status as often as the clicker answers, dispatching our own messages in between.
  bool WaitForStatus(const wchar_t* text, double timeoutMs = 3000) {
    const double end = NowMs() + timeoutMs;
    for (;;) {
      PumpFor(0);
      if (Status() == text)
        return true;
      if (NowMs() > end)
        return false;
    }
  }

 private:
  MeasuredProcess process_;
  HWND window_ = nullptr;
};

struct StartupTimes {
  std::vector<double> visible;  // from CreateProcess to the window being visible
  std::vector<double> ready;    // ... to the program first waiting for input, painted
  void Add(const StartupTimes& more) {
    visible.insert(visible.end(), more.visible.begin(), more.visible.end());
    ready.insert(ready.end(), more.ready.begin(), more.ready.end());
  }
};

StartupTimes MeasureStartup(const wchar_t* program, const wchar_t* title) {
  StartupTimes times;
  MeasuredProcess process(testing::ProgramBesideTests(program));
  if (process.WaitForWindow(title, true) != nullptr) {
    times.visible.push_back(process.WindowSeenAtMs() - process.LaunchedAtMs());
    if (const double ready = process.WaitUntilReady(); ready > 0)
      times.ready.push_back(ready - process.LaunchedAtMs());
  }
  process.End();
  PumpFor(200);
  return times;
}

struct Run {
  std::vector<double> intervals;
  double cpuMsPerClick = 0;
  int clicks = 0;
  int unmatchedUps = 0;
};

double WaitLimit(const Setting& setting, int clicks) {
  return clicks * setting.periodMs() * 3 + 5000;
}

// Clicks left out after F7: the immediate click of the clicker's worker thread lands among the
// first ticks, and the cadence measured is the timer's. The same for both programs.
constexpr double kSettleMs = 200;

std::vector<double> ClicksFrom(const std::vector<double>& downs, double from, std::size_t count) {
  std::vector<double> steady;
  for (double down : downs) {
    if (down >= from && steady.size() < count)
      steady.push_back(down);
  }
  return steady;
}

// F7, clicks until `clicks` intervals have come after the settling time, F7 again.
template <typename AfterStop>
Run MeasureRun(TargetWindow& target,
               const Setting& setting,
               int clicks,
               const MeasuredProcess& process,
               AfterStop afterStop) {
  Run run;
  target.Clear();
  const double cpuBefore = process.Cost().cpuMs;
  const double pressed = NowMs();
  PressKey(VK_F7);
  const std::size_t wanted = static_cast<std::size_t>(clicks) + 1;
  PumpUntil(
      [&] { return ClicksFrom(target.leftDowns, pressed + kSettleMs, wanted).size() >= wanted; },
      WaitLimit(setting, clicks));
  PressKey(VK_F7);
  afterStop();
  PumpFor(setting.periodMs() + 200);
  run.clicks = static_cast<int>(target.leftDowns.size());
  run.cpuMsPerClick = run.clicks > 0 ? (process.Cost().cpuMs - cpuBefore) / run.clicks : 0;
  run.unmatchedUps = std::abs(run.clicks - target.leftUps) + target.otherButtons;
  run.intervals = IntervalsBetween(ClicksFrom(target.leftDowns, pressed + kSettleMs, wanted));
  return run;
}

Run BareTimerRun(TargetWindow& target, const Setting& setting, int clicks) {
  wchar_t period[16];
  std::swprintf(period, 16, L"%d", setting.timerMs);
  MeasuredProcess timer(testing::ProgramBesideTests(L"quorvin_bench_bare_timer.exe"), period);
  if (timer.WaitForWindow(kBareTimerTitle, false) == nullptr)
    return {};
  PumpFor(300);
  return MeasureRun(target, setting, clicks, timer, [] {});
}

Run ClickerRun(Clicker& clicker, TargetWindow& target, const Setting& setting, int clicks) {
  clicker.SelectInterval(setting.item);
  PumpFor(200);
  return MeasureRun(target, setting, clicks, clicker.Process(),
                    [&] { clicker.WaitForStatus(kStopped); });
}

// From the F7 press to the first button message in the target, each time from a stop.
std::vector<double> FirstClickLatencies(Clicker& clicker, TargetWindow& target, int rounds) {
  std::vector<double> latencies;
  clicker.SelectInterval(kLongestIntervalItem);
  PumpFor(200);
  for (int i = 0; i < rounds; ++i) {
    target.Clear();
    const double pressed = NowMs();
    PressKey(VK_F7);
    if (PumpUntil([&] { return !target.leftDowns.empty(); }, 3000))
      latencies.push_back(target.leftDowns[0] - pressed);
    PressKey(VK_F7);
    clicker.WaitForStatus(kStopped);
    PumpFor(150);
  }
  return latencies;
}

// The input path alone: a key injected into the system, reaching our own window in front.
std::vector<double> InjectedKeyLatencies(TargetWindow& target, int rounds) {
  std::vector<double> latencies;
  SetForegroundWindow(target.Handle());
  SetFocus(target.Handle());
  PumpFor(300);
  for (int i = 0; i < rounds; ++i) {
    target.Clear();
    const double pressed = NowMs();
    PressKey(VK_F9);
    if (PumpUntil([&] { return !target.keyDowns.empty(); }, 2000))
      latencies.push_back(target.keyDowns[0] - pressed);
    PumpFor(50);
  }
  return latencies;
}

std::vector<double> InjectedClickLatencies(TargetWindow& target, int rounds) {
  std::vector<double> latencies;
  for (int i = 0; i < rounds; ++i) {
    target.Clear();
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    const double pressed = NowMs();
    SendInput(2, inputs, sizeof(INPUT));
    if (PumpUntil([&] { return !target.leftDowns.empty(); }, 2000))
      latencies.push_back(target.leftDowns[0] - pressed);
    PumpFor(GetDoubleClickTime() + 50);  // apart, so no two make a double-click
  }
  return latencies;
}

struct CycleResult {
  int cycles = 0;
  int unseen = 0;  // toggles whose status did not show within 3 s
  double seconds = 0;
  ProcessCost before, after;
  int windowsBefore = 0, windowsAfter = 0;  // every window of the process, children included
  bool answering = false;
};

CycleResult StartStopCycles(Clicker& clicker, int cycles) {
  CycleResult result;
  clicker.SelectInterval(0);  // "0.01": the timer runs during every short start
  PressKey(VK_F7);
  clicker.WaitForStatus(kRunning);
  PressKey(VK_F7);
  clicker.WaitForStatus(kStopped);
  PumpFor(500);
  result.before = clicker.Process().Cost();
  result.windowsBefore = testing::WindowCountOf(clicker.Process().Id());
  const double start = NowMs();
  for (int i = 0; i < cycles; ++i) {
    PressKey(VK_F7);
    if (!clicker.WaitForStatus(kRunning))
      ++result.unseen;
    PressKey(VK_F7);
    if (!clicker.WaitForStatus(kStopped))
      ++result.unseen;
    ++result.cycles;
    if ((i + 1) % 1000 == 0)
      Progress("%d cycles", i + 1);
  }
  result.seconds = (NowMs() - start) / 1000.0;
  PumpFor(1000);
  result.after = clicker.Process().Cost();
  result.windowsAfter = testing::WindowCountOf(clicker.Process().Id());
  DWORD_PTR answer = 0;
  result.answering =
      SendMessageTimeoutW(clicker.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) != 0;
  return result;
}

std::string WineVersion() {
  using GetVersion = const char*(CDECL*)();
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto get = ntdll != nullptr ? reinterpret_cast<GetVersion>(reinterpret_cast<void*>(
                                    GetProcAddress(ntdll, "wine_get_version")))
                              : nullptr;
  return get != nullptr ? std::string("Wine ") + get() : std::string("Windows");
}

std::string Now() {
  SYSTEMTIME time;
  GetLocalTime(&time);
  char text[64];
  std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay,
                time.wHour, time.wMinute);
  return text;
}

Figure Compare(std::string name,
               std::string unit,
               double ours,
               double baseline,
               std::string goal = {},
               int met = -1,
               std::string note = {}) {
  return Figure{std::move(name), std::move(unit), ours, baseline, true, std::move(goal), met,
                std::move(note)};
}

Figure Single(std::string name,
              std::string unit,
              double ours,
              std::string goal = {},
              int met = -1,
              std::string note = {}) {
  return Figure{std::move(name), std::move(unit), ours, 0,
                false,           std::move(goal), met,  std::move(note)};
}

Options ParseOptions(int argc, wchar_t** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument == L"--quick") {
      options.quick = true;
      options.cycles = 200;
    } else if (argument == L"--cycles" && i + 1 < argc) {
      options.cycles = std::max(1, static_cast<int>(std::wcstol(argv[++i], nullptr, 10)));
    } else if (argument == L"--out" && i + 1 < argc) {
      const std::wstring folder = argv[++i];
      options.out.assign(folder.begin(), folder.end());  // the build tree's path: ASCII
    }
  }
  return options;
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  return static_cast<bool>(file);
}

int RunBenchmark(const Options& options) {
  Results results;
  results.when = Now() + ", " + WineVersion();
  const int clickScale = options.quick ? 5 : 1;
  const int latencyRounds = options.quick ? 5 : 30;
  const int startupRounds = options.quick ? 3 : 10;
  const double idleMs = options.quick ? 3000 : 10000;

  TargetWindow target(RECT{20, 20, 260, 200});
  const POINT centre = target.Centre();
  SetCursorPos(centre.x, centre.y);
  PumpFor(300);

  Progress("start-up, %d rounds each", startupRounds);
  MeasureStartup(L"quorvin_bench_minimal_window.exe",
                 kMinimalTitle);  // the first start of each is slower
  MeasureStartup(L"QuorvinClicker.exe", kClickerTitle);
  StartupTimes oursStartup, minimalStartup;
  for (int i = 0; i < startupRounds; ++i) {  // interleaved, so a busy moment touches both
    minimalStartup.Add(MeasureStartup(L"quorvin_bench_minimal_window.exe", kMinimalTitle));
    oursStartup.Add(MeasureStartup(L"QuorvinClicker.exe", kClickerTitle));
  }

  // The bare timer first: while the clicker runs, F7 is the clicker's.
  std::vector<Run> bareRuns;
  for (const Setting& setting : kSettings) {
    Progress("bare timer at %s s", setting.text);
    bareRuns.push_back(BareTimerRun(target, setting, std::max(5, setting.clicks / clickScale)));
  }

  Clicker clicker;
  if (!clicker.Ready()) {
    Progress("the clicker's window did not show");
    return 1;
  }
  MeasuredProcess minimal(testing::ProgramBesideTests(L"quorvin_bench_minimal_window.exe"));
  minimal.WaitForWindow(kMinimalTitle, true);
  PumpFor(1500);

  Progress("idle for %.0f s", idleMs / 1000);
  const ProcessCost oursIdleStart = clicker.Process().Cost(), minimalIdleStart = minimal.Cost();
  PumpFor(idleMs);
  const ProcessCost oursIdleEnd = clicker.Process().Cost(), minimalIdleEnd = minimal.Cost();
  minimal.End();

  Progress("first click, %d rounds", latencyRounds);
  const std::vector<double> firstClicks = FirstClickLatencies(clicker, target, latencyRounds);
  const std::vector<double> keyLatencies = InjectedKeyLatencies(target, latencyRounds);
  const std::vector<double> clickLatencies = InjectedClickLatencies(target, latencyRounds);

  double oursCpuPerClick = 0;
  for (std::size_t i = 0; i < std::size(kSettings); ++i) {
    const Setting& setting = kSettings[i];
    Progress("clicker at %s s", setting.text);
    const Run ours = ClickerRun(clicker, target, setting, std::max(5, setting.clicks / clickScale));
    if (i == 0)
      oursCpuPerClick = ours.cpuMsPerClick;
    CadenceResult cadence;
    cadence.setting = setting.text;
    cadence.periodMs = setting.periodMs();
    cadence.ours = ours.intervals;
    cadence.baseline = bareRuns[i].intervals;
    cadence.oursSummary = Summarize(ours.intervals, setting.periodMs());
    cadence.baselineSummary = Summarize(bareRuns[i].intervals, setting.periodMs());
    cadence.oursUnmatchedUps = ours.unmatchedUps;
    results.cadence.push_back(std::move(cadence));
  }

  Progress("%d start/stop cycles", options.cycles);
  const CycleResult cycles = StartStopCycles(clicker, options.cycles);
  const ProcessCost oursEnd = clicker.Process().Cost();

  // The figures, in the order the goals are stated.
  for (const CadenceResult& c : results.cadence) {
    const auto& o = c.oursSummary;
    const auto& b = c.baselineSummary;
    const std::string label = "cadence " + c.setting + " s";
    const double ratio = b.medianMs > 0 ? o.medianMs / b.medianMs : 0;
    results.figures.push_back(Compare(
        label + ": median interval", "ms", o.medianMs, b.medianMs, "within 2% of the bare timer",
        std::abs(ratio - 1) <= 0.02 ? 1 : 0, std::to_string(o.intervals) + " intervals"));
    const double meanRatio = b.meanMs > 0 ? o.meanMs / b.meanMs : 0;
    results.figures.push_back(Compare(label + ": mean interval", "ms", o.meanMs, b.meanMs,
                                      "within 2% of the bare timer",
                                      std::abs(meanRatio - 1) <= 0.02 ? 1 : 0));
    results.figures.push_back(Compare(label + ": 95th percentile", "ms", o.p95Ms, b.p95Ms));
    results.figures.push_back(
        Compare(label + ": missed", "clicks", o.missed, b.missed, "none", o.missed == 0));
    results.figures.push_back(Compare(label + ": doubled", "clicks", o.doubled, b.doubled, "none",
                                      o.doubled == 0 && c.oursUnmatchedUps == 0,
                                      c.oursUnmatchedUps ? "unmatched button events" : ""));
  }
  const double firstClick = Median(firstClicks), keyPath = Median(keyLatencies);
  results.figures.push_back(Compare("first click after F7 (median) vs injected key", "ms",
                                    firstClick, keyPath, "under 2 ms beyond the key's",
                                    firstClick - keyPath < 2 ? 1 : 0,
                                    std::to_string(firstClicks.size()) + " of " +
                                        std::to_string(latencyRounds) + " presses clicked"));
  results.figures.push_back(Compare("first click after F7 (95th pct) vs injected key", "ms",
                                    Percentile(firstClicks, 0.95), Percentile(keyLatencies, 0.95)));
  results.figures.push_back(
      Single("injected click reaching a window (median)", "ms", Median(clickLatencies)));

  const double oursIdleCpu = (oursIdleEnd.cpuMs - oursIdleStart.cpuMs) / (idleMs / 1000);
  const double minimalIdleCpu = (minimalIdleEnd.cpuMs - minimalIdleStart.cpuMs) / (idleMs / 1000);
  results.figures.push_back(
      Compare("CPU while idle vs minimal window", "ms/s", oursIdleCpu, minimalIdleCpu,
              "indistinguishable from zero", oursIdleCpu <= minimalIdleCpu ? 1 : 0,
              "over " + std::to_string(static_cast<int>(idleMs / 1000)) + " s"));
  results.figures.push_back(Compare("CPU per click at 0.01 s vs bare timer", "ms", oursCpuPerClick,
                                    bareRuns[0].cpuMsPerClick));
  const double oursWorkingSet = oursIdleEnd.workingSet / kMegabyte;
  const double minimalWorkingSet = minimalIdleEnd.workingSet / kMegabyte;
  results.figures.push_back(Compare("working set, idle, vs minimal window", "MB", oursWorkingSet,
                                    minimalWorkingSet, "within 2 MB",
                                    oursWorkingSet - minimalWorkingSet <= 2 ? 1 : 0));
  const double oursPeak = oursEnd.peakWorkingSet / kMegabyte,
               minimalPeak = minimalIdleEnd.peakWorkingSet / kMegabyte;
  results.figures.push_back(Compare("peak working set vs minimal window", "MB", oursPeak,
                                    minimalPeak, "within 2 MB", oursPeak - minimalPeak <= 2 ? 1 : 0,
                                    "ours after every phase"));
  results.figures.push_back(Compare("private bytes (commit) vs minimal window", "MB",
                                    oursEnd.privateBytes / kMegabyte,
                                    minimalIdleEnd.privateBytes / kMegabyte));
  const double oursStart = Median(oursStartup.visible),
               minimalStart = Median(minimalStartup.visible);
  results.figures.push_back(Compare("start-up to visible window (median)", "ms", oursStart,
                                    minimalStart, "within 1.3x",
                                    minimalStart > 0 && oursStart / minimalStart <= 1.3 ? 1 : 0,
                                    std::to_string(oursStartup.visible.size()) + " starts each"));
  results.figures.push_back(Compare("start-up to ready for input (median)", "ms",
                                    Median(oursStartup.ready), Median(minimalStartup.ready), "", -1,
                                    "painted and waiting for input (WaitForInputIdle)"));

  const std::string cyclesText = std::to_string(cycles.cycles) + " cycles";
  auto countChange = [&](const char* what, DWORD before, DWORD after) {
    const bool reported = before != 0 || after != 0;
    results.figures.push_back(
        Single(std::string(what) + " change over the cycles", "objects",
               static_cast<double>(after) - static_cast<double>(before), reported ? "flat" : "",
               reported ? (after <= before ? 1 : 0) : -1,
               reported ? std::to_string(before) + " -> " + std::to_string(after)
                        : "the system reports 0 for another process"));
  };
  countChange("handle count", cycles.before.handles, cycles.after.handles);
  countChange("GDI objects", cycles.before.gdiObjects, cycles.after.gdiObjects);
  countChange("USER objects", cycles.before.userObjects, cycles.after.userObjects);
  countChange("windows", static_cast<DWORD>(cycles.windowsBefore),
              static_cast<DWORD>(cycles.windowsAfter));
  results.figures.push_back(Single("private bytes change over the cycles", "MB",
                                   (static_cast<double>(cycles.after.privateBytes) -
                                    static_cast<double>(cycles.before.privateBytes)) /
                                       kMegabyte));
  results.figures.push_back(Single("start/stop cycles per second", "1/s",
                                   cycles.seconds > 0 ? cycles.cycles / cycles.seconds : 0, "", -1,
                                   cyclesText));
  results.figures.push_back(
      Single("toggles not shown within 3 s", "toggles", cycles.unseen, "none",
             cycles.unseen == 0 && cycles.answering ? 1 : 0,
             cycles.answering ? "window answering after the cycles" : "window NOT answering"));

  char settings[256];
  std::snprintf(
      settings, sizeof(settings),
      "Clicks per setting: %d/%d/%d/%d/%d; first-click rounds: %d; idle: %.0f s; start-ups: %d "
      "each; "
      "start/stop cycles: %d.",
      std::max(5, kSettings[0].clicks / clickScale), std::max(5, kSettings[1].clicks / clickScale),
      std::max(5, kSettings[2].clicks / clickScale), std::max(5, kSettings[3].clicks / clickScale),
      std::max(5, kSettings[4].clicks / clickScale), latencyRounds, idleMs / 1000, startupRounds,
      options.cycles);
  results.settingsNote = settings;

  const std::string text = AsText(results);
  std::fwrite(text.data(), 1, text.size(), stdout);
  const std::string folder = options.out + "/";
  bool written = WriteFile(folder + "results.md", AsMarkdown(results));
  written = WriteFile(folder + "results.json", AsJson(results)) && written;
  written = DrawCadenceChart(results.cadence, folder + "cadence.png") && written;
  Progress("%s results.md, results.json and cadence.png in %s",
           written ? "wrote" : "could NOT write all of", options.out.c_str());
  // A figure measured from nothing would read as a result; say so and fail instead.
  bool complete = !oursStartup.visible.empty() && !minimalStartup.visible.empty() &&
                  !firstClicks.empty() && !keyLatencies.empty();
  for (const CadenceResult& c : results.cadence)
    complete = complete && !c.ours.empty() && !c.baseline.empty();
  if (!complete)
    Progress("some measurements produced no samples (see the counts in the table)");
  return written && complete ? 0 : 1;
}

}  // namespace
}  // namespace quorvin::bench

int wmain(int argc, wchar_t** argv) {
  return quorvin::bench::RunBenchmark(quorvin::bench::ParseOptions(argc, argv));
}
