#include "runs/runs.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <algorithm>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "output/report_text.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace tavrin::runs {

std::string executableName(ProgramMode mode, Dialect d) {
  std::string name = mode == ProgramMode::DC ? "Solvex" : "Synthex";
  if (d == Dialect::Batch) name += ".exe";
  return name;
}

const char* programLabel(ProgramMode mode) { return mode == ProgramMode::DC ? "DC" : "LC"; }

std::string leftTrimmed(const std::string& s) {
  size_t i = s.find_first_not_of(' ');
  return i == std::string::npos ? std::string() : s.substr(i);
}

std::string outputNameFor(const std::string& trimmedInputName, ProgramMode mode) {
  const size_t keep = trimmedInputName.size() >= 4 ? trimmedInputName.size() - 4 : 0;
  return trimmedInputName.substr(0, keep) + (mode == ProgramMode::DC ? ".dco" : ".lco");
}

std::string shellQuote(const std::string& s) {
  std::string q = "'";
  for (char ch : s) {
    if (ch == '\'')
      q += "'\\''";
    else
      q += ch;
  }
  q += '\'';
  return q;
}

std::string scriptText(Dialect d, const std::string& executable, const std::string& inputPath,
                       const std::string& outputPath) {
  if (d == Dialect::Batch) {
    // The command processor finds "Solvex" as "Solvex.exe" itself.
    std::string exe = executable;
    if (exe.size() >= 4 && exe.compare(exe.size() - 4, 4, ".exe") == 0) exe.resize(exe.size() - 4);
    return exe + " <" + inputPath + " >" + outputPath + " 2>" + standardErrorPath(outputPath) + "\r\nexit\r\n";
  }
  return shellQuote(executable) + " <" + shellQuote(inputPath) + " >" + shellQuote(outputPath) + " 2>" +
         shellQuote(standardErrorPath(outputPath)) + "\nexit\n";
}

namespace {

bool isExecutableFile(const std::string& path) {
#ifdef _WIN32
  return false;
#else
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
#endif
}

std::string inputNameOf(AppState& app, ProgramMode mode) {
  std::string& name = mode == ProgramMode::DC ? app.dciName : app.lciName;
  name = leftTrimmed(name);
  return name;
}

std::string& outputNameSlot(AppState& app, ProgramMode mode) {
  return mode == ProgramMode::DC ? app.dcoName : app.lcoName;
}

}  // namespace

void checkExecutable(const std::string& path, ProgramMode mode) {
  if (!isExecutableFile(path))
    throw RunRefused(std::string("Cannot run ") + programLabel(mode) + ": there is no executable program " + path +
                     ". Nothing was started.");
}

std::string locateCustomExecutable(const std::string& programFolder, ProgramMode mode, const std::string& searchPath) {
  const std::string name = executableName(mode, kNativeDialect);
  const std::string inFolder = joinPath(programFolder, name);
  if (isExecutableFile(inFolder)) return inFolder;
  size_t start = 0;
  for (;;) {
    size_t colon = searchPath.find(':', start);
    std::string dir = searchPath.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    // An absolute directory only: a relative PATH entry would depend on the
    // folder the script happens to run in.
    if (!dir.empty() && dir[0] == '/') {
      const std::string candidate = joinPath(dir, name);
      if (isExecutableFile(candidate)) return candidate;
    }
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  throw RunRefused(std::string("Cannot run ") + programLabel(mode) + ": no executable program " + name + " in " +
                   programFolder + " or on the search path (" + searchPath + "). Nothing was started.");
}

std::string standardExecutable(const AppState& app, ProgramMode mode) {
  std::string exe = joinPath(app.programFolder, executableName(mode, kNativeDialect));
  if (!isExecutableFile(exe) && !app.installedProgramsFolder.empty()) {
    const std::string installed = joinPath(app.installedProgramsFolder, executableName(mode, kNativeDialect));
    if (isExecutableFile(installed)) exe = installed;
  }
  checkExecutable(exe, mode);
  return exe;
}

std::optional<RunPlan> planStandardRun(AppState& app, ProgramMode mode) {
  const std::string input = inputNameOf(app, mode);
  if (input.empty()) return std::nullopt;
  RunPlan plan;
  plan.mode = mode;
  plan.executable = standardExecutable(app, mode);
  plan.outputName = outputNameFor(input, mode);
  outputNameSlot(app, mode) = plan.outputName;
  plan.inputPath = joinPath(app.dataFolder, input);
  plan.outputPath = joinPath(app.dataFolder, plan.outputName);
  const char* scriptName = kNativeDialect == Dialect::Batch ? (mode == ProgramMode::DC ? "RunDC.bat" : "RunLC.bat")
                                                            : (mode == ProgramMode::DC ? "RunDC.sh" : "RunLC.sh");
  plan.scriptPath = joinPath(app.programFolder, scriptName);
  plan.scriptText = scriptText(kNativeDialect, plan.executable, plan.inputPath, plan.outputPath);
  plan.shiftsHistory = mode == ProgramMode::DC;
  return plan;
}

void recordStart(const RunPlan& plan, const ParameterSet& p, ParameterHistory& history) {
  if (plan.shiftsHistory) history.shift(p);
}


std::optional<std::string> customRunDefault(AppState& app, ProgramMode mode) {
  const std::string input = inputNameOf(app, mode);
  if (input.empty()) return std::nullopt;
  std::string out = outputNameFor(input, mode);
  outputNameSlot(app, mode) = out;
  return out;
}

RunPlan planCustomRun(AppState& app, ProgramMode mode, const std::string& typedName, const std::string& currentFolder,
                      const std::string& searchPath) {
  RunPlan plan;
  plan.mode = mode;
  plan.outputName = leftTrimmed(typedName);
  if (plan.outputName.size() < 5)
    throw RunRefused("The output name \"" + plan.outputName +
                     "\" is too short: the script is named after it without its last four characters.");
  plan.executable = locateCustomExecutable(app.programFolder, mode, searchPath);
  const std::string input = inputNameOf(app, mode);
  if (input.empty())
    throw RunRefused(std::string("There is no ") + (mode == ProgramMode::DC ? "DCI" : "LCI") + " file to run.");
  outputNameSlot(app, mode) = plan.outputName;
  plan.inputPath = joinPath(app.dataFolder, input);
  plan.outputPath = joinPath(app.dataFolder, plan.outputName);
  const std::string base = plan.outputName.substr(0, plan.outputName.size() - 4);
  plan.scriptPath = joinPath(currentFolder, base + (kNativeDialect == Dialect::Batch ? ".bat" : ".sh"));
  plan.scriptText = scriptText(kNativeDialect, plan.executable, plan.inputPath, plan.outputPath);
  return plan;
}

long startRun(const RunPlan& plan) {
  writeFileAtomically(plan.scriptPath, plan.scriptText);
  return startDetachedScript(plan.scriptPath);
}

#ifndef _WIN32
long startDetachedScript(const std::string& scriptPath) {
  // Everything the child needs is prepared before fork: after it only
  // async-signal-safe calls are made.
  std::vector<char> path(scriptPath.begin(), scriptPath.end());
  path.push_back('\0');
  char sh[] = "sh";
  char* argv[] = {sh, path.data(), nullptr};
  const pid_t pid = fork();
  if (pid < 0) throw RunRefused(std::string("The run could not be started: ") + std::strerror(errno) + ".");
  if (pid == 0) {
    setsid();
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
    }
#ifdef SYS_close_range
    if (syscall(SYS_close_range, 3U, ~0U, 0U) != 0)
#endif
      for (int fd = 3; fd < 1024; ++fd) close(fd);
    signal(SIGPIPE, SIG_DFL);
    execv("/bin/sh", argv);
    _exit(127);
  }
  return pid;
}

RunStatus pollRun(long pid) {
  int status = 0;
  pid_t r;
  do {
    r = waitpid(static_cast<pid_t>(pid), &status, WNOHANG);
  } while (r < 0 && errno == EINTR);
  if (r == 0) return {RunStatus::Running, 0};
  if (r < 0) return {RunStatus::Lost, 0};
  if (WIFEXITED(status)) return {RunStatus::Exited, WEXITSTATUS(status)};
  if (WIFSIGNALED(status)) return {RunStatus::Signalled, WTERMSIG(status)};
  return {RunStatus::Running, 0};
}
#else
long startDetachedScript(const std::string&) { throw RunRefused("Runs are not supported on this platform."); }
RunStatus pollRun(long) { return {RunStatus::Lost, 0}; }
#endif

std::string runEndMessage(ProgramMode mode, const std::string& outputName, const RunStatus& status, double seconds) {
  const std::string head = std::string(programLabel(mode));
  switch (status.state) {
    case RunStatus::Exited:
      if (status.code == 0) {
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, seconds < 0 ? 0.0 : seconds, std::chars_format::fixed, 1);
        return head + " finished: " + outputName + " (" + std::string(buf, res.ptr) + " s)";
      }
      return head + " failed: " + outputName + " (exit status " + std::to_string(status.code) + ")";
    case RunStatus::Signalled:
      return head + " failed: " + outputName + " (killed by signal " + std::to_string(status.code) + ")";
    case RunStatus::Lost:
      return head + " ended: " + outputName + " (its exit status is unknown)";
    case RunStatus::Running:
      break;
  }
  return head + " running: " + outputName;
}

std::string standardErrorPath(const std::string& reportPath) { return reportPath + ".err"; }

std::string lastErrorLines(const std::string& reportPath, int count) {
  // Only the end matters, and a runaway program may have written a lot.
  std::ifstream in(standardErrorPath(reportPath), std::ios::binary | std::ios::ate);
  if (!in) return {};
  const std::streamoff size = in.tellg();
  const std::streamoff keep = std::min<std::streamoff>(size, 64 * 1024);
  std::string text(static_cast<size_t>(keep), '\0');
  in.seekg(size - keep);
  in.read(text.data(), keep);
  std::vector<std::string> kept;
  for (const std::string& l : report::splitLines(text))
    if (!report::trim(l).empty()) kept.push_back(report::trim(l));
  const size_t from = kept.size() > static_cast<size_t>(count) ? kept.size() - static_cast<size_t>(count) : 0;
  std::string out;
  for (size_t i = from; i < kept.size(); ++i) out += (out.empty() ? "" : "\n") + kept[i];
  return out;
}

}  // namespace tavrin::runs
