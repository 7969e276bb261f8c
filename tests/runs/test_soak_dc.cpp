// A shorter soak of the DC cycle (the full 1,000 cycles are bench_soak_dc):
// memory, open descriptors and child processes must not grow.
#include <gtest/gtest.h>

#include <filesystem>

#include "../../bench/soak_dc_cycle.h"
#include "test_files.h"

TEST(SoakDc, FiftyCyclesLeaveNoGrowth) {
  namespace fs = std::filesystem;
  const fs::path data = tavrin::testing_support::freshTestDir("soak");
  tavrin::soak::DcCycle cycle(std::string(TAVRIN_BINARY_DIR) + "/src/standins/Solvex", data.string(),
                              std::string(TAVRIN_SOURCE_DIR) + "/examples/example.dci");
  for (int i = 0; i < 3; ++i) ASSERT_NO_THROW(cycle.run());
  const long rss0 = tavrin::soak::residentKb();
  const int fd0 = tavrin::soak::openDescriptors();
  const int ch0 = tavrin::soak::childProcesses();
  for (int i = 0; i < 50; ++i) ASSERT_NO_THROW(cycle.run()) << "cycle " << i;
  EXPECT_EQ(tavrin::soak::openDescriptors(), fd0);
  EXPECT_EQ(tavrin::soak::childProcesses(), ch0);
  // Generous: the bound is 10 MB over 1,000 cycles. AddressSanitizer keeps
  // freed memory in quarantine, so its resident size says nothing of leaks
  // (LeakSanitizer checks those).
#if !defined(__SANITIZE_ADDRESS__)
  EXPECT_LT(tavrin::soak::residentKb() - rss0, 10 * 1024);
#else
  (void)rss0;
#endif
  // Only the DCI, its DCO, DC's standard error and the program folder are left in the data folder.
  EXPECT_LE(tavrin::testing_support::filesIn(data), 4u);
}
