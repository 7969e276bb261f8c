#pragma once
// Test-only reference for the fixed-width number texts (the plain, unoptimised
// formatting). The production routines must produce the same characters.

#include <string>
#include <string_view>

namespace tavrin::reference {

std::string plainNumberText(double x);
std::string plainNumberText(int v);
std::string trimmedPlainText(double x);
std::string intField(int v, int width, std::string_view pad);
std::string fixedField(double x, int width, int decimals);
std::string expField(double x, int width, int digits);

}  // namespace tavrin::reference
