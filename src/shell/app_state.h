#pragma once
// Application-wide values: folders, current file names, the read-error and
// older-layout flags, and the caption rule.

#include <string>

#include "model/parameter_set.h"

namespace tavrin {

struct AppState {
  std::string programFolder;
  std::string dataFolder;
  std::string lciName;
  std::string dciName;
  std::string lcoName;
  std::string dcoName;
  bool readError = false;
  bool olderLayout = false;
  bool contourRunning = false;
  // Folder of an installed Tavrin's own Synthex and Solvex: standard runs
  // use them when the program folder has none. Empty: no fallback.
  std::string installedProgramsFolder;
};

// folder + separator + name (the platform's separator).
std::string joinPath(const std::string& folder, const std::string& name);

// "Tavrin" or "Tavrin - " + the current input name of the mode.
std::string captionFor(ProgramMode mode, const AppState& app);
inline const char* kUntitledCaption = "Tavrin - [untitled]";

}  // namespace tavrin
