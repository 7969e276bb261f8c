// How a load or a save changes the session, and what it gives the window to show.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

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
