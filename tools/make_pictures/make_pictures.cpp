// Draws the program's pictures from code and writes them into a folder,
// normally ui/pictures. See README for how to build and run it.
#include <cstdio>
#include <string>

#include "tools/make_pictures/drawings.h"

namespace {

// High enough that the flat greens come back within a few levels of what was drawn.
constexpr int kJpegQuality = 95;

}  // namespace

int main(int argc, char** argv) {
  using namespace quorvin;
  const std::string folder = argc > 1 ? argv[1] : "ui/pictures";
  constexpr Colour kMinimizeBar{30, 100, 47};
  constexpr Colour kMinimizeBarLit{50, 139, 76};
  constexpr Colour kCloseCross{28, 98, 46};
  constexpr Colour kCloseCrossLit{48, 140, 75};
  constexpr int kPressedDrop = 2;

  struct Jpeg {
    const char* name;
    Canvas canvas;
  };
  const Jpeg jpegs[] = {
      {"window_background.jpg", DrawWindowBackground()},
      {"mouse.jpg", DrawMouse()},
      {"minimize_normal.jpg", DrawMinimizeButton(kMinimizeBar, 9)},
      {"minimize_hover.jpg", DrawMinimizeButton(kMinimizeBarLit, 9)},
      {"minimize_pressed.jpg", DrawMinimizeButton(kMinimizeBarLit, 9 + kPressedDrop)},
      {"close_normal.jpg", DrawCloseButton(kCloseCross, 0)},
      {"close_hover.jpg", DrawCloseButton(kCloseCrossLit, 0)},
      {"close_pressed.jpg", DrawCloseButton(kCloseCrossLit, kPressedDrop)},
  };
  bool ok = true;
  auto report = [&](const std::string& name, bool written) {
    std::printf("%s %s\n", written ? "wrote" : "FAILED", (folder + "/" + name).c_str());
    ok = ok && written;
  };
  for (const Jpeg& jpeg : jpegs)
    report(jpeg.name, WriteJpeg(folder + "/" + jpeg.name, jpeg.canvas, kJpegQuality));
  report("label_background.png", WritePng(folder + "/label_background.png", DrawLabelBackground()));
  report("app.ico", WriteIcon(folder + "/app.ico", DrawArrowIcon()));
  report("hand.cur", WriteCursor(folder + "/hand.cur", DrawHandCursor()));
  return ok ? 0 : 1;
}
