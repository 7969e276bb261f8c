#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>

#include "test_files.h"

using namespace tavrin::testing_support;

namespace {

struct Result {
  int exitCode = -1;
  std::string out, err;
};

const fs::path kExamples = fs::path(TAVRIN_SOURCE_DIR) / "examples";
const fs::path kGrid = fs::path(TAVRIN_SOURCE_DIR) / "tests" / "cli" / "golden" / "figure_grid.txt";

Result cli(const fs::path& dir, const std::string& args) {
  const std::string cmd = "cd '" + dir.string() + "' && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR='" + dir.string() +
                          "' '" + TAVRIN_BINARY_DIR + "/src/cli/tavrin-cli' " + args + " >out 2>err";
  const int status = std::system(cmd.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(dir / "out"), slurp(dir / "err")};
}

// The reports of the examples, made by the stand-in LC.
fs::path report(const fs::path& dir, const std::string& lci) {
  const fs::path out = dir / (lci.substr(0, lci.size() - 4) + ".lco");
  const std::string cmd = "'" + std::string(TAVRIN_BINARY_DIR) + "/src/standins/Synthex' <'" + (kExamples / lci).string() +
                          "' >'" + out.string() + "'";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  return out;
}

std::string obs(const char* name) { return " --obs '" + (kExamples / name).string() + "'"; }

TEST(CliFigure, SvgHoldsTitlesAndTickLabelsAsText) {
  const fs::path d = freshTestDir("cli", "svg");
  const std::string lc = report(d, "example.lci").string(), rv = report(d, "example_rv.lci").string();
  struct Row {
    std::string args;
    std::vector<std::string> texts;
  } rows[] = {
      {"figure lc " + lc + obs("example_light_B.csv") + " --residuals", {">Phase<", ">Normalized light<", ">O \u2212 C<", ">0.4<", ">example_light_B.csv<"}},
      {"figure rv " + rv + obs("example_rv1.csv") + obs("example_rv2.csv") + " --residuals",
       {">Phase<", " (km/s)<", ">Star 1<", ">Star 2<", ">100<", ">\u221250<"}},
      {"figure map '" + kGrid.string() + "' --zoom 8 --levels 100:160:4",
       {">T2 (K)<", ">Inclination (deg)<", ">Sum(W*Res**2)<", ">5000<", ">84<", ">120<"}},
  };
  for (const Row& r : rows) {
    const Result res = cli(d, r.args + " --out f.svg --force");
    ASSERT_EQ(res.exitCode, 0) << r.args << "\n" << res.err;
    const std::string svg = slurp(d / "f.svg");
    for (const std::string& t : r.texts) EXPECT_NE(svg.find(t), std::string::npos) << r.args << ": " << t;
  }
}

TEST(CliFigure, PdfAndPngAtTheirSizes) {
  const fs::path d = freshTestDir("cli", "sizes");
  const std::string lc = report(d, "example.lci").string();
  ASSERT_EQ(cli(d, "figure lc " + lc + " --out a.pdf").exitCode, 0);
  const std::string pdf = slurp(d / "a.pdf");
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_NE(pdf.find("/FontFile2"), std::string::npos);  // fonts embedded
  ASSERT_EQ(cli(d, "figure lc " + lc + " --size 17.78x12.7cm --dpi 100 --out a.png").exitCode, 0);
  const std::string png = slurp(d / "a.png");
  ASSERT_GT(png.size(), 24u);
  auto be32 = [&](size_t at) {
    return (unsigned char)png[at] << 24 | (unsigned char)png[at + 1] << 16 | (unsigned char)png[at + 2] << 8 |
           (unsigned char)png[at + 3];
  };
  EXPECT_EQ(be32(16), 700u);
  EXPECT_EQ(be32(20), 500u);
}

TEST(CliFigure, UsageBadInputAndExistingFiles) {
  const fs::path d = freshTestDir("cli", "errors");
  const std::string lc = report(d, "example.lci").string();
  struct Row {
    std::string args;
    int exitCode;
    std::string err;
  } rows[] = {
      {"figure", 2, "usage:"},
      {"figure pie " + lc + " --out x.png", 2, "the kind must be lc, rv or map"},
      {"figure lc " + lc, 2, "--out is missing"},
      {"figure lc " + lc + " --size 3x2 --out x.png", 2, "--size must be"},
      {"figure lc " + lc + " --dpi 10 --out x.png", 2, "--dpi must be"},
      {"figure map g.txt --levels 1:2 --out x.png", 2, "--levels must be"},
      {"export curve " + lc + " --format csv --out x.csv", 2, "--format belongs to export dco"},
      {"export dco r.dco --out x.csv", 2, "--format is missing"},
      {"figure lc missing.lco --out x.png", 1, "Error 53: File not found."},
      {"figure rv " + lc + " --out x.png", 1, "not a velocity report (mpage 2)"},
      {"figure lc " + lc + " --obs '" + kGrid.string() + "' --out x.png", 1, "not an observation file"},
      {"figure map '" + kGrid.string() + "' --zoom 1 --out x.png", 1, "Zoom factor must be >= 2."},
  };
  for (const Row& r : rows) {
    const Result res = cli(d, r.args);
    EXPECT_EQ(res.exitCode, r.exitCode) << r.args << "\n" << res.err;
    EXPECT_NE(res.err.find(r.err), std::string::npos) << r.args << "\n" << res.err;
  }
  EXPECT_FALSE(fs::exists(d / "x.png"));
  spit(d / "old.csv", "mine");
  const Result kept = cli(d, "export map '" + kGrid.string() + "' --out old.csv");
  EXPECT_EQ(kept.exitCode, 1);
  EXPECT_NE(kept.err.find("give --force"), std::string::npos);
  EXPECT_EQ(slurp(d / "old.csv"), "mine");
  ASSERT_EQ(cli(d, "export map '" + kGrid.string() + "' --out old.csv --force").exitCode, 0);
  EXPECT_EQ(slurp(d / "old.csv").substr(0, 50), "T2 (K),Inclination (deg),Sum(W*Res**2),failed\n4800");
  EXPECT_NE(slurp(d / "old.csv").find("\n5600,86,,1\n"), std::string::npos);
}

TEST(CliFigure, ExportCurveWithResiduals) {
  const fs::path d = freshTestDir("cli", "curve");
  const std::string rv = report(d, "example_rv.lci").string();
  ASSERT_EQ(cli(d, "export curve " + rv + obs("example_rv1.csv") + obs("example_rv2.csv") + " --out c.csv").exitCode, 0);
  const std::string csv = slurp(d / "c.csv");
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "series,phase,observed,computed,residual");
  EXPECT_NE(csv.find("\ncomputed star 1,-0.1,,67.738173,\n"), std::string::npos);
  EXPECT_NE(csv.find("\ncomputed star 2,-0.1,,-50.922716,\n"), std::string::npos);
  EXPECT_NE(csv.find("\nexample_rv2.csv,0.02,"), std::string::npos);
}

}  // namespace

namespace {

TEST(CliFigure, ExportDcResults) {
  const fs::path d = freshTestDir("cli", "dco");
  const std::string cmd = "'" + std::string(TAVRIN_BINARY_DIR) + "/src/standins/Solvex' <'" +
                          (kExamples / "example.dci").string() + "' >'" + (d / "r.dco").string() + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  ASSERT_EQ(cli(d, "export dco r.dco --format csv --out r.csv").exitCode, 0);
  ASSERT_EQ(cli(d, "export dco r.dco --format latex --out r.tex").exitCode, 0);
  const std::string csv = slurp(d / "r.csv"), tex = slurp(d / "r.tex");
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "parameter,number,curve,input,correction,output,standard deviation");
  EXPECT_NE(csv.find("\ncorrelation,Inclin.,"), std::string::npos);
  EXPECT_NE(tex.find("\\toprule"), std::string::npos);
  EXPECT_NE(tex.find("\nInclin. & $"), std::string::npos);
}

}  // namespace
