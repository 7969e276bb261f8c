#include "example_system.h"

#include <charconv>
#include <cmath>

#include "noise.h"
#include "standin.h"

namespace tavrin::standin {

namespace {

std::string fixed(double x, int decimals) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr);
}

double roundTo(double x, int decimals) {
  const double s = std::pow(10.0, decimals);
  return std::nearbyint(x * s) / s;
}

}  // namespace

ParameterSet exampleTruth() {
  ParameterSet p;
  p.MPAGE = 1;
  p.LD = 2;
  p.JDPHS = 2;
  p.HJD0 = 2458000.5;
  p.PERIOD = 2.5;
  p.DPDT = 0.0;
  p.PSHIFT = 0.0;
  p.FRACSD = 0.0;
  p.NOISE = 0;
  p.SEED = 138472375.0;
  p.JDSTART = 2458000.5;
  p.JDSTOP = 2458003.0;
  p.JDINCR = 0.005;
  p.PHSTRT = -0.1;
  p.PHSTOP = 1.1;
  p.PHIN = 0.002;
  p.PHN = 0.25;
  p.MODE = 2;
  p.IPB = 0;
  p.PER = 1.570796;
  p.DPERDT = 0.0;
  p.VUNIT = 1.0;
  p.E = 0.0;
  p.A = 10.0;
  p.F1 = 1.0;
  p.F2 = 1.0;
  p.VGA = 15.0;
  p.XINCL = 86.0;
  p.T1 = 6500.0;
  p.T2 = 5200.0;
  p.POTH = 5.0;
  p.POT2 = 5.2;
  p.RM = 0.8;
  p.BAND = 7;
  p.WAVEL = 0.55;
  p.L1 = 0.75;
  p.L2 = 0.0;
  p.X1 = 0.62;
  p.X2 = 0.68;
  p.Y1 = 0.25;
  p.Y2 = 0.25;
  p.EL3 = 0.0;
  return p;
}

ParameterSet exampleWithObservations() {
  ParameterSet p = exampleTruth();
  p.IFVC1 = 1;
  p.IFVC2 = 1;
  p.velocityCurveCount = 2;
  p.NLC = 2;
  p.NPPL = 1;
  p.ISYM = 1;
  p.IFDER = 0;
  p.IFM = 1;
  p.IFR = 1;
  p.XLAMDA = 0.001;
  for (int row = 1; row <= 2; ++row) {
    CurveRow& c = p.curves[row];
    c.band = 7;
    c.wavel = 0.55;
    c.sigma = 2.0;
    c.dataFile = row == 1 ? kExampleRv1File : kExampleRv2File;
    for (int i = 0; i < 25; ++i) c.points.push_back({0.02 + 0.04 * i, 0.0, 1.0});
  }
  CurveRow& b = p.curves[3];
  b.band = 6;
  b.wavel = 0.44;
  b.l1 = 0.70;
  b.x1 = 0.75;
  b.x2 = 0.80;
  b.y1 = 0.20;
  b.y2 = 0.20;
  b.sigma = 0.004;
  b.dataFile = kExampleLightBFile;
  CurveRow& v = p.curves[4];
  v.band = 7;
  v.wavel = 0.55;
  v.l1 = 0.75;
  v.x1 = 0.62;
  v.x2 = 0.68;
  v.y1 = 0.25;
  v.y2 = 0.25;
  v.sigma = 0.004;
  v.dataFile = kExampleLightVFile;
  for (int row = 3; row <= 4; ++row)
    for (int i = 0; i < 400; ++i) p.curves[row].points.push_back({roundTo(0.0025 * i, 5), 0.0, 1.0});

  // Computed values in DC order, then noise of each curve's sigma, rounded
  // to the four decimals the DC input carries.
  const std::vector<double> computed = dcComputed(p);
  NormalNoise noise(20240611.0);
  size_t k = 0;
  for (int row : {1, 2, 3, 4}) {
    CurveRow& c = p.curves[row];
    for (ObservationPoint& pt : c.points) pt.value = roundTo(computed[k++] + c.sigma * noise.next(), 4);
  }
  return p;
}

ParameterSet exampleDcStart() {
  ParameterSet p = exampleWithObservations();
  p.XINCL = 82.0;
  p.POTH = 5.35;
  p.T2 = 4800.0;
  p.curves[3].l1 = 0.62;
  p.curves[4].l1 = 0.66;
  p.adjustKeys = ParameterSet::defaultAdjustKeys();
  for (int k : {16, 20, 23, 31}) p.adjustKeys[k] = '0';
  p.adjustedParams = {16, 20, 23, 31};
  return p;
}

std::string observationCsv(const CurveRow& c) {
  std::string s;
  for (const ObservationPoint& pt : c.points) s += fixed(pt.time, 5) + "," + fixed(pt.value, 4) + "," + fixed(pt.weight, 2) + "\r\n";
  return s;
}

}  // namespace tavrin::standin
