// Reads a 9000-row LC report and redraws the plots offscreen at 1600 x 1000
// pixels, as the plot windows do on every change. Prints milliseconds per
// read and per redraw (median of the runs). Target: a redraw under 16 ms.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "PlotCommands.h"
#include "QtCanvas.h"
#include "frmMain.h"
#include "frmPlotLC.h"
#include "frmPlotRV.h"
#include "output/lco_reader.h"
#include "output/velocity_plot.h"

namespace {

// A report in the layout the reader expects, with rows phase -0.1 .. 1.1.
std::string report(int page, int rows) {
  std::string t =
      " Synthex - light and radial-velocity curve synthesis\n\n"
      "  mpage  nref  mref ifsmv1 ifsmv2 icor1 icor2   ld\n";
  t += page == 1 ? "      1     1     1      0      0     1     1    2\n\n"
                 : "      2     1     1      0      0     1     1    2\n\n";
  t +=
      "  MODE   IPB  IFAT1 IFAT2   N1   N2        PERR0      DPERDT      THE    VUNIT\n"
      "  2     0     1     1   30   30     1.570796 0.00000D+00  0.00000     1.00\n\n"
      "  ecc     s-m axis        F1        F2       Vgam       Incl     g1     g2 Nsp1 Nsp2  [M/H]\n"
      "0.000000 0.100000D+02    1.0000    1.0000    15.0000    86.0000  0.320  0.320    0    0   0.00\n\n"
      "   T1      T2    Alb1   Alb2      Pot1         Pot2         M2/M1     x1bol  x2bol  y1bol  y2bol\n"
      " 0.6500  0.5200  0.500  0.500 0.500000D+01 0.520000D+01 0.800000D+00  0.743  0.638  0.069  0.173\n\n"
      "  wv lth        L1         L2        x1     x2     y1     y2      el3  band\n"
      " 0.550000    0.75000    0.17681  0.620  0.680  0.250  0.250   0.0000     7\n\n";
  t += page == 1 ? "      JD                 Phase     light 1     light 2 total light  norm. light\n"
                 : "      JD                 Phase     light 1     light 2 total light  separation         V1           V2\n";
  char row[256];
  for (int i = 0; i < rows; ++i) {
    const double ph = -0.1 + 1.2 * i / (rows - 1);
    const double s = std::sin(2 * M_PI * ph);
    const double light = 0.9 - 0.35 * std::exp(-std::pow(std::remainder(ph, 1.0) / 0.05, 2)) -
                         0.12 * std::exp(-std::pow(std::remainder(ph - 0.5, 1.0) / 0.05, 2));
    if (page == 1)
      std::snprintf(row, sizeof row, "0.2458000250D+07%15.6f%12.7f%12.7f%12.7f%13.7f\n", ph, 0.75, 0.17, light, light);
    else
      std::snprintf(row, sizeof row, "0.2458000250D+07%15.6f%12.7f%12.7f%12.7f%10.6f%13.6f%13.6f\n", ph, 0.75, 0.17,
                    0.92, 1.0, 15 - 90 * s, 15 + 112 * s);
    t += row;
  }
  return t;
}

double ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double timeIt(int runs, const std::function<void()>& f) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const auto a = std::chrono::steady_clock::now();
    f();
    t.push_back(ms(std::chrono::steady_clock::now() - a));
  }
  return median(t);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const int runs = 30;
  const QSize size(1600, 1000);

  const std::string lightText = report(1, 9000), velocityText = report(2, 9000);
  tavrin::ComputedCurve light, velocity;
  const double readLight = timeIt(runs, [&] { light = tavrin::parseLco(lightText); });
  const double readVelocity = timeIt(runs, [&] { velocity = tavrin::parseLco(velocityText); });
  std::printf("read 9000-row report: light %.2f ms, velocities %.2f ms (%d rows each)\n", readLight, readVelocity,
              static_cast<int>(light.count));

  frmMain main;
  Session& s = main.session();
  s.app.lcoName = "bench.lco";
  QImage image(size, QImage::Format_ARGB32_Premultiplied);

  frmPlotLC& lc = plotLCWindow(main);
  frmPlotRV& rv = plotRVWindow(main);
  lc.resize(size);
  rv.resize(size);
  auto redraw = [&](PlotWindow& w) {
    QPainter p(&image);
    QtCanvas c(p, QSizeF(size), 96, 96);
    w.draw(c);
  };
  auto report = [&](const char* what, PlotWindow& w) {
    redraw(w);  // warm up
    std::printf("redraw %-46s %6.2f ms\n", what, timeIt(runs, [&] { redraw(w); }));
  };

  s.curve = light;
  s.plot.displayMode = tavrin::kCurveOnly;
  s.plot.joinPoints = true;
  report("light curve, 9000 rows joined", lc);
  s.plot.joinPoints = false;
  report("light curve, 9000 rows as dots", lc);
  s.plot.gridLines = true;
  s.plot.joinPoints = true;
  report("light curve, joined, grid lines", lc);
  for (int i = 0; i < 5000; ++i) {
    s.observedLight.phase.push_back(i / 5000.0);
    s.observedLight.light.push_back(light.light[static_cast<size_t>(i * 9000 / 5000)] + 0.01);
  }
  s.plot.displayMode = tavrin::kCurveAndData;
  report("light curve + 5000 observed points", lc);

  s.curve = velocity;
  s.plot.displayMode = tavrin::kCurveOnly;
  report("velocity curves, 2 x 9000 rows", rv);
  for (int set = 1; set <= 2; ++set) {
    auto& v = s.observedVelocities.set(set);
    v.loaded = true;
    for (int i = 0; i < 9000; ++i) {
      v.phase.push_back(i / 9000.0);
      v.velocity.push_back(set == 1 ? velocity.rv1[static_cast<size_t>(i)] : velocity.rv2[static_cast<size_t>(i)]);
    }
  }
  report("velocity curves + 2 x 9000 observed", rv);

  // The window's own repaint path (widget grab), light curve joined.
  s.curve = light;
  s.plot.displayMode = tavrin::kCurveOnly;
  lc.plotArea()->resize(size);
  lc.plotArea()->grab();
  std::printf("window repaint (grab) light curve at %dx%d: %6.2f ms\n", lc.plotArea()->width(),
              lc.plotArea()->height(), timeIt(runs, [&] { lc.plotArea()->grab(); }));
  return 0;
}
