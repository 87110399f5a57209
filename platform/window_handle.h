#pragma once

// The window handle type without windows.h, so that the click engine can name windows
// without seeing the platform. With STRICT, windows.h declares HWND as exactly this.
struct HWND__;

namespace quorvin {
using WindowHandle = HWND__*;
}  // namespace quorvin
