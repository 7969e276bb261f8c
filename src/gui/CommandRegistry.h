#pragma once
// Feature files (file commands, runs, DCO displays, plots, contours, DC
// editors, help) attach their menu actions and file-dialog handlers to the
// main window through an installer registered here, so frmMain itself does
// not depend on every feature.
class frmMain;

using CommandInstaller = void (*)(frmMain&);

struct CommandRegistration {
  // order: lower runs first (the editor itself is 0; features 10+).
  CommandRegistration(int order, CommandInstaller installer);
};

void installAllCommands(frmMain& w);
