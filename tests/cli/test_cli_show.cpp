#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include "test_files.h"

using namespace tavrin::testing_support;

namespace fs = std::filesystem;

namespace {

struct CliRun {
  int code = -1;
  std::string out, err;
};

std::string quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class CliShow : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("tavrin_cli_show_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  CliRun run(const std::vector<std::string>& args) {
    std::string cmd = quote(std::string(TAVRIN_BINARY_DIR) + "/src/cli/tavrin-cli");
    for (const auto& a : args) cmd += " " + quote(a);
    cmd += " >" + quote((dir / "out").string()) + " 2>" + quote((dir / "err").string());
    const int status = std::system(cmd.c_str());
    CliRun r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(dir / "out");
    r.err = slurp(dir / "err");
    return r;
  }
  static std::string data(const std::string& name) {
    return std::string(TAVRIN_SOURCE_DIR) + "/tests/model/data/" + name;
  }
  nlohmann::json show(const std::string& path, const std::string& flag = {}) {
    const CliRun r = flag.empty() ? run({"show", path}) : run({"show", path, flag});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    return nlohmann::json::parse(r.out);
  }

  fs::path dir;
};

TEST_F(CliShow, CurrentDciEveryPart) {
  const nlohmann::json j = show(data("current.dci"));
  EXPECT_EQ(j["kind"], "DCI");
  EXPECT_EQ(j["layout"], "current");
  const auto& p = j["parameters"];
  EXPECT_EQ(p["MODE"], 2);
  EXPECT_TRUE(p["MODE"].is_number_integer());
  EXPECT_EQ(p["PSHIFT"].get<double>(), -0.0125);
  EXPECT_EQ(p["T1"].get<double>(), 0.65 * 10000.0);
  EXPECT_EQ(p["ISYM"], 1);
  EXPECT_EQ(p["N1L"], 15);
  // LC-only fields are not in a DCI.
  for (const char* lcOnly : {"MPAGE", "FRACSD", "NOISE", "SEED", "JDSTART", "PHN", "BAND", "L1", "WAVEL", "ZERO"})
    EXPECT_FALSE(p.contains(lcOnly)) << lcOnly;
  EXPECT_EQ(p.size(), 45u);
  EXPECT_EQ(j["adjustKeys"], "01111111111111101101110111111101111");
  ASSERT_EQ(j["increments"].size(), 27u);
  EXPECT_EQ(j["increments"][1].get<double>(), -5.0);
  EXPECT_EQ(j["increments"][26].get<double>(), 0.02);
  EXPECT_EQ(j["misc"], nlohmann::json::parse(
                           R"({"IFDER":1,"IFM":0,"IFR":1,"XLAMDA":0.001,"KO":2,"KDISK":0,"NPPL":5})"));
  EXPECT_EQ(j["IFVC1"], 1);
  EXPECT_EQ(j["IFVC2"], 1);
  EXPECT_EQ(j["NLC"], 2);
  const auto& curves = j["curves"];
  ASSERT_EQ(curves.size(), 4u);
  EXPECT_EQ(curves[0]["row"], 1);
  EXPECT_EQ(curves[0]["file"], "rv1 data.txt");
  EXPECT_EQ(curves[0]["points"], nlohmann::json::parse("[[0.1,-88.3864,1.0],[0.25,45.5,1.0],[0.5,-12.25,0.5]]"));
  EXPECT_EQ(curves[1]["row"], 2);
  EXPECT_EQ(curves[1]["file"], "");
  EXPECT_TRUE(curves[1]["points"].empty());
  EXPECT_EQ(curves[2]["row"], 3);
  EXPECT_EQ(curves[2]["BAND"], 6);
  EXPECT_EQ(curves[2]["NOISE"], 1);
  EXPECT_EQ(curves[2]["SIGMA"].get<double>(), 0.01);
  EXPECT_EQ(curves[2]["points"].size(), 12u);
  EXPECT_EQ(curves[3]["row"], 4);
  EXPECT_EQ(curves[3]["points"][0][0].get<double>(), -1500.5);
  for (const char* key : {"row", "BAND", "L1", "L2", "X1", "X2", "Y1", "Y2", "EL3", "OPSF", "NOISE", "SIGMA", "WAVEL",
                          "file", "points"})
    EXPECT_TRUE(curves[0].contains(key)) << key;
  EXPECT_EQ(j["spots"]["star1"], nlohmann::json::parse(R"([{"XLAT":1.5708,"XLONG":0.5,"RADSP":0.2,"TEMSP":0.9}])"));
  EXPECT_EQ(j["spots"]["star2"].size(), 1u);
  EXPECT_EQ(j["spotA"], nlohmann::json::parse("[1,1]"));
  EXPECT_EQ(j["spotB"], nlohmann::json::parse("[2,1]"));
}

TEST_F(CliShow, LciOfBothLayoutsAndFullPrecision) {
  const nlohmann::json cur = show(data("current.lci"));
  EXPECT_EQ(cur["kind"], "LCI");
  EXPECT_EQ(cur["layout"], "current");
  EXPECT_EQ(cur["parameters"]["HJD0"].get<double>(), 2450123.456789);
  EXPECT_EQ(cur["parameters"]["PERIOD"].get<double>(), 1.23456789);
  EXPECT_EQ(cur["parameters"]["DPDT"].get<double>(), -0.25e-9);
  EXPECT_EQ(cur["parameters"]["JDSTOP"].get<double>(), 12450100.5);
  EXPECT_EQ(cur["parameters"].size(), 65u);
  for (const char* dcOnly : {"N1L", "N2L", "ISYM"}) EXPECT_FALSE(cur["parameters"].contains(dcOnly));
  for (const char* dciPart : {"adjustKeys", "increments", "misc", "curves", "spotA", "spotB", "IFVC1"})
    EXPECT_FALSE(cur.contains(dciPart)) << dciPart;
  EXPECT_EQ(cur["spots"]["star1"].size(), 2u);
  EXPECT_EQ(cur["spots"]["star1"][1]["XLAT"].get<double>(), -0.35);

  const nlohmann::json old = show(data("older.lci"));
  EXPECT_EQ(old["layout"], "older");
  EXPECT_FALSE(old["parameters"].contains("MPAGE"));
  EXPECT_FALSE(old["parameters"].contains("MH"));
  EXPECT_EQ(old["parameters"]["BAND"], 6);  // from its wavelength
  EXPECT_EQ(old["parameters"]["MODE"], -1);
}

TEST_F(CliShow, KindFromTheNameOrTheFlag) {
  const fs::path copy = dir / "model.txt";
  fs::copy_file(data("nppl1.dci"), copy);
  EXPECT_EQ(show(copy.string(), "--dci")["kind"], "DCI");
  const CliRun unknown = run({"show", copy.string()});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_TRUE(unknown.out.empty());
  // A DCI read as an LCI is not an LCI: it fails with the reader's message.
  const CliRun wrong = run({"show", data("nppl1.dci"), "--lci"});
  EXPECT_EQ(wrong.code, 1);
  EXPECT_TRUE(wrong.out.empty());
  EXPECT_EQ(wrong.err.rfind("Error ", 0), 0u) << wrong.err;
  const fs::path upper = dir / "MODEL.LCI";
  fs::copy_file(data("current.lci"), upper);
  EXPECT_EQ(show(upper.string())["kind"], "LCI");
}

TEST_F(CliShow, FailuresPrintTheSystemMessage) {
  const CliRun missing = run({"show", (dir / "none.dci").string()});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "Error 53: File not found.\nFile: " + (dir / "none.dci").string() + "\n");
  EXPECT_TRUE(missing.out.empty());
  std::ofstream(dir / "empty.lci").close();
  const CliRun empty = run({"show", (dir / "empty.lci").string()});
  EXPECT_EQ(empty.code, 1);
  EXPECT_EQ(empty.err, "Error 62: Input past end of file.\nFile: " + (dir / "empty.lci").string() + "\n");
  std::ofstream(dir / "junk.dci", std::ios::binary) << std::string("\x01\x02\xff\xfe junk\0\n\r\n", 14);
  const CliRun junk = run({"show", (dir / "junk.dci").string()});
  EXPECT_EQ(junk.code, 1);
  EXPECT_EQ(junk.err, "Error 62: Input past end of file.\nFile: " + (dir / "junk.dci").string() + "\n");
  EXPECT_EQ(run({"show"}).code, 2);
}

TEST_F(CliShow, ConvertWritesTheCurrentLayoutKeepingEveryValue) {
  for (const char* name : {"older.dci", "older.lci"}) {
    const std::string ext = std::string(name).substr(5);
    const fs::path out = dir / ("converted" + ext);
    const CliRun r = run({"convert", data(name), out.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const nlohmann::json note = nlohmann::json::parse(r.out);
    EXPECT_EQ(note["from"], "older");
    nlohmann::json before = show(data(name)), after = show(out.string());
    EXPECT_EQ(after["layout"], "current");
    // The current layout adds the fields the older one lacks; the rest is unchanged.
    for (auto& [key, value] : before["parameters"].items()) EXPECT_EQ(after["parameters"][key], value) << key;
    before.erase("parameters");
    after.erase("parameters");
    before.erase("layout");
    after.erase("layout");
    EXPECT_EQ(after, before) << name;
  }
  // A current file comes back byte for byte.
  const fs::path out = dir / "same.dci";
  ASSERT_EQ(run({"convert", data("current.dci"), out.string()}).code, 0);
  EXPECT_EQ(slurp(out), slurp(data("current.dci")));
}

TEST_F(CliShow, ConvertRefusalLeavesTheOutputAlone) {
  // MODE 3 with a star-1 potential above the inner critical potential.
  std::string text = slurp(data("current.lci"));
  const auto l4 = text.find("\r\n 2 0 1 0") + 2;
  text.replace(l4, 2, " 3");
  const auto l6 = text.find("  .380000D+01");
  text.replace(l6, 13, "  .616240D+01");
  std::ofstream(dir / "mode3.lci", std::ios::binary) << text;
  const fs::path out = dir / "out.lci";
  std::ofstream(out, std::ios::binary) << "keep me";
  const CliRun r = run({"convert", (dir / "mode3.lci").string(), out.string()});
  EXPECT_EQ(r.code, 3);
  EXPECT_FALSE(r.err.empty());
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(slurp(out), "keep me");

  const CliRun fail = run({"convert", (dir / "none.lci").string(), out.string()});
  EXPECT_EQ(fail.code, 1);
  EXPECT_EQ(fail.err, "Error 53: File not found.\nFile: " + (dir / "none.lci").string() + "\n");
  EXPECT_EQ(slurp(out), "keep me");
  EXPECT_EQ(run({"convert", data("current.lci")}).code, 2);
}

}  // namespace
