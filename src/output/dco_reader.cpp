#include "output/dco_reader.h"

#include <vector>

#include "model/number_fields.h"
#include "output/report_text.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin {

namespace {

using report::leftTrim;
using report::mid;
using report::number;

bool startsWith(const std::string& s, std::string_view prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

class Lines {
 public:
  explicit Lines(const std::string& text) : lines_(report::splitLines(text)) {}
  bool atEnd() const { return next_ >= lines_.size(); }
  std::string read() {
    if (atEnd()) throwError(kErrPastEndOfFile);
    return lines_[next_++];
  }

 private:
  std::vector<std::string> lines_;
  size_t next_ = 0;
};

// DC parameter number of key column j (1..41) of the trimmed key line.
int keyParameter(int j) {
  if (j <= 4) return j;
  if (j <= 9) return j - 1;
  if (j <= 17) return j - 2;
  if (j <= 23) return j - 3;
  if (j <= 29) return j - 4;
  if (j <= 35) return j - 5;
  return j - 6;
}

}  // namespace

std::string standardOutputName(const std::string& inputName, const char* extension) {
  const size_t keep = inputName.size() >= 4 ? inputName.size() - 4 : 0;
  return inputName.substr(0, keep) + extension;
}

DcoReadReport parseDco(const std::string& text, DcResults& results, ParameterSet& p) {
  // Work on copies; the caller's state changes only when the listing is whole.
  DcResults r = results;
  int ifvc1 = p.IFVC1, ifvc2 = p.IFVC2, nlc = p.NLC;
  DcoReadReport rep;
  Lines in(text);
  std::string line;

  do {
    line = in.read();
    std::string trimmed = leftTrim(line);

    // 1. Adjustment keys.
    if (mid(line, 2, 10) == "ADJUSTMENT") {
      line = leftTrim(in.read());
      trimmed = line;
      r.adjustedCount = 0;
      for (int j = 1; j <= 41 && j <= static_cast<int>(line.size()); ++j) {
        if (line[j - 1] != '0') continue;
        if (r.adjustedCount == kMaxAdjusted) throwError(kErrSubscript);
        ++r.adjustedCount;
        r.adjustedParams[r.adjustedCount] = static_cast<int16_t>(keyParameter(j));
      }
    }
    // 2. Curve switches.
    if (startsWith(trimmed, "IFVC1")) {
      line = leftTrim(in.read());
      trimmed = line;
      ifvc1 = report::int16(mid(line, 1, 1));
      ifvc2 = report::int16(mid(line, 8, 1));
      nlc = report::int16(mid(line, 15, 1));
      // More than five light curves cannot be held.
      if (nlc > 5) throwError(kErrSubscript);
      rep.curveSwitchesRead = true;
    }
    // 3. Velocity-curve L2 values.
    if (startsWith(trimmed, "band") && mid(trimmed, 52, 3) == "ops") {
      for (int curve = 1; curve <= 2; ++curve) {
        if ((curve == 1 ? ifvc1 : ifvc2) != 1) continue;
        line = alignFirstToken(leftTrim(in.read()), 3);
        trimmed = leftTrim(line);
        rep.curveL2[curve] = number(mid(line, 4, 10));
      }
    }
    // 4. Light-curve L2 values.
    if (startsWith(trimmed, "band") && mid(trimmed, 53, 3) == "3rd") {
      for (int k = 1; k <= nlc; ++k) {
        if (k > 5) throwError(kErrSubscript);
        line = alignFirstToken(leftTrim(in.read()), 3);
        trimmed = leftTrim(line);
        rep.curveL2[k + 2] = number(mid(line, 13, 10));
      }
    }
    // 5. Correlation matrix.
    if (startsWith(trimmed, "CORRELATION")) {
      line = in.read();
      for (int i = 1; i <= 10; ++i)
        for (int j = 1; j <= 10; ++j) r.correlation[i][j].clear();
      for (int row = 1; row <= r.adjustedCount; ++row) {
        line = alignFirstToken(leftTrim(in.read()), 13);
        for (int j = 1; j <= r.adjustedCount; ++j)
          r.correlation[row][j] = fixedField(number(mid(line, 12 * (j - 1) + 2, 12)), 9, 5);
      }
      trimmed = leftTrim(line);
    }
    // 6. Input-output table; line keeps the heading.
    if (startsWith(trimmed, "Input-Output in F")) {
      in.read();
      in.read();
      for (int i = 1; i <= 8; ++i) r.ioRows[i] = DcIoRow{};
      int n = 0;
      for (;;) {
        const std::string row = in.read();
        if (row.size() < 5) break;
        if (n == kMaxIoRows) throwError(kErrSubscript);
        ++n;
        DcIoRow& io = r.ioRows[n];
        io.param = static_cast<int16_t>(report::int16(mid(row, 1, 2)));
        io.curve = static_cast<int16_t>(report::int16(mid(row, 9, 1)));
        io.input = number(mid(row, 10, 18));
        io.correction = number(mid(row, 28, 18));
        io.output = number(mid(row, 46, 18));
        io.stdDev = number(mid(row, 64, 18));
      }
      r.ioRowCount = static_cast<int16_t>(n);
    }
    // 7. Residual sums: the next item runs to the end of its line or a comma.
    if (mid(line, 4, 13) == "Sum(W*Res**2)") {
      std::string item = leftTrim(in.read());
      item = item.substr(0, item.find(','));
      r.sumWResInput = number(mid(item, 1, 27));
      r.sumWResPredicted = number(mid(item, 28, 36));
    }
    // 8. End marker.
    if (startsWith(trimmed, "DOM1/DQ")) {
      results = r;
      if (rep.curveSwitchesRead) {
        p.IFVC1 = static_cast<int16_t>(ifvc1);
        p.IFVC2 = static_cast<int16_t>(ifvc2);
        p.NLC = static_cast<int16_t>(nlc);
      }
      for (const auto& [curve, l2] : rep.curveL2) p.curves[curve].l2 = l2;
      return rep;
    }
  } while (!in.atEnd());

  if (startsWith(line, "*ERR*")) {
    rep.errorLine = line;
    rep.curveL2.clear();
    rep.curveSwitchesRead = false;
    return rep;
  }
  // Neither the end marker nor DC's error line: the listing was cut short.
  throwError(kErrPastEndOfFile);
}

DcoReadReport readDco(const std::string& path, DcResults& results, ParameterSet& p) {
  return parseDco(readWholeFile(path), results, p);
}

DcoLoadOutcome loadDco(AppState& app, ParameterSet& p, DcResults& results, bool dcoChosenByUser) {
  DcoLoadOutcome out;
  if (!dcoChosenByUser) app.dcoName = standardOutputName(app.dciName, ".dco");
  try {
    out.report = readDco(joinPath(app.dataFolder, app.dcoName), results, p);
  } catch (const TavrinError& e) {
    results.dcErrorSeen = true;
    app.readError = true;
    out.message = e.what();
    out.showMessageBox = !app.contourRunning;
    return out;
  } catch (const std::bad_alloc&) {
    results.dcErrorSeen = true;
    app.readError = true;
    out.message = errorMessage(kErrOutOfMemory);
    out.showMessageBox = !app.contourRunning;
    return out;
  }
  if (out.report.errorLine) {
    results.dcErrorSeen = true;
    if (!app.contourRunning) out.errorWindowLine = out.report.errorLine;
    return out;
  }
  out.ok = true;
  return out;
}

}  // namespace tavrin
