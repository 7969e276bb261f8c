// Reading LC and DC reports: a 9000-row LCO (the most the reader keeps) and a
// DCO with 15 adjusted parameters and a 20-row input-output table.
#include <chrono>
#include <cstdio>
#include <string>

#include "model/parameter_set.h"
#include "output/dco_reader.h"
#include "output/lco_reader.h"

namespace {

std::string lco9000() {
  std::string s =
      "  mpage\n1\n MODE\n3\n ecc\n"
      "0.00000                                              87.500\n"
      "x\nx\n  .5300  .4521              6.1624       9.0092       .76115\nx\n band\n    6       .90038\nx\n"
      "   JD        Phase\n";
  for (int i = 0; i < 9000; ++i) {
    char row[160];
    std::snprintf(row, sizeof row, "%13.5f %14.6f %11.7f %11.7f %11.7f\n", 2450000.0 + i, i / 9000.0, 0.6, 0.4,
                  1.0 - 0.5 * (i % 100) / 100.0);
    s += row;
  }
  return s + "\n";
}

std::string dco20() {
  std::string s = " ADJUSTMENT KEYS\n  0000 0000 0000000 11111 11111 11111 11111\n CORRELATION\n\n";
  for (int r = 0; r < 15; ++r) {
    s += " ";
    for (int c = 0; c < 15; ++c) s += "     0.12345";
    s += "\n";
  }
  s += " Input-Output in F\n\n\n";
  for (int r = 0; r < 20; ++r)
    s += " 9      0     .100000000D+01    .100000000D-01    .101000000D+01    .200000000D-02\n";
  s += "\n   Sum(W*Res**2)\n  .123D+02                   .100D+02\n DOM1/DQ\n";
  return s;
}

template <class F>
double perCall(int n, F f) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / n;
}

}  // namespace

int main() {
  const std::string lco = lco9000();
  const std::string dco = dco20();
  int rows = 0;
  const double tl = perCall(50, [&] { rows = tavrin::parseLco(lco).count; });
  std::printf("LCO, %d rows, %zu bytes: %.2f ms per read\n", rows, lco.size(), tl * 1e3);
  tavrin::DcResults r;
  tavrin::ParameterSet p;
  const double td = perCall(2000, [&] { tavrin::parseDco(dco, r, p); });
  std::printf("DCO, %zu adjusted, %zu table rows, %zu bytes: %.1f us per read\n", r.adjustedParams.size(), r.ioRows.size(),
              dco.size(), td * 1e6);
  return 0;
}
