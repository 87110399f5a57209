#include "bench/cadence_chart.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bench/interval_stats.h"
#include "platform/unique_handles.h"
#include "tools/capture/capture.h"

namespace quorvin::bench {
namespace {

constexpr int kPanelWidth = 230, kPanelHeight = 380, kLeftMargin = 10, kTop = 50, kBottom = 60;
constexpr int kPlotLeft = 58, kPlotRight = 10;
constexpr COLORREF kOurs = RGB(30, 100, 200), kBaseline = RGB(225, 115, 20),
                   kClipped = RGB(200, 0, 0);

struct Scale {
  double low, high;
  int top, bottom;
  int Y(double value) const {
    const double clamped = std::clamp(value, low, high);
    return bottom - static_cast<int>((clamped - low) / (high - low) * (bottom - top) + 0.5);
  }
};

void Text(HDC dc, int x, int y, const std::wstring& text, UINT align = TA_LEFT) {
  SetTextAlign(dc, align | TA_TOP);
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

std::wstring Ms(double value) {
  wchar_t text[32];
  std::swprintf(text, 32, value >= 100 ? L"%.1f ms" : L"%.2f ms", value);
  return text;
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void Column(HDC dc,
            const std::vector<double>& intervals,
            const Scale& scale,
            int centre,
            COLORREF colour) {
  UniqueBrush dotBrush(CreateSolidBrush(colour));
  UniqueBrush clippedBrush(CreateSolidBrush(kClipped));
  for (std::size_t i = 0; i < intervals.size(); ++i) {
    // A fixed scatter across the column so that equal intervals do not hide each other.
    const int x = centre + static_cast<int>((i * 37) % 49) - 24;
    const int y = scale.Y(intervals[i]);
    const bool clipped = intervals[i] > scale.high || intervals[i] < scale.low;
    RECT dot{x - 1, y - 1, x + 2, y + 2};
    FillRect(dc, &dot, clipped ? clippedBrush.get() : dotBrush.get());
  }
  if (intervals.empty())
    return;
  UniqueHandle<HPEN, DeleteGdiObject> medianPen(CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
  SelectionScope pen(dc, medianPen.get());
  const int y = scale.Y(Percentile(intervals, 0.5));
  Line(dc, centre - 30, y, centre + 31, y);
}

void Panel(HDC dc, const CadenceResult& result, int left) {
  std::vector<double> all = result.ours;
  all.insert(all.end(), result.baseline.begin(), result.baseline.end());
  const double period = result.periodMs;
  // Around the period, wide enough for nearly every interval; the rest are drawn red at the edge.
  double low = period * 0.9, high = period * 1.1;
  if (!all.empty()) {
    low = std::min(low, Percentile(all, 0.01));
    high = std::max(high, Percentile(all, 0.99));
  }
  const Scale scale{low, high, kTop + 10, kPanelHeight - kBottom};
  const int plotLeft = left + kPlotLeft, plotRight = left + kPanelWidth - kPlotRight;

  Text(dc, (plotLeft + plotRight) / 2, 14,
       L"interval " + std::wstring(result.setting.begin(), result.setting.end()) + L" s",
       TA_CENTER);
  UniqueHandle<HPEN, DeleteGdiObject> framePen(CreatePen(PS_SOLID, 1, RGB(160, 160, 160)));
  {
    SelectionScope pen(dc, framePen.get());
    SelectionScope brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, plotLeft, scale.top - 4, plotRight, scale.bottom + 5);
  }
  UniqueHandle<HPEN, DeleteGdiObject> periodPen(CreatePen(PS_DOT, 1, RGB(90, 90, 90)));
  {
    SelectionScope pen(dc, periodPen.get());
    Line(dc, plotLeft, scale.Y(period), plotRight, scale.Y(period));
  }
  Text(dc, plotLeft - 4, scale.top - 7, Ms(high), TA_RIGHT);
  Text(dc, plotLeft - 4, scale.Y(period) - 7, Ms(period), TA_RIGHT);
  Text(dc, plotLeft - 4, scale.bottom - 7, Ms(low), TA_RIGHT);

  const int oursCentre = plotLeft + (plotRight - plotLeft) / 4;
  const int baselineCentre = plotLeft + (plotRight - plotLeft) * 3 / 4;
  Column(dc, result.ours, scale, oursCentre, kOurs);
  Column(dc, result.baseline, scale, baselineCentre, kBaseline);

  SetTextColor(dc, kOurs);
  Text(dc, oursCentre, scale.bottom + 10, L"ours", TA_CENTER);
  Text(dc, oursCentre, scale.bottom + 28, Ms(result.oursSummary.medianMs), TA_CENTER);
  SetTextColor(dc, kBaseline);
  Text(dc, baselineCentre, scale.bottom + 10, L"bare timer", TA_CENTER);
  Text(dc, baselineCentre, scale.bottom + 28, Ms(result.baselineSummary.medianMs), TA_CENTER);
  SetTextColor(dc, RGB(0, 0, 0));
}

}  // namespace

bool DrawCadenceChart(const std::vector<CadenceResult>& cadence, const std::string& pngPath) {
  const int width =
      kLeftMargin * 2 + kPanelWidth * static_cast<int>(std::max<std::size_t>(cadence.size(), 1));
  const int height = kPanelHeight + 24;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the PNG writer wants
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc || bits == nullptr)
    return false;
  {
    SelectionScope selected(dc.get(), bitmap.get());
    SelectionScope font(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    RECT all{0, 0, width, height};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc.get(), TRANSPARENT);
    for (std::size_t i = 0; i < cadence.size(); ++i)
      Panel(dc.get(), cadence[i], kLeftMargin + kPanelWidth * static_cast<int>(i));
    Text(
        dc.get(), kLeftMargin, height - 20,
        L"Intervals between clicks; black: median, dotted: nominal period, red: beyond the scale.");
    GdiFlush();
  }
  capture::ScreenPixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.bgrx.resize(static_cast<std::size_t>(width) * height * 4);
  std::memcpy(pixels.bgrx.data(), bits, pixels.bgrx.size());
  return capture::SavePng(pixels, pngPath);
}

}  // namespace quorvin::bench
