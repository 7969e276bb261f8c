// The settings file: either a data folder or nothing, never a failure.
#include "fuzz_common.h"
#include "shell/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  const std::optional<std::string> folder = dataFolderFromSettingsText(fuzz::textOf(data, size));
  if (folder && folder->size() > size) __builtin_trap();
  return 0;
}
