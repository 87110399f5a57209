// Feeds arbitrary bytes to the picture decoder by way of the JPEG reader.
#include "fuzz/decoder_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzOneDecoder(data, size, quorvin::PictureFormat::Jpeg, {0, 0, 0});
}
