#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "tools/make_pictures/drawings.h"

namespace quorvin {
namespace {

constexpr int kPointerSize = 32;

// Even-odd test of a pixel centre against a closed polygon.
struct Point {
  double x, y;
};

bool InsidePolygon(const std::vector<Point>& polygon, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

// A rectangle of whole pixels (bounds inclusive) with rounded corners.
struct RoundedRect {
  int left, top, right, bottom;
  double radius;

  bool Contains(int x, int y) const {
    if (x < left || x > right || y < top || y > bottom)
      return false;
    const double cx = std::clamp(x + 0.5, left + radius, right + 1 - radius);
    const double cy = std::clamp(y + 0.5, top + radius, bottom + 1 - radius);
    return std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius;
  }
};

// The pixels whose centres lie within radius of the segment from (ax, ay) to (bx, by).
struct Capsule {
  double ax, ay, bx, by, radius;

  bool Contains(int x, int y) const {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((x + 0.5 - ax) * dx + (y + 0.5 - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x + 0.5 - (ax + t * dx), y + 0.5 - (ay + t * dy)) <= radius;
  }
};

}  // namespace

Canvas DrawArrowIcon() {
  constexpr Colour kWhite{255, 255, 255};
  constexpr Colour kBlack{0, 0, 0};
  constexpr Colour kLightGrey{192, 192, 192};
  Canvas canvas(kPointerSize, kPointerSize, kWhite);
  // The usual arrow: a straight left edge, a 45° right edge, and a tail
  // leaving the notch toward the lower right.
  const std::vector<Point> arrow = {{8, 2},         {8, 26},        {14, 20},      {18.5, 29.75},
                                    {22.25, 28.25}, {17.75, 19.25}, {25.25, 19.25}};
  auto inArrow = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < kPointerSize && y < kPointerSize && InsidePolygon(arrow, x + 0.5, y + 0.5);
  };
  auto onOutline = [&](int x, int y) {
    return inArrow(x, y) && !(inArrow(x - 1, y) && inArrow(x + 1, y) && inArrow(x, y - 1) && inArrow(x, y + 1));
  };
  for (int y = 0; y < kPointerSize; ++y) {
    for (int x = 0; x < kPointerSize; ++x) {
      if (!inArrow(x, y))
        continue;
      if (onOutline(x, y)) {
        canvas.Set(x, y, kBlack);
      } else if (onOutline(x + 1, y)) {
        canvas.Set(x, y, kLightGrey);  // shade along the lower right, as if lit from the upper left
      }
    }
  }
  return canvas;
}

CursorImage DrawHandCursor() {
  // Later parts cover earlier ones; fingers are drawn from the little finger to
  // the index so that each owns the column where it meets the next.
  enum Part { kNone, kPalm, kThumb, kLittle, kRing, kMiddle, kIndex };
  struct Piece {
    Part part;
    std::function<bool(int, int)> contains;
  };
  auto rect = [](RoundedRect r) { return [r](int x, int y) { return r.Contains(x, y); }; };
  const Piece pieces[] = {
      {kPalm, rect({4, 12, 18, 25, 3.5})},
      {kThumb,
       [](int x, int y) {
         return Capsule{2.0, 12.0, 6.0, 18.5, 2.1}.Contains(x, y);
       }},
      {kLittle, rect({15, 10, 18, 16, 1.5})},
      {kRing, rect({12, 8, 15, 16, 1.5})},
      {kMiddle, rect({8, 7, 12, 16, 1.5})},
      {kIndex, rect({4, 1, 8, 16, 2.5})},
  };
  std::vector<Part> parts(kPointerSize * kPointerSize, kNone);
  auto partAt = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= kPointerSize || y >= kPointerSize)
      return kNone;
    return parts[static_cast<std::size_t>(y) * kPointerSize + x];
  };
  for (const Piece& piece : pieces)
    for (int y = 0; y < kPointerSize; ++y)
      for (int x = 0; x < kPointerSize; ++x)
        if (piece.contains(x, y))
          parts[static_cast<std::size_t>(y) * kPointerSize + x] = piece.part;

  auto isFinger = [](Part p) { return p >= kLittle; };
  CursorImage cursor{kPointerSize, kPointerSize, {}, 6, 1};
  cursor.pixels.resize(parts.size(), CursorPixel::Transparent);
  for (int y = 0; y < kPointerSize; ++y) {
    for (int x = 0; x < kPointerSize; ++x) {
      const Part here = partAt(x, y);
      if (here == kNone)
        continue;
      const bool edge = partAt(x - 1, y) == kNone || partAt(x + 1, y) == kNone || partAt(x, y - 1) == kNone ||
                        partAt(x, y + 1) == kNone;
      // A line parts neighbouring fingers down to where they join the palm.
      const bool seam = isFinger(here) && isFinger(partAt(x - 1, y)) && partAt(x - 1, y) != here;
      // The thumb's crease against the palm, on its upper half.
      const bool crease = here == kThumb && partAt(x + 1, y) == kPalm && y < 15;
      cursor.pixels[static_cast<std::size_t>(y) * kPointerSize + x] =
          edge || seam || crease ? CursorPixel::Black : CursorPixel::White;
    }
  }
  return cursor;
}

}  // namespace quorvin
