#pragma once
// The one drawing surface of every plot. Coordinates are twips (1/1440 inch),
// y downwards, origin at the top left of the drawing area. Implementations:
// a recording canvas in the tests, a QPainter canvas in the windows and for
// image export.

#include <cstdint>
#include <string>
#include <vector>

namespace tavrin {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A raster of colours, row-major, for pictures computed pixel by pixel.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // width * height
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void setForeground(Rgb c) = 0;
  virtual void setBackground(Rgb c) = 0;
  virtual void clear() = 0;  // fill with the background colour
  virtual void point(double x, double y) = 0;
  virtual void line(double x1, double y1, double x2, double y2) = 0;
  // Line from the last point drawn (by point, line or lineTo) to (x, y).
  virtual void lineTo(double x, double y) = 0;
  virtual void circle(double x, double y, double radius) = 0;
  // A text label whose top-left corner is at (x, y).
  virtual void text(double x, double y, const std::string& s) = 0;
  // Draws an image stretched over the rectangle (x, y, w, h).
  virtual void image(double x, double y, double w, double h, const RgbImage& img) = 0;

  // Size of the drawing area and of the whole window, in twips.
  virtual double width() const = 0;
  virtual double height() const = 0;
  virtual double windowWidth() const = 0;
  virtual double windowHeight() const = 0;
  // Extent of a text in twips (labels are centred with it).
  virtual double textWidth(const std::string& s) const = 0;
  virtual double textHeight() const = 0;

  // For figures drawn for print. The defaults let canvases that only show
  // the windows' plots ignore them.
  // Line width in twips; dashed lines for reference lines.
  virtual void setPen(double /*widthTwips*/, bool /*dashed*/) {}
  // Text height in twips (textWidth and textHeight follow it).
  virtual void setFontSize(double /*twips*/) {}
  // A text reading upwards: the rotated box spans x .. x + textHeight() and
  // y - textWidth(s) .. y.
  virtual void textUp(double x, double y, const std::string& s) { text(x, y, s); }
  // Filled in the foreground colour.
  virtual void fillRect(double x, double y, double w, double h) { line(x, y, x + w, y + h); }
  virtual void fillCircle(double x, double y, double radius) { circle(x, y, radius); }
};

}  // namespace tavrin
