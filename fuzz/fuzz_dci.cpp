// DC input files: the layout probe and both layouts of the reader.
#include "fuzz_common.h"
#include "model/input_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  const std::string text = fuzz::textOf(data, size);
  static const ParameterSet base;
  try {
    (void)probeDciText(text);
  } catch (const TavrinError& e) {
    fuzz::checkError(e);
  }
  for (Layout layout : {Layout::Current, Layout::Older}) {
    try {
      InputLoad load = readDciText(text, base, layout, "fuzz.dci");
      (void)load;
    } catch (const TavrinError& e) {
      fuzz::checkError(e);
    }
  }
  return 0;
}
