// tavrin-cli fit: DC run again and again on a base DCI until a stop rule
// fires, the passes printed as JSON and the last sound pass's set written.
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "cli/commands.h"
#include "cli/dc_json.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "runs/fit.h"
#include "runs/runs.h"

namespace tavrin::cli {
namespace {

constexpr const char* kFitSyntax =
    "fit BASE.dci [--max N] [--sigma K] [--rel-change E] [--damping F] [--dc PATH] [--keep DIR] --out FITTED.dci";

nlohmann::json passJson(const runs::FitPass& p) {
  nlohmann::json unknowns = nlohmann::json::array();
  for (const DcIoRow& r : p.results.ioRows) unknowns.push_back(ioRowJson(r));
  return {{"pass", p.pass},
          {"retry", p.retry},
          {"sumWResInput", finiteOrNull(p.results.sumWResInput)},
          {"sumWResPredicted", finiteOrNull(p.results.sumWResPredicted)},
          {"XLAMDA", p.xlamda},
          {"rejected", p.rejected},
          {"note", p.note},
          {"unknowns", unknowns}};
}

int fitCommand(const std::vector<std::string>& args, Io& io) {
  std::string base, out, dc, keep;
  runs::FitRules rules;
  auto usage = [&io] { return io.err << "usage: tavrin-cli " << kFitSyntax << "\n", 2; };
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    const bool hasValue = k + 1 < args.size();
    const std::string v = hasValue ? args[k + 1] : std::string();
    if (a == "--max" && hasValue) {
      if (!parseInt(v, rules.maxPasses) || rules.maxPasses < 1) return io.err << "fit: --max must be 1 or more\n", 2;
    } else if (a == "--sigma" && hasValue) {
      if (!parseDouble(v, rules.sigmaK) || !(rules.sigmaK > 0)) return io.err << "fit: --sigma must be above 0\n", 2;
    } else if (a == "--rel-change" && hasValue) {
      if (!parseDouble(v, rules.relChange) || !(rules.relChange >= 0))
        return io.err << "fit: --rel-change must not be negative\n", 2;
    } else if (a == "--damping" && hasValue) {
      if (!parseDouble(v, rules.damping) || !(rules.damping > 0) || rules.damping > 1)
        return io.err << "fit: --damping must be above 0 and at most 1\n", 2;
    } else if (a == "--dc" && hasValue) {
      dc = v;
    } else if (a == "--keep" && hasValue) {
      keep = v;
    } else if (a == "--out" && hasValue) {
      out = v;
    } else if (!a.empty() && a[0] != '-' && base.empty()) {
      base = a;
      continue;
    } else {
      return usage();
    }
    ++k;
  }
  if (base.empty() || out.empty()) return usage();

  runs::FitOutcome o;
  try {
    const char* path = std::getenv("PATH");
    const std::string exe = contours::locateDc(dc, std::filesystem::current_path().string(), path ? path : "");
    runs::FitJob job;
    job.start = readDci(base, ParameterSet{}, probeDci(base)).params;
    job.rules = rules;
    runs::FitFolderRunner runner(exe, keep.empty() ? runs::fitFolderFor(base) : keep, 600, nullptr);
    job.runner = [&runner](const std::string& text, int run) { return runner(text, run); };
    job.onPass = [&io](const runs::FitPass& p) {
      io.err << "pass " << p.pass << (p.retry ? " retry " + std::to_string(p.retry) : std::string()) << ": Sum(W*Res**2) "
             << p.results.sumWResInput << (p.note.empty() ? "" : " (" + p.note + ")") << "\n";
    };
    o = runs::runFit(job);
    if (o.lastSound >= 0) {
      ParameterSet fitted = o.passes[static_cast<size_t>(o.lastSound)].input;
      const SaveOutcome saved = saveDci(fitted, out);
      if (!saved.written) {
        io.err << "fit: " << out << " was not written: " << saved.refusal << "\n";
        return 1;
      }
    }
  } catch (const std::exception& e) {
    io.err << "fit: " << e.what() << "\n";
    return 1;
  }
  nlohmann::json passes = nlohmann::json::array();
  for (const runs::FitPass& p : o.passes) passes.push_back(passJson(p));
  nlohmann::json j = {{"passes", passes},
                      {"stopped", runs::fitStopName(o.stopped)},
                      {"rule", o.rule},
                      {"reason", o.reason},
                      {"dcSeconds", o.dcSeconds}};
  io.out << j.dump(1) << "\n";
  io.err << runs::fitSummary(o, rules) << "\n";
  switch (o.stopped) {
    case runs::FitStop::Converged: return 0;
    case runs::FitStop::MaxPasses:
    case runs::FitStop::Diverged: return 3;
    default: return 1;
  }
}

const CommandRegistration reg("fit", kFitSyntax, fitCommand);

}  // namespace
}  // namespace tavrin::cli
