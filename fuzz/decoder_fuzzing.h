#pragma once

// What both decoder fuzzers check of one input: any crash, sanitizer report or broken
// result is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "ui/picture_decode.h"

inline int FuzzOneDecoder(const std::uint8_t* data, std::size_t size, quorvin::PictureFormat format,
                          quorvin::Rgb background) {
  const std::span<const std::uint8_t> bytes(data, size);
  // Other inputs never reach this decoder's library; leave them to the other fuzzer.
  if (quorvin::RecognisePicture(bytes) != format)
    return 0;
  const auto picture = quorvin::DecodePicture(bytes, background);
  if (!picture)
    return 0;
  if (picture->width <= 0 || picture->height <= 0 ||
      picture->bgrx.size() != static_cast<std::size_t>(picture->width) * picture->height * 4)
    std::abort();
  // Translucent pixels are blended, so every pixel must come out opaque.
  for (std::size_t i = 3; i < picture->bgrx.size(); i += 4)
    if (picture->bgrx[i] != 0xFF)
      std::abort();
  return 0;
}
