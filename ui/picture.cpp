#include "ui/picture.h"

#include <cstring>

#include "ui/picture_decode.h"
#include "ui/picture_resources.h"

namespace quorvin {

Picture Picture::Load(PictureId id, COLORREF background) {
  Picture picture;
  const auto decoded = DecodePicture(
      PictureBytes(id), Rgb{GetRValue(background), GetGValue(background), GetBValue(background)});
  if (!decoded) return picture;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = decoded->width;
  info.bmiHeader.biHeight = -decoded->height;  // top-down, as decoded
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return picture;
  std::memcpy(bits, decoded->bgrx.data(), decoded->bgrx.size());
  picture.bitmap_ = std::move(bitmap);
  picture.width_ = decoded->width;
  picture.height_ = decoded->height;
  return picture;
}

void Picture::Draw(HDC dc, int x, int y) const {
  if (!bitmap_) return;
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  SelectionScope selected(source.get(), bitmap_.get());
  BitBlt(dc, x, y, width_, height_, source.get(), 0, 0, SRCCOPY);
}

void Picture::Stretch(HDC dc, const RECT& to) const {
  if (!bitmap_) return;
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  SelectionScope selected(source.get(), bitmap_.get());
  const bool smooth = GetDeviceCaps(dc, BITSPIXEL) > 16;
  const int previousMode = SetStretchBltMode(dc, smooth ? HALFTONE : COLORONCOLOR);
  POINT previousOrigin{};
  if (smooth) SetBrushOrgEx(dc, 0, 0, &previousOrigin);  // HALFTONE needs it reset
  StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source.get(), 0, 0,
             width_, height_, SRCCOPY);
  if (smooth) SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
  SetStretchBltMode(dc, previousMode);
}

}  // namespace quorvin
