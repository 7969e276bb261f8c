#include "standin.h"

// The stand-in programs' identification line, written first in every report.
// No commas: LC's report is read in comma-separated items.
namespace tavrin::standin {
const char* reportBanner() {
  return "Tavrin stand-in model - spherical stars of volume-equivalent Roche radii; "
         "no reflection; no gravity darkening; no tidal distortion";
}
}  // namespace tavrin::standin
