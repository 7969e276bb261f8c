#include "output/lco_reader.h"

#include <algorithm>

#include "model/number_fields.h"
#include "output/report_text.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin {

namespace {

using report::mid;
using report::number;
using report::trim;

// The LCO is read item by item: a line, or the part of a line up to a comma,
// with its leading blanks removed.
class Items {
 public:
  explicit Items(const std::string& text) {
    for (const std::string& line : report::splitLines(text)) {
      size_t start = 0;
      for (;;) {
        size_t comma = line.find(',', start);
        items_.push_back(report::leftTrim(std::string_view(line).substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    }
  }
  bool atEnd() const { return next_ >= items_.size(); }
  const std::string& read() {
    if (atEnd()) throwError(kErrPastEndOfFile);
    return items_[next_++];
  }
  // Reads until the first n characters, trimmed, satisfy pred.
  template <class Pred>
  void seek(int n, Pred pred) {
    for (;;) {
      if (pred(trim(mid(read(), 1, n)))) return;
    }
  }

 private:
  std::vector<std::string> items_;
  size_t next_ = 0;
};

bool startsWith(const std::string& s, std::string_view prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

}  // namespace

ComputedCurve parseLco(const std::string& text) {
  ComputedCurve c;
  Items in(text);

  in.seek(9, [](const std::string& s) { return startsWith(s, "mpage"); });
  c.page = static_cast<int16_t>(report::int16(mid(in.read(), 1, 1)));

  in.seek(6, [](const std::string& s) { return startsWith(s, "MODE"); });
  {
    const std::string& v = in.read();
    // A negative mode keeps its sign rather than reading as 0.
    c.mode = static_cast<int16_t>(report::int16(mid(v, 1, !v.empty() && v[0] == '-' ? 2 : 1)));
  }

  in.seek(9, [](const std::string& s) { return startsWith(s, "ecc"); });
  c.inclination = number(mid(in.read(), 53, 11));

  in.read();
  in.read();
  std::string temps = alignFirstToken(in.read(), 7);
  c.t1 = 10000.0 * number(mid(temps, 1, 7));
  c.t2 = 10000.0 * number(mid(temps, 8, 8));
  c.pot1 = number(mid(temps, 30, 13));
  c.pot2 = number(mid(temps, 43, 13));
  const std::string massRatioText = trim(mid(temps, 56, 13));

  in.read();
  const bool wavelengthLayout = trim(mid(in.read(), 1, 10)) == "wv lth";
  if (wavelengthLayout) {
    std::string lum = alignFirstToken(in.read(), 9);
    c.l2 = number(mid(lum, 21, 11));
  } else {
    std::string lum = alignFirstToken(in.read(), 5);
    c.l2 = number(mid(lum, 18, 11));
  }
  c.massRatio = number(massRatioText);
  c.l2Text = fixedField(c.l2, 7, 4);

  in.seek(10, [](const std::string& s) { return s == "JD"; });

  c.lightMin = 999.0;
  c.lightMax = -999.0;
  c.rvMin = 999.0;
  c.rvMax = -999.0;
  if (c.page != 1 && c.page != 2) throw ReportMessage(kMpageMessage);

  int b = 0;
  int n = 0;
  bool emptyLine = false;
  while (!in.atEnd()) {
    const std::string& row = in.read();
    if (row.empty()) {
      emptyLine = true;
      break;
    }
    if (n == 0) {
      size_t blank = row.find(' ');
      b = blank != std::string::npos && blank < 20 ? static_cast<int>(blank) + 1 : 21;
    }
    if (n == kMaxLcoRows) throwError(kErrSubscript);
    ++n;
    (void)number(mid(row, 1, b - 1));
    const double phase = number(mid(row, b, 15));
    if (!(phase >= -1.0 && phase <= 2.0)) throw ReportMessage(kPhaseMessage);
    c.phase.push_back(phase);
    if (c.page == 1) {
      (void)number(mid(row, b + 15, 12));
      (void)number(mid(row, b + 27, 12));
      const double light = number(mid(row, b + 39, 12));
      c.light.push_back(light);
      c.lightMin = std::min(c.lightMin, light);
      c.lightMax = std::max(c.lightMax, light);
    } else {
      const double v1 = number(mid(row, b + 61, 13));
      const double v2 = number(mid(row, b + 74, 13));
      c.rv1.push_back(v1);
      c.rv2.push_back(v2);
      c.rvMin = std::min({c.rvMin, v1, v2});
      c.rvMax = std::max({c.rvMax, v1, v2});
    }
  }
  // A table without rows has nothing to draw; refuse it rather than plot
  // from an empty range.
  if (n == 0) throwError(emptyLine ? kErrOutOfData : kErrPastEndOfFile);

  c.count = static_cast<int16_t>(n);
  c.phaseFirst = c.phase.front();
  c.phaseLast = c.phase.back();
  if (c.page == 2) {
    const double d = c.rvMax - c.rvMin;
    c.rvMin -= 0.05 * d;
    c.rvMax += 0.05 * d;
  }
  return c;
}

ComputedCurve readLcoFile(const std::string& path, ParameterSet& p) {
  ComputedCurve c = parseLco(readWholeFile(path));
  p.MPAGE = c.page;
  return c;
}

}  // namespace tavrin
