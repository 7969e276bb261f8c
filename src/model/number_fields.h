#pragma once
// Fixed-width number texts of the LC/DC input layouts, and the lenient number
// parse of text boxes and file fields. Locale independent: "." always.
// Integer arithmetic that would leave 16 bits throws TavrinError(6).

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin {

std::string plainNumberText(double x);
std::string plainNumberText(int v);
// plainNumberText without its sign-place blank.
std::string trimmedPlainText(double x);

std::string intField(int v, int width, std::string_view pad);
std::string fixedField(double x, int width, int decimals);
std::string expField(double x, int width, int digits);
std::string exponentDToE(std::string s);
std::string alignFirstToken(std::string line, int width);

// Leading-number parse: skip blanks, take the longest numeric prefix, 0 if none.
double leadingNumber(std::string_view text);
// Round to nearest, halves to even; throws TavrinError(6) outside -32768..32767.
int16_t roundToInt16(double x);
// leadingNumber then roundToInt16.
int16_t leadingInt16(std::string_view text);

// First n characters of plainNumberText(x) (sign place included).
std::string leftOfPlain(double x, int n);
// What a field shows of a value: `formText` when it parses back to exactly
// `value`, else the shortest text that does, so a save reads back the value.
std::string losslessText(double value, const std::string& formText);

}  // namespace tavrin
