#pragma once
// The settings file "DCTavrin2.ini" in the program folder: written at Exit,
// read back at start-up for the data folder only.

#include <optional>
#include <string>

#include "output/canvas.h"

namespace tavrin {

inline constexpr const char* kSettingsFileName = "DCTavrin2.ini";

struct Settings {
  std::string dataFolder;  // without a trailing separator
  bool joinPoints = false;
  bool gridLines = false;
  Rgb curveColour{};
};

// The four CR LF lines: quoted folder, -1/0, -1/0, r + 256 g + 65536 b.
std::string settingsText(const Settings& s);

// Writes the file into the folder, replacing any earlier one atomically.
// Throws TavrinError when it cannot be written; the caller reports it and
// still lets the program end.
void writeSettings(const std::string& programFolder, const Settings& s);

// The data folder of a settings text, or nothing when the text is not four
// well-formed lines (quoted folder, two Booleans, a colour 0..16777215).
std::optional<std::string> dataFolderFromSettingsText(const std::string& text);

// Reads the file in the folder; nothing when it is missing or malformed.
std::optional<std::string> readSettingsDataFolder(const std::string& programFolder);

}  // namespace tavrin
