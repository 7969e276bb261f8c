// Display DCO > Fit Until Converged.
#include <QAction>

#include "CommandRegistry.h"
#include "frmFit.h"
#include "frmMain.h"

namespace {

void install(frmMain& w) {
  if (QAction* a = w.action("FitUntilConverged"))
    QObject::connect(a, &QAction::triggered, &w, [&w] {
      frmFit& f = frmFit::of(w);
      f.show();
      f.raise();
      f.activateWindow();
    });
}

const CommandRegistration reg(45, &install);

}  // namespace
