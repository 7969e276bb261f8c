#pragma once
// The DC editor windows of a main window, each created on first use and only
// hidden afterwards, so their contents persist while the program runs.
#include <QString>

#include "frmMain.h"
#include "SingleWindow.h"

class QLabel;
class QVBoxLayout;
class QWidget;
class frmAdjust;
class frmIncrem;
class frmSpots;
class frmDataFile;
class frmMiscParm;
class frmIndivHlp;

frmAdjust& adjustWindow(frmMain& main);
frmIncrem& incremWindow(frmMain& main);
frmSpots& spotsWindow(frmMain& main);
frmDataFile& dataFileWindow(frmMain& main);
frmMiscParm& miscParmWindow(frmMain& main);
frmIndivHlp& indivHelpWindow(frmMain& main);


namespace editors {
// The editor windows' frame: a vertical layout under a menu bar holding Print.
QVBoxLayout* layoutWithPrintMenu(QWidget* window);
// The large bold heading at the top of an editor window.
QLabel* addTitle(QVBoxLayout* layout, QWidget* window, const char* name, const QString& text);
}  // namespace editors
