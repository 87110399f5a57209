// quorvin_screenshot TITLE FILE.png [--close]
// Waits for a visible top-level window with that title, lets it paint, saves what the screen
// shows of it as a PNG and, with --close, sends the window a close request.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/capture/capture.h"

namespace {
std::string ToUtf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: quorvin_screenshot TITLE FILE.png [--close]\n", stderr);
    return 2;
  }
  HWND window = nullptr;
  for (int waited = 0; waited < 30000 && window == nullptr; waited += 50) {
    window = FindWindowW(nullptr, argv[1]);
    if (window != nullptr && !IsWindowVisible(window)) window = nullptr;
    if (window == nullptr) Sleep(50);
  }
  if (window == nullptr) {
    std::fputs("quorvin_screenshot: the window did not show\n", stderr);
    return 1;
  }
  Sleep(700);  // let it finish its first paint
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(300);
  const bool saved = quorvin::capture::SavePng(quorvin::capture::CaptureWindow(window), ToUtf8(argv[2]));
  if (argc > 3 && std::wstring(argv[3]) == L"--close") PostMessageW(window, WM_CLOSE, 0, 0);
  if (!saved) {
    std::fputs("quorvin_screenshot: could not write the picture\n", stderr);
    return 1;
  }
  return 0;
}
