#include "output/figure_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tavrin {

std::optional<FigureSize> parseFigureSize(const std::string& s) {
  double perUnit = 0;
  std::string body;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, "in") == 0) {
    perUnit = 1;
  } else if (s.size() > 2 && s.compare(s.size() - 2, 2, "cm") == 0) {
    perUnit = 1 / 2.54;
  } else {
    return std::nullopt;
  }
  body = s.substr(0, s.size() - 2);
  const size_t x = body.find('x');
  if (x == std::string::npos) return std::nullopt;
  auto number = [](const std::string& t, double& v) {
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size();
  };
  double w = 0, h = 0;
  if (!number(body.substr(0, x), w) || !number(body.substr(x + 1), h)) return std::nullopt;
  FigureSize f{w * perUnit, h * perUnit};
  if (!(f.widthIn >= 1 && f.widthIn <= 40 && f.heightIn >= 1 && f.heightIn <= 40)) return std::nullopt;
  return f;
}

AxisScale axisScale(double lo, double hi, int maxTicks) {
  AxisScale s{lo, hi, roundTicks(lo, hi, maxTicks)};
  return s;
}

double axisX(const AxisBox& b, const AxisScale& s, double v) { return b.left + b.width() * (v - s.lo) / (s.hi - s.lo); }
double axisY(const AxisBox& b, const AxisScale& s, double v) { return b.bottom - b.height() * (v - s.lo) / (s.hi - s.lo); }

void DataRange::take(double v) {
  if (!std::isfinite(v)) return;
  if (empty()) {
    lo = hi = v;
  } else {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
}

DataRange DataRange::padded(double pad) const {
  if (empty()) return *this;
  double w = hi - lo;
  if (w == 0) w = lo != 0 ? std::abs(lo) * 0.1 : 1;
  return {lo - pad * w, hi + pad * w};
}

std::string titleWithPower(const std::string& title, const AxisTicks& t) {
  return t.exponent == 0 ? title : title + " " + powerOfTenText(t.exponent);
}

void drawAxisBox(Canvas& c, const AxisBox& b) {
  c.setPen(kFigureFramePen, false);
  c.line(b.left, b.top, b.right, b.top);
  c.line(b.right, b.top, b.right, b.bottom);
  c.line(b.right, b.bottom, b.left, b.bottom);
  c.line(b.left, b.bottom, b.left, b.top);
}

void drawXTicks(Canvas& c, const AxisBox& b, const AxisScale& s, bool labels) {
  c.setPen(kFigureFramePen, false);
  c.setFontSize(kFigureTickFont);
  for (size_t k = 0; k < s.ticks.values.size(); ++k) {
    const double x = axisX(b, s, s.ticks.values[k]);
    c.line(x, b.bottom, x, b.bottom - kFigureTickLength);
    c.line(x, b.top, x, b.top + kFigureTickLength);
    if (labels) {
      const std::string& t = s.ticks.labels[k];
      c.text(x - c.textWidth(t) / 2, b.bottom + kFigureTickLength / 2, t);
    }
  }
}

void drawYTicks(Canvas& c, const AxisBox& b, const AxisScale& s, bool labels, bool skipNearTop, bool skipNearBottom) {
  c.setPen(kFigureFramePen, false);
  c.setFontSize(kFigureTickFont);
  const double h = c.textHeight();
  for (size_t k = 0; k < s.ticks.values.size(); ++k) {
    const double y = axisY(b, s, s.ticks.values[k]);
    c.line(b.left, y, b.left + kFigureTickLength, y);
    c.line(b.right, y, b.right - kFigureTickLength, y);
    if (!labels) continue;
    if ((skipNearTop && y - b.top < h / 2) || (skipNearBottom && b.bottom - y < h / 2)) continue;
    const std::string& t = s.ticks.labels[k];
    c.text(b.left - kFigureTickLength / 2 - c.textWidth(t), y - h / 2, t);
  }
}

double yLabelWidth(const Canvas& c, const AxisScale& s) {
  double w = 0;
  for (const std::string& t : s.ticks.labels) w = std::max(w, c.textWidth(t));
  return w;
}

bool clipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right,
                 double bottom) {
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
  const double dx = x2 - x1, dy = y2 - y1;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - left, right - x1, y1 - top, bottom - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const double a = x1 + t0 * dx, bb = y1 + t0 * dy;
  x2 = x1 + t1 * dx, y2 = y1 + t1 * dy;
  x1 = a, y1 = bb;
  return true;
}

void drawClippedPolyline(Canvas& c, const AxisBox& b, const std::vector<double>& x, const std::vector<double>& y) {
  bool open = false;  // the last segment ended inside, so the next joins on
  for (size_t k = 1; k < x.size() && k < y.size(); ++k) {
    double x1 = x[k - 1], y1 = y[k - 1], x2 = x[k], y2 = y[k];
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2) ||
        !clipSegment(x1, y1, x2, y2, b.left, b.top, b.right, b.bottom)) {
      open = false;
      continue;
    }
    const bool startsWhereLast = open && x1 == x[k - 1] && y1 == y[k - 1];
    if (startsWhereLast)
      c.lineTo(x2, y2);
    else
      c.line(x1, y1, x2, y2);
    open = x2 == x[k] && y2 == y[k];
  }
}

void drawHorizontal(Canvas& c, const AxisBox& b, double y) {
  if (y >= b.top && y <= b.bottom) c.line(b.left, y, b.right, y);
}

FigureTextHeights beginFigure(Canvas& c) {
  c.setBackground({255, 255, 255});
  c.clear();
  c.setForeground({0, 0, 0});
  c.setPen(kFigureFramePen, false);
  FigureTextHeights h;
  c.setFontSize(kFigureTitleFont);
  h.title = c.textHeight();
  c.setFontSize(kFigureTickFont);
  h.tick = c.textHeight();
  return h;
}

}  // namespace tavrin
