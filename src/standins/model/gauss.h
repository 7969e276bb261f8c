#pragma once
// Gauss-Legendre nodes and weights on [-1, 1], computed once per order.

#include <array>
#include <cmath>

namespace tavrin::standin {

template <int N>
struct GaussLegendre {
  std::array<double, N> x{}, w{};
  GaussLegendre() {
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < N; ++i) {
      double z = std::cos(pi * (i + 0.75) / (N + 0.5));
      double pp = 1.0;
      for (int it = 0; it < 100; ++it) {
        double p1 = 1.0, p2 = 0.0;
        for (int j = 1; j <= N; ++j) {
          const double p3 = p2;
          p2 = p1;
          p1 = ((2.0 * j - 1.0) * z * p2 - (j - 1.0) * p3) / j;
        }
        pp = N * (z * p1 - p2) / (z * z - 1.0);
        const double z1 = z;
        z = z1 - p1 / pp;
        if (std::fabs(z - z1) < 1e-15) break;
      }
      x[i] = -z;
      w[i] = 2.0 / ((1.0 - z * z) * pp * pp);
    }
  }
  static const GaussLegendre& get() {
    static const GaussLegendre g;
    return g;
  }
};

}  // namespace tavrin::standin
