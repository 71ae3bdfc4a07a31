// Geometry of the tilted 3-D pie: slice angles from the values, the ellipse of the top face and
// its side wall, where each mark box goes, and how large the pie can be so that title, pie and
// marks share the chart's rectangle. Platform-neutral, so the host build tests it.
//
// Angles are in degrees, counter-clockwise from 3 o'clock, measured on the pie's own circle before
// it is tilted (a quarter of the values is always 90 degrees, however flat the ellipse looks).
// Screen coordinates: x to the right, y downwards.
#pragma once

#include <vector>

namespace orv {

// The view the charts use: seen from 45 degrees above (elevation 315), so the top face is an
// ellipse whose height is sin 45 of its width, over a side wall of a fifth of the radius.
constexpr double kPieStartAngle = 0.0;
constexpr double kPieTilt = 0.70710678118654752;  // vertical radius / horizontal radius
constexpr double kPieDepth = 0.2;                 // side wall height / horizontal radius
constexpr double kPieArrowLength = 8.0;           // line from the slice to its mark
constexpr double kPieMargin = 4.0;                // kept free inside the chart's edges

struct PiePointF {
  double x = 0;
  double y = 0;
};

struct PieRectF {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  double Width() const { return right - left; }
  double Height() const { return bottom - top; }
};

struct SliceSpan {
  double start = 0;  // degrees
  double sweep = 0;  // degrees, never negative
};

// One span per value, in the order given, the first from kPieStartAngle and each next one where
// the previous ended. A value that is negative, NaN or infinite counts as 0; when the values add
// up to 0 every sweep is 0 (nothing to draw) rather than a division by zero.
std::vector<SliceSpan> ComputeSlices(const std::vector<double>& values);

double MidAngle(const SliceSpan& span);

// The tilted pie: centre and radii of the top face's ellipse; the bottom edge of the side wall is
// the same ellipse moved down by depth.
struct PieShape {
  PiePointF center;
  double rx = 0;
  double ry = 0;
  double depth = 0;
};

PiePointF PointOnTop(const PieShape& pie, double degrees);
PiePointF PointOnBottom(const PieShape& pie, double degrees);

// Points along the top face's rim from start over sweep degrees (both ends included, at most two
// degrees apart), moved down by yOffset (0 for the top face, depth for the bottom of the wall).
std::vector<PiePointF> ArcPoints(const PieShape& pie, double start, double sweep, double yOffset);

// The parts of a slice whose side wall faces the viewer: the front half of the pie, 180 to 360
// degrees (and the same range one turn on). Empty for a slice that lies wholly at the back.
std::vector<SliceSpan> FrontWallSpans(const SliceSpan& slice);

struct MarkSize {
  double width = 0;
  double height = 0;
};

// A mark: a line from the slice's outer edge at its middle angle (the top rim at the back, the
// bottom of the side wall at the front) outwards over the arrow length, and a box on the far side
// of the line's end, which lies on the box's edge.
struct MarkPlacement {
  PiePointF from;
  PiePointF to;
  PieRectF box;
};

MarkPlacement PlaceMark(const PieShape& pie, double degrees, double arrowLength, MarkSize size);

struct PieLayout {
  PieRectF title;                    // band at the top for the one-line title
  PieShape pie;                      // meaningful only when hasPie
  bool hasPie = false;               // false when the values add up to 0 or there is no room
  std::vector<SliceSpan> slices;     // one per value
  std::vector<MarkPlacement> marks;  // one per value when hasPie, else none
};

// Lays the chart out in bounds: the title band (titleHeight high) at the top and, below it, the
// pie as large as marks of the given sizes at any angle still fit. The size does not depend on
// where the slices fall, so the pie does not jump when the values change. markSizes holds one size
// per value.
PieLayout ComputePieLayout(const PieRectF& bounds, double titleHeight,
                           const std::vector<double>& values,
                           const std::vector<MarkSize>& markSizes);

}  // namespace orv
