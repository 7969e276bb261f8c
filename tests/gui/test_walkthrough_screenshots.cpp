// The newcomer's walk-through of the README on real windows, with a picture
// of every step: load the example DCI, run DC, read and show its report,
// apply and revert a correction, switch to LC and save, run LC, plot with
// observations, compute a small residual map and plot it. Runs only when
// TAVRIN_SCREENSHOT_DIR names a folder for the pictures.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "PlotCommands.h"
#include "RunCommands.h"
#include "frmCalcContourData.h"
#include "frmIO_all.h"
#include "frmIOparms.h"
#include "frmMain.h"
#include "frmMain_test_support.h"
#include "frmPlotContours.h"
#include "frmPlotLC.h"
#include "frmTransfer.h"

namespace {

const QString kStandins = QString(TAVRIN_BINARY_DIR) + "/src/standins";
const QString kExamples = QString(TAVRIN_SOURCE_DIR) + "/examples";

void choose(frmMain& w, const QString& name) {
  frmIO_all& d = w.fileDialog();
  d.setName(name);
  d.accept();
}

bool waitForRuns(frmMain& w) {
  return QTest::qWaitFor([&] { return runcommands::runsInProgress(w) == 0; }, 60000);
}

void typeInto(QLineEdit* e, const QString& s) {
  e->selectAll();
  QTest::keyClicks(e, s);
}

}  // namespace

TEST(Walkthrough, ReadmeStepsWithPictures) {
  const char* out = std::getenv("TAVRIN_SCREENSHOT_DIR");
  if (!out) GTEST_SKIP() << "TAVRIN_SCREENSHOT_DIR not set";
  if (!QFile::exists(kStandins + "/Synthex") || !QFile::exists(kStandins + "/Solvex"))
    GTEST_SKIP() << "stand-in programs not built";
  QDir().mkpath(out);
  int step = 0;
  auto shot = [&](QWidget* window, const char* what) {
    QApplication::processEvents();
    const QString path = QString("%1/%2_%3.png").arg(out).arg(++step, 2, 10, QChar('0')).arg(what);
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
  };

  // The program folder as scripts/run lays it out: stand-ins and examples.
  QTemporaryDir tmp;
  const QString prog = tmp.filePath("program");
  QDir().mkpath(prog);
  for (const char* exe : {"Synthex", "Solvex"}) ASSERT_TRUE(QFile::link(kStandins + "/" + exe, prog + "/" + exe));
  for (const QString& f : QDir(kExamples).entryList(QDir::Files)) QFile::copy(kExamples + "/" + f, prog + "/" + f);
  const QString oldCwd = QDir::currentPath();
  QDir::setCurrent(prog);

  mwtest::MessageCatcher messages;
  {
    mwtest::MainWindow w;
    w.resize(1366, 768);
    w.show();
    Session& s = w.session();
    ASSERT_EQ(QDir(QString::fromStdString(s.app.programFolder)).canonicalPath(), QDir(prog).canonicalPath());

    // 1. Load the example DCI.
    w.action("LoadDCI")->trigger();
    shot(&w.fileDialog(), "file_dialog");
    w.fileDialog().setFolder(prog);
    choose(w, "example.dci");
    ASSERT_EQ(s.app.dciName, "example.dci") << messages.messages.join("|").toStdString();
    shot(&w, "dci_loaded");

    // 2. Run DC > Standard.
    w.action("RunStandard")->trigger();
    EXPECT_TRUE(w.statusBar()->currentMessage().contains("Solvex")) << w.statusBar()->currentMessage().toStdString();
    ASSERT_TRUE(waitForRuns(w));
    EXPECT_TRUE(w.statusBar()->currentMessage().startsWith("DC finished"));
    shot(&w, "dc_finished");

    // 3. Load DCO > Standard, Display DCO > Corrections, Update, Revert.
    w.action("StandardDCO")->trigger();
    w.action("Corrections")->trigger();
    frmIOparms& io = frmIOparms::of(w);
    ASSERT_TRUE(io.isVisible());
    shot(&io, "corrections");
    QTest::mouseClick(io.button(1), Qt::LeftButton);
    shot(&io, "corrections_updated");
    shot(&w, "corrected_editor");
    io.hide();
    w.action("revert")->trigger();
    shot(&w, "reverted");

    // 4. Switch to LC, carrying DC's curve values over, and save as walk.lci.
    mwtest::whenShown([&w] { return static_cast<QWidget*>(w.findChild<frmTransfer*>("frmTransfer")); },
                      [&](QWidget* dlg) {
                        shot(dlg, "transfer_question");
                        dlg->findChild<QPushButton*>("Command1")->click();
                      });
    w.findChild<QRadioButton*>("Option1")->click();
    ASSERT_EQ(s.mode, tavrin::ProgramMode::LC);
    w.action("Save")->trigger();
    choose(w, "walk.lci");
    ASSERT_EQ(s.app.lciName, "walk.lci") << messages.messages.join("|").toStdString();
    shot(&w, "lc_saved");

    // 5. Run LC, display the light curve, add observations.
    w.action("RunStandard")->trigger();
    ASSERT_TRUE(waitForRuns(w));
    shot(&w, "lc_finished");
    w.action("Standard")->trigger();
    frmPlotLC& plot = plotLCWindow(w);
    ASSERT_TRUE(plot.isVisible()) << messages.messages.join("|").toStdString();
    plot.resize(900, 650);
    shot(&plot, "light_curve");
    plot.action("LoadLCData")->trigger();
    choose(w, "example_light_B.csv");
    shot(&plot, "light_curve_with_data");
    plot.hide();

    // 6. Contours: a 3 x 3 map of inclination against potential 1 from the DCI.
    w.action("LoadDCI")->trigger();
    choose(w, "example.dci");
    w.action("Contour")->trigger();
    frmCalcContourData& f = frmCalcContourData::of(w);
    ASSERT_TRUE(f.isVisible());
    shot(&f, "contours_window");
    f.findChild<QRadioButton*>("Option2")->click();
    f.findChild<QRadioButton*>("Option14")->click();
    typeInto(f.findChild<QLineEdit*>("Text1"), "83");
    typeInto(f.findChild<QLineEdit*>("Text2"), "89");
    typeInto(f.findChild<QLineEdit*>("Text3"), "3");
    typeInto(f.findChild<QLineEdit*>("Text4"), "4.7");
    typeInto(f.findChild<QLineEdit*>("Text5"), "5.3");
    typeInto(f.findChild<QLineEdit*>("Text6"), "3");
    shot(&f, "contours_grid_defined");
    QSignalSpy tested(&f, &frmCalcContourData::testFinished);
    QTest::mouseClick(f.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    ASSERT_TRUE(tested.wait(60000));
    ASSERT_TRUE(tested.at(0).at(0).toBool()) << messages.messages.join("|").toStdString();
    shot(&f, "contours_tested");
    QTest::mouseClick(f.findChild<QPushButton*>("Command2"), Qt::LeftButton);
    shot(&w.fileDialog(), "contours_output_dialog");
    choose(w, "walk_map.txt");
    QSignalSpy done(&f, &frmCalcContourData::computationFinished);
    QTest::mouseClick(f.findChild<QPushButton*>("Command3"), Qt::LeftButton);
    if (f.progressDialog() && f.progressDialog()->isVisible()) shot(f.progressDialog(), "contours_progress");
    ASSERT_TRUE(done.wait(300000));
    ASSERT_TRUE(f.grid().dataReady) << messages.messages.join("|").toStdString();
    shot(&f, "contours_computed");
    typeInto(f.findChild<QLineEdit*>("Text8"), "5");
    QTest::mouseClick(f.findChild<QPushButton*>("Command5"), Qt::LeftButton);
    frmPlotContours* map = f.plotWindow();
    ASSERT_NE(map, nullptr) << messages.messages.join("|").toStdString();
    shot(map, "contour_plot");
    map->colours();
    map->contours();
    shot(map, "contour_plot_colours_and_contours");
    shot(&w, "editor_after_contours");
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join("|").toStdString();
  }
  QDir::setCurrent(oldCwd);
}
