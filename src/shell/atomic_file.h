#pragma once
// Replaces a file atomically: the content goes to a temporary file in the same
// folder, is flushed to disk, then renamed over the target. On failure the old
// file is untouched, the temporary file is removed, and a TavrinError with the
// classified number is thrown. The temporary is named ".tavrin-<pid>-XXXXXX";
// a save removes such files of processes that no longer exist (killed
// between writing and renaming), never those of live ones.

#include <string>

namespace tavrin {

// Scratch files that are rewritten many times a second and never hold the
// user's work (the contour runs' input) skip the flushes to disk: they are
// still replaced whole, but a power cut may lose the last one.
enum class Durability { Durable, Scratch };

void writeFileAtomically(const std::string& path, const std::string& content,
                         Durability durability = Durability::Durable);

namespace detail {
// Test seam for fault injection: when set, called before each step of
// writeFileAtomically ("create", "write", "sync", "close", "rename"); a
// non-zero return is taken as the errno of that step failing. Tests only.
using AtomicWriteHook = int (*)(const char* step);
void setAtomicWriteHook(AtomicWriteHook hook);
}  // namespace detail

// Reads a whole file; throws TavrinError (53 missing, 76 missing folder, 70 ...).
std::string readWholeFile(const std::string& path);

}  // namespace tavrin
