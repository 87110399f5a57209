#include "ui/label_text.h"

#include <string>

#include "platform/unique_handles.h"

namespace quorvin {

void DrawLabelText(HWND label, HDC dc, const ControlLook& look, HFONT font) {
  const int length = GetWindowTextLengthW(label);
  if (length <= 0) return;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), length + 1)));

  RECT client{};
  GetClientRect(label, &client);
  SelectionScope selected(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look.text);
  const UINT horizontal = look.align == TextAlign::kCentre ? DT_CENTER : DT_LEFT;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
            horizontal | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER);
}

}  // namespace quorvin
