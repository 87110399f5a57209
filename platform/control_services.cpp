#include <windows.h>

#include "platform/desktop_services.h"

namespace quorvin {

int GetSelectedIndex(Control comboBox) {
  HWND box = WindowHandleOf(comboBox);
  if (box == nullptr) return -1;
  // CB_ERR (-1) when nothing is selected.
  return static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
}

std::u16string GetItemText(Control comboBox, int index) {
  HWND box = WindowHandleOf(comboBox);
  if (box == nullptr || index < 0) return {};
  const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
  if (count == CB_ERR || index >= count) return {};
  const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  if (copied == CB_ERR || copied < 0) return {};
  text.resize(static_cast<std::size_t>(copied));
  return std::u16string(text.begin(), text.end());
}

void SetDisabled(Control control, int flag) {
  HWND window = WindowHandleOf(control);
  if (window != nullptr) EnableWindow(window, flag == 0);
}

void SetLabelText(Control label, std::u16string_view text) {
  HWND window = WindowHandleOf(label);
  if (window == nullptr) return;
  const std::wstring wide(text.begin(), text.end());
  SetWindowTextW(window, wide.c_str());

  // Repaint what lies beneath first (the parent draws its background under transparent
  // labels), then the label itself, all before returning.
  HWND parent = GetParent(window);
  RECT area{};
  GetWindowRect(window, &area);
  if (parent != nullptr) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(parent, &area, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  } else {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

}  // namespace quorvin
