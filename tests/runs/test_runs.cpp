#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "model/parameter_history.h"
#include "shell/errors.h"
#include "run_test_support.h"

using namespace tavrin::testing_support;

using namespace tavrin;
using namespace tavrin::runs;
namespace fs = std::filesystem;

namespace {

// A stand-in executable that records what it was started as and what it read.
void fakeProgram(const fs::path& path, const fs::path& record, const std::string& body = "") {
  writeProgram(path, "printf '%s' \"$0\" > '" + record.string() + ".argv0'\nprintf '%s' \"$#\" > '" + record.string() +
                         ".argc'\ncat > '" + record.string() + ".stdin'\necho 'report line'\n" + body);
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

namespace {

// A plan or its refusal as text, the scratch folders shown as ROOT.
template <class F>
std::string planText(F&& make) {
  std::string s;
  try {
    const std::optional<RunPlan> p = make();
    s = !p ? "no plan\n"
           : "exe " + p->executable + "\nscript " + p->scriptPath + "\noutput " + p->outputPath + " shifts " +
                 std::to_string(p->shiftsHistory) + "\n" + p->scriptText;
  } catch (const RunRefused& e) {
    s = std::string("refused: ") + e.what() + "\n";
  }
  const std::string root = (fs::path(TAVRIN_BINARY_DIR) / "test-tmp" / "runs").string();
  for (size_t at; (at = s.find(root)) != std::string::npos;) s.replace(at, root.size(), "ROOT");
  return s;
}

std::string names(const AppState& a) {
  return "names [" + a.lciName + "] [" + a.lcoName + "] [" + a.dciName + "] [" + a.dcoName + "]\n";
}

}  // namespace

// Standard and custom plans, refusals, and installed programs used only when
// the program folder has none; what each plan stored in the names after it;
// which plans shift the parameter history.
TEST(RunPlans, StandardCustomAndInstalledPrograms) {
  std::string t;
  const auto scratch = [](const char* name) { return freshTestDir("runs", name); };
  const auto standard = [&](AppState& app, ProgramMode mode) {
    t += planText([&] { return planStandardRun(app, mode); });
    t += names(app);
  };
  const auto custom = [&](AppState& app, const char* name, const fs::path& cwd, const std::string& path) {
    t += planText([&] { return std::optional(planCustomRun(app, ProgramMode::DC, name, cwd.string(), path)); });
    t += names(app);
  };
  const fs::path prog = scratch("std");
  fakeProgram(prog / "Synthex", prog / "rec");
  fakeProgram(prog / "Solvex", prog / "rec");
  AppState app = appAt(prog, "/data", "star.dci");
  app.lciName = "  model.lci";
  standard(app, ProgramMode::LC);
  standard(app, ProgramMode::DC);
  t += "-- missing programs\n";
  const fs::path missing = scratch("missing");
  AppState bare = appAt(missing, "", "star.dci");
  // LC mode with only a DCI name: nothing at all.
  standard(bare, ProgramMode::LC);
  t += "custom default " + customRunDefault(bare, ProgramMode::LC).value_or("none") + "\n";
  // No executable, one that cannot be executed, a folder: refused, no name stored.
  standard(bare, ProgramMode::DC);
  spit(missing / "Solvex", "#!/bin/sh\n");
  fs::permissions(missing / "Solvex", fs::perms::owner_read | fs::perms::owner_write);
  standard(bare, ProgramMode::DC);
  fs::create_directory(missing / "Synthex");
  bare.lciName = "m.lci";
  standard(bare, ProgramMode::LC);
  t += "-- custom\n";
  const fs::path cprog = scratch("custom"), bin = scratch("custom-bin"), cwd = scratch("custom-cwd");
  fakeProgram(bin / "Solvex", bin / "rec");
  AppState c = appAt(cprog, "/data", " star.dci");
  t += "custom default " + customRunDefault(c, ProgramMode::DC).value_or("none") + "\n";
  t += names(c);
  const std::string path = "relative:" + bin.string();
  custom(c, "  fit.out", cwd, path);
  custom(c, "result", cwd, path);  // the last four characters are cut whatever they are
  fakeProgram(cprog / "Solvex", cprog / "rec");
  custom(c, "result", cwd, path);  // the program folder's copy wins over the search path
  custom(c, "  .dco", cwd, path);  // too short for a script name
  fs::remove(cprog / "Solvex");
  custom(c, "fit.out", cwd, "/nonexistent");  // found nowhere: the message names the folder
  t += "-- installed\n";
  const fs::path iprog = scratch("installed-prog"), ibin = scratch("installed-bin");
  fakeProgram(ibin / "Solvex", ibin / "rec");
  AppState i = appAt(iprog, "/data", "star.dci");
  standard(i, ProgramMode::DC);  // no fallback configured
  i.installedProgramsFolder = ibin.string();
  standard(i, ProgramMode::DC);  // the installed one; the script still in the program folder
  fakeProgram(iprog / "Solvex", iprog / "rec");
  standard(i, ProgramMode::DC);
  i.lciName = "star.lci";
  standard(i, ProgramMode::LC);  // neither has Synthex: refused, naming the program folder's
  fs::create_directory(ibin / "Synthex");
  standard(i, ProgramMode::LC);  // a folder of that name in the fallback is not taken
  expectGolden("runs", "plans.txt", t);
  // Only a started standard DC run shifts the history; LC runs keep none.
  ParameterSet p;
  ParameterHistory h = ParameterHistory::fromParameterSet(p);
  p.XINCL = 80;
  const RunPlan plan = planStandardRun(app, ProgramMode::DC).value();
  EXPECT_DOUBLE_EQ(h.generation1.scalars[11], 90.0);
  recordStart(plan, p, h);
  EXPECT_DOUBLE_EQ(h.generation1.scalars[11], 80.0);
  EXPECT_DOUBLE_EQ(h.generation2.scalars[11], 90.0);
  recordStart(plan, p, h);
  EXPECT_DOUBLE_EQ(h.generation2.scalars[11], 80.0);  // all three generations equal
  p.XINCL = 70;
  recordStart(planStandardRun(app, ProgramMode::LC).value(), p, h);
  EXPECT_DOUBLE_EQ(h.generation1.scalars[11], 80.0);
}

TEST(RunProcesses, HostileNamesRunExactlyTheIntendedProgram) {
  const std::string hostile = "x 'q\" ;$(touch PWNED) `touch PWNED2` $HOME\n-ü; touch PWNED3 #";
  const fs::path root = freshTestDir("runs", "hostile");
  const fs::path prog = root / ("-prog " + hostile);
  const fs::path data = root / ("data " + hostile);
  fs::create_directories(data);
  const fs::path record = root / "rec";
  fakeProgram(prog / "Solvex", record);
  const std::string dci = "-st'ar" + hostile + ".dci";
  spit(data / dci, "DCI CONTENT\n");
  AppState app = appAt(prog, data.string(), dci);
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

TEST(RunProcesses, ExitStatusSignalSessionAndEndMessages) {
  const fs::path prog = freshTestDir("runs", "status");
  fakeProgram(prog / "Solvex", prog / "rec", "exit 3\n");
  spit(prog / "in.dci", "x\n");
  AppState app = appAt(prog, prog.string(), "in.dci");
  long pid = startRun(*planStandardRun(app, ProgramMode::DC));
  // The message tells every state and code apart.
  RunStatus st = waitForRun(pid);
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
  EXPECT_EQ(runEndMessage(ProgramMode::DC, "in.dco", st, 1), "DC failed: in.dco (killed by signal 9)");
  EXPECT_EQ(pollRun(pid).state, RunStatus::Lost);
  EXPECT_EQ(runEndMessage(ProgramMode::DC, "star.dco", {RunStatus::Exited, 0}, 2.44), "DC finished: star.dco (2.4 s)");
  EXPECT_EQ(runEndMessage(ProgramMode::LC, "m.lco", {RunStatus::Exited, 0}, 0.05), "LC finished: m.lco (0.1 s)");
  EXPECT_EQ(runEndMessage(ProgramMode::LC, "m.lco", {RunStatus::Exited, 127}, 0.0), "LC failed: m.lco (exit status 127)");
  // A script that cannot be written.
  RunPlan unwritable = planStandardRun(app, ProgramMode::DC).value();
  unwritable.scriptPath = (prog / "no-such-folder" / "RunDC.sh").string();
  EXPECT_THROW(startRun(unwritable), TavrinError);
}

TEST(RunProcesses, RunOutlivesTheProgramThatStartedIt) {
  const fs::path dir = freshTestDir("runs", "outlive");
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
