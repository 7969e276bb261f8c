#include "model/dc_parameters.h"

namespace tavrin {

namespace {
using P = ParameterSet;
constexpr double kDeg = DEG_PER_RAD;

DcParameterInfo row(int n, int box, std::string_view name, std::string_view label, std::string_view caption) {
  DcParameterInfo r;
  r.number = n;
  r.incrementBox = box;
  r.name = name;
  r.label = label;
  r.caption = caption;
  return r;
}

DcParameterInfo spotRow(int n, int box, std::string_view name, std::string_view label, std::string_view caption,
                        double Spot::*field, double scale) {
  DcParameterInfo r = row(n, box, name, label, caption);
  r.spot = field;
  r.displayScale = scale;
  return r;
}

DcParameterInfo scalarRow(int n, int box, std::string_view name, std::string_view label, std::string_view caption,
                          double P::*member, double setPerDcUnit = 1.0) {
  DcParameterInfo r = row(n, box, name, label, caption);
  r.keyColoursLabel = true;
  r.scalar = member;
  r.setPerDcUnit = setPerDcUnit;
  r.displayScale = setPerDcUnit;
  return r;
}

DcParameterInfo curveRow(int n, int box, std::string_view name, std::string_view label, std::string_view caption,
                         double CurveRow::*field, bool keyColoursLabel = false) {
  DcParameterInfo r = row(n, box, name, label, caption);
  r.keyColoursLabel = keyColoursLabel;
  r.curve = field;
  return r;
}

std::vector<DcParameterInfo> makeTable() {
  return {
    spotRow(1, 1, "XLAT A", "SpLat A", "Spot Latitude", &Spot::xlat, kDeg),
    spotRow(2, 2, "XLONG A", "SpLng A", "Spot Longitude", &Spot::xlong, kDeg),
    spotRow(3, 3, "RADSP A", "SpRad A", "Spot Radius", &Spot::radsp, kDeg),
    spotRow(4, 4, "TEMSP A", "SpTmF A", "Temperature Factor", &Spot::temsp, 1.0),
    spotRow(5, 5, "XLAT B", "SpLat B", "Spot Latitude", &Spot::xlat, kDeg),
    spotRow(6, 6, "XLONG B", "SpLng B", "Spot Longitude", &Spot::xlong, kDeg),
    spotRow(7, 7, "RADSP B", "SpRad B", "Spot Radius", &Spot::radsp, kDeg),
    spotRow(8, 8, "TEMSP B", "SpTmF B", "Temperature Factor", &Spot::temsp, 1.0),
    scalarRow(9, 0, "A", "SmAxis", "Semi-major Axis", &P::A),
    scalarRow(10, 9, "E", "Eccen", "Eccentricity", &P::E),
    scalarRow(11, 10, "PER", "ArgPer", "Arg. Periastron", &P::PER),
    scalarRow(12, 11, "F1", "F1", "F1 (star1 rotation)", &P::F1),
    scalarRow(13, 12, "F2", "F2", "F2 (star2 rotation)", &P::F2),
    scalarRow(14, 13, "PSHIFT", "PfShift", "Phase Shift", &P::PSHIFT),
    scalarRow(15, 0, "VGA", "Vgamma", "V gamma", &P::VGA),
    scalarRow(16, 14, "XINCL", "Inclin.", "Inclination", &P::XINCL),
    scalarRow(17, 15, "GR1", "g1", "g1 (grav. darkening)", &P::GR1),
    scalarRow(18, 16, "GR2", "g2", "g2 (grav. darkening)", &P::GR2),
    scalarRow(19, 17, "T1", "T1", "T1 (star 1 temperature)", &P::T1, 10000.0),
    scalarRow(20, 18, "T2", "T2", "T2 (star 2 temperature)", &P::T2, 10000.0),
    scalarRow(21, 19, "ALB1", "Alb 1", "Star 1 albedo", &P::ALB1),
    scalarRow(22, 20, "ALB2", "Alb 2", "Star 2 Albedo", &P::ALB2),
    scalarRow(23, 21, "POTH", "Pot'l 1", "Star 1 Potential", &P::POTH),
    scalarRow(24, 22, "POT2", "Pot'l 2", "Star 2 Potential", &P::POT2),
    scalarRow(25, 23, "RM", "M2 / M1", "M2 / M1", &P::RM),
    scalarRow(26, 0, "HJD0", "JDzero", "J.D. zero", &P::HJD0),
    scalarRow(27, 0, "PERIOD", "Period", "Period", &P::PERIOD),
    scalarRow(28, 0, "DPDT", "dP/dt", "dP/ dt", &P::DPDT),
    scalarRow(29, 0, "DPERDT", "dPer/dt", "dPer / dt", &P::DPERDT),
    curveRow(31, 24, "L1", "L1", "L1 (star 1 Luminosity)", &CurveRow::l1),
    curveRow(32, 25, "L2", "L2", "L2 (star 2 Luminosity)", &CurveRow::l2),
    curveRow(33, 26, "X1", "x1", "X1 (star 1 limb darkening)", &CurveRow::x1),
    curveRow(34, 27, "X2", "x2", "X2 (star 2 limb darkening)", &CurveRow::x2),
    curveRow(35, 0, "EL3", "EL3", "EL3 (Third Light)", &CurveRow::el3, true),
  };
}

DcParameterInfo unusedRow() {
  DcParameterInfo r;
  r.label = "       ";
  return r;
}
}  // namespace

// Built on first use: other files' static tables are made from it.
const std::vector<DcParameterInfo>& dcParameterTable() {
  static const std::vector<DcParameterInfo> table = makeTable();
  return table;
}

const DcParameterInfo& dcParameterInfo(int param) {
  static const DcParameterInfo none;
  static const DcParameterInfo thirty = unusedRow();
  if (param == 30) return thirty;
  if (param < 1 || param > kDcParameters) return none;
  return dcParameterTable()[static_cast<size_t>(param < 30 ? param - 1 : param - 2)];
}

std::string dcParameterLabel(int param) { return std::string(dcParameterInfo(param).label); }

double dcDisplayScale(int param) { return dcParameterInfo(param).displayScale; }

const ScalarField* dcParameterEditorField(int param) {
  const DcParameterInfo& info = dcParameterInfo(param);
  return info.scalar ? findScalarField(info.name) : nullptr;
}

std::string_view dcParameterKeyLabel(int param) {
  const DcParameterInfo& info = dcParameterInfo(param);
  if (!info.keyColoursLabel) return {};
  const ScalarField* f = findScalarField(info.name);
  return f ? f->label : std::string_view();
}

double* dcParameterSlot(ParameterSet& p, int param, int curve) {
  const DcParameterInfo& info = dcParameterInfo(param);
  if (info.scalar) return &(p.*info.scalar);
  if (info.spot) {
    const bool b = param >= 5;
    const int star = b ? p.spotBStar : p.spotAStar;
    const int n = b ? p.spotBNumber : p.spotANumber;
    if (star < 1 || star > 2 || n < 1 || n > kMaxSpotsPerStar) return nullptr;
    return &(p.spots[static_cast<size_t>(star)][static_cast<size_t>(n)].*info.spot);
  }
  if (info.curve) {
    const int row = curve + 2;
    if (row < 1 || row > kCurveRows) return nullptr;
    return &(p.curves[static_cast<size_t>(row)].*info.curve);
  }
  return nullptr;
}

}  // namespace tavrin
