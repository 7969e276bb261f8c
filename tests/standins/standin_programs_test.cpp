// The two programs as Tavrin runs them: input on standard input, report on
// standard output, nothing else.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/input_reader.h"
#include "standin.h"
#include "test_files.h"

using namespace tavrin::testing_support;

namespace tavrin::standin {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int status = -1;
  std::string out, err;
};

ProgramRun run(const std::string& program, const fs::path& input) {
  const fs::path dir = tavrin::testing_support::freshTestDir("standin-programs", "run");
  const fs::path out = dir / "out.txt", err = dir / "err.txt";
  const std::string exe = std::string(TAVRIN_BINARY_DIR) + "/src/standins/" + program;
  const std::string cmd = "\"" + exe + "\" < \"" + input.string() + "\" > \"" + out.string() + "\" 2> \"" + err.string() + "\"";
  ProgramRun r;
  r.status = std::system(cmd.c_str());
  r.out = slurp(out);
  r.err = slurp(err);
  return r;
}

const fs::path kExamples = fs::path(TAVRIN_SOURCE_DIR) / "examples";

std::string lastLine(const std::string& text) {
  std::string t = text;
  while (!t.empty() && (t.back() == '\n' || t.back() == '\r')) t.pop_back();
  const size_t nl = t.rfind('\n');
  return nl == std::string::npos ? t : t.substr(nl + 1);
}

TEST(StandinPrograms, SynthexWritesTheReportOfItsStandardInput) {
  const ProgramRun r = run("Synthex", kExamples / "example.lci");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  const std::string lci = slurp(kExamples / "example.lci");
  EXPECT_EQ(r.out, lcReport(readLciText(lci, ParameterSet{}, probeLciText(lci)).params));
  EXPECT_EQ(run("Synthex", kExamples / "example.lci").out, r.out);  // same input, same bytes
  const ProgramRun rv = run("Synthex", kExamples / "example_rv.lci");
  EXPECT_EQ(rv.status, 0);
  EXPECT_NE(rv.out.find("V1"), std::string::npos);
}

TEST(StandinPrograms, SynthexRefusesBadInputOnStandardError) {
  const fs::path dir = tavrin::testing_support::freshTestDir("standin-programs", "inputs");
  std::string lci = slurp(kExamples / "example.lci");
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"empty.lci", ""},
      {"garbage.lci", "hello\r\nworld\r\n"},
      {"cut.lci", lci.substr(0, lci.size() / 2)},
      {"binary.lci", std::string("\0\1\2\3\xff\xfe", 6)},
      {"page3.lci", "3" + lci.substr(1)},
  };
  for (const auto& c : cases) {
    spit(dir / c.name, c.text);
    const ProgramRun r = run("Synthex", dir / c.name);
    EXPECT_NE(r.status, 0) << c.name;
    EXPECT_EQ(r.out, "") << c.name;
    EXPECT_EQ(r.err.rfind("Synthex: ", 0), 0u) << c.name << ": " << r.err;
  }
}

TEST(StandinPrograms, SolvexWritesTheCorrectionsOfItsStandardInput) {
  const ProgramRun r = run("Solvex", kExamples / "example.dci");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(lastLine(r.out).rfind(" DOM1/DQ", 0), 0u);
  const std::string dci = slurp(kExamples / "example.dci");
  const ParameterSet p = readDciText(dci, ParameterSet{}, probeDciText(dci)).params;
  EXPECT_EQ(r.out, dcReport(p, dcSolve(p)));
}

TEST(StandinPrograms, SolvexAnswersBadInputWithAnErrLine) {
  const fs::path dir = tavrin::testing_support::freshTestDir("standin-programs", "inputs");
  const std::string dci = slurp(kExamples / "example.dci");
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"empty.dci", ""},
      {"garbage.dci", "not a DC input\r\n"},
      {"cut.dci", dci.substr(0, dci.size() / 3)},
      {"lci.dci", slurp(kExamples / "example.lci")},
  };
  for (const auto& c : cases) {
    spit(dir / c.name, c.text);
    const ProgramRun r = run("Solvex", dir / c.name);
    EXPECT_EQ(r.status, 0) << c.name;
    EXPECT_EQ(lastLine(r.out).rfind("*ERR* ", 0), 0u) << c.name << ": " << lastLine(r.out);
    EXPECT_EQ(r.out.find("DOM1/DQ"), std::string::npos) << c.name;
  }
}

}  // namespace
}  // namespace tavrin::standin
