// tavrin-cli dco FILE: DC's results as the reader takes them from a DC report.
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/commands.h"
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
  if (rep.errorLine) r.dcErrorSeen = true;
  nlohmann::json out;
  out["adjustedCount"] = r.adjustedCount;
  nlohmann::json params = nlohmann::json::array();
  for (int i = 1; i <= r.adjustedCount; ++i) params.push_back(r.adjustedParams[i]);
  out["adjustedParams"] = params;
  nlohmann::json corr = nlohmann::json::array();
  for (int i = 1; i <= r.adjustedCount; ++i) {
    nlohmann::json row = nlohmann::json::array();
    for (int j = 1; j <= r.adjustedCount; ++j) row.push_back(r.correlation[i][j]);
    corr.push_back(row);
  }
  out["correlation"] = corr;
  nlohmann::json rows = nlohmann::json::array();
  for (int i = 1; i <= r.ioRowCount; ++i) {
    const DcIoRow& io_ = r.ioRows[i];
    rows.push_back({{"param", io_.param},
                    {"curve", io_.curve},
                    {"input", io_.input},
                    {"correction", io_.correction},
                    {"output", io_.output},
                    {"stdDev", io_.stdDev}});
  }
  out["ioRows"] = rows;
  out["ioRowCount"] = r.ioRowCount;
  out["sumWResInput"] = r.sumWResInput;
  out["sumWResPredicted"] = r.sumWResPredicted;
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
  return 0;
}

const CommandRegistration reg("dco", "dco FILE   print DC's results from a DC report as JSON", dcoCommand);

}  // namespace
}  // namespace tavrin::cli
