#include "model/input_reader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "model/editor_rules.h"
#include "model/field_entry.h"
#include "model/number_fields.h"
#include "model/record_slots.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin {

namespace detail {

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  lines.reserve(text.size() / 24 + 1);
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* start = begin;
  while (start < end) {
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', static_cast<size_t>(end - start)));
    const char* stop = nl ? nl : end;
    // A lone CR also ends a line; CR LF is one line end.
    const char* cr = static_cast<const char*>(std::memchr(start, '\r', static_cast<size_t>(stop - start)));
    if (cr && cr + 1 != nl) {
      lines.emplace_back(start, static_cast<size_t>(cr - start));
      start = cr + 1;
      continue;
    }
    lines.emplace_back(start, static_cast<size_t>((cr ? cr : stop) - start));
    if (!nl) break;
    start = nl + 1;
  }
  return lines;
}

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

namespace {
// A complete number: sign, digits with at most one point, an optional exponent.
bool isNumberToken(std::string_view t) {
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const size_t expStart = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
    if (i == expStart) return false;
  }
  return i == t.size();
}

// Every field blank, or a number right-justified in its columns.
bool fieldsStandWhereWritten(std::string_view line, const std::vector<int>& widths) {
  size_t at = 0;
  for (const int w : widths) {
    if (at >= line.size()) return true;
    std::string_view field = line.substr(at, static_cast<size_t>(w));
    at += static_cast<size_t>(w);
    size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    if (i == field.size()) continue;
    if (!isNumberToken(field.substr(i))) return false;
  }
  return true;
}
}  // namespace

std::string cutRecord(std::string_view raw, int firstWidth, const std::vector<int>& fieldWidths) {
  const size_t w = firstWidth > 0 ? static_cast<size_t>(firstWidth) : 0;
  if (w > 0 && raw.size() >= w && !isBlank(raw[w - 1])) {
    size_t i = 0;
    while (i < w && raw[i] == ' ') ++i;
    bool justified = true;
    for (size_t j = i; j < w; ++j)
      if (isBlank(raw[j])) justified = false;
    if (justified && fieldsStandWhereWritten(raw, fieldWidths)) return std::string(raw);
  }
  size_t i = 0;
  while (i < raw.size() && isBlank(raw[i])) ++i;
  return alignFirstToken(std::string(raw.substr(i)), firstWidth);
}

bool isObservationEndLine(std::string_view item) {
  if (leadingNumber(item.substr(0, 9)) >= -1000.0) return false;
  // The end line is one integer with a point ("  -10001."). A data line with
  // a time below -1000 has decimals and further fields.
  size_t end = 0;
  while (end < item.size() && !isBlank(item[end])) ++end;
  bool single = true;
  for (size_t j = end; j < item.size(); ++j)
    if (!isBlank(item[j])) single = false;
  if (single) return true;
  std::string_view tok = item.substr(0, end);
  size_t j = 0;
  if (j < tok.size() && (tok[j] == '-' || tok[j] == '+')) ++j;
  const size_t digits = j;
  while (j < tok.size() && tok[j] >= '0' && tok[j] <= '9') ++j;
  if (j == digits) return false;
  if (j < tok.size() && tok[j] == '.') ++j;
  return j == tok.size();
}

}  // namespace detail

namespace {

std::string_view dropLeadingBlanks(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  return s.substr(i);
}

// The line being read or interpreted, for a failure's message. Records are
// often cut first and interpreted later, so each record restores its own.
struct LineInContext {
  size_t number = 0;  // 1-based; 0 when no line is in question
  std::string_view text;
};
thread_local LineInContext gLine;

class Lines {
 public:
  explicit Lines(std::string_view text) : lines_(detail::splitLines(text)) { gLine = {}; }
  std::string_view next() {
    if (pos_ >= lines_.size()) {
      gLine = {};  // the file ended: no line to show
      throwError(kErrPastEndOfFile);
    }
    gLine = {pos_ + 1, lines_[pos_]};
    return lines_[pos_++];
  }
  size_t remainingLines() const { return lines_.size() - pos_; }

 private:
  std::vector<std::string_view> lines_;
  size_t pos_ = 0;
};

// A record cut at its columns (1-based, inclusive; missing columns are blank).
struct Record {
  std::string text;
  LineInContext line;  // the file line it was cut from

  Record() = default;
  explicit Record(std::string t) : text(std::move(t)), line(gLine) {}

  std::string_view cols(int from, int to) const {
    if (line.number) gLine = line;
    const size_t a = static_cast<size_t>(from - 1);
    if (a >= text.size()) return {};
    return std::string_view(text).substr(a, static_cast<size_t>(to - from + 1));
  }
  // Every numeric field may carry a "D" exponent: the writers fall back to it
  // for values too wide for a fixed-point field.
  double num(int from, int to) const {
    const std::string_view f = cols(from, to);
    for (const char c : f)
      if (c == 'D' || c == 'd') return leadingNumber(exponentDToE(std::string(f)));
    return leadingNumber(f);
  }
  int16_t i16(int from, int to) const { return roundToInt16(num(from, to)); }
  // Text from column `from` to the end, leading blanks dropped.
  std::string tail(int from) const {
    if (line.number) gLine = line;
    return std::string(dropLeadingBlanks(std::string_view(text).substr(static_cast<size_t>(from - 1))));
  }
};

// The next line cut as `layout`; firstWidth 0 aligns the first token as the layout's first field.
Record nextRecord(Lines& lines, RecordLayout layout, int firstWidth = 0) {
  if (firstWidth == 0) firstWidth = firstFieldEnd(layout);
  return Record{detail::cutRecord(lines.next(), firstWidth, laidOutWidths(layout))};
}

// Stores fields into the new set and records what the window shows.
class Loader {
 public:
  explicit Loader(InputLoad& out) : out_(out) {}

  void field(std::string_view name, double value, Form form) {
    const ScalarField* f = findScalarField(name);
    setScalar(out_.params, name, value);
    out_.carriedFields.emplace_back(name);
    show(std::string(f->control), value, form);
  }

  void show(const std::string& control, double value, Form form) {
    std::string text;
    if (form.kind == FormKind::Combo) {
      const ComboList* list = findComboList(control);
      const long idx = std::lround(value) - list->indexOffset;
      if (idx < 0 || idx >= static_cast<long>(list->items.size())) throwError(kErrInvalidFormat);
      text = std::string(list->items[static_cast<size_t>(idx)]);
    } else if (form.kind == FormKind::Int) {
      text = intField(static_cast<int>(value), form.w, " ");
    } else {
      text = shownText(value, form);
    }
    if (out_.displayTexts.find(control) == out_.displayTexts.end()) out_.displayOrder.push_back(control);
    out_.displayTexts[control] = text;
  }

 private:
  InputLoad& out_;
};

// Files carry temperatures in units of 10000 K. Shifting the decimal exponent
// of the value's shortest text (rather than multiplying in binary) holds
// ".45213" as exactly 4521.3, so the window can show it as typed.
double kelvinFromFile(double units) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, units, std::chars_format::scientific);
  std::string s(buf, res.ptr);
  const size_t e = s.find('e');
  int exp10 = 0;
  const char* first = s.data() + e + 1;
  if (*first == '+') ++first;
  std::from_chars(first, s.data() + s.size(), exp10);
  s.resize(e + 1);
  s += std::to_string(exp10 + 4);
  double kelvin = 0.0;
  if (std::from_chars(s.data(), s.data() + s.size(), kelvin).ec != std::errc()) throwError(kErrOverflow);
  return kelvin;
}

// A number field's value as the record holds it.
double fieldValue(const Record& r, const RecordField& f, const Slot& s) {
  const int last = f.column + f.width - 1;
  const double v = s.i ? r.i16(f.column, last) : r.num(f.column, last);
  return f.unit == Unit::TenThousandKelvin ? kelvinFromFile(v) : v;
}

void store(const Record& r, const RecordField& f, const Slot& s) {
  if (s.keys) {
    for (int key = s.firstKey; key < s.firstKey + f.width; ++key) {
      if (key == 30) continue;  // names no parameter; the stored key stays
      const int col = f.column + key - s.firstKey;
      // Only "0" adjusts; anything else (a short line, a stray character) holds.
      s.keys[key] = r.cols(col, col) == "0" ? '0' : '1';
    }
  } else if (s.text) {
    *s.text = r.text.size() >= static_cast<size_t>(f.column) ? r.tail(f.column) : std::string();
  } else if (s.numberText) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, fieldValue(r, f, s));
    s.numberText->assign(buf, res.ptr);
  } else if (s.i) {
    *s.i = static_cast<int16_t>(fieldValue(r, f, s));
  } else {
    *s.d = fieldValue(r, f, s);
  }
}

// The named fields of a record into `target` (a curve row or a spot).
template <typename T>
void readRecord(const Record& r, RecordLayout layout, T& target) {
  for (const RecordField& f : layout)
    if (!f.name.empty()) store(r, f, slotOf(target, f.name));
}

// A fixed record into the set; the fields the window shows go through the loader.
void loadRecord(Loader& ld, ParameterSet& p, const Record& r, RecordLayout layout) {
  for (const RecordField& f : layout) {
    if (f.name.empty()) continue;
    const Slot s = slotOf(p, f.name);
    if (f.shown.kind == FormKind::None) {
      store(r, f, s);
    } else {
      ld.field(f.name, fieldValue(r, f, s), f.shown);
    }
  }
}

void readSpotLists(Lines& lines, ParameterSet& p, RecordLayout spotLine) {
  for (int star = 1; star <= 2; ++star) {
    int n = 0;
    for (;;) {
      const std::string_view raw = lines.next();
      if (dropLeadingBlanks(raw).substr(0, 4) == "300.") break;
      if (++n > kMaxSpotsPerStar) throwError(kErrSubscript);
      const Record r{detail::cutRecord(raw, firstFieldEnd(spotLine), laidOutWidths(spotLine))};
      Spot& s = p.spots[static_cast<size_t>(star)][static_cast<size_t>(n)];
      s = Spot{};
      readRecord(r, spotLine, s);
    }
    p.spotCount[static_cast<size_t>(star)] = static_cast<int16_t>(n);
  }
  p.totalSpotCount = static_cast<int16_t>(p.spotCount[1] + p.spotCount[2]);
}

void finish(InputLoad& out) {
  out.star1Radiative = isRadiative(out.params.ALB1);
  out.star2Radiative = isRadiative(out.params.ALB2);
}

Layout probeText(std::string_view text, int items) {
  Lines lines(text);
  std::string_view last;
  for (int i = 0; i < items; ++i) last = lines.next();
  return dropLeadingBlanks(last).size() < 75 ? Layout::Older : Layout::Current;
}

std::string fileNameOf(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Older LCI files carry no band: it follows from a few known wavelengths.
int bandForWavelength(double wavel) {
  struct Known {
    double wavel;
    int band;
  };
  static const Known kKnown[] = {{0.35, 5}, {0.44, 6}, {0.55, 7}, {0.653, 15}, {0.789, 16}};
  for (const auto& k : kKnown)
    if (std::fabs(wavel - k.wavel) < 0.001) return k.band;
  return 0;
}

}  // namespace

std::string dcoNameFor(const std::string& dciName) {
  if (dciName.size() < 4) return dciName + ".dco";
  return dciName.substr(0, dciName.size() - 4) + ".dco";
}

Layout probeLciText(std::string_view text) { return probeText(text, 5); }
Layout probeDciText(std::string_view text) { return probeText(text, 10); }

namespace {

// Reads the file and interprets its text; a failure names the file and,
// when one is in question, the line.
template <typename Interpret>
auto readFileWith(const std::string& path, Interpret interpret) {
  gLine = {};
  std::string text;
  try {
    text = readWholeFile(path);
  } catch (const TavrinError& e) {
    throw inFile(e, path);
  }
  try {
    return interpret(std::string_view(text));
  } catch (const TavrinError& e) {
    throw inFile(e, path, gLine.number, gLine.text);
  }
}

}  // namespace

Layout probeLci(const std::string& path) { return readFileWith(path, probeLciText); }
Layout probeDci(const std::string& path) { return readFileWith(path, probeDciText); }

InputLoad readLciText(std::string_view text, const ParameterSet& base, Layout layout) {
  const FileLayout& lay = lciLayout(layout);
  InputLoad out;
  out.params = base;
  out.layout = layout;
  ParameterSet& p = out.params;

  Lines lines(text);
  std::vector<Record> rec;
  for (const RecordLayout r : lay.records) rec.push_back(nextRecord(lines, r));
  readSpotLists(lines, p, lay.spot);
  lines.next();  // "150."
  lines.next();  // "9"

  Loader ld(out);
  for (size_t k = 0; k < rec.size(); ++k) {
    const RecordLayout r = lay.records[k];
    // Older files carry no band; the band list's handler rewrites the
    // wavelength, so the band goes first.
    const RecordField* wavel = findField(r, "WAVEL");
    if (wavel && !findField(r, "BAND"))
      if (const int band = bandForWavelength(rec[k].num(wavel->column, wavel->column + wavel->width - 1)))
        ld.field("BAND", band, Form{FormKind::Combo});
    loadRecord(ld, p, rec[k], r);
  }
  finish(out);
  return out;
}

namespace {

std::vector<ObservationPoint> readObservationBlock(Lines& lines, int perLine, RecordLayout point) {
  std::vector<ObservationPoint> points;
  const std::vector<int> widths = laidOutWidths(point);
  std::vector<int> pointWidths;
  int stride = 0;
  for (const int w : widths) stride += w;
  for (int k = 0; k < perLine && k < kMaxStoredPoints; ++k)
    pointWidths.insert(pointWidths.end(), widths.begin(), widths.end());
  // Found once: a block holds up to 9001 points.
  std::vector<std::pair<const RecordField*, double ObservationPoint::*>> fields;
  for (const RecordField& f : point)
    if (!f.name.empty()) fields.emplace_back(&f, pointMember(f.name));
  long long dataLines = 0;
  double endValue = 0.0;
  points.reserve(static_cast<size_t>(lines.remainingLines()) * static_cast<size_t>(perLine < 1 ? 1 : perLine) >
                         static_cast<size_t>(kMaxStoredPoints)
                     ? static_cast<size_t>(kMaxStoredPoints)
                     : lines.remainingLines() * static_cast<size_t>(perLine < 1 ? 1 : perLine));
  for (;;) {
    const std::string_view raw = lines.next();
    const std::string_view item = dropLeadingBlanks(raw);
    if (detail::isObservationEndLine(item)) {
      endValue = leadingNumber(item.substr(0, 9));
      break;
    }
    ++dataLines;
    const Record r{detail::cutRecord(raw, firstFieldEnd(point), pointWidths)};
    for (int k = 0; k < perLine; ++k) {
      if (points.size() >= static_cast<size_t>(kMaxStoredPoints)) throwError(kErrSubscript);
      const int at = stride * k;
      ObservationPoint pt;
      for (const auto& [f, member] : fields) pt.*member = r.num(at + f->column, at + f->column + f->width - 1);
      points.push_back(pt);
    }
  }
  // The end line holds -10000 - k: the last data line carries k real points.
  const long long onLast = roundToInt16(-10000.0 - endValue);
  if (dataLines == 0) return {};
  const long long count = (dataLines - 1) * perLine + onLast;
  if (count < 0 || count > static_cast<long long>(points.size())) throwError(kErrInvalidFormat);
  points.resize(static_cast<size_t>(count));
  return points;
}

}  // namespace

InputLoad readDciText(std::string_view text, const ParameterSet& base, Layout layout,
                      const std::string& dciName) {
  const FileLayout& lay = dciLayout(layout);
  InputLoad out;
  out.params = base;
  out.layout = layout;
  ParameterSet& p = out.params;

  Lines lines(text);
  // Stored records by number: the fixed ones, then the curve records from 12 on.
  std::array<Record, 21> rec;
  for (size_t k = 0; k < lay.records.size(); ++k) rec[k + 1] = nextRecord(lines, lay.records[k]);

  Loader ld(out);
  for (size_t k = 0; k < lay.records.size(); ++k) loadRecord(ld, p, rec[k + 1], lay.records[k]);
  p.adjustedParams.clear();
  for (int key = 1; key <= kAdjustKeys && p.adjustedParams.size() < 15; ++key)
    if (p.adjustKeys[static_cast<size_t>(key)] == '0') p.adjustedParams.push_back(static_cast<int16_t>(key));
  p.velocityCurveCount = 0;
  if (p.IFVC1 == 1) p.velocityCurveCount = 1;
  if (p.IFVC2 == 1) p.velocityCurveCount = 2;

  std::vector<int> rows;
  if (p.IFVC1 == 1) rows.push_back(1);
  if (p.IFVC2 == 1) rows.push_back(2);
  for (int j = 1; j <= p.NLC; ++j) {
    if (j > 5) throwError(kErrSubscript);
    rows.push_back(j + 2);
  }
  size_t index = lay.records.size() + 1;
  for (const int row : rows) {
    if (index > 20) throwError(kErrSubscript);
    const RecordLayout curve = row <= 2 ? lay.velocityCurve : lay.lightCurve;
    rec[index] = nextRecord(lines, curve, index == 18 ? lay.seventhCurveFirstWidth : 0);
    readRecord(rec[index], curve, p.curves[static_cast<size_t>(row)]);
    ++index;
  }
  for (size_t k = 0; k < p.storedDciRecords.size(); ++k) p.storedDciRecords[k] = rec[k].text;

  readSpotLists(lines, p, lay.spot);
  while (dropLeadingBlanks(lines.next()).substr(0, 4) != "150.") {
  }
  for (const int row : rows)
    p.curves[static_cast<size_t>(row)].points = readObservationBlock(lines, p.NPPL, lay.point);

  finish(out);
  out.dcoName = dciName.empty() ? std::string() : dcoNameFor(dciName);
  return out;
}

InputLoad readLci(const std::string& path, const ParameterSet& base, Layout layout) {
  return readFileWith(path, [&](std::string_view text) { return readLciText(text, base, layout); });
}

InputLoad readDci(const std::string& path, const ParameterSet& base, Layout layout) {
  return readFileWith(path, [&](std::string_view text) { return readDciText(text, base, layout, fileNameOf(path)); });
}

}  // namespace tavrin
