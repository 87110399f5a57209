#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "tools/capture/capture.h"
#include "ui/control_table.h"

namespace quorvin::testing {

// Helpers for the tests that judge the window by its pixels.
std::string Describe(COLORREF colour);
// A control's place in the window, from the table the window is built from.
RECT PlaceOf(ControlName name);
// The control's name in UTF-8, for failure messages.
std::string NameOf(ControlName name);

// How many pixels of an area have the wanted colour, and the first that does not.
struct Tally {
  int matching = 0;
  int total = 0;
  POINT firstOther{-1, -1};
  COLORREF firstOtherColour = 0;
};

// `counted`, when given, picks the pixels of the area that take part.
Tally Count(const capture::ScreenPixels& pixels,
            const RECT& area,
            const std::function<bool(COLORREF)>& wanted,
            const std::function<bool(int, int)>& counted = {});
std::string Where(const Tally& tally);

}  // namespace quorvin::testing
