// Time for 100,000 `tavrin-cli field` requests (mixed kinds) through a pipe,
// and for the same work on the core routines in-process.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "model/number_fields.h"
#include "shell/errors.h"

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> mant(-1e4, 1e4);
  std::uniform_int_distribution<int> pow10(-8, 8), width(2, 16), dec(0, 10), v16(-32768, 32767);
  std::string requests;
  for (int i = 0; i < n; ++i) {
    const double x = mant(rng) * std::pow(10.0, pow10(rng));
    char buf[128];
    switch (i % 6) {
      case 0: std::snprintf(buf, sizeof buf, "plain %.17g\n", x); break;
      case 1: std::snprintf(buf, sizeof buf, "int %d %d 0\n", v16(rng), dec(rng)); break;
      case 2: std::snprintf(buf, sizeof buf, "fixed %.17g %d %d\n", x, width(rng), dec(rng)); break;
      case 3: std::snprintf(buf, sizeof buf, "exp %.17g %d %d\n", x, width(rng), dec(rng)); break;
      case 4: std::snprintf(buf, sizeof buf, "dtoe .%06dD+%02d\n", v16(rng) & 0x7fff, dec(rng)); break;
      default: std::snprintf(buf, sizeof buf, "align %d %d 2.5 3.5\n", dec(rng), v16(rng) & 0x3ff); break;
    }
    requests += buf;
  }
  const std::string in = "/tmp/bench_field_" + std::to_string(::getpid()) + ".txt";
  std::ofstream(in) << requests;

  const std::string cmd = std::string(TAVRIN_BINARY_DIR "/src/cli/tavrin-cli field < ") + in + " | wc -l";
  const auto t0 = std::chrono::steady_clock::now();
  FILE* p = ::popen(cmd.c_str(), "r");
  long lines = 0;
  if (p) {
    if (std::fscanf(p, "%ld", &lines) != 1) lines = -1;
    ::pclose(p);
  }
  const auto t1 = std::chrono::steady_clock::now();
  std::remove(in.c_str());

  // In-process: the same kinds of calls on the core routines.
  std::mt19937 rng2(1);
  size_t chars = 0;
  const auto t2 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) {
    const double x = mant(rng2) * std::pow(10.0, pow10(rng2));
    try {
      switch (i % 4) {
        case 0: chars += tavrin::plainNumberText(x).size(); break;
        case 1: chars += tavrin::intField(v16(rng2), dec(rng2), "0").size(); break;
        case 2: chars += tavrin::fixedField(x, width(rng2), dec(rng2)).size(); break;
        default: chars += tavrin::expField(x, width(rng2), dec(rng2)).size(); break;
      }
    } catch (const tavrin::TavrinError&) {
    }
  }
  const auto t3 = std::chrono::steady_clock::now();

  const double cli = std::chrono::duration<double>(t1 - t0).count();
  const double core = std::chrono::duration<double>(t3 - t2).count();
  std::printf("tavrin-cli field: %d requests, %ld answers, %.3f s (%.2f us/request)\n", n, lines, cli,
              1e6 * cli / n);
  std::printf("core routines:    %d calls, %.3f s (%.3f us/call, %zu chars)\n", n, core, 1e6 * core / n, chars);
  return lines == n ? 0 : 1;
}
