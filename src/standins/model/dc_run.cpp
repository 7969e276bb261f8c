// DC: one step of differential corrections of the stand-in model to the
// observed curves of a DC input, and its fixed-column report.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "binary_model.h"
#include "fortran_format.h"
#include "model/dc_parameters.h"
#include "model/number_fields.h"
#include "roche.h"
#include "standin.h"

namespace tavrin::standin {

namespace {

struct Obs {
  int row;
  double time, value, weight;
};

// A fit that cannot be made; the text becomes the report's "*ERR*" line.
struct DcFailure {
  std::string why;
};
// A solution that breaks down in its arithmetic (singular normal equations,
// a negative weight): like the real program, the report then prints NaN.
struct DcBreakdown {};

std::string num(double x) { return trimmedPlainText(x); }

std::string paramName(int k) { return "parameter " + std::to_string(k) + " (" + dcParameterLabel(k) + ")"; }

void line(std::string& out, const std::string& s) {
  out += s;
  out += "\r\n";
}

std::vector<int> usedRows(const ParameterSet& p) {
  std::vector<int> rows;
  if (p.IFVC1 == 1) rows.push_back(1);
  if (p.IFVC2 == 1) rows.push_back(2);
  for (int j = 1; j <= p.NLC; ++j) rows.push_back(j + 2);
  return rows;
}

void checkSwitches(const ParameterSet& p) {
  if (p.IFVC1 < 0 || p.IFVC1 > 1 || p.IFVC2 < 0 || p.IFVC2 > 1)
    throw DcFailure{"IFVC1 and IFVC2 must be 0 or 1"};
  if (p.NLC < 0 || p.NLC > 5) throw DcFailure{"NLC must lie in 0..5 (NLC = " + std::to_string(p.NLC) + ")"};
  if (p.JDPHS != 1 && p.JDPHS != 2) throw DcFailure{"JDPHS must be 1 (times) or 2 (phases)"};
  if ((p.IFVC1 == 1 || p.IFVC2 == 1) && !(p.VUNIT > 0.0)) throw DcFailure{"VUNIT must be positive"};
}

std::vector<Obs> observations(const ParameterSet& p) {
  std::vector<Obs> obs;
  for (int row : usedRows(p)) {
    const CurveRow& c = p.curves[row];
    if (!(c.sigma > 0.0) || !std::isfinite(c.sigma))
      throw DcFailure{"the SIGMA of curve row " + std::to_string(row) + " must be positive"};
    for (const ObservationPoint& pt : c.points) {
      if (!std::isfinite(pt.time) || !std::isfinite(pt.value) || !std::isfinite(pt.weight))
        throw DcFailure{"curve row " + std::to_string(row) + " holds an observation that is not a number"};
      if (pt.weight > 0.0) obs.push_back({row, pt.time, pt.value, pt.weight / (c.sigma * c.sigma)});
    }
  }
  return obs;
}

CurveSpec specOf(const CurveRow& r) {
  CurveSpec s;
  s.wavelength = curveWavelength(r.wavel, r.band);
  s.l1 = r.l1;
  s.l2 = r.l2;
  s.x1 = r.x1;
  s.x2 = r.x2;
  s.y1 = r.y1;
  s.y2 = r.y2;
  s.el3 = r.el3;
  return s;
}

std::vector<double> evaluate(const ParameterSet& p, const std::vector<Obs>& obs) {
  const BinaryModel m(p);
  const bool isTime = p.JDPHS == 1;
  std::vector<double> out(obs.size());
  std::array<PreparedCurve, kCurveRows + 1> prepared;
  for (int row = 3; row <= p.NLC + 2; ++row) prepared[row] = m.prepare(specOf(p.curves[row]));
  for (size_t i = 0; i < obs.size(); ++i) {
    const OrbitState s = m.stateAt(obs[i].time, isTime);
    if (obs[i].row <= 2) {
      const Velocities v = m.velocities(s);
      out[i] = (obs[i].row == 1 ? v.v1 : v.v2) / p.VUNIT;
    } else {
      const PreparedCurve& c = prepared[obs[i].row];
      out[i] = m.lights(c, s).total() + c.curveDef.el3;
    }
  }
  return out;
}

Spot* spotOf(ParameterSet& p, int param) {
  const int star = param <= 4 ? p.spotAStar : p.spotBStar;
  const int n = param <= 4 ? p.spotANumber : p.spotBNumber;
  if (star < 1 || star > 2 || n < 1 || n > p.spotCount[star]) return nullptr;
  return &p.spots[star][n];
}

// Increment in DC units for an unknown (spot angles and inclination in the
// DCI are degrees).
double incrementOf(const ParameterSet& p, int k) {
  const int ix = dcParameterInfo(k).incrementBox;
  double d = 0.0;
  if (ix >= 1 && ix <= kIncrements) d = p.increments[ix];
  else if (ix == 27) d = leadingNumber(p.x2Increment);
  else if (k == 9) d = 1e-3 * std::max(std::fabs(p.A), 1.0);
  else if (k == 15) d = 1.0;
  else if (k == 26) d = 1e-4 * p.PERIOD;
  else if (k == 27) d = 1e-6 * p.PERIOD;
  else if (k == 28) d = std::max(1e-3 * std::fabs(p.DPDT), 1e-10);
  else if (k == 29) d = std::max(1e-3 * std::fabs(p.DPERDT), 1e-6);
  else if (k == 35) d = 0.01;
  if (k == 1 || k == 2 || k == 3 || k == 5 || k == 6 || k == 7) d /= DEG_PER_RAD;
  return d;
}

std::vector<DcUnknown> buildUnknowns(const ParameterSet& p) {
  std::vector<DcUnknown> u;
  int keys = 0;
  const bool velocities = p.IFVC1 == 1 || p.IFVC2 == 1;
  for (int k = 1; k <= kAdjustKeys; ++k) {
    if (k == 30 || p.adjustKeys[k] != '0') continue;
    ++keys;
    const int m = p.MODE;
    if (k <= 8) {
      ParameterSet copy = p;
      if (!spotOf(copy, k)) throw DcFailure{paramName(k) + ": spot " + std::string(k <= 4 ? "A" : "B") + " does not exist"};
      if (k >= 5 && p.spotAStar == p.spotBStar && p.spotANumber == p.spotBNumber)
        throw DcFailure{"spot B must be a different spot from spot A"};
    }
    if ((k == 9 || k == 15) && !velocities) throw DcFailure{paramName(k) + " needs a velocity curve"};
    if ((k == 11 || k == 29) && std::fabs(p.E) < 1e-6)
      throw DcFailure{paramName(k) + " is undefined for a circular orbit (E = 0)"};
    if (k == 17 || k == 18) throw DcFailure{paramName(k) + ": gravity darkening is not part of the stand-in model"};
    if (k == 21 || k == 22) throw DcFailure{paramName(k) + ": reflection is not part of the stand-in model"};
    if (k == 20 && m == 1) throw DcFailure{paramName(k) + " is tied to T1 in mode 1"};
    if (k == 23 && (m == 4 || m == 6))
      throw DcFailure{paramName(k) + " is fixed at the critical lobe in mode " + std::to_string(m)};
    if (k == 24 && (m == 1 || m == 3)) throw DcFailure{paramName(k) + " is tied to potential 1 in mode " + std::to_string(m)};
    if (k == 24 && (m == 5 || m == 6))
      throw DcFailure{paramName(k) + " is fixed at the critical lobe in mode " + std::to_string(m)};
    if (k >= 26 && k <= 29 && p.JDPHS == 2)
      throw DcFailure{paramName(k) + " cannot be adjusted when the observations are phases (JDPHS = 2)"};
    if (k == 32 && p.IPB == 0)
      throw DcFailure{paramName(k) + " is computed from the temperatures and radii (IPB = 0)"};
    if (k >= 31) {
      if (p.NLC < 1) throw DcFailure{paramName(k) + " needs a light curve"};
      for (int j = 1; j <= p.NLC; ++j) u.push_back({k, j, dcParameter(p, k, j), incrementOf(p, k)});
    } else {
      u.push_back({k, 0, dcParameter(p, k, 0), incrementOf(p, k)});
    }
  }
  if (keys > 15) throw DcFailure{"more than 15 parameters are adjusted"};
  // No unknowns is a valid run: the report then gives the residuals of the input values alone.
  if (u.size() > 50) throw DcFailure{"more than 50 unknowns (per-curve parameters count once per light curve)"};
  for (const DcUnknown& x : u)
    if (!(x.increment != 0.0) || !std::isfinite(x.increment))
      throw DcFailure{"the increment of " + paramName(x.param) + " is zero"};
  return u;
}

// Cholesky factorisation in place (lower triangle); false when not positive definite.
bool cholesky(std::vector<std::vector<double>>& a) {
  const size_t n = a.size();
  for (size_t j = 0; j < n; ++j) {
    double d = a[j][j];
    for (size_t k = 0; k < j; ++k) d -= a[j][k] * a[j][k];
    if (!(d > 1e-13)) return false;
    a[j][j] = std::sqrt(d);
    for (size_t i = j + 1; i < n; ++i) {
      double s = a[i][j];
      for (size_t k = 0; k < j; ++k) s -= a[i][k] * a[j][k];
      a[i][j] = s / a[j][j];
    }
  }
  return true;
}

std::vector<double> choleskySolve(const std::vector<std::vector<double>>& l, std::vector<double> b) {
  const size_t n = l.size();
  for (size_t i = 0; i < n; ++i) {
    for (size_t k = 0; k < i; ++k) b[i] -= l[i][k] * b[k];
    b[i] /= l[i][i];
  }
  for (size_t i = n; i-- > 0;) {
    for (size_t k = i + 1; k < n; ++k) b[i] -= l[k][i] * b[k];
    b[i] /= l[i][i];
  }
  return b;
}

}  // namespace

double dcParameter(const ParameterSet& p, int k, int curve) {
  ParameterSet copy = p;
  // Only existing spots, and only light curves have per-curve unknowns.
  if ((k >= 1 && k <= 8 && !spotOf(copy, k)) || (isPerCurveParameter(k) && curve < 1)) return 0.0;
  const double* slot = dcParameterSlot(copy, k, curve);
  return slot ? *slot / dcParameterInfo(k).setPerDcUnit : 0.0;
}

void setDcParameter(ParameterSet& p, int k, int curve, double v) {
  if ((k >= 1 && k <= 8 && !spotOf(p, k)) || (isPerCurveParameter(k) && curve < 1)) return;
  if (double* slot = dcParameterSlot(p, k, curve)) *slot = v * dcParameterInfo(k).setPerDcUnit;
}

std::vector<double> dcComputed(const ParameterSet& p) {
  try {
    checkSwitches(p);
    return evaluate(p, observations(p));
  } catch (const DcFailure& f) {
    throw ModelError(f.why);
  }
}

// Every figure of the solution NaN, the curves as they went in.
void breakDown(const ParameterSet& p, DcSolution& s) {
  const double nan = std::nan("");
  const size_t m = s.unknowns.size();
  s.correction.assign(m, nan);
  s.stdDev.assign(m, nan);
  s.correlation.assign(m, std::vector<double>(m, nan));
  s.normalMatrix.assign(m, std::vector<double>(m, nan));
  s.rhs.assign(m, nan);
  s.sumWResInput = s.sumWResPredicted = nan;
  s.rows.clear();
  s.curves.clear();
  for (int row : usedRows(p)) {
    DcCurveSummary c;
    c.row = row;
    c.l2 = nan;
    s.curves.push_back(c);
  }
  s.r1 = s.r2 = s.pot1 = s.pot2 = s.crit1 = s.crit2 = s.dom1dq = s.dom2dq = nan;
}

DcSolution dcSolve(const ParameterSet& p) {
  DcSolution s;
  try {
    checkSwitches(p);
    if (p.ISYM != 0 && p.ISYM != 1) throw DcFailure{"ISYM must be 0 or 1"};
    if (!(p.XLAMDA >= 0.0) || !std::isfinite(p.XLAMDA)) throw DcFailure{"XLAMDA must not be negative"};
    const std::vector<Obs> obs = observations(p);
    s.unknowns = buildUnknowns(p);
    const size_t n = obs.size(), m = s.unknowns.size();
    s.observationCount = static_cast<int>(n);
    if (n <= m) throw DcFailure{"there are " + std::to_string(n) + " observations for " + std::to_string(m) + " unknowns"};
    for (int row : usedRows(p))
      for (const ObservationPoint& pt : p.curves[row].points)
        if (pt.weight < 0.0) throw DcBreakdown{};

    std::vector<double> base;
    try {
      base = evaluate(p, obs);
    } catch (const ModelError& e) {
      throw DcFailure{std::string("the model cannot be computed: ") + e.what()};
    }
    std::vector<std::vector<double>> deriv(m, std::vector<double>(n));
    for (size_t j = 0; j < m; ++j) {
      const DcUnknown& u = s.unknowns[j];
      ParameterSet up = p;
      setDcParameter(up, u.param, u.curve, u.input + u.increment);
      try {
        const std::vector<double> hi = evaluate(up, obs);
        if (p.ISYM == 1) {
          ParameterSet dn = p;
          setDcParameter(dn, u.param, u.curve, u.input - u.increment);
          const std::vector<double> lo = evaluate(dn, obs);
          for (size_t i = 0; i < n; ++i) deriv[j][i] = (hi[i] - lo[i]) / (2.0 * u.increment);
        } else {
          for (size_t i = 0; i < n; ++i) deriv[j][i] = (hi[i] - base[i]) / u.increment;
        }
      } catch (const ModelError& e) {
        throw DcFailure{"the model cannot be computed with " + paramName(u.param) + " changed by its increment: " + e.what()};
      }
      double biggest = 0.0;
      for (double d : deriv[j]) biggest = std::max(biggest, std::fabs(d));
      if (!(biggest > 0.0) || !std::isfinite(biggest))
        throw DcBreakdown{};
    }

    // Normal equations.
    s.normalMatrix.assign(m, std::vector<double>(m, 0.0));
    s.rhs.assign(m, 0.0);
    std::vector<double> res(n);
    for (size_t i = 0; i < n; ++i) {
      res[i] = obs[i].value - base[i];
      s.sumWResInput += obs[i].weight * res[i] * res[i];
    }
    for (size_t j = 0; j < m; ++j) {
      for (size_t k = 0; k <= j; ++k) {
        double a = 0.0;
        for (size_t i = 0; i < n; ++i) a += obs[i].weight * deriv[j][i] * deriv[k][i];
        s.normalMatrix[j][k] = s.normalMatrix[k][j] = a;
      }
      double b = 0.0;
      for (size_t i = 0; i < n; ++i) b += obs[i].weight * deriv[j][i] * res[i];
      s.rhs[j] = b;
    }
    // Scaled to a unit diagonal; Marquardt's lambda is added to it.
    std::vector<double> scale(m);
    for (size_t j = 0; j < m; ++j) scale[j] = std::sqrt(s.normalMatrix[j][j]);
    std::vector<std::vector<double>> scaled(m, std::vector<double>(m));
    for (size_t j = 0; j < m; ++j)
      for (size_t k = 0; k < m; ++k) scaled[j][k] = s.normalMatrix[j][k] / (scale[j] * scale[k]);
    std::vector<std::vector<double>> plain = scaled;
    for (size_t j = 0; j < m; ++j) scaled[j][j] += p.XLAMDA;
    if (!cholesky(scaled) || !cholesky(plain)) throw DcBreakdown{};
    std::vector<double> bs(m);
    for (size_t j = 0; j < m; ++j) bs[j] = s.rhs[j] / scale[j];
    const std::vector<double> y = choleskySolve(scaled, bs);
    s.correction.resize(m);
    for (size_t j = 0; j < m; ++j) s.correction[j] = y[j] / scale[j];
    // Inverse of the scaled matrix without lambda: covariances and correlations.
    std::vector<std::vector<double>> inv(m, std::vector<double>(m));
    for (size_t k = 0; k < m; ++k) {
      std::vector<double> e(m, 0.0);
      e[k] = 1.0;
      const std::vector<double> col = choleskySolve(plain, e);
      for (size_t j = 0; j < m; ++j) inv[j][k] = col[j];
    }
    const double unitVariance = s.sumWResInput / static_cast<double>(n - m);
    s.stdDev.resize(m);
    s.correlation.assign(m, std::vector<double>(m));
    for (size_t j = 0; j < m; ++j) {
      s.stdDev[j] = std::sqrt(std::max(0.0, inv[j][j] * unitVariance)) / scale[j];
      for (size_t k = 0; k < m; ++k) s.correlation[j][k] = inv[j][k] / std::sqrt(inv[j][j] * inv[k][k]);
    }
    for (size_t i = 0; i < n; ++i) {
      double r = res[i];
      for (size_t j = 0; j < m; ++j) r -= deriv[j][i] * s.correction[j];
      s.sumWResPredicted += obs[i].weight * r * r;
    }
    if (!std::isfinite(s.sumWResInput) || !std::isfinite(s.sumWResPredicted))
      throw DcFailure{"the solution is not finite"};

    // Per-curve figures and the listing of residuals.
    for (int row : usedRows(p)) {
      DcCurveSummary c;
      c.row = row;
      c.l2 = p.curves[row].l2;
      s.curves.push_back(c);
    }
    const BinaryModel model(p);
    for (DcCurveSummary& c : s.curves)
      if (c.row >= 3) c.l2 = model.prepare(specOf(p.curves[c.row])).l2;
    for (size_t i = 0; i < n; ++i) {
      for (DcCurveSummary& c : s.curves)
        if (c.row == obs[i].row) {
          ++c.points;
          c.sumWRes += obs[i].weight * res[i] * res[i];
        }
      DcSolution::Row r{obs[i].row, obs[i].time, obs[i].value, base[i], obs[i].weight, {}};
      if (p.IFDER == 1) {
        r.derivative.resize(m);
        for (size_t j = 0; j < m; ++j) r.derivative[j] = deriv[j][i];
      }
      s.rows.push_back(std::move(r));
    }
    s.r1 = model.r1();
    s.r2 = model.r2();
    s.pot1 = model.pot1();
    s.pot2 = model.pot2();
    s.crit1 = model.innerCritical1();
    s.crit2 = model.innerCritical2();
    const double q = p.RM, D = 1.0 - p.E, h = 1e-5 * q;
    s.dom1dq = (innerCriticalPotential(q + h, p.F1, D) - innerCriticalPotential(q - h, p.F1, D)) / (2.0 * h);
    s.dom2dq = (secondaryPotentialFromOwn(innerCriticalPotential(1.0 / (q + h), p.F2, D), q + h) -
                secondaryPotentialFromOwn(innerCriticalPotential(1.0 / (q - h), p.F2, D), q - h)) /
               (2.0 * h);
  } catch (const DcFailure& f) {
    s.error = f.why;
  } catch (const DcBreakdown&) {
    breakDown(p, s);
  } catch (const ModelError& e) {
    s.error = e.what();
  }
  return s;
}

std::string dcReport(const ParameterSet& p, const DcSolution& s) {
  std::string out;
  line(out, reportBanner());
  line(out, " Solvex - differential corrections");
  line(out, "");
  if (!s.error.empty()) {
    line(out, " The corrections could not be computed.");
    line(out, "");
    line(out, "*ERR* " + s.error);
    return out;
  }
  const size_t m = s.unknowns.size();
  line(out, " ADJUSTMENT KEYS (0 = adjusted)");
  {
    std::string keys = " ";
    const int groups[7][2] = {{1, 4}, {5, 8}, {9, 15}, {16, 20}, {21, 25}, {26, 30}, {31, 35}};
    for (int g = 0; g < 7; ++g) {
      if (g > 0) keys += ' ';
      for (int k = groups[g][0]; k <= groups[g][1]; ++k) keys += (k != 30 && p.adjustKeys[k] == '0') ? '0' : '1';
    }
    line(out, keys);
  }
  line(out, "");
  line(out, " IFDER  IFM  IFR    XLAMDA   ISYM");
  line(out, fmtI(p.IFDER, 6) + fmtI(p.IFM, 5) + fmtI(p.IFR, 5) + fmtD(p.XLAMDA, 10, 3) + fmtI(p.ISYM, 7));
  line(out, "");
  line(out, " IFVC1  IFVC2  NLC    KO  KDISK  NPPL");
  line(out, " " + std::to_string(p.IFVC1) + "      " + std::to_string(p.IFVC2) + "      " + std::to_string(p.NLC) +
                fmtI(p.KO, 6) + fmtI(p.KDISK, 7) + fmtI(p.NPPL, 6));
  line(out, "");
  line(out, " JDPHS      HJD0            PERIOD          DPDT        PSHIFT");
  line(out, fmtI(p.JDPHS, 6) + fmtF(p.HJD0, 15, 6) + fmtD(p.PERIOD, 17, 10) + fmtD(p.DPDT, 14, 6) + fmtF(p.PSHIFT, 10, 4));
  line(out, "");
  line(out, "  MODE   IPB  IFAT1 IFAT2   N1   N2  N1L  N2L        PERR0      DPERDT      THE    VUNIT");
  line(out, fmtI(p.MODE, 6) + fmtI(p.IPB, 6) + fmtI(p.IFAT1, 6) + fmtI(p.IFAT2, 6) + fmtI(p.N1, 5) + fmtI(p.N2, 5) +
                fmtI(p.N1L, 5) + fmtI(p.N2L, 5) + fmtF(p.PER, 13, 6) + fmtD(p.DPERDT, 12, 5) + fmtF(p.THE, 9, 5) +
                fmtF(p.VUNIT, 9, 3));
  line(out, "");
  line(out, "     ecc     s-m axis        F1        F2       Vgam       Incl     g1     g2  [M/H]");
  line(out, fmtF(p.E, 9, 6) + fmtD(p.A, 13, 6) + fmtF(p.F1, 10, 4) + fmtF(p.F2, 10, 4) + fmtF(p.VGA, 11, 4) +
                fmtF(p.XINCL, 11, 4) + fmtF(p.GR1, 7, 3) + fmtF(p.GR2, 7, 3) + fmtF(p.MH, 7, 2));
  line(out, "");
  line(out, "   T1      T2    Alb1   Alb2      Pot1         Pot2         M2/M1     x1bol  x2bol  y1bol  y2bol");
  line(out, fmtF(p.T1 / 10000.0, 7, 4) + fmtF(p.T2 / 10000.0, 8, 4) + fmtF(p.ALB1, 7, 3) + fmtF(p.ALB2, 7, 3) +
                fmtD(p.POTH, 13, 6) + fmtD(p.POT2, 13, 6) + fmtD(p.RM, 13, 6) + fmtF(p.XBOL1, 7, 3) +
                fmtF(p.XBOL2, 7, 3) + fmtF(p.YBOL1, 7, 3) + fmtF(p.YBOL2, 7, 3));
  line(out, "");
  if (p.IFVC1 == 1 || p.IFVC2 == 1) {
    std::string h;
    placeAt(h, 1, "band");
    placeAt(h, 12, "L1");
    placeAt(h, 22, "L2");
    placeAt(h, 29, "x1");
    placeAt(h, 36, "x2");
    placeAt(h, 43, "y1");
    placeAt(h, 48, "y2");
    placeAt(h, 52, "opsf");
    placeAt(h, 69, "sigma");
    placeAt(h, 78, "wavel.");
    line(out, " " + h);
    for (int row = 1; row <= 2; ++row) {
      if ((row == 1 ? p.IFVC1 : p.IFVC2) != 1) continue;
      const CurveRow& c = p.curves[row];
      line(out, " " + fmtI(c.band, 3) + fmtF(c.l1, 10, 5) + fmtF(c.l2, 10, 5) + fmtF(c.x1, 7, 3) + fmtF(c.x2, 7, 3) +
                    fmtF(c.y1, 7, 3) + fmtF(c.y2, 7, 3) + fmtD(c.opsf, 10, 3) + fmtD(c.sigma, 12, 5) +
                    fmtF(curveWavelength(c.wavel, c.band), 10, 6));
    }
    line(out, "");
  }
  if (p.NLC > 0) {
    std::string h;
    placeAt(h, 1, "band");
    placeAt(h, 12, "L1");
    placeAt(h, 22, "L2");
    placeAt(h, 28, "x1");
    placeAt(h, 35, "x2");
    placeAt(h, 42, "y1");
    placeAt(h, 49, "y2");
    placeAt(h, 53, "3rd lt");
    placeAt(h, 64, "opsf");
    placeAt(h, 69, "nz");
    placeAt(h, 78, "sigma");
    placeAt(h, 87, "wavel.");
    line(out, " " + h);
    for (int j = 1; j <= p.NLC; ++j) {
      const CurveRow& c = p.curves[j + 2];
      double l2 = c.l2;
      for (const DcCurveSummary& cs : s.curves)
        if (cs.row == j + 2) l2 = cs.l2;
      line(out, " " + fmtI(c.band, 3) + fmtF(c.l1, 10, 5) + fmtF(l2, 10, 5) + fmtF(c.x1, 7, 3) + fmtF(c.x2, 7, 3) +
                    fmtF(c.y1, 7, 3) + fmtF(c.y2, 7, 3) + fmtF(c.el3, 8, 4) + fmtD(c.opsf, 10, 3) + fmtI(c.noise, 2) +
                    fmtD(c.sigma, 12, 5) + fmtF(curveWavelength(c.wavel, c.band), 10, 6));
    }
    line(out, "");
  }
  if (p.IFDER == 1) {
    line(out, " OBSERVATIONS - COMPUTED VALUES - RESIDUALS - DERIVATIVES");
    std::string h = "  row      time/phase      observed      computed      residual    weight";
    for (const DcUnknown& u : s.unknowns) h += padLeft("d/d" + std::to_string(u.param), 13);
    line(out, h);
    for (const DcSolution::Row& r : s.rows) {
      std::string l = fmtI(r.row, 5) + fmtF(r.time, 16, 6) + fmtF(r.observed, 14, 6) + fmtF(r.computed, 14, 6) +
                      fmtF(r.observed - r.computed, 14, 6) + fmt1PE(r.weight, 10, 3);
      for (double d : r.derivative) l += fmt1PE(d, 13, 5);
      line(out, l);
    }
    line(out, "");
  }
  line(out, " RESIDUALS BY CURVE");
  line(out, "  row  points   sum w*res^2      rms residual");
  for (const DcCurveSummary& c : s.curves) {
    double wsum = 0.0;
    for (const DcSolution::Row& r : s.rows)
      if (r.row == c.row) wsum += r.weight;
    const double rms = wsum > 0.0 ? std::sqrt(c.sumWRes / wsum) : 0.0;
    line(out, fmtI(c.row, 5) + fmtI(c.points, 8) + fmt1PE(c.sumWRes, 16, 6) + fmt1PE(rms, 16, 6));
  }
  line(out, "");
  if (p.IFM == 1) {
    line(out, " NORMAL EQUATIONS (matrix | right-hand side)");
    for (size_t j = 0; j < m; ++j) {
      std::string l;
      for (size_t k = 0; k < m; ++k) l += fmtD(s.normalMatrix[j][k], 14, 6);
      l += "  " + fmtD(s.rhs[j], 14, 6);
      line(out, l);
    }
    line(out, "");
  }
  // The heading only with IFM = 1; the rows always, 11 values a line.
  if (p.IFM == 1) {
    line(out, " CORRELATION COEFFICIENTS");
    std::string h = " ";
    for (const DcUnknown& u : s.unknowns) h += padLeft(std::to_string(u.param) + (u.curve ? "/" + std::to_string(u.curve) : ""), 12);
    line(out, h);
  }
  for (size_t j = 0; j < m; ++j) {
    for (size_t first = 0; first < m; first += 11) {
      std::string l = " ";
      for (size_t k = first; k < std::min(m, first + 11); ++k) l += fmtF(s.correlation[j][k], 12, 5);
      line(out, l);
    }
  }
  line(out, "");
  line(out, " Input-Output in F format");
  line(out, "");
  line(out, "No.  Curve         Input         Correction            Output          Std.Dev.");
  for (size_t j = 0; j < m; ++j) {
    const DcUnknown& u = s.unknowns[j];
    line(out, fmtI(u.param, 2) + "      " + fmtI(u.curve, 1) + fmt1PE(u.input, 18, 10) + fmt1PE(s.correction[j], 18, 10) +
                  fmt1PE(u.input + s.correction[j], 18, 10) + fmt1PE(s.stdDev[j], 18, 10));
  }
  line(out, "");
  line(out, "   Sum(W*Res**2) for input values   Sum(W*Res**2) predicted");
  {
    std::string a = fmt1PE(s.sumWResInput, 1, 10), b = fmt1PE(s.sumWResPredicted, 1, 10);
    line(out, "  " + padRight(a, 27) + padLeft(b, 20));
  }
  line(out, "");
  line(out, "  observations " + std::to_string(s.observationCount) + "   unknowns " + std::to_string(m) +
                "   Marquardt lambda " + num(p.XLAMDA));
  // The radii block, with its DOM1/DQ line, only with IFR = 1.
  if (p.IFR == 1) {
    line(out, "");
    line(out, " STELLAR RADII (volume-equivalent spheres; units of the semi-major axis)");
    line(out, "  star      radius      potential   inner crit.");
    line(out, fmtI(1, 6) + fmtF(s.r1, 12, 6) + fmtD(s.pot1, 14, 6) + fmtD(s.crit1, 14, 6));
    line(out, fmtI(2, 6) + fmtF(s.r2, 12, 6) + fmtD(s.pot2, 14, 6) + fmtD(s.crit2, 14, 6));
    line(out, "");
    line(out, " DOM1/DQ =" + fmtD(s.dom1dq, 15, 7) + "   DOM2/DQ =" + fmtD(s.dom2dq, 15, 7));
  }
  return out;
}

}  // namespace tavrin::standin
