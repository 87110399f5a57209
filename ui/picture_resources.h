#pragma once

#include <cstdint>
#include <span>

#include "ui/control_table.h"

namespace quorvin {

// The bytes of a picture as the executable carries them (RCDATA, read in place); empty when
// the executable has no such picture.
std::span<const std::uint8_t> PictureBytes(PictureId id);

// Where pictures come from; the executable's resources unless a test substitutes its own.
using PictureSource = std::span<const std::uint8_t> (*)(PictureId id);
void SetPictureSource(PictureSource source);

}  // namespace quorvin
