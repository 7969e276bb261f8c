// Observed light and velocities for the plots.
#include "fuzz_common.h"
#include "output/plot_observations.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  const std::string text = fuzz::textOf(data, size);
  for (int maxRecords : {kMaxObservedLight, kMaxObservedVelocities}) {
    std::vector<double> times, values;
    try {
      const bool ok = parseObservationRecords(text, maxRecords, times, values);
      if (times.size() != values.size()) __builtin_trap();
      if (times.size() > static_cast<size_t>(maxRecords)) __builtin_trap();
      if (!ok && !times.empty()) __builtin_trap();
    } catch (const TavrinError& e) {
      fuzz::checkError(e);
    }
  }
  return 0;
}
