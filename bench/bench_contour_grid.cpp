// The residual grid with the stand-in DC, three ways: DC waited for by the
// clock (runTime + 0.7 s per run, one at a time), and Tavrin's engine waiting
// for DC's exit with 1 and with 2 workers. Prints the wall times and the
// engine's time per run beyond DC's own, where DC's own time is that of the
// bare program on exactly the inputs the engine gave it (a run that fits a
// parameter takes DC longer than one that fits none). CPU times (user + sys)
// are printed beside the wall times, since a busy machine blurs the latter.
// Tavrin's runs are timed three times, the best counting.
// Columns are the unit of parallel work, so 2 workers can halve the time
// only for an even number of columns.
//   bench_contour_grid [M N]   (default 4 x 3, 1 iteration)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <thread>
#include <vector>

#include "contours/contour_engine.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"

extern char** environ;
using namespace tavrin;
using namespace tavrin::contours;
using Clock = std::chrono::steady_clock;

namespace {

double since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// CPU seconds (user + sys) of this process and of its reaped children.
struct Cpu {
  double self = 0, children = 0;
};
Cpu cpuNow() {
  auto secs = [](const rusage& u) {
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
  };
  rusage s{}, c{};
  getrusage(RUSAGE_SELF, &s);
  getrusage(RUSAGE_CHILDREN, &c);
  return {secs(s), secs(c)};
}
Cpu operator-(Cpu a, Cpu b) { return {a.self - b.self, a.children - b.children}; }

void writeText(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

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
// It also keeps the inputs, so that DC's own time can be taken on them.
class ClockWaitDriver : public DcDriver {
 public:
  ClockWaitDriver(std::unique_ptr<DcDriver> inner, double wait, std::vector<std::string>* inputs)
      : inner_(std::move(inner)), wait_(wait), inputs_(inputs) {}
  DcRun run(const std::string& text) override {
    inputs_->push_back(text);
    const auto t0 = Clock::now();
    DcRun r = inner_->run(text);
    const double left = wait_ - since(t0);
    if (left > 0) std::this_thread::sleep_for(std::chrono::duration<double>(left));
    return r;
  }

 private:
  std::unique_ptr<DcDriver> inner_;
  double wait_;
  std::vector<std::string>* inputs_;
};

// The engine without DC: every run gets the same ready report.
class CannedDriver : public DcDriver {
 public:
  explicit CannedDriver(std::string dco) : dco_(std::move(dco)) {}
  DcRun run(const std::string&) override { return {DcRun::Ok, dco_, 0, {}}; }

 private:
  std::string dco_;
};

}  // namespace

int main(int argc, char** argv) {
  const int M = argc > 2 ? std::atoi(argv[1]) : 4, N = argc > 2 ? std::atoi(argv[2]) : 3;
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

  // The timing test's figure: the bare program on the base set.
  const std::string in = (work / "bare.dci").string(), out = (work / "bare.dco").string();
  writeText(in, baseText);
  bareRun(exe, in, out);
  double runTime = 0;
  for (int k = 0; k < 5; ++k) runTime += bareRun(exe, in, out) / 5;

  std::vector<std::string> inputs;
  auto timeIt = [&](int workers, bool clockWait, int& runs, Cpu& cpu) {
    ContourJob j = job;
    j.workers = workers;
    ScratchDrivers drivers(exe, work.string(), runTimeout(runTime), baseText);
    DcDriverFactory f = drivers.factory();
    if (clockWait)
      f = [inner = f, runTime, &inputs](int i, int n) -> std::unique_ptr<DcDriver> {
        return std::make_unique<ClockWaitDriver>(inner(i, n), runTime + 0.7, &inputs);
      };
    const Cpu c0 = cpuNow();
    const auto t0 = Clock::now();
    const ContourOutcome o = computeGrid(j, f);
    const double t = since(t0);
    cpu = cpuNow() - c0;
    runs = o.runs;
    return t;
  };
  int runs = 0;
  Cpu cClock, c1, c2;
  const double tClock = timeIt(1, true, runs, cClock);
  // Best of three for the engine's own runs: the machine is shared.
  double t1 = 1e9, t2 = 1e9;
  for (int rep = 0; rep < 3; ++rep) {
    Cpu c;
    const double a = timeIt(1, false, runs, c);
    if (a < t1) {
      t1 = a;
      c1 = c;
    }
    const double b = timeIt(2, false, runs, c);
    if (b < t2) {
      t2 = b;
      c2 = c;
    }
  }

  // DC's own time on the very inputs of the grid, each started as the bare
  // program (best of three), and the same inputs as two concurrent halves:
  // how far this machine lets two DC processes run at once.
  auto bareInputs = [&](size_t from, size_t to, const std::string& tag) {
    const std::string i = (work / ("bare" + tag + ".dci")).string(), o = (work / ("bare" + tag + ".dco")).string();
    double t = 0;
    for (size_t k = from; k < to; ++k) {
      writeText(i, inputs[k]);
      t += bareRun(exe, i, o);
    }
    return t;
  };
  double dcOwn = 1e9, bareTwo = 1e9;
  Cpu bare;
  for (int rep = 0; rep < 3; ++rep) {
    const Cpu b0 = cpuNow();
    const double t = bareInputs(0, inputs.size(), "");
    if (t < dcOwn) {
      dcOwn = t;
      bare = cpuNow() - b0;
    }
    const auto t0 = Clock::now();
    std::thread other([&] { bareInputs(inputs.size() / 2, inputs.size(), "2"); });
    bareInputs(0, inputs.size() / 2, "1");
    other.join();
    bareTwo = std::min(bareTwo, since(t0));
  }

  // The engine's own work per run without any process: the DCI text, the report parsed, the fit step.
  std::string dco;
  {
    writeText(in, inputs.empty() ? baseText : inputs.front());
    bareRun(exe, in, out);
    FILE* fin = std::fopen(out.c_str(), "rb");
    char buf[65536];
    size_t k;
    while (fin && (k = std::fread(buf, 1, sizeof buf, fin)) > 0) dco.append(buf, k);
    if (fin) std::fclose(fin);
  }
  ContourJob canned = job;
  canned.gridDef.M = canned.gridDef.N = 20;
  const auto tc0 = Clock::now();
  const ContourOutcome oc = computeGrid(canned, [&dco](int, int) { return std::make_unique<CannedDriver>(dco); });
  const double inProcess = since(tc0) / oc.runs;

  const double n = runs;
  std::printf("grid %d x %d, 1 iteration, %d DC runs; stand-in DC alone on the same inputs: %.1f ms per run "
              "(timing test on the base set: %.1f ms)\n",
              M, N, runs, dcOwn / n * 1000, runTime * 1000);
  std::printf("                                               wall      CPU self + DC (user+sys)\n");
  std::printf("clock wait (runTime + 0.7 s per run, serial): %8.2f s  %6.2f + %6.2f s\n", tClock, cClock.self, cClock.children);
  std::printf("Tavrin, 1 worker (best of 3):                 %8.2f s  %6.2f + %6.2f s\n", t1, c1.self, c1.children);
  std::printf("Tavrin, 2 workers (best of 3):                %8.2f s  %6.2f + %6.2f s  (%.2f of 1 worker)\n", t2, c2.self,
              c2.children, t2 / t1);
  std::printf("bare DC on the same inputs (best of 3):       %8.2f s  %6.2f + %6.2f s\n", dcOwn, bare.self, bare.children);
  std::printf("bare DC, the inputs as 2 concurrent halves:   %8.2f s  (%.2f of serial: what the machine allows now)\n",
              bareTwo, bareTwo / dcOwn);
  std::printf("overhead per run beyond DC's own time (1 worker): wall %.2f ms, CPU %.2f ms (self %.2f, DC %.2f)\n",
              (t1 - dcOwn) / n * 1000, ((c1.self - bare.self) + (c1.children - bare.children)) / n * 1000,
              (c1.self - bare.self) / n * 1000, (c1.children - bare.children) / n * 1000);
  std::printf("engine's own work per run without processes (DCI text, report read, fit step): %.3f ms\n",
              inProcess * 1000);
  std::filesystem::remove_all(work);
  return 0;
}
