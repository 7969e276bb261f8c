#include "model/dc_parameters.h"

#include "model/parameter_set.h"

namespace tavrin {

namespace {
const char* const kLabels[kDcParameters + 1] = {
    "",        "SpLat A", "SpLng A", "SpRad A", "SpTmF A", "SpLat B", "SpLng B", "SpRad B", "SpTmF B",
    "SmAxis",  "Eccen",   "ArgPer",  "F1",      "F2",      "PfShift", "Vgamma",  "Inclin.", "g1",
    "g2",      "T1",      "T2",      "Alb 1",   "Alb 2",   "Pot'l 1", "Pot'l 2", "M2 / M1", "JDzero",
    "Period",  "dP/dt",   "dPer/dt", "       ", "L1",      "L2",      "x1",      "x2",      "EL3"};
}  // namespace

std::string dcParameterLabel(int param) { return param >= 1 && param <= kDcParameters ? kLabels[param] : std::string(); }

double dcDisplayScale(int param) {
  switch (param) {
    case 1: case 2: case 3: case 5: case 6: case 7: return DEG_PER_RAD;
    case 19: case 20: return 10000.0;
    default: return 1.0;
  }
}

}  // namespace tavrin
