#include <gtest/gtest.h>

#include "output/dc_tables.h"

using namespace tavrin;

namespace {

DcResults results() {
  DcResults r;
  r.unknowns = {{16, 0}, {20, 0}, {31, 2}};
  // Inclination, T2 (held in 10000 K, shown in K) and L1 of curve 2.
  r.ioRows = {{16, 0, 82.3, 0.0456, 82.3456, 0.0234},
              {20, 0, 0.51, 0.00094, 0.51094, 0.0000196},
              {31, 2, 10.1, -0.2, 9.9, 0.145}};
  r.correlation = {{1, -0.5123, 0.02}, {-0.5123, 1, 0.3}, {0.02, 0.3, 1}};
  r.sumWResInput = 84.8;
  r.sumWResPredicted = 84.1;
  return r;
}

TEST(DcTables, CsvInTheUnitsShown) {
  EXPECT_EQ(dcResultsCsv(results()),
            "parameter,number,curve,input,correction,output,standard deviation\n"
            "Inclin.,16,0,82.3,0.0456,82.3456,0.0234\n"
            "T2,20,0,5100,9.4,5109.4,0.196\n"
            "L1 (2),31,2,10.1,-0.2,9.9,0.145\n"
            "\nSum(W*Res**2) input,84.8\nSum(W*Res**2) predicted,84.1\n"
            "\ncorrelation,Inclin.,T2,L1 (2)\n"
            "Inclin.,1,-0.5123,0.02\nT2,-0.5123,1,0.3\nL1 (2),0.02,0.3,1\n");
}

TEST(DcTables, LatexRoundsToTheDeviation) {
  const std::string t = dcResultsLatex(results());
  for (const char* row : {"Inclin. & $82.30$ & $0.05$ & $82.35$ & $0.02$ \\\\",
                          "T2 & $5100.0$ & $9.4$ & $5109.4$ & $0.2$ \\\\",
                          "L1 (2) & $10.10$ & $-0.20$ & $9.90$ & $0.14$ \\\\",
                          "\\toprule", "\\bottomrule", " & Inclin. & T2 & L1 (2) \\\\", "T2 & $-0.512$ & $1.000$ & $0.300$ \\\\"})
    EXPECT_NE(t.find(row), std::string::npos) << row << "\n" << t;
}

}  // namespace
