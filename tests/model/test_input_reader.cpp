#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <sstream>

#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "model/lci_writer.h"
#include "model/number_fields.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"
#include "model/settings_words.h"
#include "output/report_builders.h"
#include "test_files.h"
#include "error_of.h"

using namespace tavrin;
using testing_support::errorOf;
using testing_support::expectGolden;
using testing_support::withSettings;

namespace {

std::string dataPath(const std::string& name) { return std::string(TAVRIN_SOURCE_DIR) + "/tests/model/data/" + name; }
std::string dataText(const std::string& name) { return readWholeFile(dataPath(name)); }
bool isLci(const std::string& name) { return name.find(".lci") != std::string::npos; }

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> out;
  for (auto v : detail::splitLines(text)) out.emplace_back(v);
  return out;
}
std::string joinCrLf(const std::vector<std::string>& lines) { return testreports::join(lines, "\r\n"); }
// A data file with one line's columns overwritten (line 1-based, column 0-based).
std::string spoilt(const std::string& name, size_t line, size_t at, const std::string& text) {
  std::vector<std::string> lines = linesOf(dataText(name));
  lines[line - 1].replace(at, text.size(), text);
  return joinCrLf(lines);
}

// The message a step fails with.
std::string whatOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const TavrinError& e) {
    return e.what();
  }
  return "(no error)";
}

InputLoad readText(const std::string& name, const std::string& text, Layout layout) {
  return isLci(name) ? readLciText(text, {}, layout) : readDciText(text, {}, layout);
}

// Everything a file can carry, one value a line.
std::string valuesOf(const ParameterSet& p) {
  std::ostringstream o;
  o.precision(17);
  for (const auto& f : scalarFields()) o << f.name << '=' << *getScalar(p, f.name) << '\n';
  o << "keys " << std::string(p.adjustKeys.begin() + 1, p.adjustKeys.end()) << "\nadjusted";
  for (auto k : p.adjustedParams) o << ' ' << k;
  o << "\nincrements";
  for (int k = 1; k <= kIncrements; ++k) o << ' ' << p.increments[static_cast<size_t>(k)];
  o << " [" << p.x2Increment << "]";
  o << "\nIFDER IFM IFR " << p.IFDER << ' ' << p.IFM << ' ' << p.IFR << " XLAMDA " << p.XLAMDA << " KO " << p.KO
    << " KDISK " << p.KDISK << " NPPL " << p.NPPL;
  o << "\nspots " << p.spotCount[1] << ' ' << p.spotCount[2] << ' ' << p.totalSpotCount << " A " << p.spotAStar << ' '
    << p.spotANumber << " B " << p.spotBStar << ' ' << p.spotBNumber;
  for (int s = 1; s <= 2; ++s)
    for (int n = 1; n <= p.spotCount[static_cast<size_t>(s)]; ++n) {
      const Spot& sp = p.spots[static_cast<size_t>(s)][static_cast<size_t>(n)];
      o << "\nspot " << s << '.' << n << ' ' << sp.xlat << ' ' << sp.xlong << ' ' << sp.radsp << ' ' << sp.temsp;
    }
  o << "\ncurves IFVC1 " << p.IFVC1 << " IFVC2 " << p.IFVC2 << " NLC " << p.NLC << " velocity " << p.velocityCurveCount;
  for (int r = 1; r <= kCurveRows; ++r) {
    const CurveRow& c = p.curves[static_cast<size_t>(r)];
    o << "\nrow" << r << ' ' << c.band << ' ' << c.l1 << ' ' << c.l2 << ' ' << c.x1 << ' ' << c.x2 << ' ' << c.y1
      << ' ' << c.y2 << ' ' << c.el3 << ' ' << c.opsf << ' ' << c.noise << ' ' << c.sigma << ' ' << c.wavel << " ["
      << c.dataFile << "]";
    for (const auto& pt : c.points) o << "\n  " << pt.time << ' ' << pt.value << ' ' << pt.weight;
  }
  return o.str() + '\n';
}

// The whole load: values, stored records, fields carried and the texts shown, in filling order.
std::string dump(const InputLoad& l) {
  std::ostringstream o;
  o << (l.layout == Layout::Current ? "current" : "older") << " layout, radiative " << l.star1Radiative << ' '
    << l.star2Radiative << ", dco [" << l.dcoName << "]\n"
    << valuesOf(l.params);
  for (size_t k = 0; k < l.params.storedDciRecords.size(); ++k)
    if (!l.params.storedDciRecords[k].empty()) o << "record " << k << " [" << l.params.storedDciRecords[k] << "]\n";
  o << "carried";
  for (const auto& f : l.carriedFields) o << ' ' << f;
  o << '\n';
  for (const auto& c : l.displayOrder) o << c << " [" << l.displayTexts.at(c) << "]\n";
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
      const auto it = std::find(list->items.begin(), list->items.end(), text);
      ASSERT_NE(it, list->items.end()) << control << " shows " << text;
      EXPECT_EQ(static_cast<int>(it - list->items.begin()) + list->indexOffset, held) << control;
    } else {
      EXPECT_EQ(leadingNumber(text), held) << control << " shows \"" << text << "\"";
    }
  }
}

}  // namespace

// ---- line reading and record cutting -----------------------------------------

TEST(InputReaderLines, LineEndsRecordCutsEndLinesAndDcoNames) {
  EXPECT_EQ(linesOf("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(linesOf("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(linesOf("").empty());
  EXPECT_EQ(linesOf("\n"), (std::vector<std::string>{""}));
  const auto rows = testing_support::tableRows(testing_support::goldenPath("model", "reader_lines.tsv"));
  ASSERT_EQ(rows.size(), 18u);
  for (const auto& c : rows) {
    SCOPED_TRACE(c[0] + " [" + c[1] + "]");
    std::vector<int> widths;
    std::istringstream in(c[0] == "cut" ? c[3] : "");
    for (std::string w; std::getline(in, w, ',');) widths.push_back(std::stoi(w));
    const std::string got = c[0] == "dco"   ? dcoNameFor(c[1])
                            : c[0] == "end" ? (detail::isObservationEndLine(c[1]) ? "1" : "0")
                                            : detail::cutRecord(c[1], std::stoi(c[2]), widths);
    EXPECT_EQ(got, c.back());
  }
}

// ---- probes -------------------------------------------------------------------

TEST(InputReaderProbe, LayoutsShortMissingAndEmptyFiles) {
  // 74 characters are the older layout, 75 the current; leading blanks do not count.
  auto lci = [](const std::string& fifth) { return "1\r\n2\r\n3\r\n4\r\n" + fifth + "\r\n6\r\n"; };
  EXPECT_EQ(probeLciText(lci(std::string(74, 'x'))), Layout::Older);
  EXPECT_EQ(probeLciText(lci(std::string(75, 'x'))), Layout::Current);
  EXPECT_EQ(probeLciText(lci("     " + std::string(74, 'x'))), Layout::Older);
  const std::string dci = testreports::join(std::vector<std::string>(9, "x"));
  EXPECT_EQ(probeDciText(dci + std::string(74, 'x') + "\n"), Layout::Older);
  EXPECT_EQ(probeDciText(dci + "  " + std::string(75, 'x')), Layout::Current);

  EXPECT_EQ(errorOf([] { probeLciText("1\r\n2\r\n3\r\n4\r\n"); }), kErrPastEndOfFile);
  EXPECT_EQ(whatOf([] { probeDciText(""); }), "Error 62: Input past end of file.");
}

// ---- whole files --------------------------------------------------------------

// Each file loaded over a base set, dumped whole. The example files are typed
// with blanks between the fields; the "touching" files fill every field to its
// full width with digits, so a field read one column off, or a record's
// widths changed, shows in the dump; the "forms" files give each field a value
// its display form holds exactly, so the form's width and decimals show.
TEST(InputReaderFiles, EveryFileAsAWholeSet) {
  // DC-only fields are not in an LCI; the older one reads no MPAGE or MH, its
  // band follows known wavelengths; LC-only fields are not in a DCI, whose
  // key 30 (held '1') is not taken from it; older velocity records carry no band.
  ParameterSet lciBase = withSettings("ISYM=1 N1L=7"), olderLciBase = withSettings("MPAGE=1 MH=0.7 BAND=3");
  ParameterSet dciBase = withSettings("FRACSD=0.5 MPAGE=2"), olderDciBase = withSettings("MH=0.3");
  olderDciBase.curves[1].band = 9;
  std::vector<std::string> files{"nppl1.dci"};
  for (const char* stem : {"current", "older", "touching", "touching_older", "forms", "forms_older"})
    for (const char* ext : {".lci", ".dci"}) files.push_back(stem + std::string(ext));
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const bool older = file.find("older") != std::string::npos;
    const Layout layout = older ? Layout::Older : Layout::Current;
    const ParameterSet base = file == "nppl1.dci" ? ParameterSet{}
                              : isLci(file)                    ? (older ? olderLciBase : lciBase)
                                                               : (older ? olderDciBase : dciBase);
    const InputLoad load = isLci(file) ? readLci(dataPath(file), base, layout) : readDci(dataPath(file), base, layout);
    expectGolden("model", "load_" + file + ".txt", dump(load));
    expectLosslessTexts(load);
  }
  dciBase.adjustKeys[30] = '0';  // held as it was, and counted
  const ParameterSet k = readDci(dataPath("current.dci"), dciBase, Layout::Current).params;
  EXPECT_EQ(k.adjustKeys[30], '0');
  EXPECT_EQ(k.adjustedParams, (std::vector<int16_t>{1, 16, 19, 23, 30, 31}));
}

TEST(InputReaderFiles, OlderLciBandFollowsOnlyKnownWavelengths) {
  std::vector<std::string> lines = linesOf(dataText("older.lci"));
  ParameterSet base;
  base.BAND = 3;
  std::string out;
  for (const char* wavel : {"  .350000", "  .350900", "  .351000", "  .349001", "  .348900", "  .440000", "  .439100",
                            "  .550000", "  .653000", "  .789000", "  .789999", "  .700000"}) {
    lines[6].replace(0, 9, wavel);
    const InputLoad load = readLciText(joinCrLf(lines), base, Layout::Older);
    const auto shown = load.displayTexts.find("Combo4");
    out += wavel + (" BAND " + std::to_string(load.params.BAND)) + (shown == load.displayTexts.end() ? " -\n" : " " + shown->second + "\n");
  }
  expectGolden("model", "older_lci_bands.txt", out);
}

TEST(InputReaderFiles, EditedFieldsAndBlankFields) {
  // A blank field (F1) reads as zero. Temperatures are held in kelvin as
  // typed; the writer's F7.4 and F8.4 hold four decimals.
  const InputLoad blank = readLciText(spoilt("current.lci", 5, 19, std::string(10, ' ')), {}, Layout::Current);
  const InputLoad t = readLciText(spoilt("current.lci", 6, 0, " .45213 1.23457"), {}, Layout::Current);
  expectGolden("model", "load_edited.txt", dump(blank) + dump(t));
  EXPECT_NE(lciText(t.params).find("\r\n  .4521  1.2346   1.000"), std::string::npos);
  // Keys that are not "0" or "1" hold.
  EXPECT_EQ(readDciText(spoilt("nppl1.dci", 4, 1, "x"), {}, Layout::Current).params.adjustKeys[1], '1');
  // Another editor may strip the leading blanks; where no field fills its
  // columns the drop-and-realign rule restores them.
  const std::string text = dataText("current.lci");
  std::string stripped;
  for (auto l : detail::splitLines(text)) {
    while (!l.empty() && l[0] == ' ') l.remove_prefix(1);
    stripped += std::string(l) + "\r\n";
  }
  EXPECT_EQ(valuesOf(readLciText(stripped, {}, Layout::Current).params),
            valuesOf(readLciText(text, {}, Layout::Current).params));
}

// Bad numbers and counts fail with the table's message, the file's name and
// the line in question.
TEST(InputReaderFiles, BadNumbersAndCountsFail) {
  const std::string dir = testing_support::freshTestDir("model").string();
  std::string messages;
  for (const auto& c : testing_support::tableRows(testing_support::goldenPath("model", "load_failure_cases.tsv"))) {
    const std::string& file = c[0];
    const size_t line = std::stoul(c[1]);
    std::vector<std::string> lines = linesOf(dataText(file));
    if (line) lines[line - 1].replace(std::stoul(c[2]), c[3].size(), c[3]);
    else lines.resize(6);
    const std::string path = dir + "/spoilt" + (isLci(file) ? ".lci" : ".dci");
    testing_support::spit(path, joinCrLf(lines));
    try {
      if (isLci(file)) readLci(path, {}, Layout::Current);
      else readDci(path, {}, Layout::Current);
      ADD_FAILURE() << file << " " << line;
    } catch (const TavrinError& e) {
      std::string what = e.what();
      EXPECT_EQ(what.rfind(errorMessage(e.number()) + "\nFile: " + path, 0), 0u) << what;
      messages += file + " line " + c[1] + ": " + what.replace(what.find(path), path.size(), "FILE") + "\n";
    }
  }
  expectGolden("model", "load_failures.txt", messages);
  EXPECT_EQ(whatOf([&] { probeLci(dir + "/none.lci"); }),
            "Error 53: File not found.\nFile: " + dir + "/none.lci");
}

// Files cut after their first lines and continued with spot and observation
// lists of the counts at the edges.
TEST(InputReaderFiles, SpotListAndObservationCountEdges) {
  const auto rows = testing_support::tableRows(testing_support::goldenPath("model", "built_inputs.tsv"));
  ASSERT_EQ(rows.size(), 15u);
  for (const auto& c : rows) {
    SCOPED_TRACE(c[0] + " " + c[2]);
    const std::vector<std::string> lines = linesOf(dataText(c[0]));
    std::string text = joinCrLf(std::vector<std::string>(lines.begin(), lines.begin() + std::stoi(c[1])));
    std::istringstream words(c[2]);
    for (std::string w; words >> w;) {
      const size_t star = w.find('*');
      const int n = star == std::string::npos ? 1 : std::stoi(w.substr(star + 1));
      const std::string line = w.rfind("spot*", 0) == 0    ? "   .10000   .20000   .30000   .90000"
                               : w.rfind("point*", 0) == 0 ? "        .10000 10.1234  1.00"
                                                           : (w.size() > 5 ? "  " : "") + w;  // end lines indented
      if (w == "noeol") text.resize(text.size() - 2);
      else if (w == "rest") text += joinCrLf(std::vector<std::string>(lines.begin() + std::stoi(c[1]), lines.end()));
      else for (int i = 0; i < n; ++i) text += line + "\r\n";
    }
    std::string got;
    const int error = errorOf([&] {
      const ParameterSet p = readText(c[0], text, Layout::Current).params;
      got = "spots " + std::to_string(p.spotCount[1]) + " " + std::to_string(p.spotCount[2]) + " points " +
            std::to_string(p.curves[3].points.size());
    });
    EXPECT_EQ(error ? "error " + std::to_string(error) : got, c[3]);
  }
}

// ---- every kind of line end and bad input ---------------------------------------

TEST(InputReaderRobustness, EveryTruncationFailsWithTheSystemMessage) {
  for (const char* name : {"current.lci", "current.dci", "older.dci"}) {
    const std::string text = dataText(name);
    const Layout layout = isLci(name) ? probeLciText(text) : probeDciText(text);
    auto read = [&](const std::string& t) { return errorOf([&] { readText(name, t, layout); }); };
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
  std::string garbage;
  for (int i = 0; i < 200; ++i) garbage += "garbage line " + std::to_string(i) + "\r\n";
  std::vector<std::string> inputs = {"", "\r\n", std::string(100, '\n'), "hello\r\nworld\r\n",
                                     std::string(100000, 'x'), std::string(5000, '\0'), garbage};
  for (int n = 0; n < 200; ++n) {
    std::string junk(static_cast<size_t>(rng() % 4000), '\0');
    for (char& c : junk) c = static_cast<char>(rng() % 256);
    inputs.push_back(junk);
    // A real file with a few bytes hit.
    std::string hit = dataText(n % 2 ? "current.dci" : "current.lci");
    for (int k = 0; k < 3; ++k) hit[rng() % hit.size()] = static_cast<char>(rng() % 256);
    inputs.push_back(hit);
  }
  auto survives = [](const std::function<void()>& f, int only) {
    try {
      f();
    } catch (const TavrinError& e) {
      EXPECT_FALSE(std::string(e.what()).empty());
      EXPECT_TRUE(only == 0 || e.number() == only) << e.number();
    }
  };
  for (const auto& in : inputs) {
    for (Layout layout : {Layout::Current, Layout::Older})
      for (const char* kind : {"x.lci", "x.dci"}) survives([&] { (void)readText(kind, in, layout); }, 0);
    survives([&] { (void)probeLciText(in), (void)probeDciText(in); }, kErrPastEndOfFile);
  }
  // Garbage lines are spot lines that never end; in a DCI they already fail
  // as records: JDPHS 0 has no list item.
  EXPECT_EQ(errorOf([&] { readLciText(garbage, {}, Layout::Current); }), kErrSubscript);
  EXPECT_EQ(errorOf([&] { readDciText(garbage, {}, Layout::Current); }), kErrInvalidFormat);
  EXPECT_EQ(errorOf([] { readLciText("", {}, Layout::Current); }), kErrPastEndOfFile);
  EXPECT_EQ(errorOf([] { readDci(dataPath("missing.dci"), {}, Layout::Current); }), kErrFileNotFound);
}

// ---- round trips through the writers -------------------------------------------

// Each example file probes to its layout, reads alike with LF line ends, and
// comes back through the writer: the current ones byte for byte (they were
// typed in the writer's own field forms), the older ones with every value.
TEST(InputReaderRoundTrip, ExampleFilesProbeReadWithLfAndComeBack) {
  for (const char* name : {"current.lci", "current.dci", "nppl1.dci", "older.lci", "older.dci"}) {
    SCOPED_TRACE(name);
    const std::string file = dataText(name);
    const bool older = std::string(name).rfind("older", 0) == 0;
    auto text = [&](const ParameterSet& p) { return isLci(name) ? lciText(p) : dciText(p); };
    auto probe = [&](const std::string& t) { return isLci(name) ? probeLciText(t) : probeDciText(t); };
    const Layout layout = isLci(name) ? probeLci(dataPath(name)) : probeDci(dataPath(name));
    EXPECT_EQ(layout, older ? Layout::Older : Layout::Current);
    std::string lf = file;
    std::erase(lf, '\r');
    EXPECT_EQ(probe(lf), layout);
    const InputLoad first = readText(name, file, layout);
    EXPECT_EQ(dump(readText(name, lf, layout)), dump(first));
    const std::string once = text(first.params);
    if (!older) { EXPECT_EQ(once, file); }
    ASSERT_EQ(probe(once), Layout::Current);
    const InputLoad second = readText(name, once, Layout::Current);
    EXPECT_EQ(valuesOf(second.params), valuesOf(first.params));
    EXPECT_EQ(text(second.params), once);
    if (!older) { EXPECT_EQ(second.displayTexts, first.displayTexts); }
  }
}

TEST(InputReaderRoundTrip, FieldsThatFillTheirColumnsComeBackExactly) {
  // One digit, then fields that fill.
  ParameterSet p = withSettings("MODE=5 IPB=-1 IFAT1=-1 N1=100 N2=-10 inc1=-5 inc2=-0.5 NLC=1 NPPL=3 spots=1,0 "
                                "spot1.1=-1.23456,-3.14159,0.5,1.1");
  p.totalSpotCount = 1;
  p.curves[3].points = {{12345678.1234, -88.3864, 1.0}, {0.5, -100.123, 99.99}, {-2000.5, 123.456, -1.5},
                        {-1234.5, 1.0, 0.0}};
  for (const auto& [name, set] : {std::pair{"x.dci", p}, {"x.lci", withSettings("MODE=1 IPB=10 IFAT1=10 N1=999 PER=123456.5 JDSTART=-1234567.5")}}) {
    auto text = [&](const ParameterSet& q) { return isLci(name) ? lciText(q) : dciText(q); };
    const InputLoad back = readText(name, text(set), Layout::Current);
    EXPECT_EQ(valuesOf(back.params), valuesOf(set)) << name;
    EXPECT_EQ(text(back.params), text(set)) << name;
  }
}
