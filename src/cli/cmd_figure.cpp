// tavrin-cli figure lc|rv|map and export curve|dco|map: figures for print
// (PDF, SVG, PNG) and every number of a plot, a fit or a residual map as CSV
// or LaTeX. An existing output file is replaced only with --force.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "cli/commands.h"
#include "contours/contour_figure.h"
#include "contours/contour_file.h"
#include "contours/contour_plot.h"
#include "output/dc_tables.h"
#include "output/dco_reader.h"
#include "output/figure_plot.h"
#include "output/figure_tables.h"
#include "output/plot_observations.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

#ifdef TAVRIN_CLI_HAS_QT
#include <QGuiApplication>
#include <QString>

#include "qtcanvas/QtCanvas.h"
#endif

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;
namespace c = tavrin::contours;

constexpr const char* kFigureSyntax =
    "figure lc|rv REPORT.lco [--obs FILE]... [--residuals] --out FILE.pdf|.svg|.png [--size WxH(in|cm)] [--dpi N] "
    "[--force]\n       tavrin-cli figure map GRID.txt [--zoom Z] [--levels L:H:K] --out FILE [--size WxH(in|cm)] "
    "[--dpi N] [--force]";
constexpr const char* kExportSyntax =
    "export curve REPORT.lco [--obs FILE]... --out FILE.csv [--force]\n"
    "       tavrin-cli export dco REPORT.dco --format csv|latex --out FILE [--force]\n"
    "       tavrin-cli export map GRID.txt --out FILE.csv [--force]";

int usage(Io& io, const char* syntax, const std::string& why = "") {
  if (!why.empty()) io.err << why << "\n";
  io.err << "usage: tavrin-cli " << syntax << "\n";
  return 2;
}

// What both commands take; kind is lc, rv, map, curve or dco.
struct Request {
  std::string kind, input, out, format;
  std::vector<std::string> obs;
  bool residuals = false, force = false;
  FigureSize size = kOneColumnFigure;
  double dpi = 300;
  int zoom = 10;
  std::optional<double> low, high;
  int lines = 10;
};

bool number(const std::string& s, double& v) {
  try {
    size_t used = 0;
    v = std::stod(s, &used);
    return used == s.size() && std::isfinite(v);
  } catch (const std::exception&) {
    return false;
  }
}

// The arguments after the kind; "" when they are sound, else why not.
std::string parse(const std::vector<std::string>& args, Request& r, bool figure) {
  if (args.empty()) return "the kind is missing";
  r.kind = args[0];
  for (size_t k = 1; k < args.size(); ++k) {
    const std::string& a = args[k];
    const bool more = k + 1 < args.size();
    if (a == "--obs" && more) {
      r.obs.push_back(args[++k]);
    } else if (a == "--out" && more) {
      r.out = args[++k];
    } else if (a == "--force") {
      r.force = true;
    } else if (figure && a == "--residuals") {
      r.residuals = true;
    } else if (figure && a == "--size" && more) {
      const std::string& v = args[++k];
      if (v == "one-column") r.size = kOneColumnFigure;
      else if (v == "two-column") r.size = kTwoColumnFigure;
      else if (const auto s = parseFigureSize(v)) r.size = *s;
      else return "--size must be WxH with in or cm (3.5x2.6in, 17x12cm), 1 to 40 inches a side, or one-column / two-column";
    } else if (figure && a == "--dpi" && more) {
      if (!number(args[++k], r.dpi) || r.dpi < 36 || r.dpi > 2400) return "--dpi must be 36 to 2400";
    } else if (figure && a == "--zoom" && more) {
      double z = 0;
      if (!number(args[++k], z) || z != std::floor(z) || z < 1 || z > 1000) return "--zoom must be a whole number";
      r.zoom = static_cast<int>(z);
    } else if (figure && a == "--levels" && more) {
      const std::string v = args[++k];
      const size_t a1 = v.find(':'), a2 = a1 == std::string::npos ? a1 : v.find(':', a1 + 1);
      double lo = 0, hi = 0, n = 0;
      if (a2 == std::string::npos || !number(v.substr(0, a1), lo) || !number(v.substr(a1 + 1, a2 - a1 - 1), hi) ||
          !number(v.substr(a2 + 1), n) || n != std::floor(n) || n < 2 || n > 1000)
        return "--levels must be LOW:HIGH:COUNT with COUNT 2 to 1000";
      r.low = lo, r.high = hi, r.lines = static_cast<int>(n);
    } else if (!figure && a == "--format" && more) {
      r.format = args[++k];
      if (r.format != "csv" && r.format != "latex") return "--format must be csv or latex";
    } else if (!a.empty() && a[0] != '-' && r.input.empty()) {
      r.input = a;
    } else {
      return "unexpected argument " + a;
    }
  }
  if (r.input.empty()) return "the input file is missing";
  if (r.out.empty()) return "--out is missing";
  return "";
}

// Thrown for bad input with the message to show.
struct Refusal {
  std::string message;
};

void refuseExisting(const Request& r) {
  std::error_code ec;
  if (!r.force && fs::exists(r.out, ec)) throw Refusal{r.out + ": the file exists; give --force to replace it"};
}

struct Report {
  std::string text;
  ComputedCurve curve;
  std::vector<ObservedSeries> observed;
};

// The report and the observation files, as the plot windows read them
// (dates folded with the report's ephemeris); set 1 and 2 for velocities.
Report readReport(const Request& r) {
  Report rep;
  rep.text = readWholeFile(r.input);
  rep.curve = parseLco(rep.text);
  if (rep.curve.page == 2 && r.obs.size() > 2) throw Refusal{"a velocity report takes at most two --obs files (star 1, star 2)"};
  const ParameterSet eph = ephemerisOf(rep.text);
  PlotState state;
  for (size_t k = 0; k < r.obs.size(); ++k) {
    const fs::path p(r.obs[k]);
    const std::string folder = p.has_parent_path() ? p.parent_path().string() : ".";
    const std::string name = p.filename().string();
    ObservedSeries s;
    s.name = name;
    ObservationLoad load;
    try {
      if (rep.curve.page == 2) {
        ObservedVelocities v;
        const int set = static_cast<int>(k) + 1;
        load = loadVelocityData(folder, name, set, eph, v, state);
        s.star = set;
        s.phase = v.set(set).phase;
        s.value = v.set(set).velocity;
      } else {
        ObservedLight l;
        load = loadLightData(folder, name, eph, l, state);
        s.phase = l.phase;
        s.value = l.light;
      }
    } catch (const TavrinError& e) {
      throw Refusal{r.obs[k] + ": " + e.what()};
    }
    if (load == ObservationLoad::NotRecognised)
      throw Refusal{r.obs[k] + ": not an observation file (its first line needs 1 to 3 commas)"};
    rep.observed.push_back(std::move(s));
  }
  return rep;
}

c::ContourGrid readGrid(const std::string& path) {
  const std::string text = readWholeFile(path);
  if (c::isPartialContourText(text))
    throw Refusal{path + ": a partial contour file; join the parts with tavrin-cli contour-merge first"};
  return c::parseContourText(text);
}

int written(Io& io, const Request& r) {
  nlohmann::json out;
  out["written"] = r.out;
  io.out << out.dump() << "\n";
  return 0;
}

int figureCommand(const std::vector<std::string>& args, Io& io) {
  Request r;
  if (const std::string why = parse(args, r, true); !why.empty()) return usage(io, kFigureSyntax, why);
  if (r.kind != "lc" && r.kind != "rv" && r.kind != "map") return usage(io, kFigureSyntax, "the kind must be lc, rv or map");
  if (r.kind == "map" && !r.obs.empty()) return usage(io, kFigureSyntax, "--obs belongs to lc and rv");
#ifndef TAVRIN_CLI_HAS_QT
  io.err << "figure: this build has no image output (built without Qt)\n";
  return 1;
#else
  try {
    refuseExisting(r);
    PlotDrawer draw;
    Report rep;
    c::ContourGrid grid;
    if (r.kind == "map") {
      grid = readGrid(r.input);
      c::MapFigureOptions o{r.zoom, r.low.value_or(grid.range.low), r.high.value_or(grid.range.high), r.lines};
      if (const auto why = c::plotRefusal(grid.gridDef, o.zoom)) throw Refusal{*why};
      if (const auto why = c::levelRefusal(o.low, o.high, o.lines)) throw Refusal{*why};
      draw = [&grid, o](Canvas& cv) { c::drawMapFigure(cv, grid, o); };
    } else {
      rep = readReport(r);
      const int page = r.kind == "lc" ? 1 : 2;
      if (rep.curve.page != page)
        throw Refusal{r.input + (page == 1 ? ": not a light-curve report (mpage 1)" : ": not a velocity report (mpage 2)")};
      const CurveFigure f = page == 1 ? lightCurveFigure(rep.curve, rep.observed, r.residuals)
                                      : velocityFigure(rep.curve, rep.observed, r.residuals, velocityScaleOf(rep.text));
      draw = [f](Canvas& cv) { drawCurveFigure(cv, f); };
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "tavrin-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    exportFigure(QString::fromStdString(r.out), r.size.widthIn, r.size.heightIn, r.dpi, draw);
    return written(io, r);
  } catch (const Refusal& e) {
    io.err << e.message << "\n";
  } catch (const std::exception& e) {
    io.err << e.what() << "\n";
  }
  return 1;
#endif
}

int exportCommand(const std::vector<std::string>& args, Io& io) {
  Request r;
  if (const std::string why = parse(args, r, false); !why.empty()) return usage(io, kExportSyntax, why);
  if (r.kind != "curve" && r.kind != "dco" && r.kind != "map")
    return usage(io, kExportSyntax, "the kind must be curve, dco or map");
  if (r.kind == "dco" && r.format.empty()) return usage(io, kExportSyntax, "--format is missing");
  if (r.kind != "dco" && !r.format.empty()) return usage(io, kExportSyntax, "--format belongs to export dco");
  if (r.kind != "curve" && !r.obs.empty()) return usage(io, kExportSyntax, "--obs belongs to export curve");
  try {
    refuseExisting(r);
    std::string text;
    if (r.kind == "curve") {
      const Report rep = readReport(r);
      text = curveCsv(rep.curve, rep.observed);
    } else if (r.kind == "map") {
      text = mapCsv(readGrid(r.input));
    } else {
      ParameterSet p;
      DcResults d;
      readDco(r.input, d, p);
      if (d.failed()) throw Refusal{r.input + ": " + d.failure};
      text = r.format == "csv" ? dcResultsCsv(d) : dcResultsLatex(d);
    }
    writeFileAtomically(r.out, text);
    return written(io, r);
  } catch (const Refusal& e) {
    io.err << e.message << "\n";
  } catch (const std::exception& e) {
    io.err << e.what() << "\n";
  }
  return 1;
}

const CommandRegistration regFigure("figure", kFigureSyntax, figureCommand);
const CommandRegistration regExport("export", kExportSyntax, exportCommand);

}  // namespace
}  // namespace tavrin::cli
