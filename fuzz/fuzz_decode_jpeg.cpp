// Feeds arbitrary bytes to the picture decoder by way of the JPEG reader; any
// crash, sanitizer report or broken result is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "ui/picture_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  // Other inputs never reach libjpeg; leave them to the other fuzzers.
  if (quorvin::RecognisePicture(bytes) != quorvin::PictureFormat::Jpeg)
    return 0;
  const auto picture = quorvin::DecodePicture(bytes, {0, 0, 0});
  if (!picture)
    return 0;
  if (picture->width <= 0 || picture->height <= 0 ||
      picture->bgrx.size() != static_cast<std::size_t>(picture->width) * picture->height * 4)
    std::abort();
  for (std::size_t i = 3; i < picture->bgrx.size(); i += 4)
    if (picture->bgrx[i] != 0xFF)
      std::abort();
  return 0;
}
