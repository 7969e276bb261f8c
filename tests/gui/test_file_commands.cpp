#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include "frmIO_all.h"
#include "frmMain.h"
#include "frmMain_test_support.h"
#include "model/input_reader.h"
#include "model/number_fields.h"

using namespace tavrin;

namespace {

QString src(const char* rel) { return QString(TAVRIN_SOURCE_DIR) + "/" + rel; }

QByteArray bytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// Every value a DCI or LCI carries, compared exactly.
void expectSameValues(const ParameterSet& a, const ParameterSet& b, bool dci) {
  for (const ScalarField& f : scalarFields()) {
    if (!dci && f.use == FieldUse::DC) continue;
    if (dci && f.use == FieldUse::LC) continue;
    EXPECT_EQ(*getScalar(a, f.name), *getScalar(b, f.name)) << f.name;
  }
  for (int star = 1; star <= 2; ++star) {
    ASSERT_EQ(a.spotCount[star], b.spotCount[star]);
    for (int n = 1; n <= a.spotCount[star]; ++n) {
      EXPECT_EQ(a.spots[star][n].xlat, b.spots[star][n].xlat);
      EXPECT_EQ(a.spots[star][n].xlong, b.spots[star][n].xlong);
      EXPECT_EQ(a.spots[star][n].radsp, b.spots[star][n].radsp);
      EXPECT_EQ(a.spots[star][n].temsp, b.spots[star][n].temsp);
    }
  }
  if (!dci) return;
  for (int k = 1; k <= kAdjustKeys; ++k) {
    if (k == 30) continue;
    EXPECT_EQ(a.adjustKeys[k], b.adjustKeys[k]) << "key " << k;
  }
  for (int k = 1; k <= kIncrements; ++k) EXPECT_EQ(a.increments[k], b.increments[k]) << "increment " << k;
  EXPECT_EQ(leadingNumber(a.x2Increment), leadingNumber(b.x2Increment));
  EXPECT_EQ(a.spotAStar, b.spotAStar);
  EXPECT_EQ(a.spotANumber, b.spotANumber);
  EXPECT_EQ(a.spotBStar, b.spotBStar);
  EXPECT_EQ(a.spotBNumber, b.spotBNumber);
  EXPECT_EQ(a.IFVC1, b.IFVC1);
  EXPECT_EQ(a.IFVC2, b.IFVC2);
  EXPECT_EQ(a.NLC, b.NLC);
  EXPECT_EQ(a.IFDER, b.IFDER);
  EXPECT_EQ(a.IFM, b.IFM);
  EXPECT_EQ(a.IFR, b.IFR);
  EXPECT_EQ(a.XLAMDA, b.XLAMDA);
  EXPECT_EQ(a.KO, b.KO);
  EXPECT_EQ(a.KDISK, b.KDISK);
  EXPECT_EQ(a.NPPL, b.NPPL);
  for (int row = 1; row <= kCurveRows; ++row) {
    const CurveRow& x = a.curves[row];
    const CurveRow& y = b.curves[row];
    const bool used = (row == 1 && a.IFVC1 == 1) || (row == 2 && a.IFVC2 == 1) || (row >= 3 && row - 2 <= a.NLC);
    if (!used) continue;
    EXPECT_EQ(x.band, y.band) << row;
    EXPECT_EQ(x.dataFile, y.dataFile) << row;
    EXPECT_EQ(x.wavel, y.wavel) << row;
    EXPECT_EQ(x.l1, y.l1) << row;
    EXPECT_EQ(x.l2, y.l2) << row;
    EXPECT_EQ(x.x1, y.x1) << row;
    EXPECT_EQ(x.x2, y.x2) << row;
    EXPECT_EQ(x.y1, y.y1) << row;
    EXPECT_EQ(x.y2, y.y2) << row;
    EXPECT_EQ(x.opsf, y.opsf) << row;
    EXPECT_EQ(x.sigma, y.sigma) << row;
    if (row >= 3) {
      EXPECT_EQ(x.el3, y.el3) << row;
      EXPECT_EQ(x.noise, y.noise) << row;
    }
    ASSERT_EQ(x.points.size(), y.points.size()) << row;
    for (size_t i = 0; i < x.points.size(); ++i) {
      EXPECT_EQ(x.points[i].time, y.points[i].time) << row << ":" << i;
      EXPECT_EQ(x.points[i].value, y.points[i].value) << row << ":" << i;
      EXPECT_EQ(x.points[i].weight, y.points[i].weight) << row << ":" << i;
    }
  }
}

struct FileCommands : ::testing::Test {
  mwtest::MainWindow w;
  frmIO_all& d = w.fileDialog();
  QTemporaryDir tmp;
  mwtest::MessageCatcher messages;

  void SetUp() override { ASSERT_TRUE(tmp.isValid()); }

  QString path(const QString& name) const { return tmp.filePath(name); }
  void copyIn(const char* rel, const QString& name) { ASSERT_TRUE(QFile::copy(src(rel), path(name))) << rel; }

  void trigger(const char* action) {
    QAction* a = w.action(action);
    ASSERT_NE(a, nullptr) << action;
    a->trigger();
  }
  // Menu item, then the dialog as the user fills it.
  void viaDialog(const char* action, FileOp op, const QString& name) {
    d.setFolder(tmp.path());
    trigger(action);
    ASSERT_TRUE(d.isVisible()) << action;
    ASSERT_EQ(d.op(), op);
    d.findChild<QLineEdit*>("Text1")->setText(name);
    d.accept();
  }
  InputLoad load(const QString& name, bool dci) {
    const std::string p = path(name).toStdString();
    return dci ? readDci(p, ParameterSet{}, probeDci(p)) : readLci(p, ParameterSet{}, probeLci(p));
  }
  QString caption() const { return w.windowTitle(); }
};

}  // namespace

TEST_F(FileCommands, DialogCaptionsPatternsAndPresets) {
  w.session().app.lciName = "model.lci";
  w.session().app.dciName = "fit.dci";
  struct Case {
    const char* action;
    FileOp op;
    const char* caption;
    const char* first;
    const char* preset;
  };
  // A save offers the current file of its own kind, else nothing; a load
  // without a name keeps what was typed.
  for (const Case& c : {Case{"LoadLCI", FileOp::LoadLci, "Load LCI File", "*.lci", "model.lci"}, Case{"SaveLCI", FileOp::SaveLci, "Save LCI File", "*.lci", "model.lci"},
                        Case{"LoadDCI", FileOp::LoadDci, "Load DCI", "*.dci", "fit.dci"}, Case{"SaveDCI", FileOp::SaveDci, "Save DCI", "*.dci", "fit.dci"},
                        Case{"ForgetNames", FileOp::None, "", "", ""},
                        Case{"LoadLCI", FileOp::LoadLci, "Load LCI File", "*.lci", nullptr}, Case{"SaveLCI", FileOp::SaveLci, "Save LCI File", "*.lci", ""},
                        Case{"SaveDCI", FileOp::SaveDci, "Save DCI", "*.dci", ""}}) {
    if (c.op == FileOp::None) {
      w.session().app.lciName.clear();
      w.session().app.dciName.clear();
      continue;
    }
    d.findChild<QLineEdit*>("Text1")->setText("typed");
    d.setFolder(tmp.path());
    d.findChild<QLineEdit*>("Text1")->setText("typed");
    trigger(c.action);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.op(), c.op);
    EXPECT_EQ(d.windowTitle(), c.caption);
    auto* patterns = d.findChild<QComboBox*>("Combo1");
    ASSERT_EQ(patterns->count(), 2);
    EXPECT_EQ(patterns->currentText(), c.first);
    EXPECT_EQ(patterns->itemText(1), "*.*");
    EXPECT_EQ(d.name(), c.preset ? c.preset : "typed") << c.action;
    d.reject();
  }
}

TEST_F(FileCommands, LoadDciSaveUnderNewNameKeepsEveryValueThenSavesByteIdentical) {
  for (const char* rel : {"examples/example.dci", "tests/model/data/current.dci", "tests/model/golden/dci_curves_nppl5.dci"}) {
    SCOPED_TRACE(rel);
    QDir(tmp.path()).removeRecursively();
    QDir().mkpath(tmp.path());
    copyIn(rel, "first.dci");
    viaDialog("LoadDCI", FileOp::LoadDci, "first.dci");
    ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
    EXPECT_EQ(caption(), "Tavrin - first.dci");
    EXPECT_EQ(w.session().mode, ProgramMode::DC);
    EXPECT_EQ(w.session().app.dcoName, "first.dco");
    EXPECT_TRUE(w.session().app.lciName.empty());

    viaDialog("SaveDCI", FileOp::SaveDci, "second.dci");
    ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
    ASSERT_TRUE(QFile::exists(path("second.dci")));
    EXPECT_EQ(caption(), "Tavrin - second.dci");
    expectSameValues(load("first.dci", true).params, load("second.dci", true).params, true);

    viaDialog("LoadDCI", FileOp::LoadDci, "second.dci");
    viaDialog("SaveDCI", FileOp::SaveDci, "third.dci");
    ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
    EXPECT_EQ(bytes(path("third.dci")), bytes(path("second.dci")));
  }
}

TEST_F(FileCommands, LoadLciSaveUnderNewNameKeepsEveryValueThenSavesByteIdentical) {
  for (const char* rel : {"examples/example.lci", "tests/model/data/current.lci", "tests/model/golden/lci_defaults_spots.lci"}) {
    SCOPED_TRACE(rel);
    QDir(tmp.path()).removeRecursively();
    QDir().mkpath(tmp.path());
    copyIn(rel, "first.lci");
    viaDialog("LoadLCI", FileOp::LoadLci, "first.lci");
    ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
    EXPECT_EQ(caption(), "Tavrin - first.lci");
    EXPECT_EQ(w.session().mode, ProgramMode::LC);
    viaDialog("SaveLCI", FileOp::SaveLci, "second.lci");
    ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
    expectSameValues(load("first.lci", false).params, load("second.lci", false).params, false);
    viaDialog("LoadLCI", FileOp::LoadLci, "second.lci");
    viaDialog("SaveLCI", FileOp::SaveLci, "third.lci");
    EXPECT_EQ(bytes(path("third.lci")), bytes(path("second.lci")));
  }
}

TEST_F(FileCommands, SaveWritesWithoutAskingWhenANameIsKnown) {
  copyIn("tests/model/golden/dci_curves_nppl1.dci", "fit.dci");
  viaDialog("LoadDCI", FileOp::LoadDci, "fit.dci");
  ASSERT_TRUE(messages.messages.isEmpty());
  mwtest::type(w, "Text39", "85");
  EXPECT_TRUE(mwtest::isBlue(w.field("Text39")));
  trigger("Save");
  EXPECT_FALSE(d.isVisible());
  EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
  EXPECT_FALSE(mwtest::isBlue(w.field("Text39")));
  EXPECT_EQ(load("fit.dci", true).params.XINCL, 85.0);
  EXPECT_EQ(caption(), "Tavrin - fit.dci");
}

TEST_F(FileCommands, SaveAsksForANameWhenThereIsNone) {
  trigger("Save");
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.op(), FileOp::SaveLci);
  EXPECT_EQ(d.windowTitle(), "Save LCI File");
  d.reject();
  w.setProgramMode(ProgramMode::DC);
  w.session().app.lciName = "known.lci";  // the other kind's name does not count
  trigger("Save");
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.op(), FileOp::SaveDci);
  EXPECT_EQ(d.windowTitle(), "Save DCI");
}

TEST_F(FileCommands, FailedLoadLeavesUntitledAndSaveAsksAgain) {
  copyIn("tests/model/golden/dci_curves_nppl1.dci", "good.dci");
  viaDialog("LoadDCI", FileOp::LoadDci, "good.dci");
  const double incl = w.session().params.XINCL;
  const QByteArray before = bytes(path("good.dci"));

  viaDialog("LoadDCI", FileOp::LoadDci, "missing.dci");
  ASSERT_EQ(messages.messages, QStringList{"Error 53: File not found.\nFile: " + path("missing.dci")});
  EXPECT_EQ(caption(), "Tavrin - [untitled]");
  EXPECT_TRUE(w.session().app.dciName.empty());
  EXPECT_FALSE(w.session().app.readError);
  EXPECT_EQ(w.session().params.XINCL, incl);  // nothing of the failed file was taken

  // A truncated copy of a good file: Save must not write the editor over it.
  QFile trunc(path("cut.dci"));
  ASSERT_TRUE(trunc.open(QIODevice::WriteOnly));
  trunc.write(before.left(before.size() / 3));
  trunc.close();
  messages.messages.clear();
  viaDialog("LoadDCI", FileOp::LoadDci, "cut.dci");
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].startsWith("Error ")) << messages.messages[0].toStdString();
  EXPECT_EQ(caption(), "Tavrin - [untitled]");
  trigger("Save");
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.op(), FileOp::SaveDci);
  d.reject();
  EXPECT_EQ(bytes(path("cut.dci")), before.left(before.size() / 3));
}

TEST_F(FileCommands, OlderLayoutGetsAStarUntilSavedAgain) {
  copyIn("tests/model/data/older.lci", "old.lci");
  viaDialog("LoadLCI", FileOp::LoadLci, "old.lci");
  ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
  EXPECT_EQ(caption(), "Tavrin - old.lci*");
  trigger("Save");
  ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
  EXPECT_EQ(caption(), "Tavrin - old.lci");
  EXPECT_EQ(probeLci(path("old.lci").toStdString()), Layout::Current);
}

TEST_F(FileCommands, RefusedSaveWritesNothingAndKeepsNamesAndCaption) {
  // Start-up values: MODE 3 with the potentials of a detached system.
  viaDialog("SaveLCI", FileOp::SaveLci, "x.lci");
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].startsWith("The potentials of both Stars 1 & 2 (6.1624)"))
      << messages.messages[0].toStdString();
  EXPECT_FALSE(QFile::exists(path("x.lci")));
  EXPECT_EQ(caption(), "Tavrin");
  EXPECT_TRUE(w.session().app.lciName.empty());
  EXPECT_FALSE(mwtest::isBlue(w.field("Text47")));
}

TEST_F(FileCommands, SnappedPotentialIsShownAndReachesTheFileNextTime) {
  w.setFieldText("Combo3", "4: semidetached");
  w.setFieldText("Text48", "1");
  w.setFieldText("Text46", "3.3");
  w.setFieldText("Text47", "4");
  viaDialog("SaveLCI", FileOp::SaveLci, "s.lci");
  ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
  EXPECT_EQ(w.fieldText("Text46"), " 3.7500");
  EXPECT_FALSE(mwtest::isBlue(w.field("Text46")));
  EXPECT_EQ(load("s.lci", false).params.POTH, 3.3);
  trigger("Save");
  EXPECT_EQ(load("s.lci", false).params.POTH, 3.75);
}

TEST_F(FileCommands, OvercontactSaveCopiesStarOnePotentialIntoText47) {
  w.setFieldText("Combo3", "2: detached");
  w.setFieldText("Text48", "1");
  w.setFieldText("Text46", "3.5");
  w.setFieldText("Text47", "9");
  w.setFieldText("Combo3", "3:overcon,adj T2");
  viaDialog("SaveLCI", FileOp::SaveLci, "o.lci");
  ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
  EXPECT_EQ(w.fieldText("Text47"), w.fieldText("Text46"));
  EXPECT_EQ(load("o.lci", false).params.POT2, 3.5);
}

TEST_F(FileCommands, SavingOneKindClearsTheOtherNameAndSwitchesMode) {
  copyIn("tests/model/golden/dci_curves_nppl1.dci", "fit.dci");
  viaDialog("LoadDCI", FileOp::LoadDci, "fit.dci");
  viaDialog("SaveLCI", FileOp::SaveLci, "from_dc.lci");
  ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
  EXPECT_EQ(w.session().mode, ProgramMode::LC);
  EXPECT_TRUE(w.session().app.dciName.empty());
  EXPECT_EQ(w.session().app.lciName, "from_dc.lci");
  EXPECT_EQ(caption(), "Tavrin - from_dc.lci");

  viaDialog("SaveDCI", FileOp::SaveDci, "back.dci");
  ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("\n").toStdString();
  EXPECT_EQ(w.session().mode, ProgramMode::DC);
  EXPECT_TRUE(w.session().app.lciName.empty());
  EXPECT_EQ(caption(), "Tavrin - back.dci");
}

TEST_F(FileCommands, WriteFailureShowsTheMessageAndKeepsTheCaption) {
  w.setFieldText("Combo3", "2: detached");
  d.setFolder(tmp.path());
  trigger("SaveLCI");
  d.findChild<QLineEdit*>("Text1")->setText("no_such_folder/x.lci");
  d.accept();
  EXPECT_EQ(messages.messages, QStringList{"Error 76: Path not found."});
  EXPECT_EQ(caption(), "Tavrin");
  EXPECT_TRUE(w.session().app.lciName.empty());
}
