// The number of the system's error a step throws, for tests of refusals.
#pragma once

#include <functional>

#include "shell/errors.h"

namespace tavrin::testing_support {

// 0 when the step ends normally.
inline int errorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const TavrinError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace tavrin::testing_support
