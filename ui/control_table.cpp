#include "ui/control_table.h"

namespace quorvin {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

constexpr const wchar_t* kClickTypes[] = {L"左键单击", L"右键单击", L"左键双击"};
constexpr const wchar_t* kIntervals[] = {L"0.01", L"0.02", L"0.03", L"0.04", L"0.05", L"0.1",
                                         L"0.2",  L"0.5",  L"1",    L"2",    L"3",    L"4",
                                         L"5",    L"6",    L"7",    L"8",    L"9",    L"10"};
constexpr const wchar_t* kHotkeys[] = {L"F7", L"F8"};

constexpr ControlLook WhiteCaption() { return {kWhite}; }
constexpr ControlLook BlackCaption() { return {kBlack}; }

using K = ControlKind;
using N = ControlName;

const std::array<ControlRecord, kControlCount> kTable{{
    {N::图片框1, L"图片框1", K::kPictureBox, 4, 3, 22, 22, true, false, L"", {}, -1,
     {kBlack, Background::kColour, RGB(128, 224, 0), FontChoice::kDefaultGui, TextAlign::kLeft,
      PictureId::kMouse}},
    {N::透明标签7, L"透明标签7", K::kTransparentLabel, 34, 1, 86, 24, true, false,
     L"Talmeo鼠标连点器", {}, -1, WhiteCaption()},
    {N::图形按钮2, L"图形按钮2", K::kPictureButton, 350, 1, 37, 31, true, false, L"", {}, -1,
     {kBlack, Background::kNone, 0, FontChoice::kDefaultGui, TextAlign::kLeft,
      PictureId::kCloseNormal, PictureId::kCloseHover, PictureId::kClosePressed}},
    {N::图形按钮1, L"图形按钮1", K::kPictureButton, 311, 1, 37, 31, true, false, L"", {}, -1,
     {kBlack, Background::kNone, 0, FontChoice::kDefaultGui, TextAlign::kLeft,
      PictureId::kMinimizeNormal, PictureId::kMinimizeHover, PictureId::kMinimizePressed}},
    {N::编辑框1, L"编辑框1", K::kEditBox, 240, 54, 128, 24, true, true, L"测试框", {}, -1,
     {kBlack, Background::kColour, kWhite}},
    {N::透明标签6, L"透明标签6", K::kTransparentLabel, 17, 185, 192, 16, true, false,
     L" 1.把鼠标移动到需要点击的地方.\r\n", {}, -1, BlackCaption()},
    {N::透明标签5, L"透明标签5", K::kTransparentLabel, 17, 204, 353, 16, true, false,
     L"\r\n 2.按一下F7键开始,再按一下停止.(默认热键是F7，可以自己更改)", {}, -1, BlackCaption()},
    {N::透明标签4, L"透明标签4", K::kTransparentLabel, 17, 165, 72, 16, true, false,
     L"\r\n 使用方法：\r\n", {}, -1, BlackCaption()},
    {N::标签2, L"标签2", K::kLabel, 10, 160, 368, 68, true, false, L"", {}, -1,
     {kBlack, Background::kColour, RGB(232, 232, 0)}},
    {N::透明标签4_运行状态, L"透明标签4_运行状态", K::kTransparentLabel, 224, 71, 144, 80, true,
     false, L"", {}, -1,
     {RGB(255, 80, 128), Background::kNone, 0, FontChoice::kStatus, TextAlign::kCentre}},
    {N::标签1, L"标签1", K::kLabel, 204, 85, 20, 24, true, false, L"秒", {}, -1,
     {kBlack, Background::kButtonFace, 0, FontChoice::kDefaultGui, TextAlign::kLeft,
      PictureId::kLabelBackground}},
    {N::时钟1, L"时钟1", K::kTimer, 312, 55, 48, 32, false, false, L"", {}, 0, {}},
    {N::透明标签3, L"透明标签3", K::kTransparentLabel, 17, 111, 56, 24, true, false, L"热键设置：",
     {}, -1, WhiteCaption()},
    {N::透明标签2, L"透明标签2", K::kTransparentLabel, 17, 85, 120, 24, true, false,
     L"每次点击的间隔时间：", {}, -1, WhiteCaption()},
    {N::透明标签1, L"透明标签1", K::kTransparentLabel, 17, 55, 80, 24, true, false,
     L"点击类型 鼠标：", {}, -1, WhiteCaption()},
    {N::组合框_热键设置, L"组合框_热键设置", K::kComboBox, 74, 114, 64, 20, true, true, L"",
     kHotkeys, 0, {kBlack, Background::kButtonFace}},
    {N::组合框_鼠标单机间隔秒, L"组合框_鼠标单机间隔秒", K::kComboBox, 136, 87, 64, 20, true, true,
     L"", kIntervals, 5, {kBlack, Background::kColour, kWhite}},
    {N::组合框_鼠标点击类型, L"组合框_鼠标点击类型", K::kComboBox, 104, 58, 80, 20, true, true, L"",
     kClickTypes, 0, {kBlack, Background::kButtonFace}},
}};

}  // namespace

const std::array<ControlRecord, kControlCount>& ControlTable() { return kTable; }

const ControlRecord& RecordOf(ControlName name) { return kTable[static_cast<std::size_t>(name)]; }

}  // namespace quorvin
