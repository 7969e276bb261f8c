// How a load or a save changes the session, and what it gives the window to show.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "model/critical_potentials.h"
#include "model/dc_parameters.h"
#include "model/input_reader.h"
#include "shell/errors.h"
#include "shell/session.h"
#include "test_files.h"

using namespace tavrin;
namespace fs = std::filesystem;
namespace ts = tavrin::testing_support;

namespace {

// Names, flags and mode: everything a load or save may change besides the set.
std::string state(const Session& s) {
  std::ostringstream o;
  o << (s.mode == ProgramMode::DC ? "DC" : "LC") << " lci=" << s.app.lciName << " dci=" << s.app.dciName
    << " dco=" << s.app.dcoName << " older=" << s.app.olderLayout << " readError=" << s.app.readError
    << " edited=" << s.editedSinceSave << " transfer=" << s.transferDcValues;
  return o.str();
}

// Every name and flag set, in the mode other than the kind's.
Session started(InputKind kind, const fs::path& folder) {
  Session s;
  s.app.dataFolder = folder.string();
  s.app.lciName = "old.lci";
  s.app.dciName = "old.dci";
  s.app.dcoName = "old.dco";
  s.app.olderLayout = true;
  s.editedSinceSave = true;
  s.transferDcValues = true;
  s.mode = kind == InputKind::Dci ? ProgramMode::LC : ProgramMode::DC;
  s.params.XINCL = 12.5;  // a failed load must keep it
  return s;
}

// The message with the test folder written $DIR.
std::string placed(std::string m, const fs::path& dir) {
  const std::string d = dir.string();
  for (auto at = m.find(d); at != std::string::npos; at = m.find(d)) m.replace(at, d.size(), "$DIR");
  return m;
}

}  // namespace

// Each load's outcome, then the session after it and once the window has shown it.
TEST(SessionLoad, Cases) {
  std::string dumps;
  for (const auto& c : ts::tableRows(ts::goldenPath("shell", "loads.tsv"))) {
    SCOPED_TRACE(c[0]);
    const bool dci = c[1] == "dci";
    const InputKind kind = dci ? InputKind::Dci : InputKind::Lci;
    const fs::path dir = ts::freshTestDir("shell", "load");
    const fs::path in = dir / "in";
    if (!c[2].empty()) fs::copy_file(fs::path(TAVRIN_SOURCE_DIR) / c[2], in);
    Session s = started(kind, dir);
    const ParameterSet before = s.params;

    const LoadOutcome o = loadInto(s, "in", kind);
    dumps += "== " + c[0] + "\n" + (o.loaded ? "loaded [" : "failed [") + o.caption + "] [" + placed(o.message, dir) +
             "]\n" + state(s) + "\n";
    if (o.loaded) {
      // The set and the texts are the reader's, read over the set held before.
      const Layout layout = dci ? probeDci(in.string()) : probeLci(in.string());
      const InputLoad load = dci ? readDci(in.string(), before, layout) : readLci(in.string(), before, layout);
      EXPECT_EQ(s.params, load.params);
      EXPECT_EQ(o.displayTexts, load.displayTexts);
      EXPECT_FALSE(o.displayTexts.empty());
      // A DCI starts the history afresh; an LCI leaves it.
      const ParameterHistory fresh = ParameterHistory::fromParameterSet(dci ? s.params : ParameterSet{});
      for (const auto* g : {&s.history.generation1, &s.history.generation2}) {
        EXPECT_EQ(g->scalars, fresh.generation1.scalars);
        EXPECT_EQ(g->spots, fresh.generation1.spots);
        EXPECT_EQ(g->curves, fresh.generation1.curves);
      }
    } else {
      EXPECT_EQ(s.params, before);
      EXPECT_TRUE(o.displayTexts.empty());
    }
    loadShown(s, o);
    dumps += state(s) + "\n";
  }
  ts::expectGolden("shell", "loads.txt", dumps);
}

// Each save's outcome (@inner: the inner critical potential as shown), the
// session after it and once the window has shown it.
TEST(SessionSave, Cases) {
  std::string dumps;
  for (const auto& c : ts::tableRows(ts::goldenPath("shell", "saves.tsv"))) {
    SCOPED_TRACE(c[0]);
    const InputKind kind = c[1] == "dci" ? InputKind::Dci : InputKind::Lci;
    const fs::path dir = ts::freshTestDir("shell", "save");
    const fs::path folder = c[6].empty() ? dir : dir / c[6];
    Session s = started(kind, folder);
    s.params = readLci(TAVRIN_SOURCE_DIR "/examples/example.lci", ParameterSet{}, Layout::Current).params;
    s.params.MODE = static_cast<int16_t>(std::stoi(c[2]));
    s.params.RM = std::stod(c[3]);
    const double inner = s.params.RM < 0 ? 0 : criticalPotentialInner(s.params.RM);
    s.params.POTH = inner + std::stod(c[4]);
    s.params.POT2 = inner + std::stod(c[5]);

    const SavedInput o = saveFrom(s, "out", kind);
    auto shown = [&](const std::optional<std::string>& v) { return v == shortPotentialText(inner) ? "@inner" : v.value_or(""); };
    dumps += "== " + c[0] + "\n" + (o.saved ? "saved [" : "refused [") + o.caption + "] [" + placed(o.message, dir) +
             "] tie=" + std::to_string(o.tiePotentials) + " poth=" + shown(o.poth) + " pot2=" + shown(o.pot2) + "\n" +
             state(s) + "\n";
    EXPECT_EQ(fs::exists(folder / "out"), o.saved);
    saveShown(s, o);
    dumps += state(s) + "\n";
  }
  ts::expectGolden("shell", "saves.txt", dumps);
}

TEST(SessionLightLevels, TakesTheL1ThatDiffer) {
  const struct {
    const char* name;
    std::vector<std::pair<size_t, double>> from;  // rows of `from` that differ from the set held
    std::vector<size_t> changed;
  } rows[] = {{"none", {}, {}}, {"one", {{3, 1.25}}, {3}}, {"first and last", {{0, 2}, {kCurveRows, 0.5}}, {0, kCurveRows}}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Session s;
    for (size_t k = 0; k < s.params.curves.size(); ++k) s.params.curves[k].l1 = 10.0 + static_cast<double>(k);
    ParameterSet from = s.params;
    from.XINCL = 45;  // only L1 is taken
    for (const auto& [k, v] : r.from) from.curves[k].l1 = v;
    ParameterSet expected = from;
    expected.XINCL = s.params.XINCL;
    EXPECT_EQ(takeLightLevels(s, from), r.changed);
    EXPECT_EQ(s.params, expected);
    EXPECT_EQ(s.editedSinceSave, !r.changed.empty());
  }
}

TEST(SessionReadFailure, RaisesReadErrorAndSaysTheTableText) {
  Session s;
  EXPECT_EQ(readFailed(s, TavrinError(kErrOverflow)), errorMessage(kErrOverflow));
  EXPECT_TRUE(s.app.readError);
}

TEST(SessionAdjustedValues, FieldsShowThemAndValuesWithoutAFieldGoIntoTheSet) {
  Session s;
  ParameterSet from = s.params;
  from.XINCL = 83.123456789;
  *dcParameterSlot(from, kDcL1, 2) = 7.25;
  DcResults r;
  r.ioRows = {{.param = kDcInclination}, {.param = kDcL1, .curve = 2}, {.param = 30}};
  const std::vector<FieldText> fields = takeAdjustedValues(s, from, r);
  ASSERT_EQ(fields.size(), 1u);
  EXPECT_EQ(fields[0].control + " " + fields[0].text, "Text39 83.123456789");
  EXPECT_EQ(s.params.XINCL, ParameterSet{}.XINCL);  // the field holds it until the set is gathered
  EXPECT_EQ(*dcParameterSlot(s.params, kDcL1, 2), 7.25);
  EXPECT_TRUE(s.editedSinceSave);
}
