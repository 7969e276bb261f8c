#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "model/critical_potentials.h"
#include "test_files.h"

using namespace tavrin::testing_support;

namespace fs = std::filesystem;

namespace {

struct Result {
  int status = -1;
  std::string out, err;
};

// Runs the built tool with the given arguments and standard input.
Result runCli(const std::string& args, const std::string& input) {
  static int counter = 0;
  const fs::path base = fs::temp_directory_path() /
                        ("tavrin-cli-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  const fs::path in = base.string() + ".in", out = base.string() + ".out", err = base.string() + ".err";
  std::ofstream(in, std::ios::binary) << input;
  const std::string cmd = std::string("'") + TAVRIN_BINARY_DIR "/src/cli/tavrin-cli' " + args + " < '" +
                          in.string() + "' > '" + out.string() + "' 2> '" + err.string() + "'";
  const int raw = std::system(cmd.c_str());
  Result r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(out);
  r.err = slurp(err);
  fs::remove(in);
  fs::remove(out);
  fs::remove(err);
  return r;
}

}  // namespace

TEST(CliField, AnswersEveryRequestKind) {
  const Result r = runCli("field",
                          "plain 0.5\n"
                          "plain -0.535\n"
                          "plain 7.8963E-13\n"
                          "plain 1.5e15\n"
                          "plain -0\n"
                          "int 3 2 0\n"
                          "int -1 2 space\n"
                          "int 30 3 space\n"
                          "int 1 1 empty\n"
                          "int 15 1 space\n"
                          "fixed 7522.664328 15 6\n"
                          "fixed 0.53 7 4\n"
                          "fixed 0 8 4\n"
                          "fixed 138472375 10 0\n"
                          "fixed -36.02 10 4\n"
                          "fixed 123456.789 7 3\n"
                          "fixed 12.3456 6 3\n"
                          "fixed 1.5 2 1\n"
                          "exp 232.5 15 10\n"
                          "exp 0.334425E-9 13 6\n"
                          "exp 0.01 8 2\n"
                          "exp 0 10 4\n"
                          "exp -6.1624 13 6\n"
                          "exp 1000 13 6\n"
                          "exp 0.99996 10 4\n"
                          "dtoe .232500000D+03\n"
                          "dtoe  1d5D6\n"
                          "dtoe no exponent\n"
                          "align 3 1 2.5\n"
                          "align 3 123 4\n"
                          "align 5 12  7 8\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            " .5\n"
            "-.535\n"
            " 7.8963E-13\n"
            " 1.5E+15\n"
            " 0\n"
            "03\n"
            "-1\n"
            " 30\n"
            "1\n"
            "15\n"
            "    7522.664328\n"
            "  .5300\n"
            "  0.0000\n"
            " 138472375\n"
            "  -36.0200\n"
            "  .1D+06\n"
            " 12.34\n"
            " 1.5\n"
            " .232500000D+03\n"
            "  .334425D-09\n"
            " .10D-01\n"
            " .0000D+00\n"
            " -.616240D+01\n"
            " 1.000000D+03\n"
            "     1D+00\n"
            ".232500000e+03\n"
            " 1e5D6\n"
            "no exponent\n"
            "  1 2.5\n"
            "123 4\n"
            "   12  7 8\n");
}

TEST(CliField, OverflowIsALineNotAFailure) {
  const Result r = runCli("field",
                          "int 40000 6 space\n"
                          "int 5 99999999999 0\n"
                          "fixed 1 40000 2\n"
                          "exp 1e400 13 6\n"
                          "plain 2\n"
                          "plain 1e-400\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Error 6: Overflow.\n"
            "Error 6: Overflow.\n"
            "Error 6: Overflow.\n"
            "Error 6: Overflow.\n"
            " 2\n"
            " 0\n");
}

TEST(CliField, LineEndsAndBlankRequests) {
  const Result r = runCli("field", "plain 1.25\r\n\ndtoe 1D2\r\nplain 3");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, " 1.25\n\n1e2\n 3\n");
}

TEST(CliField, ManyRequestsOneAnswerEach) {
  std::string in;
  for (int i = 0; i < 20000; ++i) in += "fixed " + std::to_string(i) + ".5 10 2\n";
  const Result r = runCli("field", in);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 20000);
  EXPECT_EQ(r.out.substr(0, 22), "       .50\n      1.50\n");
  EXPECT_EQ(r.out.substr(r.out.size() - 11), "  19999.50\n");
}

TEST(CliField, BadRequestsAreUsageErrors) {
  Result r = runCli("field", "plain 1\nbogus 2\nplain 3\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, " 1\n");
  EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;

  EXPECT_EQ(runCli("field", "plain abc\n").status, 2);
  EXPECT_EQ(runCli("field", "fixed 1 2\n").status, 2);
  EXPECT_EQ(runCli("field", "int 1.5 2 0\n").status, 2);
  EXPECT_EQ(runCli("field", "align x 1 2\n").status, 2);
  EXPECT_EQ(runCli("field extra", "").status, 2);
}

TEST(CliCritpot, SeventeenDigitJson) {
  const Result r = runCli("critpot 1", "");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "{\"inner\": 3.7500245685963782, \"outer\": 3.2066487534233179}\n");
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["inner"].get<double>(), tavrin::criticalPotentialInner(1.0));
  EXPECT_EQ(j["outer"].get<double>(), tavrin::criticalPotentialOuter(1.0));

  const Result r2 = runCli("critpot 0.76115", "");
  ASSERT_EQ(r2.status, 0);
  const auto j2 = nlohmann::json::parse(r2.out);
  EXPECT_EQ(j2["inner"].get<double>(), tavrin::criticalPotentialInner(0.76115));
  EXPECT_EQ(j2["outer"].get<double>(), tavrin::criticalPotentialOuter(0.76115));

  const Result r0 = runCli("critpot 0", "");
  EXPECT_EQ(r0.out, "{\"inner\": 1.4815084702538801, \"outer\": 1.48175483445228}\n");
}

TEST(CliCritpot, NegativeAndMalformed) {
  const Result neg = runCli("critpot -0.5", "");
  EXPECT_EQ(neg.status, 1);
  EXPECT_EQ(neg.out, "");
  EXPECT_EQ(neg.err, "The mass ratio M2/M1 (-.5) is negative, so the critical potentials cannot be computed.\n");
  EXPECT_EQ(runCli("critpot", "").status, 2);
  EXPECT_EQ(runCli("critpot 1 2", "").status, 2);
  EXPECT_EQ(runCli("critpot abc", "").status, 2);
  EXPECT_EQ(runCli("critpot 1x", "").status, 2);
  EXPECT_EQ(runCli("critpot inf", "").status, 2);
}
