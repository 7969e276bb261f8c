#include "contours/contour_figure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "contours/contour_lines.h"
#include "contours/contour_plot.h"
#include "output/figure_tables.h"

namespace tavrin::contours {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kMissingGrey{200, 200, 200};
constexpr double kGap = 60;
constexpr double kBarWidth = 150;
constexpr double kMapDpi = 200;  // resolution of the colour map's image

// Decimals that tell levels `step` apart.
int levelDecimals(double step) {
  if (!(step > 0)) return 0;
  const double e = std::floor(std::log10(step));
  const double mantissa = step / std::pow(10.0, e);
  return std::max(0, static_cast<int>(-e) + (std::abs(mantissa - std::round(mantissa)) < 1e-6 ? 0 : 1));
}

RgbImage mapImage(const FineGrid& f, const std::vector<bool>& missing, int w, int h, double low, double high) {
  RgbImage img;
  img.width = w;
  img.height = h;
  img.pixels.resize(static_cast<size_t>(w) * h);
  const int stride = f.fineN + 1;
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px) {
      const double u = (px + 0.5) / w * f.fineM, v = (1 - (py + 0.5) / h) * f.fineN;
      const int q = std::clamp(static_cast<int>(u), 0, f.fineM - 1), r = std::clamp(static_cast<int>(v), 0, f.fineN - 1);
      const double a = u - q, b = v - r;
      Rgb colour = kMissingGrey;
      const bool gone = missing[static_cast<size_t>(q) * stride + r] || missing[static_cast<size_t>(q + 1) * stride + r] ||
                        missing[static_cast<size_t>(q) * stride + r + 1] ||
                        missing[static_cast<size_t>(q + 1) * stride + r + 1];
      if (!gone) {
        const double val = (1 - a) * (1 - b) * f.at(q, r) + a * (1 - b) * f.at(q + 1, r) + (1 - a) * b * f.at(q, r + 1) +
                           a * b * f.at(q + 1, r + 1);
        colour = scaleColour((val - low) / (high - low));
      }
      img.pixels[static_cast<size_t>(py) * w + px] = colour;
    }
  return img;
}

double lineLength(const std::vector<double>& x, const std::vector<double>& y) {
  double n = 0;
  for (size_t k = 1; k < x.size(); ++k) n += std::hypot(x[k] - x[k - 1], y[k] - y[k - 1]);
  return n;
}

}  // namespace

const char* axisSymbol(int code) {
  switch (code) {
    case 1: return "q";
    case 2: return "i";
    case 3: return "T2";
    case 4: return "\u03a91";
    case 5: return "\u03a92";
    default: return "";
  }
}

std::string significantText(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 5);
  return std::string(buf, r.ptr);
}

MapFigureResult drawMapFigure(Canvas& c, const ContourGrid& g, const MapFigureOptions& o) {
  MapFigureResult out;
  const GridDef& d = g.gridDef;
  const FigureTextHeights heights = beginFigure(c);
  const double titleH = heights.title, tickH = heights.tick;
  const double W = c.width(), H = c.height();
  if (const auto r = plotRefusal(d, o.zoom)) out.note = *r;
  else if (!(d.xMax > d.xMin) || !(d.yMax > d.yMin)) out.note = "The grid's ranges run the wrong way.";
  else if (const auto l = levelRefusal(o.low, o.high, o.lines)) out.note = *l;
  if (!out.note.empty()) {
    c.text(std::max(0.0, (W - c.textWidth(out.note)) / 2), (H - tickH) / 2, out.note);
    return out;
  }
  const FineGrid f = refine(g, o.zoom);
  const std::vector<bool> missing = missingFinePoints(g, o.zoom);
  const double lo = std::min(o.low, o.high), hi = std::max(o.low, o.high);

  // Right-hand side: bar, its labels, its title.
  const AxisScale barScale = axisScale(lo, hi, std::clamp(static_cast<int>(H / (tickH * 3)), 3, 8));
  const double barLabelW = yLabelWidth(c, barScale);
  const double right = W - (40 + titleH + kGap + barLabelW + kGap + kBarWidth + 2 * kGap);
  const bool anyMissing = std::find(missing.begin(), missing.end(), true) != missing.end();
  const double failedNoteH = anyMissing ? tickH + 60 : 0;
  const double top = tickH / 2 + 60 + failedNoteH;
  const double bottom = H - (kFigureTickLength / 2 + tickH + kGap + titleH + 40);
  const AxisScale ys = axisScale(d.yMin, d.yMax, std::clamp(static_cast<int>((bottom - top) / (tickH * 2.5)), 3, 8));
  const double left = 40 + titleH + kGap + yLabelWidth(c, ys) + kFigureTickLength / 2;
  AxisBox b{left, right, top, bottom};
  out.map = b;
  double widest = 0;
  for (double v : {d.xMin, d.xMax}) widest = std::max(widest, c.textWidth(fixedText(v, 3, true)));
  const AxisScale xs = axisScale(d.xMin, d.xMax, std::clamp(static_cast<int>(b.width() / (widest + 2 * kGap)), 2, 10));

  // The map itself.
  const int pw = std::clamp(static_cast<int>(b.width() / kTwipsPerInch * kMapDpi), 2, 3000);
  const int ph = std::clamp(static_cast<int>(b.height() / kTwipsPerInch * kMapDpi), 2, 3000);
  c.image(b.left, b.top, b.width(), b.height(), mapImage(f, missing, pw, ph, lo, hi));

  // Where labels already stand (chips as boxes), so that later ones keep clear.
  std::vector<AxisBox> taken;
  c.setFontSize(kFigureTickFont);
  const double chipH = c.textHeight() + 10;
  auto chipBox = [&](double x, double y, const std::string& t) {
    const double w = c.textWidth(t) + 60;
    return AxisBox{x - w / 2, x + w / 2, y - chipH / 2, y + chipH / 2};
  };
  auto clearance = [&](const AxisBox& r) {
    double d = 1e18;
    for (const AxisBox& t : taken) {
      const double dx = std::max({0.0, t.left - r.right, r.left - t.right});
      const double dy = std::max({0.0, t.top - r.bottom, r.top - t.bottom});
      d = std::min(d, std::hypot(dx, dy));
    }
    return d;
  };
  auto insideMap = [&](const AxisBox& r) {
    return r.left >= b.left + 20 && r.right <= b.right - 20 && r.top >= b.top + 20 && r.bottom <= b.bottom - 20;
  };

  // The grid's minimum first: its mark and its values.
  const GridMinimum m = gridMinimum(g);
  std::optional<std::pair<AxisBox, std::string>> minimumChip;
  double markX = 0, markY = 0;
  if (m.i >= 0) {
    const double mx = d.xMin + m.i * gridStep(d.xMin, d.xMax, d.M), my = d.yMin + m.j * gridStep(d.yMin, d.yMax, d.N);
    markX = axisX(b, xs, mx), markY = axisY(b, ys, my);
    const std::string text = "Minimum " + significantText(m.value) + " at " + std::string(axisSymbol(d.xCode)) +
                             " = " + significantText(mx) + ", " + axisSymbol(d.yCode) + " = " + significantText(my);
    taken.push_back({markX - 70, markX + 70, markY - 70, markY + 70});
    // Above, below, right or left of the mark: the first that fits.
    const double w = c.textWidth(text) + 60;
    const double shifts[4][2] = {{0, -chipH * 1.1}, {0, chipH * 1.1}, {w / 2 + 110, 0}, {-w / 2 - 110, 0}};
    for (const auto& sh : shifts) {
      AxisBox r = chipBox(markX + sh[0], markY + sh[1], text);
      const double dx = std::max(0.0, b.left + 30 - r.left) - std::max(0.0, r.right - (b.right - 30));
      r.left += dx, r.right += dx;
      if (!insideMap(r) || clearance(r) <= 0) continue;
      minimumChip = {r, text};
      taken.push_back(r);
      break;
    }
  }

  // Contour lines in white; each level labelled once, on its longest line
  // at the point farthest from the labels placed so far.
  out.levels = contourLevels(lo, hi, o.lines);
  const int decimals = levelDecimals(o.lines > 1 ? (hi - lo) / (o.lines - 1) : 0);
  std::vector<std::pair<AxisBox, std::string>> labels;
  for (double level : out.levels) {
    double longest = 0;
    std::vector<double> bx, by;
    for (const ContourPolyline& line : contourLines(f, missing, level)) {
      std::vector<double> x, y;
      for (const FinePoint& p : line) {
        x.push_back(b.left + b.width() * p.u / f.fineM);
        y.push_back(b.bottom - b.height() * p.v / f.fineN);
      }
      c.setForeground(kWhite);
      c.setPen(kFigureFramePen, false);
      drawClippedPolyline(c, b, x, y);
      const double n = lineLength(x, y);
      if (n > longest) longest = n, bx = x, by = y;
    }
    const std::string text = fixedText(level, decimals, true);
    if (longest < 3 * c.textWidth(text)) continue;
    double bestClear = -1;
    AxisBox best{};
    for (size_t k = 0; k < bx.size(); ++k) {
      const AxisBox r = chipBox(bx[k], by[k], text);
      if (!insideMap(r)) continue;
      const double cl = clearance(r);
      if (cl > bestClear) bestClear = cl, best = r;
    }
    if (bestClear < chipH / 2) continue;  // no room without crowding another label
    labels.emplace_back(best, text);
    taken.push_back(best);
  }
  auto drawChip = [&](const AxisBox& r, const std::string& t) {
    c.setForeground(kWhite);
    c.fillRect(r.left, r.top, r.width(), r.height());
    c.setForeground(kBlack);
    c.text(r.left + 30, r.top + 5, t);
  };
  for (const auto& [r, t] : labels) drawChip(r, t);

  // The failed points themselves, as crosses in their grey area.
  c.setForeground({90, 90, 90});
  for (int i = 0; i < d.M; ++i)
    for (int j = 0; j < d.N; ++j)
      if (isFailedPoint(g.value(i, j))) {
        const double x = axisX(b, xs, d.xMin + i * gridStep(d.xMin, d.xMax, d.M));
        const double y = axisY(b, ys, d.yMin + j * gridStep(d.yMin, d.yMax, d.N));
        drawClippedPolyline(c, b, {x - 45, x + 45}, {y - 45, y + 45});
        drawClippedPolyline(c, b, {x - 45, x + 45}, {y + 45, y - 45});
      }
  if (m.i >= 0) {
    c.setForeground(kWhite);
    c.fillCircle(markX, markY, 60);
    c.setForeground(kBlack);
    c.fillCircle(markX, markY, 30);
    if (minimumChip) drawChip(minimumChip->first, minimumChip->second);
  }

  // Frame and axes over the map.
  c.setForeground(kBlack);
  drawAxisBox(c, b);
  drawXTicks(c, b, xs, true);
  drawYTicks(c, b, ys, true);
  c.setFontSize(kFigureTitleFont);
  const std::string xTitle = titleWithPower(mapAxisTitle(d.xCode), xs.ticks);
  const std::string yTitle = titleWithPower(mapAxisTitle(d.yCode), ys.ticks);
  c.text((b.left + b.right - c.textWidth(xTitle)) / 2, H - titleH - 40, xTitle);
  c.textUp(40, (b.top + b.bottom) / 2 + c.textWidth(yTitle) / 2, yTitle);

  // The colour bar, with the contour levels marked on it.
  const AxisBox bar{right + 2 * kGap, right + 2 * kGap + kBarWidth, top, bottom};
  RgbImage scale;
  scale.width = 1;
  scale.height = 256;
  for (int k = 0; k < scale.height; ++k) scale.pixels.push_back(scaleColour(1 - (k + 0.5) / scale.height));
  c.image(bar.left, bar.top, bar.width(), bar.height(), scale);
  c.setForeground(kWhite);
  for (double level : out.levels) {
    const double y = axisY(bar, barScale, level);
    c.line(bar.left, y, bar.right, y);
  }
  c.setForeground(kBlack);
  drawAxisBox(c, bar);
  c.setFontSize(kFigureTickFont);
  for (size_t k = 0; k < barScale.ticks.values.size(); ++k) {
    const double y = axisY(bar, barScale, barScale.ticks.values[k]);
    c.line(bar.right, y, bar.right + kFigureTickLength / 2, y);
    c.text(bar.right + kGap, y - tickH / 2, barScale.ticks.labels[k]);
  }
  c.setFontSize(kFigureTitleFont);
  const std::string barTitle = titleWithPower("Sum(W*Res**2)", barScale.ticks);
  c.textUp(W - 40 - titleH, (bar.top + bar.bottom) / 2 + c.textWidth(barTitle) / 2, barTitle);
  if (anyMissing) {
    // What grey stands for, above the map.
    c.setFontSize(kFigureTickFont);
    const double y0 = (top - failedNoteH) + 20;
    c.setForeground(kMissingGrey);
    c.fillRect(b.left, y0 + 20, 160, c.textHeight() - 40);
    c.setForeground({90, 90, 90});
    c.line(b.left + 40, y0 + 30, b.left + 120, y0 + c.textHeight() - 30);
    c.line(b.left + 40, y0 + c.textHeight() - 30, b.left + 120, y0 + 30);
    c.setForeground(kBlack);
    c.text(b.left + 220, y0, "failed DC runs (\u00d7) and what depends on them");
  }
  return out;
}

}  // namespace tavrin::contours
