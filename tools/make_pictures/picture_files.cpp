#include "tools/make_pictures/picture_files.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <jpeglib.h>
#include <png.h>

namespace quorvin {
namespace {

using Bytes = std::vector<std::uint8_t>;

bool WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

void Put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// The BITMAPINFOHEADER of an icon or cursor image: its height counts the XOR
// bitmap and the AND mask together.
void PutImageHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageBytes) {
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height * 2));
  Put16(out, 1);  // planes
  Put16(out, static_cast<unsigned>(bitsPerPixel));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageBytes);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
}

// One file header and one directory entry; resource type 1 is an icon, 2 a cursor.
// For an icon the two 16-bit fields are planes and bit count, for a cursor the hot spot.
void PutDirectory(Bytes& out,
                  unsigned type,
                  int width,
                  int height,
                  unsigned colourCount,
                  unsigned field1,
                  unsigned field2,
                  std::uint32_t imageBytes) {
  Put16(out, 0);
  Put16(out, type);
  Put16(out, 1);
  out.push_back(static_cast<std::uint8_t>(width));
  out.push_back(static_cast<std::uint8_t>(height));
  out.push_back(static_cast<std::uint8_t>(colourCount));
  out.push_back(0);
  Put16(out, field1);
  Put16(out, field2);
  Put32(out, imageBytes);
  Put32(out, 6 + 16);
}

// Rows of a 1-bit mask padded to 32 bits, bottom-up as bitmaps are stored.
template <class Bit>
void PutMask(Bytes& out, int width, int height, Bit bit) {
  const int rowBytes = (width + 31) / 32 * 4;
  for (int y = height - 1; y >= 0; --y) {
    Bytes row(static_cast<std::size_t>(rowBytes), 0);
    for (int x = 0; x < width; ++x)
      if (bit(x, y))
        row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
}

int MaskBytes(int width, int height) {
  return (width + 31) / 32 * 4 * height;
}

}  // namespace

bool WriteJpeg(const std::string& path, const Canvas& canvas, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);  // a tool may stop on a libjpeg error
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(canvas.Width());
  info.image_height = static_cast<JDIMENSION>(canvas.Height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  // Full-resolution colour: with 2×2 chroma subsampling the thin dark bars and
  // strokes of the button pictures would bleed into the green around them.
  for (int c = 0; c < info.num_components; ++c) {
    info.comp_info[c].h_samp_factor = 1;
    info.comp_info[c].v_samp_factor = 1;
  }
  info.optimize_coding = TRUE;
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(canvas.Width()) * 3);
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < canvas.Width(); ++x) {
      const Colour c = canvas.At(x, y);
      row[static_cast<std::size_t>(x) * 3] = c.r;
      row[static_cast<std::size_t>(x) * 3 + 1] = c.g;
      row[static_cast<std::size_t>(x) * 3 + 2] = c.b;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  const bool written = WriteBytes(path, buffer, size);
  std::free(buffer);
  return written;
}

bool WritePng(const std::string& path, const Canvas& canvas) {
  Bytes rgb;
  rgb.reserve(static_cast<std::size_t>(canvas.Width()) * canvas.Height() * 3);
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const Colour c = canvas.At(x, y);
      rgb.insert(rgb.end(), {c.r, c.g, c.b});
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(canvas.Width());
  image.height = static_cast<png_uint_32>(canvas.Height());
  image.format = PNG_FORMAT_RGB;
  const int written = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
  png_image_free(&image);
  return written != 0;
}

bool WriteIcon(const std::string& path, const Canvas& canvas) {
  const int width = canvas.Width();
  const int height = canvas.Height();
  const int colourBytes = width * 3 * height;  // rows of 32 pixels need no padding
  const auto imageBytes = static_cast<std::uint32_t>(40 + colourBytes + MaskBytes(width, height));
  Bytes out;
  PutDirectory(out, 1, width, height, 0, 1, 24, imageBytes);
  PutImageHeader(out, width, height, 24, static_cast<std::uint32_t>(colourBytes + MaskBytes(width, height)));
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Colour c = canvas.At(x, y);
      out.insert(out.end(), {c.b, c.g, c.r});
    }
  }
  PutMask(out, width, height, [](int, int) { return false; });  // every pixel opaque
  return WriteBytes(path, out.data(), out.size());
}

bool WriteCursor(const std::string& path, const CursorImage& cursor) {
  const int width = cursor.width;
  const int height = cursor.height;
  auto at = [&](int x, int y) { return cursor.pixels[static_cast<std::size_t>(y) * width + x]; };
  const int bitsBytes = 2 * MaskBytes(width, height);
  const auto imageBytes = static_cast<std::uint32_t>(40 + 8 + bitsBytes);
  Bytes out;
  PutDirectory(out, 2, width, height, 2, static_cast<unsigned>(cursor.hotX), static_cast<unsigned>(cursor.hotY),
               imageBytes);
  PutImageHeader(out, width, height, 1, static_cast<std::uint32_t>(bitsBytes));
  Put32(out, 0x00000000);  // palette entry 0: black
  Put32(out, 0x00FFFFFF);  // palette entry 1: white
  // With AND 1 and XOR 0 the screen shows through; with AND 0 the XOR bit picks the colour.
  PutMask(out, width, height, [&](int x, int y) { return at(x, y) == CursorPixel::White; });
  PutMask(out, width, height, [&](int x, int y) { return at(x, y) == CursorPixel::Transparent; });
  return WriteBytes(path, out.data(), out.size());
}

}  // namespace quorvin
