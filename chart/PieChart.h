// The 3-D pie chart of the Drives and Memory pages: a child window of class "OrvPieChart" that
// holds a title line and a list of slices, and the drawing function behind it, which paints into
// any DC and knows nothing of the window (so WM_PAINT, WM_PRINTCLIENT and tests share it).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "chart/PieGeometry.h"
#include "ui/Window.h"

namespace orv {

inline constexpr char kPieChartClass[] = "OrvPieChart";

struct PiePoint {
  double value;
  std::string label;
  COLORREF color;
};

// What each slice's mark shows: its label, or its label, a blank and its value ("Free 37").
enum class PieMarks { Label, LabelAndValue };

struct PieChartModel {
  std::string title;
  std::vector<PiePoint> points;
  PieMarks marks = PieMarks::Label;
};

// Draws the whole chart into dc within bounds: white back, the title centred at the top, the
// slices in the order added as a tilted pie with darker sides, and a light-yellow mark per slice.
// Draws nothing outside bounds and leaves the DC's state as it found it.
void DrawPieChart(HDC dc, const RECT& bounds, const PieChartModel& model);

// Where DrawPieChart puts everything for this model, measured with the chart's fonts on dc.
PieLayout LayoutPieChart(HDC dc, const RECT& bounds, const PieChartModel& model);

// The chart window goes through the program's one window procedure, so an error while it paints
// reaches the application's error box like any other window's.
class PieChart : public Window {
 public:
  // Creates the chart window; false when it cannot be created or already exists.
  bool Create(HWND parent, int x, int y, int width, int height);

  // Replaces the title with this one line; the window text is the title, and setting the window
  // text from outside (WM_SETTEXT) changes the title too.
  void SetTitle(const std::string& line);
  void Clear();
  void Add(double value, const std::string& label, COLORREF color);
  void SetMarks(PieMarks marks);
  const PieChartModel& Model() const { return model_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintBuffered(HDC target);
  void Repaint();

  PieChartModel model_;
};

}  // namespace orv
