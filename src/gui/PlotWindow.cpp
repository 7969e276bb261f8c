#include "PlotWindow.h"
#include "ReportFailure.h"

#include "FigureExport.h"
#include "output/figure_plot.h"
#include "output/figure_tables.h"
#include "shell/atomic_file.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>

#include "frmMain.h"
#include "shell/errors.h"

PlotWindow::PlotWindow(frmMain& main, const QString& objectName, const QString& caption)
    : QMainWindow(nullptr), main_(main), defaultCaption_(caption) {
  setObjectName(objectName);
  setWindowTitle(caption);
  area_ = new PlotArea([this](tavrin::Canvas& c) { draw(c); }, this);
  area_->setAccessibleName(caption);
  setCentralWidget(area_);
  resize(800, 600);

  fileMenu_ = menuBar()->addMenu("&File");
  fileMenu_->setObjectName("File");
  plotMenu_ = menuBar()->addMenu("&Plot");
  plotMenu_->setObjectName("Plot");
  optionsMenu_ = menuBar()->addMenu("&Options");
  optionsMenu_->setObjectName("Options");

  auto* modes = new QActionGroup(this);
  const struct {
    const char* name;
    const char* caption;
    int16_t mode;
  } modeItems[] = {{"CurveOnly", "&Curve only", tavrin::kCurveOnly},
                   {"DataOnly", "&Data only", tavrin::kDataOnly},
                   {"CurveandData", "&Both Curve and Data", tavrin::kCurveAndData}};
  for (const auto& m : modeItems) {
    QAction* a = addItem(plotMenu_, m.name, m.caption);
    a->setCheckable(true);
    modes->addAction(a);
    const int16_t mode = m.mode;
    connect(a, &QAction::triggered, this, [this, mode] { setDisplayMode(mode); });
  }

  QAction* yscale = addItem(optionsMenu_, "Yscale", "Y scale");
  yscale->setEnabled(false);  // each plot enables it with its own range
  QAction* join = addItem(optionsMenu_, "JoinPoints", "&Join Points");
  join->setCheckable(true);
  connect(join, &QAction::triggered, this, [this] { toggleJoinPoints(); });
  QAction* grid = addItem(optionsMenu_, "GridLines", "&Grid Lines");
  grid->setCheckable(true);
  connect(grid, &QAction::triggered, this, [this] { toggleGridLines(); });

  QAction* printItem = menuBar()->addAction("&Print");
  printItem->setObjectName("Print");
  connect(printItem, &QAction::triggered, this, [this] { print(); });
  QAction* help = menuBar()->addAction("Help");
  help->setObjectName("Help");
  help->setEnabled(false);  // the shell enables Help and About
  QAction* about = menuBar()->addAction("About");
  about->setObjectName("About");
  about->setEnabled(false);
}

QAction* PlotWindow::addItem(QMenu* menu, const QString& name, const QString& caption) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  return a;
}

void PlotWindow::finishFileMenu() {
  QAction* unload = addItem(fileMenu_, "UnloadLCData", "Unload Data Points");
  connect(unload, &QAction::triggered, this, [this] {
    unloadData();
    updateCaption();
    setDisplayMode(tavrin::kCurveOnly);
  });
  fileMenu_->addSeparator();
  QAction* exportItem = addItem(fileMenu_, "ExportImage", "Export Image...");
  connect(exportItem, &QAction::triggered, this, [this] { exportImageDialog(); });
  QAction* figureItem = addItem(fileMenu_, "ExportFigure", "Export Figure...");
  connect(figureItem, &QAction::triggered, this, [this] { exportFigureDialog(); });
  QAction* dataItem = addItem(fileMenu_, "ExportData", "Export Data (CSV)...");
  connect(dataItem, &QAction::triggered, this, [this] { exportDataDialog(); });
  fileMenu_->addSeparator();
  QAction* exitItem = addItem(fileMenu_, "Exit", "E&xit");
  connect(exitItem, &QAction::triggered, this, [this] { hide(); });
}

Session& PlotWindow::session() { return main_.session(); }

QAction* PlotWindow::action(const QString& name) const { return findChild<QAction*>(name); }

void PlotWindow::redraw() { area_->update(); }

void PlotWindow::syncChecks() {
  const tavrin::PlotState& s = main_.session().plot;
  if (QAction* a = action("CurveOnly")) a->setChecked(s.displayMode == tavrin::kCurveOnly);
  if (QAction* a = action("DataOnly")) a->setChecked(s.displayMode == tavrin::kDataOnly);
  if (QAction* a = action("CurveandData")) a->setChecked(s.displayMode == tavrin::kCurveAndData);
  if (QAction* a = action("JoinPoints")) a->setChecked(s.joinPoints);
  if (QAction* a = action("GridLines")) a->setChecked(s.gridLines);
}

void PlotWindow::setDisplayMode(int16_t mode) {
  tavrin::setDisplayMode(session().plot, mode);
  syncChecks();
  redraw();
}

void PlotWindow::toggleJoinPoints() {
  session().plot.joinPoints = !session().plot.joinPoints;
  syncChecks();
  redraw();
}

void PlotWindow::toggleGridLines() {
  session().plot.gridLines = !session().plot.gridLines;
  syncChecks();
  redraw();
}

void PlotWindow::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
    // Getting the focus joins the points again and restores the check marks.
    session().plot.joinPoints = true;
    syncChecks();
    redraw();
  }
}

void PlotWindow::draw(tavrin::Canvas& c) {
  const bool joined = session().plot.joinPoints;
  last_ = drawPlot(c);
  if (joined != session().plot.joinPoints) syncChecks();
}

QString PlotWindow::labelText(const QString& name) const {
  const tavrin::PlotLabel* l = last_.label(name.toStdString());
  return l ? QString::fromStdString(l->text) : QString();
}

bool PlotWindow::labelShown(const QString& name) const {
  const tavrin::PlotLabel* l = last_.label(name.toStdString());
  return l && l->visible;
}

void PlotWindow::updateCaption() {
  const QString lco = QString::fromStdString(session().app.lcoName);
  setWindowTitle(lco.isEmpty() ? defaultCaption_ : lco);
}

void PlotWindow::exportImage(const QString& path, QSize size, double scale) {
  exportPlotImage(path, size, scale, [this](tavrin::Canvas& c) { draw(c); });
}

void PlotWindow::printOn(QPrinter& printer) {
  renderPlotOnDevice(printer, area_->size(), [this](tavrin::Canvas& c) { draw(c); });
}

void PlotWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(area_->width() >= area_->height() ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setDocName(windowTitle());
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle("Print");
  if (dialog.exec() != QDialog::Accepted) return;
  printOn(printer);
}

void PlotWindow::exportImageDialog() {
  QDialog d(this);
  d.setObjectName("ExportImageDialog");
  d.setWindowTitle("Export Image");
  auto* form = new QFormLayout(&d);
  auto* path = new QLineEdit(&d);
  path->setObjectName("ExportPath");
  auto* browse = new QPushButton("&Browse...", &d);
  auto* row = new QHBoxLayout;
  row->addWidget(path, 1);
  row->addWidget(browse);
  form->addRow("&File:", row);
  auto* w = new QSpinBox(&d);
  w->setObjectName("ExportWidth");
  w->setRange(100, 20000);
  w->setValue(area_->width());
  w->setSuffix(" px");
  form->addRow("&Width:", w);
  auto* h = new QSpinBox(&d);
  h->setObjectName("ExportHeight");
  h->setRange(100, 20000);
  h->setValue(area_->height());
  h->setSuffix(" px");
  form->addRow("&Height:", h);
  auto* scale = new QComboBox(&d);
  scale->setObjectName("ExportScale");
  scale->addItems({"100 %", "200 %", "300 %", "400 %"});
  form->addRow("&Scale (PNG):", scale);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  const QString base = QString::fromStdString(session().app.lcoName).section('.', 0, 0);
  path->setText(QString::fromStdString(session().app.dataFolder) + "/" + (base.isEmpty() ? "plot" : base) + ".png");
  connect(browse, &QPushButton::clicked, &d, [&] {
    // OK asks before replacing, whichever way the name was chosen.
    const QString chosen = QFileDialog::getSaveFileName(&d, "Export Image", path->text(),
                                                        "PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)",
                                                        nullptr, QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty()) path->setText(chosen);
  });
  // Declining to replace a file goes back to the dialog for another name.
  while (d.exec() == QDialog::Accepted && !path->text().isEmpty()) {
    if (!main_.mayReplace(path->text())) continue;
    reportFailure(main_, [&] { exportImage(path->text(), QSize(w->value(), h->value()), scale->currentIndex() + 1); });
    return;
  }
}

namespace {

// The observed sets the plots hold: the light set, or the loaded velocity sets.
std::vector<tavrin::ObservedSeries> observedSeries(const Session& s) {
  std::vector<tavrin::ObservedSeries> out;
  if (s.curve.page == 2) {
    for (int n = 1; n <= 2; ++n) {
      const tavrin::VelocitySet& v = s.observedVelocities.set(n);
      if (v.loaded) out.push_back({v.fileName, n, v.phase, v.velocity});
    }
  } else if (s.observedLight.count() > 0) {
    out.push_back({s.observedLight.fileName, 0, s.observedLight.phase, s.observedLight.light});
  }
  return out;
}

}  // namespace

void PlotWindow::exportFigure(const QString& path, tavrin::FigureSize size, double dpi, bool residuals) {
  const Session& s = session();
  const auto observed = observedSeries(s);
  tavrin::CurveFigure f;
  if (s.curve.page == 2) {
    // The report's own VUNIT and gamma velocity; the set's when it cannot be read.
    tavrin::VelocityScale v{s.params.VUNIT > 0 ? s.params.VUNIT : 1, s.params.VGA};
    try {
      const std::string text = tavrin::readWholeFile(tavrin::joinPath(s.app.dataFolder, s.app.lcoName));
      v = tavrin::velocityScaleOf(text);
    } catch (const tavrin::TavrinError&) {
    }
    f = tavrin::velocityFigure(s.curve, observed, residuals, v);
  } else {
    f = tavrin::lightCurveFigure(s.curve, observed, residuals);
  }
  ::exportFigure(path, size.widthIn, size.heightIn, dpi, [f](tavrin::Canvas& c) { tavrin::drawCurveFigure(c, f); });
}

void PlotWindow::exportData(const QString& path) {
  tavrin::writeFileAtomically(path.toStdString(), tavrin::curveCsv(session().curve, observedSeries(session())));
}

void PlotWindow::exportFigureDialog() {
  const QString base = QString::fromStdString(session().app.lcoName).section('.', 0, 0);
  const QString suggested = QString::fromStdString(session().app.dataFolder) + "/" + (base.isEmpty() ? "figure" : base) + ".pdf";
  const auto choice = figureexport::askFigure(this, suggested, !observedSeries(session()).empty());
  if (!choice || !main_.mayReplace(choice->path)) return;
  reportFailure(main_, [&] { exportFigure(choice->path, choice->size, choice->dpi, choice->residuals); });
}

void PlotWindow::exportDataDialog() {
  const QString base = QString::fromStdString(session().app.lcoName).section('.', 0, 0);
  const QString path = figureexport::askSavePath(
      this, "Export Data", QString::fromStdString(session().app.dataFolder) + "/" + (base.isEmpty() ? "curve" : base) + ".csv",
      "CSV table (*.csv)");
  if (path.isEmpty()) return;
  figureexport::writeText(main_, path, tavrin::curveCsv(session().curve, observedSeries(session())));
}
