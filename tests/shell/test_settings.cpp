#include "shell/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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
  struct Row {
    std::string folder;
    bool join = false, grid = false;
    Rgb colour{};
  };
  std::string text;
  for (const Row& r : {Row{"/home/ann/stars", true, false, {1, 2, 3}}, Row{"", false, false, {}}, Row{"", false, false, {255, 0, 0}},
                       Row{"", false, false, {0, 0, 255}}, Row{"", false, true, {255, 255, 255}},
                       Row{"/data/obs/", false, false, {}},
                       Row{"C:\\obs\\", false, false, {}}, Row{"/", false, false, {}}, Row{"C:\\", false, false, {}}}) {
    Settings s;
    s.dataFolder = r.folder;
    s.joinPoints = r.join;
    s.gridLines = r.grid;
    s.curveColour = r.colour;
    text += settingsText(s) + "--\n";
  }
  testing_support::expectGolden("shell", "settings_text.txt", text);
}

TEST_F(SettingsFile, ReplacesAnEarlierFileEntirely) {
  put(std::string(5000, 'x') + "\r\nold\r\n");
  Settings s;
  s.curveColour = {255, 0, 0};
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
  try {
    writeSettings(dir_, Settings{});
    FAIL() << "expected a TavrinError";
  } catch (const TavrinError& e) {
    EXPECT_EQ(e.number(), kErrPermissionDenied);
  }
  EXPECT_FALSE(fs::exists(fs::path(dir_) / "DCTavrin2.ini"));
}

TEST_F(SettingsFile, ReadsBackWhatItWrote) {
  Settings s;
  s.dataFolder = "/tmp/my obs, 2";
  s.gridLines = true;
  s.curveColour = {10, 20, 30};
  writeSettings(dir_, s);
  EXPECT_EQ(readSettingsDataFolder(dir_), std::optional<std::string>("/tmp/my obs, 2"));
  writeSettings(dir_, Settings{});
  EXPECT_EQ(readSettingsDataFolder(dir_), std::optional<std::string>(""));
}

TEST_F(SettingsFile, MissingOrMalformedGivesNothing) {
  EXPECT_FALSE(readSettingsDataFolder(dir_));
  EXPECT_FALSE(readSettingsDataFolder(dir_ + "/nowhere"));
  const char* bad[] = {
      "",
      "\"/a\"\r\n0\r\n0\r\n",                   // three lines
      "\"/a\"\r\n0\r\n0\r\n0\r\n0\r\n",         // five lines
      "/a\r\n0\r\n0\r\n0\r\n",                  // unquoted
      "\"/a\r\n0\r\n0\r\n0\r\n",                // open quote
      "\"/a\"b\"\r\n0\r\n0\r\n0\r\n",           // quote inside
      "\"/a\"\r\n1\r\n0\r\n0\r\n",              // Boolean not -1/0
      "\"/a\"\r\n0\r\nyes\r\n0\r\n",
      "\"/a\"\r\n0\r\n0\r\n-5\r\n",             // colour out of range
      "\"/a\"\r\n0\r\n0\r\n16777216\r\n",
      "\"/a\"\r\n0\r\n0\r\n 255\r\n",           // leading blank
      "\"/a\"\r\n0\r\n0\r\n99999999999999999999999\r\n",
      "\"/a\"\r\n0\r\n0\r\n25x\r\n",
  };
  for (const char* t : bad) {
    put(t);
    EXPECT_FALSE(readSettingsDataFolder(dir_)) << t;
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
