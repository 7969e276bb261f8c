#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/parameter_history.h"
#include "runs/runs.h"
#include "shell/errors.h"
#include "run_test_support.h"
#include "test_files.h"

using namespace tavrin::testing_support;

using namespace tavrin;
using namespace tavrin::runs;
namespace fs = std::filesystem;

namespace {

fs::path scratch(const std::string& name) {
  return tavrin::testing_support::freshTestDir("runs", name);
}

// A stand-in executable that records what it was started as and what it read.
void fakeProgram(const fs::path& path, const fs::path& record, const std::string& body = "") {
  spit(path, "#!/bin/sh\nprintf '%s' \"$0\" > '" + record.string() + ".argv0'\nprintf '%s' \"$#\" > '" +
                 record.string() + ".argc'\ncat > '" + record.string() + ".stdin'\necho 'report line'\n" + body);
  fs::permissions(path, fs::perms::owner_all);
}

AppState appAt(const fs::path& prog, const std::string& data, const std::string& dci) {
  AppState app;
  app.programFolder = prog.string();
  app.dataFolder = data;
  app.dciName = dci;
  return app;
}

}  // namespace

// Output names, quoting and the script texts of both dialects, character for character.
TEST(RunScripts, NamesQuotingAndScriptTexts) {
  std::string t;
  for (const auto& [name, mode] : {std::pair{"star.lci", ProgramMode::LC}, {"star.dci", ProgramMode::DC},
                                   {"a.b.c.xyz", ProgramMode::DC}, {"abc", ProgramMode::DC}})
    t += std::string(name) + " -> " + outputNameFor(name, mode) + "\n";
  for (const char* s : {"  model.lci", "   ", "a b", "it's", ""})
    t += "[" + leftTrimmed(s) + "] " + shellQuote(s) + "\n";
  t += scriptText(Dialect::Batch, "C:\\Tavrin\\Synthex", "D:\\data\\model.lci", "D:\\data\\model.lco") +
       scriptText(Dialect::Batch, "Solvex.exe", "D:\\d\\fit.dci", "D:\\d\\fit.out") +
       scriptText(Dialect::Posix, "/p/Solvex", "/d/st'ar.dci", "/d/star.dco") +
       executableName(ProgramMode::LC, Dialect::Batch) + " " + executableName(ProgramMode::DC, Dialect::Posix) + "\n";
  expectGolden("runs", "scripts.txt", t);
}

TEST(RunPlans, StandardLcRunTrimsAndNamesEverything) {
  const fs::path prog = scratch("stdlc");
  fakeProgram(prog / "Synthex", prog / "rec");
  AppState app = appAt(prog, "/data", "other.dci");
  app.lciName = "  model.lci";
  ParameterSet p;
  ParameterHistory h = ParameterHistory::fromParameterSet(p);
  p.XINCL = 12;
  auto plan = planStandardRun(app, ProgramMode::LC);
  ASSERT_TRUE(plan);
  EXPECT_EQ(app.lciName, "model.lci");
  EXPECT_EQ(app.lcoName, "model.lco");
  EXPECT_EQ(plan->scriptPath, (prog / "RunLC.sh").string());
  EXPECT_EQ(plan->scriptText, "'" + (prog / "Synthex").string() + "' <'/data/model.lci' >'/data/model.lco' 2>'/data/model.lco.err'\nexit\n");
  // LC runs leave the history alone.
  EXPECT_DOUBLE_EQ(h.generation1.scalars[11], ParameterSet{}.XINCL);
}

TEST(RunPlans, StandardDcRunShiftsHistory) {
  const fs::path prog = scratch("stddc");
  fakeProgram(prog / "Solvex", prog / "rec");
  AppState app = appAt(prog, "/data", "star.dci");
  ParameterSet p;
  ParameterHistory h = ParameterHistory::fromParameterSet(p);
  p.XINCL = 80;
  auto plan = planStandardRun(app, ProgramMode::DC);
  ASSERT_TRUE(plan);
  EXPECT_EQ(app.dcoName, "star.dco");
  // Planning alone shifts nothing: only a run that really started does.
  EXPECT_DOUBLE_EQ(h.generation1.scalars[11], 90.0);
  recordStart(*plan, p, h);
  EXPECT_DOUBLE_EQ(h.generation1.scalars[11], 80.0);
  EXPECT_DOUBLE_EQ(h.generation2.scalars[11], 90.0);
  recordStart(*plan, p, h);
  EXPECT_DOUBLE_EQ(h.generation2.scalars[11], 80.0);  // all three generations equal
  // LC runs keep no history.
  app.lciName = "star.lci";
  fakeProgram(prog / "Synthex", prog / "rec");
  p.XINCL = 70;
  recordStart(*planStandardRun(app, ProgramMode::LC), p, h);
  EXPECT_DOUBLE_EQ(h.generation1.scalars[11], 80.0);
}

TEST(RunPlans, EmptyInputAndMissingExecutable) {
  const fs::path prog = scratch("missing");
  AppState app;
  app.programFolder = prog.string();
  app.dciName = "star.dci";
  ParameterSet p;
  ParameterHistory h = ParameterHistory::fromParameterSet(p);
  p.XINCL = 70;
  // LC mode with only a DCI name: nothing at all.
  EXPECT_FALSE(planStandardRun(app, ProgramMode::LC));
  EXPECT_EQ(app.lcoName, "");
  EXPECT_FALSE(customRunDefault(app, ProgramMode::LC));
  // No executable: refused with the path, no name stored, no history shift.
  try {
    planStandardRun(app, ProgramMode::DC);
    FAIL();
  } catch (const RunRefused& e) {
    EXPECT_NE(std::string(e.what()).find((prog / "Solvex").string()), std::string::npos) << e.what();
  }
  EXPECT_EQ(app.dcoName, "");
  EXPECT_DOUBLE_EQ(h.generation1.scalars[11], 90.0);
  // A file that is there but cannot be executed is refused as well.
  spit(prog / "Solvex", "#!/bin/sh\n");
  fs::permissions(prog / "Solvex", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_THROW(planStandardRun(app, ProgramMode::DC), RunRefused);
  fs::create_directory(prog / "Synthex");  // a folder is not a program
  app.lciName = "m.lci";
  EXPECT_THROW(planStandardRun(app, ProgramMode::LC), RunRefused);
}

TEST(RunPlans, CustomRunNamesAndLocation) {
  const fs::path prog = scratch("custom");
  const fs::path bin = scratch("custom-bin");
  const fs::path cwd = scratch("custom-cwd");
  fakeProgram(bin / "Solvex", bin / "rec");
  AppState app = appAt(prog, "/data", " star.dci");
  EXPECT_EQ(customRunDefault(app, ProgramMode::DC), "star.dco");
  EXPECT_EQ(app.dcoName, "star.dco");
  const std::string path = "relative:" + bin.string();
  RunPlan plan = planCustomRun(app, ProgramMode::DC, "  fit.out", cwd.string(), path);
  EXPECT_EQ(app.dcoName, "fit.out");
  EXPECT_EQ(plan.scriptPath, (cwd / "fit.sh").string());
  EXPECT_EQ(plan.executable, (bin / "Solvex").string());
  EXPECT_EQ(plan.outputPath, "/data/fit.out");
  // The last four characters are cut whatever they are.
  plan = planCustomRun(app, ProgramMode::DC, "result", cwd.string(), path);
  EXPECT_EQ(plan.scriptPath, (cwd / "re.sh").string());
  // The program folder's copy wins over the search path.
  fakeProgram(prog / "Solvex", prog / "rec");
  plan = planCustomRun(app, ProgramMode::DC, "result", cwd.string(), path);
  EXPECT_EQ(plan.executable, (prog / "Solvex").string());
  // Too short for a script name.
  EXPECT_THROW(planCustomRun(app, ProgramMode::DC, "  .dco", cwd.string(), path), RunRefused);
  // Found nowhere: the message names the folder.
  fs::remove(prog / "Solvex");
  try {
    planCustomRun(app, ProgramMode::DC, "fit.out", cwd.string(), "/nonexistent");
    FAIL();
  } catch (const RunRefused& e) {
    EXPECT_NE(std::string(e.what()).find(prog.string()), std::string::npos);
  }
}

// An installed Tavrin started from a folder without its own Synthex/Solvex
// uses the installed ones; a program folder's copy wins.
TEST(InstalledPrograms, UsedOnlyWhenTheProgramFolderHasNone) {
  const fs::path prog = scratch("installed-prog");
  const fs::path bin = scratch("installed-bin");
  fakeProgram(bin / "Solvex", bin / "rec");
  AppState app = appAt(prog, "/data", "star.dci");
  ParameterSet p;

  // No fallback configured: refused as before.
  EXPECT_THROW(planStandardRun(app, ProgramMode::DC), RunRefused);
  app.installedProgramsFolder = bin.string();
  auto plan = planStandardRun(app, ProgramMode::DC);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->executable, (bin / "Solvex").string());
  // The script still goes to the program folder.
  EXPECT_EQ(fs::path(plan->scriptPath).parent_path(), prog);

  fakeProgram(prog / "Solvex", prog / "rec");
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

TEST(RunProcesses, HostileNamesRunExactlyTheIntendedProgram) {
  const std::string hostile = "x 'q\" ;$(touch PWNED) `touch PWNED2` $HOME\n-ü; touch PWNED3 #";
  const fs::path root = scratch("hostile");
  const fs::path prog = root / ("-prog " + hostile);
  const fs::path data = root / ("data " + hostile);
  fs::create_directories(prog);
  fs::create_directories(data);
  const fs::path record = root / "rec";
  fakeProgram(prog / "Solvex", record);
  const std::string dci = "-st'ar" + hostile + ".dci";
  spit(data / dci, "DCI CONTENT\n");
  AppState app = appAt(prog, data.string(), dci);
  ParameterSet p;
  auto plan = planStandardRun(app, ProgramMode::DC);
  ASSERT_TRUE(plan);
  const auto t0 = std::chrono::steady_clock::now();
  const long pid = startRun(*plan);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 1.0);
  RunStatus st = waitForRun(pid);
  EXPECT_EQ(st.state, RunStatus::Exited);
  EXPECT_EQ(st.code, 0);
  EXPECT_EQ(slurp(record.string() + ".argv0"), (prog / "Solvex").string());
  EXPECT_EQ(slurp(record.string() + ".argc"), "0");
  EXPECT_EQ(slurp(record.string() + ".stdin"), "DCI CONTENT\n");
  EXPECT_EQ(slurp(data / app.dcoName), "report line\n");
  for (const auto& e : fs::recursive_directory_iterator(root))
    EXPECT_NE(e.path().filename().string().rfind("PWNED", 0), 0u) << e.path();
  EXPECT_FALSE(fs::exists("PWNED"));
  EXPECT_FALSE(fs::exists(fs::path(TAVRIN_BINARY_DIR) / "PWNED"));

  // The custom dialect with a hostile output name, in a hostile current folder.
  const fs::path cwd = root / ("cwd " + hostile);
  fs::create_directories(cwd);
  RunPlan c = planCustomRun(app, ProgramMode::DC, "-o'ut;" + hostile + ".dco", cwd.string(), "");
  const long pid2 = startRun(c);
  EXPECT_EQ(waitForRun(pid2).code, 0);
  EXPECT_TRUE(fs::exists(c.scriptPath));
  EXPECT_EQ(slurp(data / ("-o'ut;" + hostile + ".dco")), "report line\n");
}

TEST(RunProcesses, ExitStatusSignalAndSession) {
  const fs::path prog = scratch("status");
  fakeProgram(prog / "Solvex", prog / "rec", "exit 3\n");
  spit(prog / "in.dci", "x\n");
  AppState app = appAt(prog, prog.string(), "in.dci");
  ParameterSet p;
  long pid = startRun(*planStandardRun(app, ProgramMode::DC));
  RunStatus st = waitForRun(pid);
  EXPECT_EQ(st.state, RunStatus::Exited);
  EXPECT_EQ(st.code, 3);
  EXPECT_EQ(runEndMessage(ProgramMode::DC, "in.dco", st, 0.0), "DC failed: in.dco (exit status 3)");

  // A missing input file: the shell cannot redirect, the run fails.
  app.dciName = "absent.dci";
  pid = startRun(*planStandardRun(app, ProgramMode::DC));
  st = waitForRun(pid);
  EXPECT_EQ(st.state, RunStatus::Exited);
  EXPECT_NE(st.code, 0);

  // A long run: its own session, no terminal, and it is not waited for.
  fakeProgram(prog / "Solvex", prog / "rec", "sleep 30\n");
  app.dciName = "in.dci";
  pid = startRun(*planStandardRun(app, ProgramMode::DC));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(pollRun(pid).state, RunStatus::Running);
  EXPECT_EQ(getsid(static_cast<pid_t>(pid)), static_cast<pid_t>(pid));
  ::kill(-static_cast<pid_t>(pid), SIGKILL);
  st = waitForRun(pid);
  EXPECT_EQ(st.state, RunStatus::Signalled);
  EXPECT_EQ(st.code, SIGKILL);
  EXPECT_EQ(runEndMessage(ProgramMode::DC, "in.dco", st, 1), "DC failed: in.dco (killed by signal 9)");
  EXPECT_EQ(pollRun(pid).state, RunStatus::Lost);
}

TEST(RunProcesses, EndMessages) {
  EXPECT_EQ(runEndMessage(ProgramMode::DC, "star.dco", {RunStatus::Exited, 0}, 2.44), "DC finished: star.dco (2.4 s)");
  EXPECT_EQ(runEndMessage(ProgramMode::LC, "m.lco", {RunStatus::Exited, 0}, 0.05), "LC finished: m.lco (0.1 s)");
  EXPECT_EQ(runEndMessage(ProgramMode::LC, "m.lco", {RunStatus::Exited, 127}, 0.0), "LC failed: m.lco (exit status 127)");
}

TEST(RunProcesses, ScriptCannotBeWritten) {
  const fs::path prog = scratch("nowrite");
  RunPlan plan;
  plan.scriptPath = (prog / "no-such-folder" / "RunDC.sh").string();
  plan.scriptText = "exit\n";
  EXPECT_THROW(startRun(plan), TavrinError);
}

TEST(RunProcesses, RunOutlivesTheProgramThatStartedIt) {
  const fs::path dir = scratch("outlive");
  const fs::path script = dir / "late.sh";
  const fs::path marker = dir / "marker";
  spit(script, "sleep 0.5\necho done > '" + marker.string() + "'\nexit\n");
  // A child stands in for Tavrin: it starts the run and exits at once.
  const pid_t starter = fork();
  ASSERT_GE(starter, 0);
  if (starter == 0) {
    try {
      startDetachedScript(script.string());
    } catch (...) {
      _exit(1);
    }
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(starter, &status, 0), starter);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(fs::exists(marker));
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::exists(marker) && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(slurp(marker), "done\n");
}
