#pragma once
// Run LC/DC menu: standard and custom runs, and the watch over started runs.
class frmMain;

namespace runcommands {
// Runs started from this window that have not yet been seen to end.
int runsInProgress(frmMain& main);
// How often started runs are looked at, in milliseconds.
inline constexpr int kPollMs = 200;
}  // namespace runcommands
