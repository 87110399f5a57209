#pragma once

// The per-format decoders behind DecodePicture; only picture_decode.cpp calls them.

#include <cstdint>
#include <optional>
#include <span>

#include "ui/picture_decode.h"

namespace quorvin {

bool IsAcceptablePictureSize(std::uint32_t width, std::uint32_t height);

std::optional<DecodedPicture> DecodeJpeg(std::span<const std::uint8_t> bytes);
std::optional<DecodedPicture> DecodePng(std::span<const std::uint8_t> bytes, Rgb background);

}  // namespace quorvin
