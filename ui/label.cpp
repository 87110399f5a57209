#include "ui/label.h"

#include "platform/desktop_services.h"
#include "platform/event_gate.h"
#include "platform/unique_handles.h"
#include "ui/label_text.h"

namespace quorvin {
namespace {
constexpr wchar_t kLabelClass[] = L"QuorvinLabel";
constexpr wchar_t kTransparentLabelClass[] = L"QuorvinTransparentLabel";

HWND CreateChild(DWORD exStyle, const wchar_t* className, HWND parent, const ControlRecord& record,
                 void* self) {
  return CreateWindowExW(exStyle, className, record.text, WS_CHILD, record.left, record.top,
                         record.width, record.height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(record.name))),
                         GetModuleHandleW(nullptr), self);
}
}  // namespace

bool Label::Create(HWND parent, const ControlRecord& record) {
  WNDCLASSEXW wc{};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kLabelClass;
  if (!RegisterClassOnce(wc)) return false;
  look_ = record.look;
  return CreateChild(0, kLabelClass, parent, record, this) != nullptr;
}

COLORREF Label::BackgroundColour() const {
  return look_.background == Background::kButtonFace ? GetSysColor(COLOR_BTNFACE)
                                                     : look_.backgroundColour;
}

void Label::Paint() {
  PaintScope paint(Handle());
  RECT client{};
  GetClientRect(Handle(), &client);
  RECT area{};
  if (!IntersectRect(&area, &paint.area(), &client)) return;

  if (!pictureLoaded_) {
    picture_ = Picture::Load(look_.picture, BackgroundColour());
    pictureLoaded_ = true;
  }
  HDC dc = paint.dc();
  UniqueHandle<HRGN, DeleteGdiObject> rest(CreateRectRgnIndirect(&area));
  if (picture_) {
    picture_.Draw(dc, 0, 0);
    UniqueHandle<HRGN, DeleteGdiObject> covered(
        CreateRectRgn(0, 0, picture_.Width(), picture_.Height()));
    CombineRgn(rest.get(), rest.get(), covered.get(), RGN_DIFF);
  }
  UniqueBrush brush(CreateSolidBrush(BackgroundColour()));
  FillRgn(dc, rest.get(), brush.get());
  DrawLabelText(Handle(), dc, look_, nullptr);
  RedrawTransparentLabelsAbove(area);
}

void Label::RedrawTransparentLabelsAbove(const RECT& painted) const {
  // Transparent siblings above (the usage notes on the panel) have no background of their
  // own and were just painted over: have them draw again, after this.
  HWND parent = GetParent(Handle());
  RECT inParent = painted;
  MapWindowPoints(Handle(), parent, reinterpret_cast<POINT*>(&inParent), 2);
  for (HWND above = GetWindow(Handle(), GW_HWNDPREV); above != nullptr;
       above = GetWindow(above, GW_HWNDPREV)) {
    if (!IsWindowVisible(above) || (GetWindowLongW(above, GWL_EXSTYLE) & WS_EX_TRANSPARENT) == 0)
      continue;
    RECT place{};
    GetWindowRect(above, &place);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&place), 2);
    RECT overlap{};
    if (!IntersectRect(&overlap, &place, &inParent)) continue;
    MapWindowPoints(parent, above, reinterpret_cast<POINT*>(&overlap), 2);
    InvalidateRect(above, &overlap, FALSE);
  }
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kHotkeyNotify:
      if (feedback_ && EventsOpen()) return feedback_(wParam, lParam);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT:
      Paint();
      return 0;
  }
  return WindowBase::HandleMessage(message, wParam, lParam);
}

bool TransparentLabel::Create(HWND parent, const ControlRecord& record, HFONT font) {
  WNDCLASSEXW wc{};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kTransparentLabelClass;  // no background brush: nothing is erased
  if (!RegisterClassOnce(wc)) return false;
  look_ = record.look;
  font_ = font;
  return CreateChild(WS_EX_TRANSPARENT, kTransparentLabelClass, parent, record, this) != nullptr;
}

LRESULT TransparentLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintScope paint(Handle());
      DrawLabelText(Handle(), paint.dc(), look_, font_);
      return 0;
    }
  }
  return WindowBase::HandleMessage(message, wParam, lParam);
}

}  // namespace quorvin
