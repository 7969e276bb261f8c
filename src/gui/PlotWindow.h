#pragma once
// What the light-curve and velocity plot windows share: the plot area, the
// File/Plot/Options menus with their check marks, Print, Export Image, and
// the redraw on every change, resize and focus. The plot itself comes from
// the core through draw().
#include <QMainWindow>
#include <QString>

#include "PlotArea.h"
#include "Session.h"
#include "output/figure_layout.h"
#include "output/light_curve_plot.h"

class frmMain;
class QAction;
class QMenu;
class QPrinter;

class PlotWindow : public QMainWindow {
  Q_OBJECT
 public:
  PlotWindow(frmMain& main, const QString& objectName, const QString& caption);

  QAction* action(const QString& name) const;
  QWidget* plotArea() const { return area_; }

  // Repaints the plot from the session (every change ends here).
  void redraw();
  // Check marks from the shared plot state.
  virtual void syncChecks();
  // The labels of the last drawing (Label1..Label26), and the note drawn
  // instead of a plot that cannot be scaled ("" when there is none).
  const tavrin::PlotResult& lastDrawing() const { return last_; }
  QString labelText(const QString& name) const;
  bool labelShown(const QString& name) const;

  // Draws the plot onto any canvas (window, image, printer).
  void draw(tavrin::Canvas& c);

  // Writes the plot as PNG (size x scale pixels), SVG or PDF by the file's
  // suffix; throws tavrin::TavrinError when the file cannot be written.
  void exportImage(const QString& path, QSize size, double scale);
  // A figure for print of the curve and the observed sets (PDF, SVG or PNG
  // by the suffix) and every number of them as CSV. Throw
  // tavrin::TavrinError when the file cannot be written.
  void exportFigure(const QString& path, tavrin::FigureSize size, double dpi, bool residuals);
  void exportData(const QString& path);

  // Prints the window's plot onto a printer (or a PDF printer), filling the page.
  void printOn(QPrinter& printer);

  // Caption: the current LCO name ("Plot LC" / "Plot RV" before any).
  void updateCaption();

  // Display mode items and the shared toggles, as the menus do them.
  void setDisplayMode(int16_t mode);
  void toggleJoinPoints();
  void toggleGridLines();

 protected:
  virtual tavrin::PlotResult drawPlot(tavrin::Canvas& c) = 0;
  virtual void unloadData() = 0;
  void changeEvent(QEvent* e) override;

  Session& session();
  frmMain& main_;
  QMenu* fileMenu_ = nullptr;
  QMenu* plotMenu_ = nullptr;
  QMenu* optionsMenu_ = nullptr;
  QString defaultCaption_;

  QAction* addItem(QMenu* menu, const QString& name, const QString& caption);
  // The rest of the File menu, after the window's own load items.
  void finishFileMenu();

 private:
  void print();
  void exportImageDialog();
  void exportFigureDialog();
  void exportDataDialog();

  PlotArea* area_ = nullptr;
  tavrin::PlotResult last_;
};
