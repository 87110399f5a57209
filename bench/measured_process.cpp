#include "bench/measured_process.h"

#include <psapi.h>

#include <string_view>
#include <vector>

#include "bench/timing.h"
#include "tests/e2e/handle_count.h"

namespace quorvin::bench {
namespace {

double Milliseconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;  // 100 ns units
}

struct WindowSearch {
  DWORD processId;
  const wchar_t* title;
  bool visible;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->processId || (search->visible && !IsWindowVisible(hwnd)))
    return TRUE;
  // A top-level caption is read without a message, so a busy starting program does not delay this.
  wchar_t caption[256] = {};
  GetWindowTextW(hwnd, caption, 256);
  if (std::wstring_view(caption) != search->title)
    return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

MeasuredProcess::MeasuredProcess(const std::wstring& path, const std::wstring& arguments) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!arguments.empty())
    commandLine += L" " + arguments;
  launchedAtMs_ = NowMs();
  if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
  }
}

MeasuredProcess::~MeasuredProcess() {
  End();
}

void MeasuredProcess::End() {
  if (process_ == nullptr)
    return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 10000);
  }
  CloseHandle(process_);
  process_ = nullptr;
}

HWND MeasuredProcess::WaitForWindow(const wchar_t* title, bool visible, double timeoutMs) {
  if (process_ == nullptr)
    return nullptr;
  const double end = NowMs() + timeoutMs;
  for (;;) {
    WindowSearch search{processId_, title, visible};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      windowSeenAtMs_ = NowMs();
      return search.found;
    }
    if (NowMs() >= end || WaitForSingleObject(process_, 1) == WAIT_OBJECT_0)
      return nullptr;
  }
}

double MeasuredProcess::WaitUntilReady(DWORD timeoutMs) {
  if (process_ == nullptr || WaitForInputIdle(process_, timeoutMs) != 0)
    return 0;
  return NowMs();
}

ProcessCost MeasuredProcess::Cost() const {
  ProcessCost cost;
  if (process_ == nullptr)
    return cost;
  FILETIME created, exited, kernel, user;
  if (GetProcessTimes(process_, &created, &exited, &kernel, &user))
    cost.cpuMs = Milliseconds(kernel) + Milliseconds(user);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory))) {
    cost.workingSet = memory.WorkingSetSize;
    cost.peakWorkingSet = memory.PeakWorkingSetSize;
    // PagefileUsage is the same commit charge as PrivateUsage on Windows; Wine fills in only it.
    cost.privateBytes = memory.PagefileUsage;
  }
  cost.handles = testing::HandleCountOf(process_).value_or(0);
  cost.gdiObjects = GetGuiResources(process_, GR_GDIOBJECTS);
  cost.userObjects = GetGuiResources(process_, GR_USEROBJECTS);
  return cost;
}

}  // namespace quorvin::bench
