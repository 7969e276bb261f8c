#include "model/observation_file.h"

#include <charconv>
#include <string_view>

#include "shell/app_state.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin {

namespace {

// CR LF, LF and a lone CR each end a line.
std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool isBlankLine(std::string_view line) { return trimBlanks(line).empty(); }

int commaCount(std::string_view line) {
  int n = 0;
  for (char c : line) n += c == ',';
  return n;
}

bool onlyNumberCharacters(std::string_view line) {
  for (char c : line) {
    const bool ok = c == ' ' || c == '+' || c == '-' || c == '.' || c == ',' || (c >= '0' && c <= '9');
    if (!ok) return false;
  }
  return true;
}

enum class ItemResult { Ok, NotNumeric, TooLarge };

// One list item: blanks around it ignored, an optional pair of double quotes
// removed, then the whole item must be a decimal number (exponent allowed).
ItemResult parseItem(std::string_view item, double& value) {
  item = trimBlanks(item);
  if (item.size() >= 2 && item.front() == '"' && item.back() == '"') item = trimBlanks(item.substr(1, item.size() - 2));
  if (item.empty()) return ItemResult::NotNumeric;
  if (item.front() == '+') item.remove_prefix(1);
  if (item.empty()) return ItemResult::NotNumeric;
  // from_chars would also take "inf" and "nan".
  const char lead = item.front() == '-' && item.size() > 1 ? item[1] : item.front();
  if (!(lead == '.' || (lead >= '0' && lead <= '9'))) return ItemResult::NotNumeric;
  const auto [ptr, ec] = std::from_chars(item.data(), item.data() + item.size(), value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) return ItemResult::TooLarge;
  if (ec != std::errc() || ptr != item.data() + item.size()) return ItemResult::NotNumeric;
  return ItemResult::Ok;
}

std::vector<std::string_view> splitItems(std::string_view line) {
  std::vector<std::string_view> items;
  size_t start = 0;
  for (;;) {
    const size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) {
      items.push_back(line.substr(start));
      return items;
    }
    items.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
}

bool allItemsNumeric(std::string_view line) {
  double v = 0.0;
  for (std::string_view item : splitItems(line))
    if (parseItem(item, v) != ItemResult::Ok) return false;
  return true;
}

}  // namespace

std::vector<ObservationPoint> readObservationFile(const std::string& path) {
  std::string text;
  try {
    text = readWholeFile(path);
  } catch (const TavrinError& e) {
    throw inFile(e, path);
  }
  const std::vector<std::string_view> lines = splitLines(text);
  // A bad record refuses the whole file; the message says which line.
  const auto fail = [&](int number, size_t index) { throw TavrinError(number, fileErrorDetail(path, index + 1, lines[index])); };
  // The header test looks at the first two lines that hold anything (a blank
  // line there would otherwise read as a one-column file); a file without
  // them ends too early.
  size_t firstIndex = 0;
  while (firstIndex < lines.size() && isBlankLine(lines[firstIndex])) ++firstIndex;
  size_t secondIndex = firstIndex + 1;
  while (secondIndex < lines.size() && isBlankLine(lines[secondIndex])) ++secondIndex;
  if (secondIndex >= lines.size()) throw TavrinError(kErrPastEndOfFile, fileErrorDetail(path));

  const std::string_view first = lines[firstIndex];
  const std::string_view second = lines[secondIndex];
  // A header has another comma count than the data, or characters no number
  // line holds. A numeric first line with an exponent letter is data.
  const bool header = commaCount(first) != commaCount(second) ||
                      (!onlyNumberCharacters(first) && !allItemsNumeric(first));
  const int columns = commaCount(second) + 1;

  std::vector<ObservationPoint> points;
  if (columns < 2 || columns > 6) return points;

  // The last line that holds anything: a short record before it is malformed,
  // a short record on it ran out of input.
  size_t lastFilled = lines.size();
  while (lastFilled > 0 && isBlankLine(lines[lastFilled - 1])) --lastFilled;

  for (size_t li = header ? firstIndex + 1 : firstIndex; li < lastFilled; ++li) {
    const std::string_view line = lines[li];
    if (isBlankLine(line)) continue;
    const std::vector<std::string_view> items = splitItems(line);
    if (static_cast<int>(items.size()) < columns) fail(li + 1 == lastFilled ? kErrPastEndOfFile : kErrInvalidFormat, li);
    if (static_cast<int>(items.size()) > columns) fail(kErrInvalidFormat, li);
    double v[6] = {0, 0, 0, 0, 0, 0};
    for (int c = 0; c < columns; ++c) {
      switch (parseItem(items[static_cast<size_t>(c)], v[c])) {
        case ItemResult::Ok:
          break;
        case ItemResult::TooLarge:
          fail(kErrOverflow, li);
          break;
        case ItemResult::NotNumeric:
          fail(kErrInvalidFormat, li);
          break;
      }
    }
    if (static_cast<int>(points.size()) >= kMaxObservationPoints) fail(kErrSubscript, li);
    points.push_back(ObservationPoint{v[0], v[1], columns == 2 ? 1.0 : v[2]});
  }
  return points;
}

void loadObservationFile(ParameterSet& p, int curve, const std::string& folder) {
  if (curve < 1 || curve > kCurveRows) throwError(kErrSubscript);
  loadObservationFile(p, curve, folder, p.curves[static_cast<size_t>(curve)].dataFile);
}

void loadObservationFile(ParameterSet& p, int curve, const std::string& folder, const std::string& name) {
  if (curve < 1 || curve > kCurveRows) throwError(kErrSubscript);
  if (name.empty()) throwError(kErrFileNotFound);
  std::vector<ObservationPoint> points = readObservationFile(joinPath(folder, name));
  CurveRow& row = p.curves[static_cast<size_t>(curve)];
  row.points = std::move(points);
  row.dataFile = name;
  if (curve == 1) p.IFVC1 = 1;
  if (curve == 2) p.IFVC2 = 1;
}

}  // namespace tavrin
