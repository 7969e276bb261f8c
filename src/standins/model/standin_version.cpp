// The stand-in programs' identification line, written first in every report.
namespace tavrin::standin {
const char* reportBanner() { return "Tavrin stand-in model: spherical stars, no reflection, no tidal distortion"; }
}  // namespace tavrin::standin
