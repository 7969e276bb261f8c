// Observation files of the DC curves. The reader takes a path, so each input
// goes through one scratch file of this process.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "fuzz_common.h"
#include "model/observation_file.h"

namespace {

const std::string& scratchPath() {
  static const std::string path = [] {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/tavrin-fuzz-obs-" + std::to_string(::getpid()) + ".csv";
  }();
  return path;
}

struct Cleanup {
  ~Cleanup() { ::unlink(scratchPath().c_str()); }
} cleanup;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  // A new file each time: truncating a file that still holds data makes ext4
  // flush it on close, and the fuzzer then spends its time waiting on the disk.
  ::unlink(scratchPath().c_str());
  const int fd = ::open(scratchPath().c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd < 0) std::abort();
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n <= 0) std::abort();
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  try {
    std::vector<ObservationPoint> points = readObservationFile(scratchPath());
    if (points.size() > static_cast<size_t>(kMaxObservationPoints)) __builtin_trap();
  } catch (const TavrinError& e) {
    fuzz::checkError(e);
  }
  return 0;
}
