// Waiting for a started run in tests, with a deadline so a stuck program
// fails the test instead of hanging it.
#pragma once

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "../output/report_builders.h"
#include "model/input_reader.h"
#include "runs/runs.h"
#include "test_files.h"

namespace tavrin::testing_support {

inline runs::RunStatus waitForRun(long pid, double seconds = 30) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    runs::RunStatus s = runs::pollRun(pid);
    if (s.state != runs::RunStatus::Running) return s;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(-static_cast<pid_t>(pid), SIGKILL);
  return runs::pollRun(pid);
}

inline ParameterSet exampleSet() {
  const std::string path = std::string(TAVRIN_SOURCE_DIR) + "/examples/example.dci";
  return readDci(path, ParameterSet{}, probeDci(path)).params;
}

// A number as DC prints it.
inline std::string dcNumber(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.10E", v);
  return buf;
}

// A scripted report's residual sums (for the input values, and 0.9 of it for
// the predicted), or DC's error line in their place.
inline void scriptedSums(testreports::DcoSpec& s, double sum, bool errorLine) {
  s.sums = "   " + dcNumber(sum);
  s.sums.resize(30, ' ');
  s.sums += dcNumber(sum * 0.9);
  if (!errorLine) return;
  s.marker = s.sumsPrinted = false;
  s.trailer = {"*ERR* solution failed: matrix singular"};
}

// A shell program with the given body, runnable by its owner; its folder is made.
inline std::string writeProgram(const std::filesystem::path& path, const std::string& body) {
  std::filesystem::create_directories(path.parent_path());
  spit(path, "#!/bin/sh\n" + body);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path.string();
}

}  // namespace tavrin::testing_support
