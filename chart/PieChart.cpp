// Drawing of the pie chart with GDI+ (anti-aliased slices, sides and lines) and GDI (crisp mark
// boxes and text in the system code page), and the window that shows it double-buffered.
#include "chart/PieChart.h"

// objidl.h first, in a block of its own: gdiplus.h needs IStream, which WIN32_LEAN_AND_MEAN
// leaves out of windows.h.
#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <cmath>

#include "base/Handles.h"
#include "chart/ChartFormat.h"

namespace orv {

namespace {

constexpr COLORREF kBackColor = RGB(255, 255, 255);
constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr COLORREF kMarkColor = RGB(255, 255, 128);
constexpr COLORREF kMarkFrameColor = RGB(96, 96, 96);
constexpr COLORREF kMarkShadowColor = RGB(200, 200, 200);
constexpr int kTitleFontPx = 12;
constexpr int kMarkFontPx = 11;
constexpr int kTitlePadding = 4;  // above and below the title line
constexpr int kMarkPadX = 4;      // between a mark's frame and its text
constexpr int kMarkPadY = 2;
constexpr int kMarkShadow = 2;  // offset of a mark's shadow
// The side wall is lit from the front: darkest where it turns away at the left and right ends.
constexpr double kSideShadeFront = 0.72;
constexpr double kSideShadeEnds = 0.45;

// GDI+ is started once per process, on first use, and shut down when the program ends.
class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiplusSession() {
    if (ok_) Gdiplus::GdiplusShutdown(token_);
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool Ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

bool GdiplusReady() {
  static const GdiplusSession session;
  return session.Ok();
}

UniqueFont MakeArial(int pixels) {
  return UniqueFont(CreateFontA(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                DEFAULT_PITCH | FF_SWISS, "Arial"));
}

struct ChartFonts {
  UniqueFont title = MakeArial(kTitleFontPx);
  UniqueFont mark = MakeArial(kMarkFontPx);
};

// Text sizes measured on the target DC, so that layout and drawing agree.
struct Measures {
  double titleHeight = 0;
  std::vector<std::string> markTexts;
  std::vector<MarkSize> markSizes;
};

int LineHeight(HDC dc) {
  TEXTMETRICA tm{};
  return GetTextMetricsA(dc, &tm) ? tm.tmHeight : 0;
}

Measures Measure(HDC dc, const ChartFonts& fonts, const PieChartModel& model) {
  Measures m;
  {
    SelectGuard font(dc, fonts.title.Get());
    m.titleHeight = LineHeight(dc) + 2 * kTitlePadding;
  }
  SelectGuard font(dc, fonts.mark.Get());
  const int height = LineHeight(dc) + 2 * kMarkPadY;
  for (const PiePoint& p : model.points) {
    std::string text = MarkText(p.label, p.value, model.marks == PieMarks::LabelAndValue);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    m.markSizes.push_back(
        {static_cast<double>(size.cx + 2 * kMarkPadX), static_cast<double>(height)});
    m.markTexts.push_back(std::move(text));
  }
  return m;
}

PieLayout Layout(const RECT& bounds, const PieChartModel& model, const Measures& m) {
  std::vector<double> values;
  for (const PiePoint& p : model.points) values.push_back(p.value);
  const PieRectF area{static_cast<double>(bounds.left), static_cast<double>(bounds.top),
                      static_cast<double>(bounds.right), static_cast<double>(bounds.bottom)};
  return ComputePieLayout(area, m.titleHeight, values, m.markSizes);
}

Gdiplus::Color ToColor(COLORREF c, double factor = 1.0) {
  auto channel = [factor](BYTE v) {
    return static_cast<BYTE>(std::clamp(std::lround(v * factor), 0L, 255L));
  };
  return Gdiplus::Color(255, channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

void AddPolygon(Gdiplus::GraphicsPath& path, const std::vector<PiePointF>& points) {
  std::vector<Gdiplus::PointF> pts;
  pts.reserve(points.size());
  for (const PiePointF& p : points) {
    pts.emplace_back(static_cast<Gdiplus::REAL>(p.x), static_cast<Gdiplus::REAL>(p.y));
  }
  path.AddLines(pts.data(), static_cast<INT>(pts.size()));
  path.CloseFigure();
}

bool IsWhole(const SliceSpan& s) { return s.sweep >= 360.0 - 1e-6; }

// The anti-aliased part: side walls, top faces, their edges and the lines to the marks.
void DrawShapes(HDC dc, const RECT& bounds, const PieLayout& layout, const PieChartModel& model) {
  Gdiplus::Graphics g(dc);
  g.SetClip(Gdiplus::Rect(bounds.left, bounds.top, bounds.right - bounds.left,
                          bounds.bottom - bounds.top));
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);

  const PieShape& pie = layout.pie;
  const Gdiplus::Pen edge(Gdiplus::Color(96, 0, 0, 0), 1.0f);

  // Walls first: the top faces then cover the wall's upper rim.
  const auto left = static_cast<Gdiplus::REAL>(pie.center.x - pie.rx - 1);
  const auto right = static_cast<Gdiplus::REAL>(pie.center.x + pie.rx + 1);
  for (std::size_t i = 0; i < layout.slices.size(); ++i) {
    const COLORREF color = model.points[i].color;
    for (const SliceSpan& span : FrontWallSpans(layout.slices[i])) {
      std::vector<PiePointF> outline = ArcPoints(pie, span.start, span.sweep, 0);
      const std::vector<PiePointF> bottom = ArcPoints(pie, span.start, span.sweep, pie.depth);
      outline.insert(outline.end(), bottom.rbegin(), bottom.rend());
      Gdiplus::GraphicsPath path;
      AddPolygon(path, outline);
      Gdiplus::LinearGradientBrush shade(Gdiplus::PointF(left, 0), Gdiplus::PointF(right, 0),
                                         ToColor(color, kSideShadeEnds),
                                         ToColor(color, kSideShadeEnds));
      const Gdiplus::Color colors[] = {ToColor(color, kSideShadeEnds),
                                       ToColor(color, kSideShadeFront),
                                       ToColor(color, kSideShadeEnds)};
      const Gdiplus::REAL positions[] = {0.0f, 0.5f, 1.0f};
      shade.SetInterpolationColors(colors, positions, 3);
      g.FillPath(&shade, &path);
      g.DrawPath(&edge, &path);
    }
  }

  for (std::size_t i = 0; i < layout.slices.size(); ++i) {
    const SliceSpan& slice = layout.slices[i];
    if (slice.sweep <= 0) continue;  // a 0 % slice has nothing to show but its mark
    std::vector<PiePointF> outline;
    if (IsWhole(slice)) {
      outline = ArcPoints(pie, slice.start, 360.0, 0);
      outline.pop_back();  // the closing point repeats the first
    } else {
      outline.push_back(pie.center);
      const std::vector<PiePointF> arc = ArcPoints(pie, slice.start, slice.sweep, 0);
      outline.insert(outline.end(), arc.begin(), arc.end());
    }
    Gdiplus::GraphicsPath path;
    AddPolygon(path, outline);
    const Gdiplus::SolidBrush fill(ToColor(model.points[i].color));
    g.FillPath(&fill, &path);
    g.DrawPath(&edge, &path);
  }

  const Gdiplus::Pen line(ToColor(kMarkFrameColor), 1.0f);
  for (const MarkPlacement& mark : layout.marks) {
    g.DrawLine(&line, static_cast<Gdiplus::REAL>(mark.from.x),
               static_cast<Gdiplus::REAL>(mark.from.y), static_cast<Gdiplus::REAL>(mark.to.x),
               static_cast<Gdiplus::REAL>(mark.to.y));
  }
}

RECT PixelRect(const PieRectF& r) {
  const LONG left = std::lround(r.left);
  const LONG top = std::lround(r.top);
  return {left, top, left + std::lround(r.Width()), top + std::lround(r.Height())};
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  const UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush.Get());
}

// Titles and labels come from language files: a line break must not split the one-line title.
std::string OneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

// The crisp part, drawn over the shapes: mark boxes with frame and shadow, and all text.
void DrawTexts(HDC dc, const ChartFonts& fonts, const PieLayout& layout, const PieChartModel& model,
               const Measures& m) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTextColor);
  {
    SelectGuard font(dc, fonts.title.Get());
    RECT r = PixelRect(layout.title);
    r.left += kTitlePadding;
    r.right -= kTitlePadding;
    const std::string title = OneLine(model.title);
    DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  SelectGuard font(dc, fonts.mark.Get());
  for (std::size_t i = 0; i < layout.marks.size() && i < m.markTexts.size(); ++i) {
    const RECT box = PixelRect(layout.marks[i].box);
    const RECT shadow{box.left + kMarkShadow, box.top + kMarkShadow, box.right + kMarkShadow,
                      box.bottom + kMarkShadow};
    FillSolid(dc, shadow, kMarkShadowColor);
    FillSolid(dc, box, kMarkFrameColor);
    const RECT inside{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    FillSolid(dc, inside, kMarkColor);
    RECT text = box;
    const std::string& caption = m.markTexts[i];
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { BeginPaint(hwnd_, &ps_); }
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return ps_.hdc; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
};

}  // namespace

PieLayout LayoutPieChart(HDC dc, const RECT& bounds, const PieChartModel& model) {
  const ChartFonts fonts;
  return Layout(bounds, model, Measure(dc, fonts, model));
}

void DrawPieChart(HDC dc, const RECT& bounds, const PieChartModel& model) {
  if (!dc || bounds.right <= bounds.left || bounds.bottom <= bounds.top) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
  FillSolid(dc, bounds, kBackColor);

  const ChartFonts fonts;
  const Measures m = Measure(dc, fonts, model);
  const PieLayout layout = Layout(bounds, model, m);
  if (layout.hasPie && GdiplusReady()) DrawShapes(dc, bounds, layout, model);
  DrawTexts(dc, fonts, layout, model, m);
  RestoreDC(dc, saved);
}

bool PieChart::Create(HWND parent, int x, int y, int width, int height) {
  if (Handle()) return false;
  // Redrawn whole on every size change: the pie is centred, so every pixel moves.
  return CreateOfClass({kPieChartClass, CS_HREDRAW | CS_VREDRAW}, 0,
                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, model_.title, x, y, width, height,
                       parent);
}

void PieChart::SetTitle(const std::string& line) {
  if (Handle()) {
    SetWindowTextA(Handle(), line.c_str());  // WM_SETTEXT takes it into the model and repaints
  } else {
    model_.title = line;
  }
}

void PieChart::Clear() {
  model_.points.clear();
  Repaint();
}

void PieChart::Add(double value, const std::string& label, COLORREF color) {
  model_.points.push_back({value, label, color});
  Repaint();
}

void PieChart::SetMarks(PieMarks marks) {
  model_.marks = marks;
  Repaint();
}

void PieChart::Repaint() {
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void PieChart::PaintBuffered(HDC target) {
  RECT client{};
  GetClientRect(Handle(), &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;

  // The picture is built off screen and copied in one go, so a repaint never shows the white
  // back without the pie on it.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const UniqueMemoryDc memory(CreateCompatibleDC(target));
  const UniqueBitmap buffer(CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !buffer) {
    DrawPieChart(target, client, model_);  // short of memory: unbuffered is better than nothing
    return;
  }
  const SelectGuard select(memory.Get(), buffer.Get());
  DrawPieChart(memory.Get(), client, model_);
  BitBlt(target, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT PieChart::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      const PaintScope paint(Handle());
      PaintBuffered(paint.Dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintBuffered(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = Default(message, wParam, lParam);
      if (result) {
        model_.title = lParam ? reinterpret_cast<const char*>(lParam) : "";
        Repaint();
      }
      return result;
    }
    default:
      return Default(message, wParam, lParam);
  }
}

}  // namespace orv
