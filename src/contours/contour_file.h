#pragma once
// The contour data file: five quoted header texts, the two grid definition
// lines and one line per point ("Wres,status", or only "Wres" in the older
// form), X index outer, Y index inner, CR LF line ends.
//
// A partial file (a run of some X columns only, to be joined later) carries
// the same seven lines, then "Columns",first,last and the points of those
// columns.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "contours/contour_grid.h"

namespace tavrin::contours {

std::string contourFileText(const ContourGrid& g);
// Throws TavrinError when the file cannot be written (old file untouched).
void writeContourFile(const std::string& path, const ContourGrid& g);

// Reads a contour data file into a new grid (summary included: wresMin,
// wresMax with 99s taking part, dataReady, default range). `previous`
// supplies the status values an older one-item file does not carry, when
// its size matches. Line 8 with neither 0 nor 1 comma: the definition is
// read and no point (values stay those of `previous` where the size
// matches, else 0). Throws TavrinError: 53 missing file, 62 too few lines or
// items, 321 an item that is not a number, 9 a direction outside 1..201,
// 6 an integer beyond 16 bits.
ContourGrid parseContourText(std::string_view text, const ContourGrid& previous = {});
ContourGrid readContourFile(const std::string& path, const ContourGrid& previous = {});

// Partial files.
struct PartialGrid {
  GridDef gridDef;
  int first = 0, last = -1;     // X columns held, 0-based, inclusive
  std::vector<double> wres;     // [(i - first) * N + j]
  std::vector<int16_t> status;
};
bool isPartialContourText(std::string_view text);
// The columns first..last of g (which holds the whole grid's layout).
std::string partialFileText(const ContourGrid& g, int first, int last);
// Throws TavrinError like parseContourText, and 321 for a file that is not partial.
PartialGrid parsePartialText(std::string_view text);

class MergeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// Joins partial grids of one grid definition covering every column exactly
// once into the complete grid (summary as after a computation: points
// marked 99 take no part in wresMin/wresMax). Throws MergeError naming what
// is wrong (different definitions, a column missing or held twice).
ContourGrid mergePartials(const std::vector<PartialGrid>& parts);

}  // namespace tavrin::contours
