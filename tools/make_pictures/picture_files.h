#pragma once

#include <string>
#include <vector>

#include "tools/make_pictures/canvas.h"

namespace quorvin {

// The three shades a monochrome Windows cursor can show (inverting is not used).
enum class CursorPixel { Transparent, Black, White };

struct CursorImage {
  int width = 0;
  int height = 0;
  std::vector<CursorPixel> pixels;  // top-down rows
  int hotX = 0;
  int hotY = 0;
};

// Each writer returns false when the file cannot be written. All output is a
// function of the picture alone (no time stamps), so regenerating gives the same bytes.
bool WriteJpeg(const std::string& path, const Canvas& canvas, int quality);
bool WritePng(const std::string& path, const Canvas& canvas);
bool WriteIcon(const std::string& path, const Canvas& canvas);
bool WriteCursor(const std::string& path, const CursorImage& cursor);

}  // namespace quorvin
