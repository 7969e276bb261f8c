#pragma once
// The Canvas on a QPainter: twips become device units at the device's
// resolution, drawing is antialiased, fonts are sized in device units so the
// screen, PNG, SVG and PDF show the same layout. Also the image export, which
// the windows and tavrin-cli share; it needs Qt's painting but no widgets.
#include <QFont>
#include <QImage>
#include <QPolygonF>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

#include "output/canvas.h"

class QPainter;
class QPaintDevice;

// Title bar, menu bar and borders around a plot's drawing area, in twips: the
// plots place some labels from the window's outer edges.
inline constexpr double kWindowChromeWidth = 120;
inline constexpr double kWindowChromeHeight = 750;
// Height of label text, in twips.
inline constexpr double kLabelFontTwips = 165;
// Line width: one pixel of a 96 dpi screen.
inline constexpr double kPenTwips = 15;

class QtCanvas : public tavrin::Canvas {
 public:
  // size: the drawing area in the painter's units; dpiX/dpiY: those units per inch.
  QtCanvas(QPainter& painter, QSizeF size, double dpiX, double dpiY);
  ~QtCanvas() override;

  void setForeground(tavrin::Rgb c) override;
  void setBackground(tavrin::Rgb c) override;
  void clear() override;
  void point(double x, double y) override;
  void line(double x1, double y1, double x2, double y2) override;
  void lineTo(double x, double y) override;
  void circle(double x, double y, double radius) override;
  void text(double x, double y, const std::string& s) override;
  void image(double x, double y, double w, double h, const tavrin::RgbImage& img) override;
  double width() const override;
  double height() const override;
  double windowWidth() const override;
  double windowHeight() const override;
  double textWidth(const std::string& s) const override;
  double textHeight() const override;
  void setPen(double widthTwips, bool dashed) override;
  void setFontSize(double twips) override;
  void textUp(double x, double y, const std::string& s) override;
  void fillRect(double x, double y, double w, double h) override;
  void fillCircle(double x, double y, double radius) override;

  // Draws whatever is batched (done by the destructor as well).
  void flush();

 private:
  enum class Pending { None, Polyline, Points, Ring };
  double px(double twipsX) const { return twipsX * sx_; }
  double py(double twipsY) const { return twipsY * sy_; }
  void begin(Pending kind);
  void drawSegment(double x1, double y1, double x2, double y2);  // device units, clipped
  void applyPen();
  void drawRing();
  // Rings drawn as ready-made images on raster devices (many observed points).
  struct Sprite {
    QRgb colour;
    double rMin, rMax;
    QImage image;
  };
  std::vector<Sprite> sprites_;
  bool raster_ = false;
  double dpr_ = 1;

  QPainter& p_;
  QSizeF size_;
  double sx_, sy_;  // device units per twip
  QColor fore_, back_;
  QFont font_;
  double penWidth_;
  bool dashed_ = false;
  double lastX_ = 0, lastY_ = 0;  // device units
  Pending pending_ = Pending::None;
  QPolygonF batch_;
  // A run of concentric circles: centre and radius range in twips.
  double ringX_ = 0, ringY_ = 0, ringMin_ = 0, ringMax_ = 0;
};

// What draws a plot onto a canvas.
using PlotDrawer = std::function<void(tavrin::Canvas&)>;

enum class ImageKind { Png, Svg, Pdf };
// By the file name's suffix; PNG when it is none of .svg and .pdf.
ImageKind imageKindFor(const QString& path);

// Draws a plot at size (pixels of a 96 dpi screen) onto a raster image of
// size x scale pixels.
QImage renderPlotImage(QSize size, double scale, const PlotDrawer& draw);
// Draws a plot over a whole paint device (printer, PDF writer, SVG
// generator) laid out as on a window of layoutSize pixels at 96 dpi.
void renderPlotOnDevice(QPaintDevice& device, QSize layoutSize, const PlotDrawer& draw);
// Writes the plot to path as PNG (size x scale pixels), SVG or PDF (vector,
// size pixels at 96 dpi) by the path's suffix, replacing the file atomically.
// Throws tavrin::TavrinError when the file cannot be written.
void exportPlotImage(const QString& path, QSize size, double scale, const PlotDrawer& draw);

// A figure for print: widthIn x heightIn inches; PNG at dpi, SVG and PDF as
// vectors with their text as text (the PDF embeds its fonts). Replaces the
// file atomically; throws tavrin::TavrinError when it cannot be written.
void exportFigure(const QString& path, double widthIn, double heightIn, double dpi, const PlotDrawer& draw);
