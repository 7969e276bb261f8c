// tavrin-cli fit: the example fitted headless with the stand-in DC.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "model/input_reader.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

int cli(const std::string& args, const fs::path& out) {
  const std::string cmd = std::string(TAVRIN_BINARY_DIR) + "/src/cli/tavrin-cli fit " + args + " >'" + out.string() +
                          "' 2>'" + out.string() + ".err'";
  const int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliFit, ExampleConvergesAndWritesTheFittedSet) {
  const fs::path d = tavrin::testing_support::freshTestDir("cli", "fit");
  fs::copy_file(fs::path(TAVRIN_SOURCE_DIR) / "examples/example.dci", d / "star.dci");
  const std::string dc = std::string(TAVRIN_BINARY_DIR) + "/src/standins/Solvex";
  const std::string base = "'" + (d / "star.dci").string() + "' --dc '" + dc + "' --out '" + (d / "fitted.dci").string() + "'";
  ASSERT_EQ(cli(base, d / "json"), 0) << tavrin::testing_support::slurp(d / "json.err");
  const nlohmann::json j = nlohmann::json::parse(std::ifstream(d / "json"));
  EXPECT_EQ(j["stopped"], "converged");
  EXPECT_EQ(j["rule"], "sigma");
  ASSERT_GE(j["passes"].size(), 2u);
  EXPECT_EQ(j["passes"][0]["unknowns"].size(), 5u);
  EXPECT_TRUE(fs::exists(d / "star.fit" / "001.dco"));
  const tavrin::ParameterSet p =
      tavrin::readDci((d / "fitted.dci").string(), tavrin::ParameterSet{}, tavrin::probeDci((d / "fitted.dci").string())).params;
  EXPECT_NEAR(p.XINCL, 86.0, 0.5);
  // The maximum stops it with 3; bad options are usage errors.
  EXPECT_EQ(cli(base + " --max 1 --keep '" + (d / "kept").string() + "'", d / "json"), 3);
  EXPECT_TRUE(fs::exists(d / "kept" / "001.dci"));
  EXPECT_EQ(cli(base + " --damping 0", d / "json"), 2);
  EXPECT_EQ(cli("'" + (d / "star.dci").string() + "'", d / "json"), 2);
}

}  // namespace
