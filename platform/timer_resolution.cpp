#include "platform/timer_resolution.h"

#include <windows.h>
#include <mmsystem.h>

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
  constexpr int kProcessPowerThrottling = 4;        // PROCESS_INFORMATION_CLASS value
  constexpr ULONG kIgnoreTimerResolution = 0x4;     // PROCESS_POWER_THROTTLING_IGNORE_TIMER_RESOLUTION
  using SetProcessInformationFunction = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return;
  auto setInformation = reinterpret_cast<SetProcessInformationFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetProcessInformation")));
  if (setInformation == nullptr) return;
  PowerThrottlingState state{1, kIgnoreTimerResolution, 0};
  setInformation(GetCurrentProcess(), kProcessPowerThrottling, &state, sizeof(state));  // failure ignored
}

}  // namespace

bool BeginFineTimerResolution() {
  static const bool optedOut = (KeepResolutionWhileHidden(), true);
  (void)optedOut;
  return timeBeginPeriod(1) == TIMERR_NOERROR;
}

void EndFineTimerResolution() { timeEndPeriod(1); }

}  // namespace quorvin
