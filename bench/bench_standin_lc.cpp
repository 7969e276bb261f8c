// Stand-in LC: time to synthesise and report a 600-phase light curve (and a
// 600-phase velocity curve) of the example system. Target: under 50 ms.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "example_system.h"
#include "standin.h"

namespace {

double bestOf(int runs, const tavrin::ParameterSet& p, size_t& bytes) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    const std::string r = tavrin::standin::lcReport(p);
    const auto t1 = std::chrono::steady_clock::now();
    bytes = r.size();
    best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  return best;
}

}  // namespace

int main() {
  tavrin::ParameterSet p = tavrin::standin::exampleTruth();
  p.PHSTRT = 0.0;
  p.PHSTOP = 0.5995;  // 600 phases
  p.PHIN = 0.001;
  p.NOISE = 1;
  p.FRACSD = 0.005;
  size_t bytes = 0;
  const double light = bestOf(20, p, bytes);
  std::printf("standin LC, 600 phases, light curve:     best %.2f ms (%zu bytes)\n", light, bytes);
  p.spotCount[1] = 2;
  p.spots[1][1] = tavrin::Spot{1.2, 1.0, 0.35, 0.85};
  p.spots[1][2] = tavrin::Spot{0.6, 3.0, 0.25, 1.10};
  const double spotted = bestOf(20, p, bytes);
  std::printf("standin LC, 600 phases, two spots:       best %.2f ms\n", spotted);
  p.MPAGE = 2;
  const double rv = bestOf(20, p, bytes);
  std::printf("standin LC, 600 phases, velocity curves: best %.2f ms\n", rv);
  std::printf("target: under 50 ms\n");
  return 0;
}
