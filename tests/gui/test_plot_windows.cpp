// The plot windows on real widgets: Display LCO, the data loads through the
// file dialog, menus and check marks, Y range (step tables with goldens,
// golden/win_plot_*), focus, export and print.
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

// Both example reports and the observed data in `dir`, the data folder.
bool prepare(const QTemporaryDir& dir, frmMain& main) {
  if (!synthesise("example.lci", dir.filePath("example.lco")) || !synthesise("example_rv.lci", dir.filePath("example_rv.lco")))
    return false;
  for (const char* f : {"example_light_B.csv", "example_rv1.csv", "example_rv2.csv"}) QFile::copy(win::kExamples + f, dir.filePath(f));
  main.session().app.dataFolder = dir.path().toStdString();
  main.fileDialog().setFolder(dir.path());
  return true;
}

// Display LCO, the data loads through the file dialog, the menus and check
// marks, Y ranges and reports of neither page, driven by golden/win_plot_*.tsv.
// After each step: the shared plot state, the names, the points loaded and the
// window (caption, check marks, the drawing's labels and note).
class PlotScript : public win::WindowScript {
 protected:
  void SetUp() override {
    root = dir.path();
    main->setProgramMode(tavrin::ProgramMode::LC);
    if (!prepare(dir, *main)) GTEST_SKIP() << "stand-in LC program not built";
  }
  void special(const std::vector<std::string>& r) override {
    Session& s = main->session();
    const QString a = r.size() > 1 ? QString::fromStdString(r[1]) : QString();
    auto* plot = qobject_cast<PlotWindow*>(window);
    if (r[0] == "lci") s.app.lciName = a.toStdString();
    else if (r[0] == "lco") s.app.lcoName = a.toStdString();
    else if (r[0] == "display") {  // display [LCO]: read the report (again)
      if (!a.isEmpty()) s.app.lcoName = a.toStdString();
      EXPECT_TRUE(displayLco(*main)) << a.toStdString();
    } else if (r[0] == "act") plot->action(a)->trigger();
    else if (r[0] == "load") qobject_cast<frmPlotLC*>(plot)->loadData(a);
    else if (r[0] == "choose") win::choose(*main, a);
    else if (r[0] == "sync") plot->syncChecks();
    else if (r[0] == "light") window = &plotLCWindow(*main);
    else if (r[0] == "rv") window = &plotRVWindow(*main);
    else if (r[0] == "yrange") window = qobject_cast<frmPlotLC*>(plot) ? &plotLCWindow(*main).yRangeWindow() : &plotRVWindow(*main).yRangeWindow();
    else if (r[0] == "range") {  // OK with these values
      find<QLineEdit>("Text1")->setText(a);
      find<QLineEdit>("Text2")->setText(QString::fromStdString(r[2]));
      static_cast<QDialog*>(window)->accept();
    } else if (r[0] == "file") {  // file NAME TEXT, \n for line ends
      win::writeFile(dir.filePath(a), QString::fromStdString(r[2]).replace("\\n", "\n").toUtf8());
    } else if (r[0] == "cut") {  // cut page3.lco or one.lco: example.lco of page 3, or of one table row
      const QByteArray text = QByteArray::fromStdString(tavrin::testing_support::slurp(dir.filePath("example.lco").toStdString()));
      const qsizetype digit = text.indexOf('1', text.indexOf('\n', text.indexOf("mpage")));
      const qsizetype row1 = text.indexOf('\n', text.indexOf("\n      JD") + 1);
      win::writeFile(dir.filePath(a), a == "page3.lco" ? QByteArray(text).replace(digit, 1, "3") : text.left(text.indexOf('\n', row1 + 1) + 1));
    } else WindowScript::special(r);
  }
  std::string state() override {
    const Session& s = main->session();
    const tavrin::PlotState& p = s.plot;
    double phases = 0;
    for (double x : s.observedLight.phase) phases += x;
    const auto& v = s.observedVelocities;
    QString out = QString(" mode %1 join %2 grid %3 colour %4,%5,%6 y %7..%8\n  lci [%9]")
                      .arg(p.displayMode).arg(p.joinPoints).arg(p.gridLines).arg(int(p.plotColour.r))
                      .arg(int(p.plotColour.g)).arg(int(p.plotColour.b)).arg(p.yMin).arg(p.yMax).arg(QString::fromStdString(s.app.lciName)) +
                  QString(" lco [%1] page %2 MPAGE %3 Text55 [%4] l2 [%5] light %6 (%7) rv %8 %9")
                      .arg(QString::fromStdString(s.app.lcoName)).arg(s.curve.page).arg(s.params.MPAGE).arg(main->fieldText("Text55"))
                      .arg(QString::fromStdString(s.curve.l2Text)).arg(s.observedLight.count()).arg(phases, 0, 'g', 17)
                      .arg(v.set(1).loaded ? QString::fromStdString(v.set(1).fileName) : "-").arg(v.set(2).loaded);
    if (main->fileDialog().isVisible()) out += QString("\n  dialog %1 %2").arg(int(main->fileDialog().op())).arg(main->fileDialog().windowTitle());
    if (plotLCWindow(*main).isVisible()) out += " (light shown)";
    if (const auto range = plotRVWindow(*main).velocityRange()) out += QString(" velocity %1..%2").arg(range->first).arg(range->second);
    if (auto* y = qobject_cast<frmYrange*>(window)) out += "\n  " + y->windowTitle() + " [" + y->findChild<QLineEdit*>("Text1")->text() + "] [" + y->findChild<QLineEdit*>("Text2")->text() + "]";
    if (auto* plot = qobject_cast<PlotWindow*>(window)) out += "\n" + QString::fromStdString(win::dumpPlot(*plot)).chopped(1);
    return out.toStdString();
  }
  QTemporaryDir dir;
};

// The windows driven from code: focus, export and print.
class PlotWindows : public PlotScript {
 protected:
  frmPlotLC& display(const char* lco) { return step({"display", lco}), plotLCWindow(*main); }
  std::string text(const char* name) { return tavrin::testing_support::slurp(dir.filePath(name).toStdString()); }
};

}  // namespace

TEST_F(PlotScript, LightWindow) {
  runScript("win_plot_light");
  frmPlotRV& rv = plotRVWindow(*main);
  EXPECT_TRUE(rv.action("Red") == nullptr && !rv.action("About")->isEnabled());
  // The main window's own items are not shadowed by the plot window's.
  EXPECT_TRUE(main->action("Print") && main->action("Print") != plotLCWindow(*main).action("Print"));
}

TEST_F(PlotScript, YRanges) {
  runScript("win_plot_ranges");
  EXPECT_FALSE(plotRVWindow(*main).velocityRange());
}

TEST_F(PlotScript, VelocityCurvesReportsOfNeitherPageAndOneRow) { runScript("win_plot_velocity"); }

TEST_F(PlotWindows, FocusJoinsThePointsAgain) {
  frmPlotLC& lc = display("example.lco");
  main->show();
  lc.activateWindow();
  if (!QTest::qWaitForWindowActive(&lc)) GTEST_SKIP() << "no window activation on this platform";
  auto& s = main->session().plot;
  s.joinPoints = true;
  lc.action("JoinPoints")->trigger();
  EXPECT_FALSE(s.joinPoints);
  main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  lc.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&lc));
  EXPECT_TRUE(s.joinPoints);
  EXPECT_TRUE(lc.action("JoinPoints")->isChecked());
}

TEST_F(PlotWindows, ExportAndPrint) {
  frmPlotLC& lc = display("example.lco");
  for (auto [name, scale] : {std::pair{"a.png", 1}, {"b.png", 2}, {"c.svg", 1}, {"d.pdf", 1}})
    lc.exportImage(dir.filePath(name), QSize(700, 500), scale);
  QImage a(dir.filePath("a.png"));
  EXPECT_EQ(a.size(), QSize(700, 500));
  EXPECT_EQ(QImage(dir.filePath("b.png")).size(), QSize(1400, 1000));
  // Something dark was drawn (frame, curve, labels) on the white background.
  int dark = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) dark += qGray(a.pixel(x, y)) < 100;
  EXPECT_GT(dark, 1000);
  EXPECT_TRUE(text("c.svg").find("<svg") != std::string::npos && text("c.svg").find("Phase") != std::string::npos);
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
  EXPECT_EQ(text("d.pdf").substr(0, 5) + text("print.pdf").substr(0, 5), "%PDF-%PDF-");
}

// Figures and data of the plot windows; the DC result windows' table export;
// an existing file is replaced only when the user agrees.
TEST_F(PlotWindows, ExportFigureDataAndTables) {
  display("example_rv.lco");
  Session& s = main->session();
  ASSERT_EQ(tavrin::loadVelocityData(dir.path().toStdString(), "example_rv1.csv", 1, s.params, s.observedVelocities, s.plot),
            tavrin::ObservationLoad::Loaded);
  frmPlotRV& rv = plotRVWindow(*main);
  for (const char* name : {"ExportFigure", "ExportData"}) EXPECT_TRUE(rv.action(name)) << name;
  rv.exportFigure(dir.filePath("rv.svg"), tavrin::kTwoColumnFigure, 300, true);
  for (const char* t : {">Phase<", ">Radial velocity (km/s)<", ">Star 1<", ">example_rv1.csv<", ">O \u2212 C<"})
    EXPECT_NE(text("rv.svg").find(t), std::string::npos) << t;
  rv.exportData(dir.filePath("rv.csv"));
  EXPECT_EQ(text("rv.csv").substr(0, 40), "series,phase,observed,computed,residual\n");

  // The replace question: No keeps the file, Yes replaces it.
  const QStringList& asked = catcher.questions;
  EXPECT_FALSE(figureexport::writeText(*main, dir.filePath("rv.csv"), "new"));
  EXPECT_EQ(asked, QStringList{"rv.csv already exists. Replace it?"});
  catcher.answer = true;
  EXPECT_TRUE(figureexport::writeText(*main, dir.filePath("rv.csv"), "new"));
  EXPECT_TRUE(figureexport::writeText(*main, dir.filePath("fresh.csv"), "x"));
  EXPECT_EQ(asked.size(), 2);
  EXPECT_EQ(text("rv.csv"), "new");

  s.app.dcoName = "example.dco";
  main->action("Corrections")->trigger();
  main->action("correlations")->trigger();
  for (QWidget* w : std::initializer_list<QWidget*>{&frmIOparms::of(*main), &frmCorrel::of(*main)})
    for (const char* name : {"ExportTableCsv", "ExportTableLatex"}) EXPECT_TRUE(w->findChild<QAction*>(name)) << name;
}
