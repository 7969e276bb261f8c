#pragma once
// A report is read only once the run writing it has ended: a half-written
// LCO or DCO would otherwise be taken for the whole one.
#include <string>

class frmMain;

namespace reportguard {
// True (after telling the user, e.g. "DC is still running: wait for it to end
// before reading star.dco") when a watched run still writes folder/name.
bool refuseWhileWritten(frmMain& main, const std::string& folder, const std::string& name);
}  // namespace reportguard
