#include "CommandRegistry.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {
std::vector<std::pair<int, CommandInstaller>>& installers() {
  static std::vector<std::pair<int, CommandInstaller>> v;
  return v;
}
}  // namespace

CommandRegistration::CommandRegistration(int order, CommandInstaller installer) {
  installers().emplace_back(order, installer);
}

void installAllCommands(frmMain& w) {
  auto v = installers();
  std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [order, fn] : v) fn(w);
}
