#include "platform/timer_resolution.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

namespace quorvin {
namespace {

// Windows 11 drops a hidden or minimized process's resolution request unless it opts out.
// Looked up at run time: SetProcessInformation is missing before Windows 8 and older SDKs
// lack these names.
void KeepResolutionWhileHidden() {
  struct PowerThrottlingState {
    ULONG version;
    ULONG controlMask;
    ULONG stateMask;
  };
  constexpr int kProcessPowerThrottling = 4;     // PROCESS_INFORMATION_CLASS value
  constexpr ULONG kIgnoreTimerResolution = 0x4;  // PROCESS_POWER_THROTTLING_IGNORE_TIMER_RESOLUTION
  using SetProcessInformationFunction = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr)
    return;
  auto setInformation = reinterpret_cast<SetProcessInformationFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetProcessInformation")));
  if (setInformation == nullptr)
    return;
  PowerThrottlingState state{1, kIgnoreTimerResolution, 0};
  setInformation(GetCurrentProcess(), kProcessPowerThrottling, &state,
                 sizeof(state));  // failure ignored
}

// The multimedia timer functions, from the system folder only and only once clicking first
// starts: an import would load winmm and what it pulls in (COM among it) at every start-up,
// and would let a winmm.dll lying beside a downloaded executable be loaded in its place.
struct MultimediaTimer {
  using PeriodFunction = UINT(WINAPI*)(UINT);
  PeriodFunction begin = nullptr;
  PeriodFunction end = nullptr;

  static const MultimediaTimer& Get() {
    static const MultimediaTimer timer = [] {
      MultimediaTimer loaded;
      // A full path rather than LOAD_LIBRARY_SEARCH_SYSTEM32, which Windows 7 lacks without an
      // update.
      wchar_t path[MAX_PATH];
      const UINT length = GetSystemDirectoryW(path, MAX_PATH);
      constexpr wchar_t kFile[] = L"\\winmm.dll";
      if (length == 0 || length + std::size(kFile) > MAX_PATH)
        return loaded;
      std::copy(std::begin(kFile), std::end(kFile), path + length);
      HMODULE winmm = LoadLibraryW(path);
      if (winmm == nullptr)
        return loaded;  // kept loaded for the life of the process
      loaded.begin = reinterpret_cast<PeriodFunction>(
          reinterpret_cast<void*>(GetProcAddress(winmm, "timeBeginPeriod")));
      loaded.end = reinterpret_cast<PeriodFunction>(
          reinterpret_cast<void*>(GetProcAddress(winmm, "timeEndPeriod")));
      if (loaded.begin == nullptr || loaded.end == nullptr)
        loaded = {};
      return loaded;
    }();
    return timer;
  }
};

constexpr UINT kTimerNoError = 0;  // TIMERR_NOERROR

}  // namespace

bool BeginFineTimerResolution() {
  static const bool optedOut = (KeepResolutionWhileHidden(), true);
  (void)optedOut;
  const MultimediaTimer& timer = MultimediaTimer::Get();
  return timer.begin != nullptr && timer.begin(1) == kTimerNoError;
}

void EndFineTimerResolution() {
  const MultimediaTimer& timer = MultimediaTimer::Get();
  if (timer.end != nullptr)
    timer.end(1);
}

}  // namespace quorvin
