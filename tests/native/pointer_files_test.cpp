// The icon and cursor files go into the executable as they are and Windows
// reads them, so their headers must say exactly what the window expects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef QUORVIN_PICTURES_DIR
#error "QUORVIN_PICTURES_DIR must name the folder of the shipped pictures"
#endif

namespace quorvin {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadPicture(const std::string& name) {
  std::ifstream file(std::string(QUORVIN_PICTURES_DIR) + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

unsigned Read16(const Bytes& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8;
}
std::uint32_t Read32(const Bytes& b, std::size_t at) {
  return Read16(b, at) | std::uint32_t{Read16(b, at + 2)} << 16;
}

// One image of 32×32: directory (6 bytes), one entry (16), then the bitmap header.
constexpr std::size_t kEntry = 6;
constexpr std::size_t kImage = 6 + 16;
constexpr int kSide = 32;
constexpr std::size_t kMaskBytes = kSide / 8 * kSide;

// A bit of a bottom-up 1-bit mask starting at offset, for top-down (x, y).
bool MaskBit(const Bytes& b, std::size_t offset, int x, int y) {
  return (b.at(offset + static_cast<std::size_t>(kSide - 1 - y) * 4 + x / 8) >> (7 - x % 8)) & 1;
}

struct HeaderField {
  const char* what;
  std::size_t at;
  int size;
  std::uint32_t want;
};

void ExpectFields(const char* file, const Bytes& b, std::initializer_list<HeaderField> fields) {
  for (const HeaderField& f : fields) {
    const std::uint32_t got = f.size == 1 ? b.at(f.at) : f.size == 2 ? Read16(b, f.at) : Read32(b, f.at);
    EXPECT_EQ(got, f.want) << file << ": " << f.what << " at byte " << f.at;
  }
}

TEST(PointerFiles, IconIsOneOpaque24BitImageOfAnArrowOnWhite) {
  const Bytes icon = ReadPicture("app.ico");
  ASSERT_EQ(icon.size(), kImage + 40 + kSide * kSide * 3 + kMaskBytes) << "app.ico: size";
  ExpectFields("app.ico", icon,
               {{"reserved", 0, 2, 0},
                {"type (1 = icon)", 2, 2, 1},
                {"image count", 4, 2, 1},
                {"width", kEntry, 1, 32},
                {"height", kEntry + 1, 1, 32},
                {"planes", kEntry + 4, 2, 1},
                {"bits per pixel", kEntry + 6, 2, 24},
                {"image bytes", kEntry + 8, 4, 40 + 32 * 32 * 3 + 128},
                {"image offset", kEntry + 12, 4, kImage},
                {"header size", kImage, 4, 40},
                {"bitmap width", kImage + 4, 4, 32},
                {"bitmap height (colour and mask)", kImage + 8, 4, 64},
                {"bitmap bits per pixel", kImage + 14, 2, 24},
                {"compression", kImage + 16, 4, 0}});
  const std::size_t mask = icon.size() - kMaskBytes;
  EXPECT_TRUE(std::all_of(icon.begin() + static_cast<std::ptrdiff_t>(mask), icon.end(), [](std::uint8_t m) {
    return m == 0;
  })) << "app.ico: every mask bit must be 0 (opaque)";
  // Colours present: the white square, the black outline, the light grey shading.
  int white = 0, black = 0, grey = 0;
  for (std::size_t p = kImage + 40; p < mask; p += 3) {
    const int b = icon[p], g = icon[p + 1], r = icon[p + 2];
    white += r == 255 && g == 255 && b == 255;
    black += r == 0 && g == 0 && b == 0;
    grey += r == g && g == b && r >= 160 && r < 255;
  }
  EXPECT_GT(white, 32 * 32 / 2) << "app.ico: white pixels";
  EXPECT_GT(black, 40) << "app.ico: black outline pixels";
  EXPECT_GT(grey, 10) << "app.ico: light grey pixels";
  const std::size_t topLeft = kImage + 40 + static_cast<std::size_t>(kSide - 1) * kSide * 3;
  EXPECT_EQ(icon[topLeft] + icon[topLeft + 1] + icon[topLeft + 2], 3 * 255) << "app.ico: top left corner not white";
}

TEST(PointerFiles, CursorIsMonochromeWithTheFingerTipAtTheHotSpot) {
  const Bytes cursor = ReadPicture("hand.cur");
  ASSERT_EQ(cursor.size(), kImage + 40 + 8 + 2 * kMaskBytes) << "hand.cur: size";
  ExpectFields("hand.cur", cursor,
               {{"type (2 = cursor)", 2, 2, 2},
                {"image count", 4, 2, 1},
                {"width", kEntry, 1, 32},
                {"height", kEntry + 1, 1, 32},
                {"hot spot x", kEntry + 4, 2, 6},
                {"hot spot y", kEntry + 6, 2, 1},
                {"image bytes", kEntry + 8, 4, 40 + 8 + 256},
                {"image offset", kEntry + 12, 4, kImage},
                {"bitmap height (colour and mask)", kImage + 8, 4, 64},
                {"bitmap bits per pixel", kImage + 14, 2, 1},
                {"palette 0 (black)", kImage + 40, 4, 0x000000},
                {"palette 1 (white)", kImage + 44, 4, 0xFFFFFF}});
  const std::size_t colour = kImage + 48;
  const std::size_t mask = colour + kMaskBytes;
  int black = 0, white = 0;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const bool transparent = MaskBit(cursor, mask, x, y);
      const bool lit = MaskBit(cursor, colour, x, y);
      EXPECT_FALSE(transparent && lit) << "hand.cur: pixel (" << x << "," << y << ") inverts the screen";
      black += !transparent && !lit;
      white += !transparent && lit;
    }
  }
  EXPECT_GT(black, 40) << "hand.cur: black outline pixels";
  EXPECT_GT(white, 100) << "hand.cur: white fill pixels";
  EXPECT_FALSE(MaskBit(cursor, mask, 6, 1) || MaskBit(cursor, colour, 6, 1)) << "hand.cur: hot spot (6,1) not black";
  EXPECT_TRUE(MaskBit(cursor, mask, 6, 0)) << "hand.cur: (6,0) above the finger tip not transparent";
  EXPECT_TRUE(MaskBit(cursor, mask, 31, 31)) << "hand.cur: bottom right corner not transparent";
}

}  // namespace
}  // namespace quorvin
