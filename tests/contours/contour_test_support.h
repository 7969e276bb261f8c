#pragma once
// A scripted DC for the contour engine: it reads every DCI it is given,
// records the set and the keys set to "0", and answers with a DCO built by a
// script from what it saw, so the answers do not depend on the order of runs.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "../output/report_builders.h"
#include "contours/contour_engine.h"
#include "model/input_reader.h"
#include "shell/atomic_file.h"

namespace contourtest {

using namespace tavrin;
using namespace tavrin::contours;

struct SeenRun {
  ParameterSet p;
  std::vector<int> zeroKeys;  // keys "0" in the DCI, ascending
};

// What the scripted DC answers: the first-row correction and output, the
// per-light-curve corrections, the Sum(W*Res**2) for the input values; or
// failure (no report) / DC's error line.
struct Answer {
  double correction = 0, output = 0;
  std::vector<double> l1Corrections{0.0, 0.0};
  double sum = 1.0;
  enum Kind { Report, NoReport, ErrorLine, CutShort } kind = Report;
};
using Script = std::function<Answer(const SeenRun&)>;

inline std::string d(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.10E", v);
  return buf;
}

// A report of DC's unknowns for the keys the DCI set: one row per key, one
// per light curve for L1 (the first curve's correction is `correction`).
inline std::string dcoFor(const Answer& a, const ParameterSet& p, const std::vector<int>& zeroKeys) {
  testreports::DcoSpec s;
  s.keys = testreports::dcoKeyLine(zeroKeys);
  s.switches = std::to_string(p.IFVC1) + "      " + std::to_string(p.IFVC2) + "      " + std::to_string(p.NLC);
  s.velocityL2.assign(static_cast<size_t>(p.IFVC1 + p.IFVC2), "0.9000000");
  s.lightL2.assign(static_cast<size_t>(p.NLC), "1.5000000");
  s.rows.clear();
  for (int k : zeroKeys) {
    if (k != 31) {
      s.rows.push_back({k, 0, d(0), d(a.correction), d(a.output), d(0.001)});
      continue;
    }
    for (int n = 1; n <= p.NLC; ++n) {
      const double c = n == 1 ? a.correction : static_cast<size_t>(n) <= a.l1Corrections.size() ? a.l1Corrections[static_cast<size_t>(n - 1)] : 0.0;
      s.rows.push_back({31, n, d(0), d(c), d(0), d(0.001)});
    }
  }
  s.correlation.assign(s.rows.size(), std::vector<std::string>(s.rows.size(), "0.00000"));
  for (size_t i = 0; i < s.rows.size(); ++i) s.correlation[i][i] = "1.00000";
  std::string sums = "   " + d(a.sum);
  sums.resize(3 + 27, ' ');
  sums += d(a.sum * 0.9);
  s.sums = sums;
  if (a.kind == Answer::ErrorLine) {
    s.marker = s.sumsPrinted = false;
    s.trailer = {"*ERR* solution failed: matrix singular"};
  }
  if (a.kind == Answer::CutShort) s.marker = s.sumsPrinted = false;
  return testreports::join(testreports::dcoLines(s));
}

class ScriptedDc : public DcDriver {
 public:
  ScriptedDc(Script script, std::vector<SeenRun>* log, std::mutex* m) : script_(std::move(script)), log_(log), m_(m) {}
  DcRun run(const std::string& text) override {
    SeenRun seen;
    seen.p = readDciText(text, ParameterSet{}, probeDciText(text)).params;
    for (int k = 1; k <= kAdjustKeys; ++k)
      if (seen.p.adjustKeys[static_cast<size_t>(k)] == '0') seen.zeroKeys.push_back(k);
    const Answer a = script_(seen);
    if (log_) {
      std::lock_guard lock(*m_);
      log_->push_back(seen);
    }
    DcRun r;
    r.seconds = 0.5;
    r.detail = "DC exit status 2: scripted failure";
    if (a.kind == Answer::NoReport) return r;
    r.status = DcRun::Ok;
    r.dco = dcoFor(a, seen.p, seen.zeroKeys);
    return r;
  }

 private:
  Script script_;
  std::vector<SeenRun>* log_;
  std::mutex* m_;
};

inline DcDriverFactory scripted(Script s, std::vector<SeenRun>* log = nullptr) {
  auto m = std::make_shared<std::mutex>();
  return [s, log, m](int, int) -> std::unique_ptr<DcDriver> { return std::make_unique<ScriptedDc>(s, log, m.get()); };
}

inline ParameterSet exampleSet() {
  const std::string path = std::string(TAVRIN_SOURCE_DIR) + "/examples/example.dci";
  return readDci(path, ParameterSet{}, probeDci(path)).params;
}

inline ContourJob jobFor(const GridDef& s, ParameterSet p) {
  applySetup(p, s);
  ContourJob j;
  j.gridDef = s;
  j.base = readBackBase(p);
  return j;
}

}  // namespace contourtest
