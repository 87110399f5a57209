#pragma once

#include <windows.h>

#include <utility>

namespace quorvin {

// One owner per handle: move-only, released exactly once.
template <typename T, auto Release, T Empty = T{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T value) : value_(value) {}
  UniqueHandle(UniqueHandle&& other) noexcept : value_(std::exchange(other.value_, Empty)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.value_, Empty));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Empty; }
  void reset(T value = Empty) {
    if (value_ != Empty) Release(value_);
    value_ = value;
  }
  T release() { return std::exchange(value_, Empty); }

 private:
  T value_ = Empty;
};

inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }
inline void DeleteGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void DeleteMemoryDc(HDC h) { DeleteDC(h); }
inline void DestroyIconHandle(HICON h) { DestroyIcon(h); }
inline void DestroyCursorHandle(HCURSOR h) { DestroyCursor(h); }

using UniqueKernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;
using UniqueFont = UniqueHandle<HFONT, DeleteGdiObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteGdiObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteGdiObject>;
using UniqueMemoryDc = UniqueHandle<HDC, DeleteMemoryDc>;
using UniqueIcon = UniqueHandle<HICON, DestroyIconHandle>;
using UniqueCursor = UniqueHandle<HCURSOR, DestroyCursorHandle>;

// BeginPaint/EndPaint for the length of a scope.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ~PaintScope() { EndPaint(hwnd_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// GetDC/ReleaseDC for the length of a scope.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// SelectObject, undone at the end of the scope.
class SelectionScope {
 public:
  SelectionScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectionScope() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }
  SelectionScope(const SelectionScope&) = delete;
  SelectionScope& operator=(const SelectionScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace quorvin
