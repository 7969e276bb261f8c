#include "output/corrections.h"

#include <algorithm>
#include <cmath>

#include "model/number_fields.h"
#include "shell/errors.h"

namespace tavrin {

namespace {

struct Form {
  enum Kind { Fixed, Left, Exp } kind;
  int width;
  int decimals;
};

std::string formText(double x, Form f) {
  switch (f.kind) {
    case Form::Fixed: return fixedField(x, f.width, f.decimals);
    case Form::Left: return leftOfPlain(x, f.width);
    case Form::Exp: return expField(x, f.width, f.decimals);
  }
  return {};
}

// The scalars DC adjusts (parameters 9..29), their fields, and the forms an
// Update and a revert show them in.
struct ScalarRow {
  double ParameterSet::*field;
  const char* control;
  Form update;
  Form revert;
};

const ScalarRow kScalars[21] = {
    {&ParameterSet::A, "Text35", {Form::Fixed, 8, 3}, {Form::Fixed, 10, 4}},
    {&ParameterSet::E, "Text34", {Form::Fixed, 6, 3}, {Form::Fixed, 6, 3}},
    {&ParameterSet::PER, "Text30", {Form::Fixed, 7, 3}, {Form::Fixed, 13, 6}},
    {&ParameterSet::F1, "Text36", {Form::Fixed, 6, 3}, {Form::Fixed, 10, 4}},
    {&ParameterSet::F2, "Text37", {Form::Fixed, 6, 3}, {Form::Fixed, 10, 4}},
    {&ParameterSet::PSHIFT, "Text13", {Form::Fixed, 8, 4}, {Form::Fixed, 10, 4}},
    {&ParameterSet::VGA, "Text38", {Form::Fixed, 7, 3}, {Form::Fixed, 10, 4}},
    {&ParameterSet::XINCL, "Text39", {Form::Fixed, 7, 3}, {Form::Fixed, 9, 3}},
    {&ParameterSet::GR1, "Text40", {Form::Fixed, 6, 3}, {Form::Fixed, 7, 3}},
    {&ParameterSet::GR2, "Text41", {Form::Fixed, 6, 3}, {Form::Fixed, 7, 3}},
    {&ParameterSet::T1, "Text42", {Form::Fixed, 7, 1}, {Form::Fixed, 7, 4}},
    {&ParameterSet::T2, "Text43", {Form::Fixed, 7, 1}, {Form::Fixed, 8, 4}},
    {&ParameterSet::ALB1, "Text44", {Form::Fixed, 6, 3}, {Form::Fixed, 7, 3}},
    {&ParameterSet::ALB2, "Text45", {Form::Fixed, 6, 3}, {Form::Fixed, 7, 3}},
    {&ParameterSet::POTH, "Text46", {Form::Left, 7, 0}, {Form::Left, 7, 0}},
    {&ParameterSet::POT2, "Text47", {Form::Left, 7, 0}, {Form::Left, 7, 0}},
    {&ParameterSet::RM, "Text48", {Form::Fixed, 8, 5}, {Form::Fixed, 10, 5}},
    {&ParameterSet::HJD0, "Text10", {Form::Fixed, 15, 6}, {Form::Fixed, 15, 6}},
    {&ParameterSet::PERIOD, "Text11", {Form::Left, 8, 0}, {Form::Left, 8, 0}},
    {&ParameterSet::DPDT, "Text12", {Form::Left, 6, 0}, {Form::Left, 6, 0}},
    {&ParameterSet::DPERDT, "Text31", {Form::Exp, 12, 5}, {Form::Fixed, 13, 6}},
};

const char* const kLabels[36] = {
    "",        "SpLat A", "SpLng A", "SpRad A", "SpTmF A", "SpLat B", "SpLng B", "SpRad B", "SpTmF B",
    "SmAxis",  "Eccen",   "ArgPer",  "F1",      "F2",      "PfShift", "Vgamma",  "Inclin.", "g1",
    "g2",      "T1",      "T2",      "Alb 1",   "Alb 2",   "Pot'l 1", "Pot'l 2", "M2 / M1", "JDzero",
    "Period",  "dP/dt",   "dPer/dt", "       ", "L1",      "L2",      "x1",      "x2",      "EL3"};

// Display scale of a parameter's values: spot angles in degrees, temperatures in kelvin.
double displayScale(int param) {
  switch (param) {
    case 1: case 2: case 3: case 5: case 6: case 7: return DEG_PER_RAD;
    case 19: case 20: return 10000.0;
    default: return 1.0;
  }
}

Spot* spotOf(ParameterSet& p, bool spotB) {
  const int star = spotB ? p.spotBStar : p.spotAStar;
  const int n = spotB ? p.spotBNumber : p.spotANumber;
  if (star < 1 || star > 2 || n < 1 || n > kMaxSpotsPerStar) return nullptr;
  return &p.spots[star][n];
}

// The value parameter `param` of a row with curve `curve` names, or nullptr.
double* parameterSlot(ParameterSet& p, int param, int curve) {
  if (param >= 1 && param <= 8) {
    Spot* s = spotOf(p, param >= 5);
    if (!s) return nullptr;
    switch ((param - 1) % 4) {
      case 0: return &s->xlat;
      case 1: return &s->xlong;
      case 2: return &s->radsp;
      default: return &s->temsp;
    }
  }
  if (param >= 9 && param <= 29) return &(p.*kScalars[param - 9].field);
  if (param >= 31 && param <= 35) {
    const int row = curve + 2;
    if (row < 1 || row > kCurveRows) return nullptr;
    CurveRow& c = p.curves[row];
    switch (param) {
      case 31: return &c.l1;
      case 32: return &c.l2;
      case 33: return &c.x1;
      case 34: return &c.x2;
      default: return &c.el3;
    }
  }
  return nullptr;
}

}  // namespace

std::string dcParameterLabel(int param) { return param >= 1 && param <= 35 ? kLabels[param] : std::string(); }

IoParmsView ioParmsView(const DcResults& r, const UpdateDone& done, const std::string& dcoName) {
  IoParmsView v;
  v.caption = "I/O Parms - " + dcoName;
  for (int i = 1; i <= kIoParmsRows; ++i) {
    IoParmsRow& row = v.rows[i];
    const DcIoRow& io = r.ioRows[i];
    row.button = done[i] ? "Done" : "Update";
    // Label and units follow the row's own parameter: a per-curve parameter
    // adjusted for several curves has one row per curve but one key, so the
    // key list would put later rows under the wrong names.
    row.label = dcParameterLabel(io.param);
    row.param = intField(io.param, 1, " ");
    row.curve = intField(io.curve, 2, " ");
    const double s = displayScale(io.param);
    row.input = fixedField(io.input * s, 10, 7);
    row.correction = fixedField(io.correction * s, 6, 4);
    row.stdDev = fixedField(io.stdDev * s, 6, 4);
    row.output = fixedField(io.output * s, 10, 75);
    row.visible = row.param != "0";
  }
  v.sumInput = fixedField(r.sumWResInput, 8, 5);
  v.sumPredicted = fixedField(r.sumWResPredicted, 8, 5);
  return v;
}

CorrelView correlView(const DcResults& r, const std::string& dcoName) {
  CorrelView v;
  v.caption = "Correlations - " + dcoName;
  for (int row = 1; row <= kCorrelShown; ++row)
    for (int col = 1; col <= kCorrelShown; ++col) v.cells[row][col] = r.correlation[row][col];
  const int shown = std::min<int>(r.adjustedCount, kCorrelShown);
  for (int i = 1; i <= shown; ++i) v.labels[i] = dcParameterLabel(r.adjustedParams[i]);
  return v;
}

std::optional<FieldText> applyCorrection(ParameterSet& p, const DcResults& r, int i, UpdateDone& done) {
  if (i < 1 || i > kIoParmsRows || done[i]) return std::nullopt;
  const DcIoRow& io = r.ioRows[i];
  std::optional<FieldText> field;
  if (double* slot = parameterSlot(p, io.param, io.curve)) {
    const double delta = io.param == 19 || io.param == 20 ? io.correction * 10000.0 : io.correction;
    const double value = *slot + delta;
    if (!std::isfinite(value)) throwError(kErrOverflow);
    if (io.param >= 9 && io.param <= 29) {
      const ScalarRow& s = kScalars[io.param - 9];
      field = FieldText{s.control, formText(value, s.update)};
    }
    *slot = value;
  }
  done[i] = true;
  return field;
}

std::vector<FieldText> revertParameters(ParameterSet& p, ParameterHistory& h) {
  h.revert(p);
  std::vector<FieldText> fields;
  for (const ScalarRow& s : kScalars) fields.push_back({s.control, formText(p.*s.field, s.revert)});
  return fields;
}

}  // namespace tavrin
