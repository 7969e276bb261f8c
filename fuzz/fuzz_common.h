#pragma once
// Shared pieces of the fuzz targets: every reader must either succeed or fail
// with one of its documented exception types; anything else escapes and the
// fuzzer reports it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "shell/errors.h"

namespace tavrin::fuzz {

inline std::string textOf(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// A failure must carry a number the table knows, or its message would be empty.
inline void checkError(const TavrinError& e) {
  if (errorMessage(e.number()).empty()) __builtin_trap();
}

}  // namespace tavrin::fuzz
