#include "chart/PieGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orv {
namespace {

constexpr double kEps = 1e-9;

void ExpectSpans(const std::vector<SliceSpan>& spans, const std::vector<SliceSpan>& expected) {
  ASSERT_EQ(spans.size(), expected.size());
  for (std::size_t i = 0; i < spans.size(); ++i) {
    EXPECT_NEAR(spans[i].start, expected[i].start, kEps) << "slice " << i;
    EXPECT_NEAR(spans[i].sweep, expected[i].sweep, kEps) << "slice " << i;
  }
}

void ExpectPoint(PiePointF p, PiePointF expected, const char* what) {
  EXPECT_NEAR(p.x, expected.x, kEps) << what;
  EXPECT_NEAR(p.y, expected.y, kEps) << what;
}

TEST(ComputeSlicesTest, SlicesFollowTheValuesInTheOrderAdded) {
  ExpectSpans(ComputeSlices({75, 25}), {{0, 270}, {270, 90}});
  ExpectSpans(ComputeSlices({25, 75}), {{0, 90}, {90, 270}});
  ExpectSpans(ComputeSlices({50, 50}), {{0, 180}, {180, 180}});
  ExpectSpans(ComputeSlices({1, 1, 2}), {{0, 90}, {90, 90}, {180, 180}});
  EXPECT_NEAR(MidAngle({0, 270}), 135, kEps);
  EXPECT_NEAR(MidAngle({270, 90}), 315, kEps);
}

TEST(ComputeSlicesTest, EmptySlicesAndZeroTotals) {
  // 100/0: the empty slice sits where the full one ended, so its mark has a place.
  const auto full = ComputeSlices({100, 0});
  ExpectSpans(full, {{0, 360}, {360, 0}});
  EXPECT_NEAR(MidAngle(full[1]), 360, kEps);
  ExpectSpans(ComputeSlices({0, 100}), {{0, 0}, {0, 360}});
  // Nothing to divide by: every slice is empty, none is NaN.
  ExpectSpans(ComputeSlices({0, 0}), {{0, 0}, {0, 0}});
  EXPECT_TRUE(ComputeSlices({}).empty());
}

TEST(ComputeSlicesTest, UnusableValuesCountAsZero) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  ExpectSpans(ComputeSlices({-5, 10}), {{0, 0}, {0, 360}});
  ExpectSpans(ComputeSlices({nan, 10, inf}), {{0, 0}, {0, 360}, {360, 0}});
  // Huge values whose sum overflows give nothing rather than NaN angles.
  const double max = std::numeric_limits<double>::max();
  for (const SliceSpan& s : ComputeSlices({max, max})) {
    EXPECT_TRUE(std::isfinite(s.start));
    EXPECT_TRUE(std::isfinite(s.sweep));
  }
  ExpectSpans(ComputeSlices({max / 4, max / 4}), {{0, 180}, {180, 180}});
}

TEST(PieShapeTest, RimPointsAndArcs) {
  const PieShape pie{{100, 80}, 60, 30, 10};
  ExpectPoint(PointOnTop(pie, 0), {160, 80}, "right");
  ExpectPoint(PointOnTop(pie, 90), {100, 50}, "90 degrees, counter-clockwise: the far side");
  ExpectPoint(PointOnBottom(pie, 270), {100, 120}, "front");

  const auto arc = ArcPoints(pie, 90, 180, 10);
  ASSERT_GE(arc.size(), 91u);  // no more than two degrees between points
  ExpectPoint(arc.front(), {100, 60}, "arc start");
  ExpectPoint(arc.back(), {100, 120}, "arc end");
  for (const PiePointF& p : arc) EXPECT_LE(p.x, 100 + kEps);  // the left half only
  EXPECT_EQ(ArcPoints(pie, 30, 0, 0).size(), 2u);
}

TEST(PieShapeTest, OnlyTheFrontHalfShowsItsSide) {
  EXPECT_TRUE(FrontWallSpans({0, 90}).empty());
  EXPECT_TRUE(FrontWallSpans({0, 180}).empty());
  ExpectSpans(FrontWallSpans({90, 270}), {{180, 180}});
  ExpectSpans(FrontWallSpans({0, 360}), {{180, 180}});
  ExpectSpans(FrontWallSpans({0, 270}), {{180, 90}});
  ExpectSpans(FrontWallSpans({270, 90}), {{270, 90}});
  EXPECT_TRUE(FrontWallSpans({360, 0}).empty());
  // Slices that run past a full turn or start below zero are seen the same way.
  ExpectSpans(FrontWallSpans({300, 300}), {{300, 60}, {540, 60}});
  ExpectSpans(FrontWallSpans({-90, 90}), {{270, 90}});
}

bool Contains(const PieRectF& r, PiePointF p, double slack = 1e-6) {
  return p.x >= r.left - slack && p.x <= r.right + slack && p.y >= r.top - slack &&
         p.y <= r.bottom + slack;
}

bool OnEdge(const PieRectF& r, PiePointF p) {
  constexpr double e = 1e-6;
  const bool inside = Contains(r, p);
  return inside && (std::fabs(p.x - r.left) < e || std::fabs(p.x - r.right) < e ||
                    std::fabs(p.y - r.top) < e || std::fabs(p.y - r.bottom) < e);
}

// True when the point lies inside the solid pie: the top ellipse swept down over the depth.
bool InsidePie(const PieShape& pie, PiePointF p) {
  const double dx = (p.x - pie.center.x) / pie.rx;
  if (std::fabs(dx) >= 1) return false;
  const double half = pie.ry * std::sqrt(1 - dx * dx);
  return p.y > pie.center.y - half && p.y < pie.center.y + half + pie.depth;
}

TEST(PlaceMarkTest, BoxTouchesTheLineEndAndStaysOffThePie) {
  const PieShape pie{{125, 130}, 60, 60 * kPieTilt, 60 * kPieDepth};
  const MarkSize size{50, 17};

  const MarkPlacement east = PlaceMark(pie, 0, 8, size);
  EXPECT_NEAR(east.from.x, 185, kEps);
  EXPECT_NEAR(east.to.x, 193, kEps);
  EXPECT_NEAR(east.box.left, 193, kEps);
  EXPECT_NEAR((east.box.top + east.box.bottom) / 2, 130, kEps);

  const MarkPlacement north = PlaceMark(pie, 90, 8, size);
  EXPECT_NEAR(north.box.bottom, north.to.y, kEps);
  EXPECT_NEAR((north.box.left + north.box.right) / 2, 125, kEps);

  // At the front the line starts below the side wall, not on the top face.
  const MarkPlacement south = PlaceMark(pie, 270, 8, size);
  EXPECT_NEAR(south.from.y, 130 + pie.ry + pie.depth, kEps);
  EXPECT_NEAR(south.box.top, south.from.y + 8, kEps);

  for (double rx : {20.0, 60.0, 120.0}) {
    const PieShape p{{200, 200}, rx, rx * kPieTilt, rx * kPieDepth};
    for (MarkSize box : {MarkSize{20, 13}, MarkSize{50, 17}, MarkSize{120, 20}}) {
      for (int degrees = 0; degrees < 360; degrees += 5) {
        const MarkPlacement m = PlaceMark(p, degrees, 8, box);
        EXPECT_NEAR(std::hypot(m.to.x - m.from.x, m.to.y - m.from.y), 8, kEps) << degrees;
        EXPECT_TRUE(OnEdge(m.box, m.to)) << degrees;
        EXPECT_NEAR(m.box.Width(), box.width, kEps);
        EXPECT_NEAR(m.box.Height(), box.height, kEps);
        // No part of the box's outline lies over the pie.
        for (double f = 0; f <= 1; f += 0.01) {
          const double x = m.box.left + f * m.box.Width();
          const double y = m.box.top + f * m.box.Height();
          for (PiePointF q : {PiePointF{x, m.box.top}, PiePointF{x, m.box.bottom},
                              PiePointF{m.box.left, y}, PiePointF{m.box.right, y}}) {
            ASSERT_FALSE(InsidePie(p, q)) << "rx " << rx << " at " << degrees << " degrees";
          }
        }
      }
    }
  }
}

TEST(ComputePieLayoutTest, PieAndMarksFitTheChart) {
  const PieRectF bounds{0, 0, 250, 250};
  const std::vector<MarkSize> sizes{{52, 17}, {44, 17}};
  for (const std::vector<double>& values :
       {std::vector<double>{75, 25}, {25, 75}, {50, 50}, {100, 0}, {0, 100}, {1, 99}}) {
    const PieLayout layout = ComputePieLayout(bounds, 22, values, sizes);
    ASSERT_TRUE(layout.hasPie);
    const PieShape& pie = layout.pie;
    EXPECT_NEAR(layout.title.bottom, 22, kEps);
    EXPECT_NEAR(pie.center.x, 125, kEps);
    EXPECT_GE(pie.center.y - pie.ry, 22 + kPieMargin - kEps);
    EXPECT_GT(pie.rx, 50);  // a 250-pixel chart still shows a sizeable pie
    EXPECT_NEAR(pie.ry, pie.rx * kPieTilt, kEps);
    EXPECT_NEAR(pie.depth, pie.rx * kPieDepth, kEps);
    ASSERT_EQ(layout.marks.size(), 2u);
    for (const MarkPlacement& m : layout.marks) {
      EXPECT_GE(m.box.left, kPieMargin - kEps);
      EXPECT_LE(m.box.right, 250 - kPieMargin + kEps);
      EXPECT_GE(m.box.top, 22 + kPieMargin - kEps);
      EXPECT_LE(m.box.bottom, 250 - kPieMargin + kEps);
    }
  }
  // The pie keeps its size and place whatever the values, so it does not jump between updates.
  const PieLayout a = ComputePieLayout(bounds, 22, {75, 25}, sizes);
  const PieLayout b = ComputePieLayout(bounds, 22, {3, 97}, sizes);
  EXPECT_DOUBLE_EQ(a.pie.rx, b.pie.rx);
  EXPECT_DOUBLE_EQ(a.pie.center.y, b.pie.center.y);
}

TEST(ComputePieLayoutTest, MarksSitAtTheMiddleOfTheirSlices) {
  const PieLayout layout = ComputePieLayout({0, 0, 250, 250}, 22, {25, 75}, {{40, 17}, {40, 17}});
  ASSERT_EQ(layout.marks.size(), 2u);
  // Free (first, 0-90) is at the upper right, Used (90-360, middle 225) at the lower left.
  EXPECT_GT(layout.marks[0].box.left, layout.pie.center.x);
  EXPECT_LT(layout.marks[0].box.bottom, layout.pie.center.y);
  EXPECT_LT(layout.marks[1].box.right, layout.pie.center.x);
  EXPECT_GT(layout.marks[1].box.top, layout.pie.center.y);
}

TEST(ComputePieLayoutTest, NothingToDrawOrNoRoom) {
  const PieRectF bounds{0, 0, 250, 250};
  for (const std::vector<double>& values : {std::vector<double>{}, {0, 0}, {-1, -2}}) {
    const PieLayout layout = ComputePieLayout(bounds, 22, values, {{40, 17}, {40, 17}});
    EXPECT_FALSE(layout.hasPie);
    EXPECT_TRUE(layout.marks.empty());
    EXPECT_NEAR(layout.title.bottom, 22, kEps);  // the title still has its band
  }
  EXPECT_FALSE(ComputePieLayout({0, 0, 6, 6}, 22, {1, 1}, {{40, 17}, {40, 17}}).hasPie);
  EXPECT_FALSE(ComputePieLayout({0, 0, 0, 0}, 0, {1, 1}, {}).hasPie);
  // Marks wider than the chart shrink the pie, but never away.
  const PieLayout wide = ComputePieLayout(bounds, 22, {1, 1}, {{400, 17}, {400, 17}});
  ASSERT_TRUE(wide.hasPie);
  EXPECT_GT(wide.pie.rx, 20);
  // Fewer sizes than values: the missing marks are empty boxes, not a crash.
  EXPECT_EQ(ComputePieLayout(bounds, 22, {1, 1, 1}, {{40, 17}}).marks.size(), 3u);
}

TEST(ComputePieLayoutTest, FollowsTheBoundsOrigin) {
  const std::vector<MarkSize> sizes{{40, 17}, {40, 17}};
  const PieLayout at0 = ComputePieLayout({0, 0, 250, 250}, 22, {30, 70}, sizes);
  const PieLayout moved = ComputePieLayout({100, 50, 350, 300}, 22, {30, 70}, sizes);
  EXPECT_NEAR(moved.pie.center.x - at0.pie.center.x, 100, kEps);
  EXPECT_NEAR(moved.pie.center.y - at0.pie.center.y, 50, kEps);
  EXPECT_NEAR(moved.marks[1].box.left - at0.marks[1].box.left, 100, kEps);
  EXPECT_NEAR(moved.title.top, 50, kEps);
}

}  // namespace
}  // namespace orv
