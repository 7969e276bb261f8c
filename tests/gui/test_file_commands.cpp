// Load and save through the File menu keep every value a file carries. The
// captions, presets, refusals and messages of the file commands are the
// transcript main_files.txt (main_scenarios.cpp).
#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QTemporaryDir>

#include "../record_printers.h"
#include "frmIO_all.h"
#include "frmMain_test_support.h"
#include "model/input_reader.h"
#include "model/number_fields.h"
#include "../test_files.h"

using namespace tavrin;

// The set a file gives, without what a save is free to rewrite: the unused
// adjust key 30, the typed form of the x2 increment and rows no curve uses.
static ParameterSet fileValues(const QString& path, bool dci) {
  const std::string p = path.toStdString();
  ParameterSet s = dci ? readDci(p, {}, probeDci(p)).params : readLci(p, {}, probeLci(p)).params;
  s.adjustKeys[30] = 0;
  s.x2Increment = std::to_string(leadingNumber(s.x2Increment));
  for (int row = 1; row <= kCurveRows; ++row)
    if (!((row == 1 && s.IFVC1 == 1) || (row == 2 && s.IFVC2 == 1) || (row >= 3 && row - 2 <= s.NLC)))
      s.curves[row] = {};
  return s;
}

TEST(FileCommands, SaveUnderANewNameKeepsEveryValueThenSavesByteIdentical) {
  for (const char* rel : {"examples/example.dci", "tests/model/data/current.dci", "tests/model/golden/dci_curves_nppl5.dci",
                          "examples/example.lci", "tests/model/data/current.lci", "tests/model/golden/lci_defaults_spots.lci"}) {
    SCOPED_TRACE(rel);
    mwtest::MainWindow w;
    mwtest::MessageCatcher messages;
    QTemporaryDir tmp;
    const QString ext = QFileInfo(rel).suffix();
    const bool dci = ext == "dci";
    auto path = [&](const QString& n) { return tmp.filePath(n + "." + ext); };
    auto viaDialog = [&](const QString& verb, const QString& n) {
      w.fileDialog().setFolder(tmp.path());
      w.action(verb + ext.toUpper())->trigger();
      ASSERT_TRUE(w.fileDialog().isVisible());
      w.fileDialog().setName(n + "." + ext);
      w.fileDialog().accept();
    };
    ASSERT_TRUE(QFile::copy(QString(TAVRIN_SOURCE_DIR) + "/" + rel, path("first")));
    viaDialog("Load", "first");
    EXPECT_EQ(w.windowTitle(), "Tavrin - first." + ext);
    EXPECT_EQ(w.session().mode, dci ? ProgramMode::DC : ProgramMode::LC);
    EXPECT_EQ(w.session().app.dcoName, dci ? "first.dco" : "");
    viaDialog("Save", "second");
    EXPECT_EQ(w.windowTitle(), "Tavrin - second." + ext);
    EXPECT_EQ(fileValues(path("first"), dci), fileValues(path("second"), dci));
    viaDialog("Load", "second");
    viaDialog("Save", "third");
    using tavrin::testing_support::slurp;
    EXPECT_EQ(slurp(path("third").toStdString()), slurp(path("second").toStdString()));
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
  }
}
