#pragma once
// The light-curve plot: the computed light of a page-1 report against phase,
// with observed light points, drawn onto a Canvas from the shared plot state.
// Every change redraws everything.

#include <string>
#include <vector>

#include "output/canvas.h"
#include "output/lco_reader.h"
#include "output/plot_observations.h"
#include "output/plot_state.h"

namespace tavrin {

// A text label the drawing placed (the windows' Label1..Label26), top-left
// corner in twips. Hidden labels are listed with visible = false and are not
// drawn.
struct PlotLabel {
  std::string name;
  std::string text;
  double x = 0.0, y = 0.0;
  bool visible = false;
};

// What the plot shows besides the curve and the points.
struct PlotInfo {
  std::string lcoFileName;
  std::string dataFileName;  // Label25
  double l1 = 0.0;           // L1 of the parameter set, for Label26
};

struct PlotResult {
  std::vector<PlotLabel> labels;
  // Set when no scale exists (zero phase span or zero vertical range): only
  // the frame, the labels and this note were drawn.
  std::string note;
  const PlotLabel* label(const std::string& name) const;
};

// Frame margins in twips.
inline constexpr double kLightPlotLeft = 500;
inline constexpr double kVelocityPlotLeft = 800;
inline constexpr double kPlotRightMargin = 415;
inline constexpr double kPlotTop = 342;
inline constexpr double kPlotBottomMargin = 550 + 600;
inline constexpr double kTickLength = 120;

// Draws the light-curve plot. curveColour, foreColour and backColour are
// those of the caller (plot colour, black, background); state.joinPoints is
// switched on when the display mode is 3.
PlotResult drawLightCurvePlot(Canvas& canvas, PlotState& state, const ComputedCurve& curve, const ObservedLight& observed,
                              const PlotInfo& info, Rgb curveColour, Rgb foreColour, Rgb backColour);

namespace plotdetail {

struct Frame {
  double left = 0, right = 0, top = 0, bottom = 0;
  double W() const { return right - left; }
  double H() const { return bottom - top; }
};

Frame frameFor(const Canvas& c, double left);
// x of a phase on the frame; the span must not be zero.
double phaseX(const Frame& f, double phaseFirst, double phaseLast, double p);
// Vertical phase grid lines and phase ticks, as both plots draw them.
void drawPhaseGrid(Canvas& c, const Frame& f, double phaseFirst, double phaseLast);
void drawPhaseTicks(Canvas& c, const Frame& f, double phaseFirst, double phaseLast);
void drawFrameLines(Canvas& c, const Frame& f);
// Information labels, the phase labels and title, Label26; appended to out
// and drawn.
void placeCommonLabels(Canvas& c, const Frame& f, const ComputedCurve& curve, const PlotInfo& info, bool scaled,
                       std::vector<PlotLabel>& out);
void drawLabel(Canvas& c, std::vector<PlotLabel>& out, const std::string& name, const std::string& text, double x,
               double y, bool visible = true);
// The note drawn in place of an unscalable plot.
void drawNote(Canvas& c, const Frame& f, const std::string& note);
bool usablePhaseSpan(const ComputedCurve& curve);

}  // namespace plotdetail

}  // namespace tavrin
