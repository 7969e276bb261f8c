// tavrin-cli dco FILE: DC's results as the reader takes them from a DC report.
#include <nlohmann/json.hpp>
#include <cmath>
#include <ostream>

#include "cli/commands.h"
#include "cli/dc_json.h"
#include "output/dco_reader.h"
#include "shell/errors.h"

namespace tavrin::cli {
namespace {

int dcoCommand(const std::vector<std::string>& args, Io& io) {
  if (args.size() != 1) {
    io.err << "usage: tavrin-cli dco FILE\n";
    return 2;
  }
  DcResults r;
  ParameterSet p;
  DcoReadReport rep;
  try {
    rep = readDco(args[0], r, p);
  } catch (const TavrinError& e) {
    io.err << e.what() << "\n";
    return 1;
  } catch (const std::bad_alloc&) {
    io.err << errorMessage(kErrOutOfMemory) << "\n";
    return 1;
  }
  if (rep.errorLine || r.failed()) r.dcErrorSeen = true;
  nlohmann::json out;
  out["adjustedCount"] = r.adjustedParams.size();
  out["adjustedParams"] = r.adjustedParams;
  nlohmann::json unknowns = nlohmann::json::array();
  for (const DcUnknown& u : r.unknowns) unknowns.push_back({{"param", u.param}, {"curve", u.curve}});
  out["unknowns"] = unknowns;
  nlohmann::json corr = nlohmann::json::array();
  for (const auto& row : r.correlation) {
    nlohmann::json cells = nlohmann::json::array();
    for (double x : row) cells.push_back(finiteOrNull(x));
    corr.push_back(cells);
  }
  out["correlation"] = corr;
  nlohmann::json rows = nlohmann::json::array();
  for (const DcIoRow& io_ : r.ioRows) rows.push_back(ioRowJson(io_));
  out["ioRows"] = rows;
  out["ioRowCount"] = r.ioRows.size();
  out["sumWResInput"] = finiteOrNull(r.sumWResInput);
  out["sumWResPredicted"] = finiteOrNull(r.sumWResPredicted);
  out["failure"] = r.failed() ? nlohmann::json(r.failure) : nlohmann::json(nullptr);
  out["dcErrorSeen"] = r.dcErrorSeen;
  out["errorLine"] = rep.errorLine ? nlohmann::json(*rep.errorLine) : nlohmann::json(nullptr);
  out["IFVC1"] = p.IFVC1;
  out["IFVC2"] = p.IFVC2;
  out["NLC"] = p.NLC;
  nlohmann::json l2 = nlohmann::json::object();
  for (const auto& [curve, value] : rep.curveL2) l2[std::to_string(curve)] = value;
  out["curveL2"] = l2;
  // DC's error line may hold bytes that are not UTF-8.
  io.out << out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  // A failed solution is a failure of the command, after its JSON.
  return r.dcErrorSeen ? 1 : 0;
}

const CommandRegistration reg("dco", "dco FILE   print DC's results from a DC report as JSON", dcoCommand);

}  // namespace
}  // namespace tavrin::cli
