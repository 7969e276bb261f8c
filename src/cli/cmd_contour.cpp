// tavrin-cli contour, contour-merge and contour-render: the residual grid
// computed headlessly (whole or some X columns), partial files joined, and
// a contour data file drawn to PNG, SVG or PDF.
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <thread>

#include "cli/commands.h"
#include "contours/contour_engine.h"
#include "contours/contour_file.h"
#include "contours/contour_plot.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "runs/runs.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

#ifdef TAVRIN_CLI_HAS_QT
#include <QGuiApplication>
#include <QSize>
#include <QString>

#include "qtcanvas/QtCanvas.h"
#endif

namespace tavrin::cli {
namespace {

namespace c = tavrin::contours;

struct Usage {
  const char* syntax;
};
std::ostream& operator<<(std::ostream& o, Usage u) { return o << "usage: tavrin-cli " << u.syntax << "\n"; }

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> out;
  size_t from = 0;
  for (;;) {
    const size_t k = s.find(sep, from);
    out.push_back(s.substr(from, k == std::string::npos ? std::string::npos : k - from));
    if (k == std::string::npos) return out;
    from = k + 1;
  }
}

// CODE:MIN:MAX:COUNT
bool parseAxis(const std::string& s, int16_t& code, double& min, double& max, int16_t& count) {
  const auto parts = split(s, ':');
  int ci = 0, n = 0;
  if (parts.size() != 4 || !parseInt(parts[0], ci) || !parseDouble(parts[1], min) || !parseDouble(parts[2], max) ||
      !parseInt(parts[3], n))
    return false;
  if (ci < c::kFirstCode || ci > c::kLastCode || n < -32768 || n > 32767) return false;
  code = static_cast<int16_t>(ci);
  count = static_cast<int16_t>(n);
  return true;
}

std::string hms(double s) { return c::formatHms(s); }

std::string folderOf(const std::string& path) {
  std::filesystem::path p = std::filesystem::absolute(path).parent_path();
  return p.string();
}

constexpr const char* kContourSyntax =
    "contour BASE.dci --x CODE:MIN:MAX:M --y CODE:MIN:MAX:N [--iterations K] [--jobs J] "
    "[--dc PATH] [--columns I-J] --out FILE";

constexpr Usage kContourUsage_{kContourSyntax};

int contourCommand(const std::vector<std::string>& args, Io& io) {
  std::string base, out, dc, columns;
  c::GridDef gridDef;
  bool haveX = false, haveY = false;
  int iterations = 1;
  int jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    auto value = [&](std::string& v) {
      if (k + 1 >= args.size()) return false;
      v = args[++k];
      return true;
    };
    std::string v;
    if (a == "--x" && value(v)) {
      haveX = parseAxis(v, gridDef.xCode, gridDef.xMin, gridDef.xMax, gridDef.M);
      if (!haveX) return io.err << "contour: bad --x " << v << "\n" << kContourUsage_, 2;
    } else if (a == "--y" && value(v)) {
      haveY = parseAxis(v, gridDef.yCode, gridDef.yMin, gridDef.yMax, gridDef.N);
      if (!haveY) return io.err << "contour: bad --y " << v << "\n" << kContourUsage_, 2;
    } else if (a == "--iterations" && value(v)) {
      if (!parseInt(v, iterations) || iterations < 1 || iterations > 32767)
        return io.err << "contour: --iterations must be 1..32767\n", 2;
    } else if (a == "--jobs" && value(v)) {
      if (!parseInt(v, jobs) || jobs < 1 || jobs > 1024) return io.err << "contour: --jobs must be 1..1024\n", 2;
    } else if (a == "--dc" && value(v)) {
      dc = v;
    } else if (a == "--columns" && value(v)) {
      columns = v;
    } else if (a == "--out" && value(v)) {
      out = v;
    } else if (!a.empty() && a[0] != '-' && base.empty()) {
      base = a;
    } else {
      io.err << kContourUsage_;
      return 2;
    }
  }
  if (base.empty() || out.empty() || !haveX || !haveY) {
    io.err << kContourUsage_;
    return 2;
  }
  gridDef.iterations = static_cast<int16_t>(iterations);
  if (const auto refusal = c::setupRefusal(gridDef)) {
    io.err << *refusal << "\n";
    return 1;
  }
  if (const auto warn = c::setupWarning(gridDef)) io.err << *warn << "\n";
  if (c::fitSteps(gridDef.xCode, gridDef.yCode).empty()) {
    io.err << "contour: this pair of parameters computes nothing (X code " << gridDef.xCode << ", Y code " << gridDef.yCode
           << ")\n";
    return 1;
  }
  int first = 0, last = gridDef.M - 1;
  const bool partial = !columns.empty();
  if (partial) {
    const auto parts = split(columns, '-');
    if (parts.size() != 2 || !parseInt(parts[0], first) || !parseInt(parts[1], last) || first < 0 || last < first ||
        last >= gridDef.M) {
      io.err << "contour: --columns must be I-J with 0 <= I <= J <= " << gridDef.M - 1 << "\n";
      return 2;
    }
  }

  try {
    const char* path = std::getenv("PATH");
    const std::string exe = c::locateDc(dc, std::filesystem::current_path().string(), path ? path : "");
    ParameterSet p = readDci(base, ParameterSet{}, probeDci(base)).params;
    c::applySetup(p, gridDef);
    std::string baseText;
    const ParameterSet baseSet = c::readBackBase(p, &baseText);

    // Scratch folders beside the output, removed at the end.
    const std::string work = folderOf(out);
    // Timing test: one run with T2 adjusted, as the window's Test does.
    double runTime = 0;
    {
      c::ScratchDrivers probe(exe, work, 600, baseText);
      const c::DcRun t = probe.factory()(0, 1)->run(c::timingDciText(p));
      if (t.status != c::DcRun::Ok) {
        io.err << "contour: the timing run of DC failed (" << exe << "): " << t.detail << "\n";
        return 1;
      }
      runTime = t.seconds;
    }
    c::ContourJob job;
    job.gridDef = gridDef;
    job.base = baseSet;
    job.firstColumn = first;
    job.lastColumn = last;
    job.workers = jobs;
    c::GridDef columnsToDo = gridDef;
    columnsToDo.M = static_cast<int16_t>(last - first + 1);
    io.err << "contour: one DC run takes " << runTime << " s; " << columnsToDo.M * gridDef.N << " points, " << jobs
           << " job(s), about " << hms(c::estimateSeconds(runTime, columnsToDo, jobs)) << "\n";
    const auto t0 = std::chrono::steady_clock::now();
    int shown = 0;
    job.onProgress = [&](const c::Progress& pr) {
      if (pr.pointsDone == shown) return;
      shown = pr.pointsDone;
      const double el = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
      io.err << "contour: " << pr.pointsDone << "/" << pr.pointsTotal << " points, " << hms(el) << " elapsed, "
             << hms(c::remainingSeconds(pr, runTime)) << " left\n";
    };
    c::ScratchDrivers drivers(exe, work, c::runTimeout(runTime), baseText);
    const c::ContourOutcome o = c::computeGrid(job, drivers.factory());
    if (partial)
      writeFileAtomically(out, c::partialFileText(o.grid, first, last));
    else
      c::writeContourFile(out, o.grid);
    io.err << "contour: " << o.runs << " DC runs, " << o.failedPoints << " failed point(s)";
    if (const auto range = c::wresRange(o.grid); range && !partial)
      io.err << ", Wres " << range->first << " .. " << range->second;
    io.err << "\n";
    if (o.failedPoints > 0) {
      io.err << "contour: " << c::failureSummary(o) << "\n";
      return 1;
    }
    return 0;
  } catch (const runs::RunRefused& e) {
    io.err << e.what() << "\n";
  } catch (const TavrinError& e) {
    io.err << e.what() << "\n";
  } catch (const std::bad_alloc&) {
    io.err << errorMessage(kErrOutOfMemory) << "\n";
  }
  return 1;
}

int mergeCommand(const std::vector<std::string>& args, Io& io) {
  std::vector<std::string> parts;
  std::string out;
  for (size_t k = 0; k < args.size(); ++k) {
    if (args[k] == "--out" && k + 1 < args.size())
      out = args[++k];
    else if (!args[k].empty() && args[k][0] != '-')
      parts.push_back(args[k]);
    else
      return io.err << "usage: tavrin-cli contour-merge PART... --out FILE\n", 2;
  }
  if (parts.empty() || out.empty()) return io.err << "usage: tavrin-cli contour-merge PART... --out FILE\n", 2;
  try {
    std::vector<c::PartialGrid> grids;
    for (const std::string& f : parts) {
      try {
        grids.push_back(c::parsePartialText(readWholeFile(f)));
      } catch (const TavrinError& e) {
        io.err << f << ": " << e.what() << "\n";
        return 1;
      }
    }
    const c::ContourGrid g = c::mergePartials(grids);
    c::writeContourFile(out, g);
    return 0;
  } catch (const c::MergeError& e) {
    io.err << "contour-merge: " << e.what() << "\n";
  } catch (const TavrinError& e) {
    io.err << e.what() << "\n";
  }
  return 1;
}

constexpr const char* kRenderSyntax =
    "contour-render FILE.txt --zoom Z [--low L --high H --lines K] [--colours] [--contours] "
    "--out IMAGE.(png|svg|pdf) [--size WxH]";

constexpr Usage kRenderUsage_{kRenderSyntax};

int renderCommand(const std::vector<std::string>& args, Io& io) {
  std::string file, out;
  int zoom = 0, lines = 10, w = 1600, h = 1000;
  double low = 0, high = 0;
  bool haveLow = false, haveHigh = false, colours = false, contours = false;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    const bool more = k + 1 < args.size();
    if (a == "--zoom" && more) {
      if (!parseInt(args[++k], zoom)) return io.err << kRenderUsage_, 2;
    } else if (a == "--low" && more) {
      if (!(haveLow = parseDouble(args[++k], low))) return io.err << kRenderUsage_, 2;
    } else if (a == "--high" && more) {
      if (!(haveHigh = parseDouble(args[++k], high))) return io.err << kRenderUsage_, 2;
    } else if (a == "--lines" && more) {
      if (!parseInt(args[++k], lines)) return io.err << kRenderUsage_, 2;
    } else if (a == "--size" && more) {
      const auto p = split(args[++k], 'x');
      if (p.size() != 2 || !parseInt(p[0], w) || !parseInt(p[1], h) || w < 200 || h < 150 || w > 20000 || h > 20000)
        return io.err << "contour-render: --size must be WxH, 200x150 to 20000x20000\n", 2;
    } else if (a == "--colours" || a == "--colors") {
      colours = true;
    } else if (a == "--contours") {
      contours = true;
    } else if (a == "--out" && more) {
      out = args[++k];
    } else if (!a.empty() && a[0] != '-' && file.empty()) {
      file = a;
    } else {
      return io.err << kRenderUsage_, 2;
    }
  }
  if (file.empty() || out.empty()) return io.err << kRenderUsage_, 2;
#ifndef TAVRIN_CLI_HAS_QT
  io.err << "contour-render: this build has no image output (built without Qt)\n";
  return 1;
#else
  c::ContourGrid g;
  try {
    const std::string text = readWholeFile(file);
    if (c::isPartialContourText(text)) {
      io.err << file << ": a partial contour file; join the parts with tavrin-cli contour-merge first\n";
      return 1;
    }
    g = c::parseContourText(text);
  } catch (const TavrinError& e) {
    io.err << e.what() << "\n";
    return 1;
  }
  if (const auto r = c::plotRefusal(g.gridDef, zoom)) return io.err << *r << "\n", 1;
  if (!haveLow) low = g.range.low;
  if (!haveHigh) high = g.range.high;
  if (const auto r = c::levelRefusal(low, high, lines)) return io.err << *r << "\n", 1;
  if (!colours && !contours) contours = true;
  const c::FineGrid f = c::refine(g, zoom);
  std::vector<c::PictureLayer> layers;
  if (colours) layers.push_back({c::PictureLayer::Colours, low, high, lines, g.range.decimals});
  if (contours) layers.push_back({c::PictureLayer::Contours, low, high, lines, g.range.decimals});
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char name[] = "tavrin-cli";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  const QString path = QString::fromStdString(out);
  const double ppt = imageKindFor(path) == ImageKind::Png ? 1.0 / 15 : 2.0 / 15;
  try {
    exportPlotImage(path, QSize(w, h), 1.0, [&](tavrin::Canvas& cv) {
      c::drawPicture(cv, g, f, layers, low, high, colours, ppt, c::kDiscRadius + kPenTwips / 2);
    });
  } catch (const TavrinError& e) {
    io.err << e.what() << "\n";
    return 1;
  }
  return 0;
#endif
}

CommandRegistration regContour("contour", kContourSyntax, contourCommand);
CommandRegistration regMerge("contour-merge", "contour-merge PART... --out FILE", mergeCommand);
CommandRegistration regRender("contour-render", kRenderSyntax, renderCommand);

}  // namespace
}  // namespace tavrin::cli
