// tavrin-cli critpot Q: the inner and outer critical potentials of mass ratio Q.
#include <charconv>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "model/critical_potentials.h"
#include "model/number_fields.h"

namespace tavrin::cli {
namespace {

std::string digits17(double x) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 17);
  return std::string(buf, res.ptr);
}

int runCritpot(const std::vector<std::string>& args, Io& io) {
  if (args.size() != 1) {
    io.err << "usage: tavrin-cli critpot Q\n";
    return 2;
  }
  std::string_view t = args[0];
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double q = 0.0;
  const auto res = std::from_chars(t.data(), t.data() + t.size(), q, std::chars_format::general);
  if (t.empty() || res.ec != std::errc() || res.ptr != t.data() + t.size() || !std::isfinite(q)) {
    io.err << "tavrin-cli critpot: Q must be a finite number, not '" << args[0] << "'\n";
    return 2;
  }
  if (q < 0) {
    io.err << "The mass ratio M2/M1 (" << trimmedPlainText(q)
           << ") is negative, so the critical potentials cannot be computed.\n";
    return 1;
  }
  io.out << "{\"inner\": " << digits17(criticalPotentialInner(q)) << ", \"outer\": "
         << digits17(criticalPotentialOuter(q)) << "}\n";
  return 0;
}

const CommandRegistration reg("critpot", "critpot Q          inner and outer critical potentials of mass ratio Q",
                              runCritpot);

}  // namespace
}  // namespace tavrin::cli
