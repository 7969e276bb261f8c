#include "model/lci_writer.h"

#include <cmath>

#include "model/critical_potentials.h"
#include "model/number_fields.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin {

namespace {
constexpr const char* kEol = "\r\n";

std::string i1(int v) { return intField(v, 1, " "); }
}  // namespace

using detail::ex;
using detail::fx;

namespace detail {

std::string fx(double x, int width, int decimals) {
  if (!std::isfinite(x)) throwError(kErrOverflow);
  return fixedField(x, width, decimals);
}

std::string ex(double x, int width, int digits) {
  if (!std::isfinite(x)) throwError(kErrOverflow);
  return expField(x, width, digits);
}

std::string spotRecords(const ParameterSet& p) {
  std::string out;
  for (int star = 1; star <= 2; ++star) {
    const int count = p.spotCount[star];
    if (count < 0 || count > kMaxSpotsPerStar) throwError(kErrSubscript);
    for (int n = 1; n <= count; ++n) {
      const Spot& s = p.spots[star][n];
      out += fx(s.xlat, 9, 5);
      out += fx(s.xlong, 9, 5);
      out += fx(s.radsp, 9, 5);
      out += fx(s.temsp, 9, 5);
      out += kEol;
    }
    out += "300.";
    out += kEol;
  }
  return out;
}

}  // namespace detail

std::string lciText(const ParameterSet& p) {
  std::string out;
  out.reserve(1024);

  // L1: control integers, each followed by a blank.
  for (int v : {p.MPAGE, p.NREF, p.MREF, p.IFSMV1, p.IFSMV2, p.ICOR1, p.ICOR2, p.LD}) {
    out += i1(v);
    out += ' ';
  }
  out += kEol;

  // L2: ephemeris and noise.
  out += intField(p.JDPHS, 1, "");
  out += fx(p.HJD0, 15, 6);
  out += ex(p.PERIOD, 15, 10);
  out += ex(p.DPDT, 13, 6);
  out += fx(p.PSHIFT, 10, 4);
  out += ex(p.FRACSD, 10, 4);
  out += intField(p.NOISE, 2, " ");
  out += fx(p.SEED, 10, 0);
  out += kEol;

  // L3: output range.
  out += fx(p.JDSTART, 14, 6);
  out += fx(p.JDSTOP, 15, 6);
  out += fx(p.JDINCR, 13, 6);
  out += fx(p.PHSTRT, 12, 6);
  out += fx(p.PHSTOP, 12, 6);
  out += fx(p.PHIN, 12, 6);
  out += fx(p.PHN, 12, 6);
  out += kEol;

  // L4: mode and orbit integers.
  out += intField(p.MODE, 2, " ");
  out += intField(p.IPB, 2, " ");
  out += intField(p.IFAT1, 2, " ");
  out += intField(p.IFAT2, 2, " ");
  out += intField(p.N1, 3, " ");
  out += intField(p.N2, 3, " ");
  out += fx(p.PER, 13, 6);
  out += ex(p.DPERDT, 12, 5);
  out += fx(p.THE, 7, 5);
  out += fx(p.VUNIT, 8, 2);
  out += kEol;

  // L5: orbit and stars.
  out += fx(p.E, 6, 5);
  out += fx(p.A, 13, 6);
  out += fx(p.F1, 10, 4);
  out += fx(p.F2, 10, 4);
  out += fx(p.VGA, 10, 4);
  out += fx(p.XINCL, 9, 3);
  out += fx(p.GR1, 7, 3);
  out += fx(p.GR2, 7, 3);
  out += fx(p.MH, 7, 2);
  out += kEol;

  // L6: temperatures in units of 10000 K, albedos, potentials, bolometric limb darkening.
  out += fx(p.T1 / 10000.0, 7, 4);
  out += fx(p.T2 / 10000.0, 8, 4);
  out += fx(p.ALB1, 8, 3);
  out += fx(p.ALB2, 7, 3);
  out += ex(p.POTH, 13, 6);
  out += ex(p.POT2, 13, 6);
  out += ex(p.RM, 13, 6);
  out += fx(p.XBOL1, 7, 3);
  out += fx(p.XBOL2, 7, 3);
  out += fx(p.YBOL1, 7, 3);
  out += fx(p.YBOL2, 7, 3);
  out += kEol;

  // L7: the light curve's band and monochromatic quantities.
  out += intField(p.BAND, 3, " ");
  out += fx(p.L1, 10, 5);
  out += fx(p.L2, 10, 5);
  out += fx(p.X1, 7, 3);
  out += fx(p.X2, 7, 3);
  out += fx(p.Y1, 7, 3);
  out += fx(p.Y2, 7, 3);
  out += fx(p.EL3, 8, 4);
  out += ex(p.OPSF, 10, 4);
  out += fx(p.ZERO, 8, 3);
  out += fx(p.FACTOR, 8, 4);
  out += fx(p.WAVEL, 9, 6);
  out += kEol;

  out += detail::spotRecords(p);
  out += "150.";
  out += kEol;
  out += "9";
  out += kEol;
  return out;
}

SaveOutcome saveLci(ParameterSet& p, const std::string& path) {
  // The overcontact modes tie star 2's potential to star 1's.
  if (p.MODE == 1 || p.MODE == 3) p.POT2 = p.POTH;

  // The records keep the values as they are now; a snap by the checks
  // reaches the file only at the next save.
  const std::string text = lciText(p);

  SaveOutcome outcome;
  const PotentialCheck check = checkPotentials(p, InputFileKind::LCI);
  outcome.text46 = check.text46;
  outcome.text47 = check.text47;
  if (!check.passed) {
    outcome.refusal = check.message;
    return outcome;
  }
  writeFileAtomically(path, text);
  outcome.written = true;
  return outcome;
}

}  // namespace tavrin
