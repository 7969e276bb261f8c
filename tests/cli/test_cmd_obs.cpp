#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Result {
  int exitCode = -1;
  std::string out, err;
};

Result runObs(const std::string& args) {
  const fs::path dir = fs::temp_directory_path() / ("tavrin-cliobs-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string cmd = std::string(TAVRIN_BINARY_DIR) + "/src/cli/tavrin-cli obs " + args + " >" +
                          (dir / "out").string() + " 2>" + (dir / "err").string();
  const int status = std::system(cmd.c_str());
  Result r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  auto slurp = [](const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  r.out = slurp(dir / "out");
  r.err = slurp(dir / "err");
  return r;
}

class CliObs : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tavrin-cliobs-data-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    fs::remove_all(fs::temp_directory_path() / ("tavrin-cliobs-" + std::to_string(::getpid())));
  }
  std::string file(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return "'" + (dir_ / name).string() + "'";
  }
  fs::path dir_;
};

}  // namespace

TEST_F(CliObs, PrintsThePointsWithFullPrecision) {
  const Result r = runObs(file("a.csv", "HJD, V\r\n2458123.123456789,0.1\r\n0.25,-88.3864\r\n"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j["points"].size(), 2u);
  EXPECT_EQ(j["points"][0][0].get<double>(), 2458123.123456789);
  EXPECT_EQ(j["points"][0][1].get<double>(), 0.1);
  EXPECT_EQ(j["points"][0][2].get<double>(), 1.0);
  EXPECT_EQ(j["points"][1][1].get<double>(), -88.3864);
}

TEST_F(CliObs, NoCommaFileGivesAnEmptyList) {
  const Result r = runObs(file("b.txt", "1 2 3\n4 5 6\n"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out), nlohmann::json::parse(R"({"points": []})"));
}

TEST_F(CliObs, FailuresPrintTheSystemMessageAndExitOne) {
  Result r = runObs("'" + (dir_ / "missing.csv").string() + "'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Error 53: File not found.\nFile: " + (dir_ / "missing.csv").string() + "\n");
  EXPECT_TRUE(r.out.empty());
  r = runObs(file("g.csv", "1,2,3\n4,five,6\n"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Error 321: Invalid file format.\nFile: " + (dir_ / "g.csv").string() + "\nline 2: \"4,five,6\"\n");
  r = runObs("");
  EXPECT_EQ(r.exitCode, 2);
}
