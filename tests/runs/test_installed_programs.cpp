// Standard runs of an installed Tavrin started from a folder without its own
// Synthex/Solvex use the installed ones; a program folder's copy wins.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/parameter_history.h"
#include "runs/runs.h"
#include "test_files.h"

using namespace tavrin;
using namespace tavrin::runs;
namespace fs = std::filesystem;

namespace {

fs::path scratchDir(const std::string& name) {
  return tavrin::testing_support::freshTestDir("runs-installed", name);
}

void executable(const fs::path& p) {
  std::ofstream(p) << "#!/bin/sh\nexit 0\n";
  fs::permissions(p, fs::perms::owner_all);
}

TEST(InstalledPrograms, UsedOnlyWhenTheProgramFolderHasNone) {
  const fs::path prog = scratchDir("prog");
  const fs::path bin = scratchDir("bin");
  executable(bin / "Solvex");
  AppState app;
  app.programFolder = prog.string();
  app.dataFolder = "/data";
  app.dciName = "star.dci";
  ParameterSet p;

  // No fallback configured: refused as before.
  EXPECT_THROW(planStandardRun(app, ProgramMode::DC), RunRefused);
  app.installedProgramsFolder = bin.string();
  auto plan = planStandardRun(app, ProgramMode::DC);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->executable, (bin / "Solvex").string());
  // The script still goes to the program folder.
  EXPECT_EQ(fs::path(plan->scriptPath).parent_path(), prog);

  executable(prog / "Solvex");
  plan = planStandardRun(app, ProgramMode::DC);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->executable, (prog / "Solvex").string());

  // Neither has Synthex: refused, naming the program folder's path.
  app.lciName = "star.lci";
  try {
    planStandardRun(app, ProgramMode::LC);
    FAIL();
  } catch (const RunRefused& e) {
    EXPECT_NE(std::string(e.what()).find((prog / "Synthex").string()), std::string::npos) << e.what();
  }
  // A folder (not a program) of that name in the fallback is not taken.
  fs::create_directory(bin / "Synthex");
  EXPECT_THROW(planStandardRun(app, ProgramMode::LC), RunRefused);
}

}  // namespace
