// How a load or a save changes the session, and what it gives the window to show.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "model/critical_potentials.h"
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

struct LoadCase {
  const char* name;
  InputKind kind;
  const char* source;  // file copied in as "in", under the source folder; "" for none
  const char* outcome;
  const char* loaded;  // the session after the load
  const char* shown;   // and once the window has shown it
};

const LoadCase kLoads[] = {
    {"lci", InputKind::Lci, "examples/example.lci", "loaded [Tavrin - in] []",
     "LC lci=in dci= dco=old.dco older=0 readError=0 edited=1 transfer=0",
     "LC lci=in dci= dco=old.dco older=0 readError=0 edited=0 transfer=0"},
    {"dci", InputKind::Dci, "examples/example.dci", "loaded [Tavrin - in] []",
     "DC lci= dci=in dco=in.dco older=0 readError=0 edited=1 transfer=1",
     "DC lci= dci=in dco=in.dco older=0 readError=0 edited=0 transfer=1"},
    {"older lci", InputKind::Lci, "tests/model/data/older.lci", "loaded [Tavrin - in*] []",
     "LC lci=in dci= dco=old.dco older=1 readError=0 edited=1 transfer=0",
     "LC lci=in dci= dco=old.dco older=1 readError=0 edited=0 transfer=0"},
    {"older dci", InputKind::Dci, "tests/model/data/older.dci", "loaded [Tavrin - in*] []",
     "DC lci= dci=in dco=in.dco older=1 readError=0 edited=1 transfer=1",
     "DC lci= dci=in dco=in.dco older=1 readError=0 edited=0 transfer=1"},
    // A failed read drops only the name of its kind, and no edit is forgotten.
    {"missing lci", InputKind::Lci, "", "failed [Tavrin - [untitled]] [Error 53: File not found.\nFile: $DIR/in]",
     "LC lci= dci=old.dci dco=old.dco older=0 readError=1 edited=1 transfer=1",
     "LC lci= dci=old.dci dco=old.dco older=0 readError=0 edited=1 transfer=1"},
    {"missing dci", InputKind::Dci, "", "failed [Tavrin - [untitled]] [Error 53: File not found.\nFile: $DIR/in]",
     "DC lci=old.lci dci= dco=old.dco older=0 readError=1 edited=1 transfer=1",
     "DC lci=old.lci dci= dco=old.dco older=0 readError=0 edited=1 transfer=1"},
    {"dci read as lci", InputKind::Lci, "examples/example.dci", "failed [Tavrin - [untitled]] [Error 321: Invalid file format.\nFile: $DIR/in\nline 1: \" .50D+01 .50D+01 .30D+01 .30D-01 .50D+01 .50D+01 .30D+01 .30D-01\"]",
     "LC lci= dci=old.dci dco=old.dco older=0 readError=1 edited=1 transfer=1",
     "LC lci= dci=old.dci dco=old.dco older=0 readError=0 edited=1 transfer=1"},
};

// The message with the test folder written $DIR.
std::string placed(std::string m, const fs::path& dir) {
  const std::string d = dir.string();
  for (auto at = m.find(d); at != std::string::npos; at = m.find(d)) m.replace(at, d.size(), "$DIR");
  return m;
}

}  // namespace

TEST(SessionLoad, Cases) {
  for (const LoadCase& c : kLoads) {
    SCOPED_TRACE(c.name);
    const fs::path dir = ts::freshTestDir("shell", "load");
    const fs::path in = dir / "in";
    if (*c.source) fs::copy_file(fs::path(TAVRIN_SOURCE_DIR) / c.source, in);
    Session s = started(c.kind, dir);
    const ParameterSet before = s.params;

    const LoadOutcome o = loadInto(s, "in", c.kind);
    EXPECT_EQ(std::string(o.loaded ? "loaded" : "failed") + " [" + o.caption + "] [" + placed(o.message, dir) + "]",
              c.outcome);
    EXPECT_EQ(state(s), c.loaded);
    if (o.loaded) {
      // The set and the texts are the reader's, read over the set held before.
      const bool dci = c.kind == InputKind::Dci;
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
    EXPECT_EQ(state(s), c.shown);
  }
}

namespace {

struct SaveCase {
  const char* name;
  InputKind kind;
  int mode;
  double rm;
  double pothOverInner;  // POTH and POT2 as offsets from the inner critical potential
  double pot2OverInner;
  const char* folder;  // under the test folder
  const char* outcome;
  const char* saved;  // the session after the save
  const char* shown;  // and once the window has shown it
};

const char* const kStart = "LC lci=old.lci dci=old.dci dco=old.dco older=1 readError=0 edited=1 transfer=1";
const char* const kStartDc = "DC lci=old.lci dci=old.dci dco=old.dco older=1 readError=0 edited=1 transfer=1";

const SaveCase kSaves[] = {
    {"lci", InputKind::Lci, 2, 0.5, 1, 2, "", "saved [Tavrin - out] [] tie=0 poth= pot2=",
     "LC lci=out dci= dco=old.dco older=0 readError=0 edited=1 transfer=1",
     "LC lci=out dci= dco=old.dco older=0 readError=0 edited=0 transfer=1"},
    {"dci", InputKind::Dci, 2, 0.5, 1, 2, "", "saved [Tavrin - out] [] tie=0 poth= pot2=",
     "DC lci= dci=out dco=old.dco older=0 readError=0 edited=1 transfer=1",
     "DC lci= dci=out dco=old.dco older=0 readError=0 edited=0 transfer=1"},
    // Star 1 fills its lobe: its potential is shown snapped, the file has the value typed.
    {"lci mode 4 snaps POTH", InputKind::Lci, 4, 0.5, 1, 2, "", "saved [Tavrin - out] [] tie=0 poth=@inner pot2=",
     "LC lci=out dci= dco=old.dco older=0 readError=0 edited=1 transfer=1",
     "LC lci=out dci= dco=old.dco older=0 readError=0 edited=0 transfer=1"},
    {"dci mode 5 snaps POT2", InputKind::Dci, 5, 0.5, 1, 2, "", "saved [Tavrin - out] [] tie=0 poth= pot2=@inner",
     "DC lci= dci=out dco=old.dco older=0 readError=0 edited=1 transfer=1",
     "DC lci= dci=out dco=old.dco older=0 readError=0 edited=0 transfer=1"},
    // A refusal changes no name; the LCI's overcontact tie is still shown.
    {"lci mode 1 refused", InputKind::Lci, 1, -1, 1, 2, "",
     "refused [] [The mass ratio M2/M1 (-1) is negative, so the critical potentials cannot be computed.  Enter a "
     "mass ratio of zero or more before saving.] tie=1 poth= pot2=",
     kStartDc, kStartDc},
    {"dci mode 1 refused", InputKind::Dci, 1, -1, 1, 2, "",
     "refused [] [The mass ratio M2/M1 (-1) is negative, so the critical potentials cannot be computed.  Enter a "
     "mass ratio of zero or more before saving.] tie=0 poth= pot2=",
     kStart, kStart},
    // A write that fails shows no tie either.
    {"lci mode 3 ties", InputKind::Lci, 3, 0.5, -0.1, -0.1, "", "saved [Tavrin - out] [] tie=1 poth= pot2=",
     "LC lci=out dci= dco=old.dco older=0 readError=0 edited=1 transfer=1",
     "LC lci=out dci= dco=old.dco older=0 readError=0 edited=0 transfer=1"},
    {"lci into a missing folder", InputKind::Lci, 3, 0.5, -0.1, -0.1, "gone",
     "refused [] [Error 76: Path not found.] tie=0 poth= pot2=", kStartDc, kStartDc},
};

}  // namespace

TEST(SessionSave, Cases) {
  for (const SaveCase& c : kSaves) {
    SCOPED_TRACE(c.name);
    const fs::path dir = ts::freshTestDir("shell", "save");
    const fs::path folder = *c.folder ? dir / c.folder : dir;
    Session s = started(c.kind, folder);
    s.params = readLci(TAVRIN_SOURCE_DIR "/examples/example.lci", ParameterSet{}, Layout::Current).params;
    s.params.MODE = static_cast<int16_t>(c.mode);
    s.params.RM = c.rm;
    const double inner = c.rm < 0 ? 0 : criticalPotentialInner(c.rm);
    s.params.POTH = inner + c.pothOverInner;
    s.params.POT2 = inner + c.pot2OverInner;

    const SavedInput o = saveFrom(s, "out", c.kind);
    std::string expected = c.outcome;
    if (const auto at = expected.find("@inner"); at != std::string::npos)
      expected.replace(at, 6, shortPotentialText(inner));
    EXPECT_EQ(std::string(o.saved ? "saved" : "refused") + " [" + o.caption + "] [" + placed(o.message, dir) +
                  "] tie=" + std::to_string(o.tiePotentials) + " poth=" + o.poth.value_or("") +
                  " pot2=" + o.pot2.value_or(""),
              expected);
    EXPECT_EQ(state(s), c.saved);
    EXPECT_EQ(fs::exists(folder / "out"), o.saved);
    saveShown(s, o);
    EXPECT_EQ(state(s), c.shown);
  }
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
