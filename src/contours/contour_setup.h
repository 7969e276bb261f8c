#pragma once
// What the residual-map window's boxes hold, and the checks before its
// timing run and its computation. The window keeps only the widgets.

#include <optional>
#include <string>
#include <vector>

#include "contours/contour_grid.h"
#include "model/parameter_set.h"

namespace tavrin::contours {

struct SetupEntry {
  GridDef grid;        // X and Y variables, their ranges and point counts, the iterations
  double delay = 0.7;  // seconds
  int zoom = 5;
};

// The boxes, in the window's order.
enum class SetupBox { XMin, XMax, M, YMin, YMax, N, Delay, Zoom, Iterations };
// The boxes of the grid itself, stored again before a run.
inline constexpr SetupBox kGridBoxes[] = {SetupBox::XMin, SetupBox::XMax, SetupBox::M,         SetupBox::YMin,
                                          SetupBox::YMax, SetupBox::N,    SetupBox::Iterations};

// Stores a box's text as typed: its leading number, counts as 16-bit
// integers, the zoom as its whole part. Throws TavrinError for a count that
// does not fit, leaving the value as it was. True when the time estimate
// depends on the box (M, N, iterations).
bool storeBox(SetupEntry& e, SetupBox box, const std::string& text);
// The zoom factor a text gives.
int zoomOf(const std::string& text);
// The delay is at least 0.7 s whenever the window shows; true when it was raised.
bool raiseDelay(SetupEntry& e);

// Before the timing run: the messages to show, in order. Unless refused,
// the set-up is applied to `p`; the timing runs either way.
std::vector<std::string> prepareTiming(ParameterSet& p, const GridDef& s);
// Before the computation: the refusal of a pair that computes, or nullopt.
std::optional<std::string> gridRefusal(const GridDef& s);
// A pair for which the loop fits something (others only summarise the grid held).
bool pairComputes(const GridDef& s);

// DC processes at once unless chosen: one per processor.
int defaultWorkers();

}  // namespace tavrin::contours
