// Stand-in DC: time of one differential-corrections step with 4 adjusted
// parameters and 1000 observations. Target: under 0.5 s.

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "example_system.h"
#include "standin.h"

namespace {

double bestOf(int runs, const tavrin::ParameterSet& p) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    const tavrin::standin::DcSolution s = tavrin::standin::dcSolve(p);
    const std::string r = tavrin::standin::dcReport(p, s);
    const auto t1 = std::chrono::steady_clock::now();
    if (!s.error.empty()) std::printf("failed: %s\n", s.error.c_str());
    best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  return best;
}

}  // namespace

int main() {
  tavrin::ParameterSet p = tavrin::standin::exampleDcStart();
  // One light curve of 1000 points; inclination, T2, potential 1 and L1 adjusted.
  p.IFVC1 = p.IFVC2 = 0;
  p.NLC = 1;
  p.curves[3] = p.curves[4];
  p.curves[3].points.clear();
  for (int i = 0; i < 1000; ++i) p.curves[3].points.push_back({i / 1000.0, 0.8, 1.0});
  p.IFDER = 1;
  p.ISYM = 0;
  const double oneSided = bestOf(5, p);
  p.ISYM = 1;
  const double symmetric = bestOf(5, p);
  std::printf("standin DC, 4 parameters, 1000 observations, one-sided derivatives: best %.1f ms\n", oneSided);
  std::printf("standin DC, 4 parameters, 1000 observations, symmetric derivatives: best %.1f ms\n", symmetric);
  std::printf("target: under 500 ms\n");
  return 0;
}
