#pragma once
// Where the quantity a record field names lives: the names of
// record_layouts.cpp resolved to a ParameterSet, a curve row, a spot or an
// observation point. Exactly one pointer of a slot is set.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/parameter_set.h"

namespace tavrin {

struct Slot {
  int16_t* i = nullptr;
  double* d = nullptr;
  std::string* numberText = nullptr;  // a number kept as typed (the 27th increment)
  std::string* text = nullptr;        // a data-file name
  char* keys = nullptr;               // ParameterSet::adjustKeys, from key `firstKey` on
  int firstKey = 0;
};

// Throw std::logic_error for a name the struct does not hold: a table fault.
Slot slotOf(ParameterSet& p, std::string_view name);
Slot slotOf(CurveRow& c, std::string_view name);
Slot slotOf(Spot& s, std::string_view name);
double ObservationPoint::*pointMember(std::string_view name);

}  // namespace tavrin
