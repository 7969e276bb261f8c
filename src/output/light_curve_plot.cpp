#include "output/light_curve_plot.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/number_fields.h"

namespace tavrin {

const PlotLabel* PlotResult::label(const std::string& name) const {
  for (const PlotLabel& l : labels)
    if (l.name == name) return &l;
  return nullptr;
}

namespace plotdetail {

namespace {
// VB-style Fix (towards zero) and Int (floor).
double fix(double x) { return std::trunc(x); }
double intPart(double x) { return std::floor(x); }
// The phases a report can hold lie within -1..2; anything far outside is
// not a curve we can lay ticks on.
constexpr double kPhaseLimit = 1e4;
}  // namespace

Frame frameFor(const Canvas& c, double left) {
  Frame f;
  f.left = left;
  f.right = c.width() - kPlotRightMargin;
  f.top = kPlotTop;
  f.bottom = c.height() - kPlotBottomMargin;
  return f;
}

double phaseX(const Frame& f, double phaseFirst, double phaseLast, double p) {
  return f.left + f.W() * (p - phaseFirst) / (phaseLast - phaseFirst);
}

bool usablePhaseSpan(const ComputedCurve& curve) {
  const double a = curve.phaseFirst, b = curve.phaseLast;
  return curve.count > 0 && std::isfinite(a) && std::isfinite(b) && a != b && std::abs(a) < kPhaseLimit &&
         std::abs(b) < kPhaseLimit;
}

void drawPhaseGrid(Canvas& c, const Frame& f, double phaseFirst, double phaseLast) {
  const double end = fix(10 * phaseLast + 0.01) / 10 + 0.01;
  for (double p = fix(10 * phaseFirst) / 10; p <= end; p += 0.1) {
    const double x = phaseX(f, phaseFirst, phaseLast, p);
    c.line(x, f.top, x, f.bottom);
  }
}

void drawPhaseTicks(Canvas& c, const Frame& f, double phaseFirst, double phaseLast) {
  const double kEnd = intPart(10 * phaseLast + 0.0001);
  for (double k = fix(10 * phaseFirst); k <= kEnd; k += 1) {
    const double x = phaseX(f, phaseFirst, phaseLast, k / 10);
    c.line(x, f.top, x, f.top + kTickLength);
    c.line(x, f.bottom, x, f.bottom - kTickLength);
  }
}

void drawFrameLines(Canvas& c, const Frame& f) {
  c.line(f.left, f.top, f.right, f.top);
  c.line(f.right, f.top, f.right, f.bottom);
  c.line(f.right, f.bottom, f.left, f.bottom);
  c.line(f.left, f.bottom, f.left, f.top);
}

void drawLabel(Canvas& c, std::vector<PlotLabel>& out, const std::string& name, const std::string& text, double x,
               double y, bool visible) {
  out.push_back(PlotLabel{name, text, x, y, visible});
  if (visible && !text.empty()) c.text(x, y, text);
}

void drawNote(Canvas& c, const Frame& f, const std::string& note) {
  const double x = f.left + (f.W() - c.textWidth(note)) / 2;
  const double y = f.top + (f.H() - c.textHeight()) / 2;
  c.text(std::max(f.left, x), y, note);
}

void placeCommonLabels(Canvas& c, const Frame& f, const ComputedCurve& curve, const PlotInfo& info, bool scaled,
                       std::vector<PlotLabel>& out) {
  const double ww = c.windowWidth();
  const double wh = c.windowHeight();
  // Three rows of three caption/value pairs; file names go last in a row,
  // where there is room for them.
  const double rows[3] = {wh - 1515, wh - 1275, wh - 1035};
  const double colWidth = std::max(2200.0, (ww - 1200) / 3);
  const double valueOffset = 800;
  struct Info {
    const char* caption;
    const char* captionName;
    const char* valueName;
    std::string value;
    int row, col;
  };
  const Info items[] = {
      {"Mode:", "Label10", "Label11", plainNumberText(static_cast<int>(curve.mode)), 0, 0},
      {"Inclin.:", "Label12", "Label13", plainNumberText(curve.inclination), 0, 1},
      {"M2 / M1:", "Label22", "Label23", plainNumberText(curve.massRatio), 0, 2},
      {"T1 (\xC2\xB0K):", "Label14", "Label15", plainNumberText(curve.t1), 1, 0},
      {"T2 (\xC2\xB0K):", "Label16", "Label17", plainNumberText(curve.t2), 1, 1},
      {"LCOFile:", "Label8", "Label9", info.lcoFileName, 1, 2},
      {"Pot'l 1:", "Label18", "Label19", plainNumberText(curve.pot1), 2, 0},
      {"Pot'l 2:", "Label20", "Label21", plainNumberText(curve.pot2), 2, 1},
      {"DataFile:", "Label24", "Label25", info.dataFileName, 2, 2},
  };
  for (const Info& it : items) {
    const double x = 120 + it.col * colWidth;
    drawLabel(c, out, it.captionName, it.caption, x, rows[it.row]);
    drawLabel(c, out, it.valueName, it.value, x + valueOffset, rows[it.row]);
  }

  // Phase-axis labels, shown only where their phase lies on the axis.
  const double a = curve.phaseFirst, b = curve.phaseLast;
  const double labelTop = wh - 1815;
  struct PhaseLabel {
    const char* name;
    const char* text;
    double value;
    bool shown;
  };
  const PhaseLabel phaseLabels[] = {
      {"Label1", "0.0", 0.0, a <= 0 && b > 0},
      {"Label2", "0.5", 0.5, a <= 0.5 && b > 0.5},
      {"Label3", "1.0", 1.0, a < 1 && b >= 1},
  };
  for (const PhaseLabel& l : phaseLabels) {
    const bool shown = scaled && l.shown;
    const double x = shown ? phaseX(f, a, b, l.value) - 150 : 0.0;
    drawLabel(c, out, l.name, l.text, x, labelTop, shown);
  }
  drawLabel(c, out, "Label4", "Phase", ww - 900, wh - 1575);

  // L1 relative to the brightest computed light; no text when no light was
  // read (a velocity report) or it is zero.
  std::string rel;
  if (curve.lightMax > 0.0 && std::isfinite(info.l1 / curve.lightMax)) rel = fixedField(info.l1 / curve.lightMax, 8, 4);
  drawLabel(c, out, "Label26", rel, ww - 2000, 0);
}

}  // namespace plotdetail

namespace {

using namespace plotdetail;

// Axis value text: at least one decimal, at most four, no trailing noise.
std::string axisText(double v) {
  for (int d = 1; d <= 4; ++d) {
    const double scale = std::pow(10.0, d);
    if (std::abs(std::round(v * scale) - v * scale) < 1e-6 * std::max(1.0, std::abs(v * scale)) || d == 4) {
      char buf[64];
      const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, d);
      return std::string(buf, r.ptr);
    }
  }
  return {};
}

}  // namespace

PlotResult drawLightCurvePlot(Canvas& c, PlotState& state, const ComputedCurve& curve, const ObservedLight& observed,
                              const PlotInfo& info, Rgb curveColour, Rgb foreColour, Rgb backColour) {
  PlotResult result;
  c.setForeground(foreColour);
  c.setBackground(backColour);
  c.clear();

  const Frame f = frameFor(c, kLightPlotLeft);
  const double yTop = state.yMax, yBottom = state.yMin;
  const bool spanOk = usablePhaseSpan(curve);
  const bool rangeOk = std::isfinite(yTop) && std::isfinite(yBottom) && yTop != yBottom;
  if (!spanOk)
    result.note = curve.count > 0 ? "The phase span of the curve is zero; it cannot be scaled." : "No computed curve.";
  else if (!rangeOk)
    result.note = "Y maximum equals Y minimum; the curve cannot be scaled.";
  const bool scaled = result.note.empty();

  const double a = curve.phaseFirst, b = curve.phaseLast;
  auto x = [&](double p) { return phaseX(f, a, b, p); };
  auto y = [&](double v) { return f.bottom - f.H() * (v - yBottom) / (yTop - yBottom); };

  if (state.displayMode == kCurveAndData) state.joinPoints = true;

  if (state.gridLines) {
    c.setForeground(kGridGrey);
    for (int i = 1; i <= 9; ++i) {
      const double gy = f.top + f.H() * i / 10;
      c.line(f.left, gy, f.right, gy);
    }
    if (scaled) drawPhaseGrid(c, f, a, b);
    c.setForeground(kBlack);
  }

  for (int i = 1; i <= 9; ++i) {
    const double ty = f.top + f.H() * i / 10;
    c.line(f.left, ty, f.left + kTickLength, ty);
    c.line(f.right, ty, f.right - kTickLength, ty);
  }
  if (scaled) drawPhaseTicks(c, f, a, b);
  drawFrameLines(c, f);

  placeCommonLabels(c, f, curve, info, scaled, result.labels);
  const double th = c.textHeight();
  const std::string top = rangeOk ? axisText(yTop) : "", mid = rangeOk ? axisText((yTop + yBottom) / 2) : "",
                    bottom = rangeOk ? axisText(yBottom) : "";
  auto axisX = [&](const std::string& s) { return std::max(0.0, f.left - 80 - c.textWidth(s)); };
  drawLabel(c, result.labels, "Label5", top, axisX(top), f.top - 80);
  drawLabel(c, result.labels, "Label6", mid, axisX(mid), f.top + f.H() / 2 - th / 2);
  drawLabel(c, result.labels, "Label7", bottom, axisX(bottom), f.bottom - 180);

  if (!scaled) {
    drawNote(c, f, result.note);
    return result;
  }

  const int n = std::min<int>({curve.count, static_cast<int>(curve.phase.size()), static_cast<int>(curve.light.size())});
  if ((state.displayMode == kCurveOnly || state.displayMode == kCurveAndData) && n > 0) {
    c.setForeground(curveColour);
    if (!state.joinPoints) {
      for (int i = 0; i < n; ++i) c.point(x(curve.phase[i]), y(curve.light[i]));
    } else {
      c.point(x(curve.phase[0]), y(curve.light[0]));
      for (int i = 1; i < n; ++i) c.lineTo(x(curve.phase[i]), y(curve.light[i]));
    }
  }

  if (state.displayMode == kDataOnly || state.displayMode == kCurveAndData) {
    c.setForeground(kRed);
    auto mark = [&](double p, double v) {
      const double px = x(p), py = y(v);
      for (int r = 1; r <= 10; ++r) c.circle(px, py, r);
    };
    const int m = observed.count();
    for (int j = 0; j < m; ++j) mark(observed.phase[j], observed.light[j]);
    // One cycle to the right and to the left, as far as the curve reaches;
    // the points are taken to be in increasing phase.
    if (b > 1) {
      for (int j = 0; j < m && observed.phase[j] + 1 <= b; ++j) mark(observed.phase[j] + 1, observed.light[j]);
    }
    if (a < 0) {
      for (int j = m - 1; j >= 0 && observed.phase[j] - 1 >= a; --j) mark(observed.phase[j] - 1, observed.light[j]);
    }
  }
  c.setForeground(foreColour);
  return result;
}

}  // namespace tavrin
