#pragma once
// Line and column helpers shared by the LCO and DCO readers.

#include <string>
#include <string_view>
#include <vector>

namespace tavrin::report {

// Splits text into lines at LF, dropping one CR before each LF. A final line
// without LF counts; a final LF does not start another line.
std::vector<std::string> splitLines(const std::string& text);

std::string leftTrim(std::string_view s);
std::string trim(std::string_view s);

// Characters col..col+len-1 (1-based); whatever part lies on the line.
std::string mid(std::string_view s, int col, int len);

// Lenient number of a field: "D"/"d" exponents accepted, 0 when none.
// A value that does not fit a double is TavrinError(6).
double number(std::string_view field);
// number() rounded to the nearest 16-bit integer, halves to even (6 when out of range).
int int16(std::string_view field);

}  // namespace tavrin::report
