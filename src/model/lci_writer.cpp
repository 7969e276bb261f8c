#include "model/lci_writer.h"

#include <cmath>
#include <stdexcept>

#include "model/critical_potentials.h"
#include "model/number_fields.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin {

namespace {
constexpr const char* kEol = "\r\n";

double fileValue(const RecordField& f, const Slot& s) {
  const double v = s.i ? *s.i : s.d ? *s.d : leadingNumber(*s.numberText);
  return f.unit == Unit::TenThousandKelvin ? v / 10000.0 : v;
}

template <typename T>
std::string recordTextOf(RecordLayout r, const T& target) {
  std::string out;
  T& t = const_cast<T&>(target);  // the slots are only read
  for (const RecordField& f : r) detail::appendField(out, f, f.name.empty() ? Slot{} : slotOf(t, f.name));
  return out;
}
}  // namespace

namespace detail {

std::string fx(double x, int width, int decimals) {
  if (!std::isfinite(x)) throwError(kErrOverflow);
  return fixedField(x, width, decimals);
}

std::string ex(double x, int width, int digits) {
  if (!std::isfinite(x)) throwError(kErrOverflow);
  return expField(x, width, digits);
}

void appendField(std::string& out, const RecordField& f, const Slot& s) {
  const Form& w = f.written;
  switch (w.kind) {
    case FormKind::Blank:
      out.append(static_cast<size_t>(w.w), ' ');
      return;
    case FormKind::Keys:
      // Key 30 names no parameter; DC expects it held.
      for (int k = s.firstKey; k < s.firstKey + w.w; ++k) out += k == 30 ? '1' : s.keys[k];
      return;
    case FormKind::Text:
      // A line end in the name would split the record and shift every line after it.
      if (s.text->find_first_of("\r\n") != std::string::npos) throwError(kErrBadFileName64);
      out += ' ';
      out += *s.text;
      return;
    case FormKind::Int:
      out += intField(static_cast<int>(fileValue(f, s)), w.w, " ");
      return;
    case FormKind::Fixed:
      out += fx(fileValue(f, s), w.w, w.d);
      return;
    case FormKind::Exp:
      out += ex(fileValue(f, s), w.w, w.d);
      return;
    default:
      throw std::logic_error("record field without a written form: " + std::string(f.name));
  }
}

std::string recordText(RecordLayout r, const ParameterSet& p) { return recordTextOf(r, p); }
std::string recordText(RecordLayout r, const CurveRow& c) { return recordTextOf(r, c); }

std::string spotRecords(const ParameterSet& p, RecordLayout spotLine) {
  std::string out;
  for (int star = 1; star <= 2; ++star) {
    const int count = p.spotCount[star];
    if (count < 0 || count > kMaxSpotsPerStar) throwError(kErrSubscript);
    for (int n = 1; n <= count; ++n) {
      out += recordTextOf(spotLine, p.spots[star][n]);
      out += kEol;
    }
    out += "300.";
    out += kEol;
  }
  return out;
}

}  // namespace detail

std::string lciText(const ParameterSet& p) {
  const FileLayout& layout = lciLayout(Layout::Current);
  std::string out;
  out.reserve(1024);
  for (const RecordLayout r : layout.records) {
    out += detail::recordText(r, p);
    out += kEol;
  }
  out += detail::spotRecords(p, layout.spot);
  out += "150.";
  out += kEol;
  out += "9";
  out += kEol;
  return out;
}

SaveOutcome writeChecked(ParameterSet& p, InputFileKind kind, const std::string& path, const std::string& text) {
  SaveOutcome outcome;
  const PotentialCheck check = checkPotentials(p, kind);
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

SaveOutcome saveLci(ParameterSet& p, const std::string& path) {
  // The overcontact modes tie star 2's potential to star 1's.
  if (p.MODE == 1 || p.MODE == 3) p.POT2 = p.POTH;

  // The records keep the values as they are now; a snap by the checks
  // reaches the file only at the next save.
  const std::string text = lciText(p);

  return writeChecked(p, InputFileKind::LCI, path, text);
}

}  // namespace tavrin
