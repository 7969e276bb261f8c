// Solvex: the stand-in DC program. Reads a DCI on standard input and writes
// the DCO report on standard output. Every failure still gives a report,
// ending in a line that begins "*ERR*" and says why.
//
// For tests only: SOLVEX_OVERSHOOT=F multiplies every correction by F, so
// that a fit overshoots the minimum and diverges.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <iterator>
#include <string>

#include "standin.h"

int main() {
  std::string report;
  try {
    std::ios::sync_with_stdio(false);
    const std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    const tavrin::ParameterSet p = tavrin::standin::parseDciText(text);
    tavrin::standin::DcSolution s = tavrin::standin::dcSolve(p);
    if (const char* f = std::getenv("SOLVEX_OVERSHOOT"))
      for (double& c : s.correction) c *= std::atof(f);
    report = tavrin::standin::dcReport(p, s);
  } catch (const std::exception& e) {
    report = std::string(tavrin::standin::reportBanner()) + "\r\n Solvex - differential corrections\r\n\r\n*ERR* the input could not be read: " +
             e.what() + "\r\n";
  } catch (...) {
    report = std::string(tavrin::standin::reportBanner()) + "\r\n*ERR* unexpected failure\r\n";
  }
  std::fwrite(report.data(), 1, report.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
