#pragma once
// Running LC and DC: output-name derivation, the script that starts the
// executable with the input on standard input and the report on standard
// output, locating and checking the executable, and starting the script
// detached so that Tavrin returns at once and the run outlives it.

#include <optional>
#include <stdexcept>
#include <string>

#include "model/parameter_history.h"
#include "model/parameter_set.h"
#include "shell/app_state.h"

namespace tavrin::runs {

// Windows batch files (CR LF, backslash paths) or POSIX sh scripts (LF,
// single-quoted paths).
enum class Dialect { Batch, Posix };
#ifdef _WIN32
inline constexpr Dialect kNativeDialect = Dialect::Batch;
#else
inline constexpr Dialect kNativeDialect = Dialect::Posix;
#endif

// "Synthex"/"Solvex" (with ".exe" for the batch dialect).
std::string executableName(ProgramMode mode, Dialect d = kNativeDialect);
// "LC" or "DC".
const char* programLabel(ProgramMode mode);

// Input name without leading blanks; the output name is that without its
// last four characters plus ".lco" (LC) or ".dco" (DC).
std::string outputNameFor(const std::string& trimmedInputName, ProgramMode mode);
std::string leftTrimmed(const std::string& s);

// A text in single quotes for sh, every embedded ' written as '\''.
std::string shellQuote(const std::string& s);

// Two lines: the command line, then "exit". The program's standard error
// goes beside the report (report name + ".err"), so a failed run can say what
// the program said. Batch: folder-joined text as given, CR LF line ends.
// Posix: each path single-quoted, LF line ends.
std::string scriptText(Dialect d, const std::string& executable, const std::string& inputPath,
                       const std::string& outputPath);

// A run refused before anything was written or started; what() names the
// path that was looked in.
class RunRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Everything a run writes and starts.
struct RunPlan {
  ProgramMode mode = ProgramMode::LC;
  std::string executable;   // full path of Synthex/Solvex
  std::string inputPath, outputPath, outputName;
  std::string scriptPath;   // full path
  std::string scriptText;
  bool shiftsHistory = false;  // a standard DC run, once it has started
};

// Throws RunRefused unless path is an executable regular file.
void checkExecutable(const std::string& path, ProgramMode mode);
// Custom runs: the program folder's copy, otherwise the first on PATH.
// Throws RunRefused naming the folder and the search path when neither exists.
std::string locateCustomExecutable(const std::string& programFolder, ProgramMode mode,
                                   const std::string& searchPath);

// The executable a standard run starts: the program folder's, else the
// installed programs' copy. Throws RunRefused when neither is executable.
std::string standardExecutable(const AppState& app, ProgramMode mode);

// Standard run. Returns nullopt (and changes nothing) when the mode's input
// name is empty. Otherwise stores the trimmed input name, checks the
// executable (RunRefused: nothing else changes), stores the output name and
// returns the plan (the script is not yet written).
std::optional<RunPlan> planStandardRun(AppState& app, ProgramMode mode);
// After the plan's run has really started: a standard DC run shifts the
// history, so that a start that failed leaves revert where it was.
void recordStart(const RunPlan& plan, const ParameterSet& p, ParameterHistory& history);

// Output name offered by the custom window: derived like a standard run's
// and stored; nullopt when the mode's input name is empty.
std::optional<std::string> customRunDefault(AppState& app, ProgramMode mode);

// Custom run with the name typed by the user. The script lies in
// currentFolder, named after the output name without its last four
// characters. Throws RunRefused for a missing executable, and for a name
// that leaves no script name (shorter than five characters after trimming).
RunPlan planCustomRun(AppState& app, ProgramMode mode, const std::string& typedName,
                      const std::string& currentFolder, const std::string& searchPath);

// Writes the plan's script (atomically) and starts it. Returns the pid.
// Throws TavrinError when the script cannot be written, RunRefused when the
// process cannot be started.
long startRun(const RunPlan& plan);

// Starts `/bin/sh script` in a new session, without a terminal, with
// standard input, output and error on /dev/null. Returns the pid; the caller
// reaps it with pollRun.
long startDetachedScript(const std::string& scriptPath);

struct RunStatus {
  enum State { Running, Exited, Signalled, Lost } state = Running;
  int code = 0;  // exit status or signal number
};
// Non-blocking look at a started run (waitpid WNOHANG); reaps it when ended.
RunStatus pollRun(long pid);

// Status-bar text for a run that ended: "DC finished: star.dco (2.4 s)",
// "DC failed: star.dco (exit status 127)", "DC failed: star.dco (signal 9)".
std::string runEndMessage(ProgramMode mode, const std::string& outputName, const RunStatus& status,
                          double seconds);

// Where a run keeps what its program wrote on standard error: beside the report.
std::string standardErrorPath(const std::string& reportPath);
// The last lines (at most `count`, blank ones skipped) of that file; empty when there is none.
std::string lastErrorLines(const std::string& reportPath, int count = 3);

}  // namespace tavrin::runs
