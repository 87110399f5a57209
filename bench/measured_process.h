#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace quorvin::bench {

// What a process has cost so far, as Windows tells another process.
struct ProcessCost {
  double cpuMs = 0;  // user plus kernel time
  std::uint64_t workingSet = 0;
  std::uint64_t peakWorkingSet = 0;
  std::uint64_t privateBytes = 0;  // commit charge
  DWORD handles = 0;
  DWORD gdiObjects = 0;
  DWORD userObjects = 0;
};

// A program started for measuring; ended by force when the measurement is done with it.
class MeasuredProcess {
 public:
  MeasuredProcess(const std::wstring& path, const std::wstring& arguments = {});
  ~MeasuredProcess();
  MeasuredProcess(const MeasuredProcess&) = delete;
  MeasuredProcess& operator=(const MeasuredProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  HANDLE Process() const { return process_; }
  DWORD Id() const { return processId_; }
  // When CreateProcessW was called, on NowMs().
  double LaunchedAtMs() const { return launchedAtMs_; }

  // The process's top-level window with this title, polled every millisecond so the moment it
  // appears is known to about that; nullptr at the timeout or when the process ends first.
  HWND WaitForWindow(const wchar_t* title, bool visible, double timeoutMs = 20000);
  double WindowSeenAtMs() const { return windowSeenAtMs_; }
  // When the process first waited for input with none pending: its window painted, its loop
  // entered (WaitForInputIdle); 0 when it did not get there within the timeout.
  double WaitUntilReady(DWORD timeoutMs = 20000);

  ProcessCost Cost() const;
  void End();

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  double launchedAtMs_ = 0;
  double windowSeenAtMs_ = 0;
};

}  // namespace quorvin::bench
