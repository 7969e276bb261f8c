// How gtest shows a parameter set in a failed comparison: as the DCI file it
// would write, which is the form a reader can compare by eye.
#pragma once

#include <ostream>

#include "model/dci_writer.h"
#include "model/parameter_set.h"

namespace tavrin {

inline void PrintTo(const ParameterSet& p, std::ostream* os) {
  try {
    *os << "\n" << dciText(p);
  } catch (...) {
    *os << "(a parameter set the DCI writer refuses)";
  }
}

}  // namespace tavrin
