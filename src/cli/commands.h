#pragma once
#include <iosfwd>

namespace tavrin::cli {
int run(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);
}
