#pragma once
// DC's results in the JSON the dco and fit commands print alike.
#include <nlohmann/json.hpp>

#include "output/dco_reader.h"

namespace tavrin::cli {

// NaN and infinity have no JSON form: a failed solution's values print as null.
nlohmann::json finiteOrNull(double x);

// One row of DC's input-output table: param, curve, input, correction,
// output, stdDev.
nlohmann::json ioRowJson(const DcIoRow& row);

}  // namespace tavrin::cli
