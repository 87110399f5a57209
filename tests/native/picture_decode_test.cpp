#include "ui/picture_decode.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#ifndef QUORVIN_PICTURES_DIR
#error "QUORVIN_PICTURES_DIR must name the folder of the shipped pictures"
#endif

namespace quorvin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// No shipped picture contains it, so a pixel blended onto it would stand out.
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kWindowGreen{79, 185, 111};
constexpr Rgb kBandGreen{95, 212, 131};
constexpr Rgb kMinimizeBar{30, 100, 47};
constexpr Rgb kMinimizeBarLit{50, 139, 76};
constexpr Rgb kCloseCross{28, 98, 46};
constexpr Rgb kCloseCrossLit{48, 140, 75};
constexpr Rgb kLabelGreen{78, 185, 111};
constexpr Rgb kWhite{255, 255, 255};

Bytes ReadPicture(const std::string& name) {
  std::ifstream file(std::string(QUORVIN_PICTURES_DIR) + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Describe(Rgb c) {
  std::ostringstream out;
  out << "RGB(" << int{c.r} << "," << int{c.g} << "," << int{c.b} << ")";
  return out.str();
}

Rgb PixelAt(const DecodedPicture& picture, int x, int y) {
  const std::uint8_t* p = &picture.bgrx[(static_cast<std::size_t>(y) * picture.width + x) * 4];
  return {p[2], p[1], p[0]};
}

// Every fourth byte is the unused channel that a DIB section expects as 0xFF.
int CountPixelsWithoutFullX(const DecodedPicture& picture) {
  int count = 0;
  for (std::size_t i = 3; i < picture.bgrx.size(); i += 4)
    count += picture.bgrx[i] != 0xFF;
  return count;
}

bool IsNear(Rgb got, Rgb want, int tolerance) {
  return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
         std::abs(got.b - want.b) <= tolerance;
}

struct Sample {
  int x, y;
  Rgb colour;
  const char* what;
};

struct ShippedPicture {
  const char* name;
  int width, height;
  int tolerance;  // JPEG rounds flat colours by a few levels, more next to an edge
  std::vector<Sample> samples;
};

const std::vector<ShippedPicture>& ShippedPictures() {
  static const std::vector<ShippedPicture> pictures = {
      {"window_background.jpg",
       391,
       239,
       6,
       {{195, 119, kWindowGreen, "centre"},
        {20, 20, kWindowGreen, "inside the band, top left"},
        {370, 220, kWindowGreen, "inside the band, bottom right"},
        {1, 119, kBandGreen, "left band"},
        {389, 119, kBandGreen, "right band"},
        {195, 1, kBandGreen, "top band"},
        {195, 237, kBandGreen, "bottom band"},
        {0, 0, kBandGreen, "top left corner"}}},
      {"mouse.jpg",
       60,
       60,
       8,
       {{2, 2, kWindowGreen, "green, top left"},
        {57, 57, kWindowGreen, "green, bottom right"},
        {3, 56, kWindowGreen, "green, bottom left"},
        {56, 3, kWindowGreen, "green, top right"},
        {22, 38, kWhite, "body near the palm end"},
        {30, 30, kWhite, "body in the middle"}}},
      {"minimize_normal.jpg",
       45,
       32,
       8,
       {{22, 0, kBandGreen, "band, row 0"},
        {40, 1, kBandGreen, "band, row 1"},
        {15, 10, kMinimizeBar, "bar, left"},
        {22, 10, kMinimizeBar, "bar, middle"},
        {30, 10, kMinimizeBar, "bar, right"},
        {22, 5, kWindowGreen, "above the bar"},
        {22, 15, kWindowGreen, "below the bar"},
        {8, 10, kWindowGreen, "left of the bar"},
        {38, 10, kWindowGreen, "right of the bar"}}},
      {"minimize_hover.jpg",
       45,
       32,
       8,
       {{22, 0, kBandGreen, "band"},
        {22, 10, kMinimizeBarLit, "bar, middle"},
        {30, 10, kMinimizeBarLit, "bar, right"},
        {22, 15, kWindowGreen, "below the bar"}}},
      {"minimize_pressed.jpg",
       45,
       32,
       8,
       {{22, 0, kBandGreen, "band"},
        {22, 12, kMinimizeBarLit, "bar, lowered"},
        {15, 13, kMinimizeBarLit, "bar's bottom row, lowered"},
        {22, 8, kWindowGreen, "where the bar's top row was"},
        {22, 17, kWindowGreen, "below the bar"}}},
      {"close_normal.jpg",
       45,
       32,
       10,
       {{22, 0, kBandGreen, "band"},
        {23, 12, kCloseCross, "cross centre"},
        {17, 7, kCloseCross, "upper left arm"},
        {29, 7, kCloseCross, "upper right arm"},
        {29, 18, kCloseCross, "lower right arm"},
        {23, 7, kWindowGreen, "between the upper arms"},
        {23, 22, kWindowGreen, "below the cross"}}},
      {"close_hover.jpg",
       45,
       32,
       10,
       {{22, 0, kBandGreen, "band"},
        {23, 12, kCloseCrossLit, "cross centre"},
        {17, 18, kCloseCrossLit, "lower left arm"}}},
      {"close_pressed.jpg",
       45,
       32,
       10,
       {{22, 0, kBandGreen, "band"},
        {23, 14, kCloseCrossLit, "cross centre, lowered"},
        {17, 9, kCloseCrossLit, "upper left arm, lowered"},
        {17, 20, kCloseCrossLit, "lower left arm, lowered"},
        {17, 6, kWindowGreen, "where the upper left arm began"}}},
      {"label_background.png",
       71,
       67,
       0,
       {{0, 0, kLabelGreen, "top left"}, {35, 33, kLabelGreen, "centre"}, {70, 66, kLabelGreen, "bottom right"}}},
  };
  return pictures;
}

TEST(PictureDecode, ShippedPicturesDecodeToTheirSizeAndColours) {
  for (const ShippedPicture& shipped : ShippedPictures()) {
    const Bytes bytes = ReadPicture(shipped.name);
    ASSERT_FALSE(bytes.empty()) << shipped.name << ": not found in " << QUORVIN_PICTURES_DIR;
    const auto picture = DecodePicture(bytes, kMagenta);
    ASSERT_TRUE(picture.has_value()) << shipped.name << ": refused";
    EXPECT_EQ(picture->width, shipped.width) << shipped.name << ": width";
    EXPECT_EQ(picture->height, shipped.height) << shipped.name << ": height";
    ASSERT_EQ(picture->bgrx.size(), static_cast<std::size_t>(picture->width) * picture->height * 4)
        << shipped.name << ": pixel bytes for " << picture->width << "x" << picture->height;
    EXPECT_EQ(CountPixelsWithoutFullX(*picture), 0) << shipped.name << ": pixels whose fourth byte is not 0xFF";
    for (const Sample& sample : shipped.samples) {
      const Rgb got = PixelAt(*picture, sample.x, sample.y);
      EXPECT_TRUE(IsNear(got, sample.colour, shipped.tolerance))
          << shipped.name << " at (" << sample.x << "," << sample.y << "), " << sample.what << ": " << Describe(got)
          << ", want " << Describe(sample.colour) << " within " << shipped.tolerance;
    }
  }
}

TEST(PictureDecode, RecognisesFormatsByLeadingBytes) {
  struct Case {
    const char* what;
    Bytes bytes;
    PictureFormat want;
  };
  const Case cases[] = {
      {"empty", {}, PictureFormat::Unknown},
      {"one byte of the JPEG mark", {0xFF}, PictureFormat::Unknown},
      {"JPEG mark", {0xFF, 0xD8}, PictureFormat::Jpeg},
      {"JPEG mark reversed", {0xD8, 0xFF, 0xE0}, PictureFormat::Unknown},
      {"three bytes of the PNG mark", {0x89, 0x50, 0x4E}, PictureFormat::Unknown},
      {"PNG mark", {0x89, 0x50, 0x4E, 0x47}, PictureFormat::Png},
      {"GIF", {'G', 'I', 'F', '8', '9', 'a'}, PictureFormat::Unknown},
      {"BMP", {'B', 'M', 0x36, 0, 0, 0}, PictureFormat::Unknown},
      {"shipped JPEG", ReadPicture("mouse.jpg"), PictureFormat::Jpeg},
      {"shipped PNG", ReadPicture("label_background.png"), PictureFormat::Png},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RecognisePicture(c.bytes), c.want)
        << c.what << ": format " << static_cast<int>(RecognisePicture(c.bytes));
}

TEST(PictureDecode, RefusesInputsThatAreNoPicture) {
  const Bytes inputs[] = {
      {},
      {0xFF},
      {0xFF, 0xD8},
      {0xFF, 0xD8, 0xFF},
      {0x89, 0x50, 0x4E, 0x47},
      {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0},
      Bytes(64, 0x00),
      Bytes(64, 0xFF),
  };
  for (const Bytes& input : inputs) {
    EXPECT_FALSE(DecodePicture(input, kMagenta).has_value()) << "input of " << input.size() << " bytes decoded";
  }
}

// Where a marker's segment starts (the FF byte), or npos.
std::size_t FindMarker(const Bytes& jpeg, std::uint8_t marker) {
  for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == marker)
      return i;
  return std::string::npos;
}

std::size_t FindChunk(const Bytes& png, const char* type) {
  const auto at = std::search(png.begin(), png.end(), type, type + 4);
  return at == png.end() ? std::string::npos : static_cast<std::size_t>(at - png.begin());
}

// The first byte of entropy-coded data after the start of scan.
std::size_t ScanDataStart(const Bytes& jpeg) {
  const std::size_t sos = FindMarker(jpeg, 0xDA);
  return sos + 2 + (jpeg[sos + 2] << 8 | jpeg[sos + 3]);
}

struct Damage {
  const char* what;
  const char* picture;
  std::function<void(Bytes&)> apply;
};

Damage CutTo(const char* picture, const char* what, std::function<std::size_t(std::size_t)> length) {
  return {what, picture, [length](Bytes& b) { b.resize(length(b.size())); }};
}

Damage Overwrite(const char* picture, const char* what, std::function<std::size_t(const Bytes&)> offset, Bytes values) {
  return {what, picture, [offset, values](Bytes& b) {
            const std::size_t at = offset(b);
            for (std::size_t i = 0; i < values.size(); ++i)
              b.at(at + i) = values[i];
          }};
}

TEST(PictureDecode, RefusesTruncatedAndDamagedPictures) {
  auto sof = [](const Bytes& b) { return FindMarker(b, 0xC0); };
  const Damage damages[] = {
      CutTo("window_background.jpg", "cut inside the JFIF header", [](std::size_t) { return 20; }),
      CutTo("window_background.jpg", "cut before the scan", [](std::size_t n) { return n / 8; }),
      CutTo("window_background.jpg", "cut in half", [](std::size_t n) { return n / 2; }),
      CutTo("mouse.jpg", "cut at 60%", [](std::size_t n) { return n * 6 / 10; }),
      CutTo("mouse.jpg", "end of image marker cut off", [](std::size_t n) { return n - 2; }),
      CutTo("minimize_normal.jpg", "last byte cut off", [](std::size_t n) { return n - 1; }),
      CutTo("label_background.png", "signature only", [](std::size_t) { return 8; }),
      CutTo("label_background.png", "cut after the header chunk", [](std::size_t) { return 33; }),
      CutTo("label_background.png", "cut in half", [](std::size_t n) { return n / 2; }),
      CutTo("label_background.png", "end chunk cut off", [](std::size_t n) { return n - 12; }),
      CutTo("label_background.png", "last byte cut off", [](std::size_t n) { return n - 1; }),
      Overwrite("minimize_normal.jpg", "frame height 0", [&](const Bytes& b) { return sof(b) + 5; }, {0, 0}),
      Overwrite("minimize_normal.jpg", "frame width 0", [&](const Bytes& b) { return sof(b) + 7; }, {0, 0}),
      Overwrite("minimize_normal.jpg", "frame width beyond the limit", [&](const Bytes& b) { return sof(b) + 7; },
                {0x40, 0x01}),
      Overwrite("minimize_normal.jpg", "frame with 0 components", [&](const Bytes& b) { return sof(b) + 9; }, {0}),
      Overwrite("minimize_normal.jpg", "sample precision 3", [&](const Bytes& b) { return sof(b) + 4; }, {3}),
      Overwrite("minimize_normal.jpg", "Huffman table index out of range",
                [](const Bytes& b) { return FindMarker(b, 0xC4) + 4; }, {0x17}),
      Overwrite("minimize_normal.jpg", "quantisation table index out of range",
                [](const Bytes& b) { return FindMarker(b, 0xDB) + 4; }, {0x0B}),
      Overwrite("minimize_normal.jpg", "frame type lossless", [&](const Bytes& b) { return sof(b) + 1; }, {0xC3}),
      Overwrite("close_normal.jpg", "end of image marker inside the scan",
                [](const Bytes& b) { return ScanDataStart(b) + 40; }, {0xFF, 0xD9}),
      Overwrite("mouse.jpg", "unexpected marker inside the scan", [](const Bytes& b) { return ScanDataStart(b) + 200; },
                {0xFF, 0xD3}),
      Overwrite("label_background.png", "signature damaged as by a text-mode copy", [](const Bytes&) { return 4; },
                {0x0A}),
      Overwrite("label_background.png", "header width changed (checksum fails)", [](const Bytes&) { return 18; },
                {0x7F}),
      Overwrite("label_background.png", "ancillary chunk changed (checksum fails, libpng only warns)",
                [](const Bytes& b) { return FindChunk(b, "sRGB") + 4; }, {0x03}),
      Overwrite("label_background.png", "header bit depth 3", [](const Bytes&) { return 24; }, {3}),
      Overwrite("label_background.png", "image data changed (checksum fails)",
                [](const Bytes& b) { return FindChunk(b, "IDAT") + 8; }, {0x5A}),
  };
  for (const Damage& damage : damages) {
    Bytes bytes = ReadPicture(damage.picture);
    ASSERT_FALSE(bytes.empty()) << damage.picture << ": not found in " << QUORVIN_PICTURES_DIR;
    damage.apply(bytes);
    EXPECT_FALSE(DecodePicture(bytes, kMagenta).has_value()) << damage.picture << ", " << damage.what << ": decoded";
  }
}

// Changed entropy-coded bits need not be detectable (JPEG has no checksum), so
// all this asks is that every outcome is either a refusal or a whole picture.
TEST(PictureDecode, DamagedJpegScanDataGivesWholePictureOrNothing) {
  const Bytes original = ReadPicture("mouse.jpg");
  ASSERT_FALSE(original.empty()) << "mouse.jpg: not found in " << QUORVIN_PICTURES_DIR;
  const std::size_t start = ScanDataStart(original);
  const std::size_t end = original.size() - 2;
  for (std::size_t at = start; at < end; at += 37) {
    for (const std::uint8_t flip : {std::uint8_t{0x01}, std::uint8_t{0x80}, std::uint8_t{0xFF}}) {
      Bytes bytes = original;
      bytes[at] ^= flip;
      const auto picture = DecodePicture(bytes, kMagenta);
      if (!picture)
        continue;
      EXPECT_EQ(picture->bgrx.size(), std::size_t{60 * 60 * 4}) << "mouse.jpg byte " << at << " ^ " << int{flip};
      EXPECT_EQ(CountPixelsWithoutFullX(*picture), 0) << "mouse.jpg byte " << at << " ^ " << int{flip};
    }
  }
}

// A PNG made here with libpng's writer, from top-down RGBA or grey pixels.
Bytes MakePng(std::uint32_t width, std::uint32_t height, std::uint32_t format, const Bytes& pixels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr)) << image.message;
  Bytes png(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr)) << image.message;
  png.resize(size);
  return png;
}

TEST(PictureDecode, BlendsTranslucentPngPixelsOntoTheBackground) {
  constexpr Rgb kBackground{200, 100, 50};
  struct Pixel {
    std::uint8_t r, g, b, a;
  };
  const Pixel pixels[] = {{10, 20, 30, 255}, {250, 0, 128, 128}, {0, 255, 0, 64}, {255, 255, 255, 0}};
  Bytes rgba;
  for (const Pixel& p : pixels) {
    // One at a time: GCC 12 at -O3 wrongly sees an overflow in the list insert.
    for (std::uint8_t channel : {p.r, p.g, p.b, p.a}) rgba.push_back(channel);
  }
  const Bytes png = MakePng(std::size(pixels), 1, PNG_FORMAT_RGBA, rgba);

  const auto picture = DecodePicture(png, kBackground);
  ASSERT_TRUE(picture.has_value()) << "translucent 4x1 PNG refused";
  ASSERT_EQ(picture->width, 4);
  ASSERT_EQ(picture->height, 1);
  EXPECT_EQ(CountPixelsWithoutFullX(*picture), 0) << "blended pixels must come out opaque";
  for (int x = 0; x < 4; ++x) {
    const Pixel& p = pixels[x];
    // Over compositing, exact; the decoder must land on the nearest level.
    auto over = [&](std::uint8_t colour, std::uint8_t background) {
      return (colour * p.a + background * (255.0 - p.a)) / 255.0;
    };
    const Rgb got = PixelAt(*picture, x, 0);
    EXPECT_NEAR(got.r, over(p.r, kBackground.r), 0.5)
        << "pixel " << x << " alpha " << int{p.a} << ": " << Describe(got);
    EXPECT_NEAR(got.g, over(p.g, kBackground.g), 0.5)
        << "pixel " << x << " alpha " << int{p.a} << ": " << Describe(got);
    EXPECT_NEAR(got.b, over(p.b, kBackground.b), 0.5)
        << "pixel " << x << " alpha " << int{p.a} << ": " << Describe(got);
  }
}

TEST(PictureDecode, RefusesPicturesBeyondTheSizeLimit) {
  struct Case {
    std::uint32_t width, height;
    bool accepted;
  };
  constexpr auto kLimit = static_cast<std::uint32_t>(kMaxPictureSide);
  const Case cases[] = {{kLimit, 1, true}, {1, kLimit, true}, {kLimit + 1, 1, false}, {1, kLimit + 1, false}};
  for (const Case& c : cases) {
    const Bytes png = MakePng(c.width, c.height, PNG_FORMAT_GRAY, Bytes(std::size_t{c.width} * c.height, 0x80));
    const auto picture = DecodePicture(png, kMagenta);
    EXPECT_EQ(picture.has_value(), c.accepted) << c.width << "x" << c.height << " grey PNG";
    if (picture) {
      EXPECT_EQ(PixelAt(*picture, 0, 0).g, 0x80) << c.width << "x" << c.height << " grey PNG";
    }
  }
}

}  // namespace
}  // namespace quorvin
