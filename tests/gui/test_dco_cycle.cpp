// The DC cycle on real windows with the stand-in DC program: load a DCI, run
// DC, read its report, apply a correction, look at the correlations, revert.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "RunCommands.h"
#include "frmCorrel.h"
#include "frmIO_all.h"
#include "frmIOparms.h"
#include "frmMain.h"
#include "frmMain_test_support.h"
#include "frmMessage.h"
#include "frmSetOPfile.h"
#include "model/input_reader.h"
#include "model/number_fields.h"

using tavrin::fixedField;

namespace {

const QString kSolvex = QString(TAVRIN_BINARY_DIR) + "/src/standins/Solvex";
const QString kExamples = QString(TAVRIN_SOURCE_DIR) + "/examples";

QString q(const std::string& s) { return QString::fromStdString(s); }

// A program folder with Solvex and a data folder with the example files.
struct Folders {
  QTemporaryDir tmp;
  QString prog, data;
  Folders() {
    prog = tmp.filePath("prog");
    data = tmp.filePath("data folder");
    QDir().mkpath(prog);
    QDir().mkpath(data);
    for (const QString& f : QDir(kExamples).entryList(QDir::Files)) QFile::copy(kExamples + "/" + f, data + "/" + f);
  }
  bool withSolvex() const {
    return QFile::exists(kSolvex) && QFile::link(kSolvex, prog + "/Solvex");
  }
};

void loadDci(frmMain& w, const QString& folder, const QString& name) {
  w.action("LoadDCI")->trigger();
  frmIO_all& d = w.fileDialog();
  d.setFolder(folder);
  d.setName(name);
  d.accept();
}

bool waitForRuns(frmMain& w) {
  return QTest::qWaitFor([&] { return runcommands::runsInProgress(w) == 0; }, 30000);
}

}  // namespace

TEST(DcCycle, LoadRunReadCorrectRevert) {
  Folders f;
  if (!QFile::exists(kSolvex)) GTEST_SKIP() << "the stand-in DC program is not built: " << kSolvex.toStdString();
  ASSERT_TRUE(f.withSolvex());
  mwtest::MessageCatcher messages;
  mwtest::MainWindow w;
  Session& s = w.session();
  s.app.programFolder = f.prog.toStdString();

  loadDci(w, f.data, "example.dci");
  ASSERT_EQ(s.app.dciName, "example.dci") << messages.messages.join("|").toStdString();
  ASSERT_EQ(s.mode, tavrin::ProgramMode::DC);
  EXPECT_EQ(w.windowTitle(), "Tavrin - example.dci");
  EXPECT_DOUBLE_EQ(s.params.XINCL, 82.0);

  // Run > Standard returns at once; the status bar reports the end.
  w.action("RunStandard")->trigger();
  EXPECT_EQ(s.app.dcoName, "example.dco");
  EXPECT_TRUE(QFile::exists(f.prog + "/RunDC.sh"));
  ASSERT_TRUE(waitForRuns(w));
  const QString status = w.statusBar()->currentMessage();
  EXPECT_TRUE(status.startsWith("DC finished: example.dco (")) << status.toStdString();
  EXPECT_TRUE(status.endsWith(" s) - program: " + QDir::toNativeSeparators(f.prog + "/Solvex"))) << status.toStdString();
  ASSERT_TRUE(QFile::exists(f.data + "/example.dco"));

  // Load DCO > Standard, with the observed-data window open.
  w.action("Data")->trigger();
  QWidget* data = w.findChild<QWidget*>("frmDataFile");
  ASSERT_TRUE(data);
  data->findChild<QLineEdit*>("Text22_3")->setText("stale");
  data->findChild<QComboBox*>("Combo2")->setCurrentIndex(0);
  w.action("StandardDCO")->trigger();
  EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join("|").toStdString();
  const tavrin::DcResults& r = s.dcResults;
  ASSERT_EQ(r.adjustedParams.size(), 4u);
  EXPECT_EQ(r.adjustedParams[0], 16);
  ASSERT_EQ(r.ioRows.size(), 5u);
  EXPECT_FALSE(r.dcErrorSeen);
  EXPECT_EQ(s.params.NLC, 2);
  EXPECT_EQ(data->findChild<QComboBox*>("Combo2")->currentIndex(), 2);
  EXPECT_DOUBLE_EQ(s.params.curves[3].l2, 0.07997);
  EXPECT_EQ(data->findChild<QLineEdit*>("Text22_3")->text(), " .07997");
  EXPECT_EQ(w.statusBar()->currentMessage(), "DCO read: example.dco");

  // Display DCO > Corrections.
  w.action("Corrections")->trigger();
  frmIOparms& io = frmIOparms::of(w);
  ASSERT_TRUE(io.isVisible());
  EXPECT_EQ(io.windowTitle(), "I/O Parms - example.dco");
  EXPECT_EQ(io.rowLabel(1)->text(), "Inclin.");
  EXPECT_EQ(io.rowLabel(2)->text(), "T2");
  EXPECT_EQ(io.rowLabel(4)->text(), "L1 (1)");
  EXPECT_EQ(io.rowLabel(5)->text(), "L1 (2)");
  EXPECT_EQ(io.box(1, 1)->text(), "16");
  EXPECT_EQ(io.box(2, 1)->text(), " 0");
  EXPECT_EQ(io.box(3, 1)->text(), q(fixedField(82.0, 10, 7)));
  EXPECT_EQ(io.box(3, 2)->text(), "4800.00000");  // T2 shown in kelvin
  EXPECT_EQ(io.box(2, 5)->text(), " 2");
  EXPECT_EQ(io.rowCount(), 5);
  for (int i = 1; i <= 5; ++i) EXPECT_TRUE(io.button(i)->isVisibleTo(&io)) << i;
  EXPECT_EQ(io.findChild<QLineEdit*>("Text9")->text(), q(fixedField(r.sumWResInput, 8, 5)));
  EXPECT_EQ(io.findChild<QLineEdit*>("Text10")->text(), q(fixedField(r.sumWResPredicted, 8, 5)));
  QDir().mkpath(QString(TAVRIN_BINARY_DIR) + "/screenshots");
  io.grab().save(QString(TAVRIN_BINARY_DIR) + "/screenshots/frmIOparms.png");

  // Update row 1 (inclination): added to the value held now, once.
  const double delta = r.ioRows[0].correction;
  ASSERT_EQ(io.button(1)->text(), "Update");
  QTest::mouseClick(io.button(1), Qt::LeftButton);
  EXPECT_EQ(io.button(1)->text(), "Done");
  EXPECT_DOUBLE_EQ(s.params.XINCL, 82.0 + delta);
  EXPECT_EQ(w.fieldText("Text39"), q(tavrin::losslessText(82.0 + delta, fixedField(82.0 + delta, 7, 3))));
  QTest::mouseClick(io.button(1), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(s.params.XINCL, 82.0 + delta);
  // Update row 2 (T2): the correction times 10000 in kelvin.
  const double t2 = s.params.T2;
  QTest::mouseClick(io.button(2), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(s.params.T2, t2 + r.ioRows[1].correction * 10000.0);
  EXPECT_EQ(w.fieldText("Text43").toDouble(), s.params.T2);

  // Reopening keeps "Done"; a new standard read allows the rows again.
  w.action("Corrections")->trigger();
  EXPECT_EQ(io.button(1)->text(), "Done");
  w.action("StandardDCO")->trigger();
  w.action("Corrections")->trigger();
  EXPECT_EQ(io.button(1)->text(), "Update");

  // Display DCO > Correlations.
  w.action("correlations")->trigger();
  frmCorrel& c = frmCorrel::of(w);
  ASSERT_TRUE(c.isVisible());
  EXPECT_EQ(c.windowTitle(), "Correlations - example.dco");
  EXPECT_EQ(c.cell(1, 1)->text(), "  1.00000");
  EXPECT_EQ(c.cell(2, 1)->text(), q(fixedField(r.correlation[0][1], 9, 5)));
  EXPECT_EQ(c.cell(5, 5)->text(), "  1.00000");
  EXPECT_EQ(c.label1(1)->text(), "Inclin.");
  EXPECT_EQ(c.label2(3)->text(), "Pot'l 1");
  EXPECT_EQ(c.label2(5)->text(), "L1 (2)");
  c.grab().save(QString(TAVRIN_BINARY_DIR) + "/screenshots/frmCorrel.png");

  // Revert: back to the values that went into the run.
  w.action("revert")->trigger();
  EXPECT_DOUBLE_EQ(s.params.XINCL, 82.0);
  EXPECT_DOUBLE_EQ(s.params.T2, t2);
  EXPECT_EQ(w.fieldText("Text39"), "   82.000");
  EXPECT_EQ(w.fieldText("Text42"), q(fixedField(s.params.T1, 7, 4)));
  EXPECT_EQ(w.fieldText("Text43"), q(fixedField(t2, 8, 4)));
  EXPECT_EQ(w.fieldText("Text35"), q(fixedField(s.params.A, 10, 4)));
  EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join("|").toStdString();
}

// What a field shows is what a save writes, after Update and after revert.
TEST(DcCycle, UpdateAndRevertKeepEveryDigit) {
  Folders f;
  if (!QFile::exists(kSolvex)) GTEST_SKIP() << "the stand-in DC program is not built: " << kSolvex.toStdString();
  ASSERT_TRUE(f.withSolvex());
  mwtest::MessageCatcher messages;
  mwtest::MainWindow w;
  Session& s = w.session();
  s.app.programFolder = f.prog.toStdString();
  loadDci(w, f.data, "example.dci");
  const std::pair<const char*, double> awkward[] = {
      {"Text12", 3.34425e-10}, {"Text11", 0.37268513}, {"Text31", 7.8963e-13}, {"Text34", 0.22775}};
  for (const auto& [control, value] : awkward) w.setFieldText(control, q(tavrin::plainNumberText(value)));
  auto save = [&](const QString& name) {
    frmIO_all& d = w.fileDialog();
    d.open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
    d.setFolder(f.data);
    d.setName(name);
    d.accept();
  };
  save("example.dci");
  const std::string first = (f.data + "/example.dci").toStdString();
  const tavrin::ParameterSet saved = tavrin::readDci(first, tavrin::ParameterSet{}, tavrin::probeDci(first)).params;
  EXPECT_EQ(saved.DPDT, 3.34425e-10);
  // Two runs: the values typed are now two generations back.
  for (int run = 0; run < 2; ++run) {
    w.action("RunStandard")->trigger();
    ASSERT_TRUE(waitForRuns(w));
  }
  // An edit made after the save is what Update adds to.
  w.action("StandardDCO")->trigger();
  w.action("Corrections")->trigger();
  frmIOparms& io = frmIOparms::of(w);
  w.setFieldText("Text39", "80.5");
  QTest::mouseClick(io.button(1), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(s.params.XINCL, 80.5 + s.dcResults.ioRows[0].correction);

  w.setFieldText("Text34", "0.3");
  w.action("revert")->trigger();
  save("reverted.dci");
  ASSERT_TRUE(messages.messages.isEmpty()) << messages.messages.join("|").toStdString();
  const std::string path = (f.data + "/reverted.dci").toStdString();
  const tavrin::ParameterSet back = tavrin::readDci(path, tavrin::ParameterSet{}, tavrin::probeDci(path)).params;
  EXPECT_EQ(back.DPDT, saved.DPDT);
  EXPECT_EQ(back.PERIOD, saved.PERIOD);
  EXPECT_EQ(back.DPERDT, saved.DPERDT);
  EXPECT_EQ(back.E, saved.E);
}

// A run that fails says what the program said last; a failed start leaves
// the history where it was.
TEST(DcCycle, FailedRunSaysWhatDcSaid) {
  Folders f;
  QFile dc(f.prog + "/Solvex");
  ASSERT_TRUE(dc.open(QIODevice::WriteOnly));
  dc.write("#!/bin/sh\necho 'At line 812 of file dc.f' >&2\necho 'Fortran runtime error: Bad value during floating point read' >&2\nexit 2\n");
  dc.close();
  dc.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  mwtest::MessageCatcher messages;
  mwtest::MainWindow w;
  Session& s = w.session();
  s.app.programFolder = f.prog.toStdString();
  loadDci(w, f.data, "example.dci");
  w.action("RunStandard")->trigger();
  ASSERT_TRUE(waitForRuns(w));
  const QString status = w.statusBar()->currentMessage();
  EXPECT_TRUE(status.startsWith("DC failed: example.dco (exit status 2)")) << status.toStdString();
  EXPECT_TRUE(status.endsWith(" - Fortran runtime error: Bad value during floating point read")) << status.toStdString();
  w.action("StandardDCO")->trigger();
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_EQ(messages.messages[0],
            "Error 62: Input past end of file.\nexample.dco\n\nDC wrote on its standard error:\n"
            "At line 812 of file dc.f\nFortran runtime error: Bad value during floating point read");
}

TEST(DcCycle, RefusalsAndInertCommands) {
  Folders f;
  mwtest::MessageCatcher messages;
  mwtest::MainWindow w;
  Session& s = w.session();
  s.app.programFolder = f.prog.toStdString();

  // Nothing loaded: the DCO commands do nothing and say nothing; the runs
  // say to save first (declined here).
  w.action("StandardDCO")->trigger();
  w.action("Corrections")->trigger();
  w.action("correlations")->trigger();
  w.action("RunStandard")->trigger();
  w.action("RunCustom")->trigger();
  EXPECT_TRUE(messages.messages.isEmpty());
  EXPECT_EQ(messages.questions, QStringList(2, "Save the model as an LCI file first (File > Save File)."));
  EXPECT_FALSE(w.fileDialog().isVisible());
  EXPECT_FALSE(frmIOparms::of(w).isVisible());
  EXPECT_FALSE(frmSetOPfile::of(w).isVisible());

  // A DCI but no DC program: refused with the path, no history shift.
  loadDci(w, f.data, "example.dci");
  ASSERT_EQ(s.app.dciName, "example.dci");
  const double gen1 = s.history.generation1.scalars[11];
  s.params.XINCL = 60;
  w.action("RunStandard")->trigger();
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].contains(f.prog + "/Solvex")) << messages.messages[0].toStdString();
  EXPECT_FALSE(QFile::exists(f.prog + "/RunDC.sh"));
  EXPECT_DOUBLE_EQ(s.history.generation1.scalars[11], gen1);

  // A missing report: the error table's message.
  messages.messages.clear();
  s.app.dcoName = "example.dco";
  w.action("StandardDCO")->trigger();
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_EQ(messages.messages[0], "Error 53: File not found.\nexample.dco");
  EXPECT_TRUE(s.dcResults.dcErrorSeen);

  // DC's error line goes to frmMessage, through Load DCO > Custom (code 7).
  messages.messages.clear();
  QFile err(f.data + "/failed.dco");
  ASSERT_TRUE(err.open(QIODevice::WriteOnly));
  err.write("  a listing\r\n*ERR* The normal equations are singular.\r\n");
  err.close();
  w.action("CustomDCO")->trigger();
  frmIO_all& d = w.fileDialog();
  EXPECT_EQ(d.windowTitle(), "Load DCI");
  d.setFolder(f.data);
  d.setName("failed.dco");
  d.accept();
  EXPECT_EQ(s.app.dcoName, "failed.dco");
  EXPECT_TRUE(s.dcoChosenByUser);
  frmMessage& m = frmMessage::of(w);
  ASSERT_TRUE(m.isVisible());
  EXPECT_EQ(m.findChild<QLabel*>("Label1")->text(), "Error!");
  EXPECT_EQ(m.findChild<QLabel*>("Label2")->text(), "*ERR* The normal equations are singular.");
  EXPECT_TRUE(messages.messages.isEmpty());
  m.grab().save(QString(TAVRIN_BINARY_DIR) + "/screenshots/frmMessage.png");
  QTest::mouseClick(m.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  EXPECT_FALSE(m.isVisible());

  // During a contour computation the window stays hidden and no box is shown.
  s.app.contourRunning = true;
  w.action("CustomDCO")->trigger();
  d.setName("failed.dco");
  d.accept();
  EXPECT_FALSE(m.isVisible());
  d.setName("absent.dco");
  w.action("CustomDCO")->trigger();
  d.accept();
  EXPECT_TRUE(messages.messages.isEmpty());
  s.app.contourRunning = false;
}

TEST(DcCycle, CustomRunThroughItsWindow) {
  Folders f;
  if (!QFile::exists(kSolvex)) GTEST_SKIP() << "the stand-in DC program is not built: " << kSolvex.toStdString();
  ASSERT_TRUE(f.withSolvex());
  mwtest::MessageCatcher messages;
  mwtest::MainWindow w;
  Session& s = w.session();
  s.app.programFolder = f.prog.toStdString();
  loadDci(w, f.data, "example.dci");
  // Custom scripts go to the current folder; put it back whatever happens.
  struct CurrentFolder {
    QString saved = QDir::currentPath();
    ~CurrentFolder() { QDir::setCurrent(saved); }
  } restore;
  QDir::setCurrent(f.tmp.path());

  w.action("RunCustom")->trigger();
  frmSetOPfile& o = frmSetOPfile::of(w);
  ASSERT_TRUE(o.isVisible());
  EXPECT_EQ(o.windowTitle(), "Custom");
  EXPECT_EQ(o.nameBox()->text(), "example.dco");
  o.grab().save(QString(TAVRIN_BINARY_DIR) + "/screenshots/frmSetOPfile.png");
  // Cancel changes nothing further.
  QTest::mouseClick(o.findChild<QPushButton*>("Command2"), Qt::LeftButton);
  EXPECT_FALSE(o.isVisible());

  w.action("RunCustom")->trigger();
  o.nameBox()->setText("  fit 'one'.out");
  QTest::mouseClick(o.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  EXPECT_FALSE(o.isVisible());
  EXPECT_EQ(s.app.dcoName, "fit 'one'.out");
  EXPECT_TRUE(QFile::exists(f.tmp.filePath("fit 'one'.sh")));
  ASSERT_TRUE(waitForRuns(w));
  EXPECT_TRUE(w.statusBar()->currentMessage().startsWith("DC finished: fit 'one'.out"));
  EXPECT_GT(QFileInfo(f.data + "/fit 'one'.out").size(), 0);
  EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join("|").toStdString();
}
