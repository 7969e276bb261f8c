// The contour windows on real widgets: the Contours menu, the Test run with
// the stand-in DC, the output file through the file dialog, a computation
// with its progress dialog (the file equals the command line's), Cancel,
// loading, the plot refusals, the plot window with its readout and export,
// and the help page.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "frmCalcContourData.h"
#include "frmHelpContours.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "frmMain_test_support.h"
#include "frmPlotContours.h"
#include "model/dci_writer.h"
#include "model/number_fields.h"
#include "shell/atomic_file.h"

namespace {

const QString kSolvex = QString(TAVRIN_BINARY_DIR) + "/src/standins/Solvex";
const QString kCli = QString(TAVRIN_BINARY_DIR) + "/src/cli/tavrin-cli";
const QString kExamples = QString(TAVRIN_SOURCE_DIR) + "/examples";

void loadDci(frmMain& w, const QString& folder, const QString& name) {
  w.action("LoadDCI")->trigger();
  frmIO_all& d = w.fileDialog();
  d.setFolder(folder);
  d.setName(name);
  d.accept();
}

template <typename T>
T* child(QWidget& w, const char* name) {
  return w.findChild<T*>(name);
}

void typeInto(QLineEdit* e, const QString& s) {
  e->selectAll();
  QTest::keyClicks(e, s);
}

// Sets up inclination 83..89 (M) against potential 1 4.7..5.3 (N).
void defineGrid(frmCalcContourData& f, int M, int N) {
  child<QRadioButton>(f, "Option2")->click();
  child<QRadioButton>(f, "Option14")->click();
  typeInto(child<QLineEdit>(f, "Text1"), "83");
  typeInto(child<QLineEdit>(f, "Text2"), "89");
  typeInto(child<QLineEdit>(f, "Text3"), QString::number(M));
  typeInto(child<QLineEdit>(f, "Text4"), "4.7");
  typeInto(child<QLineEdit>(f, "Text5"), "5.3");
  typeInto(child<QLineEdit>(f, "Text6"), QString::number(N));
}

// All of the user's model a residual map could touch: every editor field (text
// and colour), the labels' colours (adjusted keys are red), the session's set,
// the file names, the caption and the DC results.
struct ModelState {
  std::map<std::string, QString> fields;
  std::string set;
  std::vector<std::string> names;
  QString caption;
  double wres = 0;
};

ModelState stateOf(frmMain& w) {
  ModelState m;
  for (const tavrin::ScalarField& f : tavrin::scalarFields()) {
    const QString control = QString::fromUtf8(f.control.data(), int(f.control.size()));
    if (QWidget* x = w.field(control)) m.fields[std::string(f.control)] = w.fieldText(control) + (mwtest::isBlue(x) ? " blue" : "");
    if (QLabel* l = w.fieldLabel(QString::fromUtf8(f.label.data(), int(f.label.size()))))
      m.fields[std::string(f.label)] = l->palette().color(QPalette::WindowText).name();
  }
  const Session& s = w.session();
  m.set = tavrin::dciText(s.params);
  m.names = {s.app.programFolder, s.app.dataFolder, s.app.lciName, s.app.dciName, s.app.lcoName, s.app.dcoName};
  m.caption = w.windowTitle();
  m.wres = s.dcResults.sumWResInput;
  return m;
}

// What differs, "" when nothing does.
std::string differences(const ModelState& a, const ModelState& b) {
  std::string d;
  for (const auto& [k, v] : a.fields)
    if (b.fields.count(k) == 0 || b.fields.at(k) != v) d += k + ": " + v.toStdString() + " / " + (b.fields.count(k) ? b.fields.at(k).toStdString() : "") + "; ";
  if (a.set != b.set) d += "the set; ";
  if (a.names != b.names) d += "names; ";
  if (a.caption != b.caption) d += "caption " + a.caption.toStdString() + " / " + b.caption.toStdString() + "; ";
  if (a.wres != b.wres) d += "DC results; ";
  return d;
}

}  // namespace

TEST(ContourWindows, ControlsAndRefusals) {
  mwtest::MainWindow w;
  mwtest::MessageCatcher msgs;
  w.action("Contour")->trigger();
  frmCalcContourData& f = frmCalcContourData::of(w);
  ASSERT_TRUE(f.isVisible());
  EXPECT_EQ(f.windowTitle(), "Calculate Contour Data");
  for (const char* n : {"Frame1", "Frame2", "Option1", "Option5", "Option11", "Option15", "Text1", "Text9", "Label16",
                        "Label18", "Label20", "Label25", "Label26", "Command1", "Command5", "ParallelRuns"})
    EXPECT_NE(f.findChild<QWidget*>(n), nullptr) << n;
  EXPECT_EQ(child<QRadioButton>(f, "Option2")->text(), "Inclination, i");
  EXPECT_TRUE(child<QRadioButton>(f, "Option1")->isChecked());
  EXPECT_TRUE(child<QRadioButton>(f, "Option12")->isChecked());
  EXPECT_TRUE(child<QPushButton>(f, "Command1")->isEnabled());
  EXPECT_FALSE(child<QPushButton>(f, "Command2")->isEnabled());
  EXPECT_FALSE(child<QPushButton>(f, "Command3")->isEnabled());

  // Test without a DCI.
  f.test();
  ASSERT_EQ(msgs.messages.size(), 1);
  EXPECT_EQ(msgs.messages[0], "Oops!  You need to load a .dci file first.");

  // Delay raised to 0.7 when shown again; typed fields turn blue.
  typeInto(child<QLineEdit>(f, "Text7"), "0.3");
  EXPECT_DOUBLE_EQ(f.delay(), 0.3);
  f.hide();
  f.show();
  EXPECT_DOUBLE_EQ(f.delay(), 0.7);
  EXPECT_EQ(child<QLineEdit>(f, "Text7")->text(), ".7");
  typeInto(child<QLineEdit>(f, "Text3"), "3");
  EXPECT_NE(child<QLineEdit>(f, "Text3")->styleSheet().indexOf("0,0,255"), -1);
  // An integer box beyond 16 bits keeps its value and says so.
  typeInto(child<QLineEdit>(f, "Text6"), "70000");
  EXPECT_TRUE(msgs.messages.contains("Error 6: Overflow."));

  // Plot without a grid, and the zoom message.
  msgs.messages.clear();
  typeInto(child<QLineEdit>(f, "Text8"), "1");
  f.plotContours();
  ASSERT_EQ(msgs.messages.size(), 1);
  EXPECT_EQ(msgs.messages[0], "Zoom factor must be >= 2.");

  // Help page.
  f.findChild<QAction*>("HelpContours")->trigger();
  auto* help = f.findChild<frmHelpContours*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->findChild<QLabel*>("Label0")->text(), "Help - Contours");
  EXPECT_NE(help->findChild<QLabel*>("Label1_0")->text().indexOf("M x N grid"), -1);
}

TEST(ContourWindows, ComputeLoadPlotAndExport) {
  if (!QFile::exists(kSolvex) || !QFile::exists(kCli)) GTEST_SKIP() << "stand-in DC or tavrin-cli not built";
  QTemporaryDir tmp;
  mwtest::MainWindow w;
  mwtest::MessageCatcher msgs;
  QFile::copy(kExamples + "/example.dci", tmp.path() + "/example.dci");
  loadDci(w, tmp.path(), "example.dci");
  ASSERT_EQ(w.session().app.dciName, "example.dci");

  w.action("Contour")->trigger();
  frmCalcContourData& f = frmCalcContourData::of(w);
  f.setDcExecutable(kSolvex);
  defineGrid(f, 3, 3);
  QSignalSpy tested(&f, &frmCalcContourData::testFinished);
  QTest::mouseClick(child<QPushButton>(f, "Command1"), Qt::LeftButton);
  ASSERT_TRUE(tested.wait(60000));
  ASSERT_TRUE(tested.at(0).at(0).toBool()) << msgs.messages.join("|").toStdString();
  EXPECT_GT(f.runTime(), 0);
  EXPECT_FALSE(child<QLabel>(f, "Label16")->text().isEmpty());
  EXPECT_FALSE(child<QPushButton>(f, "Command1")->isEnabled());
  EXPECT_TRUE(child<QPushButton>(f, "Command2")->isEnabled());

  QTest::mouseClick(child<QPushButton>(f, "Command2"), Qt::LeftButton);
  frmIO_all& d = w.fileDialog();
  EXPECT_EQ(d.windowTitle(), "Save Contour Data");
  d.setName("gui.txt");
  d.accept();
  EXPECT_EQ(f.outputName(), "gui.txt");
  ASSERT_TRUE(child<QPushButton>(f, "Command3")->isEnabled());

  // Cancel first: nothing written, the editor back to the base set.
  f.setParallelRuns(2);
  const double incl0 = w.session().params.XINCL;
  QSignalSpy done(&f, &frmCalcContourData::computationFinished);
  QTest::mouseClick(child<QPushButton>(f, "Command3"), Qt::LeftButton);
  ASSERT_NE(f.progressDialog(), nullptr);
  EXPECT_TRUE(f.progressDialog()->isVisible());
  f.cancel();
  ASSERT_TRUE(done.wait(120000));
  EXPECT_TRUE(done.at(0).at(0).toBool());
  EXPECT_FALSE(QFile::exists(tmp.path() + "/gui.txt"));
  EXPECT_DOUBLE_EQ(w.session().params.XINCL, incl0);

  // The whole computation; the window stays responsive meanwhile.
  QTest::mouseClick(child<QPushButton>(f, "Command3"), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_TRUE(f.computing());
  EXPECT_TRUE(f.progressDialog()->labelText().contains("Points done"));
  ASSERT_TRUE(done.wait(300000));
  EXPECT_FALSE(done.at(1).at(0).toBool());
  ASSERT_TRUE(QFile::exists(tmp.path() + "/gui.txt")) << msgs.messages.join("|").toStdString();
  EXPECT_TRUE(f.grid().dataReady);
  EXPECT_FALSE(child<QLabel>(f, "Label25")->text().isEmpty());
  for (const auto& e : QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) ADD_FAILURE() << e.toStdString();

  // The command line computes the same file from the same DCI.
  const QString cli = "'" + kCli + "' contour '" + tmp.path() + "/example.dci' --x 2:83:89:3 --y 4:4.7:5.3:3 " +
                      "--iterations 1 --jobs 1 --dc '" + kSolvex + "' --out '" + tmp.path() + "/cli.txt' 2>/dev/null";
  ASSERT_EQ(std::system(cli.toStdString().c_str()), 0);
  EXPECT_EQ(tavrin::readWholeFile((tmp.path() + "/gui.txt").toStdString()),
            tavrin::readWholeFile((tmp.path() + "/cli.txt").toStdString()));

  // Load it back through the dialog, then plot.
  QTest::mouseClick(child<QPushButton>(f, "Command4"), Qt::LeftButton);
  EXPECT_EQ(d.windowTitle(), "Load Contour Data");
  d.setName("cli.txt");
  d.accept();
  EXPECT_EQ(f.contourFileName(), "cli.txt");
  EXPECT_EQ(f.grid().gridDef.xCode, 2);
  EXPECT_TRUE(child<QRadioButton>(f, "Option14")->isChecked());
  typeInto(child<QLineEdit>(f, "Text8"), "5");
  msgs.messages.clear();
  f.plotContours();
  ASSERT_TRUE(msgs.messages.isEmpty()) << msgs.messages.join("|").toStdString();
  frmPlotContours* p = f.plotWindow();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->windowTitle(), "Plot Contours - cli.txt");
  EXPECT_EQ(p->contourLines(), 10);
  EXPECT_EQ(p->fineGrid().fineM, 10);
  ASSERT_EQ(p->layers().size(), 1u);
  p->colours();
  p->contours();
  EXPECT_EQ(p->layers().size(), 3u);
  QApplication::processEvents();
  const QImage shot = p->grab().toImage();
  shot.save(QString(TAVRIN_BINARY_DIR) + "/contour_plot_window.png");
  EXPECT_EQ(p->labelText("Label19"), "Inclination");
  EXPECT_EQ(p->labelText("Label18"), "Omega1");
  // Readout in the middle of the plot area.
  QWidget* area = p->plotArea();
  p->readoutAt(QPointF(area->width() / 2.0, (area->height() - 77) / 2.0));
  EXPECT_FALSE(p->findChild<QLabel*>("Label15")->text().isEmpty());
  // Levels refused with a message.
  auto* lines = p->findChild<QLineEdit*>("Text3");
  typeInto(lines, "1");
  p->contours();
  EXPECT_TRUE(msgs.messages.contains("The number of contour lines must be at least 2."));
  p->clear();
  EXPECT_TRUE(p->layers().empty());
  p->colours();
  for (const char* ext : {"png", "svg", "pdf"}) {
    const QString out = tmp.path() + "/map." + ext;
    p->exportImage(out, QSize(800, 500), 1.0);
    EXPECT_GT(QFile(out).size(), 500) << ext;
  }
  QFile::copy(tmp.path() + "/map.png", QString(TAVRIN_BINARY_DIR) + "/contour_export.png");
}

TEST(ContourWindows, MapLeavesTheModelAloneWhileTheUserLoadsAnotherFile) {
  if (!QFile::exists(kSolvex)) GTEST_SKIP() << "stand-in DC not built";
  QTemporaryDir tmp;
  const QString model = tmp.path() + "/model", maps = tmp.path() + "/maps";
  QDir().mkpath(model);
  QDir().mkpath(maps);
  QFile::copy(kExamples + "/example.dci", model + "/example.dci");
  QFile::copy(kExamples + "/example.dci", model + "/other.dci");
  const std::string otherText = tavrin::readWholeFile((model + "/other.dci").toStdString());
  mwtest::MainWindow w;
  mwtest::MessageCatcher msgs;
  QStringList questions;
  bool answer = false;
  frmCalcContourData::setQuestion([&](const QString& q) {
    questions << q;
    return answer;
  });
  loadDci(w, model, "example.dci");
  mwtest::type(w, "Text36", "1.01");            // an unsaved edit
  w.session().dcResults.sumWResInput = 123.25;  // as after reading a report
  const ModelState before = stateOf(w);

  w.action("Contour")->trigger();
  frmCalcContourData& f = frmCalcContourData::of(w);
  f.setDcExecutable(kSolvex);
  f.setParallelRuns(2);
  defineGrid(f, 5, 5);
  QSignalSpy tested(&f, &frmCalcContourData::testFinished);
  f.test();
  ASSERT_TRUE(tested.wait(60000));
  ASSERT_TRUE(tested.at(0).at(0).toBool()) << msgs.messages.join("|").toStdString();
  EXPECT_EQ(differences(before, stateOf(w)), "");

  // The grid goes elsewhere; the model's folder stays the current one.
  f.setOutputFile();
  frmIO_all& d = w.fileDialog();
  d.setFolder(maps);
  d.setName("grid.txt");
  d.accept();
  EXPECT_EQ(f.outputFolder(), QDir::toNativeSeparators(maps));
  EXPECT_EQ(differences(before, stateOf(w)), "");

  QSignalSpy done(&f, &frmCalcContourData::computationFinished);
  QTest::mouseClick(child<QPushButton>(f, "Command3"), Qt::LeftButton);
  ASSERT_TRUE(f.computing());
  loadDci(w, model, "other.dci");
  mwtest::type(w, "Text37", "0.99");
  const ModelState during = stateOf(w);
  EXPECT_NE(differences(before, during), "");
  ASSERT_TRUE(f.computing()) << "the map ended before the user's load";
  ASSERT_TRUE(done.wait(300000));
  EXPECT_EQ(differences(during, stateOf(w)), "");
  EXPECT_TRUE(QFile::exists(maps + "/grid.txt"));
  EXPECT_EQ(QDir(model).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"example.dci", "other.dci"}));
  EXPECT_TRUE(msgs.messages.isEmpty()) << msgs.messages.join("|").toStdString();

  // Computing into the file again asks first; so does naming it again.
  QTest::mouseClick(child<QPushButton>(f, "Command3"), Qt::LeftButton);
  EXPECT_EQ(questions, QStringList{"grid.txt already exists. Replace it?"});
  EXPECT_FALSE(f.computing());
  f.setOutputFile();
  d.setFolder(maps);
  d.accept();
  EXPECT_EQ(questions.size(), 2);

  // The best point goes into the editor on request, unsaved.
  ASSERT_TRUE(f.bestPoint());
  const tavrin::ParameterSet& best = f.bestPoint()->params;
  w.action("Data")->trigger();
  QTest::mouseClick(child<QPushButton>(f, "Command6"), Qt::LeftButton);
  EXPECT_EQ(w.session().params.curves[3].l1, best.curves[3].l1);
  EXPECT_EQ(w.findChild<QLineEdit*>("Text15_3")->text().toStdString(), tavrin::trimmedPlainText(best.curves[3].l1));
  for (auto [control, value] : {std::pair{"Text39", best.XINCL}, std::pair{"Text46", best.POTH}}) {
    EXPECT_EQ(w.fieldText(control).toStdString(), tavrin::trimmedPlainText(value)) << control;
    EXPECT_TRUE(mwtest::isBlue(w.field(control))) << control;
  }
  EXPECT_EQ(stateOf(w).names, during.names);
  EXPECT_EQ(stateOf(w).caption, during.caption);
  EXPECT_EQ(tavrin::readWholeFile((model + "/other.dci").toStdString()), otherText);
  frmCalcContourData::setQuestion({});
}

TEST(ContourWindows, FailedPointsAreSaidBeforePlotIsOffered) {
  if (!QFile::exists(kSolvex)) GTEST_SKIP() << "stand-in DC not built";
  QTemporaryDir tmp;
  QFile::copy(kExamples + "/example.dci", tmp.path() + "/example.dci");
  // Every run after a worker's first fails, as the real DC does on a bad table.
  const QString dc = tmp.path() + "/Solvex";
  tavrin::writeFileAtomically(dc.toStdString(),
                              "#!/bin/sh\nn=$(($(cat count 2>/dev/null || echo 0) + 1)); echo $n > count\n"
                              "[ $n -gt 1 ] && { echo 'Program stopped in PLANCKINT' >&2; exit 2; }\nexec '" +
                                  kSolvex.toStdString() + "'\n");
  QFile::setPermissions(dc, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  mwtest::MainWindow w;
  loadDci(w, tmp.path(), "example.dci");
  frmCalcContourData& f = frmCalcContourData::of(w);
  QStringList said;
  frmMain::setMessageSink([&](const QString& t) {
    said << t + (child<QPushButton>(f, "Command5")->isEnabled() ? " [plot offered]" : "");
  });
  f.show();
  f.setDcExecutable(dc);
  f.setParallelRuns(1);
  defineGrid(f, 3, 3);
  QSignalSpy tested(&f, &frmCalcContourData::testFinished);
  f.test();
  ASSERT_TRUE(tested.wait(60000));
  f.setOutputFile();
  w.fileDialog().setName("failed.txt");
  w.fileDialog().accept();
  QSignalSpy done(&f, &frmCalcContourData::computationFinished);
  f.startCalcs();
  ASSERT_TRUE(done.wait(120000));
  frmMain::setMessageSink({});
  EXPECT_EQ(said, QStringList{"9 of 9 grid points failed (marked 99). The first, at Inclination 83, Omega1 4.7: "
                              "DC exit status 2: Program stopped in PLANCKINT"});
  EXPECT_EQ(child<QLabel>(f, "Label25")->text(), "none");
  EXPECT_TRUE(child<QPushButton>(f, "Command5")->isEnabled());
  EXPECT_FALSE(child<QPushButton>(f, "Command6")->isEnabled());
  EXPECT_TRUE(QFile::exists(tmp.path() + "/failed.txt"));
}
