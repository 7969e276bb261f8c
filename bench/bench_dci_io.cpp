// Writes a DCI with seven curves of 9000 points each and reads it back.
// Prints the best and median of several rounds; target under 20 ms each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "model/dci_writer.h"
#include "shell/atomic_file.h"
#if __has_include("model/input_reader.h")
#include "model/input_reader.h"
#define TAVRIN_HAVE_READER 1
#endif

using namespace tavrin;
using Clock = std::chrono::steady_clock;

namespace {

ParameterSet bigSet() {
  ParameterSet p;
  p.MODE = 2;
  p.IFVC1 = 1;
  p.IFVC2 = 1;
  p.velocityCurveCount = 2;
  p.NLC = 5;
  p.NPPL = 1;
  for (int row = 1; row <= kCurveRows; ++row) {
    CurveRow& c = p.curves[row];
    c.band = 7;
    c.wavel = 0.55;
    c.l1 = 7.84139;
    c.l2 = 0.90038;
    c.sigma = 0.01;
    c.dataFile = "curve" + std::to_string(row) + ".csv";
    c.points.reserve(kMaxObservationPoints);
    for (int i = 0; i < kMaxObservationPoints; ++i) {
      const double phase = i / 9000.0;
      c.points.push_back({7522.0 + phase * 232.5, row <= 2 ? -88.3864 + 100.0 * phase : 1.0 - 0.3 * phase,
                          1.0 + (i % 3) * 0.25});
    }
  }
  return p;
}

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void report(const char* what, std::vector<double> t) {
  std::sort(t.begin(), t.end());
  std::printf("%-28s best %7.2f ms   median %7.2f ms   (%zu rounds)\n", what, t.front(), t[t.size() / 2], t.size());
}

}  // namespace

int main() {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("tavrin-bench-" + std::to_string(::getpid()) + ".dci")).string();
  ParameterSet p = bigSet();
  const int rounds = 9;

  std::vector<double> format, write, read;
  size_t bytes = 0;
  for (int r = 0; r < rounds; ++r) {
    auto t0 = Clock::now();
    const std::string text = dciText(p);
    auto t1 = Clock::now();
    writeFileAtomically(path, text);
    auto t2 = Clock::now();
    format.push_back(ms(t1 - t0));
    write.push_back(ms(t2 - t0));
    bytes = text.size();
  }
  std::printf("DCI with 7 curves x 9000 points: %zu bytes\n", bytes);
  report("format (dciText)", format);
  report("write (format + file)", write);

#ifdef TAVRIN_HAVE_READER
  size_t points = 0;
  for (int r = 0; r < rounds; ++r) {
    auto t0 = Clock::now();
    const InputLoad load = readDci(path, ParameterSet{}, probeDci(path));
    auto t1 = Clock::now();
    read.push_back(ms(t1 - t0));
    points = 0;
    for (int row = 1; row <= kCurveRows; ++row) points += load.params.curves[row].points.size();
  }
  report("read (probe + readDci)", read);
  std::printf("points read back: %zu\n", points);
#else
  std::printf("read: no reader in this build\n");
#endif
  std::filesystem::remove(path);
  return 0;
}
