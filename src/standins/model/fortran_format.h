#pragma once
// Fixed-column number texts for the stand-in reports, in the manner of
// classic Fortran listings. Locale independent (std::to_chars only).

#include <string>
#include <string_view>

namespace tavrin::standin {

// Fortran Fw.d: fixed point, right-justified. A value that does not fit
// falls back to the exponent form of the same width rather than asterisks.
std::string fmtF(double x, int width, int decimals);
// Fortran Dw.d / Ew.d: "0.ddddD+ee" right-justified (the leading zero is
// dropped when the field is too narrow for it).
std::string fmtD(double x, int width, int digits, char letter = 'D');
// Fortran 1PEw.d: one digit before the point ("-2.4570001235E+06").
std::string fmt1PE(double x, int width, int digits);
// Fortran Iw, right-justified; never cut.
std::string fmtI(long long v, int width);

// Right- and left-justified padding helpers.
std::string padLeft(std::string_view s, size_t width);
std::string padRight(std::string_view s, size_t width);
// Puts text at a 1-based column of a line, extending it with blanks.
void placeAt(std::string& line, size_t column, std::string_view text);

}  // namespace tavrin::standin
