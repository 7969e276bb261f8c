#include "shell/errors.h"

#include <cerrno>

namespace tavrin {
namespace {

struct Entry {
  int number;
  const char* text;
};

constexpr Entry kTable[] = {
    {4, "Error 4: Out of data."},
    {6, "Error 6: Overflow."},
    {7, "Error 7: Out of memory."},
    {9, "Error 9: Subscript out of range."},
    {24, "Error 24: Device timeout."},
    {25, "Error 25: Device fault."},
    {27, "Error 27: Out of paper."},
    {52, "Error 52: Bad file name or number."},
    {53, "Error 53: File not found."},
    {54, "Error 54: Bad file mode."},
    {55, "Error 55: File already open."},
    {57, "Error 57: Device I/O error."},
    {58, "Error 58: File already exists."},
    {61, "Error 61: Disk full."},
    {62, "Error 62: Input past end of file."},
    {64, "Error 64: Bad file name."},
    {67, "Error 67: Too many files."},
    {68, "Error 68: Device unavailable."},
    {70, "Error 70: Permission denied."},
    {71, "Error 71: Disk not ready."},
    {72, "Error 72: Disk media error"},
    {74, "Error 74: Rename across disks"},
    {75, "Error 75: Path/file access error."},
    {76, "Error 76: Path not found."},
    {321, "Error 321: Invalid file format."},
    {708, "Error 708: File not found."},
    {712, "Error 712: Device I/O error."},
    {716, "Error 716: Disk full."},
    {719, "Error 719: Bad file name."},
    {725, "Error 725: Permission denied."},
    {730, "Error 730: Path access error."},
    {731, "Error 731: Path not found."},
};

}  // namespace

std::string errorMessage(int number) {
  for (const Entry& e : kTable)
    if (e.number == number) return e.text;
  return {};
}

TavrinError::TavrinError(int number) : std::runtime_error(errorMessage(number)), number_(number) {}

TavrinError::TavrinError(int number, const std::string& detail)
    : std::runtime_error(detail.empty() ? errorMessage(number) : errorMessage(number) + "\n" + detail),
      number_(number),
      detail_(detail) {}

std::string fileErrorDetail(const std::string& path, size_t line, std::string_view lineText) {
  std::string d = "File: " + path;
  if (line == 0) return d;
  // A whole binary or very long line would drown the message.
  constexpr size_t kShown = 120;
  std::string shown(lineText.substr(0, kShown));
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  if (lineText.size() > kShown) shown += "...";
  return d + "\nline " + std::to_string(line) + ": \"" + shown + "\"";
}

TavrinError inFile(const TavrinError& e, const std::string& path, size_t line, std::string_view lineText) {
  if (!e.detail().empty()) return e;
  return TavrinError(e.number(), fileErrorDetail(path, line, lineText));
}

void throwError(int number) { throw TavrinError(number); }

int errorNumberForErrno(int err) {
  switch (err) {
    case ENOENT: return kErrFileNotFound;
    case ENOTDIR: return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return kErrPermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return kErrDiskFull;
    case EMFILE:
    case ENFILE: return kErrTooManyFiles;
    case EIO: return kErrDeviceIO;
    case EEXIST: return 58;
    case ENAMETOOLONG: return kErrBadFileName64;
    case ENOMEM: return kErrOutOfMemory;
    case EISDIR: return kErrPathFileAccess;
    default: return kErrPathFileAccess;
  }
}

}  // namespace tavrin
