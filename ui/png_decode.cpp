#include <algorithm>
#include <vector>

#include <png.h>

#include "ui/picture_decoders.h"

namespace quorvin {
namespace {

// Alpha compositing of one 8-bit channel over the background, rounded to nearest.
std::uint8_t Blend(std::uint8_t colour, std::uint8_t background, std::uint8_t alpha) {
  return static_cast<std::uint8_t>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

// libpng stops reading once it has the pixels, so a file cut anywhere after
// them would pass. Requiring the end chunk (empty, so always these 12 bytes)
// makes every truncated PNG fail, as every truncated JPEG does.
bool EndsWithEndChunk(std::span<const std::uint8_t> bytes) {
  static constexpr std::uint8_t kEndChunk[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  return bytes.size() >= std::size(kEndChunk) &&
         std::equal(std::begin(kEndChunk), std::end(kEndChunk), bytes.end() - std::size(kEndChunk));
}

// Frees what libpng holds for the image on every way out; libpng allows it twice.
struct PngImage {
  png_image image{};
  PngImage() { image.version = PNG_IMAGE_VERSION; }
  ~PngImage() { png_image_free(&image); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;
};

}  // namespace

// libpng's simplified API catches its own errors (it longjmps only inside
// libpng) and reports them as a 0 result, so nothing here can end the process.
std::optional<DecodedPicture> DecodePng(std::span<const std::uint8_t> bytes, Rgb background) {
  if (!EndsWithEndChunk(bytes))
    return std::nullopt;
  PngImage png;
  png_image& image = png.image;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    return std::nullopt;
  if (!IsAcceptablePictureSize(image.width, image.height))
    return std::nullopt;
  image.format = PNG_FORMAT_BGRA;
  DecodedPicture picture;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.bgrx.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.bgrx.data(), 0, nullptr))
    return std::nullopt;
  // libpng turns data it can get past (a short image stream, a bad ancillary
  // chunk) into warnings; as with JPEG, such a picture is dropped, not drawn.
  if (image.warning_or_error != 0)
    return std::nullopt;
  for (std::size_t i = 0; i < picture.bgrx.size(); i += 4) {
    std::uint8_t* pixel = &picture.bgrx[i];
    const std::uint8_t alpha = pixel[3];
    if (alpha == 0xFF)
      continue;
    pixel[0] = Blend(pixel[0], background.b, alpha);
    pixel[1] = Blend(pixel[1], background.g, alpha);
    pixel[2] = Blend(pixel[2], background.r, alpha);
    pixel[3] = 0xFF;
  }
  return picture;
}

}  // namespace quorvin
