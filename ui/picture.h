#pragma once

#include <windows.h>

#include "platform/unique_handles.h"
#include "ui/control_table.h"

namespace quorvin {

// A decoded picture, ready to draw: a device bitmap of its own size. Empty when the picture
// is missing or could not be decoded; its holder then draws as if it had none.
class Picture {
 public:
  Picture() = default;
  // Decodes once; pixels that are not fully opaque are blended onto `background`.
  static Picture Load(PictureId id, COLORREF background);

  explicit operator bool() const { return static_cast<bool>(bitmap_); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  HBITMAP Bitmap() const { return bitmap_.get(); }

  // Copies the picture at natural size with its top-left corner at (x, y).
  void Draw(HDC dc, int x, int y) const;
  // Scales the picture over the rectangle, smoothly on displays of more than 16 bits.
  void Stretch(HDC dc, const RECT& to) const;

 private:
  UniqueBitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace quorvin
