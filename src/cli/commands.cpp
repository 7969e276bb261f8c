#include "cli/commands.h"

#include <ostream>

namespace tavrin::cli {
int run(int, char**, std::istream&, std::ostream&, std::ostream& err) {
  err << "usage: tavrin-cli COMMAND ...\n";
  return 2;
}
}  // namespace tavrin::cli
