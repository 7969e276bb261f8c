#include "shell/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "error_of.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
namespace fs = std::filesystem;

namespace {

// TempDir gives its folder back its write bits before removing it.
class SettingsFile : public ::testing::Test {
 protected:
  std::string read() const { return testing_support::slurp(tmp_ / "DCTavrin2.ini"); }
  void put(const std::string& text) const { testing_support::spit(tmp_ / "DCTavrin2.ini", text); }
  testing_support::TempDir tmp_{"tavrin-settings"};
  const std::string dir_ = tmp_.path().string();
};

// Folder, the two switches and the colour (red + 256 green + 65536 blue), one
// line each with CR LF; a trailing separator goes, a root stays.
TEST(SettingsText, EveryFieldInOrder) {
  std::string text;
  for (const auto& r : testing_support::tableRows(testing_support::goldenPath("shell", "settings_rows.tsv"))) {
    const auto byte = [](const std::string& cell) { return static_cast<uint8_t>(std::stoi(cell)); };
    text += settingsText(Settings{r[0], r[1] == "1", r[2] == "1", {byte(r[3]), byte(r[4]), byte(r[5])}}) + "--\n";
  }
  testing_support::expectGolden("shell", "settings_text.txt", text);
}

TEST_F(SettingsFile, ReplacesAnEarlierFileEntirely) {
  put(std::string(5000, 'x') + "\r\nold\r\n");
  Settings s{"", false, false, {255, 0, 0}};
  writeSettings(dir_, s);
  EXPECT_EQ(read(), "\"\"\r\n0\r\n0\r\n255\r\n");
  s.dataFolder = "/a";
  writeSettings(dir_, s);
  EXPECT_EQ(read(), "\"/a\"\r\n0\r\n0\r\n255\r\n");
}

TEST_F(SettingsFile, UnwritableFolderThrowsAndLeavesNothing) {
  EXPECT_THROW(writeSettings(dir_ + "/no/such/folder", Settings{}), TavrinError);
  fs::create_directory(fs::path(dir_) / "DCTavrin2.ini");  // a folder where the file should go
  EXPECT_THROW(writeSettings(dir_, Settings{}), TavrinError);
  EXPECT_TRUE(fs::is_directory(fs::path(dir_) / "DCTavrin2.ini"));
  fs::remove(fs::path(dir_) / "DCTavrin2.ini");
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores permissions";
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(testing_support::errorOf([&] { writeSettings(dir_, Settings{}); }), kErrPermissionDenied);
  EXPECT_FALSE(fs::exists(fs::path(dir_) / "DCTavrin2.ini"));
}

TEST_F(SettingsFile, ReadsBackWhatItWrote) {
  writeSettings(dir_, Settings{.dataFolder = "/tmp/my obs, 2", .gridLines = true, .curveColour = {10, 20, 30}});
  EXPECT_EQ(readSettingsDataFolder(dir_), std::optional<std::string>("/tmp/my obs, 2"));
  writeSettings(dir_, Settings{});
  EXPECT_EQ(readSettingsDataFolder(dir_), std::optional<std::string>(""));
}

TEST_F(SettingsFile, MissingOrMalformedGivesNothing) {
  EXPECT_FALSE(readSettingsDataFolder(dir_));
  EXPECT_FALSE(readSettingsDataFolder(dir_ + "/nowhere"));
  for (const auto& row : testing_support::tableRows(testing_support::goldenPath("shell", "bad_settings.tsv"))) {
    std::string t = row.size() > 1 ? row[1] : "";
    for (size_t at; (at = t.find('|')) != std::string::npos;) t.replace(at, 1, "\r\n");
    put(t);
    EXPECT_FALSE(readSettingsDataFolder(dir_)) << row[0];
  }
  put("\"/a\"\n0\n-1\n255");  // bare LF and no final line end are tolerated
  EXPECT_EQ(readSettingsDataFolder(dir_), std::optional<std::string>("/a"));
  put(std::string(100000, '"'));
  EXPECT_FALSE(readSettingsDataFolder(dir_));
  fs::remove(fs::path(dir_) / "DCTavrin2.ini");
  fs::create_directory(fs::path(dir_) / "DCTavrin2.ini");  // a folder of that name
  EXPECT_FALSE(readSettingsDataFolder(dir_));
}

}  // namespace
