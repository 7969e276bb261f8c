#include "output/report_text.h"

#include <cmath>

#include "model/number_fields.h"
#include "shell/errors.h"

namespace tavrin::report {

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    size_t end = nl == std::string::npos ? text.size() : nl;
    size_t len = end - start;
    if (len > 0 && text[end - 1] == '\r') --len;
    lines.emplace_back(text, start, len);
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return lines;
}

std::string leftTrim(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return std::string(s.substr(i));
}

std::string trim(std::string_view s) {
  std::string t = leftTrim(s);
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}

std::string mid(std::string_view s, int col, int len) {
  if (col < 1 || len <= 0) return {};
  size_t start = static_cast<size_t>(col - 1);
  if (start >= s.size()) return {};
  return std::string(s.substr(start, static_cast<size_t>(len)));
}

double number(std::string_view field) {
  double v = leadingNumber(exponentDToE(std::string(field)));
  if (!std::isfinite(v)) throwError(kErrOverflow);
  return v;
}

int int16(std::string_view field) { return roundToInt16(number(field)); }

}  // namespace tavrin::report
