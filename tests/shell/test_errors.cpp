#include "shell/errors.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace tavrin;

TEST(ErrorTable, Texts) {
  EXPECT_EQ(errorMessage(62), "Error 62: Input past end of file.");
  EXPECT_EQ(errorMessage(4), "Error 4: Out of data.");
  EXPECT_EQ(errorMessage(6), "Error 6: Overflow.");
  EXPECT_EQ(errorMessage(72), "Error 72: Disk media error");
  EXPECT_EQ(errorMessage(74), "Error 74: Rename across disks");
  EXPECT_EQ(errorMessage(75), "Error 75: Path/file access error.");
  EXPECT_EQ(errorMessage(321), "Error 321: Invalid file format.");
  EXPECT_EQ(errorMessage(730), "Error 730: Path access error.");
  EXPECT_EQ(errorMessage(731), "Error 731: Path not found.");
}

TEST(ErrorTable, ExactlyTheListedNumbersHaveTexts) {
  const int listed[] = {4,  6,  7,  9,  24, 25, 27, 52, 53, 54,  55,  57,  58,  61,  62,  64,
                        67, 68, 70, 71, 72, 74, 75, 76, 321, 708, 712, 716, 719, 725, 730, 731};
  int withText = 0;
  for (int n = -5; n <= 1005; ++n) {
    const std::string text = errorMessage(n);
    if (text.empty()) continue;
    ++withText;
    EXPECT_EQ(text.rfind("Error " + std::to_string(n) + ": ", 0), 0u) << text;
  }
  EXPECT_EQ(withText, static_cast<int>(std::size(listed)));
  for (int n : listed) EXPECT_FALSE(errorMessage(n).empty()) << n;
  EXPECT_EQ(errorMessage(5), "");
  EXPECT_EQ(errorMessage(0), "");
  EXPECT_EQ(errorMessage(1000), "");
}

TEST(TavrinErrorType, CarriesNumberAndText) {
  try {
    throwError(62);
    FAIL();
  } catch (const TavrinError& e) {
    EXPECT_EQ(e.number(), 62);
    EXPECT_STREQ(e.what(), "Error 62: Input past end of file.");
  }
  TavrinError unlisted(5);
  EXPECT_EQ(unlisted.number(), 5);
  EXPECT_STREQ(unlisted.what(), "");
  // Catchable as a standard exception too.
  EXPECT_THROW(throwError(kErrOverflow), std::runtime_error);
}

TEST(ErrnoMapping, Classification) {
  EXPECT_EQ(errorNumberForErrno(ENOENT), 53);
  EXPECT_EQ(errorNumberForErrno(ENOTDIR), 76);
  EXPECT_EQ(errorNumberForErrno(EACCES), 70);
  EXPECT_EQ(errorNumberForErrno(EPERM), 70);
  EXPECT_EQ(errorNumberForErrno(EROFS), 70);
  EXPECT_EQ(errorNumberForErrno(ENOSPC), 61);
#ifdef EDQUOT
  EXPECT_EQ(errorNumberForErrno(EDQUOT), 61);
#endif
  EXPECT_EQ(errorNumberForErrno(EMFILE), 67);
  EXPECT_EQ(errorNumberForErrno(ENFILE), 67);
  EXPECT_EQ(errorNumberForErrno(EIO), 57);
  EXPECT_EQ(errorNumberForErrno(EEXIST), 58);
  EXPECT_EQ(errorNumberForErrno(ENAMETOOLONG), 64);
  EXPECT_EQ(errorNumberForErrno(EISDIR), 75);
  EXPECT_EQ(errorNumberForErrno(EINVAL), 75);
  EXPECT_EQ(errorNumberForErrno(0), 75);
}

TEST(ErrnoMapping, EveryResultHasAText) {
  // No platform failure may end in an empty message box.
  for (int err = 0; err < 200; ++err)
    EXPECT_FALSE(errorMessage(errorNumberForErrno(err)).empty()) << "errno " << err;
  EXPECT_FALSE(errorMessage(errorNumberForErrno(-1)).empty());
  EXPECT_FALSE(errorMessage(errorNumberForErrno(100000)).empty());
}
