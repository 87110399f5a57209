#include "ui/picture_decode.h"

#include <algorithm>
#include <initializer_list>
#include <new>

#include "ui/picture_decoders.h"

namespace quorvin {

PictureFormat RecognisePicture(std::span<const std::uint8_t> bytes) {
  auto startsWith = [&](std::initializer_list<std::uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
  };
  if (startsWith({0xFF, 0xD8}))
    return PictureFormat::Jpeg;
  if (startsWith({0x89, 0x50, 0x4E, 0x47}))
    return PictureFormat::Png;
  return PictureFormat::Unknown;
}

bool IsAcceptablePictureSize(std::uint32_t width, std::uint32_t height) {
  const auto limit = static_cast<std::uint32_t>(kMaxPictureSide);
  return width > 0 && height > 0 && width <= limit && height <= limit;
}

std::optional<DecodedPicture> DecodePicture(std::span<const std::uint8_t> bytes, Rgb background) {
  try {
    switch (RecognisePicture(bytes)) {
      case PictureFormat::Jpeg:
        return DecodeJpeg(bytes);
      case PictureFormat::Png:
        return DecodePng(bytes, background);
      case PictureFormat::Unknown:
        break;
    }
  } catch (const std::bad_alloc&) {
    // A picture too big for the memory left is dropped like a damaged one.
  }
  return std::nullopt;
}

}  // namespace quorvin
