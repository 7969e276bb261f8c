#include "output/figure_plot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

#include "output/figure_residuals.h"

namespace tavrin {

Rgb seriesColour(int k) {
  static const Rgb kPalette[] = {{0, 114, 178},  {213, 94, 0},   {0, 158, 115},
                                 {204, 121, 167}, {230, 159, 0}, {86, 180, 233}};
  return kPalette[static_cast<size_t>(k) % std::size(kPalette)];
}

namespace {

constexpr Rgb kCurveBlack{0, 0, 0};
constexpr Rgb kReferenceGrey{120, 120, 120};
constexpr double kGap = 60;  // twips between a label and what it names

struct LegendEntry {
  FigureSeries::Style style;
  Rgb colour;
  std::string text;
};

void drawSeries(Canvas& c, const AxisBox& b, const AxisScale& xs, const AxisScale& ys, const FigureSeries& s) {
  c.setForeground(s.colour);
  if (s.style == FigureSeries::Points) {
    for (size_t k = 0; k < s.x.size() && k < s.y.size(); ++k) {
      const double x = axisX(b, xs, s.x[k]), y = axisY(b, ys, s.y[k]);
      if (std::isfinite(x) && std::isfinite(y) && x >= b.left && x <= b.right && y >= b.top && y <= b.bottom)
        c.fillCircle(x, y, kFigureMarkerRadius);
    }
    return;
  }
  c.setPen(s.style == FigureSeries::Dashed ? kFigureFramePen : kFigureCurvePen, s.style == FigureSeries::Dashed);
  std::vector<double> x, y;
  for (size_t k = 0; k < s.x.size() && k < s.y.size(); ++k) {
    x.push_back(axisX(b, xs, s.x[k]));
    y.push_back(axisY(b, ys, s.y[k]));
  }
  drawClippedPolyline(c, b, x, y);
  c.setPen(kFigureFramePen, false);
}

// The data range of a panel (residuals symmetric about zero).
DataRange yRangeOf(const FigurePanel& p, double xMin, double xMax) {
  DataRange r;
  double extreme = 0;
  for (const FigureSeries& s : p.series)
    for (size_t k = 0; k < s.x.size() && k < s.y.size(); ++k)
      if (s.x[k] >= xMin && s.x[k] <= xMax && std::isfinite(s.y[k])) {
        r.take(s.y[k]);
        extreme = std::max(extreme, std::abs(s.y[k]));
      }
  if (p.residual) {
    if (!(extreme > 0)) extreme = 1;
    return {-extreme, extreme};
  }
  if (r.empty()) return {0, 1};
  return r.hi > r.lo ? r : r.padded(0.06);
}

// The legend's place: of the corners, the middles of the sides and the
// centre, the one covering the fewest data points (corners first on a tie).
AxisBox legendBox(const AxisBox& b, double w, double h, const FigurePanel& p, const AxisScale& xs,
                  const AxisScale& ys, size_t& covered) {
  const double inset = 90;
  const double xl = b.left + inset, xr = b.right - inset - w, xc = (b.left + b.right - w) / 2;
  const double yt = b.top + inset, yb = b.bottom - inset - h, yc = (b.top + b.bottom - h) / 2;
  const double at[9][2] = {{xr, yt}, {xl, yt}, {xr, yb}, {xl, yb}, {xc, yt}, {xc, yb}, {xr, yc}, {xl, yc}, {xc, yc}};
  size_t best = 0, bestCount = SIZE_MAX;
  for (size_t k = 0; k < 9; ++k) {
    const AxisBox r{at[k][0], at[k][0] + w, at[k][1], at[k][1] + h};
    size_t n = 0;
    for (const FigureSeries& s : p.series) {
      // A line counts by its points and by what it passes between them.
      for (size_t i = 0; i < s.x.size() && i < s.y.size(); ++i) {
        const int steps = s.style == FigureSeries::Points || i == 0 ? 1 : 8;
        for (int t = 1; t <= steps; ++t) {
          const double f = double(t) / steps;
          const double vx = i == 0 ? s.x[0] : s.x[i - 1] + f * (s.x[i] - s.x[i - 1]);
          const double vy = i == 0 ? s.y[0] : s.y[i - 1] + f * (s.y[i] - s.y[i - 1]);
          const double x = axisX(b, xs, vx), y = axisY(b, ys, vy);
          if (x >= r.left - 40 && x <= r.right + 40 && y >= r.top - 40 && y <= r.bottom + 40) n += 1;
        }
      }
    }
    if (n < bestCount) best = k, bestCount = n;
  }
  covered = bestCount;
  return {at[best][0], at[best][0] + w, at[best][1], at[best][1] + h};
}

std::vector<LegendEntry> legendEntries(const FigurePanel& p) {
  std::vector<LegendEntry> entries;
  for (const FigureSeries& s : p.series)
    if (!s.legend.empty()) entries.push_back({s.style, s.colour, s.legend});
  return entries;
}

constexpr double kSwatch = 260, kLegendPad = 60;

// One entry with its top-left corner at (x, y).
void drawEntry(Canvas& c, const LegendEntry& e, double x, double y) {
  const double mid = y + c.textHeight() / 2;
  c.setForeground(e.colour);
  if (e.style == FigureSeries::Points) {
    c.fillCircle(x + kSwatch / 2, mid, kFigureMarkerRadius * 1.2);
  } else {
    c.setPen(e.style == FigureSeries::Dashed ? kFigureFramePen : kFigureCurvePen, e.style == FigureSeries::Dashed);
    c.line(x, mid, x + kSwatch, mid);
    c.setPen(kFigureFramePen, false);
  }
  c.setForeground(kCurveBlack);
  c.text(x + kSwatch + kGap, y, e.text);
}

// A boxed column of entries inside the panel.
void drawLegendBox(Canvas& c, const AxisBox& r, const std::vector<LegendEntry>& entries) {
  c.setForeground({255, 255, 255});
  c.fillRect(r.left, r.top, r.width(), r.height());
  c.setForeground({160, 160, 160});
  drawAxisBox(c, r);
  const double rowH = c.textHeight() * 1.15;
  for (size_t k = 0; k < entries.size(); ++k) drawEntry(c, entries[k], r.left + kLegendPad, r.top + kLegendPad + rowH * k);
}

// Entries flowing in rows across [left, right] from top; returns the height.
double legendRows(Canvas* c, const Canvas& measure, const std::vector<LegendEntry>& entries, double left,
                  double right, double top) {
  const double rowH = measure.textHeight() * 1.15;
  double x = left, y = top;
  for (const LegendEntry& e : entries) {
    const double w = kSwatch + kGap + measure.textWidth(e.text) + 3 * kGap;
    if (x > left && x + w > right) x = left, y += rowH;
    if (c) drawEntry(*c, e, x, y);
    x += w;
  }
  return y + rowH - top;
}

}  // namespace

std::vector<AxisBox> drawCurveFigure(Canvas& c, const CurveFigure& f) {
  const FigureTextHeights heights = beginFigure(c);
  const double titleH = heights.title, tickH = heights.tick;
  const double W = c.width(), H = c.height();
  if (f.panels.empty() || !std::isfinite(f.xMin) || !std::isfinite(f.xMax) || !(f.xMax > f.xMin)) {
    const std::string note = "Nothing to draw: the curve has no phase range.";
    c.text(std::max(0.0, (W - c.textWidth(note)) / 2), (H - tickH) / 2, note);
    return {};
  }
  const AxisScale xs = axisScale(f.xMin, f.xMax, 10);
  const double bottom = H - (kFigureTickLength / 2 + tickH + kGap + titleH + 40);
  double shares = 0;
  for (const FigurePanel& p : f.panels) shares += p.share;

  std::vector<AxisBox> boxes;
  std::vector<AxisScale> ys;
  AxisScale x = xs;
  auto layout = [&](double top) {
    boxes.clear();
    ys.clear();
    // Heights first: the Y ticks they allow decide the left margin.
    double y = top, labelW = 0;
    for (const FigurePanel& p : f.panels) {
      AxisBox b;
      b.top = y;
      b.bottom = y + (bottom - top) * p.share / shares;
      y = b.bottom;
      boxes.push_back(b);
      const int maxTicks = std::clamp(static_cast<int>(b.height() / (tickH * 1.8)), 3, 8);
      // The range a little beyond the data with room for the panel's tag;
      // then no label may sit on an edge shared with another panel.
      const DataRange data = yRangeOf(p, f.xMin, f.xMax);
      const double perTwip = (data.hi - data.lo) / b.height();
      const double pad = (p.residual ? 0.25 : 0.06) * (data.hi - data.lo);
      const double tagRoom = p.tag.empty() ? 0 : perTwip * tickH * 1.6;
      // Residual ticks stay symmetric about zero whatever room the tag takes.
      AxisScale s = p.residual ? axisScale(data.lo - pad, data.hi + pad, maxTicks)
                               : axisScale(data.lo - pad, data.hi + pad + tagRoom, maxTicks);
      s.hi += p.residual ? tagRoom : 0;
      if (!s.ticks.values.empty()) {
        const double room = perTwip * tickH * 0.7;
        if (&p != &f.panels.front()) s.hi = std::max(s.hi, s.ticks.values.back() + room);
        if (&p != &f.panels.back()) s.lo = std::min(s.lo, s.ticks.values.front() - room);
      }
      ys.push_back(s);
      labelW = std::max(labelW, yLabelWidth(c, ys.back()));
    }
    const double left = 40 + titleH + kGap + labelW + kFigureTickLength / 2;
    // The last X label must not run off the right edge.
    const double lastHalf = xs.ticks.labels.empty() ? 0 : c.textWidth(xs.ticks.labels.back()) / 2;
    const double right = W - std::max(120.0, lastHalf + 40);
    // Fewer X ticks when the labels would crowd the axis.
    double widest = 0;
    for (const std::string& t : xs.ticks.labels) widest = std::max(widest, c.textWidth(t));
    const int fit = std::clamp(static_cast<int>((right - left) / (widest + 2 * kGap + 1)), 2, 10);
    x = static_cast<int>(xs.ticks.values.size()) > fit ? axisScale(f.xMin, f.xMax, fit) : xs;
    for (AxisBox& b : boxes) b.left = left, b.right = right;
  };
  const double top = tickH / 2 + 60;
  layout(top);

  // The legend goes inside the first panel where it hides no data, else in
  // rows above the panels.
  const std::vector<LegendEntry> entries = legendEntries(f.panels.front());
  std::optional<AxisBox> inside;
  bool above = false;
  if (!entries.empty()) {
    c.setFontSize(kFigureTickFont);
    double textW = 0;
    for (const LegendEntry& e : entries) textW = std::max(textW, c.textWidth(e.text));
    const double w = 2 * kLegendPad + kSwatch + kGap + textW, h = kLegendPad * 1.5 + c.textHeight() * 1.15 * entries.size();
    size_t covered = 0;
    const AxisBox& b = boxes.front();
    if (w < b.width() * 0.9 && h < b.height() * 0.9) {
      const AxisBox r = legendBox(b, w, h, f.panels.front(), x, ys.front(), covered);
      if (covered == 0) inside = r;
    }
    if (!inside) {
      above = true;
      layout(top + legendRows(nullptr, c, entries, boxes.front().left, boxes.front().right, 0) + kGap);
    }
  }

  for (size_t k = 0; k < f.panels.size(); ++k) {
    const FigurePanel& p = f.panels[k];
    const AxisBox& b = boxes[k];
    if (p.residual) {
      c.setForeground(kReferenceGrey);
      c.setPen(kFigureFramePen, false);
      drawHorizontal(c, b, axisY(b, ys[k], 0));
    }
    // Points first, so that the computed curve stays visible over them.
    for (const FigureSeries& s : p.series)
      if (s.style == FigureSeries::Points) drawSeries(c, b, x, ys[k], s);
    for (const FigureSeries& s : p.series)
      if (s.style != FigureSeries::Points) drawSeries(c, b, x, ys[k], s);
    c.setForeground(kCurveBlack);
    drawAxisBox(c, b);
    const bool last = k + 1 == f.panels.size();
    drawXTicks(c, b, x, last);
    drawYTicks(c, b, ys[k], true);
    c.setFontSize(kFigureTitleFont);
    std::string title = titleWithPower(p.yTitle, ys[k].ticks);
    if (!p.yTitleShort.empty() && c.textWidth(title) > b.height()) title = titleWithPower(p.yTitleShort, ys[k].ticks);
    c.textUp(40, (b.top + b.bottom) / 2 + c.textWidth(title) / 2, title);
    if (!p.tag.empty()) {
      c.setFontSize(kFigureTickFont);
      c.text(b.left + kFigureTickLength + 50, b.top + kFigureTickLength / 2 + 20, p.tag);
    }
    c.setFontSize(kFigureTickFont);
    if (k == 0 && inside) drawLegendBox(c, *inside, entries);
    if (k == 0 && above) legendRows(&c, c, entries, b.left, b.right, top - tickH / 2);
  }
  c.setForeground(kCurveBlack);
  c.setFontSize(kFigureTitleFont);
  const std::string xTitle = titleWithPower(f.xTitle, x.ticks);
  c.text((boxes.front().left + boxes.front().right - c.textWidth(xTitle)) / 2, H - titleH - 40, xTitle);
  return boxes;
}

std::optional<double> reportHeaderValue(const std::string& reportText, const std::string& first,
                                        const std::string& word) {
  auto number = [](std::string t, double& out) {
    std::replace(t.begin(), t.end(), 'D', 'E');
    std::replace(t.begin(), t.end(), 'd', 'e');
    const auto r = std::from_chars(t.data(), t.data() + t.size(), out);
    return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size() && std::isfinite(out);
  };
  std::istringstream in(reportText);
  for (std::string line; std::getline(in, line);) {
    const size_t b = line.find_first_not_of(' ');
    if (b == std::string::npos) continue;
    const std::string head = line.substr(b, line.find(' ', b) - b);
    if (head == "JD") break;
    const size_t at = line.find(word);
    if (head != first || at == std::string::npos) continue;
    std::string next;
    if (!std::getline(in, next)) return std::nullopt;
    if (!next.empty() && next.back() == '\r') next.pop_back();
    // Values stand right-justified under their names: the one ending nearest
    // to where the word ends.
    const double end = static_cast<double>(at + word.size());
    double bestGap = 1e9;
    std::string best;
    for (size_t k = 0; k < next.size();) {
      const size_t tb = next.find_first_not_of(' ', k);
      if (tb == std::string::npos) break;
      const size_t te = std::min(next.find(' ', tb), next.size());
      const double gap = std::abs(static_cast<double>(te) - end);
      if (gap < bestGap) bestGap = gap, best = next.substr(tb, te - tb);
      k = te;
    }
    double d = 0;
    if (number(best, d)) return d;
    return std::nullopt;
  }
  return std::nullopt;
}

VelocityScale velocityScaleOf(const std::string& reportText) {
  VelocityScale v;
  v.vunit = reportHeaderValue(reportText, "MODE", "VUNIT").value_or(1);
  v.gamma = reportHeaderValue(reportText, "ecc", "Vgam").value_or(0);
  if (!(v.vunit > 0)) v.vunit = 1;
  return v;
}

ParameterSet ephemerisOf(const std::string& reportText) {
  ParameterSet p;
  p.HJD0 = reportHeaderValue(reportText, "JDPHS", "HJD0").value_or(p.HJD0);
  p.PERIOD = reportHeaderValue(reportText, "JDPHS", "PERIOD").value_or(p.PERIOD);
  p.PSHIFT = reportHeaderValue(reportText, "JDPHS", "PSHIFT").value_or(p.PSHIFT);
  return p;
}

namespace {

// Points inside the phase range, each also one cycle before and after when
// that lies inside too.
void addRepeated(FigureSeries& s, double xMin, double xMax, double phase, double value) {
  for (double shift : {-1.0, 0.0, 1.0}) {
    const double p = phase + shift;
    if (p >= xMin && p <= xMax) {
      s.x.push_back(p);
      s.y.push_back(value);
    }
  }
}

// Observed minus computed of one set into a residual panel.
void addResiduals(FigurePanel& panel, const std::vector<double>& curvePhase, const std::vector<double>& curveValue,
                  const ObservedSeries& o, Rgb colour, double xMin, double xMax, double scale) {
  panel.yTitle = "O \u2212 C";
  panel.residual = true;
  FigureSeries s{FigureSeries::Points, "", colour, {}, {}};
  const auto res = residuals(curvePhase, curveValue, o.phase, o.value);
  for (size_t k = 0; k < res.size(); ++k)
    if (std::isfinite(res[k])) addRepeated(s, xMin, xMax, o.phase[k], res[k] * scale);
  panel.series.push_back(std::move(s));
}

}  // namespace

CurveFigure lightCurveFigure(const ComputedCurve& curve, const std::vector<ObservedSeries>& observed, bool residuals) {
  CurveFigure f;
  f.xTitle = "Phase";
  f.xMin = curve.phaseFirst;
  f.xMax = curve.phaseLast;
  FigurePanel main;
  main.yTitle = "Normalized light";
  main.share = 3;
  main.series.push_back({FigureSeries::Line, "Computed", kCurveBlack, curve.phase, curve.light});
  for (size_t k = 0; k < observed.size(); ++k) {
    FigureSeries s{FigureSeries::Points, observed[k].name, seriesColour(static_cast<int>(k)), {}, {}};
    for (size_t j = 0; j < observed[k].phase.size() && j < observed[k].value.size(); ++j)
      addRepeated(s, f.xMin, f.xMax, observed[k].phase[j], observed[k].value[j]);
    main.series.push_back(std::move(s));
  }
  f.panels.push_back(std::move(main));
  if (residuals && !observed.empty()) {
    FigurePanel res;
    res.share = 1.2;
    for (size_t k = 0; k < observed.size(); ++k)
      addResiduals(res, curve.phase, curve.light, observed[k], seriesColour(static_cast<int>(k)), f.xMin, f.xMax, 1);
    f.panels.push_back(std::move(res));
  }
  return f;
}

CurveFigure velocityFigure(const ComputedCurve& curve, const std::vector<ObservedSeries>& observed, bool residuals,
                           VelocityScale scale) {
  CurveFigure f;
  f.xTitle = "Phase";
  f.xMin = curve.phaseFirst;
  f.xMax = curve.phaseLast;
  const double u = scale.vunit;
  auto scaled = [u](const std::vector<double>& v) {
    std::vector<double> out(v);
    for (double& x : out) x *= u;
    return out;
  };
  FigurePanel main;
  main.yTitle = "Radial velocity (km/s)";
  main.yTitleShort = "RV (km/s)";
  main.share = 3;
  main.series.push_back({FigureSeries::Dashed, "Systemic velocity", kReferenceGrey, {f.xMin, f.xMax},
                         {scale.gamma, scale.gamma}});
  main.series.push_back({FigureSeries::Line, "Star 1", seriesColour(0), curve.phase, scaled(curve.rv1)});
  main.series.push_back({FigureSeries::Line, "Star 2", seriesColour(1), curve.phase, scaled(curve.rv2)});
  for (const ObservedSeries& o : observed) {
    FigureSeries s{FigureSeries::Points, o.name, seriesColour(o.star == 2 ? 1 : 0), {}, {}};
    for (size_t j = 0; j < o.phase.size() && j < o.value.size(); ++j)
      addRepeated(s, f.xMin, f.xMax, o.phase[j], o.value[j] * u);
    main.series.push_back(std::move(s));
  }
  f.panels.push_back(std::move(main));
  if (residuals)
    for (int star = 1; star <= 2; ++star) {
      FigurePanel res;
      res.share = 1.2;
      res.tag = "Star " + std::to_string(star);
      for (const ObservedSeries& o : observed)
        if ((o.star == 2 ? 2 : 1) == star)
          addResiduals(res, curve.phase, star == 1 ? curve.rv1 : curve.rv2, o, seriesColour(star - 1), f.xMin, f.xMax,
                       u);
      if (!res.series.empty()) f.panels.push_back(std::move(res));
    }
  return f;
}

}  // namespace tavrin
