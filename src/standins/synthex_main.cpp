// Synthex: the stand-in LC program. Reads an LCI on standard input and writes
// the LCO report on standard output; a failure is a message on standard error
// and exit status 1, with nothing on standard output.

#include <cstdio>
#include <exception>
#include <iostream>
#include <iterator>
#include <string>

#include "standin.h"

int main() {
  try {
    std::ios::sync_with_stdio(false);
    const std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    const tavrin::ParameterSet p = tavrin::standin::parseLciText(text);
    const std::string report = tavrin::standin::lcReport(p);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Synthex: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "Synthex: unexpected failure\n");
  }
  return 1;
}
