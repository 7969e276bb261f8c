// The main window's Contours menu and the file-dialog operations of the
// contour window (9: load contour data, 10: name the contour output file).
#include <QAction>

#include "InstallCommands.h"
#include "frmCalcContourData.h"
#include "frmIO_all.h"
#include "frmMain.h"

namespace {

}  // namespace

void installContourCommands(frmMain& w) {
  if (QAction* a = w.action("Contour"))
    QObject::connect(a, &QAction::triggered, &w, [&w] {
      frmCalcContourData& f = frmCalcContourData::of(w);
      f.show();
      f.raise();
      f.activateWindow();
    });
  w.fileDialog().setHandler(FileOp::LoadContour, [&w](const QString& name) { frmCalcContourData::of(w).loadContourFile(name); });
  w.fileDialog().setHandler(FileOp::SaveContour, [&w](const QString& name) { frmCalcContourData::of(w).outputFileChosen(name); });
}
