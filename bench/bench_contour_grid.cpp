// The residual grid with the stand-in DC, three ways: DC waited for by the
// clock (runTime + 0.7 s per run, one at a time), and Tavrin's engine waiting
// for DC's exit with 1 and with 2 workers. Prints the wall times and the
// engine's time per run beyond DC's own.
//   bench_contour_grid [M N]   (default 3 x 3, 1 iteration)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <thread>

#include "contours/contour_engine.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"

extern char** environ;
using namespace tavrin;
using namespace tavrin::contours;
using Clock = std::chrono::steady_clock;

namespace {

double since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// DC's own time: the bare program on the example, input and report through files.
double bareRun(const std::string& exe, const std::string& in, const std::string& out) {
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string a0 = exe;
  char* argv[] = {a0.data(), nullptr};
  pid_t pid;
  const auto t0 = Clock::now();
  posix_spawn(&pid, exe.c_str(), &fa, nullptr, argv, environ);
  int st;
  waitpid(pid, &st, 0);
  posix_spawn_file_actions_destroy(&fa);
  return since(t0);
}

// The clock-waiting procedure: every run takes at least runTime + delay.
class ClockWaitDriver : public DcDriver {
 public:
  ClockWaitDriver(std::unique_ptr<DcDriver> inner, double wait) : inner_(std::move(inner)), wait_(wait) {}
  DcRun run(const std::string& text) override {
    const auto t0 = Clock::now();
    DcRun r = inner_->run(text);
    const double left = wait_ - since(t0);
    if (left > 0) std::this_thread::sleep_for(std::chrono::duration<double>(left));
    return r;
  }

 private:
  std::unique_ptr<DcDriver> inner_;
  double wait_;
};

}  // namespace

int main(int argc, char** argv) {
  const int M = argc > 2 ? std::atoi(argv[1]) : 3, N = argc > 2 ? std::atoi(argv[2]) : 3;
  const std::string exe = std::string(TAVRIN_BINARY_DIR) + "/src/standins/Solvex";
  const std::string example = std::string(TAVRIN_SOURCE_DIR) + "/examples/example.dci";
  const std::filesystem::path work = std::filesystem::temp_directory_path() / ("bench-contour-" + std::to_string(getpid()));
  std::filesystem::create_directories(work);

  ParameterSet p = readDci(example, ParameterSet{}, probeDci(example)).params;
  GridDef s{2, 4, 84, 88, static_cast<int16_t>(M), 4.8, 5.2, static_cast<int16_t>(N), 1};
  applySetup(p, s);
  std::string baseText;
  ContourJob job;
  job.gridDef = s;
  job.base = readBackBase(p, &baseText);

  // DC's own time, averaged.
  const std::string in = (work / "bare.dci").string(), out = (work / "bare.dco").string();
  {
    FILE* f = std::fopen(in.c_str(), "wb");
    std::fwrite(baseText.data(), 1, baseText.size(), f);
    std::fclose(f);
  }
  bareRun(exe, in, out);
  double dcOwn = 0;
  const int bare = 20;
  for (int k = 0; k < bare; ++k) dcOwn += bareRun(exe, in, out);
  dcOwn /= bare;
  const double runTime = dcOwn;  // what the timing test would measure

  auto timeIt = [&](int workers, bool clockWait, int& runs) {
    ContourJob j = job;
    j.workers = workers;
    ScratchDrivers drivers(exe, work.string(), runTimeout(runTime), baseText, true);
    DcDriverFactory f = drivers.factory();
    if (clockWait)
      f = [inner = f, runTime](int i, int n) -> std::unique_ptr<DcDriver> {
        return std::make_unique<ClockWaitDriver>(inner(i, n), runTime + 0.7);
      };
    const auto t0 = Clock::now();
    const ContourOutcome o = computeGrid(j, f);
    runs = o.runs;
    return since(t0);
  };
  int runs = 0;
  const double tClock = timeIt(1, true, runs);
  const double t1 = timeIt(1, false, runs);
  const double t2 = timeIt(2, false, runs);
  std::printf("grid %d x %d, 1 iteration, %d DC runs; stand-in DC alone: %.1f ms per run\n", M, N, runs, dcOwn * 1000);
  std::printf("clock wait (runTime + 0.7 s per run, serial): %8.2f s\n", tClock);
  std::printf("Tavrin, 1 worker:                             %8.2f s\n", t1);
  std::printf("Tavrin, 2 workers:                            %8.2f s  (%.2f of 1 worker)\n", t2, t2 / t1);
  std::printf("overhead per run beyond DC's own time (1 worker): %.2f ms\n", (t1 / runs - dcOwn) * 1000);
  std::filesystem::remove_all(work);
  return 0;
}
