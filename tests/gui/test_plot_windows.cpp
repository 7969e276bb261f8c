// The plot windows on real widgets: Display LCO, the data loads through the
// file dialog, menus and check marks, Y range, export and print. Each step's
// window (caption, check marks, the drawing's labels and note) goes to a
// transcript compared with golden/win_plot_*.txt.
#include <QImage>
#include <QPrinter>
#include <QProcess>

#include "FigureExport.h"
#include "PlotCommands.h"
#include "frmCorrel.h"
#include "frmIOparms.h"
#include "frmPlotLC.h"
#include "frmPlotRV.h"
#include "frmYrange.h"
#include "output/plot_observations.h"
#include "shell/errors.h"
#include "win_support.h"

namespace {

// Runs the stand-in LC program on an example input; false when it is not built.
bool synthesise(const QString& lci, const QString& lco) {
  QProcess p;
  p.setStandardInputFile(win::kExamples + lci);
  p.setStandardOutputFile(lco);
  p.start(win::kStandins + "Synthex", {});
  return p.waitForFinished(60000) && p.exitCode() == 0 && QFileInfo(lco).size() > 0;
}

class PlotWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!synthesise("example.lci", dir.filePath("example.lco")) || !synthesise("example_rv.lci", dir.filePath("example_rv.lco")))
      GTEST_SKIP() << "stand-in LC program not built";
    for (const char* f : {"example_light_B.csv", "example_rv1.csv", "example_rv2.csv"})
      QFile::copy(win::kExamples + f, dir.filePath(f));
    main.session().app.dataFolder = dir.path().toStdString();
    main.fileDialog().setFolder(dir.path());
  }
  frmPlotLC& display(const char* lco) {
    main.session().app.lcoName = lco;
    EXPECT_TRUE(displayLco(main));
    return plotLCWindow(main);
  }
  // The window, the shared plot state and what was said since the last note.
  void note(const std::string& step, PlotWindow* p = nullptr) {
    const tavrin::PlotState& s = main.session().plot;
    log += "> " + step + QString("\n  mode %1 join %2 grid %3 colour %4,%5,%6 y %7..%8\n")
                         .arg(s.displayMode).arg(s.joinPoints).arg(s.gridLines).arg(int(s.plotColour.r))
                         .arg(int(s.plotColour.g)).arg(int(s.plotColour.b)).arg(s.yMin).arg(s.yMax).toStdString();
    for (; said < messages.messages.size(); ++said)
      log += "  said: " + QString(messages.messages[said]).replace(dir.path(), "ROOT").toStdString() + "\n";
    if (p) log += win::dumpPlot(*p);
  }
  void dialog() {
    log += QString("dialog %1 %2\n").arg(static_cast<int>(main.fileDialog().op())).arg(main.fileDialog().windowTitle()).toStdString();
  }
  QString text(QWidget& w, const char* name) { return w.findChild<QLineEdit*>(name)->text(); }
  // OK with these values; whether the window stays open (refused).
  bool setRange(frmYrange& y, const QString& top, const QString& bottom) {
    y.findChild<QLineEdit*>("Text1")->setText(top);
    y.findChild<QLineEdit*>("Text2")->setText(bottom);
    y.accept();
    return y.isVisible();
  }

  QTemporaryDir dir;
  mwtest::MessageCatcher messages;
  mwtest::MainWindow main;
  std::string log;
  qsizetype said = 0;
};

}  // namespace

TEST_F(PlotWindows, DisplayLoadUnloadAndMenus) {
  main.session().app.lciName = "example.lci";
  main.action("Standard")->trigger();
  frmPlotLC& lc = plotLCWindow(main);
  EXPECT_TRUE(lc.isVisible() && main.session().curve.page == 1 && main.session().params.MPAGE == 1);
  EXPECT_EQ(main.fieldText("Text55"), QString::fromStdString(main.session().curve.l2Text));
  note("Display LCO > Standard", &lc);
  // With no LCI name, Standard does nothing.
  main.session().app.lciName.clear();
  main.session().app.lcoName = "other.lco";
  main.action("Standard")->trigger();
  EXPECT_EQ(main.session().app.lcoName, "other.lco");
  display("example.lco");

  lc.action("LoadLCData")->trigger();
  dialog();
  win::choose(main, "example_light_B.csv");
  const auto& s = main.session();
  log += "points " + std::to_string(s.observedLight.count()) + "\n";
  note("load example_light_B.csv", &lc);
  // A load that fails keeps the points, the name and the caption.
  const auto before = s.observedLight.phase;
  lc.loadData("missing.csv");
  win::writeFile(dir.filePath("bad.csv"), "0.1,0.5\n0.2,0.6\nnot,numbers\n");
  lc.loadData("bad.csv");
  EXPECT_EQ(s.observedLight.phase, before);
  note("missing.csv, bad.csv", &lc);
  // Reading the report again names only the report; the points stay.
  ASSERT_TRUE(displayLco(main));
  EXPECT_EQ(s.observedLight.phase, before);
  note("displayed again", &lc);
  lc.action("UnloadLCData")->trigger();
  EXPECT_EQ(s.observedLight.count(), 0);
  note("UnloadLCData", &lc);

  for (const char* item : {"DataOnly", "JoinPoints", "GridLines", "Blue"}) {
    lc.action(item)->trigger();
    note(item, &lc);
  }
  // The velocity window shares the state and has no colour menu.
  frmPlotRV& rv = plotRVWindow(main);
  rv.syncChecks();
  note("velocity window", &rv);
  EXPECT_TRUE(rv.action("Red") == nullptr && !rv.action("About")->isEnabled());
  // Exit hides the window; the main window's own items are not shadowed.
  lc.action("Exit")->trigger();
  EXPECT_FALSE(lc.isVisible());
  EXPECT_TRUE(main.action("Print") && main.action("Print") != lc.action("Print"));
  note("Exit");
  win::expectGolden("gui", "win_plot_light.txt", log);
}

TEST_F(PlotWindows, FocusJoinsThePointsAgain) {
  frmPlotLC& lc = display("example.lco");
  main.show();
  lc.activateWindow();
  if (!QTest::qWaitForWindowActive(&lc)) GTEST_SKIP() << "no window activation on this platform";
  auto& s = main.session().plot;
  s.joinPoints = true;
  lc.action("JoinPoints")->trigger();
  EXPECT_FALSE(s.joinPoints);
  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  lc.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&lc));
  EXPECT_TRUE(s.joinPoints);
  EXPECT_TRUE(lc.action("JoinPoints")->isChecked());
}

TEST_F(PlotWindows, YRanges) {
  frmPlotLC& lc = display("example.lco");
  lc.action("Yscale")->trigger();
  frmYrange& y = lc.yRangeWindow();
  log += (y.windowTitle() + " [" + text(y, "Text1") + "] [" + text(y, "Text2") + "]\n").toStdString();
  EXPECT_TRUE(setRange(y, "1.2", "1.2"));
  EXPECT_FALSE(setRange(y, "1.2", "0.2"));
  note("light 1.2 1.2, then 1.2 0.2", &lc);

  // The velocity range is automatic (empty boxes) until set; upside down is turned round.
  display("example_rv.lco");
  frmPlotRV& rv = plotRVWindow(main);
  ASSERT_TRUE(rv.isVisible());
  note("velocity, automatic", &rv);
  rv.action("Yscale")->trigger();
  frmYrange& v = rv.yRangeWindow();
  log += ("[" + text(v, "Text1") + "] [" + text(v, "Text2") + "]\n").toStdString();
  EXPECT_TRUE(setRange(v, "50", "50"));
  EXPECT_FALSE(setRange(v, "-50", "1000"));
  EXPECT_EQ(rv.velocityRange().value_or(std::pair{0.0, 0.0}), std::make_pair(1000.0, -50.0));
  note("velocity 50 50, then -50 1000", &rv);
  rv.action("Yscale")->trigger();
  EXPECT_EQ(text(v, "Text1"), "1000");
  EXPECT_FALSE(setRange(v, "", ""));
  EXPECT_FALSE(rv.velocityRange());
  note("velocity cleared", &rv);
  win::expectGolden("gui", "win_plot_ranges.txt", log);
}

TEST_F(PlotWindows, VelocityCurvesReportsOfNeitherPageAndOneRow) {
  main.action("Custom")->trigger();
  dialog();
  win::choose(main, "example_rv.lco");
  frmPlotRV& rv = plotRVWindow(main);
  ASSERT_TRUE(rv.isVisible());
  for (auto [item, file] : {std::pair{"LoadRV2Data", "example_rv2.csv"}, std::pair{"LoadRV1Data", "example_rv1.csv"}}) {
    rv.action(item)->trigger();
    dialog();
    win::choose(main, file);
  }
  const auto& o = main.session().observedVelocities;
  EXPECT_TRUE(o.set(1).loaded && o.set(2).loaded);
  EXPECT_EQ(o.set(1).fileName, "example_rv1.csv");
  note("both sets", &rv);
  rv.action("UnloadLCData")->trigger();
  EXPECT_FALSE(o.set(1).loaded || o.set(2).loaded);
  note("UnloadLCData");

  // mpage 3, then a report that is missing: the messages, nothing drawn.
  QByteArray text = QByteArray::fromStdString(tavrin::testing_support::slurp(dir.filePath("example.lco").toStdString()));
  const qsizetype digit = text.indexOf('1', text.indexOf('\n', text.indexOf("mpage")));
  ASSERT_GT(digit, 0);
  win::writeFile(dir.filePath("page3.lco"), QByteArray(text).replace(digit, 1, "3"));
  main.action("Custom")->trigger();
  win::choose(main, "page3.lco");
  EXPECT_FALSE(plotLCWindow(main).isVisible());
  main.action("Custom")->trigger();
  win::choose(main, "nothing.lco");
  note("page3.lco, nothing.lco");
  // The table's header and first row only: a note instead of a plot.
  const qsizetype row1 = text.indexOf('\n', text.indexOf("\n      JD") + 1);
  win::writeFile(dir.filePath("one.lco"), text.left(text.indexOf('\n', row1 + 1) + 1));
  note("one.lco", &display("one.lco"));
  win::expectGolden("gui", "win_plot_velocity.txt", log);
}

TEST_F(PlotWindows, ExportAndPrint) {
  frmPlotLC& lc = display("example.lco");
  lc.exportImage(dir.filePath("a.png"), QSize(700, 500), 1);
  lc.exportImage(dir.filePath("b.png"), QSize(700, 500), 2);
  QImage a(dir.filePath("a.png"));
  EXPECT_EQ(a.size(), QSize(700, 500));
  EXPECT_EQ(QImage(dir.filePath("b.png")).size(), QSize(1400, 1000));
  // Something dark was drawn (frame, curve, labels) on the white background.
  int dark = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) dark += qGray(a.pixel(x, y)) < 100;
  EXPECT_GT(dark, 1000);
  auto head = [&](const char* name, int n) { return tavrin::testing_support::slurp(dir.filePath(name).toStdString()).substr(0, n); };
  lc.exportImage(dir.filePath("c.svg"), QSize(700, 500), 1);
  EXPECT_NE(head("c.svg", 1 << 20).find("<svg"), std::string::npos);
  EXPECT_NE(head("c.svg", 1 << 20).find("Phase"), std::string::npos);
  lc.exportImage(dir.filePath("d.pdf"), QSize(700, 500), 1);
  EXPECT_EQ(head("d.pdf", 5), "%PDF-");
  // A folder that does not exist: error 76.
  try {
    lc.exportImage(dir.filePath("no/such/folder/e.png"), QSize(700, 500), 1);
    ADD_FAILURE() << "export into a missing folder succeeded";
  } catch (const tavrin::TavrinError& e) {
    EXPECT_EQ(e.number(), 76);
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("print.pdf"));
  lc.printOn(printer);
  EXPECT_EQ(head("print.pdf", 5), "%PDF-");
}

// Figures and data of the plot windows; the DC result windows' table export;
// an existing file is replaced only when the user agrees.
TEST_F(PlotWindows, ExportFigureDataAndTables) {
  display("example_rv.lco");
  Session& s = main.session();
  ASSERT_EQ(tavrin::loadVelocityData(dir.path().toStdString(), "example_rv1.csv", 1, s.params, s.observedVelocities, s.plot),
            tavrin::ObservationLoad::Loaded);
  frmPlotRV& rv = plotRVWindow(main);
  for (const char* name : {"ExportFigure", "ExportData"}) EXPECT_TRUE(rv.action(name)) << name;
  rv.exportFigure(dir.filePath("rv.svg"), tavrin::kTwoColumnFigure, 300, true);
  const std::string svg = tavrin::testing_support::slurp(dir.filePath("rv.svg").toStdString());
  for (const char* t : {">Phase<", ">Radial velocity (km/s)<", ">Star 1<", ">example_rv1.csv<", ">O \u2212 C<"})
    EXPECT_NE(svg.find(t), std::string::npos) << t;
  rv.exportData(dir.filePath("rv.csv"));
  EXPECT_EQ(tavrin::testing_support::slurp(dir.filePath("rv.csv").toStdString()).substr(0, 40),
            "series,phase,observed,computed,residual\n");

  // The replace question: No keeps the file, Yes replaces it.
  QStringList asked;
  bool answer = false;
  figureexport::setQuestion([&](const QString& q) { return asked << q, answer; });
  auto report = [this](const QString& m) { messages.messages << m; };
  EXPECT_FALSE(figureexport::writeText(&rv, dir.filePath("rv.csv"), "new", report));
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].startsWith("rv.csv already exists."));
  answer = true;
  EXPECT_TRUE(figureexport::writeText(&rv, dir.filePath("rv.csv"), "new", report));
  EXPECT_TRUE(figureexport::writeText(&rv, dir.filePath("fresh.csv"), "x", report));
  EXPECT_EQ(asked.size(), 2);
  figureexport::setQuestion({});
  EXPECT_EQ(tavrin::testing_support::slurp(dir.filePath("rv.csv").toStdString()), "new");

  s.app.dcoName = "example.dco";
  main.action("Corrections")->trigger();
  main.action("correlations")->trigger();
  for (QWidget* w : std::initializer_list<QWidget*>{&frmIOparms::of(main), &frmCorrel::of(main)})
    for (const char* name : {"ExportTableCsv", "ExportTableLatex"}) EXPECT_TRUE(w->findChild<QAction*>(name)) << name;
}
