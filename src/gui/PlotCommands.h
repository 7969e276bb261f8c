#pragma once
// The plot windows of the main window (created on first use, hidden by Exit)
// and Display LCO.
#include <QString>

class frmMain;
class frmPlotLC;
class frmPlotRV;

frmPlotLC& plotLCWindow(frmMain& main);
frmPlotRV& plotRVWindow(frmMain& main);

// Reads data folder + current LCO name and shows the plot of its page: L2 in
// Text55, the window's caption the LCO name. On failure shows the message
// and draws nothing new. Returns whether a plot was drawn; pageRefused tells
// a report whose page is neither 1 nor 2. Refused (message, nothing read)
// while a started LC run still writes the report.
bool displayLco(frmMain& main, bool* pageRefused = nullptr);
