#include "frmPlotContours.h"
#include "ReportFailure.h"

#include <QAction>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "FigureExport.h"
#include "PlotArea.h"
#include "contours/contour_figure.h"
#include "output/figure_tables.h"
#include "shell/atomic_file.h"
#include "frmMain.h"
#include "model/number_fields.h"
#include "shell/errors.h"

namespace c = tavrin::contours;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The drawing area: paints through the window and reports mouse moves.
class ContourArea : public QWidget {
 public:
  explicit ContourArea(frmPlotContours& w) : QWidget(&w), w_(w) {
    setObjectName("PlotArea");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(400, 300);
  }
  QSize sizeHint() const override { return {900, 640}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QtCanvas canvas(p, QSizeF(size()), logicalDpiX(), logicalDpiY());
    w_.draw(canvas, false, logicalDpiX() / 1440.0);
  }
  void mouseMoveEvent(QMouseEvent* e) override { w_.readoutAt(e->position()); }

 private:
  frmPlotContours& w_;
};

}  // namespace

frmPlotContours::frmPlotContours(frmMain& main, QWidget* parent) : QMainWindow(parent, Qt::Window), main_(main) {
  setObjectName("frmPlotContours");
  setWindowTitle("Plot Contours");
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("File");
  QAction* exportItem = file->addAction("Export Image...");
  exportItem->setObjectName("ExportImage");
  connect(exportItem, &QAction::triggered, this, [this] { exportDialog(); });
  QAction* figureItem = file->addAction("Export Figure...");
  figureItem->setObjectName("ExportFigure");
  connect(figureItem, &QAction::triggered, this, [this] { exportFigureDialog(); });
  QAction* dataItem = file->addAction("Export Map Data (CSV)...");
  dataItem->setObjectName("ExportData");
  connect(dataItem, &QAction::triggered, this, [this] { exportDataDialog(); });
  QAction* printItem = file->addAction("&Print");
  printItem->setObjectName("Print");
  connect(printItem, &QAction::triggered, this, [this] { print(); });
  file->addSeparator();
  QAction* exitItem = file->addAction("E&xit");
  exitItem->setObjectName("Exit");
  connect(exitItem, &QAction::triggered, this, [this] { hide(); });

  area_ = new ContourArea(*this);
  setCentralWidget(area_);
  setAccessibleName("Plot Contours");
  setAccessibleDescription("Contour map of the weighted residuals over the two-parameter grid");
  area_->setAccessibleName("Contour map");
  area_->setAccessibleDescription(
      "Weighted residuals of the grid as contour dots and a colour map, with the grid's parameters on the axes");

  // Boxes, buttons and readout in the strip under the plot area.
  auto* bar = new QWidget(area_);
  bar->setObjectName("ControlStrip");
  bar->setAutoFillBackground(true);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(6, 2, 6, 2);
  auto box = [&](int n, const char* caption) {
    auto* label = new QLabel(caption);
    label->setMinimumWidth(label->sizeHint().width());  // captions never clipped
    row->addWidget(label);
    auto* e = new QLineEdit;
    label->setBuddy(e);
    e->setObjectName(QString("Text%1").arg(n));
    // Wide enough for a level such as "-24360.12".
    const int width = e->fontMetrics().horizontalAdvance(n == 3 ? "0000" : "-000000.00") + 12;
    e->setMinimumWidth(width);
    e->setMaximumWidth(width);
    row->addWidget(e);
    text_[n] = e;
    connect(e, &QLineEdit::textEdited, this, [this, n](const QString& t) {
      const std::string s = t.toStdString();
      if (n == 1) high_ = tavrin::leadingNumber(s);
      if (n == 2) low_ = tavrin::leadingNumber(s);
      if (n == 3) {
        const double v = tavrin::leadingNumber(s);
        lines_ = static_cast<int>(std::clamp(std::nearbyint(v), -32768.0, 32767.0));
      }
    });
  };
  box(1, "Max Contour");
  box(2, "Min Contour");
  box(3, "# Contour Lines");
  const char* captions[] = {"", "Contours", "Clear", "Colours"};
  for (int k = 1; k <= 3; ++k) {
    auto* b = new QPushButton(captions[k]);
    b->setObjectName(QString("Command%1").arg(k));
    row->addWidget(b);
  }
  connect(bar->findChild<QPushButton*>("Command1"), &QPushButton::clicked, this, &frmPlotContours::contours);
  connect(bar->findChild<QPushButton*>("Command2"), &QPushButton::clicked, this, &frmPlotContours::clear);
  connect(bar->findChild<QPushButton*>("Command3"), &QPushButton::clicked, this, &frmPlotContours::colours);
  auto* wres = new QLabel("Wres");
  wres->setObjectName("Label14");
  row->addWidget(wres);
  const char* names[] = {"Label12", "Label13", "Label15"};
  for (int k = 0; k < 3; ++k) {
    readout_[k] = new QLabel;
    readout_[k]->setObjectName(names[k]);
    readout_[k]->setMinimumWidth(k == 2 ? 110 : 70);
    row->addWidget(readout_[k]);
  }
  row->addStretch(1);
  // Wide enough at first for the whole strip under the plot.
  resize(std::max(960, bar->sizeHint().width()), 720);
}

void frmPlotContours::setGrid(const c::ContourGrid& g, c::FineGrid fine, const QString& name) {
  grid_ = g;
  fine_ = std::move(fine);
  low_ = g.range.low;
  high_ = g.range.high;
  setWindowTitle("Plot Contours - " + name);
  resetPicture();
}

void frmPlotContours::resetPicture() {
  // Shown or resized: ten levels, the frame and the contours.
  lines_ = 10;
  text_[3]->setText("10");
  layers_.clear();
  if (!c::levelRefusal(low_, high_, lines_))
    layers_.push_back({c::PictureLayer::Contours, low_, high_, lines_, grid_.range.decimals});
  showLevels(true);
  area_->update();
}

void frmPlotContours::showLevels(bool withDecimals) {
  const int d = withDecimals ? grid_.range.decimals : 4;
  text_[1]->setText(q(c::contourBoxText(high_, d)));
  text_[2]->setText(q(c::contourBoxText(low_, d)));
}

void frmPlotContours::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  resetPicture();
}

void frmPlotContours::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (QWidget* bar = area_->findChild<QWidget*>("ControlStrip")) {
    const int h = bar->sizeHint().height();
    bar->setGeometry(0, area_->height() - h, area_->width(), h);
  }
  if (isVisible()) resetPicture();
}

void frmPlotContours::contours() {
  if (const auto refusal = c::levelRefusal(low_, high_, lines_)) {
    main_.showMessage(q(*refusal));
    return;
  }
  showLevels(true);
  layers_.push_back({c::PictureLayer::Contours, low_, high_, lines_, grid_.range.decimals});
  area_->update();
}

void frmPlotContours::clear() {
  layers_.clear();
  area_->update();
}

void frmPlotContours::colours() {
  if (const auto refusal = c::levelRefusal(low_, high_, 2)) {
    main_.showMessage(q(*refusal));
    return;
  }
  layers_.push_back({c::PictureLayer::Colours, low_, high_, lines_, grid_.range.decimals});
  area_->update();
}

QString frmPlotContours::labelText(const QString& name) const {
  const c::FrameLabels& L = labels_;
  if (name == "Label1") return q(L.label1);
  if (name == "Label2") return q(L.label2);
  if (name == "Label3") return q(L.label3);
  if (name == "Label4") return q(L.label4);
  if (name == "Label5") return q(L.label5);
  if (name == "Label6") return q(L.label6);
  if (name == "Label18") return q(L.label18);
  if (name == "Label19") return q(L.label19);
  return {};
}

void frmPlotContours::draw(tavrin::Canvas& cv, bool legend, double ppt) {
  if (fine_.fineM < 1 || fine_.fineN < 1) {
    cv.setBackground({255, 255, 255});
    cv.clear();
    return;
  }
  labels_ = c::drawPicture(cv, grid_, fine_, layers_, low_, high_, legend, ppt, c::kDiscRadius + kPenTwips / 2);
}

void frmPlotContours::exportImage(const QString& path, QSize size, double scale) {
  const double ppt = imageKindFor(path) == ImageKind::Png ? scale / 15 : 2.0 / 15;
  exportPlotImage(path, size, scale, [this, ppt](tavrin::Canvas& cv) { draw(cv, true, ppt); });
}

void frmPlotContours::printOn(QPrinter& printer) {
  renderPlotOnDevice(printer, area_->size(), [this](tavrin::Canvas& cv) { draw(cv, true, 4.0 / 15); });
}

void frmPlotContours::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(windowTitle());
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle("Print");
  if (dialog.exec() != QDialog::Accepted) return;
  printOn(printer);
}

void frmPlotContours::exportDialog() {
  const QString path = QFileDialog::getSaveFileName(
      this, "Export Image", QString(), "PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)", nullptr,
      QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty() || !main_.mayReplace(path)) return;
  reportFailure(main_, [&] { exportImage(path, area_->size(), 2.0); });
}

void frmPlotContours::readoutAt(QPointF pos) {
  const double k = 1440.0 / area_->logicalDpiX();
  const double x = pos.x() * k, y = pos.y() * (1440.0 / area_->logicalDpiY());
  const c::PlotRect a = c::plotRect(area_->width() * k, area_->height() * (1440.0 / area_->logicalDpiY()));
  const auto r = c::readout(grid_.gridDef, fine_, a, x, y);
  area_->setCursor(r ? Qt::CrossCursor : Qt::ArrowCursor);
  if (!r) return;
  readout_[0]->setText(q(r->xText));
  readout_[1]->setText(q(r->yText));
  readout_[2]->setText(q(r->wresText));
}

void frmPlotContours::exportFigure(const QString& path, tavrin::FigureSize size, double dpi) {
  const tavrin::contours::MapFigureOptions o{fine_.zoom, low_, high_, lines_};
  const tavrin::contours::ContourGrid g = grid_;
  ::exportFigure(path, size.widthIn, size.heightIn, dpi,
                 [g, o](tavrin::Canvas& c) { tavrin::contours::drawMapFigure(c, g, o); });
}

void frmPlotContours::exportData(const QString& path) {
  tavrin::writeFileAtomically(path.toStdString(), tavrin::mapCsv(grid_));
}

void frmPlotContours::exportFigureDialog() {
  const QString suggested = QString::fromStdString(main_.session().app.dataFolder) + "/residual-map.pdf";
  const auto choice = figureexport::askFigure(this, suggested, false);
  if (!choice || !main_.mayReplace(choice->path)) return;
  reportFailure(main_, [&] { exportFigure(choice->path, choice->size, choice->dpi); });
}

void frmPlotContours::exportDataDialog() {
  const QString path = figureexport::askSavePath(
      this, "Export Map Data", QString::fromStdString(main_.session().app.dataFolder) + "/residual-map.csv",
      "CSV table (*.csv)");
  if (path.isEmpty()) return;
  figureexport::writeText(main_, path, tavrin::mapCsv(grid_));
}
