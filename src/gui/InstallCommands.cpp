#include "InstallCommands.h"

void installCommands(frmMain& w) {
  installFileCommands(w);
  installRunCommands(w);
  installDcoCommands(w);
  installFitCommands(w);
  installPlotCommands(w);
  installEditorCommands(w);
  installContourCommands(w);
  installShellCommands(w);
}
