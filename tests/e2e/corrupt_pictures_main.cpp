// The program with its pictures damaged on their way out of the resources, so that it has to
// draw its fallbacks. The first argument says which pictures, the second how:
//   quorvin_corrupt_pictures all|states [truncated|flipped|empty|foreign|mislabelled]
//   quorvin_corrupt_pictures intact
// "states" damages only the hover and pressed pictures of the two picture buttons.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "ui/picture_resources.h"

namespace {

using quorvin::PictureId;
using Bytes = std::vector<std::uint8_t>;

constexpr PictureId kEveryPicture[] = {
    PictureId::kWindowBackground, PictureId::kMouse,           PictureId::kMinimizeNormal,
    PictureId::kMinimizeHover,    PictureId::kMinimizePressed, PictureId::kCloseNormal,
    PictureId::kCloseHover,       PictureId::kClosePressed,    PictureId::kLabelBackground};
constexpr PictureId kStatePictures[] = {PictureId::kMinimizeHover, PictureId::kMinimizePressed,
                                        PictureId::kCloseHover, PictureId::kClosePressed};

constexpr std::uint8_t kPngSignature[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// A complete 1×1 GIF: a real picture, in a format the program does not read.
constexpr std::uint8_t kGif[] = {'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00, 0x80,
                                 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04,
                                 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01,
                                 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};

// The picture as the executable carries it, read in place as the program itself reads it.
std::span<const std::uint8_t> Original(PictureId id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(static_cast<int>(id)), RT_RCDATA);
  if (resource == nullptr)
    return {};
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr)
    return {};
  return {static_cast<const std::uint8_t*>(bytes), SizeofResource(module, resource)};
}

bool IsPng(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= sizeof(kPngSignature) &&
         std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin());
}

// A damaged copy of the bytes into `out`; false for a damage this program does not know.
bool Damage(std::span<const std::uint8_t> original, const std::wstring& how, Bytes& out) {
  out.assign(original.begin(), original.end());
  if (how == L"truncated") {
    out.resize(out.size() / 2);
  } else if (how == L"flipped") {
    // One bit in every sixteenth byte, from just past the signature, so that the format is
    // still recognised and its decoder is the one to find the damage.
    const std::size_t start = IsPng(original) ? sizeof(kPngSignature) : 2;
    for (std::size_t i = start; i < out.size(); i += 16)
      out[i] ^= 0x10;
  } else if (how == L"empty") {
    out.clear();
  } else if (how == L"foreign") {
    out.assign(std::begin(kGif), std::end(kGif));
  } else if (how == L"mislabelled") {
    // The other format's signature over the first bytes: the wrong decoder gets the rest.
    if (IsPng(original)) {
      out[0] = 0xFF;
      out[1] = 0xD8;
    } else {
      std::copy(std::begin(kPngSignature), std::end(kPngSignature), out.begin());
    }
  } else {
    return false;
  }
  return true;
}

std::map<PictureId, Bytes>& Substitutes() {
  static std::map<PictureId, Bytes> substitutes;
  return substitutes;
}

std::span<const std::uint8_t> DamagedSource(PictureId id) {
  const auto found = Substitutes().find(id);
  return found != Substitutes().end() ? std::span<const std::uint8_t>(found->second) : Original(id);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  std::wistringstream words(commandLine != nullptr ? commandLine : L"");
  std::wstring which, how;
  words >> which >> how;

  std::span<const PictureId> damaged;
  if (which == L"all") {
    damaged = kEveryPicture;
  } else if (which == L"states") {
    damaged = kStatePictures;
  } else if (which != L"intact") {
    return 2;  // a mistake in the test, not a run of the program
  }
  for (PictureId id : damaged) {
    const std::span<const std::uint8_t> original = Original(id);
    if (original.empty())
      return 3;  // built without the program's resources
    if (!Damage(original, how, Substitutes()[id]))
      return 2;
  }
  quorvin::SetPictureSource(&DamagedSource);
  return quorvin::RunProgram(instance);
}
