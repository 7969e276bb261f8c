#include "shell/settings.h"

#include <charconv>
#include <cstdint>
#include <exception>
#include <string_view>
#include <vector>

#include "shell/app_state.h"
#include "shell/atomic_file.h"

namespace tavrin {

namespace {

std::string withoutTrailingSeparator(std::string folder) {
  // A drive or file-system root keeps its separator ("/", "C:\").
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\') &&
         !(folder.size() == 3 && folder[1] == ':'))
    folder.pop_back();
  return folder;
}

bool parseInteger(std::string_view s, long long& out) {
  if (s.empty()) return false;
  const char* end = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), end, out);
  return ec == std::errc() && p == end;
}

}  // namespace

std::string settingsText(const Settings& s) {
  const std::int32_t colour = s.curveColour.r + 256 * s.curveColour.g + 65536 * s.curveColour.b;
  std::string t;
  t += '"' + withoutTrailingSeparator(s.dataFolder) + "\"\r\n";
  t += (s.joinPoints ? "-1" : "0");
  t += "\r\n";
  t += (s.gridLines ? "-1" : "0");
  t += "\r\n";
  t += std::to_string(colour) + "\r\n";
  return t;
}

void writeSettings(const std::string& programFolder, const Settings& s) {
  writeFileAtomically(joinPath(programFolder, kSettingsFileName), settingsText(s));
}

std::optional<std::string> dataFolderFromSettingsText(const std::string& text) {
  std::vector<std::string_view> lines;
  std::string_view rest(text);
  while (!rest.empty()) {
    const size_t nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (nl == std::string_view::npos) break;
    rest.remove_prefix(nl + 1);
  }
  if (lines.size() != 4) return std::nullopt;
  const std::string_view folder = lines[0];
  if (folder.size() < 2 || folder.front() != '"' || folder.back() != '"') return std::nullopt;
  const std::string_view inner = folder.substr(1, folder.size() - 2);
  if (inner.find('"') != std::string_view::npos) return std::nullopt;
  for (int i : {1, 2}) {
    if (lines[static_cast<size_t>(i)] != "-1" && lines[static_cast<size_t>(i)] != "0") return std::nullopt;
  }
  long long colour = 0;
  if (!parseInteger(lines[3], colour) || colour < 0 || colour > 0xFFFFFF) return std::nullopt;
  return std::string(inner);
}

std::optional<std::string> readSettingsDataFolder(const std::string& programFolder) {
  try {
    const std::string text = readWholeFile(joinPath(programFolder, kSettingsFileName));
    // A settings file is a few hundred bytes; anything huge is not ours.
    if (text.size() > 65536) return std::nullopt;
    return dataFolderFromSettingsText(text);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace tavrin
