// File helpers shared by the tests. ctest runs tests in parallel processes,
// so every test that needs a folder gets one of its own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tavrin::testing_support {

namespace fs = std::filesystem;

// <build>/test-tmp/<area>/<Suite.Test>/<name>, emptied and created afresh.
inline fs::path freshTestDir(const std::string& area, const std::string& name = "") {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string test = info ? std::string(info->test_suite_name()) + "." + info->name() : "outside-tests";
  fs::path d = fs::path(TAVRIN_BINARY_DIR) / "test-tmp" / area / test;
  if (!name.empty()) d /= name;
  fs::remove_all(d);
  fs::create_directories(d);
  return d;
}

// A private folder in the system's temporary folder, removed with the object.
class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "tavrin-test") {
    std::string tmpl = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  fs::path operator/(const std::string& name) const { return path_ / name; }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

inline std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void spit(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

// The lines of a CR LF text, without their ends.
inline std::vector<std::string> crlfLines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      out.push_back(text.substr(start));
      break;
    }
    out.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

inline size_t filesIn(const fs::path& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
  return n;
}

// The text of a file under tests/, e.g. golden("model", "x.dci") reads
// tests/model/golden/x.dci.
inline fs::path goldenPath(const std::string& area, const std::string& name) {
  return fs::path(TAVRIN_SOURCE_DIR) / "tests" / area / "golden" / name;
}

// Compares text with a golden file character for character. With
// TAVRIN_UPDATE_GOLDEN=1 in the environment it writes the file instead, so a
// deliberate change of output is one run and a reviewed diff.
inline void expectGolden(const std::string& area, const std::string& name, const std::string& actual) {
  const fs::path p = goldenPath(area, name);
  const char* update = std::getenv("TAVRIN_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    fs::create_directories(p.parent_path());
    spit(p, actual);
    return;
  }
  ASSERT_TRUE(fs::exists(p)) << p << " is missing; run with TAVRIN_UPDATE_GOLDEN=1 to write it";
  EXPECT_EQ(actual, slurp(p)) << "differs from " << p;
}

// Rows of a case table: one case per non-blank line that does not start
// with '#', its cells separated by tabs.
inline std::vector<std::vector<std::string>> tableRows(const fs::path& p) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(p, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      cells.push_back(line.substr(start, tab - start));
    cells.push_back(line.substr(start));
    rows.push_back(std::move(cells));
  }
  return rows;
}

}  // namespace tavrin::testing_support
