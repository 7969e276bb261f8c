#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "model/lci_writer.h"
#include "model/number_fields.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;

namespace {

std::string dataPath(const std::string& name) { return std::string(TAVRIN_SOURCE_DIR) + "/tests/model/data/" + name; }
std::string dataText(const std::string& name) { return readWholeFile(dataPath(name)); }

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> out;
  for (auto v : detail::splitLines(text)) out.emplace_back(v);
  return out;
}
std::string joinCrLf(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}
std::string toLf(std::string s) {
  std::string out;
  for (char c : s)
    if (c != '\r') out += c;
  return out;
}

int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const TavrinError& e) {
    return e.number();
  }
  return 0;
}

// Everything a file can carry, as text, for comparing two loads value by value.
std::string valuesOf(const ParameterSet& p) {
  std::ostringstream o;
  o.precision(17);
  for (const auto& f : scalarFields()) o << f.name << '=' << *getScalar(p, f.name) << ' ';
  for (int k = 1; k <= kAdjustKeys; ++k) o << p.adjustKeys[static_cast<size_t>(k)];
  o << " adj";
  for (auto k : p.adjustedParams) o << ' ' << k;
  o << " inc";
  for (int k = 1; k <= kIncrements; ++k) o << ' ' << p.increments[static_cast<size_t>(k)];
  o << ' ' << leadingNumber(p.x2Increment);
  o << " misc " << p.IFDER << p.IFM << p.IFR << ' ' << p.XLAMDA << ' ' << p.KO << p.KDISK << p.NPPL;
  o << " spots " << p.spotCount[1] << p.spotCount[2] << p.totalSpotCount << ' ' << p.spotAStar << p.spotANumber
    << p.spotBStar << p.spotBNumber;
  for (int s = 1; s <= 2; ++s)
    for (int n = 1; n <= p.spotCount[static_cast<size_t>(s)]; ++n) {
      const Spot& sp = p.spots[static_cast<size_t>(s)][static_cast<size_t>(n)];
      o << ' ' << sp.xlat << ',' << sp.xlong << ',' << sp.radsp << ',' << sp.temsp;
    }
  o << " curves " << p.IFVC1 << p.IFVC2 << p.NLC << p.velocityCurveCount;
  for (int r = 1; r <= kCurveRows; ++r) {
    const CurveRow& c = p.curves[static_cast<size_t>(r)];
    o << "\nrow" << r << ' ' << c.band << ' ' << c.l1 << ' ' << c.l2 << ' ' << c.x1 << ' ' << c.x2 << ' ' << c.y1
      << ' ' << c.y2 << ' ' << c.el3 << ' ' << c.opsf << ' ' << c.noise << ' ' << c.sigma << ' ' << c.wavel << " ["
      << c.dataFile << "]";
    for (const auto& pt : c.points) o << ' ' << pt.time << '/' << pt.value << '/' << pt.weight;
  }
  return o.str();
}

// Every text the window is given parses back to the value held.
void expectLosslessTexts(const InputLoad& load) {
  ASSERT_EQ(load.displayOrder.size(), load.displayTexts.size());
  for (const auto& [control, text] : load.displayTexts) {
    const ScalarField* f = findScalarFieldByControl(control);
    ASSERT_NE(f, nullptr) << control;
    const double held = *getScalar(load.params, f->name);
    if (const ComboList* list = findComboList(control)) {
      bool found = false;
      for (size_t i = 0; i < list->items.size(); ++i)
        if (list->items[i] == text) {
          found = true;
          EXPECT_EQ(static_cast<int>(i) + list->indexOffset, held) << control;
        }
      EXPECT_TRUE(found) << control << " shows " << text;
    } else {
      EXPECT_EQ(leadingNumber(text), held) << control << " shows \"" << text << "\"";
    }
  }
}

}  // namespace

// ---- line reading and record cutting -----------------------------------------

TEST(InputReaderLines, LineEndsOfEveryKind) {
  EXPECT_EQ(linesOf("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(linesOf("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(linesOf("").empty());
  EXPECT_EQ(linesOf("\n"), (std::vector<std::string>{""}));
}

TEST(InputReaderLines, RecordsWrittenAtTheirColumnsAreTakenAsTheyStand) {
  // A one-digit MODE and the fields after it.
  EXPECT_EQ(detail::cutRecord(" 3 0 1 1 30 30", 2, {2, 2, 2, 2, 3, 3}), " 3 0 1 1 30 30");
  // A negative observed value right after the time.
  const std::string obs = "        .10000-88.3864  1.00";
  EXPECT_EQ(detail::cutRecord(obs, 14, {14, 8, 6}), obs);
  // A negative increment after a full first field.
  EXPECT_EQ(detail::cutRecord(" .50D+01-.50D+01", 8, {8, 8}), " .50D+01-.50D+01");
}

TEST(InputReaderLines, OtherLinesFollowTheDropAndRealignRule) {
  EXPECT_EQ(detail::cutRecord("3 0 1 1 30 30", 2, {2, 2, 2, 2, 3, 3}), " 3 0 1 1 30 30");
  EXPECT_EQ(detail::cutRecord("     1 2.5", 3, {3, 4}), "  1 2.5");
  // A token straddling the first field's end is another writer's alignment.
  EXPECT_EQ(detail::cutRecord("   12.5 3.0", 4, {4, 4}), "12.5 3.0");
  // A first field longer than its width is not cut: the record's columns shift.
  EXPECT_EQ(detail::cutRecord("12345 1", 3, {3, 2}), "12345 1");
  EXPECT_EQ(detail::cutRecord("", 3), "");
}

TEST(InputReaderLines, ObservationEndLines) {
  EXPECT_TRUE(detail::isObservationEndLine("-10001."));
  EXPECT_TRUE(detail::isObservationEndLine("-10005.   "));
  EXPECT_TRUE(detail::isObservationEndLine("-10001"));
  EXPECT_FALSE(detail::isObservationEndLine("-1500.50000 12.5000  1.00"));
  EXPECT_FALSE(detail::isObservationEndLine("-1000.00000 12.5000  1.00"));
  EXPECT_FALSE(detail::isObservationEndLine(".10000-88.3864  1.00"));
  EXPECT_FALSE(detail::isObservationEndLine("-999."));
}

TEST(InputReaderLines, LosslessTextKeepsTheFormOnlyWhenItHoldsTheValue) {
  EXPECT_EQ(losslessText(0.2277, fixedField(0.2277, 6, 5)), ".22770");
  EXPECT_EQ(losslessText(0.2277, fixedField(0.2277, 6, 3)), "0.2277");
  EXPECT_EQ(losslessText(7522.664328, fixedField(7522.664328, 15, 4)), "7522.664328");
  EXPECT_EQ(losslessText(1.5e-5, expField(1.5e-5, 12, 5)), "1.5e-05");
  EXPECT_EQ(losslessText(232.5, leftOfPlain(232.5, 10)), " 232.5");
}

TEST(InputReaderNames, DcoNameFromDciName) {
  EXPECT_EQ(dcoNameFor("run.dci"), "run.dco");
  EXPECT_EQ(dcoNameFor("RUN.DCI"), "RUN.dco");
  EXPECT_EQ(dcoNameFor("abc"), "abc.dco");
}

// ---- probes -------------------------------------------------------------------

TEST(InputReaderProbe, HandWrittenFilesOfBothLayouts) {
  EXPECT_EQ(probeLci(dataPath("current.lci")), Layout::Current);
  EXPECT_EQ(probeLci(dataPath("older.lci")), Layout::Older);
  EXPECT_EQ(probeDci(dataPath("current.dci")), Layout::Current);
  EXPECT_EQ(probeDci(dataPath("nppl1.dci")), Layout::Current);
  EXPECT_EQ(probeDci(dataPath("older.dci")), Layout::Older);
}

TEST(InputReaderProbe, SeventyFourCharactersAreOlderSeventyFiveCurrent) {
  auto lci = [](const std::string& fifth) { return "1\r\n2\r\n3\r\n4\r\n" + fifth + "\r\n6\r\n"; };
  EXPECT_EQ(probeLciText(lci(std::string(74, 'x'))), Layout::Older);
  EXPECT_EQ(probeLciText(lci(std::string(75, 'x'))), Layout::Current);
  // Leading blanks are not counted.
  EXPECT_EQ(probeLciText(lci("     " + std::string(74, 'x'))), Layout::Older);
  std::string dci;
  for (int i = 1; i <= 9; ++i) dci += "x\n";
  EXPECT_EQ(probeDciText(dci + std::string(74, 'x') + "\n"), Layout::Older);
  EXPECT_EQ(probeDciText(dci + "  " + std::string(75, 'x')), Layout::Current);
}

TEST(InputReaderProbe, ShortMissingAndEmptyFiles) {
  EXPECT_EQ(errorOf([] { probeLciText("1\r\n2\r\n3\r\n4\r\n"); }), kErrPastEndOfFile);
  EXPECT_EQ(errorOf([] { probeDciText(""); }), kErrPastEndOfFile);
  EXPECT_EQ(errorOf([] { probeLci(dataPath("no-such-file.lci")); }), kErrFileNotFound);
  try {
    probeDciText("");
  } catch (const TavrinError& e) {
    EXPECT_STREQ(e.what(), "Error 62: Input past end of file.");
  }
}

// ---- LCI ------------------------------------------------------------------------

TEST(InputReaderLci, CurrentLayoutEveryField) {
  ParameterSet base;
  base.ISYM = 1;
  base.N1L = 7;
  const InputLoad load = readLci(dataPath("current.lci"), base, Layout::Current);
  const ParameterSet& p = load.params;
  EXPECT_EQ(load.layout, Layout::Current);
  EXPECT_EQ(p.MPAGE, 1);
  EXPECT_EQ(p.NREF, 1);
  EXPECT_EQ(p.MREF, 2);
  EXPECT_EQ(p.IFSMV1, 0);
  EXPECT_EQ(p.IFSMV2, 1);
  EXPECT_EQ(p.ICOR1, 1);
  EXPECT_EQ(p.ICOR2, 0);
  EXPECT_EQ(p.LD, 3);
  EXPECT_EQ(p.JDPHS, 1);
  EXPECT_EQ(p.HJD0, 2450123.456789);
  EXPECT_EQ(p.PERIOD, 1.23456789);
  EXPECT_EQ(p.DPDT, -0.25e-9);
  EXPECT_EQ(p.PSHIFT, 0.0125);
  EXPECT_EQ(p.FRACSD, 0.01);
  EXPECT_EQ(p.NOISE, 1);
  EXPECT_EQ(p.SEED, 138472375.0);
  // Both fields fill their columns.
  EXPECT_EQ(p.JDSTART, 2450000.0);
  EXPECT_EQ(p.JDSTOP, 12450100.5);
  EXPECT_EQ(p.JDINCR, 0.25);
  EXPECT_EQ(p.PHSTRT, -0.1);
  EXPECT_EQ(p.PHSTOP, 1.1);
  EXPECT_EQ(p.PHIN, 0.001);
  EXPECT_EQ(p.PHN, 0.25);
  // A one-digit MODE at the start of the record.
  EXPECT_EQ(p.MODE, 2);
  EXPECT_EQ(p.IPB, 0);
  EXPECT_EQ(p.IFAT1, 1);
  EXPECT_EQ(p.IFAT2, 0);
  EXPECT_EQ(p.N1, 40);
  EXPECT_EQ(p.N2, 35);
  EXPECT_EQ(p.PER, 1.570796);
  EXPECT_EQ(p.DPERDT, 0.15e-4);
  EXPECT_EQ(p.THE, 0.0);
  EXPECT_EQ(p.VUNIT, 100.0);
  EXPECT_EQ(p.E, 0.2277);
  EXPECT_EQ(p.A, 12.5);
  EXPECT_EQ(p.F1, 1.0);
  EXPECT_EQ(p.F2, 1.25);
  EXPECT_EQ(p.VGA, -36.02);
  EXPECT_EQ(p.XINCL, 86.5);
  EXPECT_EQ(p.GR1, 0.32);
  EXPECT_EQ(p.GR2, 1.0);
  EXPECT_EQ(p.MH, -0.5);
  EXPECT_EQ(p.T1, 5800.0);
  EXPECT_EQ(p.T2, 4521.0);
  EXPECT_EQ(p.ALB1, 1.0);
  EXPECT_EQ(p.ALB2, 0.5);
  EXPECT_EQ(p.POTH, 3.8);
  EXPECT_EQ(p.POT2, 4.123);
  EXPECT_EQ(p.RM, 0.76115);
  EXPECT_EQ(p.XBOL1, 0.743);
  EXPECT_EQ(p.XBOL2, 0.638);
  EXPECT_EQ(p.YBOL1, 0.069);
  EXPECT_EQ(p.YBOL2, 0.173);
  EXPECT_EQ(p.BAND, 7);
  EXPECT_EQ(p.L1, 7.84139);
  EXPECT_EQ(p.L2, 0.90038);
  EXPECT_EQ(p.X1, 0.535);
  EXPECT_EQ(p.X2, 0.6);
  EXPECT_EQ(p.Y1, 0.281);
  EXPECT_EQ(p.Y2, 0.2);
  EXPECT_EQ(p.EL3, 0.05);
  EXPECT_EQ(p.OPSF, 0.0);
  EXPECT_EQ(p.ZERO, 8.0);
  EXPECT_EQ(p.FACTOR, 1.0);
  EXPECT_EQ(p.WAVEL, 0.55);
  // DC-only fields are not in an LCI.
  EXPECT_EQ(p.ISYM, 1);
  EXPECT_EQ(p.N1L, 7);
  EXPECT_EQ(std::count(load.carriedFields.begin(), load.carriedFields.end(), "N1L"), 0);
  EXPECT_EQ(load.carriedFields.size(), scalarFields().size() - 3);

  ASSERT_EQ(p.spotCount[1], 2);
  ASSERT_EQ(p.spotCount[2], 1);
  EXPECT_EQ(p.totalSpotCount, 3);
  EXPECT_EQ(p.spots[1][1].xlat, 1.5708);
  EXPECT_EQ(p.spots[1][1].xlong, 0.5);
  EXPECT_EQ(p.spots[1][2].xlat, -0.35);
  EXPECT_EQ(p.spots[1][2].xlong, 3.14159);
  EXPECT_EQ(p.spots[1][2].radsp, 0.15);
  EXPECT_EQ(p.spots[1][2].temsp, 1.1);
  EXPECT_EQ(p.spots[2][1].xlong, 6.2);
  EXPECT_EQ(p.spots[2][1].temsp, 0.85);

  EXPECT_TRUE(load.star1Radiative);
  EXPECT_FALSE(load.star2Radiative);
  EXPECT_TRUE(load.dcoName.empty());
}

TEST(InputReaderLci, DisplayTextsKeepTheFormWhenExactAndEveryDigitOtherwise) {
  const InputLoad load = readLci(dataPath("current.lci"), ParameterSet{}, Layout::Current);
  const auto& t = load.displayTexts;
  EXPECT_EQ(t.at("Combo5"), "1:LC");
  EXPECT_EQ(t.at("Combo6"), "2:detailed");
  EXPECT_EQ(t.at("Combo2"), "3: SqRt");
  EXPECT_EQ(t.at("Combo1"), "1: JD");
  EXPECT_EQ(t.at("Combo7"), "1:yes");
  EXPECT_EQ(t.at("Combo3"), "2: detached");
  EXPECT_EQ(t.at("Combo4"), "7: V");
  EXPECT_EQ(t.at("Text02"), "1");
  EXPECT_EQ(t.at("Text28"), " 40");
  EXPECT_EQ(t.at("Text10"), "2450123.456789");  // F15.4 would drop two digits
  EXPECT_EQ(t.at("Text11"), "1.23456789");      // Left 10 would drop one
  EXPECT_EQ(t.at("Text12"), "-2.5e-10");
  EXPECT_EQ(t.at("Text13"), "     .0125");
  EXPECT_EQ(t.at("Text16"), "  138472375");
  EXPECT_EQ(t.at("Text18"), "  12450100.5000");
  EXPECT_EQ(t.at("Text31"), "1.5e-05");  // a "D" text would not parse back
  EXPECT_EQ(t.at("Text34"), ".22770");
  EXPECT_EQ(t.at("Text38"), "  -36.0200");
  EXPECT_EQ(t.at("Text42"), " 5800.0");
  EXPECT_EQ(t.at("Text46"), " 3.8");
  EXPECT_EQ(t.at("Text48"), " .761150");
  EXPECT_EQ(t.at("Text53"), "  .5500");
  EXPECT_EQ(t.count("Text1"), 0u);
  expectLosslessTexts(load);
  // File order: the mode comes before the potentials it ties.
  const auto pos = [&](const char* c) {
    return std::find(load.displayOrder.begin(), load.displayOrder.end(), c) - load.displayOrder.begin();
  };
  EXPECT_LT(pos("Combo3"), pos("Text46"));
  EXPECT_LT(pos("Text46"), pos("Text47"));
}

TEST(InputReaderLci, OlderLayout) {
  ParameterSet base;
  base.MPAGE = 1;
  base.MH = 0.7;
  base.BAND = 3;
  const InputLoad load = readLci(dataPath("older.lci"), base, Layout::Older);
  const ParameterSet& p = load.params;
  EXPECT_EQ(p.MPAGE, 1);  // not read: the window's choice stays
  EXPECT_EQ(p.MH, 0.7);
  EXPECT_EQ(p.BAND, 6);  // from the wavelength 0.44
  EXPECT_EQ(p.LD, 2);
  EXPECT_EQ(p.JDPHS, 2);
  EXPECT_EQ(p.HJD0, 7522.664328);
  EXPECT_EQ(p.PERIOD, 232.5);
  EXPECT_EQ(p.DPDT, 0.334425e-9);
  EXPECT_EQ(p.NOISE, 0);
  EXPECT_EQ(p.SEED, 138472375.0);
  EXPECT_EQ(p.JDSTART, 2450000.0);
  EXPECT_EQ(p.JDSTOP, 2450100.5);
  EXPECT_EQ(p.JDINCR, 10.0);
  EXPECT_EQ(p.PHSTRT, -0.1);
  EXPECT_EQ(p.PHSTOP, 1.1);
  EXPECT_EQ(p.PHIN, 0.001);
  EXPECT_EQ(p.PHN, 0.25);
  EXPECT_EQ(p.MODE, -1);
  EXPECT_EQ(p.IFAT2, 1);
  EXPECT_EQ(p.THE, 0.12);
  EXPECT_EQ(p.DPERDT, 0.78963e-12);
  EXPECT_EQ(p.E, 0.05);
  EXPECT_EQ(p.A, 12.5);
  EXPECT_EQ(p.F1, 1.0);
  EXPECT_EQ(p.F2, 1.25);
  EXPECT_EQ(p.VGA, -36.02);
  EXPECT_EQ(p.XINCL, 86.5);
  EXPECT_EQ(p.GR1, 0.32);
  EXPECT_EQ(p.GR2, 1.0);
  EXPECT_EQ(p.ALB1, 1.0);
  EXPECT_EQ(p.ALB2, 0.5);
  EXPECT_EQ(p.POTH, 3.8);
  EXPECT_EQ(p.POT2, 4.123);
  EXPECT_EQ(p.RM, 0.76115);
  EXPECT_EQ(p.XBOL1, 0.743);
  EXPECT_EQ(p.YBOL2, 0.173);
  EXPECT_EQ(p.WAVEL, 0.44);
  EXPECT_EQ(p.L1, 7.84139);
  EXPECT_EQ(p.L2, 0.90038);
  EXPECT_EQ(p.X1, 0.535);
  EXPECT_EQ(p.X2, 0.6);
  EXPECT_EQ(p.Y1, 0.281);
  EXPECT_EQ(p.Y2, 0.2);
  EXPECT_EQ(p.EL3, 0.05);
  EXPECT_EQ(p.ZERO, 8.0);
  EXPECT_EQ(p.FACTOR, 1.0);
  EXPECT_EQ(p.spotCount[1], 1);
  EXPECT_EQ(p.spotCount[2], 0);
  EXPECT_EQ(p.spots[1][1].xlat, -0.35);
  EXPECT_EQ(load.displayTexts.count("Combo5"), 0u);
  EXPECT_EQ(load.displayTexts.count("Text4"), 0u);
  EXPECT_EQ(load.displayTexts.at("Combo3"), "-1: X-ray binary");
  EXPECT_EQ(load.displayTexts.at("Combo4"), "6: B");
  // The band list rewrites the wavelength box, so it is filled first.
  const auto& order = load.displayOrder;
  EXPECT_LT(std::find(order.begin(), order.end(), "Combo4"), std::find(order.begin(), order.end(), "Text53"));
  expectLosslessTexts(load);
}

TEST(InputReaderLci, OlderLayoutBandFollowsOnlyKnownWavelengths) {
  std::vector<std::string> lines = linesOf(dataText("older.lci"));
  ParameterSet base;
  base.BAND = 3;
  const struct {
    const char* wavel;
    int band;
  } cases[] = {{"  .350000", 5}, {"  .350900", 5}, {"  .351000", 3}, {"  .550000", 7},
               {"  .653000", 15}, {"  .789000", 16}, {"  .700000", 3}};
  for (const auto& c : cases) {
    lines[6].replace(0, 9, c.wavel);
    const InputLoad load = readLciText(joinCrLf(lines), base, Layout::Older);
    EXPECT_EQ(load.params.BAND, c.band) << c.wavel;
    EXPECT_EQ(load.displayTexts.count("Combo4"), c.band == 3 ? 0u : 1u);
  }
}

TEST(InputReaderLci, SpotListEdges) {
  const std::vector<std::string> lines = linesOf(dataText("current.lci"));
  const std::string head = joinCrLf(std::vector<std::string>(lines.begin(), lines.begin() + 7));
  const std::string spot = "   .10000   .20000   .30000   .90000\r\n";
  std::string ten, eleven;
  for (int i = 0; i < 10; ++i) ten += spot;
  eleven = ten + spot;
  const InputLoad ok = readLciText(head + "300.\r\n" + ten + "300.\r\n150.\r\n9\r\n", ParameterSet{}, Layout::Current);
  EXPECT_EQ(ok.params.spotCount[1], 0);
  EXPECT_EQ(ok.params.spotCount[2], 10);
  EXPECT_EQ(errorOf([&] { readLciText(head + eleven + "300.\r\n300.\r\n150.\r\n9\r\n", {}, Layout::Current); }),
            kErrSubscript);
  EXPECT_EQ(errorOf([&] { readLciText(head + "300.\r\n" + eleven + "300.\r\n150.\r\n9\r\n", {}, Layout::Current); }),
            kErrSubscript);
  // The file ends inside a spot list.
  EXPECT_EQ(errorOf([&] { readLciText(head + spot, {}, Layout::Current); }), kErrPastEndOfFile);
  EXPECT_EQ(errorOf([&] { readLciText(head + "300.\r\n" + spot, {}, Layout::Current); }), kErrPastEndOfFile);
  // Every field read, but the two closing lines are missing.
  EXPECT_EQ(errorOf([&] { readLciText(head + "300.\r\n300.\r\n", {}, Layout::Current); }), kErrPastEndOfFile);
  EXPECT_EQ(errorOf([&] { readLciText(head + "300.\r\n300.\r\n150.\r\n", {}, Layout::Current); }), kErrPastEndOfFile);
  // A last line without a line end still counts.
  EXPECT_NO_THROW(readLciText(head + "300.\r\n300.\r\n150.\r\n9", {}, Layout::Current));
}

TEST(InputReaderLci, BlankFieldsReadAsZeroAndBadNumbersFail) {
  std::vector<std::string> lines = linesOf(dataText("current.lci"));
  lines[4].replace(19, 10, std::string(10, ' '));  // F1
  const InputLoad load = readLciText(joinCrLf(lines), ParameterSet{}, Layout::Current);
  EXPECT_EQ(load.params.F1, 0.0);
  EXPECT_EQ(load.params.F2, 1.25);

  std::vector<std::string> big = linesOf(dataText("current.lci"));
  big[3].replace(8, 3, "9E9");  // N1 beyond 16 bits
  EXPECT_EQ(errorOf([&] { readLciText(joinCrLf(big), {}, Layout::Current); }), kErrOverflow);
  std::vector<std::string> huge = linesOf(dataText("current.lci"));
  huge[4].replace(6, 13, "       1E999 ");  // A
  EXPECT_EQ(errorOf([&] { readLciText(joinCrLf(huge), {}, Layout::Current); }), kErrOverflow);
  std::vector<std::string> mode = linesOf(dataText("current.lci"));
  mode[3].replace(0, 2, " 7");  // no list item for MODE 7
  EXPECT_EQ(errorOf([&] { readLciText(joinCrLf(mode), {}, Layout::Current); }), kErrInvalidFormat);
}

TEST(InputReaderLci, TemperaturesAreHeldInKelvinAsTyped) {
  std::vector<std::string> lines = linesOf(dataText("current.lci"));
  lines[5].replace(0, 15, " .45213 1.23457");
  const InputLoad load = readLciText(joinCrLf(lines), ParameterSet{}, Layout::Current);
  EXPECT_EQ(load.params.T1, 4521.3);
  EXPECT_EQ(load.params.T2, 12345.7);
  EXPECT_EQ(load.displayTexts.at("Text42"), " 4521.3");
  EXPECT_EQ(load.displayTexts.at("Text43"), "12345.7");
  // The writer's F7.4 and F8.4 hold four decimals.
  EXPECT_NE(lciText(load.params).find("\r\n  .4521  1.2346   1.000"), std::string::npos);
}

TEST(InputReaderLci, LinesWithoutTheirLeadingBlanksStillRead) {
  // Another editor may strip the leading blanks; where no field fills its
  // columns the drop-and-realign rule restores them.
  const std::string text = dataText("current.lci");
  std::string stripped;
  for (auto l : detail::splitLines(text)) {
    size_t i = 0;
    while (i < l.size() && l[i] == ' ') ++i;
    stripped += std::string(l.substr(i)) + "\r\n";
  }
  EXPECT_EQ(valuesOf(readLciText(stripped, {}, Layout::Current).params),
            valuesOf(readLciText(text, {}, Layout::Current).params));
}

// ---- DCI ------------------------------------------------------------------------

TEST(InputReaderDci, CurrentLayoutWithEveryCurveKind) {
  ParameterSet base;
  base.FRACSD = 0.5;
  base.MPAGE = 2;
  base.adjustKeys[30] = '1';
  const InputLoad load = readDci(dataPath("current.dci"), base, Layout::Current);
  const ParameterSet& p = load.params;
  EXPECT_EQ(load.dcoName, "current.dco");

  const double inc[] = {0,    5,    -5,   3,    0.03, 5,    5,    3,    0.03, 0.01, 0.1,  0.1,  0.1, 0.002,
                        -1.0, 0.01, 0.01, 0.01, 0.01, 0.05, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01};
  for (int k = 1; k <= kIncrements; ++k) EXPECT_EQ(p.increments[static_cast<size_t>(k)], inc[k]) << k;
  EXPECT_EQ(p.x2Increment, "0.02");
  std::string keys(p.adjustKeys.begin() + 1, p.adjustKeys.end());
  EXPECT_EQ(keys, "01111111111111101101110111111101111");
  EXPECT_EQ(p.adjustedParams, (std::vector<int16_t>{1, 16, 19, 23, 31}));
  EXPECT_EQ(p.IFDER, 1);
  EXPECT_EQ(p.IFM, 0);
  EXPECT_EQ(p.IFR, 1);
  EXPECT_EQ(p.XLAMDA, 0.001);
  EXPECT_EQ(p.spotAStar, 1);
  EXPECT_EQ(p.spotANumber, 1);
  EXPECT_EQ(p.spotBStar, 2);
  EXPECT_EQ(p.spotBNumber, 1);
  EXPECT_EQ(p.IFVC1, 1);
  EXPECT_EQ(p.IFVC2, 1);
  EXPECT_EQ(p.NLC, 2);
  EXPECT_EQ(p.velocityCurveCount, 2);
  EXPECT_EQ(p.KO, 2);
  EXPECT_EQ(p.KDISK, 0);
  EXPECT_EQ(p.ISYM, 1);
  EXPECT_EQ(p.NPPL, 5);
  EXPECT_EQ(p.LD, 2);
  EXPECT_EQ(p.JDPHS, 2);
  EXPECT_EQ(p.HJD0, 0.0);
  EXPECT_EQ(p.PERIOD, 0.5);
  EXPECT_EQ(p.DPDT, 0.0);
  EXPECT_EQ(p.PSHIFT, -0.0125);
  EXPECT_EQ(p.MODE, 2);
  EXPECT_EQ(p.N1L, 15);
  EXPECT_EQ(p.VUNIT, 100.0);
  EXPECT_EQ(p.E, 0.1);
  EXPECT_EQ(p.A, 12.5);
  EXPECT_EQ(p.VGA, -12.3);
  EXPECT_EQ(p.XINCL, 80.125);
  EXPECT_EQ(p.MH, 0.0);
  EXPECT_EQ(p.T1, 6500.0);
  EXPECT_EQ(p.T2, 5100.0);
  EXPECT_EQ(p.POTH, 5.25);
  EXPECT_EQ(p.POT2, 5.5);
  EXPECT_EQ(p.RM, 0.9);
  EXPECT_EQ(p.YBOL2, 0.173);
  // LC-only fields are not in a DCI.
  EXPECT_EQ(p.FRACSD, 0.5);
  EXPECT_EQ(p.MPAGE, 2);
  EXPECT_EQ(load.displayTexts.count("Combo5"), 0u);

  const CurveRow& v1 = p.curves[1];
  EXPECT_EQ(v1.band, 7);
  EXPECT_EQ(v1.l1, 1.5);
  EXPECT_EQ(v1.l2, 0.8);
  EXPECT_EQ(v1.y2, 0.281);
  EXPECT_EQ(v1.opsf, 0);
  EXPECT_EQ(v1.sigma, 2.5);
  EXPECT_EQ(v1.wavel, 0.55);
  EXPECT_EQ(v1.dataFile, "rv1 data.txt");
  ASSERT_EQ(v1.points.size(), 3u);
  // Negative velocities fill their columns right after the time.
  EXPECT_EQ(v1.points[0].time, 0.1);
  EXPECT_EQ(v1.points[0].value, -88.3864);
  EXPECT_EQ(v1.points[0].weight, 1.0);
  EXPECT_EQ(v1.points[2].value, -12.25);
  EXPECT_EQ(v1.points[2].weight, 0.5);
  EXPECT_EQ(p.curves[2].sigma, 3.0);
  EXPECT_EQ(p.curves[2].dataFile, "");
  EXPECT_TRUE(p.curves[2].points.empty());
  const CurveRow& l1 = p.curves[3];
  EXPECT_EQ(l1.band, 6);
  EXPECT_EQ(l1.l1, 10.5);
  EXPECT_EQ(l1.l2, 2.25);
  EXPECT_EQ(l1.el3, 0.1);
  EXPECT_EQ(l1.noise, 1);
  EXPECT_EQ(l1.sigma, 0.01);
  EXPECT_EQ(l1.wavel, 0.44);
  EXPECT_EQ(l1.dataFile, "a_rather_long_observation_file_name_for_the_B_band_light_curve_2024.csv");
  ASSERT_EQ(l1.points.size(), 12u);
  EXPECT_EQ(l1.points[6].weight, 2.5);
  EXPECT_EQ(l1.points[11].time, 0.6);
  EXPECT_EQ(l1.points[11].value, 10.12);
  const CurveRow& l2 = p.curves[4];
  EXPECT_EQ(l2.noise, 0);
  EXPECT_EQ(l2.dataFile, "v.csv");
  // Times below -1000 are data, not the block's end line.
  ASSERT_EQ(l2.points.size(), 5u);
  EXPECT_EQ(l2.points[0].time, -1500.5);
  EXPECT_EQ(l2.points[4].time, -1499.5);
  EXPECT_EQ(l2.points[1].value, 12.75);

  EXPECT_EQ(p.spotCount[1], 1);
  EXPECT_EQ(p.spotCount[2], 1);
  EXPECT_EQ(p.spots[2][1].radsp, 0.3);
  EXPECT_EQ(p.storedDciRecords[0], "");
  EXPECT_EQ(p.storedDciRecords[8], "2       0.000000  .5000000000D+00   .000000D+00    -.0125");
  EXPECT_EQ(p.storedDciRecords[13].substr(0, 12), "  7   1.5000");
  EXPECT_FALSE(p.storedDciRecords[15].empty());
  EXPECT_TRUE(p.storedDciRecords[16].empty());

  const auto& t = load.displayTexts;
  EXPECT_EQ(t.at("Text1"), "1");
  EXPECT_EQ(t.at("Text11"), " .5");
  EXPECT_EQ(t.at("Text13"), "  -.0125");
  EXPECT_EQ(t.at("Text34"), "  .100");
  EXPECT_EQ(t.at("Text35"), " 12.5000");
  EXPECT_EQ(t.at("Text39"), " 80.125");
  EXPECT_EQ(t.at("Text42"), "   6500");
  EXPECT_EQ(t.at("Text48"), "  .90000");
  expectLosslessTexts(load);
}

TEST(InputReaderDci, KeyThirtyIsNotTakenFromTheFile) {
  ParameterSet base;
  base.adjustKeys[30] = '0';
  const InputLoad load = readDci(dataPath("current.dci"), base, Layout::Current);
  EXPECT_EQ(load.params.adjustKeys[30], '0');
  EXPECT_EQ(load.params.adjustedParams, (std::vector<int16_t>{1, 16, 19, 23, 30, 31}));
}

TEST(InputReaderDci, OnePointPerLineNoSpots) {
  const InputLoad load = readDci(dataPath("nppl1.dci"), ParameterSet{}, Layout::Current);
  const ParameterSet& p = load.params;
  EXPECT_EQ(p.NPPL, 1);
  EXPECT_EQ(p.velocityCurveCount, 0);
  EXPECT_EQ(p.NLC, 1);
  EXPECT_EQ(p.spotCount[1] + p.spotCount[2], 0);
  EXPECT_EQ(p.spotBNumber, 2);
  ASSERT_EQ(p.curves[3].points.size(), 3u);
  EXPECT_EQ(p.curves[3].points[1].value, -10.5);
  EXPECT_EQ(p.curves[3].points[1].weight, 0.25);
  EXPECT_EQ(p.storedDciRecords[12].substr(0, 3), "  6");
}

TEST(InputReaderDci, OlderLayout) {
  ParameterSet base;
  base.MH = 0.3;
  base.curves[1].band = 9;
  const InputLoad load = readDci(dataPath("older.dci"), base, Layout::Older);
  const ParameterSet& p = load.params;
  EXPECT_EQ(p.JDPHS, 1);
  EXPECT_EQ(p.HJD0, 7522.664328);
  EXPECT_EQ(p.PERIOD, 232.5);
  EXPECT_EQ(p.DPDT, 0.334425e-9);
  EXPECT_EQ(p.PSHIFT, 0.0);
  EXPECT_EQ(p.MODE, 2);
  EXPECT_EQ(p.E, 0.05);
  EXPECT_EQ(p.A, 12.5);
  EXPECT_EQ(p.F2, 1.25);
  EXPECT_EQ(p.VGA, -36.02);
  EXPECT_EQ(p.GR2, 1.0);
  EXPECT_EQ(p.MH, 0.3);
  EXPECT_EQ(p.ALB1, 1.0);
  EXPECT_EQ(p.POTH, 3.8);
  EXPECT_EQ(p.POT2, 4.123);
  EXPECT_EQ(p.RM, 0.76115);
  EXPECT_EQ(p.XBOL1, 0.743);
  EXPECT_EQ(p.YBOL2, 0.173);
  const CurveRow& v = p.curves[1];
  EXPECT_EQ(v.band, 9);  // older velocity records carry no band
  EXPECT_EQ(v.wavel, 0.55);
  EXPECT_EQ(v.l1, 1.5);
  EXPECT_EQ(v.l2, 0.8);
  EXPECT_EQ(v.x1, 0.535);
  EXPECT_EQ(v.y2, 0.281);
  EXPECT_EQ(v.sigma, 2.5);
  EXPECT_EQ(v.dataFile, "rv.dat");
  ASSERT_EQ(v.points.size(), 1u);
  EXPECT_EQ(v.points[0].value, -88.3864);
  EXPECT_EQ(v.points[0].weight, 1.0);
  const CurveRow& l = p.curves[3];
  EXPECT_EQ(l.wavel, 0.44);
  EXPECT_EQ(l.l1, 10.5);
  EXPECT_EQ(l.x2, 0.6);
  EXPECT_EQ(l.el3, 0.1);
  EXPECT_EQ(l.noise, 1);
  EXPECT_EQ(l.sigma, 0.01);
  EXPECT_EQ(l.dataFile, "lc.dat");
  ASSERT_EQ(l.points.size(), 2u);
  EXPECT_EQ(l.points[0].weight, 2.5);
  EXPECT_EQ(l.points[1].value, 10.2345);
  EXPECT_EQ(load.displayTexts.count("Text4"), 0u);
  expectLosslessTexts(load);
}

TEST(InputReaderDci, ObservationCountsAndBounds) {
  const std::vector<std::string> all = linesOf(dataText("nppl1.dci"));
  const std::string head = joinCrLf(std::vector<std::string>(all.begin(), all.begin() + 15));  // through "150."
  const std::string point = "        .10000 10.1234  1.00\r\n";
  auto block = [&](int n) {
    std::string s;
    s.reserve(static_cast<size_t>(n) * 30);
    for (int i = 0; i < n; ++i) s += point;
    return s;
  };
  EXPECT_EQ(readDciText(head + block(9001) + "  -10001.\r\n", {}, Layout::Current).params.curves[3].points.size(),
            9001u);
  EXPECT_EQ(errorOf([&] { readDciText(head + block(9002) + "  -10001.\r\n", {}, Layout::Current); }), kErrSubscript);
  // An end line that claims more points than its last line holds.
  EXPECT_EQ(errorOf([&] { readDciText(head + block(2) + "  -10003.\r\n", {}, Layout::Current); }), kErrInvalidFormat);
  // An empty block.
  EXPECT_TRUE(readDciText(head + "  -10001.\r\n", {}, Layout::Current).params.curves[3].points.empty());
  // A block without its end line.
  EXPECT_EQ(errorOf([&] { readDciText(head + block(3), {}, Layout::Current); }), kErrPastEndOfFile);
}

TEST(InputReaderDci, CurveAndSpotBounds) {
  std::vector<std::string> lines = linesOf(dataText("nppl1.dci"));
  lines[5].replace(4, 2, " 6");  // six light curves
  EXPECT_EQ(errorOf([&] { readDciText(joinCrLf(lines), {}, Layout::Current); }), kErrSubscript);
  std::vector<std::string> spots = linesOf(dataText("nppl1.dci"));
  spots.insert(spots.begin() + 12, 11, "   .10000   .20000   .30000   .90000");
  EXPECT_EQ(errorOf([&] { readDciText(joinCrLf(spots), {}, Layout::Current); }), kErrSubscript);
  spots.erase(spots.begin() + 12);
  EXPECT_EQ(readDciText(joinCrLf(spots), {}, Layout::Current).params.spotCount[1], 10);
  // Keys that are not "0" or "1" hold.
  std::vector<std::string> keys = linesOf(dataText("nppl1.dci"));
  keys[3][1] = 'x';
  EXPECT_EQ(readDciText(joinCrLf(keys), {}, Layout::Current).params.adjustKeys[1], '1');
  // An OPSF beyond 16 bits.
  std::vector<std::string> opsf = linesOf(dataText("nppl1.dci"));
  opsf[11].replace(59, 10, "  .400D+06");
  EXPECT_EQ(errorOf([&] { readDciText(joinCrLf(opsf), {}, Layout::Current); }), kErrOverflow);
}

// ---- every kind of line end and bad input ---------------------------------------

TEST(InputReaderRobustness, LfOnlyLineEndsReadLikeCrLf) {
  for (const char* name : {"current.lci", "older.lci"}) {
    const std::string text = dataText(name);
    const Layout layout = probeLciText(text);
    EXPECT_EQ(probeLciText(toLf(text)), layout);
    const InputLoad a = readLciText(text, {}, layout), b = readLciText(toLf(text), {}, layout);
    EXPECT_EQ(valuesOf(a.params), valuesOf(b.params)) << name;
    EXPECT_EQ(a.displayTexts, b.displayTexts);
  }
  for (const char* name : {"current.dci", "nppl1.dci", "older.dci"}) {
    const std::string text = dataText(name);
    const Layout layout = probeDciText(text);
    EXPECT_EQ(probeDciText(toLf(text)), layout);
    EXPECT_EQ(valuesOf(readDciText(text, {}, layout).params), valuesOf(readDciText(toLf(text), {}, layout).params))
        << name;
  }
}

TEST(InputReaderRobustness, EveryTruncationFailsWithTheSystemMessage) {
  for (const char* name : {"current.lci", "current.dci", "older.dci"}) {
    const std::string text = dataText(name);
    const bool lci = std::string(name).find(".lci") != std::string::npos;
    const Layout layout = lci ? probeLciText(text) : probeDciText(text);
    auto read = [&](const std::string& t) {
      return errorOf([&] { lci ? (void)readLciText(t, {}, layout) : (void)readDciText(t, {}, layout); });
    };
    // Whole lines missing at the end: input past end of file.
    size_t lines = 0;
    for (size_t at = text.find("\r\n"); at + 2 < text.size(); at = text.find("\r\n", at + 2), ++lines)
      EXPECT_EQ(read(text.substr(0, at + 2)), kErrPastEndOfFile) << name << " after line " << lines + 1;
    EXPECT_GT(lines, 10u);
    // A cut inside a line either fails with a message or leaves a file that
    // still reads (a cut time such as "-1500." reads as a block's end line).
    for (size_t n = 0; n < text.size(); ++n) {
      const int err = read(text.substr(0, n));
      EXPECT_TRUE(err == 0 || err == kErrPastEndOfFile || err == kErrInvalidFormat) << name << " cut at " << n << ": " << err;
    }
  }
}

TEST(InputReaderRobustness, GarbageAndBinaryJunkNeverCrash) {
  std::mt19937 rng(12345);
  std::vector<std::string> inputs = {"", "\r\n", std::string(100, '\n'), "hello\r\nworld\r\n",
                                     std::string(100000, 'x'), std::string(5000, '\0')};
  std::string garbage;
  for (int i = 0; i < 200; ++i) garbage += "garbage line " + std::to_string(i) + "\r\n";
  inputs.push_back(garbage);
  for (int n = 0; n < 200; ++n) {
    std::string junk(static_cast<size_t>(rng() % 4000), '\0');
    for (char& c : junk) c = static_cast<char>(rng() % 256);
    inputs.push_back(junk);
    // A real file with a few bytes hit.
    std::string hit = dataText(n % 2 ? "current.dci" : "current.lci");
    for (int k = 0; k < 3; ++k) hit[rng() % hit.size()] = static_cast<char>(rng() % 256);
    inputs.push_back(hit);
  }
  for (const auto& in : inputs) {
    for (Layout layout : {Layout::Current, Layout::Older}) {
      try {
        (void)readLciText(in, {}, layout);
      } catch (const TavrinError& e) {
        EXPECT_FALSE(std::string(e.what()).empty());
      }
      try {
        (void)readDciText(in, {}, layout);
      } catch (const TavrinError& e) {
        EXPECT_FALSE(std::string(e.what()).empty());
      }
    }
    try {
      (void)probeLciText(in);
      (void)probeDciText(in);
    } catch (const TavrinError& e) {
      EXPECT_EQ(e.number(), kErrPastEndOfFile);
    }
  }
}

TEST(InputReaderRobustness, GarbageFailsWithTheSystemMessages) {
  std::string garbage;
  for (int i = 0; i < 200; ++i) garbage += "garbage line\r\n";
  // Garbage lines are spot lines that never end.
  EXPECT_EQ(errorOf([&] { readLciText(garbage, {}, Layout::Current); }), kErrSubscript);
  // In a DCI they already fail as records: JDPHS 0 has no list item.
  EXPECT_EQ(errorOf([&] { readDciText(garbage, {}, Layout::Current); }), kErrInvalidFormat);
  EXPECT_EQ(errorOf([] { readLciText("", {}, Layout::Current); }), kErrPastEndOfFile);
  EXPECT_EQ(errorOf([] { readDci(dataPath("missing.dci"), {}, Layout::Current); }), kErrFileNotFound);
}

TEST(InputReaderRobustness, FileFailuresNameTheFileAndTheLine) {
  const std::string dir = testing_support::freshTestDir("model").string();
  struct Case {
    const char* source;
    size_t line;  // 1-based line to spoil, 0: cut the file after 6 lines
    size_t at;
    const char* text;
    int number;
    bool dci;
  };
  for (const Case& c : {Case{"current.lci", 5, 6, "       1E999 ", kErrOverflow, false},
                        Case{"current.lci", 4, 0, " 7", kErrInvalidFormat, false},
                        Case{"current.dci", 9, 0, " 7", kErrInvalidFormat, true},
                        Case{"current.dci", 0, 0, "", kErrPastEndOfFile, true}}) {
    std::vector<std::string> lines = linesOf(dataText(c.source));
    if (c.line) lines[c.line - 1].replace(c.at, std::string(c.text).size(), c.text);
    else lines.resize(6);
    const std::string path = dir + "/spoilt" + (c.dci ? ".dci" : ".lci");
    testing_support::spit(path, joinCrLf(lines));
    try {
      if (c.dci) readDci(path, {}, Layout::Current);
      else readLci(path, {}, Layout::Current);
      ADD_FAILURE() << c.source << " " << c.line;
    } catch (const TavrinError& e) {
      EXPECT_EQ(e.number(), c.number);
      const std::string where = c.line ? "\nline " + std::to_string(c.line) + ": \"" + lines[c.line - 1] + "\"" : "";
      EXPECT_EQ(std::string(e.what()), errorMessage(c.number) + "\nFile: " + path + where);
    }
  }
  try {
    probeLci(dir + "/none.lci");
  } catch (const TavrinError& e) {
    EXPECT_EQ(std::string(e.what()), "Error 53: File not found.\nFile: " + dir + "/none.lci");
  }
}

// ---- round trips through the writers -------------------------------------------

TEST(InputReaderRoundTrip, CurrentFilesComeBackByteForByteAfterOneSave) {
  for (const char* name : {"current.lci", "current.dci", "nppl1.dci"}) {
    const bool lci = std::string(name).find(".lci") != std::string::npos;
    const std::string file = dataText(name);
    auto load = [&](const std::string& t) {
      return lci ? readLciText(t, {}, Layout::Current) : readDciText(t, {}, Layout::Current);
    };
    auto text = [&](const ParameterSet& p) { return lci ? lciText(p) : dciText(p); };
    const InputLoad first = load(file);
    const std::string once = text(first.params);
    // These files were typed in the writer's own field forms.
    EXPECT_EQ(once, file) << name;
    const InputLoad second = load(once);
    EXPECT_EQ(valuesOf(second.params), valuesOf(first.params)) << name;
    EXPECT_EQ(text(second.params), once) << name;
    EXPECT_EQ(second.displayTexts, first.displayTexts) << name;
  }
}

TEST(InputReaderRoundTrip, OlderFilesKeepEveryValueInTheCurrentLayout) {
  for (const char* name : {"older.lci", "older.dci"}) {
    const bool lci = std::string(name).find(".lci") != std::string::npos;
    const std::string file = dataText(name);
    const InputLoad first =
        lci ? readLciText(file, {}, Layout::Older) : readDciText(file, {}, Layout::Older);
    const std::string current = lci ? lciText(first.params) : dciText(first.params);
    ASSERT_EQ(lci ? probeLciText(current) : probeDciText(current), Layout::Current);
    const InputLoad second =
        lci ? readLciText(current, {}, Layout::Current) : readDciText(current, {}, Layout::Current);
    EXPECT_EQ(valuesOf(second.params), valuesOf(first.params)) << name;
  }
}

TEST(InputReaderRoundTrip, FieldsThatFillTheirColumnsComeBackExactly) {
  ParameterSet p;
  p.MODE = 5;  // one digit, then fields that fill
  p.IPB = -1;
  p.IFAT1 = -1;
  p.N1 = 100;
  p.N2 = -10;
  p.increments[1] = -5.0;
  p.increments[2] = -0.5;
  p.NLC = 1;
  p.NPPL = 3;
  p.curves[3].points = {{12345678.1234, -88.3864, 1.0}, {0.5, -100.123, 99.99}, {-2000.5, 123.456, -1.5},
                        {-1234.5, 1.0, 0.0}};
  p.spotCount[1] = 1;
  p.totalSpotCount = 1;
  p.spots[1][1] = {-1.23456, -3.14159, 0.5, 1.1};
  const std::string written = dciText(p);
  const InputLoad back = readDciText(written, ParameterSet{}, Layout::Current);
  EXPECT_EQ(back.params.MODE, 5);
  EXPECT_EQ(back.params.IPB, -1);
  EXPECT_EQ(back.params.IFAT1, -1);
  EXPECT_EQ(back.params.N2, -10);
  EXPECT_EQ(back.params.increments[1], -5.0);
  EXPECT_EQ(back.params.increments[2], -0.5);
  ASSERT_EQ(back.params.curves[3].points.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(back.params.curves[3].points[i].time, p.curves[3].points[i].time) << i;
    EXPECT_EQ(back.params.curves[3].points[i].value, p.curves[3].points[i].value) << i;
    EXPECT_EQ(back.params.curves[3].points[i].weight, p.curves[3].points[i].weight) << i;
  }
  EXPECT_EQ(back.params.spots[1][1].xlong, -3.14159);
  EXPECT_EQ(dciText(back.params), written);

  ParameterSet q;
  q.MODE = 1;
  q.IPB = 10;
  q.IFAT1 = 10;
  q.N1 = 999;
  q.PER = 123456.5;
  q.JDSTART = -1234567.5;
  const std::string lci = lciText(q);
  const InputLoad lback = readLciText(lci, ParameterSet{}, Layout::Current);
  EXPECT_EQ(lback.params.MODE, 1);
  EXPECT_EQ(lback.params.IPB, 10);
  EXPECT_EQ(lback.params.IFAT1, 10);
  EXPECT_EQ(lback.params.N1, 999);
  EXPECT_EQ(lback.params.JDSTART, -1234567.5);
  EXPECT_EQ(lciText(lback.params), lci);
}
