// Draws charts into 32-bit memory bitmaps and checks pixels where the geometry says things are,
// and drives the real chart window. Set ORV_CHART_DUMP to a folder to keep the pictures as BMPs.
#include "chart/PieChart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "base/Handles.h"
#include "tests/support/WindowWalk.h"

namespace orv {
namespace {

constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 128);

// A top-down 32-bit DIB selected into a memory DC.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = kWhite)
      : width_(width),
        height_(height),
        header_{sizeof header_, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0} {
    const BITMAPINFO info{header_, {}};
    dc_.Reset(CreateCompatibleDC(nullptr));
    bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    old_ = SelectObject(dc_.Get(), bitmap_.Get());
    const RECT all{0, 0, width, height};
    const UniqueBrush brush(CreateSolidBrush(fill));
    FillRect(dc_.Get(), &all, brush.Get());
  }
  ~Canvas() { SelectObject(dc_.Get(), old_); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return dc_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }

  COLORREF At(int x, int y) const {
    GdiFlush();
    const auto* p = static_cast<const BYTE*>(bits_) + (static_cast<size_t>(y) * width_ + x) * 4;
    return RGB(p[2], p[1], p[0]);
  }
  COLORREF At(PiePointF p) const { return At(static_cast<int>(p.x), static_cast<int>(p.y)); }

  // How many pixels meet the condition, asked of each (x, y).
  template <typename Condition>
  int Count(Condition condition) const {
    int count = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) count += condition(x, y) ? 1 : 0;
    }
    return count;
  }

  // Writes the picture as a BMP file into the folder ORV_CHART_DUMP names, if it names one.
  void Dump(const std::string& name) const {
    const char* dir = std::getenv("ORV_CHART_DUMP");
    if (!dir || !*dir) return;
    GdiFlush();
    const DWORD size = static_cast<DWORD>(width_) * height_ * 4;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header_;
    const BITMAPFILEHEADER file{0x4D42, offset + size, 0, 0, offset};  // "BM"
    std::ofstream out(std::string(dir) + "\\" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header_), sizeof header_);
    out.write(static_cast<const char*>(bits_), size);
  }

 private:
  int width_, height_;
  BITMAPINFOHEADER header_;
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

PieChartModel Model(const std::string& title, std::vector<PiePoint> points,
                    PieMarks marks = PieMarks::Label) {
  return {title, std::move(points), marks};
}

// The Drives page's pie: 25 % free in green first, then 75 % used in blue.
PieChartModel DrivesModel() {
  return Model("Drive C: Fixed (NTFS)", {{25, "Free", kGreen}, {75, "Used", kBlue}});
}

// The Memory page's pie: 75 % free, 25 % used, marks with their values.
PieChartModel MemoryModel() {
  return Model("Memory usage", {{75, "Free", kGreen}, {25, "Used", kBlue}},
               PieMarks::LabelAndValue);
}

const RECT kChart{0, 0, 250, 250};

// A point on the top face at the given angle and fraction of the radius.
PiePointF OnFace(const PieShape& pie, double degrees, double fraction) {
  const double a = degrees * 3.14159265358979323846 / 180;
  return {pie.center.x + fraction * pie.rx * std::cos(a),
          pie.center.y - fraction * pie.ry * std::sin(a)};
}

// A point half way down the side wall at the given angle (front half only).
PiePointF OnSide(const PieShape& pie, double degrees) {
  PiePointF p = OnFace(pie, degrees, 0.97);
  p.y += pie.depth / 2 + (1 - 0.97) * pie.ry;
  return p;
}

// A point inside the mark box, clear of its frame and of its centred text.
PiePointF InMarkBox(const MarkPlacement& mark) {
  return {std::floor(mark.box.left) + 2.5, (mark.box.top + mark.box.bottom) / 2};
}

// A darker shade of the colour: the same hue, each lit channel dimmed but not black.
::testing::AssertionResult IsDarkerShadeOf(COLORREF shade, COLORREF color) {
  for (int shift : {0, 8, 16}) {
    const int s = (shade >> shift) & 0xFF;
    const int c = (color >> shift) & 0xFF;
    const bool ok = c == 0 ? s == 0 : (s >= c / 4 && s <= c * 85 / 100);
    if (!ok) {
      return ::testing::AssertionFailure()
             << std::hex << "0x" << shade << " is not a darker shade of 0x" << color;
    }
  }
  return ::testing::AssertionSuccess();
}

bool IsBluish(COLORREF c) {
  return GetBValue(c) > GetRValue(c) + 40 && GetBValue(c) > GetGValue(c) + 40;
}

bool IsDark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 160; }

// Some non-white pixel within one pixel of p: a thin line passes there, however it is rasterised.
bool InkNear(const Canvas& canvas, PiePointF p) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (canvas.At(static_cast<int>(p.x) + dx, static_cast<int>(p.y) + dy) != kWhite) return true;
    }
  }
  return false;
}

bool InRect(const PieRectF& r, int x, int y, int slack) {
  return x >= r.left - slack && x <= r.right + slack && y >= r.top - slack && y <= r.bottom + slack;
}

// A chart drawn on a white 250 x 250 canvas (kept as a picture when asked), its layout and pie.
class DrawPieChartTest : public ::testing::Test {
 protected:
  void Draw(const PieChartModel& model, const std::string& picture) {
    DrawPieChart(canvas.Dc(), kChart, model);
    canvas.Dump(picture);
    layout = LayoutPieChart(canvas.Dc(), kChart, model);
    ASSERT_TRUE(layout.hasPie);
  }
  Canvas canvas{250, 250};
  PieLayout layout;
  const PieShape& pie = layout.pie;
};

TEST_F(DrawPieChartTest, DrivesChartShowsSlicesSidesAndMarks) {
  ASSERT_NO_FATAL_FAILURE(Draw(DrivesModel(), "drives-25-75"));

  // Free (green) covers 0-90 degrees, the upper right; used (blue) the rest, round to 360.
  EXPECT_EQ(canvas.At(OnFace(pie, 45, 0.6)), kGreen);
  EXPECT_EQ(canvas.At(OnFace(pie, 80, 0.8)), kGreen);
  EXPECT_EQ(canvas.At(OnFace(pie, 135, 0.6)), kBlue);
  EXPECT_EQ(canvas.At(OnFace(pie, 225, 0.6)), kBlue);
  EXPECT_EQ(canvas.At(OnFace(pie, 315, 0.6)), kBlue);
  // Only the front half shows a side, all of it blue's, in a darker blue.
  for (const double degrees : {270.0, 200.0, 340.0}) {
    EXPECT_TRUE(IsDarkerShadeOf(canvas.At(OnSide(pie, degrees)), kBlue)) << degrees;
  }
  // Nothing under the side wall, nothing above the back rim.
  EXPECT_EQ(canvas.At(PiePointF{pie.center.x, pie.center.y + pie.ry + pie.depth + 3}), kWhite);

  ASSERT_EQ(layout.marks.size(), 2u);
  for (const MarkPlacement& mark : layout.marks) {
    EXPECT_EQ(canvas.At(InMarkBox(mark)), kYellow);
    // Framed, and joined to the pie by a visible line.
    EXPECT_TRUE(IsDark(canvas.At(static_cast<int>(std::lround(mark.box.left)),
                                 static_cast<int>((mark.box.top + mark.box.bottom) / 2))));
    const PiePointF middle{(mark.from.x + mark.to.x) / 2, (mark.from.y + mark.to.y) / 2};
    EXPECT_TRUE(InkNear(canvas, middle));
  }
  EXPECT_GT(layout.marks[0].box.left, pie.center.x);  // free at the upper right
  EXPECT_LT(layout.marks[0].box.bottom, pie.center.y);
  EXPECT_LT(layout.marks[1].box.right, pie.center.x);  // used at the lower left
  EXPECT_GT(layout.marks[1].box.top, pie.center.y);

  for (auto [x, y] : {std::pair{0, 0}, {249, 0}, {0, 249}, {249, 249}, {2, 125}, {247, 125}}) {
    EXPECT_EQ(canvas.At(x, y), kWhite) << x << "," << y;
  }
}

TEST_F(DrawPieChartTest, MemoryChartShowsBothSidesAndTitle) {
  const PieChartModel model = MemoryModel();
  ASSERT_NO_FATAL_FAILURE(Draw(model, "memory-75-25"));

  // Free (green) runs 0-270, so its side shows at the front left; used (blue) at the front right.
  EXPECT_EQ(canvas.At(OnFace(pie, 135, 0.6)), kGreen);
  EXPECT_EQ(canvas.At(OnFace(pie, 315, 0.6)), kBlue);
  EXPECT_TRUE(IsDarkerShadeOf(canvas.At(OnSide(pie, 225)), kGreen));
  EXPECT_TRUE(IsDarkerShadeOf(canvas.At(OnSide(pie, 315)), kBlue));
  for (const MarkPlacement& mark : layout.marks) EXPECT_EQ(canvas.At(InMarkBox(mark)), kYellow);
  // Marks with values are wider than marks with labels alone.
  const PieLayout labelsOnly =
      LayoutPieChart(canvas.Dc(), kChart, Model("Memory usage", model.points));
  EXPECT_GT(layout.marks[0].box.Width(), labelsOnly.marks[0].box.Width());

  // The title is drawn, centred: ink on both sides of the middle of its band.
  const auto titleInk = [this](bool leftHalf) {
    return canvas.Count([&](int x, int y) {
      return y >= static_cast<int>(layout.title.top) && y < layout.title.bottom &&
             (x < 125) == leftHalf && IsDark(canvas.At(x, y));
    });
  };
  const int left = titleInk(true), right = titleInk(false);
  EXPECT_GT(left, 10);
  EXPECT_GT(right, 10);
  EXPECT_LT(std::abs(left - right), (left + right) / 2);
}

TEST_F(DrawPieChartTest, EmptySliceDrawsNothingButKeepsItsMark) {
  ASSERT_NO_FATAL_FAILURE(Draw(
      Model("Drive C: Fixed (NTFS)", {{100, "Free", kGreen}, {0, "Used", kBlue}}), "drives-100-0"));

  for (double degrees : {0.0, 90.0, 180.0, 270.0, 359.0}) {
    EXPECT_EQ(canvas.At(OnFace(pie, degrees, 0.8)), kGreen) << degrees;
  }
  EXPECT_TRUE(IsDarkerShadeOf(canvas.At(OnSide(pie, 270)), kGreen));
  const int blue = canvas.Count([this](int x, int y) {
    const bool inMark =
        InRect(layout.marks[0].box, x, y, 3) || InRect(layout.marks[1].box, x, y, 3);
    return !inMark && IsBluish(canvas.At(x, y));
  });
  EXPECT_EQ(blue, 0);
  // The used mark is there, at 3 o'clock where the empty slice sits.
  ASSERT_EQ(layout.marks.size(), 2u);
  EXPECT_EQ(canvas.At(InMarkBox(layout.marks[1])), kYellow);
  EXPECT_GT(layout.marks[1].box.left, pie.center.x + pie.rx);
}

TEST_F(DrawPieChartTest, NoSlicesOrZeroTotalDrawsTitleOnWhite) {
  for (const PieChartModel& model :
       {Model("TChart", {}), Model("TChart", {{0, "Free", kGreen}, {0, "Used", kBlue}}),
        Model("", {})}) {
    Canvas magenta(250, 250, RGB(255, 0, 255));
    DrawPieChart(magenta.Dc(), kChart, model);
    const PieLayout titleOnly = LayoutPieChart(magenta.Dc(), kChart, model);
    EXPECT_FALSE(titleOnly.hasPie);
    const auto inkIn = [&](bool title) {
      return magenta.Count([&](int x, int y) {
        return magenta.At(x, y) != kWhite && (y < titleOnly.title.bottom) == title;
      });
    };
    EXPECT_EQ(inkIn(false), 0) << model.title;
    EXPECT_EQ(inkIn(true) > 0, !model.title.empty()) << model.title;
  }
}

TEST_F(DrawPieChartTest, DrawsOnlyInsideItsBoundsAndKeepsTheDcState) {
  DrawPieChart(canvas.Dc(), kChart, MemoryModel());  // the picture at the origin

  const COLORREF sentinel = RGB(255, 0, 255);
  Canvas moved(300, 300, sentinel);
  const UniqueFont font(
      CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Courier New"));
  const SelectGuard select(moved.Dc(), font.Get());
  SetTextColor(moved.Dc(), RGB(1, 2, 3));
  SetBkMode(moved.Dc(), OPAQUE);
  const RECT bounds{20, 30, 270, 280};
  DrawPieChart(moved.Dc(), bounds, MemoryModel());

  const auto in = [](int x, int y) { return x >= 20 && x < 270 && y >= 30 && y < 280; };
  const int outside =
      moved.Count([&](int x, int y) { return !in(x, y) && moved.At(x, y) != sentinel; });
  const int different = moved.Count(
      [&](int x, int y) { return in(x, y) && moved.At(x, y) != canvas.At(x - 20, y - 30); });
  EXPECT_EQ(outside, 0);
  // The same picture, moved; anti-aliasing may round the odd edge pixel differently.
  EXPECT_LE(different, 250 * 250 / 200);

  EXPECT_EQ(GetCurrentObject(moved.Dc(), OBJ_FONT), font.Get());
  EXPECT_EQ(GetTextColor(moved.Dc()), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(moved.Dc()), OPAQUE);
  const UniqueRegion clip(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetClipRgn(moved.Dc(), clip.Get()), 0);  // no clipping left behind

  // Degenerate calls are harmless.
  DrawPieChart(nullptr, kChart, MemoryModel());
  DrawPieChart(moved.Dc(), RECT{10, 10, 10, 50}, MemoryModel());
  DrawPieChart(moved.Dc(), RECT{0, 0, 3, 3}, MemoryModel());
}

// Runs on Windows only: Wine counts no GDI objects, so there it always skips.
TEST_F(DrawPieChartTest, RepeatedDrawingLeaksNoGdiObjects) {
  const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (before == 0) GTEST_SKIP() << "GetGuiResources reports no GDI object count (Wine)";
  for (int i = 0; i < 50; ++i) DrawPieChart(canvas.Dc(), kChart, DrivesModel());
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
}

class PieChartWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(0, "STATIC", "chart host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    // Shown, so that invalidation and painting happen as on a real page.
    ShowWindow(parent_, SW_SHOWNOACTIVATE);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
  }
  HWND parent_ = nullptr;
};

TEST_F(PieChartWindowTest, TitleAndSlicesReachTheModel) {
  PieChart chart;
  chart.SetTitle("TChart");  // before the window exists
  ASSERT_TRUE(chart.Create(parent_, 242, 0, 250, 250));
  HWND hwnd = chart.Handle();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_FALSE(chart.Create(parent_, 0, 0, 10, 10));  // one window per chart
  EXPECT_EQ(chart.Handle(), hwnd);

  char className[64] = {};
  GetClassNameA(hwnd, className, sizeof className);
  EXPECT_STREQ(className, "OrvPieChart");
  EXPECT_EQ(GetParent(hwnd), parent_);
  RECT r{};
  GetClientRect(hwnd, &r);
  EXPECT_EQ(r.right, 250);
  EXPECT_EQ(r.bottom, 250);
  EXPECT_EQ(test::WindowText(hwnd), "TChart");
  EXPECT_TRUE(chart.Model().points.empty());

  chart.SetTitle("Drive C: Fixed (NTFS)");
  EXPECT_EQ(test::WindowText(hwnd), "Drive C: Fixed (NTFS)");
  EXPECT_EQ(chart.Model().title, "Drive C: Fixed (NTFS)");
  SetWindowTextA(hwnd, "Memory usage");  // the window text is the title
  EXPECT_EQ(chart.Model().title, "Memory usage");

  chart.Add(25, "Free", kGreen);
  chart.Add(75, "Used", kBlue);
  ASSERT_EQ(chart.Model().points.size(), 2u);
  EXPECT_EQ(chart.Model().points[0].label, "Free");
  EXPECT_EQ(chart.Model().points[1].value, 75);
  EXPECT_EQ(chart.Model().points[1].color, kBlue);
  chart.SetMarks(PieMarks::LabelAndValue);
  EXPECT_EQ(chart.Model().marks, PieMarks::LabelAndValue);
  chart.Clear();
  EXPECT_TRUE(chart.Model().points.empty());
  EXPECT_EQ(chart.Model().title, "Memory usage");  // clearing the slices keeps the title

  // Changes ask for a repaint without erasing: the whole picture is painted in one blit.
  ValidateRect(hwnd, nullptr);
  chart.Add(10, "Free", kGreen);
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_NE(SendMessageA(hwnd, WM_ERASEBKGND, 0, 0), 0);
}

TEST_F(PieChartWindowTest, PrintClientRendersTheSamePicture) {
  PieChart chart;
  ASSERT_TRUE(chart.Create(parent_, 242, 0, 250, 250));
  chart.SetTitle("Memory usage");
  chart.SetMarks(PieMarks::LabelAndValue);
  chart.Add(63, "Free", kGreen);
  chart.Add(37, "Used", kBlue);

  Canvas printed(250, 250, RGB(255, 0, 255));
  SendMessageA(chart.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.Dc()), PRF_CLIENT);
  printed.Dump("window-printclient");
  Canvas drawn(250, 250);
  DrawPieChart(drawn.Dc(), kChart, chart.Model());
  EXPECT_EQ(printed.Count([&](int x, int y) { return printed.At(x, y) != drawn.At(x, y); }), 0);

  // A painted window (WM_PAINT through the off-screen buffer) does not disturb that.
  UpdateWindow(chart.Handle());
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(chart.Handle(), &update, FALSE));
}

TEST_F(PieChartWindowTest, SeveralChartsAndTheirEnds) {
  auto drive = std::make_unique<PieChart>();
  PieChart memory;
  ASSERT_TRUE(drive->Create(parent_, 0, 0, 250, 250));
  ASSERT_TRUE(memory.Create(parent_, 250, 0, 250, 250));
  drive->Add(1, "Free", kGreen);
  memory.Add(2, "Used", kBlue);
  EXPECT_EQ(memory.Model().points.size(), 1u);
  EXPECT_EQ(drive->Model().points[0].value, 1);
  for (PieChart* chart : {drive.get(), &memory}) {
    Canvas canvas(250, 250);
    SendMessageA(chart->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()),
                 PRF_CLIENT);
    const PieLayout layout = LayoutPieChart(canvas.Dc(), kChart, chart->Model());
    ASSERT_TRUE(layout.hasPie);
    EXPECT_EQ(canvas.At(OnFace(layout.pie, 90, 0.5)), chart->Model().points[0].color);
  }

  // A chart object that goes first takes its window with it.
  HWND driveWindow = drive->Handle();
  drive.reset();
  EXPECT_FALSE(IsWindow(driveWindow));

  // A window that goes first (with its parent) leaves the object safe to use.
  HWND memoryWindow = memory.Handle();
  DestroyWindow(parent_);
  parent_ = nullptr;
  EXPECT_FALSE(IsWindow(memoryWindow));
  EXPECT_EQ(memory.Handle(), nullptr);
  memory.Add(3, "Free", kGreen);
  memory.SetTitle("after");
  EXPECT_EQ(memory.Model().title, "after");
}

}  // namespace
}  // namespace orv
