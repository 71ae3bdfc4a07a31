// Pie geometry in plain arithmetic; every division is by a total or a length that has been checked.
#include "chart/PieGeometry.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kArcStep = 2.0;  // degrees between the points of an arc
constexpr double kTiny = 1e-9;

double Radians(double degrees) { return degrees * kPi / 180.0; }

double Usable(double value) { return std::isfinite(value) && value > 0 ? value : 0.0; }

}  // namespace

std::vector<SliceSpan> ComputeSlices(const std::vector<double>& values) {
  double total = 0;
  for (double v : values) total += Usable(v);
  std::vector<SliceSpan> spans;
  spans.reserve(values.size());
  // The sum of huge values can overflow to infinity; nothing sensible can be drawn then either.
  const bool drawable = total > 0 && std::isfinite(total);
  double sum = 0;
  for (double v : values) {
    SliceSpan span;
    // Each slice is placed from the running sum, so the last one ends on a full turn exactly.
    span.start = kPieStartAngle + (drawable ? sum / total * 360.0 : 0.0);
    sum += Usable(v);
    const double end = kPieStartAngle + (drawable ? sum / total * 360.0 : 0.0);
    span.sweep = std::max(0.0, end - span.start);
    spans.push_back(span);
  }
  return spans;
}

double MidAngle(const SliceSpan& span) { return span.start + span.sweep / 2; }

PiePointF PointOnTop(const PieShape& pie, double degrees) {
  const double a = Radians(degrees);
  return {pie.center.x + pie.rx * std::cos(a), pie.center.y - pie.ry * std::sin(a)};
}

PiePointF PointOnBottom(const PieShape& pie, double degrees) {
  PiePointF p = PointOnTop(pie, degrees);
  p.y += pie.depth;
  return p;
}

std::vector<PiePointF> ArcPoints(const PieShape& pie, double start, double sweep, double yOffset) {
  const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / kArcStep)));
  std::vector<PiePointF> points;
  points.reserve(static_cast<std::size_t>(steps) + 1);
  for (int i = 0; i <= steps; ++i) {
    PiePointF p = PointOnTop(pie, start + sweep * i / steps);
    p.y += yOffset;
    points.push_back(p);
  }
  return points;
}

std::vector<SliceSpan> FrontWallSpans(const SliceSpan& slice) {
  // Bring the start into [0, 360); the slice then lies within [0, 720).
  double start = std::fmod(slice.start, 360.0);
  if (start < 0) start += 360.0;
  const double end = start + std::min(slice.sweep, 360.0);
  std::vector<SliceSpan> spans;
  for (double front : {180.0, 540.0}) {
    const double from = std::max(start, front);
    const double to = std::min(end, front + 180.0);
    if (to - from > kTiny) spans.push_back({from, to - from});
  }
  return spans;
}

MarkPlacement PlaceMark(const PieShape& pie, double degrees, double arrowLength, MarkSize size) {
  const double a = Radians(degrees);
  const double c = std::cos(a);
  const double s = std::sin(a);
  MarkPlacement mark;
  mark.from = s < -kTiny ? PointOnBottom(pie, degrees) : PointOnTop(pie, degrees);
  mark.to = {mark.from.x + arrowLength * c, mark.from.y - arrowLength * s};
  // The box lies beyond the line's end in the line's direction: its left edge on the end at 3
  // o'clock, its bottom-left corner at 45 degrees, its bottom edge at 12 o'clock, and so on round
  // (the direction scaled onto the unit square), so no corner swings back over the pie.
  const double m = std::max(std::fabs(c), std::fabs(s));
  const PiePointF centre{mark.to.x + size.width / 2 * c / m, mark.to.y - size.height / 2 * s / m};
  mark.box = {centre.x - size.width / 2, centre.y - size.height / 2, centre.x + size.width / 2,
              centre.y + size.height / 2};
  return mark;
}

PieLayout ComputePieLayout(const PieRectF& bounds, double titleHeight,
                           const std::vector<double>& values,
                           const std::vector<MarkSize>& markSizes) {
  PieLayout layout;
  layout.title = {bounds.left, bounds.top, bounds.right,
                  std::min(bounds.bottom, bounds.top + std::max(0.0, titleHeight))};
  layout.slices = ComputeSlices(values);

  double sweepTotal = 0;
  for (const SliceSpan& s : layout.slices) sweepTotal += s.sweep;
  if (sweepTotal <= 0) return layout;

  const PieRectF plot{bounds.left + kPieMargin, layout.title.bottom + kPieMargin,
                      bounds.right - kPieMargin, bounds.bottom - kPieMargin};
  if (plot.Width() <= 0 || plot.Height() <= 0) return layout;

  double markWidth = 0, markHeight = 0;
  for (std::size_t i = 0; i < values.size() && i < markSizes.size(); ++i) {
    markWidth = std::max(markWidth, markSizes[i].width);
    markHeight = std::max(markHeight, markSizes[i].height);
  }

  // The farthest a mark reaches is at 0 or 180 degrees sideways (radius, arrow, box width) and
  // at 90 or 270 degrees up or down (radius, arrow, box height; below also the side wall).
  const double faceHeight = 2 * kPieTilt + kPieDepth;  // pie height per unit of rx
  const double roomy = std::min(plot.Width() / 2, plot.Height() / faceHeight);
  double rx = std::min(plot.Width() / 2 - kPieArrowLength - markWidth,
                       (plot.Height() - 2 * (kPieArrowLength + markHeight)) / faceHeight);
  // Marks too wide for the chart (a very long label) may run off its edges; the pie stays visible.
  rx = std::max(rx, roomy / 4);
  if (rx < 1) return layout;

  layout.hasPie = true;
  layout.pie.rx = rx;
  layout.pie.ry = rx * kPieTilt;
  layout.pie.depth = rx * kPieDepth;
  layout.pie.center = {(plot.left + plot.right) / 2,
                       plot.top + plot.Height() / 2 - layout.pie.depth / 2};

  for (std::size_t i = 0; i < layout.slices.size(); ++i) {
    const MarkSize size = i < markSizes.size() ? markSizes[i] : MarkSize{};
    layout.marks.push_back(
        PlaceMark(layout.pie, MidAngle(layout.slices[i]), kPieArrowLength, size));
  }
  return layout;
}

}  // namespace orv
