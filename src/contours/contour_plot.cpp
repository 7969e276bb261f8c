#include "contours/contour_plot.h"

#include <algorithm>
#include <cmath>

#include "model/number_fields.h"

namespace tavrin::contours {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

std::string trimmed(std::string s) {
  const size_t k = s.find_first_not_of(' ');
  return k == std::string::npos ? std::string() : s.substr(k);
}

// Polynomial through (xs[k], ys[k]) evaluated at x (Lagrange form: exact at the nodes).
double interpolate(const double* xs, const double* ys, int n, double x) {
  double sum = 0;
  for (int i = 0; i < n; ++i) {
    double b = 1;
    for (int k = 0; k < n; ++k)
      if (k != i) b *= (x - xs[k]) / (xs[i] - xs[k]);
    sum += b * ys[i];
  }
  return sum;
}

// The nodes of interval i of a direction with `count` nodes: first and count.
void nodesFor(int i, int count, int& first, int& n) {
  if (i == 0) {
    first = 0;
    n = 3;
  } else if (i == count - 2) {
    first = count - 3;
    n = 3;
  } else {
    first = i - 1;
    n = 4;
  }
}

uint8_t component(double v) {
  const double r = std::nearbyint(v);
  return static_cast<uint8_t>(std::clamp(r, 0.0, 255.0));
}

void dot(Canvas& c, double x, double y) {
  for (int r = 1; r <= 5; ++r) c.circle(x, y, r);
}

}  // namespace

std::optional<std::string> plotRefusal(const GridDef& s, int zoom) {
  if (zoom < 2) return "Zoom factor must be >= 2.";
  if (s.M < 3 || s.N < 3)
    return "A grid needs at least 3 points in each direction to be plotted (M = " + std::to_string(s.M) +
           ", N = " + std::to_string(s.N) + ").";
  const int widest = std::max<int>(s.M, s.N) - 1;
  if (static_cast<long>(widest) * zoom > kMaxFine)
    return "Zoom factor " + std::to_string(zoom) + " makes the fine grid larger than 1000 points in a direction. " +
           "The largest zoom factor for this grid is " + std::to_string(kMaxFine / widest) + ".";
  return std::nullopt;
}

std::optional<std::string> levelRefusal(double low, double high, int lines) {
  if (lines < 2) return "The number of contour lines must be at least 2.";
  if (!std::isfinite(low) || !std::isfinite(high)) return "Max Contour and Min Contour must be numbers.";
  if (low == high) return "Max Contour and Min Contour must differ.";
  return std::nullopt;
}

FineGrid refine(const ContourGrid& g, int zoom) {
  const int M = g.gridDef.M, N = g.gridDef.N;
  FineGrid f;
  f.zoom = zoom;
  f.fineM = (M - 1) * zoom;
  f.fineN = (N - 1) * zoom;
  const size_t stride = static_cast<size_t>(f.fineN) + 1;
  f.f.assign((static_cast<size_t>(f.fineM) + 1) * stride, 0.0);
  double xs[4], ys[4];
  // Along X on every coarse row.
  for (int j = 0; j < N; ++j)
    for (int i = 0; i <= M - 2; ++i) {
      int first, n;
      nodesFor(i, M, first, n);
      for (int k = 0; k < n; ++k) {
        xs[k] = static_cast<double>((first + k) * zoom);
        ys[k] = g.value(first + k, j);
      }
      for (int q = i * zoom; q <= (i + 1) * zoom; ++q)
        f.f[static_cast<size_t>(q) * stride + static_cast<size_t>(j * zoom)] = interpolate(xs, ys, n, q);
    }
  // Along Y on every fine column.
  for (int q = 0; q <= f.fineM; ++q) {
    double* col = &f.f[static_cast<size_t>(q) * stride];
    for (int j = 0; j <= N - 2; ++j) {
      int first, n;
      nodesFor(j, N, first, n);
      for (int k = 0; k < n; ++k) {
        xs[k] = static_cast<double>((first + k) * zoom);
        ys[k] = col[(first + k) * zoom];
      }
      // The interval's own nodes are kept as they are (the fits reproduce them).
      for (int r = j * zoom + 1; r < (j + 1) * zoom; ++r) col[r] = interpolate(xs, ys, n, r);
    }
  }
  return f;
}

PlotRect plotRect(double width, double height) { return {700, width - 415, 342, height - (550 + 600)}; }

double tickInterval(double min, double max) {
  const double R = max - min;
  if (!(R > 0) || !std::isfinite(R)) return 0;
  const double e = std::floor(std::log(R) / 2.302585);
  const double s = std::pow(10.0, e);
  const double ratio = R / s;
  double m = 10;
  if (ratio < 5) m = 5;
  if (ratio < 2) m = 2;
  return s * m / 10;
}

std::string contourBoxText(double value, int decimals) {
  return trimmed(fixedField(value, 15, std::max(decimals, 0)));
}

FrameLabels drawFrame(Canvas& c, const GridDef& s, double low, double high, const PlotRect& a) {
  c.setForeground(kBlack);
  c.setBackground(kWhite);
  c.clear();
  c.line(a.left, a.top, a.right, a.top);
  c.lineTo(a.right, a.bottom);
  c.lineTo(a.left, a.bottom);
  c.lineTo(a.left, a.top);

  FrameLabels L;
  const double tx = tickInterval(s.xMin, s.xMax);
  const double ty = tickInterval(s.yMin, s.yMax);
  const double kTick = 180;
  auto ticks = [&](double min, double max, double tick, bool xAxis) {
    if (!(tick > 0)) return;
    const double k0 = std::floor(min / tick), k1 = std::floor(max / tick);
    if (!(k1 - k0 < 10000)) return;
    for (double k = k0; k <= k1; ++k) {
      const double frac = (k * tick - min) / (max - min);
      if (xAxis) {
        const double x = a.left + (a.right - a.left) * frac;
        if (x < a.left || x > a.right) continue;
        c.line(x, a.bottom, x, a.bottom + kTick);
        c.line(x, a.top, x, a.top - kTick);
      } else {
        const double y = a.bottom - (a.bottom - a.top) * frac;
        if (y < a.top || y > a.bottom) continue;
        c.line(a.left, y, a.left - kTick, y);
        c.line(a.right, y, a.right + kTick, y);
      }
    }
  };
  ticks(s.xMin, s.xMax, tx, true);
  ticks(s.yMin, s.yMax, ty, false);

  L.label1 = fixedField(s.xMin, 5, 2);
  L.label3 = fixedField(s.xMax, 5, 2);
  L.label6 = fixedField(s.yMin, 5, 2);
  L.label4 = fixedField(s.yMax, 5, 2);
  L.label2 = fixedField(tx, 5, 4);
  L.label5 = fixedField(ty, 5, 4);
  L.label19 = axisName(s.xCode);
  L.label18 = axisName(s.yCode);
  L.text1 = trimmed(fixedField(high, 7, 4));
  L.text2 = trimmed(fixedField(low, 7, 4));

  const double th = c.textHeight();
  const double below = a.bottom + kTick + 40;
  c.text(a.left - c.textWidth(L.label1) / 2, below, L.label1);
  c.text(a.right - 400, below, L.label3);
  const std::string xint = "Xint " + trimmed(L.label2);
  c.text((a.left + a.right) / 2 - c.textWidth(xint) / 2, below, xint);
  c.text((a.left + a.right) / 2 - c.textWidth(L.label19) / 2, below + th, L.label19);
  c.text(20, a.bottom - th / 2, trimmed(L.label6));
  c.text(20, a.top - th / 2, trimmed(L.label4));
  c.text(20, (a.top + a.bottom) / 2 - th, L.label18);
  c.text(20, (a.top + a.bottom) / 2, "Yint " + trimmed(L.label5));
  return L;
}

std::vector<double> contourLevels(double low, double high, int lines) {
  std::vector<double> v;
  if (lines < 2) return v;
  const double step = (high - low) / (lines - 1);
  for (int k = 0; k < lines; ++k) v.push_back(low + k * step);
  return v;
}

long drawContourDots(Canvas& c, const FineGrid& f, const PlotRect& a, double low, double high, int lines) {
  c.setForeground(kContourRed);
  const std::vector<double> levels = contourLevels(low, high, lines);
  if (f.fineM < 1 || f.fineN < 1) return 0;
  const double w = a.right - a.left, h = a.bottom - a.top;
  long dots = 0;
  for (int r = 0; r <= f.fineN; ++r)
    for (double L : levels)
      for (int q = 0; q < f.fineM; ++q) {
        const double v0 = f.at(q, r), v1 = f.at(q + 1, r);
        if ((v0 > L && v1 < L) || (v0 < L && v1 > L)) {
          const double u = q + (v0 - L) / (v0 - v1);
          dot(c, a.left + w * u / f.fineM, a.top + h * (f.fineN - r) / f.fineN);
          ++dots;
        }
      }
  for (int q = 0; q <= f.fineM; ++q)
    for (double L : levels)
      for (int r = 0; r < f.fineN; ++r) {
        const double v0 = f.at(q, r), v1 = f.at(q, r + 1);
        if ((v0 > L && v1 < L) || (v0 < L && v1 > L)) {
          const double v = r + (v0 - L) / (v0 - v1);
          dot(c, a.left + w * q / f.fineM, a.top + h * (f.fineN - v) / f.fineN);
          ++dots;
        }
      }
  return dots;
}

Rgb scaleColour(double t) {
  if (!(t >= 0)) return kBlack;  // below the range (and no number at all)
  if (t > 1) return kContourRed;
  const double E = 1 - std::exp(-11.5 * t);
  if (t < 0.2) return {component(255 * (0.5 - 2.5 * t) * E), 0, component(255 * (0.5 + 2.5 * t) * E)};
  if (t <= 0.6) return {0, component(255 * (2.5 * t - 0.5) * E), component(255 * (1.5 - 2.5 * t) * E)};
  return {component(255 * (2.5 * t - 1.5)), component(255 * (2.5 - 2.5 * t)), 0};
}

void paintColoursLiteral(Canvas& c, const FineGrid& f, const PlotRect& a, double low, double high) {
  const double w = a.right - a.left, h = a.bottom - a.top;
  for (int q = 0; q <= f.fineM; ++q)
    for (int r = 0; r <= f.fineN; ++r) {
      c.setForeground(scaleColour((f.at(q, r) - low) / (high - low)));
      const double x = a.left + w * q / f.fineM, y = a.bottom - h * r / f.fineN;
      for (int k = 1; k <= 100; ++k) c.circle(x, y, k);
    }
}

RgbImage renderColourMap(const FineGrid& f, const PlotRect& a, double low, double high, double x0, double y0,
                         int w, int h, double tpp, double R, Rgb background) {
  RgbImage img;
  img.width = std::max(w, 0);
  img.height = std::max(h, 0);
  img.pixels.assign(static_cast<size_t>(img.width) * static_cast<size_t>(img.height), background);
  if (f.fineM < 1 || f.fineN < 1 || img.pixels.empty()) return img;
  const size_t stride = static_cast<size_t>(f.fineN) + 1;
  std::vector<Rgb> colours(f.f.size());
  for (size_t k = 0; k < f.f.size(); ++k) colours[k] = scaleColour((f.f[k] - low) / (high - low));
  const double dx = (a.right - a.left) / f.fineM, dy = (a.bottom - a.top) / f.fineN;
  const double R2 = R * R;
  for (int col = 0; col < img.width; ++col) {
    const double px = x0 + (col + 0.5) * tpp;
    // Columns of discs that can reach this pixel column, last drawn first.
    const int qHi = std::min(f.fineM, static_cast<int>(std::floor((px + R - a.left) / dx)));
    const int qLo = std::max(0, static_cast<int>(std::ceil((px - R - a.left) / dx)));
    if (qHi < qLo) continue;
    for (int row = 0; row < img.height; ++row) {
      const double py = y0 + (row + 0.5) * tpp;
      const double up = a.bottom - py;  // height above the bottom edge
      for (int q = qHi; q >= qLo; --q) {
        const double ddx = a.left + q * dx - px;
        const double left = R2 - ddx * ddx;
        if (left < 0) continue;
        const double hh = std::sqrt(left);
        const int rHi = std::min(f.fineN, static_cast<int>(std::floor((up + hh) / dy)));
        const int rLo = std::max(0, static_cast<int>(std::ceil((up - hh) / dy)));
        if (rHi < rLo) continue;
        img.pixels[static_cast<size_t>(row) * img.width + col] = colours[static_cast<size_t>(q) * stride + rHi];
        break;
      }
    }
  }
  return img;
}

void drawColours(Canvas& c, const FineGrid& f, const PlotRect& a, double low, double high, double ppt, double R) {
  if (f.fineM < 1 || f.fineN < 1) return;
  const double dx = (a.right - a.left) / f.fineM, dy = (a.bottom - a.top) / f.fineN;
  if (std::hypot(dx / 2, dy / 2) > R || !(ppt > 0)) {
    paintColoursLiteral(c, f, a, low, high);
    return;
  }
  const double tpp = 1 / ppt;
  // Whole device pixels, so the image is not resampled.
  const double x0 = std::floor((a.left - R) * ppt) * tpp, y0 = std::floor((a.top - R) * ppt) * tpp;
  const int w = static_cast<int>(std::ceil((a.right + R - x0) * ppt));
  const int h = static_cast<int>(std::ceil((a.bottom + R - y0) * ppt));
  if (w <= 0 || h <= 0) return;
  const RgbImage img = renderColourMap(f, a, low, high, x0, y0, w, h, tpp, R);
  c.image(x0, y0, w * tpp, h * tpp, img);
}

void drawColourBar(Canvas& c, double x, double y, double w, double h, double low, double high, int decimals) {
  RgbImage bar;
  bar.width = 1;
  bar.height = 256;
  bar.pixels.resize(256);
  for (int k = 0; k < 256; ++k) bar.pixels[static_cast<size_t>(k)] = scaleColour(1.0 - (k + 0.5) / 256.0);
  c.image(x, y, w, h, bar);
  c.setForeground(kBlack);
  c.line(x, y, x + w, y);
  c.lineTo(x + w, y + h);
  c.lineTo(x, y + h);
  c.lineTo(x, y);
  const double th = c.textHeight();
  for (int k = 0; k <= 4; ++k) {
    const double v = low + (high - low) * k / 4;
    const double yy = y + h - h * k / 4;
    c.line(x + w, yy, x + w + 90, yy);
    c.text(x + w + 130, yy - th / 2, contourBoxText(v, decimals));
  }
  c.text(x, y - th - 40, "Wres");
}

PlotRect pictureRect(const Canvas& c, bool legend) {
  return plotRect(c.width() - (legend ? kLegendWidth : 0), c.height());
}

FrameLabels drawPicture(Canvas& c, const ContourGrid& g, const FineGrid& f, const std::vector<PictureLayer>& layers,
                        double frameLow, double frameHigh, bool legend, double ppt, double radius) {
  const PlotRect a = pictureRect(c, legend);
  FrameLabels L = drawFrame(c, g.gridDef, frameLow, frameHigh, a);
  const PictureLayer* lastColours = nullptr;
  for (const PictureLayer& layer : layers) {
    if (levelRefusal(layer.low, layer.high, layer.kind == PictureLayer::Colours ? 2 : layer.lines)) continue;
    if (layer.kind == PictureLayer::Colours) {
      drawColours(c, f, a, layer.low, layer.high, ppt, radius);
      lastColours = &layer;
    } else {
      drawContourDots(c, f, a, layer.low, layer.high, layer.lines);
    }
  }
  if (legend && lastColours) {
    const double x = a.right + 415 + 150;
    drawColourBar(c, x, a.top, 250, a.bottom - a.top, lastColours->low, lastColours->high, lastColours->decimals);
  }
  return L;
}

std::optional<Readout> readout(const GridDef& s, const FineGrid& f, const PlotRect& a, double x, double y) {
  if (!(x >= a.left && x <= a.right && y >= a.top && y <= a.bottom)) return std::nullopt;
  if (f.fineM < 1 || f.fineN < 1 || !(a.right > a.left) || !(a.bottom > a.top)) return std::nullopt;
  const double fx = (x - a.left) / (a.right - a.left), fy = (a.bottom - y) / (a.bottom - a.top);
  const int q = std::clamp(static_cast<int>(std::nearbyint(f.fineM * fx)), 0, f.fineM);
  const int r = std::clamp(static_cast<int>(std::nearbyint(f.fineN * fy)), 0, f.fineN);
  Readout o;
  o.xText = fixedField(s.xMin + (s.xMax - s.xMin) * fx, 8, 3);
  o.yText = fixedField(s.yMin + (s.yMax - s.yMin) * fy, 8, 3);
  o.wresText = fixedField(f.at(q, r), 12, 8);
  return o;
}

}  // namespace tavrin::contours
