#include <algorithm>
#include <cmath>

#include "tools/make_pictures/drawings.h"

namespace quorvin {
namespace {

constexpr int kButtonWidth = 45;
constexpr int kButtonHeight = 32;

// Distance from (x, y) to the segment from (ax, ay) to (bx, by), and where along
// it (0 to 1) the nearest point lies.
struct SegmentPoint {
  double distance;
  double along;
};

SegmentPoint NearestOnSegment(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax;
  const double dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return {std::hypot(x - (ax + t * dx), y - (ay + t * dy)), t};
}

struct AxisPoint {
  double x, y;
};

// The buttons sit on the window's top edge, so their top rows carry its light band.
Canvas ButtonTile() {
  Canvas tile(kButtonWidth, kButtonHeight, kWindowGreen);
  tile.FillRect(0, 0, kButtonWidth - 1, 1, kBandGreen);
  return tile;
}

}  // namespace

Canvas DrawWindowBackground() {
  constexpr int kWidth = 391;
  constexpr int kHeight = 239;
  constexpr int kBand = 3;
  Canvas canvas(kWidth, kHeight, kBandGreen);
  canvas.FillRect(kBand, kBand, kWidth - 1 - kBand, kHeight - 1 - kBand, kWindowGreen);
  return canvas;
}

Canvas DrawMinimizeButton(Colour bar, int barTop) {
  Canvas tile = ButtonTile();
  tile.FillRect(14, barTop, 31, barTop + 2, bar);
  return tile;
}

Canvas DrawCloseButton(Colour cross, int shiftDown) {
  Canvas tile = ButtonTile();
  const double left = 16.5, right = 30.5;
  const double top = 6.5 + shiftDown, bottom = 19.5 + shiftDown;
  constexpr double kHalfStroke = 1.6;
  // Both strokes end square at the cross's box, x 16–30 and y 6–19 (shifted).
  auto inBox = [&](double x, double y) {
    return x >= left - 0.5 && x < right + 0.5 && y >= top - 0.5 && y < bottom + 0.5;
  };
  auto onStroke = [&](double x, double y, double ax, double ay, double bx, double by) {
    // Measure against the diagonal extended past its ends, so the box cuts it, not a round cap.
    const double dx = bx - ax, dy = by - ay;
    const double length = std::hypot(dx, dy);
    return std::abs((x - ax) * dy - (y - ay) * dx) / length <= kHalfStroke;
  };
  tile.FillShape(
      [&](double x, double y) {
        return inBox(x, y) && (onStroke(x, y, left, top, right, bottom) || onStroke(x, y, right, top, left, bottom));
      },
      cross);
  return tile;
}

Canvas DrawLabelBackground() {
  return Canvas(71, 67, Colour{78, 185, 111});
}

Canvas DrawMouse() {
  constexpr int kSize = 60;
  Canvas canvas(kSize, kSize, kWindowGreen);
  // The body is a capsule along the diagonal from lower left to upper right,
  // slightly wider at the palm end, like a real mouse.
  const double lowX = 19.0, lowY = 41.0;    // centre of the palm end
  const double highX = 39.0, highY = 21.0;  // centre of the button end
  const double lowRadius = 13.5, highRadius = 11.5;
  auto body = [&](double grow) {
    return [=](double x, double y) {
      const SegmentPoint p = NearestOnSegment(x, y, lowX, lowY, highX, highY);
      return p.distance <= lowRadius + (highRadius - lowRadius) * p.along + grow;
    };
  };
  canvas.FillShape(body(1.2), Colour{40, 110, 62});  // a darker rim keeps the edge crisp on green
  canvas.FillShape(body(0.0), Colour{232, 236, 234});
  canvas.FillShape(body(-1.6), Colour{255, 255, 255});
  // Points on the body's axis, measured from the centre of the button end.
  const double length = std::hypot(highX - lowX, highY - lowY);
  auto alongAxis = [&](double t) {
    return AxisPoint{highX + (highX - lowX) / length * t, highY + (highY - lowY) / length * t};
  };
  auto nearSegment = [](AxisPoint from, AxisPoint to, double radius) {
    return [=](double x, double y) { return NearestOnSegment(x, y, from.x, from.y, to.x, to.y).distance <= radius; };
  };
  // The seam between the two buttons runs from the wheel to the front.
  canvas.FillShape(nearSegment(alongAxis(2.0), alongAxis(highRadius), 0.45), Colour{160, 164, 162});
  // The wheel: a short grey capsule on the axis, just behind the front, lit along its middle.
  canvas.FillShape(nearSegment(alongAxis(-1.5), alongAxis(2.5), 2.0), Colour{120, 124, 122});
  canvas.FillShape(nearSegment(alongAxis(-1.5), alongAxis(2.5), 0.8), Colour{160, 164, 162});
  return canvas;
}

}  // namespace quorvin
