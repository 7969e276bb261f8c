#pragma once
// A whole LCO or DCO read as text, one fact a line, for golden files.
#include <string>

#include "model/parameter_set.h"
#include "output/dco_reader.h"
#include "output/lco_reader.h"
#include "recording_canvas.h"
#include "shell/errors.h"

namespace testreports {

inline std::string nums(const std::vector<double>& v) {
  std::string s;
  for (double x : v) s += " " + tavrin::test::RecordingCanvas::num(x);
  return s;
}

// The curve read, or how it was refused.
inline std::string lcoReadOf(const std::string& text) {
  using namespace tavrin;
  try {
    const ComputedCurve c = parseLco(text);
    std::string s = "page " + std::to_string(c.page) + " mode " + std::to_string(c.mode) + " count " + std::to_string(c.count);
    s += "\nheader" + nums({c.inclination, c.t1, c.t2, c.pot1, c.pot2, c.massRatio, c.l2}) + " '" + c.l2Text + "'";
    s += "\nphase range" + nums({c.phaseFirst, c.phaseLast}) + "\nlight range" + nums({c.lightMin, c.lightMax});
    s += "\nrv range" + nums({c.rvMin, c.rvMax}) + "\nphase" + nums(c.phase) + "\nlight" + nums(c.light);
    return s + "\nrv1" + nums(c.rv1) + "\nrv2" + nums(c.rv2) + "\n";
  } catch (const ReportMessage& e) {
    return std::string("report message: ") + e.what() + "\n";
  } catch (const TavrinError& e) {
    return "error " + std::to_string(e.number()) + ": " + e.what() + "\n";
  }
}

// The results and the set start from marked values, so what a read
// overwrites and what it leaves shows.
inline std::string dcoReadOf(const std::string& text) {
  using namespace tavrin;
  DcResults r;
  r.adjustedParams = {99};
  r.ioRows = {{99, 9, 1, 2, 3, 4}};
  r.correlation = {{0.5}};
  r.sumWResInput = r.sumWResPredicted = -1;
  ParameterSet p;
  p.IFVC1 = p.IFVC2 = p.NLC = 9;
  for (int c = 1; c <= kCurveRows; ++c) p.curves[static_cast<size_t>(c)].l2 = 10 + c;
  std::string s;
  try {
    const DcoReadReport rep = parseDco(text, r, p);
    s = "error line: " + rep.errorLine.value_or("(none)") + "\nswitches read: " + std::to_string(rep.curveSwitchesRead) +
        "\nL2 read:";
    for (const auto& [row, l2] : rep.curveL2) s += " " + std::to_string(row) + "=" + tavrin::test::RecordingCanvas::num(l2);
  } catch (const TavrinError& e) {
    s = "refused: " + std::string(e.what());
  }
  s += "\nkeys:";
  for (int k : r.adjustedParams) s += " " + std::to_string(k);
  s += "\nunknowns:";
  for (const DcUnknown& u : r.unknowns) s += " " + std::to_string(u.param) + "/" + std::to_string(u.curve);
  for (const DcIoRow& io : r.ioRows)
    s += "\nrow " + std::to_string(io.param) + "/" + std::to_string(io.curve) + ":" + nums({io.input, io.correction, io.output, io.stdDev});
  s += "\ncorrelation " + std::to_string(r.correlation.size()) + ":";
  for (const auto& row : r.correlation) s += "\n " + nums(row);
  s += "\nsums:" + nums({r.sumWResInput, r.sumWResPredicted});
  s += "\nset: IFVC1 " + std::to_string(p.IFVC1) + " IFVC2 " + std::to_string(p.IFVC2) + " NLC " + std::to_string(p.NLC) + " L2";
  for (int c = 1; c <= kCurveRows; ++c) s += nums({p.curves[static_cast<size_t>(c)].l2});
  return s + "\nfailure: " + r.failure + "\nerror seen: " + std::to_string(r.dcErrorSeen) + "\n";
}

}  // namespace testreports
