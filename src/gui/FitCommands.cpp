// Display DCO > Fit Until Converged.
#include <QAction>

#include "InstallCommands.h"
#include "frmFit.h"
#include "frmMain.h"

void installFitCommands(frmMain& w) {
  if (QAction* a = w.action("FitUntilConverged"))
    QObject::connect(a, &QAction::triggered, &w, [&w] {
      frmFit& f = frmFit::of(w);
      f.show();
      f.raise();
      f.activateWindow();
    });
}
