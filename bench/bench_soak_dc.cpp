// 1,000 consecutive DC cycles in one process (save DCI, run the stand-in DC,
// read the DCO, apply a correction): resident memory, open descriptors and
// child processes before and after. Usage: bench_soak_dc [cycles]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "soak_dc_cycle.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
  const fs::path data = fs::temp_directory_path() / ("tavrin-soak-" + std::to_string(::getpid()));
  fs::create_directories(data);
  tavrin::soak::DcCycle cycle(std::string(TAVRIN_BINARY_DIR) + "/src/standins/Solvex", data.string(),
                              std::string(TAVRIN_SOURCE_DIR) + "/examples/example.dci");
  // A few cycles first so that one-time allocations are not counted as growth.
  for (int i = 0; i < 5; ++i) cycle.run();
  const long rss0 = tavrin::soak::residentKb();
  const int fd0 = tavrin::soak::openDescriptors();
  const int ch0 = tavrin::soak::childProcesses();
  const auto t0 = std::chrono::steady_clock::now();
  long rssPeak = rss0;
  for (int i = 1; i <= cycles; ++i) {
    cycle.run();
    rssPeak = std::max(rssPeak, tavrin::soak::residentKb());
    if (i % 100 == 0)
      std::printf("cycle %5d  VmRSS %ld kB  fds %d  children %d\n", i, tavrin::soak::residentKb(),
                  tavrin::soak::openDescriptors(), tavrin::soak::childProcesses());
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const long rss1 = tavrin::soak::residentKb();
  std::printf("cycles %d in %.1f s (%.1f ms per cycle)\n", cycles, seconds, 1000.0 * seconds / cycles);
  std::printf("VmRSS %ld kB -> %ld kB (growth %ld kB, peak %ld kB)\n", rss0, rss1, rss1 - rss0, rssPeak);
  std::printf("open descriptors %d -> %d, child processes %d -> %d\n", fd0, tavrin::soak::openDescriptors(), ch0,
              tavrin::soak::childProcesses());
  fs::remove_all(data);
  return 0;
}
