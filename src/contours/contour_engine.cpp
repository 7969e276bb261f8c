#include "contours/contour_engine.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "model/dc_parameters.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "model/number_fields.h"
#include "runs/runs.h"
#include "shell/app_state.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

extern char** environ;

namespace tavrin::contours {

namespace {

using Clock = std::chrono::steady_clock;

FitStep l1() { return {FitStep::AddCorrection, kDcL1, 0, false}; }
FitStep out(int key, int code) { return {FitStep::TakeOutput, key, code, false}; }
FitStep add(int key, int code) { return {FitStep::AddCorrection, key, code, false}; }

// One DC run on the set; results and the set's curve values are updated
// only by a report that ends properly. Returns why the run failed, "" when
// it did not.
std::string runOnce(ParameterSet& p, DcResults& res, DcDriver& driver, double& seconds) {
  std::string text;
  try {
    text = dciText(p);
  } catch (const std::exception& e) {
    return e.what();
  }
  const DcRun r = driver.run(text);
  seconds = r.seconds;
  if (r.status != DcRun::Ok) return r.detail.empty() ? std::string("DC gave no report") : r.detail;
  try {
    parseDco(r.dco, res, p);
    if (res.failed()) return "DC's solution failed: " + res.failure;
    return {};
  } catch (const std::exception& e) {
    return std::string("DC's report could not be read: ") + e.what();
  }
}

// Applies the step's unknowns of DC's solution; false when the report holds
// none of them.
bool applyStep(const FitStep& s, ParameterSet& p, const DcResults& res) {
  bool applied = false;
  for (const DcIoRow& row : res.ioRows) {
    if (row.param != s.key) continue;
    if (s.code == 0) {
      // One L1 unknown per light curve.
      if (row.curve < 1 || row.curve > std::min<int>(p.NLC, 5)) continue;
      p.curves[static_cast<size_t>(row.curve + 2)].l1 += row.correction;
      applied = true;
      continue;
    }
    // DC reports T2 in units of 10000 K.
    const double scale = s.code == 3 ? 10000.0 : 1.0;
    const double v = s.apply == FitStep::AddCorrection ? parameterValue(p, s.code) + row.correction * scale
                                                       : row.output * scale;
    setParameterValue(p, s.code, v);
    if (s.tiePotential2 && (p.MODE == 1 || p.MODE == 3)) p.POT2 = p.POTH;
    return true;
  }
  return applied;
}

struct Column {
  std::vector<double> wres;
  std::vector<char> failed;
  ParameterSet params;
  DcResults results;
  int runs = 0;
  bool done = false;
  int firstFailedJ = -1;
  std::string firstFailure;
  std::optional<BestPoint> best;
};

struct Shared {
  std::mutex mutex;
  Progress progress;
};

bool cancelled(const ContourJob& job) { return job.cancel && job.cancel->load(std::memory_order_relaxed); }

// One X column, from the base set. Returns false when cancelled before its end.
bool computeColumn(const ContourJob& job, const std::vector<FitStep>& steps, int i, int worker, DcDriver& driver,
                   Column& c, Shared& shared) {
  const GridDef& s = job.gridDef;
  c.params = job.base;
  c.results = job.startResults;
  c.wres.assign(static_cast<size_t>(s.N), 0.0);
  c.failed.assign(static_cast<size_t>(s.N), 0);
  const double dx = gridStep(s.xMin, s.xMax, s.M);
  const double dy = gridStep(s.yMin, s.yMax, s.N);
  ParameterSet& p = c.params;
  setParameterValue(p, s.xCode, s.xMin + i * dx);
  auto ranOne = [&](double seconds) {
    ++c.runs;
    std::lock_guard lock(shared.mutex);
    ++shared.progress.runsDone;
    --shared.progress.workerRunsLeft[static_cast<size_t>(worker)];
    shared.progress.runSeconds += seconds;
    if (job.onProgress) job.onProgress(shared.progress);
  };
  for (int j = 0; j < s.N; ++j) {
    setParameterValue(p, s.yCode, s.yMin + j * dy);
    std::string failure;
    for (int it = 0; it < s.iterations; ++it)
      for (const FitStep& step : steps) {
        if (cancelled(job)) return false;
        p.adjustKeys[static_cast<size_t>(step.key)] = '0';
        double seconds = 0;
        std::string why = runOnce(p, c.results, driver, seconds);
        // A failed run has no result; the point is lost but the column goes on.
        if (why.empty() && !applyStep(step, p, c.results))
          why = "DC's report holds no correction of parameter " + std::to_string(step.key);
        p.adjustKeys[static_cast<size_t>(step.key)] = '1';
        if (failure.empty()) failure = why;
        ranOne(seconds);
      }
    if (cancelled(job)) return false;
    double seconds = 0;
    const std::string why = runOnce(p, c.results, driver, seconds);
    if (failure.empty()) failure = why;
    const bool failed = !failure.empty();
    c.failed[static_cast<size_t>(j)] = failed ? 1 : 0;
    c.wres[static_cast<size_t>(j)] = failed ? kFailedPoint : c.results.sumWResInput;
    if (failed && c.firstFailedJ < 0) {
      c.firstFailedJ = j;
      c.firstFailure = failure;
    }
    if (!failed && (!c.best || c.results.sumWResInput < c.best->wres))
      c.best = BestPoint{i, j, c.results.sumWResInput, p};
    {
      std::lock_guard lock(shared.mutex);
      ++shared.progress.pointsDone;
    }
    ranOne(seconds);
  }
  c.done = true;
  return true;
}

}  // namespace

std::vector<FitStep> fitSteps(int x, int y) {
  const FitStep q = out(kDcMassRatio, 1), i = out(kDcInclination, 2), t = out(kDcT2, 3), o = out(kDcPotential1, 4);
  if (x == 1 && y == 2) {
    FitStep pot = add(kDcPotential1, 4);
    pot.tiePotential2 = true;
    return {l1(), pot, add(kDcT2, 3)};
  }
  if (x == 1 && y == 3) return {l1(), o, i};
  if (x == 1 && y == 4) return {l1(), i, t};
  if (x == 2 && y == 1) return {l1(), o, t};
  if (x == 2 && y == 3) return {l1(), q, o};
  if (x == 2 && y == 4) return {l1(), q, t};
  if (x == 3 && y == 1) return {l1(), o, i};
  if (x == 3 && y == 2) return {l1(), q, o};
  if (x == 3 && y == 4) return {l1(), q, i};
  if (x == 4 && y == 1) return {l1(), i, t};
  if (x == 4 && y == 2) return {l1(), q, t};
  if (x == 4 && y == 3) return {l1(), q, i};
  if (x == 4 && y == 5) return {l1(), add(kDcT2, 3), add(kDcMassRatio, 1), add(kDcInclination, 2)};
  return {};
}

void applySetup(ParameterSet& p, const GridDef& s) {
  for (int k = 1; k <= kAdjustKeys; ++k) p.adjustKeys[static_cast<size_t>(k)] = '1';
  if (s.xCode >= 1 && s.xCode <= 4) setParameterValue(p, s.xCode, s.xMin);
  if (s.yCode >= 1 && s.yCode <= 4) setParameterValue(p, s.yCode, s.yMin);
}

std::string timingDciText(ParameterSet p) {
  p.adjustKeys[kDcT2] = '0';
  return dciText(p);
}

void takePointValues(ParameterSet& p, const ParameterSet& point, const GridDef& s) {
  for (int code : {int(s.xCode), int(s.yCode)}) setParameterValue(p, code, parameterValue(point, code));
  for (const FitStep& step : fitSteps(s.xCode, s.yCode)) {
    if (step.code == 0) {
      for (int n = 1; n <= std::min<int>(point.NLC, 5); ++n)
        p.curves[static_cast<size_t>(n + 2)].l1 = point.curves[static_cast<size_t>(n + 2)].l1;
      continue;
    }
    setParameterValue(p, step.code, parameterValue(point, step.code));
    if (step.tiePotential2 && (point.MODE == 1 || point.MODE == 3)) p.POT2 = point.POT2;
  }
}

Progress startProgress(const GridDef& s, int columns, int workers) {
  Progress p;
  p.workers = std::clamp(workers, 1, std::max(columns, 1));
  p.runsPerColumn = s.N * runsPerPoint(s);
  p.pointsTotal = columns * s.N;
  p.runsTotal = columns * p.runsPerColumn;
  p.workerRunsLeft.assign(static_cast<size_t>(p.workers), 0);
  p.columnsPending = columns;
  return p;
}

int runsPerPoint(const GridDef& s) {
  return s.iterations * static_cast<int>(fitSteps(s.xCode, s.yCode).size()) + 1;
}

double estimateSeconds(double runTime, const GridDef& s, int workers) {
  const int w = std::max(workers, 1);
  const int rounds = (std::max<int>(s.M, 0) + w - 1) / w;
  return runTime * rounds * std::max<int>(s.N, 0) * runsPerPoint(s);
}

double remainingSeconds(const Progress& p, double runTime) {
  const double perRun = p.runsDone > 0 ? p.runSeconds / p.runsDone : runTime;
  if (p.workerRunsLeft.empty()) return perRun * std::max(0, p.runsTotal - p.runsDone) / std::max(1, p.workers);
  // Each pending column goes to the worker that is free first.
  std::vector<long long> left(p.workerRunsLeft.begin(), p.workerRunsLeft.end());
  for (int c = 0; c < p.columnsPending; ++c) *std::min_element(left.begin(), left.end()) += p.runsPerColumn;
  return perRun * static_cast<double>(*std::max_element(left.begin(), left.end()));
}

std::string failureSummary(const ContourOutcome& o) {
  if (o.failedPoints == 0) return {};
  const GridDef& s = o.grid.gridDef;
  const double x = s.xMin + o.firstFailedI * gridStep(s.xMin, s.xMax, s.M);
  const double y = s.yMin + o.firstFailedJ * gridStep(s.yMin, s.yMax, s.N);
  return std::to_string(o.failedPoints) + " of " + std::to_string(o.points) + " grid points failed (marked " +
         trimmedPlainText(kFailedPoint) + "). The first, at " + axisName(s.xCode) + " " +
         trimmedPlainText(x) + ", " + axisName(s.yCode) + " " + trimmedPlainText(y) + ": " + o.firstFailure;
}

ParameterSet readBackBase(const ParameterSet& p, std::string* text) {
  const std::string t = dciText(p);
  if (text) *text = t;
  return readDciText(t, p, probeDciText(t), "Contour0.dci").params;
}

ContourOutcome computeGrid(const ContourJob& job, const DcDriverFactory& drivers) {
  ContourOutcome out;
  const GridDef& s = job.gridDef;
  out.grid.gridDef = s;
  out.grid.resize();
  out.finalParams = job.base;
  out.finalResults = job.startResults;
  const std::vector<FitStep> steps = fitSteps(s.xCode, s.yCode);
  if (steps.empty() || s.M < 1 || s.N < 1) return out;
  out.computed = true;

  const int first = std::clamp(job.firstColumn, 0, s.M - 1);
  const int last = job.lastColumn < 0 ? s.M - 1 : std::clamp(job.lastColumn, first, s.M - 1);
  const int count = last - first + 1;
  out.points = count * s.N;
  std::vector<Column> columns(static_cast<size_t>(count));
  Shared shared;
  std::atomic<int> next{first};
  std::atomic<bool> stop{false};

  const int workers = std::clamp(job.workers, 1, count);
  shared.progress = startProgress(s, count, workers);
  auto work = [&](int index) {
    std::unique_ptr<DcDriver> driver = drivers(index, workers);
    for (;;) {
      const int i = next.fetch_add(1);
      if (i > last || stop.load()) return;
      {
        std::lock_guard lock(shared.mutex);
        --shared.progress.columnsPending;
        shared.progress.workerRunsLeft[static_cast<size_t>(index)] = shared.progress.runsPerColumn;
      }
      if (!computeColumn(job, steps, i, index, *driver, columns[static_cast<size_t>(i - first)], shared)) {
        stop = true;
        return;
      }
    }
  };
  if (workers == 1) {
    work(0);
  } else {
    std::vector<std::thread> threads;
    for (int k = 0; k < workers; ++k) threads.emplace_back(work, k);
    for (std::thread& t : threads) t.join();
  }

  for (const Column& c : columns) out.runs += c.runs;
  if (stop.load() || std::any_of(columns.begin(), columns.end(), [](const Column& c) { return !c.done; })) {
    out.cancelled = true;
    return out;
  }
  ContourGrid& g = out.grid;
  bool any = false;
  for (int i = first; i <= last; ++i) {
    const Column& c = columns[static_cast<size_t>(i - first)];
    if (c.firstFailedJ >= 0 && out.firstFailedI < 0) {
      out.firstFailedI = i;
      out.firstFailedJ = c.firstFailedJ;
      out.firstFailure = c.firstFailure;
    }
    // Ties go to the first point in the file's order.
    if (c.best && (!out.best || c.best->wres < out.best->wres)) out.best = c.best;
    for (int j = 0; j < s.N; ++j) {
      const size_t k = static_cast<size_t>(i) * s.N + j;
      if (c.failed[static_cast<size_t>(j)]) {
        g.wres[k] = kFailedPoint;
        ++out.failedPoints;
        continue;
      }
      const double v = c.wres[static_cast<size_t>(j)];
      g.wres[k] = v;
      g.status[k] = 0;
      takeIntoRange(g, v, any);
    }
  }
  out.finalParams = columns.back().params;
  out.finalResults = columns.back().results;
  if (first == 0 && last == s.M - 1) {
    g.dataReady = true;
    g.range = defaultRange(g.wresMin, g.wresMax);
  }
  return out;
}

// ---- Real DC ----------------------------------------------------------------

double runTimeout(double measured) { return std::max(60.0, 20.0 * measured); }

ProcessDcDriver::ProcessDcDriver(std::string executable, std::string folder, double timeoutSeconds,
                                 const std::atomic<bool>* cancel)
    : exe_(std::move(executable)), folder_(std::move(folder)), timeout_(timeoutSeconds), cancel_(cancel) {}

namespace {

bool cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

// Waits for the child to end within `seconds` (or until `cancel` is set);
// true when it was reaped.
bool waitFor(pid_t pid, double seconds, int& status, const std::atomic<bool>* cancel) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  // A cancel is looked at every 20 ms.
  const long longest = cancel ? 20 : 1000;
#ifdef SYS_pidfd_open
  const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (fd >= 0) {
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0 || cancelled(cancel)) break;
      pollfd pfd{fd, POLLIN, 0};
      const int r = ::poll(&pfd, 1, static_cast<int>(std::min<long long>(left, longest)));
      if (r > 0) break;
      if (r < 0 && errno != EINTR) break;
    }
    ::close(fd);
    const pid_t w = ::waitpid(pid, &status, WNOHANG);
    return w == pid;
  }
#endif
  // Without process descriptors: short sleeps, growing to 2 ms.
  long sleepUs = 100;
  for (;;) {
    const pid_t w = ::waitpid(pid, &status, WNOHANG);
    if (w == pid) return true;
    if (w < 0 && errno != EINTR) return false;
    if (Clock::now() >= deadline || cancelled(cancel)) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(sleepUs));
    sleepUs = std::min(sleepUs * 2, 2000L);
  }
}

}  // namespace

DcRun ProcessDcDriver::run(const std::string& dciText) {
  DcRun r;
  const std::string dci = joinPath(folder_, stem_ + ".dci");
  const std::string dco = joinPath(folder_, stem_ + ".dco");
  const std::string err = joinPath(folder_, stem_ + ".err");
  const std::string& cwd = workingFolder_.empty() ? folder_ : workingFolder_;
  const auto t0 = Clock::now();
  try {
    writeFileAtomically(dci, dciText, Durability::Scratch);
  } catch (const std::exception& e) {
    r.detail = e.what();
    return r;
  }
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, dci.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, dco.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 29))
  posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
#endif
  std::string arg0 = exe_;
  char* argv[] = {arg0.data(), nullptr};
  // A group of its own, so that a timeout also stops whatever DC started.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attr, 0);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, exe_.c_str(), &fa, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0) {
    r.detail = "cannot start " + exe_;
    return r;
  }
  int status = 0;
  if (!waitFor(pid, timeout_, status, cancel_)) {
    ::kill(-pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    r.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    if (cancelled(cancel_)) {
      r.status = DcRun::Cancelled;
      r.detail = "DC stopped by Cancel";
    } else {
      r.status = DcRun::TimedOut;
      r.detail = "DC killed after " + std::to_string(static_cast<int>(timeout_)) + " s";
    }
    return r;
  }
  r.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  if (WIFSIGNALED(status) || WEXITSTATUS(status) != 0) {
    r.detail = WIFSIGNALED(status) ? "DC ended by signal " + std::to_string(WTERMSIG(status))
                                   : "DC exit status " + std::to_string(WEXITSTATUS(status));
    std::string said;
    try {
      said = lastLine(readWholeFile(err));
    } catch (const std::exception&) {
    }
    if (!said.empty()) r.detail += ": " + said;
    return r;
  }
  try {
    r.dco = readWholeFile(dco);
    r.status = DcRun::Ok;
  } catch (const std::exception& e) {
    r.detail = e.what();
  }
  return r;
}

std::string lastLine(const std::string& text) {
  size_t end = text.size();
  while (end > 0) {
    const size_t start = text.rfind('\n', end - 1);
    const size_t from = start == std::string::npos ? 0 : start + 1;
    std::string line = text.substr(from, end - from);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    const size_t lead = line.find_first_not_of(" \t");
    if (lead != std::string::npos) return line.substr(lead);
    if (start == std::string::npos) break;
    end = start;
  }
  return {};
}

namespace {

bool writtenByRuns(const std::string& name) {
  for (const char* own : {"Contour.dci", "Contour.dco", "Contour.err", "Contour0.dci"})
    if (name == own) return true;
  return name.rfind("contour-work-", 0) == 0;
}

}  // namespace

int linkCompanions(const std::string& programFolder, const std::string& workFolder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path from = fs::absolute(programFolder.empty() ? fs::path(".") : fs::path(programFolder), ec);
  int made = 0;
  for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (writtenByRuns(name)) continue;
    const fs::path to = fs::path(workFolder) / name;
    std::error_code e;
    fs::create_symlink(it->path(), to, e);
    // A folder that takes no links (some network and removable media) gets copies of the files.
    if (e && it->is_regular_file(e)) fs::copy_file(it->path(), to, e);
    if (!e) ++made;
  }
  return made;
}

ScratchDrivers::ScratchDrivers(std::string executable, std::string parentFolder, double timeoutSeconds,
                               std::string baseDciText)
    // DC starts in its scratch folder: a relative name would be looked up there.
    : exe_(std::filesystem::absolute(executable).string()),
      data_(std::move(parentFolder)),
      baseText_(std::move(baseDciText)),
      timeout_(timeoutSeconds),
      mutex_(std::make_shared<std::mutex>()) {}

ScratchDrivers::~ScratchDrivers() {
  for (const std::string& d : made_) {
    std::error_code ec;
    std::filesystem::remove_all(d, ec);
  }
}

DcDriverFactory ScratchDrivers::factory() {
  return [this](int index, int) -> std::unique_ptr<DcDriver> {
    static std::atomic<int> serial{0};
    const std::string dir = joinPath(data_, "contour-work-" + std::to_string(::getpid()) + "-" +
                                                std::to_string(serial.fetch_add(1)) + "-" + std::to_string(index));
    {
      std::lock_guard lock(*mutex_);
      std::error_code ec;
      std::filesystem::create_directories(dir, ec);
      made_.push_back(dir);
    }
    linkCompanions(std::filesystem::path(exe_).parent_path().string(), dir);
    try {
      // Removed with the folder at the end, so not worth waiting for the disk.
      writeFileAtomically(joinPath(dir, "Contour0.dci"), baseText_, Durability::Scratch);
    } catch (const std::exception&) {
      // The base set is only a record for the user; the runs do not need it.
    }
    return std::make_unique<ProcessDcDriver>(exe_, dir, timeout_);
  };
}

std::string locateDc(const std::string& given, const std::string& currentFolder, const std::string& searchPath) {
  if (!given.empty()) {
    runs::checkExecutable(given, ProgramMode::DC);
    return given;
  }
  return runs::locateCustomExecutable(currentFolder, ProgramMode::DC, searchPath);
}

}  // namespace tavrin::contours
