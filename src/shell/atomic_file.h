#pragma once
// Replaces a file atomically: the content goes to a temporary file in the same
// folder, is flushed to disk, then renamed over the target. On failure the old
// file is untouched, the temporary file is removed, and a TavrinError with the
// classified number is thrown.

#include <string>

namespace tavrin {

void writeFileAtomically(const std::string& path, const std::string& content);

// Reads a whole file; throws TavrinError (53 missing, 76 missing folder, 70 ...).
std::string readWholeFile(const std::string& path);

}  // namespace tavrin
