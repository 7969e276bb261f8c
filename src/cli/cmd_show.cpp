// tavrin-cli show FILE [--lci|--dci]: an LC or DC input file of either layout,
// as the reader loads it, as one JSON object.
#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/commands.h"
#include "model/input_reader.h"
#include "model/number_fields.h"
#include "shell/errors.h"

namespace tavrin::cli {
namespace {

using Json = nlohmann::ordered_json;

bool endsWithNoCase(const std::string& s, const std::string& tail) {
  if (s.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), s.end() - static_cast<std::ptrdiff_t>(tail.size()),
                    [](char t, char c) { return std::tolower(static_cast<unsigned char>(c)) == t; });
}

Json spotList(const ParameterSet& p, int star) {
  Json list = Json::array();
  for (int n = 1; n <= p.spotCount[static_cast<size_t>(star)] && n <= kMaxSpotsPerStar; ++n) {
    const Spot& s = p.spots[static_cast<size_t>(star)][static_cast<size_t>(n)];
    list.push_back({{"XLAT", s.xlat}, {"XLONG", s.xlong}, {"RADSP", s.radsp}, {"TEMSP", s.temsp}});
  }
  return list;
}

Json curveObject(const CurveRow& c, int row) {
  Json points = Json::array();
  for (const ObservationPoint& pt : c.points) points.push_back({pt.time, pt.value, pt.weight});
  return Json{{"row", row},          {"BAND", c.band}, {"L1", c.l1},      {"L2", c.l2},       {"X1", c.x1},
              {"X2", c.x2},          {"Y1", c.y1},     {"Y2", c.y2},      {"EL3", c.el3},     {"OPSF", c.opsf},
              {"NOISE", c.noise},    {"SIGMA", c.sigma}, {"WAVEL", c.wavel}, {"file", c.dataFile},
              {"points", std::move(points)}};
}

}  // namespace

// Shared with convert: which kind a file is, from --lci/--dci or its name.
// Returns 'L', 'D' or 0 when it cannot tell.
char inputKindOf(const std::string& path, const std::vector<std::string>& flags) {
  char kind = 0;
  if (endsWithNoCase(path, ".lci")) kind = 'L';
  if (endsWithNoCase(path, ".dci")) kind = 'D';
  for (const auto& f : flags) {
    if (f == "--lci") kind = 'L';
    if (f == "--dci") kind = 'D';
  }
  return kind;
}

// Probes and reads; throws TavrinError.
InputLoad loadInputFile(const std::string& path, char kind) {
  if (kind == 'L') return readLci(path, ParameterSet{}, probeLci(path));
  return readDci(path, ParameterSet{}, probeDci(path));
}

namespace {

Json showJson(const InputLoad& load, char kind) {
  const ParameterSet& p = load.params;
  Json out;
  out["kind"] = kind == 'L' ? "LCI" : "DCI";
  out["layout"] = load.layout == Layout::Current ? "current" : "older";
  Json params = Json::object();
  for (const ScalarField& f : scalarFields()) {
    if (std::find(load.carriedFields.begin(), load.carriedFields.end(), f.name) == load.carriedFields.end()) continue;
    const double v = *getScalar(p, f.name);
    if (f.kind == FieldKind::Integer)
      params[std::string(f.name)] = static_cast<int>(v);
    else
      params[std::string(f.name)] = v;
  }
  out["parameters"] = std::move(params);
  if (kind == 'D') {
    out["adjustKeys"] = std::string(p.adjustKeys.begin() + 1, p.adjustKeys.end());
    Json inc = Json::array();
    for (int k = 1; k <= kIncrements; ++k) inc.push_back(p.increments[static_cast<size_t>(k)]);
    inc.push_back(leadingNumber(p.x2Increment));
    out["increments"] = std::move(inc);
    out["misc"] = Json{{"IFDER", p.IFDER}, {"IFM", p.IFM},   {"IFR", p.IFR},  {"XLAMDA", p.XLAMDA},
                       {"KO", p.KO},       {"KDISK", p.KDISK}, {"NPPL", p.NPPL}};
    out["IFVC1"] = p.IFVC1;
    out["IFVC2"] = p.IFVC2;
    out["NLC"] = p.NLC;
    Json curves = Json::array();
    if (p.IFVC1 == 1) curves.push_back(curveObject(p.curves[1], 1));
    if (p.IFVC2 == 1) curves.push_back(curveObject(p.curves[2], 2));
    for (int j = 1; j <= p.NLC && j <= 5; ++j) curves.push_back(curveObject(p.curves[static_cast<size_t>(j + 2)], j + 2));
    out["curves"] = std::move(curves);
  }
  out["spots"] = Json{{"star1", spotList(p, 1)}, {"star2", spotList(p, 2)}};
  if (kind == 'D') {
    out["spotA"] = Json::array({p.spotAStar, p.spotANumber});
    out["spotB"] = Json::array({p.spotBStar, p.spotBNumber});
  }
  return out;
}

int showCommand(const std::vector<std::string>& args, Io& io) {
  std::vector<std::string> files, flags;
  for (const auto& a : args) (a == "--lci" || a == "--dci" ? flags : files).push_back(a);
  if (files.size() != 1 || flags.size() > 1) {
    io.err << "usage: tavrin-cli show FILE [--lci|--dci]\n";
    return 2;
  }
  const char kind = inputKindOf(files[0], flags);
  if (kind == 0) {
    io.err << "tavrin-cli show: cannot tell an LCI from a DCI by the name; use --lci or --dci\n";
    return 2;
  }
  try {
    const InputLoad load = loadInputFile(files[0], kind);
    io.out << showJson(load, kind).dump() << "\n";
  } catch (const TavrinError& e) {
    io.err << e.what() << "\n";
    return 1;
  }
  return 0;
}

const CommandRegistration reg("show", "show FILE [--lci|--dci]   print an LCI or DCI file (either layout) as JSON",
                              showCommand);

}  // namespace
}  // namespace tavrin::cli
