#pragma once
// What the user typed into a number field of a window, read strictly: blanks,
// one number (exponent E or D), blanks. "5300K" or "abc" is a typing slip,
// not 5300 or 0, so saves and runs refuse it. File fields keep the lenient
// leading-number rule of the readers.

#include <string>
#include <string_view>

namespace tavrin {

enum class EntryFault { None, NotANumber, TooLarge, NotInt16 };

struct FieldEntry {
  double value = 0.0;  // an integer field's rounded value
  EntryFault fault = EntryFault::None;
  bool ok() const { return fault == EntryFault::None; }
};

// Largest magnitude a real field may hold: the writers' exponent forms end there.
inline constexpr double kLargestFieldValue = 1e300;

// A blank text is 0 (a band without a wavelength leaves its box empty).
FieldEntry readRealEntry(std::string_view text);
// The real reading rounded to the nearest integer, halves to even, within 16 bits.
FieldEntry readIntegerEntry(std::string_view text);

// The refusal shown for a field, naming it as `who` (e.g. "\"Inclination\" (Text39)").
std::string entryRefusal(EntryFault fault, std::string_view who, std::string_view text);

}  // namespace tavrin
