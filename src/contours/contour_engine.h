#pragma once
// The residual-grid computation: for every grid point the two grid
// parameters are set, DC fits the other parameters one at a time for the
// given number of iterations, and one more DC run gives the point's
// Sum(W*Res**2). DC is reached through DcDriver (write the DCI, run DC, give
// the DCO text back), so the loop runs without a window and, in the tests,
// without processes. Every X column starts again from the base set, so
// columns are computed in parallel, one driver (one DC process, one scratch
// folder) per worker, with results identical to the serial order.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "contours/contour_grid.h"
#include "model/parameter_set.h"
#include "output/dco_reader.h"

namespace tavrin::contours {

struct DcRun {
  enum Status { Ok, Failed, TimedOut, Cancelled } status = Failed;
  std::string dco;       // DC's report (Ok)
  double seconds = 0;    // wall time of the run
  std::string detail;    // why it failed: DC's exit status and its last standard-error line
};

// One DC at a time: writes the DCI text, runs DC on it and returns the report.
class DcDriver {
 public:
  virtual ~DcDriver() = default;
  virtual DcRun run(const std::string& dciText) = 0;
};
// Makes the driver of worker `index` (0-based) of `workers`.
using DcDriverFactory = std::function<std::unique_ptr<DcDriver>(int index, int workers)>;

// A fit step: L1 of every light curve, or one grid-independent parameter.
struct FitStep {
  enum Apply { AddCorrection, TakeOutput } apply = TakeOutput;
  int key = 0;    // DC key set to "0" for the run
  int code = 0;   // parameter code 1..4; 0 for the L1 step
  bool tiePotential2 = false;  // potential 2 := potential 1 in MODE 1 and 3
  friend bool operator==(const FitStep&, const FitStep&) = default;
};
// The steps of one iteration for a pair of codes; empty for pairs that compute nothing.
std::vector<FitStep> fitSteps(int xCode, int yCode);

// Set-up: all 35 keys "1", the X parameter at xMin and the Y parameter at
// yMin (codes 1..4; potential 2 is left alone).
void applySetup(ParameterSet& p, const GridDef& s);
// The DCI of the timing test: `p` with T2 (key 20) fitted.
std::string timingDciText(ParameterSet p);
// Copies what a grid point holds from `point` into `p`: the two grid
// parameters and those the fit steps change (L1 of every light curve,
// potential 2 where it is tied). Everything else of `p` stays.
void takePointValues(ParameterSet& p, const ParameterSet& point, const GridDef& s);

struct Progress {
  int pointsDone = 0;
  int pointsTotal = 0;
  int runsDone = 0;
  int runsTotal = 0;
  double runSeconds = 0;  // summed over the finished runs
  int workers = 1;        // DC processes at once
  // Columns are shared out whole: the runs each worker has left in its
  // column, and the columns no worker has started.
  std::vector<int> workerRunsLeft;
  int columnsPending = 0;
  int runsPerColumn = 0;
};

// The progress of a computation of `columns` X columns before its first run.
Progress startProgress(const GridDef& s, int columns, int workers);
// DC runs of one grid point: every fit step `iterations` times, then the final run.
int runsPerPoint(const GridDef& s);
// Seconds a whole computation takes with `workers` DC processes at once,
// each run taking `runTime`: every worker computes whole X columns.
double estimateSeconds(double runTime, const GridDef& s, int workers);
// Seconds left: the mean of the runs finished so far (`runTime` until there
// are some) times the runs left, shared over the workers as the columns are.
double remainingSeconds(const Progress& p, double runTime);

struct ContourJob {
  GridDef gridDef;
  ParameterSet base;          // the set as read back from the base DCI
  DcResults startResults;     // DcResults before the computation
  int firstColumn = 0;        // X columns to compute (inclusive); last -1 = to the end
  int lastColumn = -1;
  int workers = 1;
  // Called from worker threads after every point (serialised by the engine).
  std::function<void(const Progress&)> onProgress;
  // Set to stop: runs in flight finish, nothing further starts.
  const std::atomic<bool>* cancel = nullptr;
};

// The point with the smallest Sum(W*Res**2), and the fitted set it was computed with.
struct BestPoint {
  int i = 0, j = 0;
  double wres = 0;
  ParameterSet params;
};

struct ContourOutcome {
  ContourGrid grid;           // the gridDef's layout; columns outside the job hold 0
  bool cancelled = false;
  bool computed = false;      // false for a pair of codes that computes nothing
  int runs = 0;               // DC runs made
  int points = 0;             // points of the job's columns
  int failedPoints = 0;
  // The first failed point in the file's order (X outer, Y inner) and why it failed.
  int firstFailedI = -1, firstFailedJ = -1;
  std::string firstFailure;
  std::optional<BestPoint> best;  // none when every point failed
  // The set and DC results after the last point of the last column, as the
  // serial loop leaves them.
  ParameterSet finalParams;
  DcResults finalResults;
};

// "2 of 9 grid points failed (marked 99). The first, at Inclination 85,
// Omega1 5: DC exit status 2: ..."; "" when none failed.
std::string failureSummary(const ContourOutcome& o);

// The base set as the loop uses it: the DCI text of `p` read back.
// Throws TavrinError when the set cannot be written or read.
ParameterSet readBackBase(const ParameterSet& p, std::string* dciText = nullptr);

// Runs the grid loop. wresMin/wresMax start at 999/-999, points whose runs
// failed hold 99 and take no part in them; the grid summary (default range,
// dataReady) is applied when the job covers the whole grid.
ContourOutcome computeGrid(const ContourJob& job, const DcDriverFactory& drivers);

// ---- Real DC ----------------------------------------------------------------
// Starts DC directly with <folder>/Contour.dci on standard input,
// <folder>/Contour.dco on standard output and <folder>/Contour.err on
// standard error, waits for it to exit and reads the report; kills it after
// `timeoutSeconds` (TimedOut). The working folder of DC is `folder`. A
// non-zero exit status fails the run, naming the status and the last line
// DC wrote on its standard error.
// With `cancel`, setting it kills DC's process group at once (Cancelled).
class ProcessDcDriver : public DcDriver {
 public:
  ProcessDcDriver(std::string executable, std::string folder, double timeoutSeconds,
                  const std::atomic<bool>* cancel = nullptr);
  DcRun run(const std::string& dciText) override;
  const std::string& folder() const { return folder_; }
  // The next runs' files are <folder>/<stem>.dci, .dco and .err.
  void setStem(std::string stem) { stem_ = std::move(stem); }
  // DC starts in `folder` unless another working folder is given.
  void setWorkingFolder(std::string folder) { workingFolder_ = std::move(folder); }

 private:
  std::string exe_, folder_, stem_ = "Contour", workingFolder_;
  double timeout_;
  const std::atomic<bool>* cancel_;
};

// The timeout of a run: 20 x the measured run time, at least 60 s.
double runTimeout(double measuredRunTime);

// The last line with more than blanks of a text ("" when none).
std::string lastLine(const std::string& text);

// Makes everything that lies beside DC in `programFolder` visible in
// `workFolder` (links, or copies where links cannot be made), so that DC
// finds its companion files by relative name; names DC's runs write there
// (Contour.dci, Contour.dco, Contour.err, Contour0.dci) and the scratch
// folders themselves are left out. Returns how many entries it made.
int linkCompanions(const std::string& programFolder, const std::string& workFolder);

// Runs with one ProcessDcDriver per worker, each in a scratch folder
// "contour-work-<pid>-<n>-<k>" under `parentFolder` that holds its own
// Contour0.dci and links to DC's companion files (the folder of the
// executable); the folders are removed afterwards. So parallel workers never
// share an input or report file, and the user's folders get none of them.
class ScratchDrivers {
 public:
  ScratchDrivers(std::string executable, std::string parentFolder, double timeoutSeconds,
                 std::string baseDciText);
  ~ScratchDrivers();
  DcDriverFactory factory();

 private:
  std::string exe_, data_, baseText_;
  double timeout_;
  std::vector<std::string> made_;
  std::shared_ptr<std::mutex> mutex_;
};

// DC executable: `given` when not empty, else "Solvex" in `currentFolder`,
// else the first "Solvex" on the search path. Throws runs::RunRefused.
std::string locateDc(const std::string& given, const std::string& currentFolder, const std::string& searchPath);

}  // namespace tavrin::contours
