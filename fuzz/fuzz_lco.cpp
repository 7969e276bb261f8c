// LC's report.
#include "fuzz_common.h"
#include "output/lco_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  try {
    const ComputedCurve c = parseLco(fuzz::textOf(data, size));
    if (c.count < 0 || c.count > kMaxLcoRows) __builtin_trap();
    if (c.phase.size() != static_cast<size_t>(c.count)) __builtin_trap();
  } catch (const TavrinError& e) {
    fuzz::checkError(e);
  } catch (const ReportMessage&) {
  }
  return 0;
}
