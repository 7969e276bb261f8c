// Strict reading of typed number fields: what a save or a run takes, and what
// it refuses.
#include <gtest/gtest.h>

#include "model/field_entry.h"
#include "test_files.h"

using namespace tavrin;

TEST(FieldEntry, ReadsTypedNumbersStrictly) {
  auto fault = [](const std::string& c) {
    return c == "X" ? EntryFault::NotANumber : c == "B" ? EntryFault::TooLarge : c == "I" ? EntryFault::NotInt16 : EntryFault::None;
  };
  const auto rows = testing_support::tableRows(testing_support::goldenPath("model", "field_entry_cases.tsv"));
  ASSERT_EQ(rows.size(), 30u);
  for (const auto& r : rows) {
    const FieldEntry real = readRealEntry(r[0]);
    EXPECT_EQ(real.fault, fault(r[2])) << '"' << r[0] << '"';
    EXPECT_EQ(real.ok() ? real.value : 0.0, std::stod(r[1])) << '"' << r[0] << '"';
    const FieldEntry integer = readIntegerEntry(r[0]);
    EXPECT_EQ(integer.fault, fault(r[4])) << '"' << r[0] << '"';
    EXPECT_EQ(integer.ok() ? integer.value : 0.0, std::stod(r[3])) << '"' << r[0] << '"';
  }
}

TEST(FieldEntry, RefusalNamesTheFieldAndWhatIsWrong) {
  EXPECT_EQ(entryRefusal(EntryFault::NotANumber, "\"Inclination\" (Text39)", " abc "),
            "The field \"Inclination\" (Text39) holds \"abc\", which is not a number. "
            "Please correct it; nothing was taken from the window.");
  EXPECT_NE(entryRefusal(EntryFault::TooLarge, "x", "1e400").find("which is too large a number."), std::string::npos);
  EXPECT_NE(entryRefusal(EntryFault::NotInt16, "x", "40000").find("not a whole number from -32768 to 32767"),
            std::string::npos);
}
