#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "../output/report_builders.h"

namespace fs = std::filesystem;
using namespace testreports;

namespace {

struct Result {
  int exitCode = -1;
  std::string out, err;
};

fs::path dir() {
  const fs::path d = fs::path(TAVRIN_BINARY_DIR) / "test-tmp" / ("cli-lcodco-" + std::to_string(::getpid()));
  fs::create_directories(d);
  return d;
}

Result cli(const std::string& sub, const fs::path& file) {
  const std::string cmd = std::string(TAVRIN_BINARY_DIR) + "/src/cli/tavrin-cli " + sub + " '" + file.string() +
                          "' >'" + (dir() / "out").string() + "' 2>'" + (dir() / "err").string() + "'";
  const int status = std::system(cmd.c_str());
  Result r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  auto slurp = [](const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  r.out = slurp(dir() / "out");
  r.err = slurp(dir() / "err");
  return r;
}

fs::path write(const std::string& name, const std::string& text) {
  const fs::path p = dir() / name;
  std::ofstream(p, std::ios::binary) << text;
  return p;
}

}  // namespace

TEST(CliLco, LightAndVelocityPages) {
  Result r = cli("lco", write("a.lco", join(lcoLines(LcoSpec{}))));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["page"], 1);
  EXPECT_EQ(j["mode"], 3);
  EXPECT_EQ(j["count"], 3);
  EXPECT_EQ(j["light"], nlohmann::json({1.0, 0.9, 0.5}));
  EXPECT_EQ(j["phase"], nlohmann::json({0.0, 0.25, 0.5}));
  EXPECT_DOUBLE_EQ(j["t1"].get<double>(), 5300.0);
  EXPECT_DOUBLE_EQ(j["lightMin"].get<double>(), 0.5);
  EXPECT_FALSE(j.contains("rv1"));
  EXPECT_FALSE(j.contains("rvMin"));
  for (const char* k : {"inclination", "t2", "pot1", "pot2", "massRatio", "l2", "phaseFirst", "phaseLast", "lightMax"})
    EXPECT_TRUE(j.contains(k)) << k;

  LcoSpec s;
  s.page = 2;
  s.rv1 = {"-50", "10", "0"};
  r = cli("lco", write("b.lco", join(lcoLines(s))));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  j = nlohmann::json::parse(r.out);
  EXPECT_DOUBLE_EQ(j["rvMin"].get<double>(), -54.0);
  EXPECT_DOUBLE_EQ(j["rvMax"].get<double>(), 34.0);
  EXPECT_FALSE(j.contains("light"));
}

TEST(CliLco, FailuresPrintTheMessage) {
  Result r = cli("lco", write("cut.lco", join(lcoLines(LcoSpec{})).substr(0, 200)));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Error 62: Input past end of file.\n");
  EXPECT_EQ(r.out, "");
  LcoSpec s;
  s.phases[0] = "3";
  r = cli("lco", write("phase.lco", join(lcoLines(s))));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Error trap: Phases should be between -1 and 2.\n");
  r = cli("lco", dir() / "missing.lco");
  EXPECT_EQ(r.err, "Error 53: File not found.\n");
}

TEST(CliDco, WholeListing) {
  Result r = cli("dco", write("a.dco", join(dcoLines(DcoSpec{}), "\r\n")));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["adjustedCount"], 2);
  EXPECT_EQ(j["adjustedParams"], nlohmann::json({15, 34}));
  // One unknown per light curve for a per-curve key, in DC's order.
  EXPECT_EQ(j["unknowns"].dump(), R"([{"curve":0,"param":15},{"curve":1,"param":34},{"curve":2,"param":34}])");
  EXPECT_EQ(j["correlation"].dump(), "[[1.0,-0.25,0.1],[-0.25,1.0,0.967],[0.1,0.967,1.0]]");
  EXPECT_EQ(j["ioRowCount"], 3);
  ASSERT_EQ(j["ioRows"].size(), 3u);
  EXPECT_EQ(j["ioRows"][1]["param"], 34);
  EXPECT_EQ(j["ioRows"][1]["curve"], 1);
  EXPECT_DOUBLE_EQ(j["ioRows"][1]["correction"].get<double>(), -0.01);
  EXPECT_TRUE(j["ioRows"][0].contains("stdDev"));
  EXPECT_EQ(j["dcErrorSeen"], false);
  EXPECT_TRUE(j["errorLine"].is_null());
  EXPECT_EQ(j["IFVC1"], 1);
  EXPECT_EQ(j["NLC"], 2);
  EXPECT_DOUBLE_EQ(j["curveL2"]["3"].get<double>(), 1.2345);
  EXPECT_EQ(j["curveL2"].size(), 4u);
  EXPECT_DOUBLE_EQ(j["sumWResInput"].get<double>(), 12.3456789012);
}

TEST(CliDco, ErrorLineAndFailures) {
  DcoSpec s;
  s.marker = s.sumsPrinted = false;
  s.trailer = {"*ERR* singular \xff matrix"};
  // A failed solution prints its JSON and exits 1.
  Result r = cli("dco", write("err.dco", join(dcoLines(s))));
  ASSERT_EQ(r.exitCode, 1) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["dcErrorSeen"], true);
  EXPECT_EQ(j["errorLine"].get<std::string>().substr(0, 14), "*ERR* singular");
  s = DcoSpec{};
  s.rows[1].correction = "NaN";
  r = cli("dco", write("nan.dco", join(dcoLines(s))));
  ASSERT_EQ(r.exitCode, 1) << r.err;
  j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["failure"], "the correction of x2 (1) is NaN");
  EXPECT_TRUE(j["ioRows"][1]["correction"].is_null());
  r = cli("dco", write("cut.dco", join(dcoLines(DcoSpec{})).substr(0, 300)));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Error 62: Input past end of file.\n");
  r = cli("dco", dir() / "none.dco");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Error 53: File not found.\n");
}
