// A DC program that leaves a child behind (a wrapper script, say): when the
// run times out, the whole of it must stop, or the child would go on writing
// the report the next run is to read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "contours/contour_engine.h"
#include "test_files.h"

using namespace tavrin::contours;
namespace fs = std::filesystem;

TEST(ContourProcessDriver, TimeoutStopsChildrenOfTheProgramToo) {
  const fs::path dir = tavrin::testing_support::freshTestDir("contour-runaway");
  const fs::path exe = dir / "dc";
  std::ofstream(exe) << "#!/bin/sh\n"
                        "(while :; do echo more >> '" << (dir / "marker").string() << "'; sleep 0.05; done) &\n"
                        "echo $! > '" << (dir / "child.pid").string() << "'\n"
                        "wait\n";
  fs::permissions(exe, fs::perms::owner_all);
  ProcessDcDriver d(exe.string(), dir.string(), 0.5);
  EXPECT_EQ(d.run("x").status, DcRun::TimedOut);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto size1 = fs::file_size(dir / "marker");
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  const auto size2 = fs::file_size(dir / "marker");
  EXPECT_EQ(size1, size2) << "a child of the timed-out program is still running";
  long child = 0;
  std::ifstream(dir / "child.pid") >> child;
  // A killed child nobody has reaped yet is a zombie, not a running process.
  auto running = [](long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    const auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
  };
  if (child > 0 && running(child)) {
    ADD_FAILURE() << "child " << child << " outlived the timeout";
    ::kill(static_cast<pid_t>(child), SIGKILL);
  }
}
