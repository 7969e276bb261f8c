#pragma once
// Run LC/DC menu: standard and custom runs, and the watch over started runs.
#include <QString>
#include <string>
#include <utility>
#include <vector>

class frmMain;

namespace runcommands {
// Runs started from this window that have not yet been seen to end.
int runsInProgress(frmMain& main);
// Program label ("LC"/"DC") and output path of each run still being watched.
std::vector<std::pair<QString, std::string>> reportsBeingWritten(frmMain& main);
// How often started runs are looked at, in milliseconds.
inline constexpr int kPollMs = 200;
}  // namespace runcommands
