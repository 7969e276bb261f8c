// DC's report. A failed read must leave the results and the set as they were.
#include <memory>

#include "fuzz_common.h"
#include "output/dco_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  // On the heap: clang 14 crashes compiling this aggregate as a local.
  auto resultsHolder = std::make_unique<DcResults>();
  DcResults& results = *resultsHolder;
  ParameterSet p;
  const int16_t nlc = p.NLC;
  try {
    const DcoReadReport r = parseDco(fuzz::textOf(data, size), results, p);
    if (results.adjustedParams.size() > static_cast<size_t>(kMaxAdjusted)) __builtin_trap();
    if (results.unknowns.size() > static_cast<size_t>(kMaxUnknowns)) __builtin_trap();
    if (!results.correlation.empty()) {
      if (results.correlation.size() != results.unknowns.size()) __builtin_trap();
      for (const auto& row : results.correlation)
        if (row.size() != results.unknowns.size()) __builtin_trap();
    }
    if (results.failed() && p.NLC != nlc) __builtin_trap();
    (void)r;
  } catch (const TavrinError& e) {
    fuzz::checkError(e);
    if (p.NLC != nlc || !results.adjustedParams.empty() || !results.ioRows.empty() ||
        !results.unknowns.empty())
      __builtin_trap();
  }
  return 0;
}
