#include "ui/main_window.h"

#include <commctrl.h>

#include <string>

#include "platform/event_gate.h"
#include "ui/label_text.h"

namespace quorvin {
namespace {

std::wstring failingControl;  // test seam: empty in the shipped program

HMENU IdMenu(ControlName name) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(name)));
}

// The status label's own font; the default GUI font when it cannot be made.
UniqueFont CreateStatusFont() {
  LOGFONTW font{};
  font.lfHeight = -21;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH;
  wcscpy_s(font.lfFaceName, L"黑体");
  return UniqueFont(CreateFontIndirectW(&font));
}

HWND CreateComboBox(HWND parent, const ControlRecord& record) {
  HWND box = CreateWindowExW(0, WC_COMBOBOXW, L"",
                             WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, record.left,
                             record.top, record.width, kComboBoxCreationHeight, parent,
                             IdMenu(record.name), GetModuleHandleW(nullptr), nullptr);
  if (box == nullptr) return nullptr;
  SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  for (const wchar_t* item : record.items)
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(record.selection), 0);
  // List rows one pixel taller than the platform's default.
  const LRESULT itemHeight = SendMessageW(box, CB_GETITEMHEIGHT, 0, 0);
  if (itemHeight > 0) SendMessageW(box, CB_SETITEMHEIGHT, 0, itemHeight + 1);
  return box;
}

HWND CreateEditBox(HWND parent, const ControlRecord& record) {
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, record.text,
                              WS_CHILD | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, record.left,
                              record.top, record.width, record.height, parent, IdMenu(record.name),
                              GetModuleHandleW(nullptr), nullptr);
  if (edit == nullptr) return nullptr;
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SendMessageW(edit, EM_LIMITTEXT, 0, 0);
  return edit;
}

}  // namespace

void MainWindow::FailCreationOf(const wchar_t* controlName) {
  failingControl = controlName != nullptr ? controlName : L"";
}

MainWindow::MainWindow() = default;
MainWindow::~MainWindow() = default;

bool MainWindow::Build(HINSTANCE instance) {
  handCursor_.reset(static_cast<HCURSOR>(LoadImageW(instance, MAKEINTRESOURCEW(QUORVIN_IDC_HAND),
                                                    IMAGE_CURSOR, 0, 0, 0)));
  icon_.reset(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(QUORVIN_IDI_APP), IMAGE_ICON, 32, 32, 0)));

  WNDCLASSEXW wc{};
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = icon_.get();
  wc.lpszClassName = kMainWindowClass;
  if (!RegisterClassOnce(wc)) return false;

  // Truncating divisions: centred on the primary screen.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
  // WS_POPUP: a window without it would be given a caption by the system.
  if (CreateWindowExW(0, kMainWindowClass, kMainWindowTitle,
                      WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX, left, top, kMainWindowWidth,
                      kMainWindowHeight, nullptr, nullptr, instance, this) == nullptr)
    return false;
  if (icon_) {
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
  }
  statusFont_ = CreateStatusFont();

  const auto& table = ControlTable();
  for (auto record = table.rbegin(); record != table.rend(); ++record) {
    if (!CreateControl(*record)) return false;
  }
  // Stack in table order: each control goes just below the one before it.
  HWND above = HWND_TOP;
  for (const ControlRecord& record : table) {
    HWND window = ControlWindow(record.name);
    SetWindowPos(window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = window;
  }
  for (const ControlRecord& record : table) {
    if (record.visible) ShowWindow(ControlWindow(record.name), SW_SHOWNA);
  }
  return true;
}

bool MainWindow::CreateControl(const ControlRecord& record) {
  if (!failingControl.empty() && failingControl == record.nameText) return false;
  const auto index = static_cast<std::size_t>(record.name);
  HWND window = nullptr;
  switch (record.kind) {
    case ControlKind::kComboBox:
      window = CreateComboBox(Handle(), record);
      break;
    case ControlKind::kEditBox:
      window = CreateEditBox(Handle(), record);
      break;
    case ControlKind::kLabel: {
      auto& label = record.name == ControlName::标签1 ? 标签1_ : 标签2_;
      label = std::make_unique<Label>();
      if (label->Create(Handle(), record)) window = label->Handle();
      break;
    }
    case ControlKind::kTransparentLabel: {
      auto& label = transparentLabels_[index];
      label = std::make_unique<TransparentLabel>();
      const HFONT font = record.look.font == FontChoice::kStatus ? statusFont_.get() : nullptr;
      if (label->Create(Handle(), record, font)) window = label->Handle();
      break;
    }
    case ControlKind::kTimer:
      时钟1_ = std::make_unique<TimerControl>();
      if (时钟1_->Create(Handle(), ControlId(record.name), record.left, record.top, record.width, record.height, 0))
        window = 时钟1_->Handle();
      break;
    case ControlKind::kPictureButton: {
      auto& button = record.name == ControlName::图形按钮1 ? 图形按钮1_ : 图形按钮2_;
      button = std::make_unique<PictureButton>();
      if (button->Create(Handle(), record, handCursor_.get())) window = button->Handle();
      break;
    }
    case ControlKind::kPictureBox:
      图片框1_ = std::make_unique<PictureBox>();
      if (图片框1_->Create(Handle(), record)) window = 图片框1_->Handle();
      break;
  }
  if (window == nullptr) return false;
  windows_[index] = window;
  if (record.kind == ControlKind::kComboBox || record.kind == ControlKind::kEditBox) {
    if (record.look.background == Background::kButtonFace) {
      brushes_[index] = GetSysColorBrush(COLOR_BTNFACE);
    } else {
      ownedBrushes_[index].reset(CreateSolidBrush(record.look.backgroundColour));
      brushes_[index] = ownedBrushes_[index].get();
    }
  }
  return true;
}

void MainWindow::Bind(WindowEvents events) {
  events_ = std::move(events);
  if (标签1_) 标签1_->OnFeedback(events_.hotkeyFeedback);
  if (标签2_) 标签2_->OnFeedback(events_.panelFeedback);
  if (时钟1_) 时钟1_->OnPeriodic(events_.clickTimer);
  if (图形按钮1_) 图形按钮1_->OnClicked(events_.minimizeClicked);
  if (图形按钮2_) 图形按钮2_->OnClicked(events_.closeClicked);
}

const ControlRecord* MainWindow::RecordOfWindow(HWND hwnd) const {
  if (hwnd == nullptr) return nullptr;
  for (const ControlRecord& record : ControlTable()) {
    if (ControlWindow(record.name) == hwnd) return &record;
  }
  return nullptr;
}

bool MainWindow::HandleWindowKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)) return false;
  if (!IsWindowEnabled(message.hwnd)) return false;
  const bool modifiers = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  switch (message.wParam) {
    case VK_TAB:
      if (modifiers) return false;
      MoveFocusAlongCycle(shift ? -1 : 1);
      return true;
    case VK_ESCAPE:
      if (modifiers || shift) return false;
      SendMessageW(Handle(), WM_CLOSE, 0, 0);
      return true;
  }
  return false;
}

void MainWindow::MoveFocusAlongCycle(int step) {
  const int count = static_cast<int>(kTabCycle.size());
  HWND focus = GetFocus();
  int current = step > 0 ? -1 : 0;  // outside the cycle: start from its first control
  for (int i = 0; i < count; ++i) {
    if (ControlWindow(kTabCycle[static_cast<std::size_t>(i)]) == focus) current = i;
  }
  for (int tried = 1; tried <= count; ++tried) {
    const int next = ((current + step * tried) % count + count) % count;
    HWND candidate = ControlWindow(kTabCycle[static_cast<std::size_t>(next)]);
    if (IsWindowVisible(candidate) && IsWindowEnabled(candidate)) {
      SetFocus(candidate);
      return;
    }
  }
}

void MainWindow::HandFocusOn() {
  if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_) &&
      IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)) {
    SetFocus(lastFocus_);
    return;
  }
  for (ControlName name : kTabCycle) {
    HWND candidate = ControlWindow(name);
    if (IsWindowVisible(candidate) && IsWindowEnabled(candidate)) {
      SetFocus(candidate);
      return;
    }
  }
}

void MainWindow::PaintBackground() {
  PaintScope paint(Handle());
  HDC dc = paint.dc();
  const RECT& update = paint.area();
  if (!backgroundLoaded_) {
    background_ = Picture::Load(PictureId::kWindowBackground, kWindowBackgroundColour);
    backgroundLoaded_ = true;
  }
  RECT client{};
  GetClientRect(Handle(), &client);
  UniqueHandle<HRGN, DeleteGdiObject> rest(CreateRectRgnIndirect(&update));
  if (background_) {
    // Only the tiles that meet the update rectangle.
    for (int y = 0; y < client.bottom; y += background_.Height()) {
      for (int x = 0; x < client.right; x += background_.Width()) {
        const RECT tile{x, y, x + background_.Width(), y + background_.Height()};
        RECT overlap{};
        if (IntersectRect(&overlap, &tile, &update)) background_.Draw(dc, x, y);
      }
    }
    SetRectRgn(rest.get(), 0, 0, 0, 0);
  }
  UniqueBrush brush(CreateSolidBrush(kWindowBackgroundColour));
  FillRgn(dc, rest.get(), brush.get());
}

LRESULT MainWindow::AnswerColours(HDC dc, HWND control) {
  const ControlRecord* record = RecordOfWindow(control);
  if (record == nullptr) return 0;
  const auto index = static_cast<std::size_t>(record->name);
  if (brushes_[index] == nullptr) return 0;
  const COLORREF background = record->look.background == Background::kButtonFace
                                  ? GetSysColor(COLOR_BTNFACE)
                                  : record->look.backgroundColour;
  SetTextColor(dc, record->look.text);
  SetBkColor(dc, background);
  return reinterpret_cast<LRESULT>(brushes_[index]);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the background is painted in WM_PAINT
    case WM_PAINT:
      PaintBackground();
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      if (LRESULT brush = AnswerColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return brush;
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == CBN_SELENDOK) {
        // Posted: the box finishes with the choice first, and the handler reads it.
        PostMessageW(Handle(), kListItemSelected, LOWORD(wParam), 0);
        return 0;
      }
      break;
    case kListItemSelected:
      if (!EventsOpen()) return 0;
      if (static_cast<int>(wParam) == ControlId(ControlName::组合框_热键设置) && events_.hotkeyChosen)
        events_.hotkeyChosen();
      else if (static_cast<int>(wParam) == ControlId(ControlName::组合框_鼠标单机间隔秒) &&
               events_.intervalChosen)
        events_.intervalChosen();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(Handle(), focus)) lastFocus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      HandFocusOn();
      return 0;
    case WM_DESTROY:
      CloseEventsForGood();
      PostQuitMessage(0);
      return 0;
  }
  return WindowBase::HandleMessage(message, wParam, lParam);
}

}  // namespace quorvin
