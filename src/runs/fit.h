#pragma once
// Fit until converged: DC run again and again on the fit's own copy of the
// set, every unknown's correction applied between runs, until a stop rule
// fires. DC is reached through a runner (DCI text in, report out), so the
// rules, the divergence guard and the damping run without processes in the
// tests; FitFolderRunner is the real one.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contours/contour_engine.h"
#include "model/parameter_set.h"
#include "output/dco_reader.h"

namespace tavrin::runs {

struct FitRules {
  bool useSigma = true;      // every |correction| < sigmaK x its standard deviation
  double sigmaK = 0.5;
  bool useRelChange = true;  // relative fall of Sum(W*Res**2) below relChange
  double relChange = 1e-4;
  bool useMaxPasses = true;
  int maxPasses = 10;
  double damping = 1.0;      // corrections are applied times this
  int maxRetries = 3;        // XLAMDA x10 retries in a row before "diverged"
};

// One DC run of the fit: a pass, or a retry of a pass whose sum rose.
struct FitPass {
  int pass = 0;                 // 1-based
  int retry = 0;                // 0 for the pass itself, 1.. for its retries
  int run = 0;                  // 1-based serial: the run's files are 001.dci, 001.dco, ...
  double xlamda = 0;            // XLAMDA it ran with
  ParameterSet input;           // the set it ran with (its DCI)
  DcResults results;            // DC's report
  bool rejected = false;        // its Sum(W*Res**2) rose: nothing of it was applied
  std::string note;             // a snapped potential, a rise, the rule that stopped
  bool sound() const { return !rejected && !results.failed(); }
};

enum class FitStop { Converged, MaxPasses, Diverged, Failed, Cancelled };
// "converged", "max-passes", "diverged", "failed", "cancelled".
const char* fitStopName(FitStop s);

struct FitOutcome {
  std::vector<FitPass> passes;  // every run that gave a report, in order
  FitStop stopped = FitStop::Failed;
  std::string rule;             // "sigma", "rel-change", "max-passes", "divergence", "" otherwise
  std::string reason;           // DC's words on a failure, the refusal of a potential check
  int lastSound = -1;           // index into passes; -1 when none
  double dcSeconds = 0;         // summed run time of DC
};

// One sentence for the window and the history: "Converged: every |correction|
// below 0.5 x its standard deviation (pass 4)." and so on.
std::string fitSummary(const FitOutcome& o, const FitRules& rules);

// Runs DC on a DCI text; `run` is the run's serial number (1-based).
using FitRunner = std::function<contours::DcRun(const std::string& dciText, int run)>;

struct FitJob {
  ParameterSet start;  // the fit's own copy
  FitRules rules;
  FitRunner runner;
  const std::atomic<bool>* cancel = nullptr;
  // Called after every run that gave a report (on the fit's thread).
  std::function<void(const FitPass&)> onPass;
};

FitOutcome runFit(const FitJob& job);

// The real runner: every run's DCI, DCO and standard error numbered in
// `fitFolder` (created when missing; earlier runs there are kept and the
// numbering goes on after them), DC started in the folder of its executable.
class FitFolderRunner {
 public:
  FitFolderRunner(std::string executable, std::string fitFolder, double timeoutSeconds,
                  const std::atomic<bool>* cancel);
  contours::DcRun operator()(const std::string& dciText, int run);
  // The file stem of run `run`: "001", "002", ... after the runs already there.
  std::string stem(int run) const;
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
  int first_ = 0;  // runs already in the folder
  std::shared_ptr<contours::ProcessDcDriver> driver_;
};

// "star.fit" beside "star.dci": the base file's name without its extension.
std::string fitFolderFor(const std::string& baseDciPath);

}  // namespace tavrin::runs
