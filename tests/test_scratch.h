// Scratch folders for tests that need files on disk. ctest runs tests in
// parallel processes, so every test gets a folder of its own, named after it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tavrin::testing_support {

// <build>/test-tmp/<area>/<Suite.Test>/<name>, emptied and created afresh.
inline std::filesystem::path freshTestDir(const std::string& area, const std::string& name = "") {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string test = info ? std::string(info->test_suite_name()) + "." + info->name() : "outside-tests";
  std::filesystem::path d = std::filesystem::path(TAVRIN_BINARY_DIR) / "test-tmp" / area / test;
  if (!name.empty()) d /= name;
  std::filesystem::remove_all(d);
  std::filesystem::create_directories(d);
  return d;
}

}  // namespace tavrin::testing_support
