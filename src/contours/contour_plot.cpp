#include "contours/contour_plot.h"

#include <algorithm>
#include <cmath>
#include <thread>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

#include "model/number_fields.h"

namespace tavrin::contours {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

std::string trimmed(std::string s) {
  const size_t k = s.find_first_not_of(' ');
  return k == std::string::npos ? std::string() : s.substr(k);
}

// Lagrange weights of the n nodes xs at x: the polynomial through (xs[k], ys[k])
// is sum += b[k] * ys[k] in node order (exact at the nodes).
void lagrangeWeights(const double* xs, int n, double x, double* b) {
  for (int i = 0; i < n; ++i) {
    b[i] = 1;
    for (int k = 0; k < n; ++k)
      if (k != i) b[i] *= (x - xs[k]) / (xs[i] - xs[k]);
  }
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

// Large buffers filled once and at once: asks for huge pages, so that
// the first touch faults in a few pages instead of thousands.
void preferHugePages([[maybe_unused]] void* data, [[maybe_unused]] size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr uintptr_t kHuge = uintptr_t{2} << 20;
  if (bytes < 2 * kHuge) return;
  const uintptr_t from = (reinterpret_cast<uintptr_t>(data) + kHuge - 1) & ~(kHuge - 1);
  const uintptr_t to = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(kHuge - 1);
  if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#endif
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

namespace {

// The fit used at fine index x of a direction with `count` nodes: its first
// node, node count and weights. The weights depend only on x, so they are
// formed once per fine index rather than once per point.
struct FineFit {
  int first = 0, n = 0;
  double b[4] = {};
};

FineFit fineFit(int interval, int count, int zoom, int x) {
  FineFit w;
  nodesFor(interval, count, w.first, w.n);
  double xs[4];
  for (int k = 0; k < w.n; ++k) xs[k] = static_cast<double>((w.first + k) * zoom);
  lagrangeWeights(xs, w.n, static_cast<double>(x), w.b);
  return w;
}

}  // namespace

FineGrid refine(const ContourGrid& g, int zoom) {
  const int M = g.gridDef.M, N = g.gridDef.N;
  FineGrid f;
  f.zoom = zoom;
  f.fineM = (M - 1) * zoom;
  f.fineN = (N - 1) * zoom;
  const size_t stride = static_cast<size_t>(f.fineN) + 1;
  f.f.reserve((static_cast<size_t>(f.fineM) + 1) * stride);
  preferHugePages(f.f.data(), f.f.capacity() * sizeof(double));
  // Fits along Y of every fine row that is no node row.
  std::vector<FineFit> fits(stride);
  for (int r = 0; r <= f.fineN; ++r)
    if (r % zoom != 0) fits[static_cast<size_t>(r)] = fineFit(r / zoom, N, zoom, r);
  std::vector<double> nodes(static_cast<size_t>(N));
  // One fine column at a time: first its node rows along X (a fine index
  // shared by two intervals takes the later interval's fit), then the rows
  // between them along Y from those nodes.
  for (int q = 0; q <= f.fineM; ++q) {
    const FineFit w = fineFit(std::min(q / zoom, M - 2), M, zoom, q);
    const double* node[4];
    for (int k = 0; k < w.n; ++k) node[k] = &g.wres[static_cast<size_t>(w.first + k) * static_cast<size_t>(N)];
    for (int j = 0; j < N; ++j) {
      double sum = 0;
      for (int k = 0; k < w.n; ++k) sum += w.b[k] * node[k][j];
      nodes[static_cast<size_t>(j)] = sum;
    }
    for (int r = 0; r <= f.fineN; ++r) {
      if (r % zoom == 0) {
        f.f.push_back(nodes[static_cast<size_t>(r / zoom)]);
        continue;
      }
      const FineFit& y = fits[static_cast<size_t>(r)];
      double sum = 0;
      for (int k = 0; k < y.n; ++k) sum += y.b[k] * nodes[static_cast<size_t>(y.first + k)];
      f.f.push_back(sum);
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
  // The Y name and interval go in the margin left of the ticks (the colour
  // discs reach 100 beyond the plot's edge, the ticks 180). A name too wide
  // for it is written downwards, a letter per line; the interval then goes
  // under it, its caption and value on lines of their own.
  const double margin = 20, room = a.left - kTick - 2 * margin;
  std::vector<std::string> lines;
  if (c.textWidth(L.label18) <= room) {
    lines.push_back(L.label18);
  } else {
    for (char ch : L.label18) lines.emplace_back(1, ch);
    lines.emplace_back();
  }
  const std::string yint = "Yint " + trimmed(L.label5);
  if (c.textWidth(yint) <= room) {
    lines.push_back(yint);
  } else {
    lines.push_back("Yint");
    lines.push_back(trimmed(L.label5));
  }
  const bool stacked = lines.size() > 2;
  double y = stacked ? (a.top + a.bottom) / 2 - th * static_cast<double>(lines.size()) / 2 : (a.top + a.bottom) / 2 - th;
  for (const std::string& line : lines) {
    if (!line.empty() && line != " ") {
      const double x = stacked ? margin + std::max(0.0, (room - c.textWidth(line)) / 2) : margin;
      c.text(x, y, line);
    }
    y += th;
  }
  return L;
}

std::vector<double> contourLevels(double low, double high, int lines) {
  std::vector<double> v;
  if (lines < 2) return v;
  const double step = (high - low) / (lines - 1);
  for (int k = 0; k < lines; ++k) v.push_back(low + k * step);
  return v;
}

namespace {

// The levels strictly between two neighbouring fine values, as (level index,
// position) pairs appended to `out`. Only the few levels near the pair are
// tested; the test itself is the plain strict one on the level's value.
struct Crossing {
  int level;
  int at;
  bool operator<(const Crossing& o) const { return level != o.level ? level < o.level : at < o.at; }
};

class LevelFinder {
 public:
  LevelFinder(double low, double high, const std::vector<double>& levels)
      : levels_(levels), low_(low), step_(levels.size() > 1 ? (high - low) / static_cast<double>(levels.size() - 1) : 0) {
    const int last = static_cast<int>(levels_.size()) - 1;
    // Levels packed so densely that their rounding spans several steps are all tested.
    spaced_ = std::isfinite(step_) && std::abs(step_) > 1e-9 * std::max(std::abs(low_), std::abs(low_ + step_ * last));
    inverse_ = spaced_ ? 1 / step_ : 0;
    top_ = last + 3.5;
  }

  void crossings(double v0, double v1, int at, std::vector<Crossing>& out) const {
    const double lo = std::min(v0, v1), hi = std::max(v0, v1);
    if (!(lo < hi)) return;  // equal values (or no numbers) cross nothing
    if (spaced_) {
      // Most pairs lie well inside one gap between levels: their level
      // positions (shifted by 2, limited to the levels' span) truncate to
      // the same whole number, and no level can lie between them.
      constexpr double kSlack = 1e-5;
      double e0 = (lo - low_) * inverse_ + 2, e1 = (hi - low_) * inverse_ + 2;
      if (e0 > e1) std::swap(e0, e1);
      e0 = std::clamp(e0 - kSlack, 0.5, top_);
      e1 = std::clamp(e1 + kSlack, 0.5, top_);
      const long i0 = static_cast<long>(e0);
      if (i0 == static_cast<long>(e1) && e0 != static_cast<double>(i0)) return;
    }
    const int last = static_cast<int>(levels_.size()) - 1;
    int k0 = 0, k1 = last;
    if (spaced_) {
      // Index estimates widened by one each way, so rounding cannot lose a level.
      double e0 = (lo - low_) / step_, e1 = (hi - low_) / step_;
      if (e0 > e1) std::swap(e0, e1);
      e0 = std::clamp(std::floor(e0) - 1, -1.0, static_cast<double>(last) + 1);
      e1 = std::clamp(std::ceil(e1) + 1, -1.0, static_cast<double>(last) + 1);
      if (!std::isnan(e0) && !std::isnan(e1)) {
        k0 = std::max(0, static_cast<int>(e0));
        k1 = std::min(last, static_cast<int>(e1));
      }
    }
    for (int k = k0; k <= k1; ++k) {
      const double L = levels_[static_cast<size_t>(k)];
      if ((v0 > L && v1 < L) || (v0 < L && v1 > L)) out.push_back({k, at});
    }
  }

 private:
  const std::vector<double>& levels_;
  double low_, step_;
  bool spaced_ = false;
  double inverse_ = 0, top_ = 0;
};

}  // namespace

long drawContourDots(Canvas& c, const FineGrid& f, const PlotRect& a, double low, double high, int lines) {
  c.setForeground(kContourRed);
  const std::vector<double> levels = contourLevels(low, high, lines);
  if (f.fineM < 1 || f.fineN < 1 || levels.empty()) return 0;
  const double w = a.right - a.left, h = a.bottom - a.top;
  const LevelFinder finder(low, high, levels);
  long dots = 0;
  // Dots are drawn level by level along each row (then column), in
  // increasing position, as a scan of every level over the row would.
  std::vector<Crossing> found;
  for (int r = 0; r <= f.fineN; ++r) {
    found.clear();
    for (int q = 0; q < f.fineM; ++q) finder.crossings(f.at(q, r), f.at(q + 1, r), q, found);
    std::sort(found.begin(), found.end());
    for (const Crossing& x : found) {
      const double L = levels[static_cast<size_t>(x.level)];
      const double v0 = f.at(x.at, r), v1 = f.at(x.at + 1, r);
      const double u = x.at + (v0 - L) / (v0 - v1);
      dot(c, a.left + w * u / f.fineM, a.top + h * (f.fineN - r) / f.fineN);
      ++dots;
    }
  }
  for (int q = 0; q <= f.fineM; ++q) {
    found.clear();
    const double* col = &f.f[static_cast<size_t>(q) * (static_cast<size_t>(f.fineN) + 1)];
    for (int r = 0; r < f.fineN; ++r) finder.crossings(col[r], col[r + 1], r, found);
    std::sort(found.begin(), found.end());
    for (const Crossing& x : found) {
      const double L = levels[static_cast<size_t>(x.level)];
      const double v0 = col[x.at], v1 = col[x.at + 1];
      const double v = x.at + (v0 - L) / (v0 - v1);
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

namespace {

// Runs body(begin, end) over [0, count) split between the machine's cores;
// small jobs stay on the calling thread.
template <class Body>
void splitOverCores(size_t count, size_t smallest, const Body& body) {
  const size_t cores = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
  const size_t parts = std::min(cores, std::max<size_t>(count / std::max<size_t>(smallest, 1), 1));
  if (parts <= 1) {
    body(size_t{0}, count);
    return;
  }
  std::vector<std::thread> threads;
  threads.reserve(parts - 1);
  for (size_t k = 1; k < parts; ++k) threads.emplace_back(body, count * k / parts, count * (k + 1) / parts);
  body(size_t{0}, count / parts);
  for (std::thread& t : threads) t.join();
}

}  // namespace

RgbImage renderColourMap(const FineGrid& f, const PlotRect& a, double low, double high, double x0, double y0,
                         int w, int h, double tpp, double R, Rgb background) {
  RgbImage img;
  img.width = std::max(w, 0);
  img.height = std::max(h, 0);
  img.pixels.reserve(static_cast<size_t>(img.width) * static_cast<size_t>(img.height));
  preferHugePages(img.pixels.data(), img.pixels.capacity() * sizeof(Rgb));
  img.pixels.assign(static_cast<size_t>(img.width) * static_cast<size_t>(img.height), background);
  if (f.fineM < 1 || f.fineN < 1 || img.pixels.empty()) return img;
  const size_t stride = static_cast<size_t>(f.fineN) + 1;
  std::vector<Rgb> colours;
  colours.reserve(f.f.size());
  preferHugePages(colours.data(), colours.capacity() * sizeof(Rgb));
  colours.resize(f.f.size());
  splitOverCores(colours.size(), 65536, [&](size_t from, size_t to) {
    for (size_t k = from; k < to; ++k) colours[k] = scaleColour((f.f[k] - low) / (high - low));
  });
  const double dx = (a.right - a.left) / f.fineM, dy = (a.bottom - a.top) / f.fineN;
  const double R2 = R * R;
  // For every pixel column, the disc columns that reach it, last drawn
  // first, with the half height of their chord there.
  struct Reach {
    int q;
    double hh;
  };
  std::vector<Reach> reach;
  std::vector<size_t> firstReach(static_cast<size_t>(img.width) + 1, 0);
  for (int col = 0; col < img.width; ++col) {
    const double px = x0 + (col + 0.5) * tpp;
    const int qHi = std::min(f.fineM, static_cast<int>(std::floor((px + R - a.left) / dx)));
    const int qLo = std::max(0, static_cast<int>(std::ceil((px - R - a.left) / dx)));
    for (int q = qHi; q >= qLo; --q) {
      const double ddx = a.left + q * dx - px;
      const double left = R2 - ddx * ddx;
      if (left < 0) continue;
      reach.push_back({q, std::sqrt(left)});
    }
    firstReach[static_cast<size_t>(col) + 1] = reach.size();
  }
  // Every pixel takes the first disc (in that order) whose chord holds a fine row.
  splitOverCores(static_cast<size_t>(img.height), 64, [&](size_t rowFrom, size_t rowTo) {
    for (size_t row = rowFrom; row < rowTo; ++row) {
      const double py = y0 + (static_cast<double>(row) + 0.5) * tpp;
      const double up = a.bottom - py;  // height above the bottom edge
      Rgb* out = &img.pixels[row * static_cast<size_t>(img.width)];
      for (int col = 0; col < img.width; ++col) {
        const size_t end = firstReach[static_cast<size_t>(col) + 1];
        for (size_t k = firstReach[static_cast<size_t>(col)]; k < end; ++k) {
          const double hh = reach[k].hh;
          const int rHi = std::min(f.fineN, static_cast<int>(std::floor((up + hh) / dy)));
          const int rLo = std::max(0, static_cast<int>(std::ceil((up - hh) / dy)));
          if (rHi < rLo) continue;
          out[col] = colours[static_cast<size_t>(reach[k].q) * stride + static_cast<size_t>(rHi)];
          break;
        }
      }
    }
  });
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
