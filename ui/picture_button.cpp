#include "ui/picture_button.h"

#include <windowsx.h>

#include "platform/event_gate.h"
#include "platform/unique_handles.h"

namespace quorvin {
namespace {
constexpr wchar_t kPictureButtonClass[] = L"QuorvinPictureButton";
constexpr wchar_t kPictureBoxClass[] = L"QuorvinPictureBox";

HMENU IdOf(const ControlRecord& record) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(record.name)));
}
}  // namespace

bool PictureButton::Create(HWND parent, const ControlRecord& record, HCURSOR pointer) {
  WNDCLASSEXW wc{};
  wc.style = CS_DBLCLKS;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = pointer != nullptr ? pointer : LoadCursorW(nullptr, IDC_HAND);
  wc.lpszClassName = kPictureButtonClass;
  if (!RegisterClassOnce(wc)) return false;
  // The buttons hold ready bitmaps from the start; transparent pixels take the window's colour.
  normal_ = Picture::Load(record.look.picture, kWindowBackgroundColour);
  hover_ = Picture::Load(record.look.hoverPicture, kWindowBackgroundColour);
  pressed_ = Picture::Load(record.look.pressedPicture, kWindowBackgroundColour);
  return CreateWindowExW(0, kPictureButtonClass, L"", WS_CHILD, record.left, record.top,
                         record.width, record.height, parent, IdOf(record),
                         GetModuleHandleW(nullptr), this) != nullptr;
}

const Picture& PictureButton::Shown() const {
  if (state_ == State::kHover && hover_) return hover_;
  if (state_ == State::kPressed && pressed_) return pressed_;
  return normal_;
}

void PictureButton::Enter(State state) {
  if (state == state_) return;
  state_ = state;
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

bool PictureButton::PointerInside(LPARAM lParam) const {
  RECT client{};
  GetClientRect(Handle(), &client);
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&client, point) != FALSE;
}

void PictureButton::Paint() {
  PaintScope paint(Handle());
  RECT client{};
  GetClientRect(Handle(), &client);
  // Through an off-screen bitmap, so a change of state does not flicker.
  UniqueMemoryDc buffer(CreateCompatibleDC(paint.dc()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(paint.dc(), client.right, client.bottom));
  if (!buffer || !bitmap) return;
  SelectionScope selected(buffer.get(), bitmap.get());
  FillRect(buffer.get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  Shown().Draw(buffer.get(), 0, 0);
  BitBlt(paint.dc(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

LRESULT PictureButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE: {
      const bool held = (wParam & MK_LBUTTON) != 0;
      if (PointerInside(lParam)) {
        // Captured so that the button sees the pointer leave.
        if (GetCapture() != Handle()) SetCapture(Handle());
        Enter(held ? State::kPressed : State::kHover);
      } else if (held) {
        Enter(State::kNormal);  // capture kept: coming back still pressed shows pressed again
      } else {
        Enter(State::kNormal);
        if (GetCapture() == Handle()) ReleaseCapture();
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetCapture(Handle());
      Enter(State::kPressed);
      return 0;
    case WM_LBUTTONDBLCLK:
      SetCapture(Handle());  // a double-click's second press does not show as pressed
      return 0;
    case WM_LBUTTONUP: {
      const bool inside = PointerInside(lParam);
      if (GetCapture() == Handle()) ReleaseCapture();
      if (inside) {
        Enter(State::kNormal);
        if (clicked_ && EventsOpen()) clicked_();
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != Handle()) Enter(State::kNormal);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
  }
  return WindowBase::HandleMessage(message, wParam, lParam);
}

bool PictureBox::Create(HWND parent, const ControlRecord& record) {
  WNDCLASSEXW wc{};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kPictureBoxClass;
  if (!RegisterClassOnce(wc)) return false;
  background_ = record.look.backgroundColour;
  picture_ = Picture::Load(record.look.picture, background_);
  return CreateWindowExW(0, kPictureBoxClass, L"", WS_CHILD, record.left, record.top,
                         record.width, record.height, parent, IdOf(record),
                         GetModuleHandleW(nullptr), this) != nullptr;
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintScope paint(Handle());
      RECT client{};
      GetClientRect(Handle(), &client);
      UniqueBrush brush(CreateSolidBrush(background_));
      FillRect(paint.dc(), &client, brush.get());
      picture_.Stretch(paint.dc(), client);
      return 0;
    }
  }
  return WindowBase::HandleMessage(message, wParam, lParam);
}

}  // namespace quorvin
