#include "PlotCommands.h"

#include <QAction>
#include <QObject>
#include <memory>

#include "InstallCommands.h"
#include "ReportFailure.h"
#include "ReportGuard.h"
#include "output/dco_reader.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "frmPlotLC.h"
#include "frmPlotRV.h"
#include "output/lco_reader.h"
#include "shell/app_state.h"
#include "shell/errors.h"

namespace {

constexpr const char* kSorryMpage = "Sorry, mpage must be 1 (light curve) or 2 (RV curves).  Please try again.";

// Owns the plot windows. They are top-level windows of their own, so their
// menu items (Print, Exit, About, ...) never shadow the main window's.
class PlotWindows : public QObject {
 public:
  explicit PlotWindows(frmMain& main) : QObject(&main), main_(main) { setObjectName("PlotWindows"); }
  frmPlotLC& lc() {
    if (!lc_) lc_ = std::make_unique<frmPlotLC>(main_);
    return *lc_;
  }
  frmPlotRV& rv() {
    if (!rv_) rv_ = std::make_unique<frmPlotRV>(main_);
    return *rv_;
  }

 private:
  frmMain& main_;
  std::unique_ptr<frmPlotLC> lc_;
  std::unique_ptr<frmPlotRV> rv_;
};

PlotWindows& windows(frmMain& main) {
  auto* w = main.findChild<PlotWindows*>("PlotWindows", Qt::FindDirectChildrenOnly);
  if (!w) w = new PlotWindows(main);
  return *w;
}

void showPlot(PlotWindow& w) {
  w.updateCaption();
  w.syncChecks();
  w.show();
  w.raise();
  w.redraw();
}

}  // namespace

void installPlotCommands(frmMain& main) {
  windows(main);
  if (QAction* standard = main.action("Standard")) {
    QObject::connect(standard, &QAction::triggered, &main, [&main] {
      auto& app = main.session().app;
      if (app.lciName.empty()) return;
      const std::string lco = tavrin::standardOutputName(app.lciName, ".lco");
      if (reportguard::refuseWhileWritten(main, app.dataFolder, lco)) return;
      app.lcoName = lco;
      displayLco(main);
    });
  }
  if (QAction* custom = main.action("Custom")) {
    QObject::connect(custom, &QAction::triggered, &main, [&main] {
      main.fileDialog().open(FileOp::LoadLco, "Load LCO File", {"*.lco", "*.*"}, QString::fromStdString(main.session().app.lcoName));
    });
  }
  frmIO_all& dialog = main.fileDialog();
  dialog.setHandler(FileOp::LoadLco, [&main](const QString& name) {
    if (reportguard::refuseWhileWritten(main, main.session().app.dataFolder, name.toStdString())) return;
    main.session().app.lcoName = name.toStdString();
    bool pageRefused = false;
    // A chosen report of neither page gets the dialog's own word as well.
    if (!displayLco(main, &pageRefused) && pageRefused) main.showMessage(kSorryMpage);
  });
  dialog.setHandler(FileOp::LoadLcData, [&main](const QString& name) { plotLCWindow(main).loadData(name); });
  dialog.setHandler(FileOp::LoadRv1Data, [&main](const QString& name) { plotRVWindow(main).loadData(1, name); });
  dialog.setHandler(FileOp::LoadRv2Data, [&main](const QString& name) { plotRVWindow(main).loadData(2, name); });
}

frmPlotLC& plotLCWindow(frmMain& main) { return windows(main).lc(); }
frmPlotRV& plotRVWindow(frmMain& main) { return windows(main).rv(); }

bool displayLco(frmMain& main, bool* pageRefused) {
  if (pageRefused) *pageRefused = false;
  Session& s = main.session();
  if (reportguard::refuseWhileWritten(main, s.app.dataFolder, s.app.lcoName)) return false;
  const std::string path = tavrin::joinPath(s.app.dataFolder, s.app.lcoName);
  const bool read = reportReadFailure(main, [&] {
    try {
      s.curve = tavrin::readLcoFile(path, s.params);
    } catch (const tavrin::ReportMessage& m) {
      if (pageRefused) *pageRefused = std::string(m.what()) == tavrin::kMpageMessage;
      throw;
    }
  });
  if (!read) return false;
  main.setFieldText("Text55", QString::fromStdString(s.curve.l2Text));
  if (s.curve.page == 1)
    showPlot(plotLCWindow(main));
  else
    showPlot(plotRVWindow(main));
  return true;
}
