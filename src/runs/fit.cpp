#include "runs/fit.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "model/critical_potentials.h"
#include "model/dci_writer.h"
#include "output/corrections.h"
#include "shell/atomic_file.h"

namespace tavrin::runs {

const char* fitStopName(FitStop s) {
  switch (s) {
    case FitStop::Converged: return "converged";
    case FitStop::MaxPasses: return "max-passes";
    case FitStop::Diverged: return "diverged";
    case FitStop::Failed: return "failed";
    case FitStop::Cancelled: return "cancelled";
  }
  return "failed";
}

namespace {

std::string number(double x) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", x);
  return buf;
}

bool withinSigma(const DcResults& r, double k) {
  for (const DcIoRow& io : r.ioRows)
    if (!(std::fabs(io.correction) < k * io.stdDev)) return false;
  return !r.ioRows.empty();
}

class Fit {
 public:
  explicit Fit(const FitJob& job) : job_(job), rules_(job.rules) {}

  FitOutcome run() {
    ParameterSet s = job_.start;
    int refIndex = -1, retries = 0;  // the last pass accepted
    auto ref = [&]() -> const FitPass* {
      return refIndex < 0 ? nullptr : &out_.passes[static_cast<size_t>(refIndex)];
    };
    for (int pass = 1;; ++pass) {
      if (!runOnce(s, pass, 0)) return finish();
      FitPass& row = out_.passes.back();
      if (ref() && row.results.sumWResInput > ref()->results.sumWResInput) {
        row.rejected = true;
        row.note = "Sum(W*Res**2) rose from " + number(ref()->results.sumWResInput);
        if (maxReached(pass)) return finish();
        if (retries == rules_.maxRetries) {
          stop(FitStop::Diverged, "divergence");
          return finish();
        }
        ++retries;
        // Back to the values before the pass, with a stiffer step.
        ParameterSet back = out_.passes[static_cast<size_t>(refIndex)].input;
        back.XLAMDA = s.XLAMDA * 10.0;
        if (!runOnce(back, pass, retries)) return finish();
        out_.passes.back().note = "retry with XLAMDA x10";
        out_.lastSound = static_cast<int>(out_.passes.size()) - 1;
        if (!advance(back)) return finish();
        s = std::move(back);
        continue;
      }
      retries = 0;
      out_.lastSound = static_cast<int>(out_.passes.size()) - 1;
      if (rules_.useSigma && withinSigma(row.results, rules_.sigmaK)) {
        stop(FitStop::Converged, "sigma");
        return finish();
      }
      if (rules_.useRelChange && ref() && ref()->results.sumWResInput > 0 &&
          (ref()->results.sumWResInput - row.results.sumWResInput) / ref()->results.sumWResInput < rules_.relChange) {
        stop(FitStop::Converged, "rel-change");
        return finish();
      }
      if (maxReached(pass)) return finish();
      refIndex = static_cast<int>(out_.passes.size()) - 1;
      if (!advance(s)) return finish();
    }
  }

 private:
  bool cancelled() const { return job_.cancel && job_.cancel->load(); }

  void stop(FitStop how, std::string rule, std::string reason = {}) {
    out_.stopped = how;
    out_.rule = std::move(rule);
    out_.reason = std::move(reason);
  }

  bool maxReached(int pass) {
    if (!rules_.useMaxPasses || pass < rules_.maxPasses) return false;
    stop(FitStop::MaxPasses, "max-passes");
    return true;
  }

  // One DC run on `s`; false (the fit stopped) when it gave no sound report.
  bool runOnce(const ParameterSet& s, int pass, int retry) {
    if (cancelled()) {
      stop(FitStop::Cancelled, "");
      return false;
    }
    std::string text;
    try {
      text = dciText(s);
    } catch (const std::exception& e) {
      stop(FitStop::Failed, "", e.what());
      return false;
    }
    const contours::DcRun r = job_.runner(text, ++runs_);
    out_.dcSeconds += r.seconds;
    if (r.status == contours::DcRun::Cancelled || (r.status != contours::DcRun::Ok && cancelled())) {
      stop(FitStop::Cancelled, "");
      return false;
    }
    if (r.status != contours::DcRun::Ok) {
      stop(FitStop::Failed, "", r.detail.empty() ? std::string("DC gave no report") : r.detail);
      return false;
    }
    FitPass row;
    row.pass = pass;
    row.retry = retry;
    row.run = runs_;
    row.xlamda = s.XLAMDA;
    row.input = s;
    try {
      parseDco(r.dco, row.results, row.input);
    } catch (const std::exception& e) {
      stop(FitStop::Failed, "", std::string("DC's report could not be read: ") + e.what());
      return false;
    }
    const bool failed = row.results.failed();
    if (failed) stop(FitStop::Failed, "", row.results.failure);
    out_.passes.push_back(std::move(row));
    if (job_.onPass) job_.onPass(out_.passes.back());
    return !failed;
  }

  // Applies the last run's corrections to `s` and checks its potentials as
  // a save would; false (the fit stopped) on a refusal.
  bool advance(ParameterSet& s) {
    FitPass& row = out_.passes.back();
    ParameterSet next = row.input;  // with the curve values DC's report gave
    UpdateDone done;
    try {
      applyAllCorrections(next, row.results, done, rules_.damping);
    } catch (const std::exception& e) {
      stop(FitStop::Failed, "", e.what());
      return false;
    }
    const double p1 = next.POTH, p2 = next.POT2;
    const PotentialCheck check = checkPotentials(next, InputFileKind::DCI);
    if (!check.passed) {
      stop(FitStop::Failed, "", check.message);
      return false;
    }
    auto noted = [&row](const std::string& what) { row.note += (row.note.empty() ? "" : "; ") + what; };
    if (check.text46) noted("Potential 1 snapped from " + number(p1) + " to " + *check.text46);
    if (check.text47) noted("Potential 2 snapped from " + number(p2) + " to " + *check.text47);
    s = std::move(next);
    return true;
  }

  FitOutcome finish() {
    if (!out_.passes.empty() && out_.stopped != FitStop::Failed && out_.stopped != FitStop::Cancelled) {
      FitPass& last = out_.passes.back();
      last.note += (last.note.empty() ? "" : "; ") + std::string("stopped: ") + fitStopName(out_.stopped);
    }
    return std::move(out_);
  }

  const FitJob& job_;
  const FitRules& rules_;
  FitOutcome out_;
  int runs_ = 0;
};

}  // namespace

FitOutcome runFit(const FitJob& job) { return Fit(job).run(); }

std::string fitSummary(const FitOutcome& o, const FitRules& rules) {
  const int pass = o.passes.empty() ? 0 : o.passes.back().pass;
  const std::string at = " (pass " + std::to_string(pass) + ").";
  switch (o.stopped) {
    case FitStop::Converged:
      if (o.rule == "sigma") return "Converged: every |correction| below " + number(rules.sigmaK) + " x its standard deviation" + at;
      return "Converged: Sum(W*Res**2) fell by less than " + number(rules.relChange) + " of itself" + at;
    case FitStop::MaxPasses: return "Stopped after the maximum of " + std::to_string(rules.maxPasses) + " passes" + at;
    case FitStop::Diverged:
      return "Diverged: Sum(W*Res**2) rose again after " + std::to_string(rules.maxRetries) + " retries with XLAMDA raised tenfold" + at;
    case FitStop::Cancelled: return "Cancelled" + at;
    case FitStop::Failed: break;
  }
  return "Failed" + (pass ? " at pass " + std::to_string(pass) : std::string()) + ": " + o.reason;
}

namespace fs = std::filesystem;

FitFolderRunner::FitFolderRunner(std::string executable, std::string fitFolder, double timeoutSeconds,
                                 const std::atomic<bool>* cancel)
    : folder_(std::move(fitFolder)) {
  std::error_code ec;
  fs::create_directories(folder_, ec);
  // Numbering goes on after the runs of earlier fits, which are kept.
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path f = it->path().filename();
    if (f.extension() != ".dci") continue;
    const std::string stem = f.stem().string();
    if (stem.empty() || stem.find_first_not_of("0123456789") != std::string::npos || stem.size() > 6) continue;
    first_ = std::max(first_, std::stoi(stem));
  }
  const std::string exe = fs::absolute(executable, ec).string();
  driver_ = std::make_shared<contours::ProcessDcDriver>(exe, folder_, timeoutSeconds, cancel);
  driver_->setWorkingFolder(fs::path(exe).parent_path().string());
}

std::string FitFolderRunner::stem(int run) const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%03d", first_ + run);
  return buf;
}

contours::DcRun FitFolderRunner::operator()(const std::string& dciText, int run) {
  driver_->setStem(stem(run));
  return driver_->run(dciText);
}

std::string fitFolderFor(const std::string& baseDciPath) {
  fs::path p(baseDciPath);
  p.replace_extension(".fit");
  return p.string();
}

}  // namespace tavrin::runs
