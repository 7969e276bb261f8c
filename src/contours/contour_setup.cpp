#include "contours/contour_setup.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "contours/contour_engine.h"
#include "model/number_fields.h"

namespace tavrin::contours {

bool storeBox(SetupEntry& e, SetupBox box, const std::string& text) {
  GridDef& g = e.grid;
  switch (box) {
    case SetupBox::XMin: g.xMin = leadingNumber(text); return false;
    case SetupBox::XMax: g.xMax = leadingNumber(text); return false;
    case SetupBox::YMin: g.yMin = leadingNumber(text); return false;
    case SetupBox::YMax: g.yMax = leadingNumber(text); return false;
    case SetupBox::M: g.M = leadingInt16(text); return true;
    case SetupBox::N: g.N = leadingInt16(text); return true;
    case SetupBox::Iterations: g.iterations = leadingInt16(text); return true;
    case SetupBox::Delay: e.delay = leadingNumber(text); return false;
    case SetupBox::Zoom: e.zoom = zoomOf(text); return false;
  }
  return false;
}

int zoomOf(const std::string& text) {
  return static_cast<int>(std::clamp(std::floor(leadingNumber(text)), -32768.0, 32767.0));
}

bool raiseDelay(SetupEntry& e) {
  if (!(e.delay < 0.7)) return false;
  e.delay = 0.7;
  return true;
}

std::vector<std::string> prepareTiming(ParameterSet& p, const GridDef& s) {
  if (const auto refusal = setupRefusal(s)) return {*refusal};
  std::vector<std::string> said;
  if (const auto warn = setupWarning(s)) said.push_back(*warn);
  applySetup(p, s);
  return said;
}

std::optional<std::string> gridRefusal(const GridDef& s) {
  return pairComputes(s) ? setupRefusal(s) : std::nullopt;
}

bool pairComputes(const GridDef& s) { return !fitSteps(s.xCode, s.yCode).empty(); }

int defaultWorkers() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

}  // namespace tavrin::contours
