#pragma once
// The error-message table and the one error type every reader and writer
// throws. A failure carries its number; the message shown is the table's text.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavrin {

// The table's text for an error number ("" when the number has no entry).
std::string errorMessage(int number);

// Error with a table number. what() is the table's text, followed on lines
// of their own by the detail, when there is one (which file, which line).
class TavrinError : public std::runtime_error {
 public:
  explicit TavrinError(int number);
  TavrinError(int number, const std::string& detail);
  int number() const { return number_; }
  const std::string& detail() const { return detail_; }

 private:
  int number_;
  std::string detail_;
};

// The detail naming a file and, when known (line > 0), the line and its text:
// "File: /data/obs.csv" and "line 14: \"0.5,abc\"".
std::string fileErrorDetail(const std::string& path, size_t line = 0, std::string_view lineText = {});
// The same error with that detail, unless it already names its file.
TavrinError inFile(const TavrinError& e, const std::string& path, size_t line = 0, std::string_view lineText = {});

[[noreturn]] void throwError(int number);

// Classifies a platform errno value into a table number (ENOENT 53, ENOTDIR/
// missing folder 76, EACCES/EPERM 70, ENOSPC 61, EMFILE 67, EIO 57, ...).
int errorNumberForErrno(int err);

// Error numbers Tavrin raises itself.
inline constexpr int kErrOutOfData = 4;
inline constexpr int kErrOverflow = 6;
inline constexpr int kErrOutOfMemory = 7;
inline constexpr int kErrSubscript = 9;
inline constexpr int kErrBadFileName = 52;
inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrDeviceIO = 57;
inline constexpr int kErrDiskFull = 61;
inline constexpr int kErrPastEndOfFile = 62;
inline constexpr int kErrBadFileName64 = 64;
inline constexpr int kErrTooManyFiles = 67;
inline constexpr int kErrPermissionDenied = 70;
inline constexpr int kErrPathFileAccess = 75;
inline constexpr int kErrPathNotFound = 76;
inline constexpr int kErrInvalidFormat = 321;

}  // namespace tavrin
