// Faults while saving: every writer (LCI, DCI, run script, contour data file,
// settings) meets a failing step of the atomic write, a full disk, a folder
// that is a file or has gone, and a process killed between write and rename.
// The earlier file must stay byte for byte, the failure must carry the
// table's message, and no temporary file may stay behind.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "contours/contour_file.h"
#include "model/dci_writer.h"
#include "model/lci_writer.h"
#include "runs/runs.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"
#include "shell/settings.h"
#include "test_files.h"

namespace fs = std::filesystem;
using namespace tavrin;

namespace {

using testing_support::TempDir;
using testing_support::slurp;
using testing_support::spit;

using Names = std::set<std::string>;
Names namesIn(const fs::path& dir) {
  Names names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

constexpr const char* kPrevious = "previous contents\r\nkept byte for byte\r\n";

// One writer: a file name and a call that writes it into a folder.
struct Writer {
  const char* label;
  std::string fileName;
  std::function<void(const fs::path& folder)> save;
};

// The start-up set in detached mode, saved as an LCI or a DCI by its name.
void saveDetached(const fs::path& file) {
  ParameterSet p;
  p.MODE = 2;
  ASSERT_TRUE((file.extension() == ".lci" ? saveLci(p, file.string()) : saveDci(p, file.string())).written);
}

contours::ContourGrid smallGrid() {
  contours::ContourGrid g;
  g.gridDef = contours::GridDef{1, 2, 0.2, 0.4, 2, 80.5, 86, 3, 2};
  g.resize();
  for (size_t k = 0; k < g.wres.size(); ++k) g.wres[k] = 100.0 + static_cast<double>(k);
  return g;
}

std::vector<Writer> allWriters() {
  return {{"LCI", "star.lci", [](const fs::path& d) { saveDetached(d / "star.lci"); }},
          {"DCI", "star.dci", [](const fs::path& d) { saveDetached(d / "star.dci"); }},
          // A run script as startRun writes it, without starting it.
          {"script", "star.sh", [](const fs::path& d) {
             writeFileAtomically((d / "star.sh").string(), runs::scriptText(runs::Dialect::Posix, "/nonexistent/Solvex",
                                                                             (d / "star.dci").string(), (d / "star.dco").string()));
           }},
          {"contour", "Contour.dat", [](const fs::path& d) { contours::writeContourFile((d / "Contour.dat").string(), smallGrid()); }},
          {"settings", kSettingsFileName, [](const fs::path& d) { writeSettings(d.string(), Settings{.dataFolder = "/home/user/stars"}); }}};
}

// Saving again with no fault replaces the file and leaves nothing else.
void expectReplaced(const Writer& w, const fs::path& dir) {
  w.save(dir);
  EXPECT_NE(slurp(dir / w.fileName), kPrevious) << w.label;
  EXPECT_EQ(namesIn(dir), Names{w.fileName}) << w.label;
}

// Runs the writer expecting a TavrinError; returns its number (0: none thrown).
int failureOf(const Writer& w, const fs::path& folder) {
  try {
    w.save(folder);
  } catch (const TavrinError& e) {
    EXPECT_STREQ(e.what(), errorMessage(e.number()).c_str()) << w.label;
    EXPECT_FALSE(errorMessage(e.number()).empty()) << w.label;
    return e.number();
  }
  return 0;
}

const char* g_failStep = nullptr;
int g_failErrno = 0;
int failingHook(const char* step) { return std::string(step) == g_failStep ? g_failErrno : 0; }

struct HookGuard {
  ~HookGuard() { detail::setAtomicWriteHook(nullptr); }
};

}  // namespace

TEST(FaultInjection, EveryFailingStepAndBadFolderOfEveryWriterKeepsTheOldFile) {
  HookGuard guard;
  const struct {
    int err;
    int number;
  } faults[] = {{ENOSPC, kErrDiskFull}, {EACCES, kErrPermissionDenied}, {EIO, kErrDeviceIO}, {ENOENT, kErrPathNotFound}};
  for (const Writer& w : allWriters()) {
    for (const char* step : {"create", "write", "sync", "close", "rename"})
      for (const auto& f : faults) {
        TempDir dir;
        spit(dir.path() / w.fileName, kPrevious);
        g_failStep = step;
        g_failErrno = f.err;
        detail::setAtomicWriteHook(&failingHook);
        // ENOENT with the folder still there is a missing file, not a path.
        EXPECT_EQ(failureOf(w, dir.path()), f.err == ENOENT ? kErrFileNotFound : f.number)
            << w.label << " at " << step;
        detail::setAtomicWriteHook(nullptr);
        EXPECT_EQ(slurp(dir.path() / w.fileName), kPrevious) << w.label << " at " << step;
        EXPECT_EQ(namesIn(dir.path()), Names{w.fileName}) << w.label << " at " << step;
      }
    // With no fault the same writer replaces the file.
    TempDir dir;
    spit(dir.path() / w.fileName, kPrevious);
    expectReplaced(w, dir.path());
    // A folder that is a file, or has gone: path not found.
    const fs::path notAFolder = dir.path() / "plain", gone = dir.path() / "gone";
    spit(notAFolder, kPrevious);
    EXPECT_EQ(failureOf(w, notAFolder), kErrPathNotFound) << w.label;
    EXPECT_EQ(slurp(notAFolder), kPrevious);
    fs::create_directories(gone);
    fs::remove(gone);
    EXPECT_EQ(failureOf(w, gone), kErrPathNotFound) << w.label;
    fs::remove(notAFolder);
    EXPECT_EQ(namesIn(dir.path()), Names{w.fileName}) << w.label;
    // A read-only folder (root ignores folder modes; the injected EACCES covers it then).
    if (::geteuid() == 0) continue;
    spit(dir.path() / w.fileName, kPrevious);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(failureOf(w, dir.path()), kErrPermissionDenied) << w.label;
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(slurp(dir.path() / w.fileName), kPrevious);
    EXPECT_EQ(namesIn(dir.path()), Names{w.fileName});
  }
}

// A real full disk: a 64 KB memory file system, which only root may mount.
TEST(FaultInjection, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
  TempDir dir;
  const fs::path mnt = dir.path() / "small";
  fs::create_directories(mnt);
  if (::geteuid() != 0 || ::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a small tmpfs here; the injected ENOSPC covers this";
  struct Unmount {
    std::string path;
    ~Unmount() { ::umount(path.c_str()); }
  } unmount{mnt.string()};

  for (const Writer& w : allWriters()) {
    spit(mnt / w.fileName, kPrevious);
    // Fill the disk up to the last few hundred bytes.
    {
      std::ofstream filler(mnt / "filler", std::ios::binary);
      const std::string block(4096, 'x');
      while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
      }
    }
    EXPECT_EQ(failureOf(w, mnt), kErrDiskFull) << w.label;
    EXPECT_EQ(slurp(mnt / w.fileName), kPrevious) << w.label;
    EXPECT_EQ(namesIn(mnt), (Names{"filler", w.fileName})) << w.label;
    fs::remove(mnt / "filler");
    fs::remove(mnt / w.fileName);
  }
}

// Killed between writing the temporary file and renaming it: the target must
// be untouched. The dead process cannot remove its hidden temporary; the next
// save into that folder does.
TEST(FaultInjection, KilledBeforeTheRenameLeavesTheOldFile) {
  for (const Writer& w : allWriters()) {
    TempDir dir;
    spit(dir.path() / w.fileName, kPrevious);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      detail::setAtomicWriteHook([](const char* step) {
        if (std::string(step) == "rename") ::raise(SIGKILL);
        return 0;
      });
      try {
        w.save(dir.path());
      } catch (...) {
      }
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << w.label;
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_EQ(slurp(dir.path() / w.fileName), kPrevious) << w.label;
    const std::string leftover = ".tavrin-" + std::to_string(pid) + "-";
    const Names names = namesIn(dir.path());
    ASSERT_EQ(names.size(), 2u) << w.label;
    const std::string& temporary = *names.begin();
    EXPECT_EQ(temporary.rfind(leftover, 0), 0u) << w.label << ": " << temporary;
    EXPECT_EQ(temporary.size(), leftover.size() + 6) << temporary;
    EXPECT_EQ(*names.rbegin(), w.fileName);
    expectReplaced(w, dir.path());
  }
}

// The process id of a child that has ended and been reaped: no process has it
// (until the system hands it out again, which takes a full turn of the ids).
pid_t endedProcessId() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return pid;
}

// Only files named exactly like a temporary of an ended process go; those of
// live processes (this one, a running child) and every near miss stay.
TEST(FaultInjection, SaveRemovesOnlyTheTemporariesOfEndedProcesses) {
  TempDir dir;
  const std::string dead = std::to_string(endedProcessId());
  const pid_t sleeper = ::fork();
  ASSERT_GE(sleeper, 0);
  if (sleeper == 0) {
    ::pause();
    ::_exit(0);
  }
  Names kept;
  for (auto row : testing_support::tableRows(testing_support::goldenPath("shell", "temporaries.tsv"))) {
    for (const auto& [tag, id] : {std::pair{"DEAD", dead}, {"SELF", std::to_string(::getpid())}, {"CHILD", std::to_string(sleeper)}})
      if (const size_t at = row[0].find(tag); at != std::string::npos) row[0].replace(at, std::string(tag).size(), id);
    spit(dir.path() / row[0], row[1] == "kept" ? "keep" : "left over");
    if (row[1] == "kept") kept.insert(row[0]);
  }
  // A folder with a temporary's name is not a temporary.
  const std::string folderName = ".tavrin-" + dead + "-Folder";
  fs::create_directory(dir.path() / folderName);
  kept.insert(folderName);

  writeFileAtomically((dir.path() / "star.lci").string(), "new");

  ::kill(sleeper, SIGKILL);
  ::waitpid(sleeper, nullptr, 0);
  EXPECT_EQ(namesIn(dir.path()), kept);
  EXPECT_EQ(slurp(dir.path() / "star.lci"), "new");
  for (const std::string& n : kept)
    if (n != "star.lci" && n != folderName) { EXPECT_EQ(slurp(dir.path() / n), "keep") << n; }
}

