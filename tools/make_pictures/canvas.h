#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quorvin {

struct Colour {
  std::uint8_t r, g, b;
};

// An RGB raster, top-down, that the picture drawings paint into.
class Canvas {
 public:
  Canvas(int width, int height, Colour fill)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  Colour At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, Colour colour) { pixels_[Index(x, y)] = colour; }

  // Right and bottom are inclusive, as picture positions are quoted (x 14–31).
  void FillRect(int left, int top, int right, int bottom, Colour colour) {
    for (int y = std::max(top, 0); y <= std::min(bottom, height_ - 1); ++y)
      for (int x = std::max(left, 0); x <= std::min(right, width_ - 1); ++x)
        Set(x, y, colour);
  }

  // Paints colour where inside(x, y) holds, with x and y in pixel units (pixel
  // centres at .5). Each pixel is sampled 4×4 times and blended by coverage, so
  // round and slanted edges come out smooth.
  template <class Inside>
  void FillShape(Inside inside, Colour colour) {
    constexpr int kSamples = 4;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        int hits = 0;
        for (int sy = 0; sy < kSamples; ++sy)
          for (int sx = 0; sx < kSamples; ++sx)
            if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples))
              ++hits;
        if (hits > 0)
          Set(x, y, Mix(At(x, y), colour, hits, kSamples * kSamples));
      }
    }
  }

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

  static Colour Mix(Colour under, Colour over, int part, int whole) {
    auto channel = [&](std::uint8_t a, std::uint8_t b) {
      return static_cast<std::uint8_t>((a * (whole - part) + b * part + whole / 2) / whole);
    };
    return {channel(under.r, over.r), channel(under.g, over.g), channel(under.b, over.b)};
  }

  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

}  // namespace quorvin
