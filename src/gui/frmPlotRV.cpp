#include "frmPlotRV.h"

#include <QAction>
#include <QMenu>
#include <utility>

#include "ReportFailure.h"
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
          [this] { main_.fileDialog().open(FileOp::LoadRv1Data, "Load RV1 Data", kDataPatterns); });
  QAction* load2 = addItem(fileMenu_, "LoadRV2Data", "Load RV2 Data Points ...");
  connect(load2, &QAction::triggered, this,
          [this] { main_.fileDialog().open(FileOp::LoadRv2Data, "Load RV2 Data", kDataPatterns); });
  finishFileMenu();
  QAction* yscale = action("Yscale");
  yscale->setEnabled(true);
  connect(yscale, &QAction::triggered, this, [this] { yRangeWindow().showRange(); });
  plotArea()->setAccessibleDescription(
      "Computed radial velocities of both stars against phase, with observed velocities");
  syncChecks();
}

void frmPlotRV::loadData(int set, const QString& name) {
  Session& s = session();
  tavrin::ObservationLoad read = tavrin::ObservationLoad::NotRecognised;
  if (!reportReadFailure(main_, [&] {
        read = tavrin::loadVelocityData(s.app.dataFolder, name.toStdString(), set, s.params, s.observedVelocities,
                                        s.plot);
      }) ||
      read == tavrin::ObservationLoad::NotRecognised)
    return;
  syncChecks();
  show();
  raise();
  redraw();
}

frmYrange& frmPlotRV::yRangeWindow() {
  if (yrange_) return *yrange_;
  frmYrange::Scale scale;
  scale.maxCaption = "Y maximum (km/s; both empty: automatic)";
  scale.minCaption = "Y minimum (km/s; both empty: automatic)";
  scale.automaticAllowed = true;
  scale.get = [this] { return range_; };
  scale.set = [this](frmYrange::Range r) {
    if (r && r->first < r->second) std::swap(r->first, r->second);
    range_ = r;
  };
  yrange_ = new frmYrange(main_, std::move(scale), [this] { redraw(); }, this);
  return *yrange_;
}

void frmPlotRV::unloadData() {
  for (auto& set : session().observedVelocities.sets) set.loaded = false;
}

tavrin::PlotResult frmPlotRV::drawPlot(tavrin::Canvas& c) {
  Session& s = session();
  static const tavrin::ComputedCurve none;
  const tavrin::ComputedCurve& computed = s.curve.page == 2 ? s.curve : none;
  // A chosen range stands in for the curves' own extremes, which set the scale.
  tavrin::ComputedCurve ranged;
  if (range_ && computed.count > 0) {
    ranged = computed;
    ranged.rvMax = range_->first;
    ranged.rvMin = range_->second;
  }
  const tavrin::ComputedCurve& curve = range_ && computed.count > 0 ? ranged : computed;
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
