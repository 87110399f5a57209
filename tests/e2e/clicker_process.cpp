#include "tests/e2e/clicker_process.h"

#include <iterator>
#include <vector>

namespace quorvin::testing {

std::wstring ProgramBesideTests(const wchar_t* fileName) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) {
      std::wstring path(buffer.data(), length);
      return path.substr(0, path.find_last_of(L"\\/") + 1) + fileName;
    }
    buffer.resize(buffer.size() * 2);
  }
}

ProgramProcess::ProgramProcess(const std::wstring& path, const std::wstring& arguments) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!arguments.empty())
    commandLine += L" " + arguments;
  if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
  }
}

ProgramProcess::~ProgramProcess() {
  if (process_ == nullptr)
    return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

namespace {
struct WindowSearch {
  DWORD processId;
  const wchar_t* title;
  bool visibleOnly;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->processId)
    return TRUE;
  if (search->visibleOnly && !IsWindowVisible(hwnd))
    return TRUE;
  if (WindowText(hwnd) != search->title)
    return TRUE;
  search->found = hwnd;
  return FALSE;
}
}  // namespace

HWND ProgramProcess::FindWindowOfProcess(const wchar_t* title) const {
  WindowSearch search{processId_, title, false};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ProgramProcess::WaitForWindow(const wchar_t* title, DWORD timeoutMs) const {
  WindowSearch search{processId_, title, true};
  WaitUntil(
      [&] {
        search.found = nullptr;
        EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
      },
      timeoutMs);
  return search.found;
}

std::optional<DWORD> ProgramProcess::WaitForExit(DWORD timeoutMs) const {
  if (process_ == nullptr)
    return std::nullopt;
  if (!WaitUntil([&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeoutMs))
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void PumpMessagesFor(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  MSG message;
  for (;;) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end)
      return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

std::wstring WindowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
    return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return text;
}

}  // namespace quorvin::testing

namespace quorvin::testing {

void PressKey(WORD virtualKey, std::initializer_list<WORD> heldModifiers) {
  std::vector<INPUT> inputs;
  auto key = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (WORD modifier : heldModifiers)
    key(modifier, false);
  key(virtualKey, false);
  key(virtualKey, true);
  for (auto it = std::rbegin(heldModifiers); it != std::rend(heldModifiers); ++it)
    key(*it, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void MoveMouseTo(int x, int y) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;  // a relative move of 0: the window under it hears of it
  SendInput(1, &input, sizeof(INPUT));
}

void LeftButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof(INPUT));
}

void RightButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  SendInput(1, &input, sizeof(INPUT));
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

POINT CentreOf(HWND window) {
  const RECT rect = ScreenRect(window);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

namespace {
// Named callbacks: on 32-bit Windows they must be stdcall, which lambdas cannot become.
BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
  reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
  return TRUE;
}
}  // namespace

std::vector<HWND> ChildWindowsOf(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&children));
  return children;
}

namespace {
std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  std::vector<HWND> windows, owned;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND hwnd : windows) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == processId)
      owned.push_back(hwnd);
  }
  return owned;
}
}  // namespace

int WindowCountOf(DWORD processId) {
  int count = 0;
  for (HWND hwnd : TopLevelWindowsOf(processId))
    count += 1 + static_cast<int>(ChildWindowsOf(hwnd).size());
  return count;
}

int VisibleTopLevelWindows(DWORD processId) {
  int count = 0;
  for (HWND hwnd : TopLevelWindowsOf(processId))
    count += IsWindowVisible(hwnd) ? 1 : 0;
  return count;
}

HWND FindTopLevelOfProcess(DWORD processId, const wchar_t* caption) {
  std::vector<HWND> windows;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND hwnd : windows) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == processId && IsWindowVisible(hwnd) && WindowText(hwnd) == caption)
      return hwnd;
  }
  return nullptr;
}

}  // namespace quorvin::testing
