// Writes pictures of the main window in both modes and of every step of the
// README's walk-through (load the example DCI, run DC, corrections and
// correlations, revert, switch to LC and save, run LC, plot with
// observations, a small residual map and its plot) into the folder given as
// the only argument. Exits non-zero when a step does not do what it should.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "InstallCommands.h"
#include "PlotCommands.h"
#include "RunCommands.h"
#include "frmCalcContourData.h"
#include "frmCorrel.h"
#include "frmCritPots.h"
#include "frmIO_all.h"
#include "frmIOparms.h"
#include "frmMain.h"
#include "frmPlotContours.h"
#include "frmPlotLC.h"
#include "frmPlotRV.h"
#include "frmTransfer.h"

namespace {

QString out;
QStringList messages;
int step = 0;

void require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "tavrin-screenshots: %s failed%s%s\n", what, messages.isEmpty() ? "" : ": ",
               messages.join(" | ").toLocal8Bit().constData());
  std::exit(1);
}

void shot(QWidget* window, const char* what) {
  QApplication::processEvents();
  const QString path = QString("%1/%2_%3.png").arg(out).arg(++step, 2, 10, QChar('0')).arg(what);
  require(window->grab().save(path), qPrintable("saving " + path));
}

void choose(frmMain& w, const QString& name) {
  w.fileDialog().setName(name);
  w.fileDialog().accept();
}

void waitForRuns(frmMain& w) {
  require(QTest::qWaitFor([&] { return runcommands::runsInProgress(w) == 0; }, 60000), "waiting for the run");
}

void typeInto(QWidget& window, const char* name, const QString& s) {
  auto* e = window.findChild<QLineEdit*>(name);
  require(e, name);
  e->selectAll();
  QTest::keyClicks(e, s);
}

// Clicks `button` of the window `name` once it is shown (it is modal).
void whenShown(frmMain& w, const char* name, const char* button, const char* what) {
  auto* timer = new QTimer(&w);
  QObject::connect(timer, &QTimer::timeout, [=, &w] {
    auto* dlg = w.findChild<QWidget*>(name);
    if (!dlg || !dlg->isVisible()) return;
    timer->stop();
    shot(dlg, what);
    dlg->findChild<QPushButton*>(button)->click();
  });
  timer->start(5);
}

void bothModes() {
  frmMain w;
  installCommands(w);
  w.resize(1366, 740);
  w.show();
  typeInto(w, "Text35", "352.1");  // one marked field
  shot(&w, "frmMain_lc");
  w.session().params.adjustKeys[23] = '0';
  w.session().params.adjustKeys[25] = '0';
  w.session().app.dciName = "sample.dci";
  w.findChild<QRadioButton*>("Option2")->click();
  qobject_cast<QComboBox*>(w.field("Combo3"))->setCurrentIndex(0);  // THE shown
  shot(&w, "frmMain_dc");
  w.action("critpotls")->trigger();
  shot(&w.critPotsWindow(), "frmCritPots");
  shot(&w.transferWindow(), "frmTransfer");
}

void walkthrough(const QString& prog) {
  frmMain w;
  installCommands(w);
  w.resize(1366, 768);
  w.show();
  Session& s = w.session();

  w.action("LoadDCI")->trigger();
  shot(&w.fileDialog(), "file_dialog");
  w.fileDialog().setFolder(prog);
  choose(w, "example.dci");
  require(s.app.dciName == "example.dci", "loading example.dci");
  shot(&w, "dci_loaded");

  w.action("RunStandard")->trigger();
  waitForRuns(w);
  require(w.statusBar()->currentMessage().startsWith("DC finished"), "running DC");
  shot(&w, "dc_finished");

  w.action("StandardDCO")->trigger();
  w.action("Corrections")->trigger();
  frmIOparms& io = frmIOparms::of(w);
  require(io.isVisible(), "Display DCO > Corrections");
  shot(&io, "corrections");
  QTest::mouseClick(io.button(1), Qt::LeftButton);
  shot(&io, "corrections_updated");
  shot(&w, "corrected_editor");
  io.hide();
  w.action("correlations")->trigger();
  shot(&frmCorrel::of(w), "correlations");
  frmCorrel::of(w).hide();
  w.action("revert")->trigger();
  shot(&w, "reverted");

  whenShown(w, "frmTransfer", "Command1", "transfer_question");
  w.findChild<QRadioButton*>("Option1")->click();
  require(s.mode == tavrin::ProgramMode::LC, "switching to LC");
  w.action("Save")->trigger();
  choose(w, "walk.lci");
  require(s.app.lciName == "walk.lci", "saving walk.lci");
  shot(&w, "lc_saved");

  w.action("RunStandard")->trigger();
  waitForRuns(w);
  shot(&w, "lc_finished");
  w.action("Standard")->trigger();
  frmPlotLC& plot = plotLCWindow(w);
  require(plot.isVisible(), "Display LCO > Standard");
  plot.resize(900, 650);
  shot(&plot, "light_curve");
  plot.action("LoadLCData")->trigger();
  choose(w, "example_light_B.csv");
  shot(&plot, "light_curve_with_data");
  for (double scale : {1.0, 2.0})
    plot.exportImage(QString("%1/%2_light_curve_export_%3.png").arg(out).arg(++step, 2, 10, QChar('0')).arg(scale * 100),
                     QSize(800, 560), scale);
  plot.hide();

  w.action("LoadDCI")->trigger();
  choose(w, "example.dci");
  w.action("Contour")->trigger();
  frmCalcContourData& f = frmCalcContourData::of(w);
  require(f.isVisible(), "Contours");
  shot(&f, "contours_window");
  f.findChild<QRadioButton*>("Option2")->click();
  f.findChild<QRadioButton*>("Option14")->click();
  const char* grid[][2] = {{"Text1", "83"}, {"Text2", "89"}, {"Text3", "3"}, {"Text4", "4.7"}, {"Text5", "5.3"}, {"Text6", "3"}};
  for (auto [name, value] : grid) typeInto(f, name, value);
  shot(&f, "contours_grid_defined");
  QSignalSpy tested(&f, &frmCalcContourData::testFinished);
  QTest::mouseClick(f.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  require(tested.wait(60000) && tested.at(0).at(0).toBool(), "the contour test run");
  shot(&f, "contours_tested");
  QTest::mouseClick(f.findChild<QPushButton*>("Command2"), Qt::LeftButton);
  shot(&w.fileDialog(), "contours_output_dialog");
  choose(w, "walk_map.txt");
  QSignalSpy done(&f, &frmCalcContourData::computationFinished);
  QTest::mouseClick(f.findChild<QPushButton*>("Command3"), Qt::LeftButton);
  if (f.progressDialog() && f.progressDialog()->isVisible()) shot(f.progressDialog(), "contours_progress");
  require(done.wait(300000) && f.grid().dataReady, "the contour computation");
  shot(&f, "contours_computed");
  typeInto(f, "Text8", "5");
  QTest::mouseClick(f.findChild<QPushButton*>("Command5"), Qt::LeftButton);
  frmPlotContours* map = f.plotWindow();
  require(map, "Plot Contours");
  shot(map, "contour_plot");
  map->colours();
  map->contours();
  shot(map, "contour_plot_colours_and_contours");
  shot(&w, "editor_after_contours");
  require(messages.isEmpty(), "the walk-through without a message");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: tavrin-screenshots FOLDER\n");
    return 2;
  }
  out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  require(QDir().mkpath(out), "making the folder");
  frmMain::setMessageSink([](const QString& t) { messages << t; });
  frmMain::setQuestionSink([](const QString& t) {
    messages << t;
    return false;
  });
  bothModes();

  // The program folder as scripts/run lays it out: stand-ins and examples.
  const QString standins = QString(TAVRIN_BINARY_DIR) + "/src/standins/", examples = QString(TAVRIN_SOURCE_DIR) + "/examples/";
  QTemporaryDir tmp;
  const QString prog = tmp.filePath("program");
  QDir().mkpath(prog);
  for (const char* exe : {"Synthex", "Solvex"}) require(QFile::link(standins + exe, prog + "/" + exe), exe);
  for (const QString& f : QDir(examples).entryList(QDir::Files)) QFile::copy(examples + f, prog + "/" + f);
  QDir::setCurrent(prog);
  walkthrough(prog);
  std::printf("%d pictures in %s\n", step, qPrintable(out));
  return 0;
}
