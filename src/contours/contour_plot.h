#pragma once
// The residual map: the coarse grid refined by piecewise polynomials onto a
// fine grid, the frame with ticks and value captions, the contour dots at
// level crossings, the colour scale, the colour map (drawn directly as an
// image, the same picture as one disc per fine point) and the mouse readout.

#include <optional>
#include <string>
#include <vector>

#include "contours/contour_grid.h"
#include "output/canvas.h"

namespace tavrin::contours {

inline constexpr int kMaxFine = 1000;          // fine intervals per direction
inline constexpr double kDiscRadius = 100;     // colour disc radius, twips
inline constexpr Rgb kContourRed{255, 0, 0};

struct FineGrid {
  int fineM = 0, fineN = 0;  // intervals; points 0..fineM x 0..fineN
  int zoom = 0;
  std::vector<double> f;     // [q * (fineN + 1) + r]
  double at(int q, int r) const { return f[static_cast<size_t>(q) * (fineN + 1) + r]; }
};

// "Zoom factor must be >= 2." for zoom below 2; a grid with M or N below 3;
// a zoom making the fine grid larger than 1000 (with the largest zoom allowed).
std::optional<std::string> plotRefusal(const GridDef& s, int zoom);
// Contour lines below 2, or equal high and low contours.
std::optional<std::string> levelRefusal(double low, double high, int lines);

// Refines g onto the fine grid (quadratics through three nodes at the
// edges, cubics through four inside, rows first, then fine columns).
// Requires plotRefusal(g.gridDef, zoom) to be empty.
FineGrid refine(const ContourGrid& g, int zoom);

// The plot area in twips: left 700, right width - 415, top 342, bottom height - 1150.
struct PlotRect {
  double left = 0, right = 0, top = 0, bottom = 0;
};
PlotRect plotRect(double width, double height);

// Tick interval of an axis range.
double tickInterval(double min, double max);

struct FrameLabels {
  std::string label1, label2, label3, label4, label5, label6;  // Xmin Xint Xmax Ymax Yint Ymin
  std::string label19, label18;                                // X and Y axis names
  std::string text1, text2;                                    // contourHigh, contourLow
};
// Clears to white, draws the rectangle of `a`, the ticks and the captions (in black).
FrameLabels drawFrame(Canvas& c, const GridDef& s, double contourLow, double contourHigh, const PlotRect& a);

// Texts of the contour boxes: `decimals` decimals (none when negative).
std::string contourBoxText(double value, int decimals);

// The levels low + k (high - low) / (lines - 1), k = 0..lines-1.
std::vector<double> contourLevels(double low, double high, int lines);
// Dots (five circles of radius 1..5, red) at every strict level crossing
// along fine rows, then along fine columns. Returns the number of dots.
long drawContourDots(Canvas& c, const FineGrid& f, const PlotRect& a, double low, double high, int lines);

// Colour of a scaled value t = (value - low) / (high - low).
Rgb scaleColour(double t);

// The literal painting: for every fine point (columns in increasing q, rows
// in increasing r) 100 circles of radius 1..100 in its colour.
void paintColoursLiteral(Canvas& c, const FineGrid& f, const PlotRect& a, double low, double high);

// The same picture computed pixel by pixel: every pixel takes the colour of
// the last disc of `radius` (drawing order as above) covering its centre;
// pixels no disc covers get `background`. The image spans (x0, y0) to
// (x0 + w * twipsPerPixel, y0 + h * twipsPerPixel).
RgbImage renderColourMap(const FineGrid& f, const PlotRect& a, double low, double high, double x0, double y0,
                         int w, int h, double twipsPerPixel, double radius = kDiscRadius,
                         Rgb background = {255, 255, 255});
// Draws the colour map onto a canvas at `pixelsPerTwip`: one image over the
// plot area widened by the radius when the discs cover the area without
// gaps, else the literal painting (few, widely spaced points).
void drawColours(Canvas& c, const FineGrid& f, const PlotRect& a, double low, double high,
                 double pixelsPerTwip = 1.0 / 15, double radius = kDiscRadius);

// A vertical colour bar from low (bottom) to high (top) with labelled values.
void drawColourBar(Canvas& c, double x, double y, double w, double h, double low, double high, int decimals);

// A whole picture as the window shows it after a sequence of commands:
// the frame, then every layer in order (a colour map or contour dots with
// the levels of the moment it was drawn). With `legend` the plot area leaves
// room on the right for a colour bar of the last colour layer.
struct PictureLayer {
  enum Kind { Contours, Colours } kind = Contours;
  double low = 0, high = 0;
  int lines = 10;
  int decimals = 0;
};
inline constexpr double kLegendWidth = 1500;  // twips kept free for the colour bar
PlotRect pictureRect(const Canvas& c, bool legend);
FrameLabels drawPicture(Canvas& c, const ContourGrid& g, const FineGrid& f, const std::vector<PictureLayer>& layers,
                        double frameLow, double frameHigh, bool legend, double pixelsPerTwip = 1.0 / 15,
                        double radius = kDiscRadius);

struct Readout {
  std::string xText, yText, wresText;  // Label12, Label13, Label15
};
// The readout at (x, y), or nullopt outside the plot area.
std::optional<Readout> readout(const GridDef& s, const FineGrid& f, const PlotRect& a, double x, double y);

}  // namespace tavrin::contours
