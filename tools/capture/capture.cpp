#include "tools/capture/capture.h"

#include <png.h>

#include "platform/unique_handles.h"

namespace quorvin::capture {

ScreenPixels CaptureWindow(HWND window) {
  ScreenPixels pixels;
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return pixels;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return pixels;

  WindowDc screen(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return pixels;
  {
    SelectionScope selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    GdiFlush();
  }
  pixels.width = width;
  pixels.height = height;
  const auto* begin = static_cast<const std::uint8_t*>(bits);
  pixels.bgrx.assign(begin, begin + static_cast<std::size_t>(width) * height * 4);
  return pixels;
}

bool SavePng(const ScreenPixels& pixels, const std::string& path) {
  if (pixels.width <= 0 || pixels.height <= 0) return false;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(pixels.width) * pixels.height * 3);
  for (std::size_t i = 0, j = 0; j < rgb.size(); i += 4, j += 3) {
    rgb[j] = pixels.bgrx[i + 2];
    rgb[j + 1] = pixels.bgrx[i + 1];
    rgb[j + 2] = pixels.bgrx[i];
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(pixels.width);
  image.height = static_cast<png_uint_32>(pixels.height);
  image.format = PNG_FORMAT_RGB;
  const bool written =
      png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return written;
}

}  // namespace quorvin::capture
