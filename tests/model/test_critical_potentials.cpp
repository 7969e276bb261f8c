#include "model/critical_potentials.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "test_files.h"

using namespace tavrin;
using namespace tavrin::testing_support;

namespace {

std::string g17(double x) {
  char b[64];
  std::snprintf(b, sizeof b, "%.17g", x);
  return b;
}

std::string figures(const ParameterSet& p) {
  const auto f = criticalPotentialFigures(p);
  if (!f) return "none\n";
  return "inner " + g17(f->inner) + " [" + f->innerText + "] outer " + g17(f->outer) + " [" + f->outerText +
         "] f1 " + g17(f->f1) + " [" + f->f1Text + "] f2 " + g17(f->f2) + " [" + f->f2Text + "]\n";
}

double potential(const std::string& cell, double q) {
  if (cell == "outer") return criticalPotentialOuter(q);
  if (cell.rfind("inner", 0) == 0) return criticalPotentialInner(q) + (cell.size() > 6 ? std::stod(cell.substr(6)) : 0);
  return std::stod(cell);
}

}  // namespace

// The fits over a spread of mass ratios, their segment boundaries (which
// belong to the lower segment) included.
TEST(CriticalPotentials, FitsAndWindowFigures) {
  std::string out;
  for (double q : {0.0, 0.01, 0.05, 0.0500001, 0.1, 0.16, 0.1600001, 0.18, 0.1800001, 0.2, 0.25, 0.2500001, 0.28,
                   0.2800001, 0.3, 0.4, 0.5, 0.59, 0.5900001, 0.63, 0.6300001, 0.7, 0.76115, 0.9, 1.0, 1.5, 2.0,
                   5.0, 10.0})
    out += "q " + g17(q) + " inner " + g17(criticalPotentialInner(q)) + " outer " + g17(criticalPotentialOuter(q)) + "\n";
  ParameterSet p;  // F1 = F2 = 1, RM .76115, POTH 6.1624, POT2 9.0092
  out += figures(p);
  for (double x : {3.35012, -6.16245, 12.3456789, 3.0}) out += g17(x) + " shows [" + shortPotentialText(x) + "]\n";
  expectGolden("model", "critical_potentials.txt", out);
}

// Refusals with their messages, snaps to the inner potential with the texts
// the window shows, the potentials the set holds afterwards, and the
// critical-potentials window's figures of the set as given.
TEST(CriticalPotentials, SaveChecks) {
  std::string out;
  for (const auto& c : tableRows(goldenPath("model", "critical_checks.tsv"))) {
    ParameterSet p;
    p.MODE = static_cast<int16_t>(std::stoi(c[0]));
    p.RM = std::stod(c[1]);
    p.POTH = potential(c[2], p.RM);
    p.POT2 = potential(c[3], p.RM);
    p.F1 = std::stod(c[5]);
    p.F2 = std::stod(c[6]);
    const double poth = p.POTH, pot2 = p.POT2;
    const std::string window = figures(p);
    const PotentialCheck r = checkPotentials(p, c[4] == "LCI" ? InputFileKind::LCI : InputFileKind::DCI);
    out += "MODE " + c[0] + " RM " + c[1] + " POTH " + g17(poth) + " POT2 " + g17(pot2) + " " + c[4] + " F1 " + c[5] +
           "\n  passed " + std::to_string(r.passed) + " [" + r.message + "] text46 [" + r.text46.value_or("-") +
           "] text47 [" + r.text47.value_or("-") + "] POTH " + g17(p.POTH) + " POT2 " + g17(p.POT2) + "\n  F2 " + c[6] +
           " window " + window;
    EXPECT_EQ(r.passed, r.message.empty()) << out;
  }
  expectGolden("model", "critical_checks.txt", out);
}
