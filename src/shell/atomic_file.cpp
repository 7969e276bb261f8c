#include "shell/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "shell/errors.h"

namespace tavrin {
namespace {

constexpr long long kMaxReadBytes = 256LL * 1024 * 1024;

detail::AtomicWriteHook g_hook = nullptr;

// The injected errno of a step, 0 to go on.
int injected(const char* step) { return g_hook ? g_hook(step) : 0; }

std::string parentFolder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool isFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// ENOENT on a file whose folder is missing is a path error, not a file error.
int classify(int err, const std::string& path) {
  if (err == ENOENT && !isFolder(parentFolder(path))) return kErrPathNotFound;
  return errorNumberForErrno(err);
}

class FdCloser {
 public:
  explicit FdCloser(int fd) : fd_(fd) {}
  ~FdCloser() {
    if (fd_ >= 0) ::close(fd_);
  }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;

 private:
  int fd_;
};

constexpr std::string_view kTempPrefix = ".tavrin-";

bool isTempLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// The owner's process id of a temporary named ".tavrin-<pid>-XXXXXX", 0 for
// any other name.
pid_t temporaryOwner(std::string_view name) {
  if (name.substr(0, kTempPrefix.size()) != kTempPrefix) return 0;
  name.remove_prefix(kTempPrefix.size());
  const size_t dash = name.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash > 10 || name[0] == '0') return 0;
  long long pid = 0;
  for (size_t i = 0; i < dash; ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    pid = pid * 10 + (name[i] - '0');
  }
  if (pid > 2147483647LL) return 0;
  const std::string_view suffix = name.substr(dash + 1);
  if (suffix.size() != 6) return 0;
  for (char c : suffix)
    if (!isTempLetter(c)) return 0;
  return static_cast<pid_t>(pid);
}

// A process killed between writing and renaming leaves its temporary behind;
// the next save into that folder removes the ones whose process has ended.
// Files of live processes and every other name are left alone.
void removeDeadTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const int dirFd = ::dirfd(dir);
  while (const dirent* e = ::readdir(dir)) {
    const pid_t owner = temporaryOwner(e->d_name);
    if (owner <= 0) continue;
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
    struct stat st {};
    if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    ::unlinkat(dirFd, e->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace

void detail::setAtomicWriteHook(AtomicWriteHook hook) { g_hook = hook; }

void writeFileAtomically(const std::string& path, const std::string& content, Durability durability) {
  if (path.empty() || path.back() == '/') throwError(kErrBadFileName64);
  if (isFolder(path)) throwError(kErrPathFileAccess);

  // A short hidden name in the target's folder: the rename then stays on one
  // file system, and a target name near the length limit still leaves room.
  const std::string folder = parentFolder(path);
  // The process id in the name tells a later save whether its writer is gone.
  removeDeadTemporaries(folder);
  std::string tmpl = (folder == "/" ? std::string() : folder) + "/" + std::string(kTempPrefix) +
                     std::to_string(::getpid()) + "-XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  if (const int err = injected("create")) throwError(classify(err, path));
  const int fd = ::mkstemp(name.data());
  if (fd < 0) throwError(classify(errno, path));
  const std::string tmpName(name.data());

  auto fail = [&](int err, int fdToClose) {
    if (fdToClose >= 0) ::close(fdToClose);
    ::unlink(tmpName.c_str());
    throwError(classify(err, path));
  };

  // mkstemp makes the file private; give it the mode the target has (or would get).
  struct stat st {};
  mode_t mode;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd, mode) != 0) fail(errno, fd);

  const char* p = content.data();
  size_t left = content.size();
  if (const int err = injected("write")) fail(err, fd);
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno, fd);
    }
    if (n == 0) fail(EIO, fd);
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (const int err = injected("sync")) fail(err, fd);
  if (durability == Durability::Durable && ::fsync(fd) != 0) fail(errno, fd);
  if (const int err = injected("close")) fail(err, fd);
  if (::close(fd) != 0) fail(errno, -1);
  if (const int err = injected("rename")) fail(err, -1);
  if (::rename(tmpName.c_str(), path.c_str()) != 0) fail(errno, -1);

  if (durability == Durability::Scratch) return;
  // Make the rename itself durable; a failure here loses nothing already written.
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

std::string readWholeFile(const std::string& path) {
  if (path.empty()) throwError(kErrBadFileName64);
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) throwError(classify(errno, path));
  FdCloser closer(fd);

  struct stat st {};
  if (::fstat(fd, &st) != 0) throwError(errorNumberForErrno(errno));
  if (S_ISDIR(st.st_mode)) throwError(kErrPathFileAccess);
  if (S_ISREG(st.st_mode) && st.st_size > kMaxReadBytes) throwError(kErrOutOfMemory);

  std::string out;
  if (S_ISREG(st.st_mode)) out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      throwError(errorNumberForErrno(errno));
    }
    if (n == 0) break;
    if (static_cast<long long>(out.size()) + n > kMaxReadBytes) throwError(kErrOutOfMemory);
    out.append(buf, static_cast<size_t>(n));
  }
  return out;
}

}  // namespace tavrin
