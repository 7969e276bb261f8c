#pragma once
// "Plot Contours": the refined grid drawn as a frame with ticks, contour
// dots and a colour map, the contour levels to use, and the readout under
// the mouse. The picture is the frame plus the layers drawn since the last
// Clear, so it can be repainted, exported and printed as shown.
#include <QMainWindow>
#include <QString>
#include <vector>

#include "contours/contour_grid.h"
#include "contours/contour_plot.h"
#include "output/figure_layout.h"

class frmMain;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
namespace tavrin {
class Canvas;
}

class frmPlotContours : public QMainWindow {
  Q_OBJECT
 public:
  frmPlotContours(frmMain& main, QWidget* parent);

  // A new grid to show (after "Plot Contours"): caption "Plot Contours - " + name.
  void setGrid(const tavrin::contours::ContourGrid& g, tavrin::contours::FineGrid fine, const QString& name);

  // Command1 "Contours", Command2 "Clear", Command3 "Colours".
  void contours();
  void clear();
  void colours();

  double contourLow() const { return low_; }
  double contourHigh() const { return high_; }
  int contourLines() const { return lines_; }
  const std::vector<tavrin::contours::PictureLayer>& layers() const { return layers_; }
  const tavrin::contours::FineGrid& fineGrid() const { return fine_; }
  // Frame captions of the last drawing: "Label1".."Label6", "Label18", "Label19".
  QString labelText(const QString& name) const;
  QWidget* plotArea() const { return area_; }

  // Draws the picture onto any canvas; `legend` adds the colour bar beside the map.
  void draw(tavrin::Canvas& c, bool legend, double pixelsPerTwip);
  // Writes PNG (size x scale pixels), SVG or PDF by the suffix, with the colour bar.
  void exportImage(const QString& path, QSize size, double scale);
  void printOn(QPrinter& printer);
  // The map as a figure for print (levels and zoom of the window) and its
  // points as CSV; throw tavrin::TavrinError when the file cannot be written.
  void exportFigure(const QString& path, tavrin::FigureSize size, double dpi);
  void exportData(const QString& path);
  // The readout for a point of the plot area in widget pixels (what a mouse move does).
  void readoutAt(QPointF pos);

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void resetPicture();
  void showLevels(bool withDecimals);
  void exportDialog();
  void exportFigureDialog();
  void exportDataDialog();
  void print();

  frmMain& main_;
  tavrin::contours::ContourGrid grid_;
  tavrin::contours::FineGrid fine_;
  double low_ = 0, high_ = 0;
  int lines_ = 10;
  std::vector<tavrin::contours::PictureLayer> layers_;
  tavrin::contours::FrameLabels labels_;
  QWidget* area_ = nullptr;
  QLineEdit* text_[4] = {};
  QLabel* readout_[3] = {};  // Label12, Label13, Label15
};
