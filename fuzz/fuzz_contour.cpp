// Contour data files, whole and partial.
#include "contours/contour_file.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  using namespace tavrin::contours;
  const std::string text = fuzz::textOf(data, size);
  // A previous grid of a common size, so the older form's status copy is reached.
  static const ContourGrid previous = [] {
    ContourGrid g;
    g.gridDef = GridDef{1, 2, 0.2, 0.4, 2, 80.5, 86, 3, 2};
    g.resize();
    return g;
  }();
  try {
    const ContourGrid g = parseContourText(text, previous);
    const size_t n = static_cast<size_t>(g.gridDef.M) * static_cast<size_t>(g.gridDef.N);
    if (g.wres.size() != n || g.status.size() != n) __builtin_trap();
  } catch (const TavrinError& e) {
    fuzz::checkError(e);
  }
  if (isPartialContourText(text)) {
    try {
      const PartialGrid part = parsePartialText(text);
      std::vector<PartialGrid> parts{part};
      try {
        (void)mergePartials(parts);
      } catch (const MergeError&) {
      }
    } catch (const TavrinError& e) {
      fuzz::checkError(e);
    }
  }
  return 0;
}
