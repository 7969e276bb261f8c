#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

#include "model/observation_file.h"
#include "shell/errors.h"

namespace fs = std::filesystem;
using namespace tavrin;

namespace {

class ObsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tavrin-obs-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string file(const std::string& name, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << content;
    return (dir_ / name).string();
  }
  std::string folder() const { return dir_.string(); }

  static int errorOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const TavrinError& e) {
      return e.number();
    }
    return 0;
  }

  fs::path dir_;
};

void expectPoint(const ObservationPoint& p, double t, double v, double w) {
  EXPECT_DOUBLE_EQ(p.time, t);
  EXPECT_DOUBLE_EQ(p.value, v);
  EXPECT_DOUBLE_EQ(p.weight, w);
}

}  // namespace

TEST_F(ObsFiles, HeaderWithLettersIsSkipped) {
  const auto pts = readObservationFile(file("a.csv", "HJD, Vmag, weight\r\n0.1,10.5,1\r\n0.2,10.6,0.5\r\n"));
  ASSERT_EQ(pts.size(), 2u);
  expectPoint(pts[0], 0.1, 10.5, 1);
  expectPoint(pts[1], 0.2, 10.6, 0.5);
}

TEST_F(ObsFiles, NumericFirstLineWithAnotherCommaCountIsAHeader) {
  const auto pts = readObservationFile(file("b.csv", "12,3\n0.1,10.5,2\n0.2,10.6,3\n"));
  ASSERT_EQ(pts.size(), 2u);
  expectPoint(pts[0], 0.1, 10.5, 2);
}

TEST_F(ObsFiles, NumericFirstLineIsData) {
  const auto pts = readObservationFile(file("c.csv", "0.1,10.5,2\n0.2,10.6,3\n"));
  ASSERT_EQ(pts.size(), 2u);
  expectPoint(pts[0], 0.1, 10.5, 2);
  // An exponent letter does not make the line a header.
  const auto e = readObservationFile(file("e.csv", "1.5e-3,10.5,2\n0.2,10.6,3\n"));
  ASSERT_EQ(e.size(), 2u);
  expectPoint(e[0], 1.5e-3, 10.5, 2);
}

TEST_F(ObsFiles, TwoToSixColumns) {
  const auto two = readObservationFile(file("2.csv", "0.1, -88.3864\n0.2 , 45\n"));
  ASSERT_EQ(two.size(), 2u);
  expectPoint(two[0], 0.1, -88.3864, 1);
  expectPoint(two[1], 0.2, 45, 1);
  const auto six = readObservationFile(file("6.csv", "t,v,w,a,b,c\n1,2,3,4,5,6\n7,8,9,10,11,12\n"));
  ASSERT_EQ(six.size(), 2u);
  expectPoint(six[1], 7, 8, 9);
  const auto four = readObservationFile(file("4.csv", "1,2,3,4\n+5,-6,.7,8\n"));
  ASSERT_EQ(four.size(), 2u);
  expectPoint(four[1], 5, -6, 0.7);
}

TEST_F(ObsFiles, BlankSeparatedOrTooWideLinesLoadNoPoint) {
  EXPECT_TRUE(readObservationFile(file("b.txt", "0.1 10.5 1\n0.2 10.6 1\n0.3 10.7 1\n")).empty());
  EXPECT_TRUE(readObservationFile(file("w.csv", "1,2,3,4,5,6,7\n1,2,3,4,5,6,7\n")).empty());
}

TEST_F(ObsFiles, LineEndsAndBlankLines) {
  const std::string crlf = readObservationFile(file("x.csv", "1,2,3\r\n4,5,6\r\n\r\n7,8,9")).size() == 3 ? "ok" : "bad";
  EXPECT_EQ(crlf, "ok");
  EXPECT_EQ(readObservationFile(file("cr.csv", "1,2,3\r4,5,6\r7,8,9\r")).size(), 3u);
  const auto lf = readObservationFile(file("y.csv", "1,2,3\n\n4,5,6\n   \n7,8,9\n\n"));
  ASSERT_EQ(lf.size(), 3u);
  expectPoint(lf[2], 7, 8, 9);
}

TEST_F(ObsFiles, FullPrecisionAndQuotes) {
  const auto pts = readObservationFile(file("p.csv", "2458123.123456789,0.123456789012345,\"1.5\"\n1,2,3\n"));
  ASSERT_EQ(pts.size(), 2u);
  EXPECT_EQ(pts[0].time, 2458123.123456789);
  EXPECT_EQ(pts[0].value, 0.123456789012345);
  EXPECT_EQ(pts[0].weight, 1.5);
}

TEST_F(ObsFiles, NineThousandPointsLoadAndOneMoreFails) {
  std::string text;
  for (int i = 0; i < 9000; ++i) text += std::to_string(i) + ",1.5,1\n";
  EXPECT_EQ(readObservationFile(file("9000.csv", text)).size(), 9000u);
  text += "9000,1.5,1\n";
  EXPECT_EQ(errorOf([&] { readObservationFile(file("9001.csv", text)); }), 9);
}

TEST_F(ObsFiles, BadInputFailsWithTheSystemMessage) {
  EXPECT_EQ(errorOf([&] { readObservationFile((dir_ / "absent.csv").string()); }), 53);
  EXPECT_EQ(errorOf([&] { readObservationFile(file("empty.csv", "")); }), 62);
  EXPECT_EQ(errorOf([&] { readObservationFile(file("one.csv", "1,2,3\n")); }), 62);
  EXPECT_EQ(errorOf([&] { readObservationFile(file("g.csv", "1,2,3\n4,x,6\n")); }), 321);
  EXPECT_EQ(errorOf([&] { readObservationFile(file("inf.csv", "1,2,3\n4,inf,6\n")); }), 321);
  EXPECT_EQ(errorOf([&] { readObservationFile(file("nan.csv", "1,2,3\n4,nan,6\n")); }), 321);
  EXPECT_EQ(errorOf([&] { readObservationFile(file("big.csv", "1,2,3\n4,1e999,6\n")); }), 6);
  EXPECT_EQ(errorOf([&] { readObservationFile(file("short.csv", "1,2,3\n4,5\n6,7,8\n")); }), 321);
  EXPECT_EQ(errorOf([&] { readObservationFile(file("tail.csv", "1,2,3\n4,5,6\n7,8\n")); }), 62);
  EXPECT_EQ(errorOf([&] { readObservationFile(file("long.csv", "1,2,3\n4,5,6\n7,8,9,10\n")); }), 321);
  EXPECT_EQ(errorOf([&] { readObservationFile(file("empty-item.csv", "1,2,3\n4,,6\n")); }), 321);
  std::string junk("1,2,3\n", 6);
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37) & 0xff);
  EXPECT_NE(errorOf([&] { readObservationFile(file("junk.bin", junk)); }), 0);
  // The message keeps the table's text first, then names the file and the line.
  const std::string g2 = file("g2.csv", "1,2,3\n4,x,6\n");
  try {
    readObservationFile(g2);
    ADD_FAILURE();
  } catch (const TavrinError& e) {
    EXPECT_EQ(std::string(e.what()), "Error 321: Invalid file format.\nFile: " + g2 + "\nline 2: \"4,x,6\"");
  }
  struct Case {
    const char* content;
    const char* detail;
  };
  for (const Case& c : {Case{"t,v\r\n0.1,1\r\n\r\n0.5,abc\r\n0.6,2\r\n", "\nline 4: \"0.5,abc\""},
                        Case{"1,2,3\n4,5,6\n7,8\n", "\nline 3: \"7,8\""},
                        Case{"1,2\n", ""}}) {
    const std::string path = file("bad.csv", c.content);
    try {
      readObservationFile(path);
      ADD_FAILURE() << c.content;
    } catch (const TavrinError& e) {
      EXPECT_EQ(e.detail(), "File: " + path + c.detail) << c.content;
    }
  }
  EXPECT_EQ(errorOf([&] { readObservationFile(folder() + "/none.csv"); }), 53);
}

TEST_F(ObsFiles, LoadFillsTheCurveAndSwitchesVelocityCurvesOn) {
  file("rv2.csv", "phase,rv\n0.1,-50\n0.6,50\n");
  ParameterSet p;
  p.curves[2].dataFile = "rv2.csv";
  ASSERT_EQ(p.IFVC2, 0);
  loadObservationFile(p, 2, folder());
  EXPECT_EQ(p.IFVC2, 1);
  EXPECT_EQ(p.IFVC1, 0);
  ASSERT_EQ(p.curves[2].points.size(), 2u);
  expectPoint(p.curves[2].points[1], 0.6, 50, 1);

  file("rv1.csv", "0.1,-50,1\n0.6,50,1\n");
  loadObservationFile(p, 1, folder(), "rv1.csv");
  EXPECT_EQ(p.IFVC1, 1);
  EXPECT_EQ(p.curves[1].dataFile, "rv1.csv");

  file("lc.csv", "0.1,1.0,1\n0.6,0.5,1\n");
  ParameterSet q;
  loadObservationFile(q, 5, folder(), "lc.csv");
  EXPECT_EQ(q.curves[5].points.size(), 2u);
  EXPECT_EQ(q.IFVC1, 0);
  EXPECT_EQ(q.IFVC2, 0);
}

TEST_F(ObsFiles, NoCommaFileEmptiesTheCurve) {
  file("blank.txt", "0.1 1 1\n0.2 1 1\n");
  ParameterSet p;
  p.curves[3].points = {{1, 2, 3}};
  loadObservationFile(p, 3, folder(), "blank.txt");
  EXPECT_TRUE(p.curves[3].points.empty());
  EXPECT_EQ(p.curves[3].dataFile, "blank.txt");
}

TEST_F(ObsFiles, FailureLeavesTheCurveAsItWas) {
  std::string text;
  for (int i = 0; i < 9001; ++i) text += std::to_string(i) + ",1,1\n";
  file("9001.csv", text);
  file("garbage.csv", "1,2,3\n4,5,6\nnot,a,number\n");
  ParameterSet p;
  p.curves[1].dataFile = "old.csv";
  p.curves[1].points = {{1, 2, 3}, {4, 5, 6}};
  for (const char* name : {"9001.csv", "garbage.csv", "missing.csv"}) {
    EXPECT_NE(errorOf([&] { loadObservationFile(p, 1, folder(), name); }), 0) << name;
    EXPECT_EQ(p.curves[1].dataFile, "old.csv");
    ASSERT_EQ(p.curves[1].points.size(), 2u);
    EXPECT_EQ(p.curves[1].points[1].weight, 6);
    EXPECT_EQ(p.IFVC1, 0);
  }
}

TEST_F(ObsFiles, CurveIndexOutsideOneToSevenIsASubscriptError) {
  file("ok.csv", "1,2\n3,4\n");
  ParameterSet p;
  p.curves[1].dataFile = "ok.csv";
  EXPECT_EQ(errorOf([&] { loadObservationFile(p, 8, folder()); }), 9);
  EXPECT_EQ(errorOf([&] { loadObservationFile(p, 0, folder(), "ok.csv"); }), 9);
  EXPECT_EQ(errorOf([&] { loadObservationFile(p, -3, folder(), "ok.csv"); }), 9);
  EXPECT_EQ(errorOf([&] { loadObservationFile(p, 3, folder(), ""); }), 53);
}
