#include "tests/e2e/pixel_tally.h"

#include <sstream>

namespace quorvin::testing {

using N = ControlName;
using capture::ScreenPixels;

std::string Describe(COLORREF colour) {
  std::ostringstream text;
  text << "RGB(" << int{GetRValue(colour)} << "," << int{GetGValue(colour)} << ","
       << int{GetBValue(colour)} << ")";
  return text.str();
}

RECT PlaceOf(N name) {
  const ControlRecord& record = RecordOf(name);
  return {record.left, record.top, record.left + record.width, record.top + record.height};
}

std::string NameOf(N name) {
  const std::wstring wide = RecordOf(name).nameText;
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(), size,
                      nullptr, nullptr);
  return text;
}

Tally Count(const ScreenPixels& pixels,
            const RECT& area,
            const std::function<bool(COLORREF)>& wanted,
            const std::function<bool(int, int)>& counted) {
  Tally tally;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      if (counted && !counted(x, y))
        continue;
      ++tally.total;
      const COLORREF colour = pixels.At(x, y);
      if (wanted(colour)) {
        ++tally.matching;
      } else if (tally.firstOther.x < 0) {
        tally.firstOther = {x, y};
        tally.firstOtherColour = colour;
      }
    }
  return tally;
}

std::string Where(const Tally& tally) {
  std::ostringstream text;
  text << tally.matching << " of " << tally.total << "; first other at (" << tally.firstOther.x
       << "," << tally.firstOther.y << ") " << Describe(tally.firstOtherColour);
  return text.str();
}

}  // namespace quorvin::testing
