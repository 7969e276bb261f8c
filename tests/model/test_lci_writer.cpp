#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale>
#include <sstream>

#include <unistd.h>

#include "model/lci_writer.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin::testing_support;

namespace fs = std::filesystem;
using namespace tavrin;

namespace {

std::string golden(const char* name) {
  return slurp(fs::path(TAVRIN_SOURCE_DIR) / "tests/model/golden" / name);
}

// The start-up set in detached mode with two spots on star 1 and one on star 2.
ParameterSet spottedDetached() {
  ParameterSet p;
  p.MODE = 2;
  p.spotCount = {0, 2, 1};
  p.spots[1][1] = {1.5, 0.25, 0.2, 0.9};
  p.spots[1][2] = {2.0943951, 3.14159265, 0.17453293, 1.05};
  p.spots[2][1] = {0.5235988, -1.0, 0.0872665, 0.75};
  p.totalSpotCount = 3;
  return p;
}

}  // namespace

TEST(LciWriter, GoldenFileWithSpotsCharacterForCharacter) {
  EXPECT_EQ(lciText(spottedDetached()), golden("lci_defaults_spots.lci"));
}

TEST(LciWriter, SaveWritesTheGoldenBytes) {
  TempDir dir;
  ParameterSet p = spottedDetached();
  const SaveOutcome out = saveLci(p, (dir / "a.lci").string());
  EXPECT_TRUE(out.written);
  EXPECT_TRUE(out.refusal.empty());
  EXPECT_EQ(slurp(dir / "a.lci"), golden("lci_defaults_spots.lci"));
  EXPECT_EQ(filesIn(dir.path()), 1u) << "no temporary file may stay behind";
}

TEST(LciWriter, StartUpFieldsInTheirColumns) {
  ParameterSet p;
  const auto l = crlfLines(lciText(p));
  ASSERT_EQ(l.size(), 11u);  // seven records, two "300.", "150.", "9"
  EXPECT_EQ(l[0], "1 1 1 0 0 1 1 2 ");
  EXPECT_EQ(l[1].substr(0, 1), "2");
  EXPECT_EQ(l[1].substr(1, 15), "    7522.664328");
  EXPECT_EQ(l[1].substr(16, 15), " .232500000D+03");
  EXPECT_EQ(l[1].substr(31, 13), "  .334425D-09");
  EXPECT_EQ(l[1].substr(64, 2), " 0");  // NOISE is the list index itself
  EXPECT_EQ(l[1].substr(66), " 138472375");
  EXPECT_EQ(l[3].substr(0, 2), " 3");
  EXPECT_EQ(l[5].substr(0, 7), "  .5300");
  EXPECT_EQ(l[5].substr(7, 8), "   .4521");
  EXPECT_EQ(l[6].substr(0, 3), "  6");
}

TEST(LciWriter, SystemWithoutSpotsEndsWithTheFourClosingLines) {
  ParameterSet p;
  const std::string t = lciText(p);
  const std::string tail = "300.\r\n300.\r\n150.\r\n9\r\n";
  ASSERT_GE(t.size(), tail.size());
  EXPECT_EQ(t.substr(t.size() - tail.size()), tail);
  EXPECT_EQ(crlfLines(t)[7], "300.");
}

TEST(LciWriter, StarWithoutSpotsGivesOnlyItsEndLine) {
  ParameterSet p;
  p.spotCount = {0, 0, 1};
  p.spots[2][1] = {1.0, 2.0, 0.5, 0.8};
  const auto l = crlfLines(lciText(p));
  ASSERT_EQ(l.size(), 12u);
  EXPECT_EQ(l[7], "300.");
  EXPECT_EQ(l[8], "  1.00000  2.00000   .50000   .80000");
  EXPECT_EQ(l[9], "300.");
}

TEST(LciWriter, TenSpotsWriteAndElevenOrNegativeCountsFail) {
  ParameterSet p;
  p.spotCount = {0, 10, 0};
  EXPECT_EQ(crlfLines(lciText(p)).size(), 21u);
  p.spotCount = {0, 11, 0};
  try {
    lciText(p);
    FAIL() << "11 spots written";
  } catch (const TavrinError& e) {
    EXPECT_EQ(e.number(), 9);
    EXPECT_STREQ(e.what(), "Error 9: Subscript out of range.");
  }
  p.spotCount = {0, 0, -1};
  EXPECT_THROW(lciText(p), TavrinError);
}

TEST(LciWriter, ModeThreeWithDetachedPotentialsIsRefusedAndNothingWritten) {
  TempDir dir;
  const fs::path file = dir / "m.lci";
  {
    std::ofstream(file, std::ios::binary) << "old contents";
  }
  ParameterSet p;  // RM 0.76115, POTH 6.1624, POT2 9.0092, MODE 3
  const SaveOutcome out = saveLci(p, file.string());
  EXPECT_FALSE(out.written);
  EXPECT_EQ(out.refusal.rfind("The potentials of both Stars 1 & 2 (6.1624) are greater than the inner critical "
                              "potential (3.3501).",
                              0),
            0u)
      << out.refusal;
  EXPECT_EQ(slurp(file), "old contents");
  EXPECT_EQ(filesIn(dir.path()), 1u);

  ParameterSet detached;
  detached.MODE = 2;
  EXPECT_TRUE(saveLci(detached, file.string()).written);
  EXPECT_EQ(slurp(file), lciText(detached));
}

TEST(LciWriter, RefusalCreatesNoFile) {
  TempDir dir;
  ParameterSet p;
  EXPECT_FALSE(saveLci(p, (dir / "new.lci").string()).written);
  EXPECT_FALSE(fs::exists(dir / "new.lci"));
}

TEST(LciWriter, OvercontactModesCarryStarOnePotentialIntoPotTwo) {
  TempDir dir;
  for (int mode : {1, 3}) {
    ParameterSet p;
    p.MODE = static_cast<int16_t>(mode);
    p.RM = 1.0;
    p.POTH = 3.5;  // between the outer (3.20665) and inner (3.75002) critical potentials
    p.POT2 = 9.0;
    const SaveOutcome out = saveLci(p, (dir / "o.lci").string());
    ASSERT_TRUE(out.written) << out.refusal;
    EXPECT_EQ(p.POT2, 3.5);
    EXPECT_EQ(crlfLines(slurp(dir / "o.lci"))[5].substr(43, 13), "  .350000D+01");
  }
}

TEST(LciWriter, OtherModesLeavePotTwoAlone) {
  ParameterSet p;
  p.MODE = 2;
  p.POT2 = 9.5;
  TempDir dir;
  ASSERT_TRUE(saveLci(p, (dir / "d.lci").string()).written);
  EXPECT_EQ(p.POT2, 9.5);
}

TEST(LciWriter, SnappedPotentialReachesTheFileOnlyAtTheNextSave) {
  TempDir dir;
  const std::string file = (dir / "s.lci").string();
  ParameterSet p;
  p.MODE = 4;
  p.RM = 1.0;
  p.POTH = 3.3;
  p.POT2 = 4.0;
  SaveOutcome out = saveLci(p, file);
  ASSERT_TRUE(out.written) << out.refusal;
  ASSERT_TRUE(out.text46.has_value());
  EXPECT_EQ(*out.text46, " 3.7500");
  EXPECT_FALSE(out.text47.has_value());
  EXPECT_NEAR(p.POTH, 3.75002, 1e-5);
  EXPECT_EQ(crlfLines(slurp(file))[5].substr(30, 13), "  .330000D+01");

  out = saveLci(p, file);
  ASSERT_TRUE(out.written);
  EXPECT_FALSE(out.text46.has_value());
  EXPECT_EQ(crlfLines(slurp(file))[5].substr(30, 13), "  .375002D+01");
}

TEST(LciWriter, FailedWriteThrowsAndLeavesNoFile) {
  TempDir dir;
  ParameterSet p;
  p.MODE = 2;
  try {
    saveLci(p, (dir / "missing" / "x.lci").string());
    FAIL() << "wrote into a missing folder";
  } catch (const TavrinError& e) {
    EXPECT_EQ(e.number(), 76);
  }
  EXPECT_EQ(filesIn(dir.path()), 0u);

  fs::create_directories(dir / "taken.lci");
  EXPECT_THROW(saveLci(p, (dir / "taken.lci").string()), TavrinError);
  EXPECT_TRUE(fs::is_directory(dir / "taken.lci"));
  EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(LciWriter, ValuesThatCannotBeFormattedStopTheSaveBeforeTheFileIsTouched) {
  TempDir dir;
  const fs::path file = dir / "v.lci";
  {
    std::ofstream(file, std::ios::binary) << "keep";
  }
  for (double bad : {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
                     -std::numeric_limits<double>::infinity()}) {
    ParameterSet p;
    p.MODE = 2;
    p.HJD0 = bad;
    try {
      saveLci(p, file.string());
      FAIL() << "saved HJD0 = " << bad;
    } catch (const TavrinError& e) {
      EXPECT_EQ(e.number(), 6);
    }
    EXPECT_EQ(slurp(file), "keep");
  }
}

TEST(LciWriter, NegativeValuesFillTheirColumns) {
  ParameterSet p;
  p.MODE = -1;
  p.DPDT = -0.5e-6;
  p.PSHIFT = -0.0123;
  p.THE = -1.5;
  const auto l = crlfLines(lciText(p));
  EXPECT_EQ(l[3].substr(0, 2), "-1");
  EXPECT_EQ(l[1].substr(31, 13), " -.500000D-06");
  EXPECT_EQ(l[1].substr(44, 10), "    -.0123");
  EXPECT_EQ(l[3].substr(39, 7), "-1.5000");  // F7.5 cut on the right
}

TEST(LciWriter, TextIsTheSameUnderADecimalCommaLocale) {
  const std::string expected = lciText(spottedDetached());
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8")) GTEST_SKIP() << "no de_DE locale";
  std::locale::global(std::locale(std::setlocale(LC_ALL, nullptr)));
  const std::string text = lciText(spottedDetached());
  std::locale::global(std::locale::classic());
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(text, expected);
}
