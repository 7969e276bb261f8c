#include "output/dco_reader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <vector>

#include "model/dc_parameters.h"
#include "model/number_fields.h"
#include "output/report_text.h"
#include "runs/runs.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin {

namespace {

using report::leftTrim;
using report::mid;

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

// "NaN", "Infinity", "-Inf", ... as a Fortran run-time library prints them.
const char* nonFiniteWord(std::string_view field) {
  std::string t = report::trim(field);
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.erase(0, 1);
  std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (t.rfind("nan", 0) == 0) return "NaN";
  if (t.rfind("inf", 0) == 0) return "infinite";
  return nullptr;
}

std::string unknownName(const DcUnknown& u) {
  std::string s = dcParameterLabel(u.param);
  if (u.curve != 0) s += " (" + std::to_string(u.curve) + ")";
  return s;
}

// The read of one listing: values that are not finite are noted (the first
// one names the failure) and kept as NaN, never as a number they are not.
struct Reader {
  DcResults r;
  std::string failure;

  double value(std::string_view field, const std::string& what) {
    if (const char* word = nonFiniteWord(field)) {
      if (failure.empty()) failure = what + " is " + word;
      return std::numeric_limits<double>::quiet_NaN();
    }
    return report::number(field);
  }
};

// Blank-delimited tokens of a line with their 0-based spans.
struct Token {
  size_t begin, end;
};
std::vector<Token> tokens(const std::string& s) {
  std::vector<Token> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    if (i >= s.size()) break;
    const size_t b = i;
    while (i < s.size() && s[i] != ' ') ++i;
    out.push_back({b, i});
  }
  return out;
}

// The field of a curve line that stands under the header's label: the token
// overlapping the label, else the nearest one. nullopt without that label.
std::optional<std::string> fieldUnderLabel(const std::string& header, const std::string& line, std::string_view label) {
  for (const Token& t : tokens(header)) {
    if (header.compare(t.begin, t.end - t.begin, label) != 0) continue;
    const std::vector<Token> fields = tokens(line);
    const Token* best = nullptr;
    size_t bestDistance = std::string::npos;
    for (const Token& f : fields) {
      const size_t distance = f.end <= t.begin ? t.begin - f.end + 1 : f.begin >= t.end ? f.begin - t.end + 1 : 0;
      if (distance < bestDistance) {
        best = &f;
        bestDistance = distance;
      }
    }
    if (!best) return std::string();
    return line.substr(best->begin, best->end - best->begin);
  }
  return std::nullopt;
}

// A line by which the program says it stopped before its solution was done.
bool isStopLine(const std::string& trimmed) {
  return startsWith(trimmed, "Program stopped") || trimmed == "STOP" || startsWith(trimmed, "STOP ");
}

}  // namespace

std::vector<DcUnknown> unknownsOfKeys(const std::vector<int16_t>& keys, int nlc) {
  std::vector<DcUnknown> out;
  for (int16_t k : keys) {
    if (isPerCurveParameter(k)) {
      for (int c = 1; c <= nlc; ++c) out.push_back({k, static_cast<int16_t>(c)});
    } else {
      out.push_back({k, 0});
    }
  }
  return out;
}

std::string standardOutputName(const std::string& inputName, const char* extension) {
  const size_t keep = inputName.size() >= 4 ? inputName.size() - 4 : 0;
  return inputName.substr(0, keep) + extension;
}

DcoReadReport parseDco(const std::string& text, DcResults& results, ParameterSet& p) {
  // The caller's state changes only when the listing is whole.
  Reader rd;
  DcResults& r = rd.r;
  r.dcErrorSeen = results.dcErrorSeen;
  int ifvc1 = p.IFVC1, ifvc2 = p.IFVC2, nlc = p.NLC;
  DcoReadReport rep;
  Lines in(text);
  std::string line;
  std::string stopLine;
  bool whole = false;

  do {
    line = in.read();
    std::string trimmed = leftTrim(line);
    if (stopLine.empty() && isStopLine(report::trim(line))) stopLine = report::trim(line);

    // 1. Adjustment keys.
    if (mid(line, 2, 10) == "ADJUSTMENT") {
      line = leftTrim(in.read());
      trimmed = line;
      r.adjustedParams.clear();
      for (int j = 1; j <= 41 && j <= static_cast<int>(line.size()); ++j) {
        if (line[j - 1] != '0') continue;
        if (static_cast<int>(r.adjustedParams.size()) == kMaxAdjusted) throwError(kErrSubscript);
        r.adjustedParams.push_back(static_cast<int16_t>(keyParameter(j)));
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
    // 3. and 4. Velocity- and light-curve L2 values, each under the header's "L2".
    const bool velocityHeader = startsWith(trimmed, "band") && mid(trimmed, 52, 3) == "ops";
    const bool lightHeader = startsWith(trimmed, "band") && mid(trimmed, 53, 3) == "3rd";
    if (velocityHeader || lightHeader) {
      const std::string header = line;
      std::vector<int> rows;
      if (velocityHeader) {
        if (ifvc1 == 1) rows.push_back(1);
        if (ifvc2 == 1) rows.push_back(2);
      } else {
        for (int k = 1; k <= nlc; ++k) rows.push_back(k + 2);
      }
      for (int row : rows) {
        line = in.read();
        trimmed = leftTrim(line);
        if (const auto field = fieldUnderLabel(header, line, "L2")) {
          const double l2 = rd.value(*field, "the L2 of curve " + std::to_string(row));
          if (std::isfinite(l2)) rep.curveL2[row] = l2;
        }
      }
    }
    // 5. Correlation matrix: one row per unknown, each row wrapped after 11 values.
    if (startsWith(trimmed, "CORRELATION")) {
      line = in.read();
      const std::vector<DcUnknown> u = unknownsOfKeys(r.adjustedParams, nlc);
      const size_t n = u.size();
      if (n > static_cast<size_t>(kMaxUnknowns)) throwError(kErrSubscript);
      r.correlation.assign(n, std::vector<double>(n, 0.0));
      for (size_t row = 0; row < n; ++row) {
        // Values of 12 columns with blanks between them: taken by token, so a
        // line's left margin does not matter.
        for (size_t first = 0; first < n; first += 11) {
          line = in.read();
          const std::vector<Token> fields = tokens(line);
          for (size_t j = first; j < std::min(n, first + 11); ++j) {
            const size_t t = j - first;
            const std::string field = t < fields.size() ? line.substr(fields[t].begin, fields[t].end - fields[t].begin) : "";
            r.correlation[row][j] =
                rd.value(field, "the correlation of " + unknownName(u[row]) + " and " + unknownName(u[j]));
          }
        }
      }
      trimmed = leftTrim(line);
    }
    // 6. Input-output table; line keeps the heading.
    if (startsWith(trimmed, "Input-Output in F")) {
      in.read();
      in.read();
      r.ioRows.clear();
      for (;;) {
        const std::string row = in.read();
        if (row.size() < 5) break;
        if (static_cast<int>(r.ioRows.size()) == kMaxUnknowns) throwError(kErrSubscript);
        DcIoRow io;
        io.param = static_cast<int16_t>(report::int16(mid(row, 1, 2)));
        io.curve = static_cast<int16_t>(report::int16(mid(row, 9, 1)));
        const std::string name = unknownName({io.param, io.curve});
        io.input = rd.value(mid(row, 10, 18), "the input value of " + name);
        io.correction = rd.value(mid(row, 28, 18), "the correction of " + name);
        io.output = rd.value(mid(row, 46, 18), "the output value of " + name);
        io.stdDev = rd.value(mid(row, 64, 18), "the standard deviation of " + name);
        r.ioRows.push_back(io);
      }
    }
    // 7. Residual sums: the next item runs to the end of its line or a comma.
    // With them read the listing holds all it is read for.
    if (mid(line, 4, 13) == "Sum(W*Res**2)") {
      std::string item = leftTrim(in.read());
      item = item.substr(0, item.find(','));
      r.sumWResInput = rd.value(mid(item, 1, 27), "Sum(W*Res**2) for the input values");
      r.sumWResPredicted = rd.value(mid(item, 28, 36), "Sum(W*Res**2) predicted");
      // A listing that stops inside that line was cut there.
      if (in.atEnd() && text.back() != '\n') throwError(kErrPastEndOfFile);
      whole = true;
    }
    // 8. End marker.
    if (startsWith(trimmed, "DOM1/DQ")) {
      whole = true;
      break;
    }
  } while (!in.atEnd());

  if (!whole) {
    if (startsWith(line, "*ERR*")) {
      rep.errorLine = line;
      rd.failure = line;
    } else if (!stopLine.empty()) {
      rd.failure = stopLine;
    } else {
      // Neither the residual sums nor DC's word why: the listing was cut short.
      throwError(kErrPastEndOfFile);
    }
  } else if (!stopLine.empty() && rd.failure.empty()) {
    rd.failure = stopLine;
  }

  // The table says which unknowns DC solved for; a matrix of another size
  // cannot be matched to them.
  if (!r.ioRows.empty()) {
    for (const DcIoRow& io : r.ioRows) r.unknowns.push_back({io.param, io.curve});
  } else {
    r.unknowns = unknownsOfKeys(r.adjustedParams, nlc);
  }
  if (!r.correlation.empty() && r.correlation.size() != r.unknowns.size()) r.correlation.clear();

  r.failure = rd.failure;
  results = r;
  if (r.failed()) {
    rep.curveL2.clear();
    rep.curveSwitchesRead = false;
    return rep;
  }
  if (rep.curveSwitchesRead) {
    p.IFVC1 = static_cast<int16_t>(ifvc1);
    p.IFVC2 = static_cast<int16_t>(ifvc2);
    p.NLC = static_cast<int16_t>(nlc);
  }
  for (const auto& [curve, l2] : rep.curveL2) p.curves[curve].l2 = l2;
  return rep;
}

DcoReadReport readDco(const std::string& path, DcResults& results, ParameterSet& p) {
  return parseDco(readWholeFile(path), results, p);
}

DcoLoadOutcome loadDco(AppState& app, ParameterSet& p, DcResults& results, bool dcoChosenByUser) {
  DcoLoadOutcome out;
  if (!dcoChosenByUser) app.dcoName = standardOutputName(app.dciName, ".dco");
  const std::string path = joinPath(app.dataFolder, app.dcoName);
  // What DC said on its standard error, for a report it did not finish.
  auto withDcWords = [&](std::string message) {
    const std::string said = runs::lastErrorLines(path);
    if (!said.empty()) message += "\n\nDC wrote on its standard error:\n" + said;
    return message;
  };
  try {
    out.report = readDco(path, results, p);
  } catch (const TavrinError& e) {
    results.dcErrorSeen = true;
    app.readError = true;
    out.message = withDcWords(std::string(e.what()) + "\n" + app.dcoName);
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
  if (results.failed()) {
    results.dcErrorSeen = true;
    const char last = results.failure.back();
    const std::string stop = std::isalnum(static_cast<unsigned char>(last)) ? "." : "";
    out.message = withDcWords("DC's solution failed: " + results.failure + stop + "\n" + app.dcoName);
    out.showMessageBox = !app.contourRunning;
    return out;
  }
  out.ok = true;
  return out;
}

}  // namespace tavrin
