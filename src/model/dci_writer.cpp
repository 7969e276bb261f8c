#include "model/dci_writer.h"

#include <cmath>

#include "model/critical_potentials.h"
#include "model/number_fields.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin {

using detail::ex;
using detail::fx;

namespace {
constexpr const char* kEol = "\r\n";

// Curve rows in file order: velocity curve 1, velocity curve 2, light curves.
std::vector<int> curveRowsInUse(const ParameterSet& p) {
  if (p.IFVC1 < 0 || p.IFVC1 > 1 || p.IFVC2 < 0 || p.IFVC2 > 1 || p.NLC < 0 || p.NLC > 5)
    throwError(kErrSubscript);
  std::vector<int> rows;
  if (p.IFVC1 == 1) rows.push_back(1);
  if (p.IFVC2 == 1) rows.push_back(2);
  for (int j = 1; j <= p.NLC; ++j) rows.push_back(j + 2);
  return rows;
}

std::string incrementRecord(const ParameterSet& p, int first, int last) {
  std::string r;
  for (int k = first; k <= last; ++k) {
    // The 27th increment is kept as typed.
    const double v = k <= kIncrements ? p.increments[k] : leadingNumber(p.x2Increment);
    r += ex(v, 8, 2);
  }
  return r;
}

// Concatenation without temporaries chained through operator+.
template <typename... S>
std::string cat(const S&... parts) {
  std::string r;
  (r += ... += parts);
  return r;
}

std::string keyRecord(const ParameterSet& p) {
  auto keys = [&](int a, int b) {
    std::string s;
    for (int k = a; k <= b; ++k) s += p.adjustKeys[static_cast<size_t>(k)];
    return s;
  };
  // Key 30 names no parameter; DC expects it held.
  return cat(" ", keys(1, 4), " ", keys(5, 8), " ", keys(9, 15), " ", keys(16, 20), " ", keys(21, 25), " ",
             keys(26, 29), "1", " ", keys(31, 35), " ", intField(p.IFDER, 1, " "), " ", intField(p.IFM, 1, " "), " ",
             intField(p.IFR, 1, " "), ex(p.XLAMDA, 10, 3));
}

std::string curveRecord(const CurveRow& c, bool velocity) {
  std::string r;
  r += intField(c.band, 3, " ");
  r += fx(c.l1, 10, 5);
  r += fx(c.l2, 10, 5);
  r += fx(c.x1, 7, 3);
  r += fx(c.x2, 7, 3);
  r += fx(c.y1, 7, 3);
  r += fx(c.y2, 7, 3);
  if (velocity) {
    r += ex(c.opsf, 10, 3);
  } else {
    r += fx(c.el3, 8, 4);
    r += ex(c.opsf, 10, 3);
    r += intField(c.noise, 2, " ");
  }
  r += ex(c.sigma, 12, 5);
  r += fx(c.wavel, 10, 6);
  r += ' ';
  // A line end in the name would split the record and shift every line after it.
  if (c.dataFile.find_first_of("\r\n") != std::string::npos) throwError(kErrBadFileName64);
  r += c.dataFile;
  return r;
}

void appendObservationBlock(std::string& out, const CurveRow& c, int perLine) {
  const int n = static_cast<int>(c.points.size());
  // n rounded up to a multiple of the points per line; n = 0 gives 0.
  const double rounded = (std::floor((static_cast<double>(n) - 1.0) / perLine) + 1.0) * perLine;
  if (rounded > kMaxObservationPoints) throwError(kErrSubscript);
  const int r = static_cast<int>(rounded);
  static const ObservationPoint kZero{};
  for (int k = 1; k <= r; k += perLine) {
    for (int i = k; i < k + perLine; ++i) {
      const ObservationPoint& pt = i <= n ? c.points[static_cast<size_t>(i - 1)] : kZero;
      out += fx(pt.time, 14, 5);
      out += fx(pt.value, 8, 4);
      out += fx(pt.weight, 6, 2);
    }
    out += kEol;
  }
  // -10000 - (points on the last data line), or -10000 - NPPL for an empty block.
  out += "  ";
  out += trimmedPlainText(static_cast<double>(r - n - perLine - 10000));
  out += '.';
  out += kEol;
}

}  // namespace

std::vector<std::string> dciRecords(const ParameterSet& p) {
  const std::vector<int> rows = curveRowsInUse(p);
  std::vector<std::string> rec;
  rec.reserve(11 + rows.size());

  // D1..D3: increments 1..27.
  rec.push_back(incrementRecord(p, 1, 8));
  rec.push_back(incrementRecord(p, 9, 18));
  rec.push_back(incrementRecord(p, 19, 27));
  // D4: keys and print switches.
  rec.push_back(keyRecord(p));
  // D5: the spots DC may adjust.
  rec.push_back(cat(intField(p.spotAStar, 3, " "), intField(p.spotANumber, 3, " "), intField(p.spotBStar, 3, " "),
                    intField(p.spotBNumber, 3, " ")));
  // D6: curve counts and run switches.
  rec.push_back(cat(intField(p.IFVC1, 1, " "), " ", intField(p.IFVC2, 1, " "), " ", intField(p.NLC, 2, " "),
                    intField(p.KO, 2, " "), intField(p.KDISK, 2, " "), intField(p.ISYM, 2, " "),
                    intField(p.NPPL, 2, " ")));
  // D7: the LCI's first record without MPAGE.
  {
    std::string r;
    for (int v : {p.NREF, p.MREF, p.IFSMV1, p.IFSMV2, p.ICOR1, p.ICOR2, p.LD}) {
      r += intField(v, 1, " ");
      r += ' ';
    }
    rec.push_back(r);
  }
  // D8: ephemeris.
  rec.push_back(cat(intField(p.JDPHS, 1, ""), fx(p.HJD0, 15, 6), ex(p.PERIOD, 17, 10), ex(p.DPDT, 14, 6),
                    fx(p.PSHIFT, 10, 4)));
  // D9: mode, orbit integers and the coarse grids.
  rec.push_back(cat(intField(p.MODE, 2, " "), intField(p.IPB, 2, " "), intField(p.IFAT1, 2, " "),
                    intField(p.IFAT2, 2, " "), intField(p.N1, 3, " "), intField(p.N2, 3, " "),
                    intField(p.N1L, 3, " "), intField(p.N2L, 3, " "), fx(p.PER, 13, 6), ex(p.DPERDT, 12, 5),
                    fx(p.THE, 8, 5), fx(p.VUNIT, 9, 3)));
  // D10: orbit and stars, A in exponent form.
  rec.push_back(cat(fx(p.E, 6, 5), ex(p.A, 13, 6), fx(p.F1, 10, 4), fx(p.F2, 10, 4), fx(p.VGA, 10, 4),
                    fx(p.XINCL, 9, 3), fx(p.GR1, 7, 3), fx(p.GR2, 7, 3), fx(p.MH, 7, 2)));
  // D11: temperatures in units of 10000 K, albedos, potentials, bolometric limb darkening.
  rec.push_back(cat(fx(p.T1 / 10000.0, 7, 4), fx(p.T2 / 10000.0, 8, 4), fx(p.ALB1, 7, 3), fx(p.ALB2, 7, 3),
                    ex(p.POTH, 13, 6), ex(p.POT2, 13, 6), ex(p.RM, 13, 6), fx(p.XBOL1, 7, 3), fx(p.XBOL2, 7, 3),
                    fx(p.YBOL1, 7, 3), fx(p.YBOL2, 7, 3)));
  // Curve records.
  for (int row : rows) rec.push_back(curveRecord(p.curves[row], row <= 2));
  return rec;
}

std::string dciText(const ParameterSet& p) {
  const std::vector<std::string> records = dciRecords(p);
  if (p.NPPL < 1) throwError(kErrSubscript);

  std::string out;
  size_t points = 0;
  for (int row : curveRowsInUse(p)) points += p.curves[row].points.size();
  out.reserve(2048 + points * (28 + 2));

  for (const std::string& r : records) {
    out += r;
    out += kEol;
  }
  out += detail::spotRecords(p);
  out += "150.";
  out += kEol;
  for (int row : curveRowsInUse(p)) appendObservationBlock(out, p.curves[row], p.NPPL);
  return out;
}

SaveOutcome saveDci(ParameterSet& p, const std::string& path) {
  // The records keep the values as they are now; a snap by the checks
  // reaches the file only at the next save.
  const std::string text = dciText(p);
  const std::vector<std::string> records = dciRecords(p);
  for (size_t i = 0; i < records.size() && i + 1 < p.storedDciRecords.size(); ++i)
    p.storedDciRecords[i + 1] = records[i];

  SaveOutcome outcome;
  const PotentialCheck check = checkPotentials(p, InputFileKind::DCI);
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
