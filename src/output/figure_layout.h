#pragma once
// What every figure drawn for print shares: its size in inches or
// centimetres with the journal presets, type sizes, and the axes (a box with
// inward round ticks and labels) mapped from data to twips.

#include <optional>
#include <string>
#include <vector>

#include "output/canvas.h"
#include "output/figure_ticks.h"

namespace tavrin {

// Clips a segment to a rectangle (Liang-Barsky); false when nothing of it,
// or a segment with a coordinate that is not finite, is left.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right,
                 double bottom);

inline constexpr double kTwipsPerInch = 1440;

struct FigureSize {
  double widthIn = 3.5, heightIn = 2.6;
  friend bool operator==(const FigureSize&, const FigureSize&) = default;
};
inline constexpr FigureSize kOneColumnFigure{3.5, 2.6};
inline constexpr FigureSize kTwoColumnFigure{7.0, 4.3};
// "3.5x2.6in" or "17x12cm", each side 1 to 40 inches; nullopt otherwise.
std::optional<FigureSize> parseFigureSize(const std::string& s);

// Type and line sizes in twips (20 twips to a point).
inline constexpr double kFigureTitleFont = 160;
inline constexpr double kFigureTickFont = 140;
inline constexpr double kFigureFramePen = 12;
inline constexpr double kFigureCurvePen = 20;
inline constexpr double kFigureTickLength = 70;
inline constexpr double kFigureMarkerRadius = 22;

// A figure starts as a white page in black ink with the frame pen and the
// tick labels' type; it lays itself out by these two heights.
struct FigureTextHeights {
  double title = 0, tick = 0;
};
FigureTextHeights beginFigure(Canvas& c);

struct AxisBox {
  double left = 0, right = 0, top = 0, bottom = 0;
  double width() const { return right - left; }
  double height() const { return bottom - top; }
};

// A data range on an axis with its ticks; lo < hi.
struct AxisScale {
  double lo = 0, hi = 1;
  AxisTicks ticks;
};
AxisScale axisScale(double lo, double hi, int maxTicks);
double axisX(const AxisBox& b, const AxisScale& s, double v);
double axisY(const AxisBox& b, const AxisScale& s, double v);

// A range over finite values widened by `pad` of its width each way (or by
// a little when all values are equal); lo > hi when there is no value.
struct DataRange {
  double lo = 1, hi = -1;
  void take(double v);
  bool empty() const { return !(lo <= hi); }
  DataRange padded(double pad) const;
};

// Title with the ticks' power of ten ("Light ×10⁻⁴").
std::string titleWithPower(const std::string& title, const AxisTicks& t);

// The frame, inward ticks on all four sides, labels below / left when asked.
// skipNearTop / skipNearBottom leave out Y labels that would touch a panel
// stacked above or below.
void drawAxisBox(Canvas& c, const AxisBox& b);
void drawXTicks(Canvas& c, const AxisBox& b, const AxisScale& s, bool labels);
void drawYTicks(Canvas& c, const AxisBox& b, const AxisScale& s, bool labels, bool skipNearTop = false,
                bool skipNearBottom = false);
// Widest Y tick label of a scale in the current font.
double yLabelWidth(const Canvas& c, const AxisScale& s);

// A line through data points, cut at the box (points given in twips).
void drawClippedPolyline(Canvas& c, const AxisBox& b, const std::vector<double>& x, const std::vector<double>& y);
// A horizontal line across the box at y twips.
void drawHorizontal(Canvas& c, const AxisBox& b, double y);

}  // namespace tavrin
