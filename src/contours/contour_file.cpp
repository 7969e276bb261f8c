#include "contours/contour_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/input_reader.h"
#include "model/number_fields.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin::contours {

namespace {

constexpr const char* kHeader[5] = {
    "This is a datafile of DC output of Wres = Sum (wr^2) in a grid of values.'",
    "There need to be 5 comment lines in the header part.",
    "First data line: Xvar_IDnum, Xvar_min, Xvar_max, Xvar_M  ==> Code for IDnum: 1=M2M1, 2=Inclin, 3=T2, 4=Potl1",
    "Second data line: Yvar_IDnum, Yvar_min, Yvar_max, Yvar_N, n_iterations%",
    "Subsequent lines are Wres(1,1), Wres(1,2), .. Wres(Xvar_M,1), ..Wres(Xvar_M, Yvar_N)",
};
constexpr const char* kColumnsTag = "\"Columns\"";

std::string num(double x) { return trimmedPlainText(x); }
std::string num(int v) { return std::to_string(v); }

std::string headText(const GridDef& s) {
  std::string t;
  for (const char* h : kHeader) {
    t += '"';
    t += h;
    t += "\"\r\n";
  }
  t += num(s.xCode) + ',' + num(s.xMin) + ',' + num(s.xMax) + ',' + num(s.M) + "\r\n";
  t += num(s.yCode) + ',' + num(s.yMin) + ',' + num(s.yMax) + ',' + num(s.N) + ',' + num(s.iterations) + "\r\n";
  return t;
}

void pointLines(std::string& t, const ContourGrid& g, int first, int last) {
  const int N = g.gridDef.N;
  for (int i = first; i <= last; ++i)
    for (int j = 0; j < N; ++j) {
      const size_t k = static_cast<size_t>(i) * N + j;
      t += num(g.wres[k]);
      t += ',';
      t += num(g.status[k]);
      t += "\r\n";
    }
}

// List-directed items of the lines from `from` on: separated by commas,
// blanks or line ends; a quoted string is one item.
class Items {
 public:
  Items(const std::vector<std::string_view>& lines, size_t from) : lines_(lines), line_(from) {}

  std::string_view next() {
    for (;;) {
      if (line_ >= lines_.size()) throwError(kErrPastEndOfFile);
      std::string_view l = lines_[line_];
      while (pos_ < l.size() && (l[pos_] == ' ' || l[pos_] == '\t')) ++pos_;
      if (pos_ >= l.size()) {
        ++line_;
        pos_ = 0;
        continue;
      }
      size_t start = pos_, end;
      if (l[pos_] == '"') {
        const size_t close = l.find('"', pos_ + 1);
        end = close == std::string_view::npos ? l.size() : close + 1;
        pos_ = end;
      } else {
        while (pos_ < l.size() && l[pos_] != ',' && l[pos_] != ' ' && l[pos_] != '\t') ++pos_;
        end = pos_;
      }
      // Skip blanks and one comma after the item.
      while (pos_ < l.size() && (l[pos_] == ' ' || l[pos_] == '\t')) ++pos_;
      if (pos_ < l.size() && l[pos_] == ',') ++pos_;
      return l.substr(start, end - start);
    }
  }

  double number() {
    std::string s(next());
    if (s.empty()) return 0;  // ",," reads as zero
    for (char& c : s)
      if (c == 'D' || c == 'd') c = 'E';
    const char* b = s.data();
    const char* e = s.data() + s.size();
    if (*b == '+') ++b;
    double v = 0;
    const auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e || !std::isfinite(v)) throwError(kErrInvalidFormat);
    return v;
  }
  int16_t integer() { return roundToInt16(number()); }

 private:
  const std::vector<std::string_view>& lines_;
  size_t line_;
  size_t pos_ = 0;
};

void readSpec(Items& it, GridDef& s) {
  s.xCode = it.integer();
  s.xMin = it.number();
  s.xMax = it.number();
  s.M = it.integer();
  s.yCode = it.integer();
  s.yMin = it.number();
  s.yMax = it.number();
  s.N = it.integer();
  s.iterations = it.integer();
  if (s.M < 1 || s.M > kMaxGridPoints || s.N < 1 || s.N > kMaxGridPoints) throwError(kErrSubscript);
}

}  // namespace

std::string contourFileText(const ContourGrid& g) {
  std::string t = headText(g.gridDef);
  t.reserve(t.size() + g.wres.size() * 24);
  pointLines(t, g, 0, g.gridDef.M - 1);
  return t;
}

void writeContourFile(const std::string& path, const ContourGrid& g) { writeFileAtomically(path, contourFileText(g)); }

ContourGrid parseContourText(std::string_view text, const ContourGrid& previous) {
  const std::vector<std::string_view> lines = detail::splitLines(text);
  if (lines.size() < 8) throwError(kErrPastEndOfFile);
  const auto commas = std::count(lines[7].begin(), lines[7].end(), ',');

  ContourGrid g;
  Items it(lines, 5);
  readSpec(it, g.gridDef);
  g.resize();
  const bool sameSize = previous.gridDef.M == g.gridDef.M && previous.gridDef.N == g.gridDef.N &&
                        previous.wres.size() == g.wres.size() && previous.status.size() == g.status.size();
  if (sameSize) {
    g.status = previous.status;
    if (commas > 1) g.wres = previous.wres;
  }
  if (commas <= 1) {
    for (size_t k = 0; k < g.wres.size(); ++k) {
      g.wres[k] = it.number();
      if (commas == 1) g.status[k] = it.integer();
    }
  }
  summariseLoaded(g);
  return g;
}

ContourGrid readContourFile(const std::string& path, const ContourGrid& previous) {
  return parseContourText(readWholeFile(path), previous);
}

bool isPartialContourText(std::string_view text) {
  const std::vector<std::string_view> lines = detail::splitLines(text);
  return lines.size() >= 8 && lines[7].substr(0, std::string_view(kColumnsTag).size()) == kColumnsTag;
}

std::string partialFileText(const ContourGrid& g, int first, int last) {
  std::string t = headText(g.gridDef);
  t += std::string(kColumnsTag) + ',' + num(first) + ',' + num(last) + "\r\n";
  pointLines(t, g, first, last);
  return t;
}

PartialGrid parsePartialText(std::string_view text) {
  const std::vector<std::string_view> lines = detail::splitLines(text);
  if (lines.size() < 8) throwError(kErrPastEndOfFile);
  if (!isPartialContourText(text)) throwError(kErrInvalidFormat);
  PartialGrid p;
  Items it(lines, 5);
  readSpec(it, p.gridDef);
  it.next();  // the tag
  p.first = it.integer();
  p.last = it.integer();
  if (p.first < 0 || p.last < p.first || p.last >= p.gridDef.M) throwError(kErrSubscript);
  const size_t n = static_cast<size_t>(p.last - p.first + 1) * p.gridDef.N;
  p.wres.resize(n);
  p.status.resize(n);
  for (size_t k = 0; k < n; ++k) {
    p.wres[k] = it.number();
    p.status[k] = it.integer();
  }
  return p;
}

ContourGrid mergePartials(const std::vector<PartialGrid>& parts) {
  if (parts.empty()) throw MergeError("no partial files to join");
  ContourGrid g;
  g.gridDef = parts.front().gridDef;
  g.resize();
  std::vector<int> owner(static_cast<size_t>(g.gridDef.M), -1);
  for (size_t n = 0; n < parts.size(); ++n) {
    const PartialGrid& p = parts[n];
    if (!(p.gridDef == g.gridDef))
      throw MergeError("part " + std::to_string(n + 1) + " belongs to a different grid definition");
    for (int i = p.first; i <= p.last; ++i) {
      if (owner[static_cast<size_t>(i)] >= 0)
        throw MergeError("column " + std::to_string(i) + " is held by parts " +
                         std::to_string(owner[static_cast<size_t>(i)] + 1) + " and " + std::to_string(n + 1));
      owner[static_cast<size_t>(i)] = static_cast<int>(n);
      for (int j = 0; j < g.gridDef.N; ++j) {
        const size_t from = static_cast<size_t>(i - p.first) * g.gridDef.N + j;
        const size_t to = static_cast<size_t>(i) * g.gridDef.N + j;
        g.wres[to] = p.wres[from];
        g.status[to] = p.status[from];
      }
    }
  }
  for (int i = 0; i < g.gridDef.M; ++i)
    if (owner[static_cast<size_t>(i)] < 0) throw MergeError("column " + std::to_string(i) + " is missing");
  bool any = false;
  for (double v : g.wres)
    if (v != kFailedPoint) takeIntoRange(g, v, any);
  g.dataReady = true;
  g.range = defaultRange(g.wresMin, g.wresMax);
  return g;
}

}  // namespace tavrin::contours
