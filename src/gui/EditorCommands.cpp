// The DC editor menus (Adjust, Datafiles, Spots, Misc.) and the file dialog's
// observation-file operation.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>
#include <QPainter>

#include "InstallCommands.h"
#include "SingleWindow.h"
#include "PrintWindow.h"
#include "ReportFailure.h"
#include "EditorWindows.h"
#include "frmAdjust.h"
#include "frmDataFile.h"
#include "frmIO_all.h"
#include "frmIncrem.h"
#include "frmIndivHlp.h"
#include "frmMain.h"
#include "frmMiscParm.h"
#include "frmSpots.h"
#include "model/observation_file.h"
#include "shell/errors.h"

namespace {

void loadObservations(frmMain& main, const QString& name) {
  Session& s = main.session();
  const int curve = s.currentCurve;
  const bool loaded = reportFailure(main, [&] {
    if (curve < 0 || curve > tavrin::kCurveRows) throw tavrin::TavrinError(tavrin::kErrSubscript);
    tavrin::loadObservationFile(s.params, curve, s.app.dataFolder, name.toStdString());
  });
  if (!loaded) return;
  if (frmDataFile* w = existingWindow<frmDataFile>(main)) w->setRowFileName(curve, name);
}

}  // namespace

void installEditorCommands(frmMain& w) {
  if (QAction* a = w.action("Adjust")) QObject::connect(a, &QAction::triggered, &w, [&w] { adjustWindow(w).showWindow(); });
  if (QAction* a = w.action("Data")) QObject::connect(a, &QAction::triggered, &w, [&w] { dataFileWindow(w).showWindow(); });
  if (QAction* a = w.action("Spots")) QObject::connect(a, &QAction::triggered, &w, [&w] { spotsWindow(w).showWindow(); });
  if (QAction* a = w.action("MiscParms"))
    QObject::connect(a, &QAction::triggered, &w, [&w] { miscParmWindow(w).showWindow(); });
  w.fileDialog().setHandler(FileOp::LoadDcData, [&w](const QString& name) { loadObservations(w, name); });
}

frmAdjust& adjustWindow(frmMain& main) { return singleWindow<frmAdjust>(main); }
frmIncrem& incremWindow(frmMain& main) { return singleWindow<frmIncrem>(main); }
frmSpots& spotsWindow(frmMain& main) { return singleWindow<frmSpots>(main); }
frmDataFile& dataFileWindow(frmMain& main) { return singleWindow<frmDataFile>(main); }
frmMiscParm& miscParmWindow(frmMain& main) { return singleWindow<frmMiscParm>(main); }
frmIndivHlp& indivHelpWindow(frmMain& main) { return singleWindow<frmIndivHlp>(main); }

namespace editors {

QVBoxLayout* layoutWithPrintMenu(QWidget* window) {
  auto* outer = new QVBoxLayout(window);
  auto* bar = new QMenuBar(window);
  QAction* print = bar->addAction("Print");
  print->setObjectName("Print");
  QObject::connect(print, &QAction::triggered, window, [window] { printWindowImage(window); });
  outer->setMenuBar(bar);
  return outer;
}

QLabel* addTitle(QVBoxLayout* layout, QWidget* window, const char* name, const QString& text) {
  auto* title = new QLabel(text, window);
  title->setObjectName(name);
  QFont f = title->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.3);
  title->setFont(f);
  layout->addWidget(title);
  return title;
}

}  // namespace editors
