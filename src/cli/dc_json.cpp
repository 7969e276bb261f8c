#include "cli/dc_json.h"

#include <cmath>

namespace tavrin::cli {

nlohmann::json finiteOrNull(double x) { return std::isfinite(x) ? nlohmann::json(x) : nlohmann::json(nullptr); }

nlohmann::json ioRowJson(const DcIoRow& row) {
  return {{"param", row.param},
          {"curve", row.curve},
          {"input", finiteOrNull(row.input)},
          {"correction", finiteOrNull(row.correction)},
          {"output", finiteOrNull(row.output)},
          {"stdDev", finiteOrNull(row.stdDev)}};
}

}  // namespace tavrin::cli
