#include "output/plot_observations.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "model/number_fields.h"
#include "shell/app_state.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin {

namespace {

constexpr int kErrDivisionByZero = 11;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// A whole field as a number: "D" exponents and a leading "+" are accepted,
// an empty field reads as 0, anything else that is not a number is refused.
double fieldNumber(std::string_view field) {
  if (field.empty()) return 0.0;
  std::string s = exponentDToE(std::string(field));
  std::string_view v = s;
  if (v.front() == '+') v.remove_prefix(1);
  double x = 0.0;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), x);
  if (ec == std::errc::result_out_of_range) throwError(kErrOverflow);
  if (ec != std::errc() || end != v.data() + v.size()) throwError(kErrInvalidFormat);
  if (!std::isfinite(x)) throwError(kErrInvalidFormat);  // "inf", "nan"
  return x;
}

// Numbers one after another across the text: a number ends at a comma, a
// blank or the end of a line; a comma right after a number's end (blanks
// allowed between) belongs to it.
class NumberStream {
 public:
  explicit NumberStream(std::string_view text) : text_(text) {}

  // Next field, or false at the end of the text.
  bool next(std::string_view& field) {
    for (;;) {
      while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
      if (pos_ >= text_.size()) {
        if (pendingEmpty_) {
          pendingEmpty_ = false;
          field = {};
          return true;
        }
        return false;
      }
      if (text_[pos_] == '\n') {
        ++pos_;
        // A line ending just after a comma holds one more, empty, field.
        if (pendingEmpty_) {
          pendingEmpty_ = false;
          field = {};
          return true;
        }
        continue;
      }
      pendingEmpty_ = false;
      if (text_[pos_] == ',') {  // empty field
        ++pos_;
        pendingEmpty_ = true;
        field = {};
        return true;
      }
      const size_t start = pos_;
      while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\n' && !isBlank(text_[pos_])) ++pos_;
      field = text_.substr(start, pos_ - start);
      size_t look = pos_;
      while (look < text_.size() && isBlank(text_[look])) ++look;
      if (look < text_.size() && text_[look] == ',') {
        pos_ = look + 1;
        pendingEmpty_ = true;
      }
      return true;
    }
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  bool pendingEmpty_ = false;
};

struct Records {
  std::vector<double> times, values;
  double min = 0.0, max = 0.0;
};

}  // namespace

bool parseObservationRecords(const std::string& text, int maxRecords, std::vector<double>& times,
                             std::vector<double>& values, size_t* failedAt) {
  times.clear();
  values.clear();
  // Reading the first line of an empty file is reading past its end.
  if (text.empty()) throwError(kErrPastEndOfFile);
  const size_t eol = text.find('\n');
  const std::string_view first = std::string_view(text).substr(0, eol);
  const auto commas = std::count(first.begin(), first.end(), ',');
  if (commas < 1 || commas > 3) return false;
  const int perRecord = static_cast<int>(commas) + 1;

  NumberStream in(text);
  std::string_view field;
  std::vector<double> t, v;
  // Where the field being read starts (an empty field: where the stream stood).
  const auto mark = [&](std::string_view f) {
    if (failedAt && f.data()) *failedAt = static_cast<size_t>(f.data() - text.data());
  };
  while (in.next(field)) {
    mark(field);
    if (static_cast<int>(t.size()) >= maxRecords) throwError(kErrSubscript);
    const double time = fieldNumber(field);
    double value = 0.0;
    for (int k = 1; k < perRecord; ++k) {
      if (!in.next(field)) throwError(kErrPastEndOfFile);
      mark(field);
      const double x = fieldNumber(field);
      if (k == 1) value = x;  // further numbers are read and ignored
    }
    t.push_back(time);
    v.push_back(value);
  }
  times = std::move(t);
  values = std::move(v);
  return true;
}

double foldDate(double date, const ParameterSet& p) {
  if (p.PERIOD == 0.0) throwError(kErrDivisionByZero);
  const double t = (date - p.HJD0) / p.PERIOD;
  if (!std::isfinite(t)) throwError(kErrOverflow);
  return t - std::floor(t) + p.PSHIFT;
}

bool lightTimesArePhases(double min, double max) { return max - min <= 1.51 && min <= 0.2 && max >= 0.8; }

bool velocityTimesAreDates(double min, double max) { return max - min > 1.56 || min > 0.2 || max < 0.8; }

namespace {

// Shared part of both loads: records, range and folding into new tables.
struct Loaded {
  std::vector<double> phase, value, timeAsRead;
  double min = 0.0, max = 0.0;
  bool folded = false;
};

// The records of the file; a failure names the file and the line it met.
bool readRecordsOf(const std::string& path, int maxRecords, std::vector<double>& times, std::vector<double>& values) {
  std::string text;
  try {
    text = readWholeFile(path);
  } catch (const TavrinError& e) {
    throw inFile(e, path);
  }
  size_t at = std::string::npos;
  try {
    return parseObservationRecords(text, maxRecords, times, values, &at);
  } catch (const TavrinError& e) {
    if (at >= text.size()) throw inFile(e, path);
    const size_t begin = text.rfind('\n', at) == std::string::npos ? 0 : text.rfind('\n', at) + 1;
    const size_t end = std::min(text.find('\n', at), text.size());
    const auto line = static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(begin), '\n')) + 1;
    std::string_view lineText = std::string_view(text).substr(begin, end - begin);
    if (!lineText.empty() && lineText.back() == '\r') lineText.remove_suffix(1);
    throw inFile(e, path, line, lineText);
  }
}

bool readObservations(const std::string& folder, const std::string& fileName, int maxRecords, bool velocities,
                      const ParameterSet& p, Loaded& out) {
  std::vector<double> times, values;
  if (!readRecordsOf(joinPath(folder, fileName), maxRecords, times, values)) return false;
  if (!times.empty()) {
    const auto [lo, hi] = std::minmax_element(times.begin(), times.end());
    out.min = *lo;
    out.max = *hi;
  }
  out.folded = !times.empty() &&
               (velocities ? velocityTimesAreDates(out.min, out.max) : !lightTimesArePhases(out.min, out.max));
  if (out.folded) {
    out.phase.reserve(times.size());
    for (double t : times) out.phase.push_back(foldDate(t, p));
    out.timeAsRead = std::move(times);
  } else {
    out.phase = std::move(times);
  }
  out.value = std::move(values);
  return true;
}

}  // namespace

ObservationLoad loadLightData(const std::string& folder, const std::string& fileName, const ParameterSet& p,
                              ObservedLight& obs, PlotState& state) {
  Loaded in;
  if (!readObservations(folder, fileName, kMaxObservedLight, false, p, in)) return ObservationLoad::NotRecognised;
  ObservedLight fresh;
  fresh.fileName = fileName;
  fresh.phase = std::move(in.phase);
  fresh.light = std::move(in.value);
  fresh.timeAsRead = std::move(in.timeAsRead);
  fresh.folded = in.folded;
  obs = std::move(fresh);
  setDisplayMode(state, kCurveAndData);
  return ObservationLoad::Loaded;
}

ObservationLoad loadVelocityData(const std::string& folder, const std::string& fileName, int set,
                                 const ParameterSet& p, ObservedVelocities& obs, PlotState& state) {
  if (set != 1 && set != 2) throwError(kErrSubscript);
  Loaded in;
  if (!readObservations(folder, fileName, kMaxObservedVelocities, true, p, in)) return ObservationLoad::NotRecognised;
  VelocitySet fresh;
  fresh.fileName = fileName;
  fresh.loaded = true;
  fresh.phase = std::move(in.phase);
  fresh.velocity = std::move(in.value);
  fresh.folded = in.folded;
  if (in.folded) {
    fresh.timeAsRead = std::move(in.timeAsRead);
    fresh.timeMin = in.min;
    fresh.timeMax = in.max;
  }
  obs.set(set) = std::move(fresh);
  setDisplayMode(state, kCurveAndData);
  return ObservationLoad::Loaded;
}

}  // namespace tavrin
