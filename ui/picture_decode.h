#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quorvin {

struct Rgb {
  std::uint8_t r, g, b;
};

enum class PictureFormat { Unknown, Jpeg, Png };

// Which decoder a picture's bytes are for, from their leading bytes alone.
PictureFormat RecognisePicture(std::span<const std::uint8_t> bytes);

// Pixels ready for a 32-bit top-down DIB section: rows from the top, 4 bytes a
// pixel in the order B, G, R, 0xFF.
struct DecodedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgrx;
};

// Larger pictures are refused before anything is allocated for them; the
// program's own are a few hundred pixels at most.
inline constexpr int kMaxPictureSide = 16384;

// Decodes a JPEG or PNG held in memory. A pixel that is not fully opaque is
// blended onto background. Returns nothing for anything that is not a complete,
// clean picture: unknown format, damaged or truncated data, sizes of 0 or above
// kMaxPictureSide, or lack of memory. Never ends the process.
std::optional<DecodedPicture> DecodePicture(std::span<const std::uint8_t> bytes, Rgb background);

}  // namespace quorvin
