// Baseline: the floor for start-up time and memory. One window of the clicker's size, centred,
// shown, and a message loop; nothing drawn beyond the class brush.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"QuorvinBenchMinimalWindow";
  if (RegisterClassExW(&windowClass) == 0)
    return 2;

  constexpr int width = 391, height = 239;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"quorvin-bench-minimal-window",
                                WS_POPUP | WS_MINIMIZEBOX, x, y, width, height, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr)
    return 3;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
