#include "model/dci_writer.h"

#include <cmath>

#include "model/critical_potentials.h"
#include "model/number_fields.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin {

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

void appendObservationBlock(std::string& out, const CurveRow& c, int perLine, RecordLayout point) {
  const int n = static_cast<int>(c.points.size());
  // n rounded up to a multiple of the points per line; n = 0 gives 0.
  const double rounded = (std::floor((static_cast<double>(n) - 1.0) / perLine) + 1.0) * perLine;
  if (rounded > kMaxObservationPoints) throwError(kErrSubscript);
  const int r = static_cast<int>(rounded);
  // Found once: a block holds up to 9000 points.
  std::vector<double ObservationPoint::*> members;
  for (const RecordField& f : point) members.push_back(f.name.empty() ? nullptr : pointMember(f.name));
  for (int k = 1; k <= r; k += perLine) {
    for (int i = k; i < k + perLine; ++i) {
      ObservationPoint pt = i <= n ? c.points[static_cast<size_t>(i - 1)] : ObservationPoint{};
      for (size_t j = 0; j < point.size(); ++j)
        detail::appendField(out, point[j], members[j] ? Slot{.d = &(pt.*members[j])} : Slot{});
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
  const FileLayout& layout = dciLayout(Layout::Current);
  std::vector<std::string> rec;
  rec.reserve(layout.records.size() + rows.size());
  for (const RecordLayout r : layout.records) rec.push_back(detail::recordText(r, p));
  for (int row : rows)
    rec.push_back(detail::recordText(row <= 2 ? layout.velocityCurve : layout.lightCurve, p.curves[row]));
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
  out += detail::spotRecords(p, dciLayout(Layout::Current).spot);
  out += "150.";
  out += kEol;
  for (int row : curveRowsInUse(p))
    appendObservationBlock(out, p.curves[row], p.NPPL, dciLayout(Layout::Current).point);
  return out;
}

SaveOutcome saveDci(ParameterSet& p, const std::string& path) {
  // The records keep the values as they are now; a snap by the checks
  // reaches the file only at the next save.
  const std::string text = dciText(p);
  const std::vector<std::string> records = dciRecords(p);
  for (size_t i = 0; i < records.size() && i + 1 < p.storedDciRecords.size(); ++i)
    p.storedDciRecords[i + 1] = records[i];

  return writeChecked(p, InputFileKind::DCI, path, text);
}

}  // namespace tavrin
