// Strict reading of typed number fields: what a save or a run takes, and what
// it refuses.
#include <gtest/gtest.h>

#include "model/field_entry.h"

using namespace tavrin;

TEST(FieldEntry, ReadsTypedNumbersStrictly) {
  struct Row {
    const char* text;
    double real;
    EntryFault realFault;
    double integer;
    EntryFault integerFault;
  };
  const auto N = EntryFault::None, X = EntryFault::NotANumber, B = EntryFault::TooLarge, I = EntryFault::NotInt16;
  const Row rows[] = {
      {"90.000", 90.0, N, 90, N},       {"  -36.02 ", -36.02, N, -36, N},  {"+.5", 0.5, N, 0, N},
      {"5.", 5.0, N, 5, N},             {"2.5", 2.5, N, 2, N},             {"3.5", 3.5, N, 4, N},
      {"1.5D+02", 150.0, N, 150, N},    {"0.334425e-09", 0.334425e-9, N, 0, N},
      {"", 0.0, N, 0, N},               {"   ", 0.0, N, 0, N},             {"1e-400", 0.0, N, 0, N},
      {"-1e300", -1e300, N, 0, I},      {"40000", 40000.0, N, 0, I},       {"-32768", -32768.0, N, -32768, N},
      {"32767.5", 32767.5, N, 0, I},    {"1e400", 0, B, 0, I},             {"2e300", 0, B, 0, I},
      {"abc", 0, X, 0, X},              {"5300K", 0, X, 0, X},             {" 4321.5 K", 0, X, 0, X},
      {"1,5", 0, X, 0, X},              {"1e", 0, X, 0, X},                {".", 0, X, 0, X},
      {"-", 0, X, 0, X},                {"--1", 0, X, 0, X},               {"1.2.3", 0, X, 0, X},
      {"0x10", 0, X, 0, X},             {"inf", 0, X, 0, X},               {"nan", 0, X, 0, X},
      {"1 2", 0, X, 0, X},
  };
  for (const Row& r : rows) {
    const FieldEntry real = readRealEntry(r.text);
    EXPECT_EQ(real.fault, r.realFault) << '"' << r.text << '"';
    EXPECT_EQ(real.ok() ? real.value : 0.0, r.real) << '"' << r.text << '"';
    const FieldEntry integer = readIntegerEntry(r.text);
    EXPECT_EQ(integer.fault, r.integerFault) << '"' << r.text << '"';
    EXPECT_EQ(integer.ok() ? integer.value : 0.0, r.integer) << '"' << r.text << '"';
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
