#include "model/field_entry.h"

#include <cmath>

#include "model/number_fields.h"

namespace tavrin {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at the start of s (sign, digits with one point, an
// optional exponent with at least one digit); 0 when there is none.
size_t numberLength(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const size_t expStart = j;
    while (j < s.size() && isDigit(s[j])) ++j;
    if (j > expStart) i = j;
  }
  return i;
}

}  // namespace

FieldEntry readRealEntry(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return {};
  if (numberLength(text) != text.size()) return {0.0, EntryFault::NotANumber};
  std::string number(text);
  for (char& c : number)
    if (c == 'd' || c == 'D') c = 'E';
  double v = 0.0;
  try {
    v = leadingNumber(number);
  } catch (const std::exception&) {
    return {0.0, EntryFault::TooLarge};
  }
  if (!(std::fabs(v) <= kLargestFieldValue)) return {0.0, EntryFault::TooLarge};
  return {v, EntryFault::None};
}

FieldEntry readIntegerEntry(std::string_view text) {
  FieldEntry e = readRealEntry(text);
  if (e.fault == EntryFault::NotANumber) return e;
  try {
    if (e.ok()) return {static_cast<double>(roundToInt16(e.value)), EntryFault::None};
  } catch (const std::exception&) {
  }
  return {0.0, EntryFault::NotInt16};
}

std::string entryRefusal(EntryFault fault, std::string_view who, std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  const char* what = fault == EntryFault::NotInt16    ? "not a whole number from -32768 to 32767"
                     : fault == EntryFault::TooLarge ? "too large a number"
                                                     : "not a number";
  return "The field " + std::string(who) + " holds \"" + std::string(text) + "\", which is " + what +
         ". Please correct it; nothing was taken from the window.";
}

}  // namespace tavrin
