#pragma once

#include <windows.h>

#include <string_view>

namespace quorvin {

// The shell's own operations on the main window and the process.
int ShowMessageBox(std::wstring_view text, UINT flags);
[[noreturn]] void ExitProgram(int code);
[[noreturn]] void ReportFatalError(std::wstring_view message);
void MinimizeWindow(HWND window);
void SetMinimizeBox(HWND window, bool on);

// Drag by any point: presses on the window's own surface, its labels and its picture box
// move the window (see the move filter in the message loop).
void SetDragByAnyPoint(bool on);
bool DragByAnyPoint();

inline constexpr wchar_t kNoticeCaption[] = L"信息：";
inline constexpr wchar_t kErrorCaption[] = L"错误";
// The close notice: the makers' chat group and site (placeholders that belong to no one).
inline constexpr wchar_t kCloseNotice[] =
    L"Talmeo技术群：100000000  免费分享：https://www.example.com/talmeo";
inline constexpr wchar_t kStartupFailedText[] = L"载入启动窗口失败";

}  // namespace quorvin
