// The error table whole, the errno mapping of every errno, and the error type.
#include "shell/errors.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "error_of.h"
#include "test_files.h"

using namespace tavrin;

TEST(ErrorTable, EveryNumberWithATextAndEveryErrnosNumber) {
  std::string table;
  for (int n = -5; n <= 1005; ++n)
    if (!errorMessage(n).empty()) table += std::to_string(n) + " " + errorMessage(n) + "\n";
  // No platform failure may end in an empty message box.
  for (int err : {-1, 100000})
    EXPECT_FALSE(errorMessage(errorNumberForErrno(err)).empty()) << "errno " << err;
  for (int err = 0; err < 200; ++err)
    table += "errno " + std::to_string(err) + " " + errorMessage(errorNumberForErrno(err)) + "\n";
  testing_support::expectGolden("shell", "errors.txt", table);
}

TEST(TavrinErrorType, CarriesNumberAndText) {
  EXPECT_EQ(testing_support::errorOf([] { throwError(62); }), 62);
  EXPECT_STREQ(TavrinError(62).what(), "Error 62: Input past end of file.");
  EXPECT_EQ(TavrinError(5).number(), 5);  // unlisted
  EXPECT_STREQ(TavrinError(5).what(), "");
  // Catchable as a standard exception too.
  EXPECT_THROW(throwError(kErrOverflow), std::runtime_error);
}
