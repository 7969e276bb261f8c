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

AxisScale yScaleOf(const FigurePanel& p, double xMin, double xMax, int maxTicks) {
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
    return axisScale(-1.15 * extreme, 1.15 * extreme, maxTicks);
  }
  if (r.empty()) r = {0, 1};
  r = r.padded(0.06);
  return axisScale(r.lo, r.hi, maxTicks);
}

// The legend's corner: the one covering the fewest data points.
AxisBox legendBox(const AxisBox& b, double w, double h, const FigurePanel& p, const AxisScale& xs,
                  const AxisScale& ys) {
  const double inset = 90;
  const AxisBox corners[4] = {
      {b.right - inset - w, b.right - inset, b.top + inset, b.top + inset + h},
      {b.left + inset, b.left + inset + w, b.top + inset, b.top + inset + h},
      {b.right - inset - w, b.right - inset, b.bottom - inset - h, b.bottom - inset},
      {b.left + inset, b.left + inset + w, b.bottom - inset - h, b.bottom - inset},
  };
  size_t best = 0, bestCount = SIZE_MAX;
  for (size_t k = 0; k < 4; ++k) {
    const AxisBox& r = corners[k];
    size_t n = 0;
    for (const FigureSeries& s : p.series) {
      // Lines count by the points they pass through, sampled densely.
      for (size_t i = 0; i < s.x.size() && i < s.y.size(); ++i) {
        const double x = axisX(b, xs, s.x[i]), y = axisY(b, ys, s.y[i]);
        if (x >= r.left - 40 && x <= r.right + 40 && y >= r.top - 40 && y <= r.bottom + 40) n += 1;
      }
    }
    if (n < bestCount) best = k, bestCount = n;
  }
  return corners[best];
}

void drawLegend(Canvas& c, const AxisBox& b, const FigurePanel& p, const AxisScale& xs, const AxisScale& ys) {
  std::vector<LegendEntry> entries;
  for (const FigureSeries& s : p.series)
    if (!s.legend.empty()) entries.push_back({s.style, s.colour, s.legend});
  if (entries.empty()) return;
  c.setFontSize(kFigureTickFont);
  const double rowH = c.textHeight() * 1.15, swatch = 260, pad = 60;
  double textW = 0;
  for (const LegendEntry& e : entries) textW = std::max(textW, c.textWidth(e.text));
  const double w = pad + swatch + kGap + textW + pad, h = pad + rowH * entries.size() + pad / 2;
  if (w > b.width() * 0.9 || h > b.height() * 0.9) return;
  const AxisBox r = legendBox(b, w, h, p, xs, ys);
  c.setForeground({255, 255, 255});
  c.fillRect(r.left, r.top, r.width(), r.height());
  c.setForeground({160, 160, 160});
  drawAxisBox(c, r);
  for (size_t k = 0; k < entries.size(); ++k) {
    const LegendEntry& e = entries[k];
    const double y = r.top + pad + rowH * k, mid = y + c.textHeight() / 2;
    c.setForeground(e.colour);
    if (e.style == FigureSeries::Points) {
      c.fillCircle(r.left + pad + swatch / 2, mid, kFigureMarkerRadius * 1.2);
    } else {
      c.setPen(e.style == FigureSeries::Dashed ? kFigureFramePen : kFigureCurvePen, e.style == FigureSeries::Dashed);
      c.line(r.left + pad, mid, r.left + pad + swatch, mid);
      c.setPen(kFigureFramePen, false);
    }
    c.setForeground(kCurveBlack);
    c.text(r.left + pad + swatch + kGap, y, e.text);
  }
}

}  // namespace

std::vector<AxisBox> drawCurveFigure(Canvas& c, const CurveFigure& f) {
  c.setBackground({255, 255, 255});
  c.clear();
  c.setForeground(kCurveBlack);
  c.setPen(kFigureFramePen, false);
  c.setFontSize(kFigureTitleFont);
  const double titleH = c.textHeight();
  c.setFontSize(kFigureTickFont);
  const double tickH = c.textHeight();
  const double W = c.width(), H = c.height();
  if (f.panels.empty() || !std::isfinite(f.xMin) || !std::isfinite(f.xMax) || !(f.xMax > f.xMin)) {
    const std::string note = "Nothing to draw: the curve has no phase range.";
    c.text(std::max(0.0, (W - c.textWidth(note)) / 2), (H - tickH) / 2, note);
    return {};
  }
  const AxisScale xs = axisScale(f.xMin, f.xMax, 10);
  const double top = tickH / 2 + 60;
  const double bottom = H - (kFigureTickLength / 2 + tickH + kGap + titleH + 40);
  double shares = 0;
  for (const FigurePanel& p : f.panels) shares += p.share;

  // Heights first: the Y ticks they allow decide the left margin.
  std::vector<AxisBox> boxes;
  std::vector<AxisScale> ys;
  double y = top, labelW = 0;
  for (const FigurePanel& p : f.panels) {
    AxisBox b;
    b.top = y;
    b.bottom = y + (bottom - top) * p.share / shares;
    y = b.bottom;
    boxes.push_back(b);
    const int maxTicks = std::clamp(static_cast<int>(b.height() / (tickH * 2.2)), 3, 8);
    ys.push_back(yScaleOf(p, f.xMin, f.xMax, maxTicks));
    labelW = std::max(labelW, yLabelWidth(c, ys.back()));
  }
  const double left = 40 + titleH + kGap + labelW + kFigureTickLength / 2;
  // The last X label must not run off the right edge.
  const double lastHalf = xs.ticks.labels.empty() ? 0 : c.textWidth(xs.ticks.labels.back()) / 2;
  const double right = W - std::max(120.0, lastHalf + 40);
  // Narrower X ticks when the labels would crowd the axis.
  AxisScale x = xs;
  {
    double widest = 0;
    for (const std::string& t : xs.ticks.labels) widest = std::max(widest, c.textWidth(t));
    const int fit = std::clamp(static_cast<int>((right - left) / (widest + 2 * kGap + 1)), 2, 10);
    if (static_cast<int>(xs.ticks.values.size()) > fit) x = axisScale(f.xMin, f.xMax, fit);
  }
  for (AxisBox& b : boxes) b.left = left, b.right = right;

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
    drawYTicks(c, b, ys[k], true, k > 0, !last);
    c.setFontSize(kFigureTitleFont);
    const std::string title = titleWithPower(p.yTitle, ys[k].ticks);
    c.textUp(40, (b.top + b.bottom) / 2 + c.textWidth(title) / 2, title);
    if (!p.tag.empty()) {
      c.setFontSize(kFigureTickFont);
      c.text(b.left + kFigureTickLength + 50, b.top + kFigureTickLength / 2 + 20, p.tag);
    }
    if (k == 0) drawLegend(c, b, p, x, ys[k]);
  }
  c.setForeground(kCurveBlack);
  c.setFontSize(kFigureTitleFont);
  const std::string xTitle = titleWithPower(f.xTitle, x.ticks);
  c.text((left + right - c.textWidth(xTitle)) / 2, H - titleH - 40, xTitle);
  return boxes;
}

VelocityScale velocityScaleOf(const std::string& reportText) {
  VelocityScale v;
  std::istringstream in(reportText);
  auto number = [](std::string s, double& out) {
    std::replace(s.begin(), s.end(), 'D', 'E');
    std::replace(s.begin(), s.end(), 'd', 'e');
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(out);
  };
  // The value under a header word: values stand right-justified under their
  // names, so the one ending nearest to where the word ends.
  auto under = [&](const std::string& head, const std::string& word, double& out) {
    const size_t at = head.find(word);
    std::string next;
    if (at == std::string::npos || !std::getline(in, next)) return;
    const double end = static_cast<double>(at + word.size());
    double bestGap = 1e9;
    std::string best;
    for (size_t k = 0; k < next.size();) {
      const size_t b = next.find_first_not_of(' ', k);
      if (b == std::string::npos) break;
      const size_t e = std::min(next.find(' ', b), next.size());
      if (std::abs(static_cast<double>(e) - end) < bestGap) bestGap = std::abs(static_cast<double>(e) - end), best = next.substr(b, e - b);
      k = e;
    }
    double d = 0;
    if (number(best, d)) out = d;
  };
  for (std::string line; std::getline(in, line);) {
    const size_t b = line.find_first_not_of(' ');
    if (b == std::string::npos) continue;
    const std::string first = line.substr(b, line.find(' ', b) - b);
    if (first == "JD") break;
    if (first == "MODE") under(line, "VUNIT", v.vunit);
    else if (first == "ecc") under(line, "Vgam", v.gamma);
  }
  if (!(v.vunit > 0)) v.vunit = 1;
  return v;
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
