#include "shell/app_state.h"

namespace tavrin {

std::string joinPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  const char sep = '\\';
#else
  const char sep = '/';
#endif
  if (folder.empty()) return name;
  if (folder.back() == sep) return folder + name;
  return folder + sep + name;
}

std::string captionFor(ProgramMode mode, const AppState& app) {
  const std::string& name = mode == ProgramMode::DC ? app.dciName : app.lciName;
  return name.empty() ? std::string("Tavrin") : "Tavrin - " + name;
}

}  // namespace tavrin
