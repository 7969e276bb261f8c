#include "shell/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include "error_of.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using testing_support::errorOf;
namespace fs = std::filesystem;

namespace {

class AtomicFile : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return (tmp_ / name).string(); }
  std::set<std::string> names() const {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir_)) out.insert(e.path().filename().string());
    return out;
  }
  testing_support::TempDir tmp_{"tavrin-atomic"};
  const fs::path dir_ = tmp_.path();
};

}  // namespace

TEST_F(AtomicFile, WritesAndReplacesExactBytes) {
  const std::string target = path("model.lci");
  for (const std::string& text : {std::string("first version, longer than the second\r\n"), std::string("a\0b\r\nc\n\xff", 8), std::string()}) {
    writeFileAtomically(target, text);
    EXPECT_EQ(readWholeFile(target), text);
  }
  EXPECT_EQ(names(), std::set<std::string>{"model.lci"});
}

TEST_F(AtomicFile, ReplacementKeepsTheFileMode) {
  const std::string target = path("model.dci");
  testing_support::spit(target, "old");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  writeFileAtomically(target, "new");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A new file gets the ordinary mode, not the private mode of a temporary file.
  const std::string fresh = path("fresh.dci");
  writeFileAtomically(fresh, "x");
  ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & 0044, 0u);
}

// Refused writes: the error number, and the folder as it was.
TEST_F(AtomicFile, RefusedWritesLeaveTheFolderAlone) {
  const std::string near(250, 'n');
  writeFileAtomically(path(near), "x");
  EXPECT_EQ(readWholeFile(path(near)), "x");
  testing_support::spit(path("plain"), "keep");
  fs::create_directory(path("sub"));
  for (const auto& [target, number] : {std::pair{path(std::string(300, 'n')), 64}, {path("nofolder/model.lci"), 76},
                                       {path("plain/model.lci"), 76}, {path("sub"), 75}, {std::string(), 64}})
    EXPECT_EQ(errorOf([&] { writeFileAtomically(target, "x"); }), number) << target;
  EXPECT_EQ(readWholeFile(path("plain")), "keep");
  EXPECT_TRUE(fs::is_directory(path("sub")));
  EXPECT_EQ(names(), (std::set<std::string>{near, "plain", "sub"}));
}

TEST_F(AtomicFile, FailedWriteLeavesOldFileIdentical) {
  // A file-size limit makes the write fail half way, as a full disk would.
  const std::string target = path("model.lci");
  const std::string old = "old content\r\nline 2\r\n";
  testing_support::spit(target, old);

  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const int err = errorOf([&] { writeFileAtomically(target, std::string(5000, 'x')); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_NE(err, 0);
  EXPECT_FALSE(errorMessage(err).empty());
  EXPECT_EQ(readWholeFile(target), old);
  EXPECT_EQ(names(), std::set<std::string>{"model.lci"});
}

TEST_F(AtomicFile, ReadFailures) {
  testing_support::spit(path("plain"), "x");
  for (const auto& [target, number] : {std::pair{path("missing.lci"), 53}, {path("nofolder/missing.lci"), 76},
                                       {path("plain/inner.lci"), 76}, {dir_.string(), 75}, {std::string(), 64}})
    EXPECT_EQ(errorOf([&] { readWholeFile(target); }), number) << target;
}

TEST_F(AtomicFile, RefusesHugeFiles) {
  // Sparse: costs no disk space.
  const std::string big = path("big.dat");
  std::ofstream(big, std::ios::binary).close();
  fs::resize_file(big, 256ull * 1024 * 1024 + 1);
  EXPECT_EQ(errorOf([&] { readWholeFile(big); }), 7);
  fs::resize_file(big, 3);
  EXPECT_EQ(readWholeFile(big), std::string(3, '\0'));
}
