#pragma once
// The features attach their menu actions and file-dialog handlers to a main
// window that otherwise is only the editor. The program and the window tests
// call installCommands; each installer can also be called on its own.
class frmMain;

void installFileCommands(frmMain& w);
void installRunCommands(frmMain& w);
void installDcoCommands(frmMain& w);
void installFitCommands(frmMain& w);
void installPlotCommands(frmMain& w);
void installEditorCommands(frmMain& w);
void installContourCommands(frmMain& w);
void installShellCommands(frmMain& w);

// All of them, in the order the menus expect (the shell last: it restores the
// settings and may load a file, which needs the file commands).
void installCommands(frmMain& w);
