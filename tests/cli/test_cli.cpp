// tavrin-cli called in process. Each row of cases.tsv is one command line; its
// exit code, standard output and error and the files it wrote are compared
// whole with golden/<row>.txt, folder names replaced by $D and $SRC.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>

#include "cli/commands.h"
#include "test_files.h"

using namespace tavrin::testing_support;

namespace {

const std::string kSrc = TAVRIN_SOURCE_DIR, kBin = TAVRIN_BINARY_DIR;
const fs::path kIn = kSrc + "/tests/cli/data", kEx = kSrc + "/examples";

struct Out {
  int code;
  std::string out, err;
};

Out cli(std::vector<std::string> args, const std::string& input = "") {
  args.insert(args.begin(), "tavrin-cli");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::istringstream in(input);
  std::ostringstream out, err;
  const int code = tavrin::cli::run(static_cast<int>(args.size()), argv.data(), in, out, err);
  return {code, out.str(), err.str()};
}

std::string replaced(std::string s, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size()) s.replace(at, from.size(), to);
  return s;
}

// What a test can tell of an image: its kind, a PNG's size, a PDF's fonts.
std::string imageText(const std::string& b) {
  auto be32 = [&](size_t at) {
    return std::to_string((unsigned char)b[at] << 24 | (unsigned char)b[at + 1] << 16 |
                          (unsigned char)b[at + 2] << 8 | (unsigned char)b[at + 3]);
  };
  if (b.size() > 1000 && b.substr(1, 3) == "PNG") return "PNG " + be32(16) + " x " + be32(20) + "\n";
  if (b.starts_with("%PDF-")) return b.find("/FontFile2") != std::string::npos ? "PDF, fonts embedded\n" : "PDF\n";
  return "neither a PDF nor a PNG of more than 1000 bytes\n";
}

void sh(const std::string& cmd) { ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd; }

// The inputs the rows read from their folder: data/folder (MODE 3 in
// mode3.lci with a star-1 potential above the inner critical one), the
// example and the stand-ins' reports of it.
void prepare(const fs::path& d) {
  fs::copy(kIn / "folder", d);
  fs::copy_file(kEx / "example.dci", d / "star.dci");
  for (const char* lci : {"example", "example_rv"})
    sh("'" + kBin + "/src/standins/Synthex' <'" + (kEx / lci).string() + ".lci' >'" + (d / lci).string() + ".lco'");
  sh("'" + kBin + "/src/standins/Solvex' <'" + (kEx / "example.dci").string() + "' >'" + (d / "r.dco").string() + "'");
}

TEST(Cli, EveryRowOfTheTable) {
  const fs::path d = freshTestDir("cli");
  ASSERT_NO_FATAL_FAILURE(prepare(d));
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  for (const auto& row : tableRows(kSrc + "/tests/cli/cases.tsv")) {
    SCOPED_TRACE(row[0]);
    std::string line = row.size() > 1 ? row[1] : "";
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"$DC", kBin + "/src/standins/Solvex"}, {"$IN", kIn.string()}, {"$EX", kEx.string()}, {"$D", d.string()}})
      line = replaced(line, from, to);
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string w; words >> w;) args.push_back(w);
    const Out r = cli(args, row.size() > 2 && !row[2].empty() ? slurp(kIn / row[2]) : "");
    // Parallel workers may report two points at once: only the last count is certain.
    const std::string err = std::regex_replace(r.err, std::regex(R"(contour: ([0-9]+)/(?!\1 )[0-9]+ points.*\n)"), "");
    std::string text = "exit " + std::to_string(r.code) + "\n--- out\n" + r.out + "--- err\n" + err;
    std::istringstream files(row.size() > 3 ? row[3] : "");
    for (std::string f; files >> f;)
      if (!fs::exists(d / f))
        text += "--- " + f + " is missing\n";
      else if (f.ends_with(".png") || f.ends_with(".pdf"))
        text += "--- " + f + ": " + imageText(slurp(d / f));
      else
        text += "--- " + f + "\n" + slurp(d / f);
    // Times differ from run to run.
    for (const char* time : {R"(("dcSeconds": |takes )[0-9.e+-]+)", R"((about |, |points, )[0-9]+:[0-9][0-9]:[0-9][0-9])"})
      text = std::regex_replace(text, std::regex(time), "$1T");
    expectGolden("cli", row[0] + ".txt", replaced(replaced(text, d.string(), "$D"), kSrc, "$SRC"));
  }
  // Contour runs leave no scratch folders behind.
  std::set<std::string> folders;
  for (const auto& e : fs::directory_iterator(d))
    if (e.is_directory()) folders.insert(e.path().filename().string());
  EXPECT_EQ(folders, (std::set<std::string>{"kept", "star.fit"}));
}

// A DC that, like the real one, needs a table from its program folder in its
// working folder, and fails (with a run-time error) on the runs FAIL_FROM..FAIL_TO
// of each worker. Two workers: the second point of each one's first column fails.
TEST(Cli, ContourCompanionFilesAndFailedPoints) {
  const fs::path d = freshTestDir("cli"), program = d / "program";
  fs::create_directories(program);
  const std::string dc = (program / "Solvex").string();
  spit(dc, "#!/bin/sh\n"
           "[ -f atmcof.dat ] || { echo \"Fortran runtime error: Cannot open file 'atmcof.dat'\" >&2; exit 2; }\n"
           "n=$(($(cat count 2>/dev/null || echo 0) + 1)); echo $n > count\n"
           "if [ $n -ge ${FAIL_FROM:-0} ] && [ $n -le ${FAIL_TO:--1} ]; then\n"
           "  echo ' Program stopped in PLANCKINT'; echo 'Fortran runtime error: Bad value' >&2; exit 2; fi\n"
           "exec '" + kBin + "/src/standins/Solvex'\n");
  fs::permissions(dc, fs::perms::owner_all);
  spit(program / "atmcof.dat", "table\n");
  const std::vector<std::string> args{"contour", (kEx / "example.dci").string(), "--x", "2:84:88:3", "--y",
                                      "4:4.8:5.2:3", "--jobs", "2", "--dc", dc, "--out", (d / "m.txt").string()};
  std::string text;
  for (const auto& [from, to] : {std::pair{"0", "-1"}, {"6", "6"}, {"2", "999"}, {"", ""}}) {
    setenv("FAIL_FROM", from, 1);
    setenv("FAIL_TO", to, 1);
    if (!*from) fs::remove(program / "atmcof.dat");
    const Out r = cli(args);
    text += "FAIL_FROM " + std::string(from) + " FAIL_TO " + to + ": exit " + std::to_string(r.code) + "\n" +
            std::regex_replace(r.err, std::regex(R"(.*(takes|elapsed).*\n)"), "") + slurp(d / "m.txt");
  }
  unsetenv("FAIL_FROM");
  unsetenv("FAIL_TO");
  expectGolden("cli", "contour_failed_points.txt", replaced(text, d.string(), "$D"));
}

TEST(Cli, ManyFieldRequestsOneAnswerEach) {
  std::string in;
  for (int i = 0; i < 20000; ++i) in += "fixed " + std::to_string(i) + ".5 10 2\n";
  const Out r = cli({"field"}, in);
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 20000);
  EXPECT_EQ(r.out.substr(0, 22), "       .50\n      1.50\n");
  EXPECT_EQ(r.out.substr(r.out.size() - 11), "  19999.50\n");
}


// The real binary: arguments, standard input and output, exit code.
TEST(Cli, TheInstalledToolRunsTheSameCommands) {
  const fs::path d = freshTestDir("cli");
  sh("'" + kBin + "/src/cli/tavrin-cli' field <'" + (kIn / "field_bad.in").string() + "' >'" + (d / "out").string() +
     "' 2>'" + (d / "err").string() + "' || test $? = 2");
  const Out r = cli({"field"}, slurp(kIn / "field_bad.in"));
  EXPECT_EQ(slurp(d / "out"), r.out);
  EXPECT_EQ(slurp(d / "err"), r.err);
  // Three processes computing columns in one folder at once, then joined.
  sh("cd '" + d.string() + "' && for c in 0-2:1 3-4:2 5-6:3; do '" + kBin + "/src/cli/tavrin-cli' contour '" +
     (kEx / "example.dci").string() + "' --x 2:83:89:7 --y 4:4.7:5.3:7 --iterations 1 --dc '" + kBin +
     "/src/standins/Solvex' --jobs 1 --columns ${c%:*} --out part${c#*:}.txt 2>/dev/null & done; wait");
  const std::string merged = (d / "merged.txt").string();
  ASSERT_EQ(cli({"contour-merge", (d / "part3.txt").string(), (d / "part1.txt").string(), (d / "part2.txt").string(),
                 "--out", merged}).code, 0);
  EXPECT_TRUE(slurp(goldenPath("cli", "contour_merge.txt")).ends_with("--- merged.txt\n" + slurp(merged)));
}

}  // namespace
