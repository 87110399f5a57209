#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace quorvin::testing {

// The full path of a program that the build puts beside the test executable.
std::wstring ProgramBesideTests(const wchar_t* fileName);

// One run of a program under test, started as its own process. Ended by force when the
// test is over and it is still running, so one failed test does not hold F7 for the next.
class ProgramProcess {
 public:
  // `arguments`, when given, follow the quoted path on the command line.
  explicit ProgramProcess(const std::wstring& path, const std::wstring& arguments = {});
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Id() const { return processId_; }
  HANDLE Process() const { return process_; }

  // The process's visible top-level window with this title, once it shows.
  HWND WaitForWindow(const wchar_t* title, DWORD timeoutMs = 15000) const;
  // A top-level window of the process, visible or not, with this title.
  HWND FindWindowOfProcess(const wchar_t* title) const;
  // The exit code once the process ends; nothing if it is still running at the timeout.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = 10000) const;

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
};

// Pumps this thread's messages for a while, so windows of the test keep answering.
void PumpMessagesFor(DWORD milliseconds);

// Pumps until the condition holds or the timeout passes; returns the condition's last value.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 5000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= end)
      return condition();
    PumpMessagesFor(5);
  }
  return true;
}

// The window's text, read with WM_GETTEXT (GetWindowTextW of another process's edit control
// gives nothing).
std::wstring WindowText(HWND hwnd);

}  // namespace quorvin::testing

namespace quorvin::testing {

// Input as a user's keyboard and mouse would give it, injected with SendInput.
void PressKey(WORD virtualKey, std::initializer_list<WORD> heldModifiers = {});
void MoveMouseTo(int x, int y);
void LeftButton(bool down);
void RightButton(bool down);

// The centre of a window in screen coordinates.
POINT CentreOf(HWND window);
RECT ScreenRect(HWND window);

// Every child window of `parent`, at any depth.
std::vector<HWND> ChildWindowsOf(HWND parent);

// A top-level window of another process found by its caption, e.g. a message box.
HWND FindTopLevelOfProcess(DWORD processId, const wchar_t* caption);

// Every window of the process, top-level and child: the USER objects that Wine lets another
// process see (GetGuiResources answers 0 there).
int WindowCountOf(DWORD processId);
// The process's visible top-level windows: its main window plus any box it shows.
int VisibleTopLevelWindows(DWORD processId);

}  // namespace quorvin::testing
