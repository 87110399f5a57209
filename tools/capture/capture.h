#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quorvin::capture {

// A picture of what the screen shows, top-down, 4 bytes a pixel (B, G, R, unused).
struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgrx;

  COLORREF At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 4;
    return RGB(bgrx[i + 2], bgrx[i + 1], bgrx[i]);
  }
};

// What the screen shows inside the window's rectangle (what a user sees, overlaps included).
// PrintWindow draws nothing for windows that paint on WM_PAINT under Wine, so this copies
// from the screen.
ScreenPixels CaptureWindow(HWND window);

// Writes the pixels as an 8-bit RGB PNG file; false on failure.
bool SavePng(const ScreenPixels& pixels, const std::string& path);

}  // namespace quorvin::capture
