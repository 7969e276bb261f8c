#include "frmPlotRV.h"

#include <QAction>
#include <QMenu>

#include "frmIO_all.h"
#include "frmMain.h"
#include "output/velocity_plot.h"
#include "shell/errors.h"

namespace {
const QStringList kDataPatterns{"*.csv", "*.txt", "*.dat", "*.*"};
}

frmPlotRV::frmPlotRV(frmMain& main) : PlotWindow(main, "frmPlotRV", "Plot RV") {
  QAction* load1 = addItem(fileMenu_, "LoadRV1Data", "Load RV1 Data Points ...");
  connect(load1, &QAction::triggered, this,
          [this] { main_.fileDialog().open(11, "Load RV1 Data", kDataPatterns); });
  QAction* load2 = addItem(fileMenu_, "LoadRV2Data", "Load RV2 Data Points ...");
  connect(load2, &QAction::triggered, this,
          [this] { main_.fileDialog().open(12, "Load RV2 Data", kDataPatterns); });
  finishFileMenu();
  plotArea()->setAccessibleDescription(
      "Computed radial velocities of both stars against phase, with observed velocities");
  syncChecks();
}

void frmPlotRV::loadData(int set, const QString& name) {
  Session& s = session();
  try {
    if (tavrin::loadVelocityData(s.app.dataFolder, name.toStdString(), set, s.params, s.observedVelocities, s.plot) ==
        tavrin::ObservationLoad::NotRecognised)
      return;
  } catch (const tavrin::TavrinError& e) {
    s.app.readError = true;
    const QString text = QString::fromUtf8(e.what());
    main_.showMessage(text.isEmpty() ? QString("Error %1.").arg(e.number()) : text);
    return;
  }
  if (s.plot.displayMode == tavrin::kCurveAndData) s.plot.joinPoints = true;
  syncChecks();
  show();
  raise();
  redraw();
}

void frmPlotRV::unloadData() {
  for (auto& set : session().observedVelocities.sets) set.loaded = false;
}

tavrin::PlotResult frmPlotRV::drawPlot(tavrin::Canvas& c) {
  Session& s = session();
  static const tavrin::ComputedCurve none;
  const tavrin::ComputedCurve& curve = s.curve.page == 2 ? s.curve : none;
  // The data-file label names the loaded velocity files.
  std::string files;
  for (const auto& set : s.observedVelocities.sets) {
    if (!set.loaded || set.fileName.empty()) continue;
    if (!files.empty()) files += ", ";
    files += set.fileName;
  }
  const tavrin::PlotInfo info{s.app.lcoName, files, s.params.L1};
  return tavrin::drawVelocityPlot(c, s.plot, curve, s.observedVelocities, info, s.plot.plotColour, tavrin::kBlack,
                                  s.plot.backgroundColour);
}
