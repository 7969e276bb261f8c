#include "model/input_reader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "model/editor_rules.h"
#include "model/field_entry.h"
#include "model/number_fields.h"
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

Record nextRecord(Lines& lines, int width, const std::vector<int>& widths) {
  return Record{detail::cutRecord(lines.next(), width, widths)};
}

// Field widths of each record as the writers lay it out.
using Widths = std::vector<int>;
const Widths kSpotW = {9, 9, 9, 9};
const Widths kLciW[2][8] = {
    {{},
     Widths(16, 1),
     {1, 15, 15, 13, 10, 10, 2, 10},
     {14, 15, 13, 12, 12, 12, 12},
     {2, 2, 2, 2, 3, 3, 13, 12, 7, 8},
     {6, 13, 10, 10, 10, 9, 7, 7, 7},
     {7, 8, 8, 7, 13, 13, 13, 7, 7, 7, 7},
     {3, 10, 10, 7, 7, 7, 7, 8, 10, 8, 8, 9}},
    {{},
     Widths(16, 1),
     {1, 15, 15, 13, 10, 10, 2, 10},
     {14, 15, 13, 10, 10, 10, 10},
     {2, 2, 2, 2, 3, 3, 13, 12, 7, 8},
     {6, 10, 10, 10, 10, 9, 7, 7},
     {7, 8, 7, 7, 12, 12, 10, 7, 7, 7, 7},
     {9, 10, 10, 7, 7, 7, 7, 8, 10, 8, 8}}};
const Widths kDciW[2][12] = {
    {{},
     Widths(8, 8),
     Widths(10, 8),
     Widths(9, 8),
     {1, 4, 1, 4, 1, 7, 1, 5, 1, 5, 1, 5, 1, 5, 1, 1, 1, 1, 1, 1, 10},
     {3, 3, 3, 3},
     {1, 1, 1, 1, 2, 2, 2, 2, 2},
     Widths(14, 1),
     {1, 15, 17, 14, 10},
     {2, 2, 2, 2, 3, 3, 3, 3, 13, 12, 8, 9},
     {6, 13, 10, 10, 10, 9, 7, 7, 7},
     {7, 8, 7, 7, 13, 13, 13, 7, 7, 7, 7}},
    {{},
     Widths(8, 8),
     Widths(10, 8),
     Widths(9, 8),
     {1, 4, 1, 4, 1, 7, 1, 5, 1, 5, 1, 5, 1, 5, 1, 1, 1, 1, 1, 1, 10},
     {3, 3, 3, 3},
     {1, 1, 1, 1, 2, 2, 2, 2, 2},
     Widths(14, 1),
     {1, 15, 15, 13, 10},
     {2, 2, 2, 2, 3, 3, 3, 3, 13, 12, 8, 9},
     {6, 10, 10, 10, 10, 9, 7, 7},
     {7, 8, 7, 7, 12, 12, 2, 13, 7, 7, 7, 7}}};
// Velocity- and light-curve records, up to the data-file name.
const Widths kCurveW[2][2] = {{{3, 10, 10, 7, 7, 7, 7, 10, 12, 10}, {3, 10, 10, 7, 7, 7, 7, 8, 10, 2, 12, 10}},
                              {{9, 10, 10, 6, 6, 6, 6, 10, 12}, {9, 10, 10, 6, 6, 6, 6, 8, 10, 2, 12}}};

enum class FormKind { Fixed, Left, Exp, Int, Combo };
struct Form {
  FormKind kind;
  int w = 0;
  int d = 0;
};
Form F(int w, int d) { return {FormKind::Fixed, w, d}; }
Form L(int n) { return {FormKind::Left, n, 0}; }
Form X(int w, int d) { return {FormKind::Exp, w, d}; }
Form R(int w) { return {FormKind::Int, w, 0}; }
Form C() { return {FormKind::Combo, 0, 0}; }

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
      std::string formText;
      try {
        switch (form.kind) {
          case FormKind::Fixed: formText = fixedField(value, form.w, form.d); break;
          case FormKind::Left: formText = leftOfPlain(value, form.w); break;
          default: formText = expField(value, form.w, form.d); break;
        }
      } catch (const TavrinError&) {
        formText.clear();  // too large for the form: the plain digits will do
      }
      text = losslessText(value, formText);
    }
    if (out_.displayTexts.find(control) == out_.displayTexts.end()) out_.displayOrder.push_back(control);
    out_.displayTexts[control] = text;
  }

 private:
  InputLoad& out_;
};

void readSpotLists(Lines& lines, ParameterSet& p) {
  for (int star = 1; star <= 2; ++star) {
    int n = 0;
    for (;;) {
      const std::string_view raw = lines.next();
      if (dropLeadingBlanks(raw).substr(0, 4) == "300.") break;
      if (++n > kMaxSpotsPerStar) throwError(kErrSubscript);
      const Record r{detail::cutRecord(raw, 9, kSpotW)};
      Spot& s = p.spots[static_cast<size_t>(star)][static_cast<size_t>(n)];
      s = Spot{r.num(1, 9), r.num(10, 18), r.num(19, 27), r.num(28, 36)};
    }
    p.spotCount[static_cast<size_t>(star)] = static_cast<int16_t>(n);
  }
  p.totalSpotCount = static_cast<int16_t>(p.spotCount[1] + p.spotCount[2]);
}

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
  const bool older = layout == Layout::Older;
  InputLoad out;
  out.params = base;
  out.layout = layout;
  ParameterSet& p = out.params;

  Lines lines(text);
  std::array<Record, 8> rec;
  // L4 carries a 2-column MODE; L1 and L2 start with a 1-column field.
  static const int kWidths[8] = {0, 1, 1, 14, 2, 6, 7, 3};
  for (int k = 1; k <= 7; ++k) rec[k] = nextRecord(lines, k == 7 && older ? 9 : kWidths[k], kLciW[older][k]);
  readSpotLists(lines, p);
  lines.next();  // "150."
  lines.next();  // "9"

  Loader ld(out);
  const Record& l1 = rec[1];
  if (!older) ld.field("MPAGE", l1.i16(1, 1), C());
  ld.field("NREF", l1.i16(3, 3), R(1));
  ld.field("MREF", l1.i16(5, 5), C());
  ld.field("IFSMV1", l1.i16(7, 7), R(1));
  ld.field("IFSMV2", l1.i16(9, 9), R(1));
  ld.field("ICOR1", l1.i16(11, 11), R(1));
  ld.field("ICOR2", l1.i16(13, 13), R(1));
  ld.field("LD", l1.i16(15, 15), C());

  const Record& l2 = rec[2];
  ld.field("JDPHS", l2.i16(1, 1), C());
  ld.field("HJD0", l2.num(2, 16), F(15, 4));
  ld.field("PERIOD", l2.num(17, 31), L(10));
  ld.field("DPDT", l2.num(32, 44), L(6));
  ld.field("PSHIFT", l2.num(45, 54), F(10, 4));
  ld.field("FRACSD", l2.num(55, 64), L(4));
  ld.field("NOISE", l2.i16(65, 66), C());
  ld.field("SEED", older ? l2.num(67, 76) : l2.num(67, 77), F(11, 0));

  const Record& l3 = rec[3];
  ld.field("JDSTART", l3.num(1, 14), F(14, 4));
  ld.field("JDSTOP", l3.num(15, 29), F(15, 4));
  ld.field("JDINCR", l3.num(30, 42), F(13, 4));
  if (older) {
    ld.field("PHSTRT", l3.num(43, 52), F(12, 4));
    ld.field("PHSTOP", l3.num(53, 62), F(12, 4));
    ld.field("PHIN", l3.num(63, 72), F(12, 4));
    ld.field("PHN", l3.num(73, 82), F(12, 4));
  } else {
    ld.field("PHSTRT", l3.num(43, 54), F(12, 4));
    ld.field("PHSTOP", l3.num(55, 66), F(12, 4));
    ld.field("PHIN", l3.num(67, 78), F(12, 4));
    ld.field("PHN", l3.num(79, 90), F(12, 4));
  }

  const Record& l4 = rec[4];
  ld.field("MODE", l4.i16(1, 2), C());
  ld.field("IPB", l4.i16(3, 4), R(2));
  ld.field("IFAT1", l4.i16(5, 6), R(2));
  ld.field("IFAT2", l4.i16(7, 8), R(2));
  ld.field("N1", l4.i16(9, 11), R(3));
  ld.field("N2", l4.i16(12, 14), R(3));
  ld.field("PER", l4.num(15, 27), F(7, 6));
  ld.field("DPERDT", l4.num(28, 39), X(12, 5));
  ld.field("THE", l4.num(40, 46), F(7, 5));
  ld.field("VUNIT", l4.num(47, 54), F(6, 2));

  const Record& l5 = rec[5];
  ld.field("E", l5.num(1, 6), F(6, 5));
  if (older) {
    ld.field("A", l5.num(7, 16), F(13, 6));
    ld.field("F1", l5.num(17, 26), F(10, 4));
    ld.field("F2", l5.num(27, 36), F(10, 4));
    ld.field("VGA", l5.num(37, 46), F(10, 4));
    ld.field("XINCL", l5.num(47, 55), F(9, 3));
    ld.field("GR1", l5.num(56, 62), F(7, 3));
    ld.field("GR2", l5.num(63, 69), F(7, 3));
  } else {
    ld.field("A", l5.num(7, 19), F(13, 6));
    ld.field("F1", l5.num(20, 29), F(10, 4));
    ld.field("F2", l5.num(30, 39), F(10, 4));
    ld.field("VGA", l5.num(40, 49), F(10, 4));
    ld.field("XINCL", l5.num(50, 58), F(9, 3));
    ld.field("GR1", l5.num(59, 65), F(7, 3));
    ld.field("GR2", l5.num(66, 72), F(7, 3));
    ld.field("MH", l5.num(73, 79), F(7, 2));
  }

  const Record& l6 = rec[6];
  ld.field("T1", kelvinFromFile(l6.num(1, 7)), F(7, 1));
  ld.field("T2", kelvinFromFile(l6.num(8, 15)), F(7, 1));
  if (older) {
    ld.field("ALB1", l6.num(16, 22), F(7, 3));
    ld.field("ALB2", l6.num(23, 29), F(7, 3));
    ld.field("POTH", l6.num(30, 41), L(7));
    ld.field("POT2", l6.num(42, 53), L(7));
    ld.field("RM", l6.num(54, 63), F(8, 6));
    ld.field("XBOL1", l6.num(64, 70), F(6, 3));
    ld.field("XBOL2", l6.num(71, 77), F(6, 3));
    ld.field("YBOL1", l6.num(78, 84), F(6, 3));
    ld.field("YBOL2", l6.num(85, 91), F(6, 3));
  } else {
    ld.field("ALB1", l6.num(16, 23), F(7, 3));
    ld.field("ALB2", l6.num(24, 30), F(7, 3));
    ld.field("POTH", l6.num(31, 43), L(7));
    ld.field("POT2", l6.num(44, 56), L(7));
    ld.field("RM", l6.num(57, 69), F(8, 6));
    ld.field("XBOL1", l6.num(70, 76), F(6, 3));
    ld.field("XBOL2", l6.num(77, 83), F(6, 3));
    ld.field("YBOL1", l6.num(84, 90), F(6, 3));
    ld.field("YBOL2", l6.num(91, 97), F(6, 3));
  }

  const Record& l7 = rec[7];
  if (older) {
    const double wavel = l7.num(1, 9);
    // The band list's handler rewrites the wavelength, so the band goes first.
    if (const int band = bandForWavelength(wavel)) ld.field("BAND", band, C());
    ld.field("WAVEL", wavel, F(7, 4));
    ld.field("L1", l7.num(10, 19), F(8, 4));
    ld.field("L2", l7.num(20, 29), F(8, 4));
    ld.field("X1", l7.num(30, 36), F(6, 3));
    ld.field("X2", l7.num(37, 43), F(6, 3));
    ld.field("Y1", l7.num(44, 50), F(6, 3));
    ld.field("Y2", l7.num(51, 57), F(6, 3));
    ld.field("EL3", l7.num(58, 65), F(6, 3));
    ld.field("OPSF", l7.num(66, 75), L(4));
    ld.field("ZERO", l7.num(76, 83), L(3));
    ld.field("FACTOR", l7.num(84, 91), F(7, 3));
  } else {
    ld.field("BAND", l7.i16(1, 3), C());
    ld.field("L1", l7.num(4, 13), F(10, 3));
    ld.field("L2", l7.num(14, 23), F(10, 3));
    ld.field("X1", l7.num(24, 30), F(7, 3));
    ld.field("X2", l7.num(31, 37), F(7, 3));
    ld.field("Y1", l7.num(38, 44), F(7, 3));
    ld.field("Y2", l7.num(45, 51), F(7, 3));
    ld.field("EL3", l7.num(52, 59), F(8, 4));
    ld.field("OPSF", l7.num(60, 69), L(4));
    ld.field("ZERO", l7.num(70, 77), F(8, 3));
    ld.field("FACTOR", l7.num(78, 85), F(7, 4));
    ld.field("WAVEL", l7.num(86, 94), F(7, 4));
  }
  finish(out);
  return out;
}

namespace {

void readCurveRecord(const Record& r, CurveRow& c, bool velocity, bool older) {
  if (older) {
    c.wavel = r.num(1, 9);
    c.l1 = r.num(10, 19);
    c.l2 = r.num(20, 29);
    c.x1 = r.num(30, 35);
    c.x2 = r.num(36, 41);
    c.y1 = r.num(42, 47);
    c.y2 = r.num(48, 53);
    if (velocity) {
      c.opsf = r.i16(54, 63);
      c.sigma = r.num(64, 75);
      c.dataFile = r.text.size() > 75 ? r.tail(76) : std::string();
    } else {
      c.el3 = r.num(54, 61);
      c.opsf = r.i16(62, 71);
      c.noise = r.i16(72, 73);
      c.sigma = r.num(74, 85);
      c.dataFile = r.text.size() > 86 ? r.tail(87) : std::string();
    }
    return;
  }
  c.band = r.i16(1, 3);
  c.l1 = r.num(4, 13);
  c.l2 = r.num(14, 23);
  c.x1 = r.num(24, 30);
  c.x2 = r.num(31, 37);
  c.y1 = r.num(38, 44);
  c.y2 = r.num(45, 51);
  if (velocity) {
    c.opsf = r.i16(52, 61);
    c.sigma = r.num(62, 73);
    c.wavel = r.num(74, 83);
    c.dataFile = r.text.size() > 83 ? r.tail(84) : std::string();
  } else {
    c.el3 = r.num(52, 59);
    c.opsf = r.i16(60, 69);
    c.noise = r.i16(70, 71);
    c.sigma = r.num(72, 83);
    c.wavel = r.num(84, 93);
    c.dataFile = r.text.size() > 93 ? r.tail(94) : std::string();
  }
}

std::vector<ObservationPoint> readObservationBlock(Lines& lines, int perLine, bool older) {
  std::vector<ObservationPoint> points;
  std::vector<int> pointWidths;
  for (int k = 0; k < perLine && k < kMaxStoredPoints; ++k) {
    pointWidths.insert(pointWidths.end(), {14, 8});
    if (older) pointWidths.insert(pointWidths.end(), {5, 1});
    else pointWidths.push_back(6);
  }
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
    const Record r{detail::cutRecord(raw, 14, pointWidths)};
    for (int k = 0; k < perLine; ++k) {
      if (points.size() >= static_cast<size_t>(kMaxStoredPoints)) throwError(kErrSubscript);
      const int at = 28 * k;
      points.push_back({r.num(at + 1, at + 14), r.num(at + 15, at + 22), r.num(at + 23, at + (older ? 27 : 28))});
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
  const bool older = layout == Layout::Older;
  InputLoad out;
  out.params = base;
  out.layout = layout;
  ParameterSet& p = out.params;

  // First-field width of each stored record (index = record number).
  static const std::array<int, 19> kCurrentWidths = {0, 8, 8, 8, 5, 3, 1, 1, 1, 2, 6, 7, 3, 3, 3, 3, 3, 3, 3};
  static const std::array<int, 19> kOlderWidths = {0, 8, 8, 8, 5, 3, 1, 1, 1, 2, 6, 7, 9, 9, 9, 9, 9, 9, 3};
  const auto& widths = older ? kOlderWidths : kCurrentWidths;

  Lines lines(text);
  std::array<Record, 21> rec;
  for (int k = 1; k <= 11; ++k)
    rec[static_cast<size_t>(k)] = nextRecord(lines, widths[static_cast<size_t>(k)], kDciW[older][k]);

  Loader ld(out);
  // Increments 1..26 and the 27th, kept as a text.
  int inc = 1;
  for (int k = 1; k <= 3; ++k) {
    const int count = k == 1 ? 8 : k == 2 ? 10 : 9;
    for (int j = 0; j < count; ++j, ++inc) {
      const double v = rec[static_cast<size_t>(k)].num(8 * j + 1, 8 * j + 8);
      if (inc <= kIncrements) {
        p.increments[static_cast<size_t>(inc)] = v;
      } else {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, v);
        p.x2Increment.assign(buf, res.ptr);
      }
    }
  }

  const Record& d4 = rec[4];
  static const std::array<std::pair<int, int>, 7> kKeyGroups = {
      {{2, 1}, {7, 5}, {12, 9}, {20, 16}, {26, 21}, {32, 26}, {38, 31}}};
  static const std::array<int, 7> kGroupEnds = {4, 8, 15, 20, 25, 30, 35};
  for (size_t g = 0; g < kKeyGroups.size(); ++g) {
    const auto [col, first] = kKeyGroups[g];
    for (int key = first; key <= kGroupEnds[g]; ++key) {
      if (key == 30) continue;  // names no parameter; the stored key stays
      const std::string_view c = d4.cols(col + key - first, col + key - first);
      // Only "0" adjusts; anything else (a short line, a stray character) holds.
      p.adjustKeys[static_cast<size_t>(key)] = c == "0" ? '0' : '1';
    }
  }
  p.adjustedParams.clear();
  for (int key = 1; key <= kAdjustKeys && p.adjustedParams.size() < 15; ++key)
    if (p.adjustKeys[static_cast<size_t>(key)] == '0') p.adjustedParams.push_back(static_cast<int16_t>(key));
  p.IFDER = d4.i16(44, 44);
  p.IFM = d4.i16(46, 46);
  p.IFR = d4.i16(48, 48);
  p.XLAMDA = d4.num(49, 58);

  const Record& d5 = rec[5];
  p.spotAStar = d5.i16(1, 3);
  p.spotANumber = d5.i16(4, 6);
  p.spotBStar = d5.i16(7, 9);
  p.spotBNumber = d5.i16(10, 12);

  const Record& d6 = rec[6];
  p.IFVC1 = d6.i16(1, 1);
  p.IFVC2 = d6.i16(3, 3);
  p.NLC = d6.i16(5, 6);
  p.KO = d6.i16(7, 8);
  p.KDISK = d6.i16(9, 10);
  ld.field("ISYM", d6.i16(11, 12), R(1));
  p.NPPL = d6.i16(13, 14);
  p.velocityCurveCount = 0;
  if (p.IFVC1 == 1) p.velocityCurveCount = 1;
  if (p.IFVC2 == 1) p.velocityCurveCount = 2;

  const Record& d7 = rec[7];
  ld.field("NREF", d7.i16(1, 1), R(1));
  ld.field("MREF", d7.i16(3, 3), C());
  ld.field("IFSMV1", d7.i16(5, 5), R(1));
  ld.field("IFSMV2", d7.i16(7, 7), R(1));
  ld.field("ICOR1", d7.i16(9, 9), R(1));
  ld.field("ICOR2", d7.i16(11, 11), R(1));
  ld.field("LD", d7.i16(13, 13), C());

  const Record& d8 = rec[8];
  ld.field("JDPHS", d8.i16(1, 1), C());
  ld.field("HJD0", d8.num(2, 16), F(15, 4));
  if (older) {
    ld.field("PERIOD", d8.num(17, 31), L(8));
    ld.field("DPDT", d8.num(32, 44), L(6));
    ld.field("PSHIFT", d8.num(45, 54), F(8, 4));
  } else {
    ld.field("PERIOD", d8.num(17, 33), L(8));
    ld.field("DPDT", d8.num(34, 47), L(6));
    ld.field("PSHIFT", d8.num(48, 57), F(8, 4));
  }

  const Record& d9 = rec[9];
  ld.field("MODE", d9.i16(1, 2), C());
  ld.field("IPB", d9.i16(3, 4), R(2));
  ld.field("IFAT1", d9.i16(5, 6), R(2));
  ld.field("IFAT2", d9.i16(7, 8), R(2));
  ld.field("N1", d9.i16(9, 11), R(3));
  ld.field("N2", d9.i16(12, 14), R(3));
  ld.field("N1L", d9.i16(15, 17), R(3));
  ld.field("N2L", d9.i16(18, 20), R(3));
  ld.field("PER", d9.num(21, 33), F(7, 3));
  ld.field("DPERDT", d9.num(34, 45), X(12, 5));
  ld.field("THE", d9.num(46, 53), F(7, 4));
  ld.field("VUNIT", d9.num(54, 62), F(6, 2));

  const Record& d10 = rec[10];
  ld.field("E", d10.num(1, 6), F(6, 3));
  if (older) {
    ld.field("A", d10.num(7, 16), F(8, 4));
    ld.field("F1", d10.num(17, 26), F(6, 3));
    ld.field("F2", d10.num(27, 36), F(6, 3));
    ld.field("VGA", d10.num(37, 46), F(7, 3));
    ld.field("XINCL", d10.num(47, 55), F(7, 3));
    ld.field("GR1", d10.num(56, 62), F(6, 3));
    ld.field("GR2", d10.num(63, 69), F(6, 3));
  } else {
    ld.field("A", d10.num(7, 19), F(8, 4));
    ld.field("F1", d10.num(20, 29), F(6, 3));
    ld.field("F2", d10.num(30, 39), F(6, 3));
    ld.field("VGA", d10.num(40, 49), F(7, 3));
    ld.field("XINCL", d10.num(50, 58), F(7, 3));
    ld.field("GR1", d10.num(59, 65), F(6, 3));
    ld.field("GR2", d10.num(66, 72), F(6, 3));
    ld.field("MH", d10.num(73, 79), F(6, 3));
  }

  const Record& d11 = rec[11];
  ld.field("T1", kelvinFromFile(d11.num(1, 7)), F(7, 0));
  ld.field("T2", kelvinFromFile(d11.num(8, 15)), F(7, 0));
  ld.field("ALB1", d11.num(16, 22), F(6, 3));
  ld.field("ALB2", d11.num(23, 29), F(6, 3));
  if (older) {
    ld.field("POTH", d11.num(30, 41), L(7));
    ld.field("POT2", d11.num(42, 53), L(7));
  } else {
    ld.field("POTH", d11.num(30, 42), L(7));
    ld.field("POT2", d11.num(43, 55), L(7));
  }
  ld.field("RM", d11.num(56, 68), F(8, 5));
  ld.field("XBOL1", d11.num(69, 75), F(6, 3));
  ld.field("XBOL2", d11.num(76, 82), F(6, 3));
  ld.field("YBOL1", d11.num(83, 89), F(6, 3));
  ld.field("YBOL2", d11.num(90, 96), F(6, 3));

  // Curve records from stored record 12 on.
  std::vector<int> rows;
  if (p.IFVC1 == 1) rows.push_back(1);
  if (p.IFVC2 == 1) rows.push_back(2);
  for (int j = 1; j <= p.NLC; ++j) {
    if (j > 5) throwError(kErrSubscript);
    rows.push_back(j + 2);
  }
  size_t index = 12;
  for (const int row : rows) {
    if (index > 20) throwError(kErrSubscript);
    rec[index] = nextRecord(lines, widths[index], kCurveW[older][row <= 2 ? 0 : 1]);
    readCurveRecord(rec[index], p.curves[static_cast<size_t>(row)], row <= 2, older);
    ++index;
  }
  for (size_t k = 0; k < p.storedDciRecords.size(); ++k) p.storedDciRecords[k] = rec[k].text;

  readSpotLists(lines, p);
  while (dropLeadingBlanks(lines.next()).substr(0, 4) != "150.") {
  }
  for (const int row : rows) p.curves[static_cast<size_t>(row)].points = readObservationBlock(lines, p.NPPL, older);

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
