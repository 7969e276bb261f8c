#pragma once
// Light-curve and velocity figures for print: titled axes with round ticks,
// the computed curve as a line, each observed set as points in its own
// colour with a legend, and optional panels of observed minus computed on
// the same phase axis.

#include <optional>
#include <string>
#include <vector>

#include "output/canvas.h"
#include "output/figure_layout.h"
#include "output/figure_tables.h"
#include "model/parameter_set.h"
#include "output/lco_reader.h"

namespace tavrin {

struct FigureSeries {
  enum Style { Line, Dashed, Points } style = Line;
  std::string legend;  // "" keeps it out of the legend
  Rgb colour;
  std::vector<double> x, y;  // data units
};

struct FigurePanel {
  std::string yTitle;
  std::string yTitleShort;  // used when yTitle is longer than the panel is high
  std::string tag;  // a short name shown inside the panel's top left corner
  std::vector<FigureSeries> series;
  double share = 1;        // height relative to the other panels
  bool residual = false;   // symmetric about a zero line
};

struct CurveFigure {
  std::string xTitle;
  double xMin = 0, xMax = 1;
  std::vector<FigurePanel> panels;  // top to bottom; the X labels go under the last
};

// The panels' frames as drawn, top to bottom (empty when nothing could be
// scaled: the note is drawn instead).
std::vector<AxisBox> drawCurveFigure(Canvas& c, const CurveFigure& f);

// Colours of the observed sets, in turn (colour-blind safe).
Rgb seriesColour(int k);

// The velocity unit and systemic velocity a report was made with (VUNIT
// and the gamma velocity of its header); 1 and 0 when the header lacks them.
struct VelocityScale {
  double vunit = 1, gamma = 0;
};
VelocityScale velocityScaleOf(const std::string& reportText);

// A number of an LC report's header: under `word` on the line after the
// header line that begins with `first`; nullopt when there is none.
std::optional<double> reportHeaderValue(const std::string& reportText, const std::string& first,
                                        const std::string& word);
// A set holding the report's ephemeris (HJD0, PERIOD, PSHIFT), for folding
// the dates of observation files as the plot windows do.
ParameterSet ephemerisOf(const std::string& reportText);

CurveFigure lightCurveFigure(const ComputedCurve& curve, const std::vector<ObservedSeries>& observed, bool residuals);
// Velocities in km/s (the report's values times VUNIT).
CurveFigure velocityFigure(const ComputedCurve& curve, const std::vector<ObservedSeries>& observed, bool residuals,
                           VelocityScale scale);

}  // namespace tavrin
