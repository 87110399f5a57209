#pragma once

#include <windows.h>

#include "ui/control_table.h"

namespace quorvin {

// Both label kinds draw their text the same way: once, on one line, transparent background,
// the label's colour and font, into the client rectangle.
void DrawLabelText(HWND label, HDC dc, const ControlLook& look, HFONT font);

}  // namespace quorvin
