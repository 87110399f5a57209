#pragma once

#include "tools/make_pictures/canvas.h"
#include "tools/make_pictures/picture_files.h"

namespace quorvin {

inline constexpr Colour kWindowGreen{79, 185, 111};
inline constexpr Colour kBandGreen{95, 212, 131};

// The window's own pictures.
Canvas DrawWindowBackground();
Canvas DrawMouse();
Canvas DrawMinimizeButton(Colour bar, int barTop);
Canvas DrawCloseButton(Colour cross, int shiftDown);
Canvas DrawLabelBackground();

// The pointer pictures: the window's icon and the picture buttons' cursor.
Canvas DrawArrowIcon();
CursorImage DrawHandCursor();

}  // namespace quorvin
