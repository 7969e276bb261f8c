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
    if (results.adjustedCount < 0 || results.adjustedCount > kMaxAdjusted) __builtin_trap();
    if (results.ioRowCount < 0 || results.ioRowCount > kMaxIoRows) __builtin_trap();
    (void)r;
  } catch (const TavrinError& e) {
    fuzz::checkError(e);
    if (p.NLC != nlc || results.adjustedCount != 0 || results.ioRowCount != 0) __builtin_trap();
  }
  return 0;
}
