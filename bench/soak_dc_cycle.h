#pragma once
// The DC cycle repeated in one process: save the DCI, run the stand-in DC
// through a started script, read its DCO and apply a correction. Shared by
// the soak benchmark and its shorter test.

#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "model/parameter_history.h"
#include "output/corrections.h"
#include "output/dco_reader.h"
#include "runs/runs.h"
#include "shell/app_state.h"

namespace tavrin::soak {

// Resident memory in kB.
inline long residentKb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Entries of a /proc folder (open descriptors of this process).
inline int openDescriptors() {
  int n = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (const dirent* e = ::readdir(d))
      if (e->d_name[0] != '.') ++n;
    ::closedir(d);
  }
  return n - 1;  // the folder's own descriptor
}

// Processes whose parent is this one.
inline int childProcesses() {
  int n = 0;
  const std::string self = std::to_string(::getpid());
  if (DIR* d = ::opendir("/proc")) {
    while (const dirent* e = ::readdir(d)) {
      if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
      std::ifstream in(std::string("/proc/") + e->d_name + "/stat");
      std::string stat;
      std::getline(in, stat);
      const auto close = stat.rfind(')');
      if (close == std::string::npos) continue;
      char state = 0;
      long ppid = 0;
      if (std::sscanf(stat.c_str() + close + 1, " %c %ld", &state, &ppid) == 2 && std::to_string(ppid) == self) ++n;
    }
    ::closedir(d);
  }
  return n;
}

class DcCycle {
 public:
  // The run script is written beside the program, so each cycle gets a
  // program folder of its own inside dataFolder with a copy of Solvex.
  DcCycle(const std::string& solvex, const std::string& dataFolder, const std::string& exampleDci) {
    const std::filesystem::path prog = std::filesystem::path(dataFolder) / "program";
    std::filesystem::create_directories(prog);
    // A copy: a rebuild of the program must not pull it away mid-soak.
    std::filesystem::copy_file(solvex, prog / "Solvex", std::filesystem::copy_options::overwrite_existing);
    app_.programFolder = prog.string();
    app_.dataFolder = dataFolder;
    app_.dciName = "soak.dci";
    params_ = readDci(exampleDci, ParameterSet{}, probeDci(exampleDci)).params;
    history_ = ParameterHistory::fromParameterSet(params_);
  }

  // One cycle; throws std::runtime_error naming the step that failed.
  void run() {
    const SaveOutcome saved = saveDci(params_, joinPath(app_.dataFolder, app_.dciName));
    if (!saved.written) throw std::runtime_error("DCI refused: " + saved.refusal);
    const auto plan = runs::planStandardRun(app_, ProgramMode::DC);
    if (!plan) throw std::runtime_error("no run planned");
    const long pid = runs::startRun(*plan);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    runs::RunStatus st;
    while ((st = runs::pollRun(pid)).state == runs::RunStatus::Running) {
      if (std::chrono::steady_clock::now() > end) {
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
        throw std::runtime_error("DC run did not end");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (st.state != runs::RunStatus::Exited || st.code != 0) throw std::runtime_error("DC run failed");
    const DcoLoadOutcome out = loadDco(app_, params_, *results_, false);
    if (!out.ok) throw std::runtime_error("DCO not read: " + out.message);
    UpdateDone done{};
    (void)applyCorrection(params_, *results_, 1, done);
  }

  const ParameterSet& params() const { return params_; }

 private:
  AppState app_;
  ParameterSet params_;
  ParameterHistory history_;
  std::unique_ptr<DcResults> results_ = std::make_unique<DcResults>();
};

}  // namespace tavrin::soak
