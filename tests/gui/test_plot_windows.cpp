// The plot windows on real widgets: Display LCO, the data loads through the
// file dialog codes, menus and check marks, Y range, export and print.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "FigureExport.h"
#include "PlotCommands.h"
#include "frmCorrel.h"
#include "frmIOparms.h"
#include "output/plot_observations.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "frmMain_test_support.h"
#include "frmPlotLC.h"
#include "frmPlotRV.h"
#include "frmYrange.h"
#include "shell/errors.h"

namespace {

const QString kSource = QStringLiteral(TAVRIN_SOURCE_DIR);
const QString kBinary = QStringLiteral(TAVRIN_BINARY_DIR);

// Runs the stand-in LC program on an example input; false when it is not built.
bool synthesise(const QString& lci, const QString& lco) {
  const QString exe = kBinary + "/src/standins/Synthex";
  if (!QFile::exists(exe)) return false;
  QProcess p;
  p.setStandardInputFile(kSource + "/examples/" + lci);
  p.setStandardOutputFile(lco);
  p.start(exe, {});
  return p.waitForFinished(60000) && p.exitCode() == 0 && QFileInfo(lco).size() > 0;
}

class PlotWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    if (!synthesise("example.lci", dir.filePath("example.lco")) ||
        !synthesise("example_rv.lci", dir.filePath("example_rv.lco")))
      GTEST_SKIP() << "stand-in LC program not built";
    for (const char* f : {"example_light_B.csv", "example_rv1.csv", "example_rv2.csv"})
      QFile::copy(kSource + "/examples/" + f, dir.filePath(f));
    frmMain::setMessageSink([this](const QString& t) { messages << t; });
    main = std::make_unique<mwtest::MainWindow>();
    main->session().app.dataFolder = dir.path().toStdString();
    main->fileDialog().setFolder(dir.path());
  }
  void TearDown() override {
    main.reset();
    frmMain::setMessageSink({});
  }

  // Paints the window's plot once, as the screen would.
  static QImage paint(PlotWindow& w) { return w.plotArea()->grab().toImage(); }

  // Chooses a file in the file dialog as the user would: name, then OK.
  void choose(const QString& name) {
    auto* text1 = main->fileDialog().findChild<QLineEdit*>("Text1");
    ASSERT_NE(text1, nullptr);
    text1->setText(name);
    main->fileDialog().accept();
  }

  QTemporaryDir dir;
  std::unique_ptr<frmMain> main;
  QStringList messages;
};

}  // namespace

TEST_F(PlotWindows, DisplayStandardDrawsTheLightCurve) {
  main->session().app.lciName = "example.lci";
  main->action("Standard")->trigger();
  frmPlotLC& lc = plotLCWindow(*main);
  EXPECT_TRUE(lc.isVisible());
  EXPECT_EQ(lc.windowTitle(), "example.lco");
  EXPECT_EQ(main->session().curve.page, 1);
  EXPECT_EQ(main->session().params.MPAGE, 1);
  EXPECT_EQ(main->fieldText("Text55"), QString::fromStdString(main->session().curve.l2Text));
  paint(lc);
  EXPECT_EQ(lc.labelText("Label9"), "example.lco");
  EXPECT_EQ(lc.labelText("Label11"), " 2");
  EXPECT_EQ(lc.labelText("Label13"), " 86");
  EXPECT_EQ(lc.labelText("Label15"), " 6500");
  EXPECT_TRUE(lc.labelShown("Label1"));
  EXPECT_TRUE(lc.labelShown("Label3"));
  EXPECT_TRUE(lc.lastDrawing().note.empty());
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  // With no LCI name, Standard does nothing.
  main->session().app.lciName.clear();
  main->session().app.lcoName = "other.lco";
  main->action("Standard")->trigger();
  EXPECT_EQ(main->session().app.lcoName, "other.lco");
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PlotWindows, LightDataThroughTheDialogAndUnload) {
  main->session().app.lcoName = "example.lco";
  ASSERT_TRUE(displayLco(*main));
  frmPlotLC& lc = plotLCWindow(*main);
  lc.action("LoadLCData")->trigger();
  EXPECT_EQ(main->fileDialog().op(), FileOp::LoadLcData);
  EXPECT_EQ(main->fileDialog().windowTitle(), "Load L Data");
  choose("example_light_B.csv");
  const auto& s = main->session();
  EXPECT_GT(s.observedLight.count(), 100);
  EXPECT_EQ(s.plot.displayMode, tavrin::kCurveAndData);
  EXPECT_EQ(lc.windowTitle(), "example.lco  +  example_light_B.csv");
  EXPECT_TRUE(lc.action("CurveandData")->isChecked());
  EXPECT_FALSE(lc.action("CurveOnly")->isChecked());
  EXPECT_TRUE(lc.action("JoinPoints")->isChecked());
  paint(lc);
  EXPECT_EQ(lc.labelText("Label25"), "example_light_B.csv");

  // A load that fails keeps the points, the name and the caption.
  const auto before = s.observedLight.phase;
  lc.loadData("missing.csv");
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0], "Error 53: File not found.\nFile: " + dir.filePath("missing.csv"));
  EXPECT_EQ(s.observedLight.phase, before);
  EXPECT_EQ(lc.windowTitle(), "example.lco  +  example_light_B.csv");
  QFile bad(dir.filePath("bad.csv"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("0.1,0.5\n0.2,0.6\nnot,numbers\n");
  bad.close();
  lc.loadData("bad.csv");
  ASSERT_EQ(messages.size(), 2);
  EXPECT_EQ(messages[1], "Error 321: Invalid file format.\nFile: " + dir.filePath("bad.csv") + "\nline 3: \"not,numbers\"");
  EXPECT_EQ(s.observedLight.phase, before);

  // Reading the report again names only the report; the points stay.
  ASSERT_TRUE(displayLco(*main));
  EXPECT_EQ(lc.windowTitle(), "example.lco");
  EXPECT_EQ(s.observedLight.phase, before);

  lc.action("UnloadLCData")->trigger();
  EXPECT_EQ(s.observedLight.count(), 0);
  EXPECT_EQ(lc.windowTitle(), "example.lco");
  EXPECT_EQ(s.plot.displayMode, tavrin::kCurveOnly);
  EXPECT_TRUE(lc.action("CurveOnly")->isChecked());
  paint(lc);
  EXPECT_EQ(lc.labelText("Label25"), "");
}

TEST_F(PlotWindows, MenusChangeTheSharedStateAndCheckMarks) {
  main->session().app.lcoName = "example.lco";
  ASSERT_TRUE(displayLco(*main));
  frmPlotLC& lc = plotLCWindow(*main);
  auto& s = main->session().plot;
  lc.action("DataOnly")->trigger();
  EXPECT_EQ(s.displayMode, tavrin::kDataOnly);
  EXPECT_TRUE(lc.action("DataOnly")->isChecked());
  EXPECT_FALSE(lc.action("CurveOnly")->isChecked());
  const bool join = s.joinPoints;
  lc.action("JoinPoints")->trigger();
  EXPECT_EQ(s.joinPoints, !join);
  EXPECT_EQ(lc.action("JoinPoints")->isChecked(), !join);
  lc.action("GridLines")->trigger();
  EXPECT_TRUE(s.gridLines);
  EXPECT_TRUE(lc.action("GridLines")->isChecked());
  lc.action("Blue")->trigger();
  EXPECT_EQ(s.plotColour, tavrin::kBlue);
  EXPECT_TRUE(lc.action("Blue")->isChecked());
  EXPECT_FALSE(lc.action("Black")->isChecked());
  // The velocity window shares the state and has no colour menu.
  frmPlotRV& rv = plotRVWindow(*main);
  rv.syncChecks();
  EXPECT_TRUE(rv.action("GridLines")->isChecked());
  EXPECT_TRUE(rv.action("DataOnly")->isChecked());
  EXPECT_EQ(rv.action("Red"), nullptr);
  EXPECT_FALSE(rv.action("About")->isEnabled());
  // Exit hides the window; the main window's own items are not shadowed.
  lc.action("Exit")->trigger();
  EXPECT_FALSE(lc.isVisible());
  ASSERT_NE(main->action("Print"), nullptr);
  EXPECT_NE(main->action("Print"), lc.action("Print"));
  EXPECT_EQ(s.plotColour, tavrin::kBlue);  // state stays
}

TEST_F(PlotWindows, FocusJoinsThePointsAgain) {
  main->session().app.lcoName = "example.lco";
  ASSERT_TRUE(displayLco(*main));
  frmPlotLC& lc = plotLCWindow(*main);
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

TEST_F(PlotWindows, YRange) {
  main->session().app.lcoName = "example.lco";
  ASSERT_TRUE(displayLco(*main));
  frmPlotLC& lc = plotLCWindow(*main);
  lc.action("Yscale")->trigger();
  frmYrange& y = lc.yRangeWindow();
  EXPECT_TRUE(y.isVisible());
  EXPECT_EQ(y.windowTitle(), "Y Range");
  auto* t1 = y.findChild<QLineEdit*>("Text1");
  auto* t2 = y.findChild<QLineEdit*>("Text2");
  ASSERT_TRUE(t1 && t2);
  EXPECT_EQ(t1->text(), "1");
  EXPECT_EQ(t2->text(), "0");
  t1->setText("1.2");
  t2->setText("1.2");
  y.accept();
  EXPECT_EQ(messages.size(), 1);
  EXPECT_TRUE(y.isVisible());
  t2->setText("0.2");
  y.accept();
  EXPECT_FALSE(y.isVisible());
  EXPECT_EQ(main->session().plot.yMax, 1.2);
  EXPECT_EQ(main->session().plot.yMin, 0.2);
  paint(lc);
  EXPECT_EQ(lc.labelText("Label5"), "1.2");
  EXPECT_EQ(lc.labelText("Label6"), "0.7");
  EXPECT_EQ(lc.labelText("Label7"), "0.2");
}

TEST_F(PlotWindows, VelocityYRangeIsAutomaticUntilSet) {
  main->session().app.lcoName = "example_rv.lco";
  ASSERT_TRUE(displayLco(*main));
  frmPlotRV& rv = plotRVWindow(*main);
  ASSERT_TRUE(rv.isVisible());
  paint(rv);
  const QString automaticTop = rv.labelText("Label5");
  ASSERT_FALSE(automaticTop.isEmpty());

  ASSERT_TRUE(rv.action("Yscale")->isEnabled());
  rv.action("Yscale")->trigger();
  frmYrange& y = rv.yRangeWindow();
  ASSERT_TRUE(y.isVisible());
  auto* t1 = y.findChild<QLineEdit*>("Text1");
  auto* t2 = y.findChild<QLineEdit*>("Text2");
  ASSERT_TRUE(t1 && t2);
  EXPECT_TRUE(t1->text().isEmpty());  // automatic
  EXPECT_TRUE(t2->text().isEmpty());
  t1->setText("50");
  t2->setText("50");
  y.accept();
  EXPECT_EQ(messages.size(), 1);
  EXPECT_TRUE(y.isVisible());
  // Given upside down: the larger value is the top.
  t1->setText("-50");
  t2->setText("1000");
  y.accept();
  EXPECT_FALSE(y.isVisible());
  ASSERT_TRUE(rv.velocityRange());
  EXPECT_EQ(rv.velocityRange()->first, 1000.0);
  EXPECT_EQ(rv.velocityRange()->second, -50.0);
  paint(rv);
  EXPECT_TRUE(rv.lastDrawing().note.empty());
  const double top = rv.labelText("Label5").toDouble();
  const double bottom = rv.labelText("Label7").toDouble();
  EXPECT_GT(top, 500.0);
  EXPECT_LE(top, 1000.0);
  EXPECT_GE(bottom, -50.0);
  EXPECT_LE(bottom, 0.0);
  // The light plot's range is not touched.
  EXPECT_EQ(main->session().plot.yMax, 1.0);

  rv.action("Yscale")->trigger();
  EXPECT_EQ(t1->text(), "1000");
  t1->clear();
  t2->clear();
  y.accept();
  EXPECT_FALSE(rv.velocityRange());
  paint(rv);
  EXPECT_EQ(rv.labelText("Label5"), automaticTop);
}

TEST_F(PlotWindows, VelocityCurvesAndBothSets) {
  main->action("Custom")->trigger();
  EXPECT_EQ(main->fileDialog().op(), FileOp::LoadLco);
  EXPECT_EQ(main->fileDialog().windowTitle(), "Load LCO File");
  choose("example_rv.lco");
  frmPlotRV& rv = plotRVWindow(*main);
  ASSERT_TRUE(rv.isVisible());
  EXPECT_EQ(rv.windowTitle(), "example_rv.lco");
  rv.action("LoadRV2Data")->trigger();
  EXPECT_EQ(main->fileDialog().op(), FileOp::LoadRv2Data);
  EXPECT_EQ(main->fileDialog().windowTitle(), "Load RV2 Data");
  choose("example_rv2.csv");
  rv.action("LoadRV1Data")->trigger();
  EXPECT_EQ(main->fileDialog().op(), FileOp::LoadRv1Data);
  choose("example_rv1.csv");
  const auto& o = main->session().observedVelocities;
  EXPECT_TRUE(o.set(1).loaded);
  EXPECT_TRUE(o.set(2).loaded);
  EXPECT_EQ(o.set(1).fileName, "example_rv1.csv");
  paint(rv);
  EXPECT_EQ(rv.labelText("Label25"), "example_rv1.csv, example_rv2.csv");
  EXPECT_EQ(rv.labelText("Label6"), "0");
  EXPECT_FALSE(rv.labelText("Label5").isEmpty());
  EXPECT_TRUE(rv.lastDrawing().note.empty());
  rv.action("UnloadLCData")->trigger();
  EXPECT_FALSE(o.set(1).loaded);
  EXPECT_FALSE(o.set(2).loaded);
  EXPECT_EQ(main->session().plot.displayMode, tavrin::kCurveOnly);
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

TEST_F(PlotWindows, ReportOfNeitherPage) {
  QFile in(dir.filePath("example.lco"));
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  QByteArray text = in.readAll();
  in.close();
  const int at = text.indexOf("mpage");
  const int eol = text.indexOf('\n', at);
  const int digit = text.indexOf('1', eol);
  ASSERT_GT(digit, 0);
  text[digit] = '3';
  QFile out(dir.filePath("page3.lco"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(text);
  out.close();
  main->action("Custom")->trigger();
  choose("page3.lco");
  ASSERT_EQ(messages.size(), 2);
  EXPECT_EQ(messages[0], "mpage must be 1 (LC output) or 2 (RV output).  Please try again.");
  EXPECT_EQ(messages[1], "Sorry, mpage must be 1 (light curve) or 2 (RV curves).  Please try again.");
  EXPECT_FALSE(plotLCWindow(*main).isVisible());
  // A missing report: the error's message, nothing drawn.
  main->action("Custom")->trigger();
  choose("nothing.lco");
  ASSERT_EQ(messages.size(), 3);
  EXPECT_EQ(messages[2], "Error 53: File not found.");
}

TEST_F(PlotWindows, OneRowReportShowsANote) {
  QFile in(dir.filePath("example.lco"));
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  QByteArray text = in.readAll();
  in.close();
  // Keep the table's header and first row only.
  const int header = text.indexOf("\n      JD");
  const int row1 = text.indexOf('\n', header + 1);
  const int row2 = text.indexOf('\n', row1 + 1);
  QFile out(dir.filePath("one.lco"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(text.left(row2 + 1));
  out.close();
  main->session().app.lcoName = "one.lco";
  ASSERT_TRUE(displayLco(*main));
  frmPlotLC& lc = plotLCWindow(*main);
  paint(lc);
  EXPECT_FALSE(lc.lastDrawing().note.empty());
}

TEST_F(PlotWindows, ExportAndPrint) {
  main->session().app.lcoName = "example.lco";
  ASSERT_TRUE(displayLco(*main));
  frmPlotLC& lc = plotLCWindow(*main);
  lc.exportImage(dir.filePath("a.png"), QSize(700, 500), 1);
  lc.exportImage(dir.filePath("b.png"), QSize(700, 500), 2);
  QImage a(dir.filePath("a.png")), b(dir.filePath("b.png"));
  EXPECT_EQ(a.size(), QSize(700, 500));
  EXPECT_EQ(b.size(), QSize(1400, 1000));
  // Something dark was drawn (frame, curve, labels) on the white background.
  int dark = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (qGray(a.pixel(x, y)) < 100) ++dark;
  EXPECT_GT(dark, 1000);

  lc.exportImage(dir.filePath("c.svg"), QSize(700, 500), 1);
  QFile svg(dir.filePath("c.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray svgText = svg.readAll();
  EXPECT_TRUE(svgText.contains("<svg"));
  EXPECT_TRUE(svgText.contains("Phase"));
  lc.exportImage(dir.filePath("d.pdf"), QSize(700, 500), 1);
  QFile pdf(dir.filePath("d.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");

  // A folder that does not exist: the error, no file.
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
  QFile printed(dir.filePath("print.pdf"));
  ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
  EXPECT_TRUE(printed.read(5) == "%PDF-");
}

// With TAVRIN_PLOT_SHOTS=folder, writes the light curve with observations and
// both velocity curves with two observed sets as PNG at 100 % and 200 %, to
// be looked at.
TEST_F(PlotWindows, ShotsForLooking) {
  const QByteArray out = qgetenv("TAVRIN_PLOT_SHOTS");
  if (out.isEmpty()) GTEST_SKIP() << "TAVRIN_PLOT_SHOTS not set";
  QDir().mkpath(QString::fromLocal8Bit(out));
  main->session().app.lcoName = "example.lco";
  ASSERT_TRUE(displayLco(*main));
  frmPlotLC& lc = plotLCWindow(*main);
  lc.loadData("example_light_B.csv");
  main->session().plot.gridLines = true;
  lc.exportImage(QString::fromLocal8Bit(out) + "/lc_100.png", QSize(800, 560), 1);
  lc.exportImage(QString::fromLocal8Bit(out) + "/lc_200.png", QSize(800, 560), 2);
  lc.exportImage(QString::fromLocal8Bit(out) + "/lc.svg", QSize(800, 560), 1);
  lc.exportImage(QString::fromLocal8Bit(out) + "/lc.pdf", QSize(800, 560), 1);
  main->session().app.lcoName = "example_rv.lco";
  ASSERT_TRUE(displayLco(*main));
  frmPlotRV& rv = plotRVWindow(*main);
  rv.loadData(1, "example_rv1.csv");
  rv.loadData(2, "example_rv2.csv");
  rv.exportImage(QString::fromLocal8Bit(out) + "/rv_100.png", QSize(800, 560), 1);
  rv.exportImage(QString::fromLocal8Bit(out) + "/rv_200.png", QSize(800, 560), 2);
  main->session().plot.gridLines = false;
  rv.exportImage(QString::fromLocal8Bit(out) + "/rv_nogrid_100.png", QSize(800, 560), 1);
  lc.resize(800, 600);
  lc.show();
  lc.grab().save(QString::fromLocal8Bit(out) + "/lc_window.png");
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

// Figures and data of the plot windows; the DC result windows' table export;
// an existing file is replaced only when the user agrees.
TEST_F(PlotWindows, ExportFigureDataAndTables) {
  main->session().app.lcoName = "example_rv.lco";
  ASSERT_TRUE(displayLco(*main));
  Session& s = main->session();
  ASSERT_EQ(tavrin::loadVelocityData(dir.path().toStdString(), "example_rv1.csv", 1, s.params, s.observedVelocities,
                                     s.plot),
            tavrin::ObservationLoad::Loaded);
  frmPlotRV& rv = plotRVWindow(*main);
  for (const char* name : {"ExportFigure", "ExportData"}) EXPECT_TRUE(rv.action(name)) << name;
  rv.exportFigure(dir.filePath("rv.svg"), tavrin::kTwoColumnFigure, 300, true);
  QFile svg(dir.filePath("rv.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray text = svg.readAll();
  for (const char* t : {">Phase<", ">Radial velocity (km/s)<", ">Star 1<", ">example_rv1.csv<", ">O \u2212 C<"})
    EXPECT_TRUE(text.contains(t)) << t;
  rv.exportData(dir.filePath("rv.csv"));
  QFile csv(dir.filePath("rv.csv"));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readLine(), "series,phase,observed,computed,residual\n");

  // The replace question: No keeps the file, Yes replaces it.
  QStringList asked;
  bool answer = false;
  figureexport::setQuestion([&](const QString& q) {
    asked << q;
    return answer;
  });
  auto report = [this](const QString& m) { messages << m; };
  EXPECT_FALSE(figureexport::writeText(&rv, dir.filePath("rv.csv"), "new", report));
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].startsWith("rv.csv already exists."));
  answer = true;
  EXPECT_TRUE(figureexport::writeText(&rv, dir.filePath("rv.csv"), "new", report));
  EXPECT_TRUE(figureexport::writeText(&rv, dir.filePath("fresh.csv"), "x", report));
  EXPECT_EQ(asked.size(), 2);
  figureexport::setQuestion({});
  QFile replaced(dir.filePath("rv.csv"));
  ASSERT_TRUE(replaced.open(QIODevice::ReadOnly));
  EXPECT_EQ(replaced.readAll(), "new");

  s.app.dcoName = "example.dco";
  main->action("Corrections")->trigger();
  main->action("correlations")->trigger();
  for (QWidget* w : std::initializer_list<QWidget*>{&frmIOparms::of(*main), &frmCorrel::of(*main)})
    for (const char* name : {"ExportTableCsv", "ExportTableLatex"})
      EXPECT_TRUE(w->findChild<QAction*>(name)) << name;
}
