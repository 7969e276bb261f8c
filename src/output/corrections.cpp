#include "output/corrections.h"

#include <algorithm>
#include <cmath>

#include "model/number_fields.h"
#include "model/record_layouts.h"
#include "shell/errors.h"

namespace tavrin {

namespace {

// The forms an Update and a revert show the scalars DC adjusts in
// (parameters 9..29, in number order).
struct ScalarForms {
  Form update;
  Form revert;
};

const ScalarForms kScalarForms[21] = {
    {{FormKind::Fixed, 8, 3}, {FormKind::Fixed, 10, 4}},  // A
    {{FormKind::Fixed, 6, 3}, {FormKind::Fixed, 6, 3}},  // E
    {{FormKind::Fixed, 7, 3}, {FormKind::Fixed, 13, 6}},  // PER
    {{FormKind::Fixed, 6, 3}, {FormKind::Fixed, 10, 4}},  // F1
    {{FormKind::Fixed, 6, 3}, {FormKind::Fixed, 10, 4}},  // F2
    {{FormKind::Fixed, 8, 4}, {FormKind::Fixed, 10, 4}},  // PSHIFT
    {{FormKind::Fixed, 7, 3}, {FormKind::Fixed, 10, 4}},  // VGA
    {{FormKind::Fixed, 7, 3}, {FormKind::Fixed, 9, 3}},  // XINCL
    {{FormKind::Fixed, 6, 3}, {FormKind::Fixed, 7, 3}},  // GR1
    {{FormKind::Fixed, 6, 3}, {FormKind::Fixed, 7, 3}},  // GR2
    {{FormKind::Fixed, 7, 1}, {FormKind::Fixed, 7, 4}},  // T1
    {{FormKind::Fixed, 7, 1}, {FormKind::Fixed, 8, 4}},  // T2
    {{FormKind::Fixed, 6, 3}, {FormKind::Fixed, 7, 3}},  // ALB1
    {{FormKind::Fixed, 6, 3}, {FormKind::Fixed, 7, 3}},  // ALB2
    {{FormKind::Left, 7, 0}, {FormKind::Left, 7, 0}},  // POTH
    {{FormKind::Left, 7, 0}, {FormKind::Left, 7, 0}},  // POT2
    {{FormKind::Fixed, 8, 5}, {FormKind::Fixed, 10, 5}},  // RM
    {{FormKind::Fixed, 15, 6}, {FormKind::Fixed, 15, 6}},  // HJD0
    {{FormKind::Left, 8, 0}, {FormKind::Left, 8, 0}},  // PERIOD
    {{FormKind::Left, 6, 0}, {FormKind::Left, 6, 0}},  // DPDT
    {{FormKind::Exp, 12, 5}, {FormKind::Fixed, 13, 6}},  // DPERDT
};

}  // namespace

std::string dcUnknownLabel(const DcUnknown& u) {
  std::string s = dcParameterLabel(u.param);
  if (u.curve != 0 && isPerCurveParameter(u.param)) s += " (" + std::to_string(u.curve) + ")";
  return s;
}

namespace {
// A value as the windows show it: a failed solution's NaN stays visible as such.
std::string shown(double x, int width, int decimals) {
  return std::isfinite(x) ? fixedField(x, width, decimals) : std::string(x != x ? "NaN" : "Infinity");
}
}  // namespace

IoParmsView ioParmsView(const DcResults& r, const UpdateDone& done, const std::string& dcoName) {
  IoParmsView v;
  v.caption = "I/O Parms - " + dcoName;
  v.failure = r.failure;
  for (size_t i = 0; i < r.ioRows.size(); ++i) {
    const DcIoRow& io = r.ioRows[i];
    IoParmsRow row;
    const bool isDone = i < done.size() && done[i];
    row.button = isDone ? "Done" : "Update";
    row.updatable = !r.failed();
    // Label and units follow the row's own unknown.
    row.label = dcUnknownLabel({io.param, io.curve});
    row.param = intField(io.param, 1, " ");
    row.curve = intField(io.curve, 2, " ");
    const double s = dcDisplayScale(io.param);
    row.input = shown(io.input * s, 10, 7);
    row.correction = shown(io.correction * s, 6, 4);
    row.stdDev = shown(io.stdDev * s, 6, 4);
    row.output = shown(io.output * s, 10, 75);
    v.rows.push_back(row);
  }
  v.sumInput = shown(r.sumWResInput, 8, 5);
  v.sumPredicted = shown(r.sumWResPredicted, 8, 5);
  return v;
}

CorrelView correlView(const DcResults& r, const std::string& dcoName) {
  CorrelView v;
  v.caption = "Correlations - " + dcoName;
  if (r.correlation.empty()) {
    if (!r.unknowns.empty()) v.note = "This report printed no correlation matrix.";
    return v;
  }
  for (const DcUnknown& u : r.unknowns) v.labels.push_back(dcUnknownLabel(u));
  for (const auto& row : r.correlation) {
    std::vector<std::string> cells;
    for (double x : row) cells.push_back(shown(x, 9, 5));
    v.cells.push_back(std::move(cells));
  }
  return v;
}

std::optional<std::string> dcParameterControl(int param) {
  if (const ScalarField* f = dcParameterEditorField(param)) return std::string(f->control);
  return std::nullopt;
}

namespace {
// The row's value after its correction (times `damping`), in the set's units.
double corrected(double current, const DcIoRow& io, double damping) {
  const double delta = io.correction * dcParameterInfo(io.param).setPerDcUnit * damping;
  const double value = current + delta;
  if (!std::isfinite(value)) throwError(kErrOverflow);
  return value;
}

std::optional<FieldText> fieldOf(int param, double value) {
  if (param < 9 || param > 29) return std::nullopt;
  return FieldText{std::string(dcParameterEditorField(param)->control), shownText(value, kScalarForms[param - 9].update)};
}
}  // namespace

std::optional<FieldText> applyCorrection(ParameterSet& p, const DcResults& r, size_t i, UpdateDone& done) {
  if (i >= r.ioRows.size() || r.failed()) return std::nullopt;
  if (done.size() < r.ioRows.size()) done.resize(r.ioRows.size(), false);
  if (done[i]) return std::nullopt;
  const DcIoRow& io = r.ioRows[i];
  std::optional<FieldText> field;
  if (double* slot = dcParameterSlot(p, io.param, io.curve)) {
    const double value = corrected(*slot, io, 1.0);
    field = fieldOf(io.param, value);
    *slot = value;
  }
  done[i] = true;
  return field;
}

std::vector<size_t> pendingRows(const DcResults& r, const UpdateDone& done) {
  std::vector<size_t> rows;
  for (size_t i = 0; i < r.ioRows.size(); ++i)
    if (i >= done.size() || !done[i]) rows.push_back(i);
  return rows;
}

std::vector<FieldText> applyAllCorrections(ParameterSet& p, const DcResults& r, UpdateDone& done, double damping) {
  std::vector<FieldText> fields;
  if (r.failed()) return fields;
  // Worked out on a copy, so that an overflow anywhere leaves the set as it was.
  ParameterSet q = p;
  for (size_t i = 0; i < r.ioRows.size(); ++i) {
    if (i < done.size() && done[i]) continue;
    const DcIoRow& io = r.ioRows[i];
    if (double* slot = dcParameterSlot(q, io.param, io.curve)) {
      *slot = corrected(*slot, io, damping);
      if (auto f = fieldOf(io.param, *slot)) fields.push_back(*f);
    }
  }
  p = std::move(q);
  done.assign(r.ioRows.size(), true);
  return fields;
}

std::optional<FieldText> dcParameterField(int param, double value) { return fieldOf(param, value); }

std::vector<FieldText> revertParameters(ParameterSet& p, ParameterHistory& h) {
  h.revert(p);
  std::vector<FieldText> fields;
  for (int param = 9; param <= 29; ++param) {
    const double value = p.*dcParameterInfo(param).scalar;
    fields.push_back({std::string(dcParameterEditorField(param)->control), shownText(value, kScalarForms[param - 9].revert)});
  }
  return fields;
}

}  // namespace tavrin
