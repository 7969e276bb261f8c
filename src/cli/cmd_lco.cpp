// tavrin-cli lco FILE: the computed curve of an LC report, as the reader takes it.
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/commands.h"
#include "output/lco_reader.h"

namespace tavrin::cli {
namespace {

int lcoCommand(const std::vector<std::string>& args, Io& io) {
  if (args.size() != 1) {
    io.err << "usage: tavrin-cli lco FILE\n";
    return 2;
  }
  ComputedCurve c;
  try {
    ParameterSet p;
    c = readLcoFile(args[0], p);
  } catch (const std::exception& e) {
    io.err << e.what() << "\n";
    return 1;
  }
  nlohmann::json out;
  out["page"] = c.page;
  out["mode"] = c.mode;
  out["inclination"] = c.inclination;
  out["t1"] = c.t1;
  out["t2"] = c.t2;
  out["pot1"] = c.pot1;
  out["pot2"] = c.pot2;
  out["massRatio"] = c.massRatio;
  out["l2"] = c.l2;
  out["count"] = c.count;
  out["phase"] = c.phase;
  if (c.page == 1) {
    out["light"] = c.light;
  } else {
    out["rv1"] = c.rv1;
    out["rv2"] = c.rv2;
  }
  out["phaseFirst"] = c.phaseFirst;
  out["phaseLast"] = c.phaseLast;
  if (c.page == 1) {
    out["lightMin"] = c.lightMin;
    out["lightMax"] = c.lightMax;
  } else {
    out["rvMin"] = c.rvMin;
    out["rvMax"] = c.rvMax;
  }
  io.out << out.dump() << "\n";
  return 0;
}

const CommandRegistration reg("lco", "lco FILE   print the computed curve of an LC report as JSON", lcoCommand);

}  // namespace
}  // namespace tavrin::cli
