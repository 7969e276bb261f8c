#include "frmPlotLC.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "ReportFailure.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "frmYrange.h"
#include "shell/errors.h"

namespace {
const QStringList kDataPatterns{"*.csv", "*.txt", "*.dat", "*.*"};
}

frmPlotLC::frmPlotLC(frmMain& main) : PlotWindow(main, "frmPlotLC", "Plot LC") {
  QAction* load = addItem(fileMenu_, "LoadLCData", "Load LC Data Points ...");
  connect(load, &QAction::triggered, this,
          [this] { main_.fileDialog().open(FileOp::LoadLcData, "Load L Data", kDataPatterns); });
  finishFileMenu();

  QAction* yscale = action("Yscale");
  yscale->setEnabled(true);
  connect(yscale, &QAction::triggered, this, [this] { yRangeWindow().showRange(); });

  QMenu* colours = optionsMenu_->addMenu("Plot &Colour");
  colours->setObjectName("PlotColour");
  colours->menuAction()->setObjectName("PlotColourMenu");
  auto* group = new QActionGroup(this);
  const struct {
    const char* name;
    const char* caption;
    tavrin::Rgb colour;
  } items[] = {{"Red", "Red", tavrin::kRed},
               {"Green", "Green", tavrin::kGreen},
               {"Blue", "Blue", tavrin::kBlue},
               {"Black", "Black", tavrin::kBlack}};
  for (const auto& it : items) {
    QAction* a = addItem(colours, it.name, it.caption);
    a->setCheckable(true);
    group->addAction(a);
    const tavrin::Rgb c = it.colour;
    connect(a, &QAction::triggered, this, [this, c] { setPlotColour(c); });
  }
  plotArea()->setAccessibleDescription("Computed light against phase, with observed light points");
  syncChecks();
}

void frmPlotLC::syncChecks() {
  PlotWindow::syncChecks();
  const tavrin::Rgb c = session().plot.plotColour;
  if (QAction* a = action("Red")) a->setChecked(c == tavrin::kRed);
  if (QAction* a = action("Green")) a->setChecked(c == tavrin::kGreen);
  if (QAction* a = action("Blue")) a->setChecked(c == tavrin::kBlue);
  if (QAction* a = action("Black")) a->setChecked(c == tavrin::kBlack);
}

void frmPlotLC::showDataCaption() {
  setWindowTitle(QString::fromStdString(session().app.lcoName) + "  +  " +
                 QString::fromStdString(session().observedLight.fileName));
}

void frmPlotLC::setPlotColour(tavrin::Rgb colour) {
  session().plot.plotColour = colour;
  syncChecks();
  redraw();
}

frmYrange& frmPlotLC::yRangeWindow() {
  if (!yrange_) yrange_ = new frmYrange(main_, [this] { redraw(); }, this);
  return *yrange_;
}

void frmPlotLC::loadData(const QString& name) {
  Session& s = session();
  tavrin::ObservationLoad read = tavrin::ObservationLoad::NotRecognised;
  if (!reportReadFailure(main_, [&] {
        read = tavrin::loadLightData(s.app.dataFolder, name.toStdString(), s.params, s.observedLight, s.plot);
      }) ||
      read == tavrin::ObservationLoad::NotRecognised)
    return;
  showDataCaption();
  syncChecks();
  show();
  raise();
  redraw();
}

void frmPlotLC::unloadData() { session().observedLight = tavrin::ObservedLight{}; }

tavrin::PlotResult frmPlotLC::drawPlot(tavrin::Canvas& c) {
  Session& s = session();
  static const tavrin::ComputedCurve none;
  const tavrin::ComputedCurve& curve = s.curve.page == 1 ? s.curve : none;
  const tavrin::PlotInfo info{s.app.lcoName, s.observedLight.fileName, s.params.L1};
  // The computed curve keeps the chosen plot colour through every redraw.
  return tavrin::drawLightCurvePlot(c, s.plot, curve, s.observedLight, info, s.plot.plotColour, tavrin::kBlack,
                                    s.plot.backgroundColour);
}
