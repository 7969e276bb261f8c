// The contour windows on real widgets: the Contours menu, the Test run with
// the stand-in DC, the output file through the file dialog, a computation
// with its progress dialog (the file equals the command line's), Cancel,
// loading, the plot window with its readout and export; the controls, the
// refusals, the help page and the output name offered (a step table).
#include <QProgressDialog>
#include <QRadioButton>
#include <QSignalSpy>
#include <cstdlib>

#include "ShellCommands.h"
#include "frmCalcContourData.h"
#include "frmHelpContours.h"
#include "frmPlotContours.h"
#include "model/dci_writer.h"
#include "model/number_fields.h"
#include "shell/atomic_file.h"
#include "win_support.h"

namespace {

const QString kCli = QString(TAVRIN_BINARY_DIR) + "/src/cli/tavrin-cli";

class ContourWindows : public ::testing::Test {
 protected:
  template <typename T = QLineEdit>
  T* child(const char* name) { return f.findChild<T*>(name); }
  void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
  std::string enabled() {
    std::string s;
    for (const char* b : {"Command1", "Command2", "Command3", "Command5", "Command6"}) s += child<QPushButton>(b)->isEnabled() ? '1' : '0';
    return s;
  }
  // Inclination 83..89 (M) against potential 1 4.7..5.3 (N), then the test run.
  void defineGridAndTest(const QString& dc, int M, int N, int jobs) {
    f.setDcExecutable(dc);
    f.setParallelRuns(jobs);
    child<QRadioButton>("Option2")->click();
    child<QRadioButton>("Option14")->click();
    const QString values[] = {"83", "89", QString::number(M), "4.7", "5.3", QString::number(N)};
    for (int i = 0; i < 6; ++i) win::typeInto(child(qPrintable(QString("Text%1").arg(i + 1))), values[i]);
    QSignalSpy tested(&f, &frmCalcContourData::testFinished);
    f.test();
    ASSERT_TRUE(tested.wait(60000));
    ASSERT_TRUE(tested.at(0).at(0).toBool()) << win::str(msgs.messages);
  }
  void copyExample(const QString& folder, const QString& name = "example.dci") {
    QDir().mkpath(folder);
    QFile::copy(win::kExamples + "example.dci", folder + "/" + name);
  }
  QTemporaryDir tmp;
  mwtest::MainWindow w;
  mwtest::MessageCatcher msgs;
  frmCalcContourData& f = frmCalcContourData::of(w);
};

// All of the user's model a residual map could touch: every editor field (text
// and colour), the labels' colours (adjusted keys are red), the session's set,
// the file names, the caption and the DC results.
std::map<std::string, std::string> stateOf(frmMain& w) {
  std::map<std::string, std::string> m;
  for (const tavrin::ScalarField& x : tavrin::scalarFields()) {
    const QString control = QString::fromUtf8(x.control.data(), int(x.control.size()));
    if (QWidget* c = w.field(control)) m[std::string(x.control)] = (w.fieldText(control) + (mwtest::isBlue(c) ? " blue" : "")).toStdString();
    if (QLabel* l = w.fieldLabel(QString::fromUtf8(x.label.data(), int(x.label.size()))))
      m[std::string(x.label)] = l->palette().color(QPalette::WindowText).name().toStdString();
  }
  const Session& s = w.session();
  m["set"] = tavrin::dciText(s.params);
  for (const std::string& n : {s.app.programFolder, s.app.dataFolder, s.app.lciName, s.app.dciName, s.app.lcoName, s.app.dcoName})
    m["names"] += n + "|";
  m["caption"] = w.windowTitle().toStdString();
  m["wres"] = std::to_string(s.dcResults.sumWResInput);
  return m;
}

}  // namespace

TEST_F(ContourWindows, ComputeLoadPlotAndExport) {
  if (!QFile::exists(win::kSolvex) || !QFile::exists(kCli)) GTEST_SKIP() << "stand-in DC or tavrin-cli not built";
  copyExample(tmp.path());
  win::load(w, "LoadDCI", tmp.path(), "example.dci");
  ASSERT_EQ(w.session().app.dciName, "example.dci");
  w.action("Contour")->trigger();
  defineGridAndTest(win::kSolvex, 3, 3, 2);
  EXPECT_TRUE(f.runTime() > 0 && !child<QLabel>("Label16")->text().isEmpty());
  EXPECT_EQ(enabled(), "01010");  // Command1..3, 5, 6

  click("Command2");
  frmIO_all& d = w.fileDialog();
  EXPECT_EQ(d.windowTitle(), "Save Contour Data");
  win::choose(w, "gui.txt");
  EXPECT_EQ(f.outputName(), "gui.txt");
  ASSERT_TRUE(child<QPushButton>("Command3")->isEnabled());

  // Cancel first: nothing written, the editor back to the base set.
  const double incl0 = w.session().params.XINCL;
  QSignalSpy done(&f, &frmCalcContourData::computationFinished);
  click("Command3");
  ASSERT_TRUE(f.progressDialog() && f.progressDialog()->isVisible());
  f.cancel();
  ASSERT_TRUE(done.wait(120000));
  EXPECT_TRUE(done.at(0).at(0).toBool());
  EXPECT_FALSE(QFile::exists(tmp.path() + "/gui.txt"));
  EXPECT_DOUBLE_EQ(w.session().params.XINCL, incl0);

  // The whole computation; the window stays responsive meanwhile.
  click("Command3");
  QApplication::processEvents();
  EXPECT_TRUE(f.computing() && f.progressDialog()->labelText().contains("Points done"));
  ASSERT_TRUE(done.wait(300000));
  EXPECT_FALSE(done.at(1).at(0).toBool());
  ASSERT_TRUE(QFile::exists(tmp.path() + "/gui.txt")) << win::str(msgs.messages);
  EXPECT_TRUE(f.grid().dataReady && !child<QLabel>("Label25")->text().isEmpty());
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{});

  // The command line computes the same file from the same DCI.
  const QString cli = "'" + kCli + "' contour '" + tmp.path() + "/example.dci' --x 2:83:89:3 --y 4:4.7:5.3:3 " +
                      "--iterations 1 --jobs 1 --dc '" + win::kSolvex + "' --out '" + tmp.path() + "/cli.txt' 2>/dev/null";
  ASSERT_EQ(std::system(cli.toStdString().c_str()), 0);
  EXPECT_EQ(tavrin::readWholeFile((tmp.path() + "/gui.txt").toStdString()), tavrin::readWholeFile((tmp.path() + "/cli.txt").toStdString()));

  // Load it back through the dialog, then plot.
  click("Command4");
  EXPECT_EQ(d.windowTitle(), "Load Contour Data");
  win::choose(w, "cli.txt");
  EXPECT_EQ(f.contourFileName() + QString(" %1 %2").arg(f.grid().gridDef.xCode).arg(child<QRadioButton>("Option14")->isChecked()), "cli.txt 2 1");
  win::typeInto(child("Text8"), "5");
  msgs.messages.clear();
  f.plotContours();
  ASSERT_TRUE(msgs.messages.isEmpty()) << win::str(msgs.messages);
  frmPlotContours* p = f.plotWindow();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(QString("%1 %2 %3 %4").arg(p->windowTitle()).arg(p->contourLines()).arg(p->fineGrid().fineM).arg(p->layers().size()),
            "Plot Contours - cli.txt 10 10 1");
  p->colours();
  p->contours();
  EXPECT_EQ(p->layers().size(), 3u);
  QApplication::processEvents();
  p->grab();
  EXPECT_EQ(p->labelText("Label19") + "|" + p->labelText("Label18"), "Inclination|Omega1");
  // Readout in the middle of the plot area.
  QWidget* area = p->plotArea();
  p->readoutAt(QPointF(area->width() / 2.0, (area->height() - 77) / 2.0));
  EXPECT_FALSE(p->findChild<QLabel*>("Label15")->text().isEmpty());
  // Levels refused with a message.
  win::typeInto(p->findChild<QLineEdit*>("Text3"), "1");
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
}

TEST_F(ContourWindows, MapLeavesTheModelAloneWhileTheUserLoadsAnotherFile) {
  if (!QFile::exists(win::kSolvex)) GTEST_SKIP() << "stand-in DC not built";
  const QString model = tmp.path() + "/model", maps = tmp.path() + "/maps";
  copyExample(model);
  copyExample(model, "other.dci");
  QDir().mkpath(maps);
  const std::string otherText = tavrin::readWholeFile((model + "/other.dci").toStdString());
  win::load(w, "LoadDCI", model, "example.dci");
  win::typeInto(qobject_cast<QLineEdit*>(w.field("Text36")), "1.01");  // an unsaved edit
  w.session().dcResults.sumWResInput = 123.25;  // as after reading a report
  const auto before = stateOf(w);
  w.action("Contour")->trigger();
  defineGridAndTest(win::kSolvex, 5, 5, 2);
  EXPECT_EQ(before, stateOf(w));

  // The grid goes elsewhere; the model's folder stays the current one.
  f.setOutputFile();
  win::choose(w, "grid.txt", maps);
  EXPECT_EQ(f.outputFolder(), QDir::toNativeSeparators(maps));
  EXPECT_EQ(before, stateOf(w));
  QSignalSpy done(&f, &frmCalcContourData::computationFinished);
  click("Command3");
  ASSERT_TRUE(f.computing());
  win::load(w, "LoadDCI", model, "other.dci");
  win::typeInto(qobject_cast<QLineEdit*>(w.field("Text37")), "0.99");
  const auto during = stateOf(w);
  EXPECT_NE(before, during);
  ASSERT_TRUE(f.computing()) << "the map ended before the user's load";
  ASSERT_TRUE(done.wait(300000));
  EXPECT_EQ(during, stateOf(w));
  EXPECT_TRUE(QFile::exists(maps + "/grid.txt"));
  EXPECT_EQ(QDir(model).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"example.dci", "other.dci"}));
  EXPECT_TRUE(msgs.messages.isEmpty()) << win::str(msgs.messages);

  // Computing into the file again asks first; so does naming it again.
  click("Command3");
  EXPECT_FALSE(f.computing());
  f.setOutputFile();
  win::choose(w, "grid.txt", maps);
  EXPECT_EQ(msgs.questions, QStringList(2, "grid.txt already exists. Replace it?"));

  // The best point goes into the editor on request, unsaved.
  ASSERT_TRUE(f.bestPoint());
  const tavrin::ParameterSet& best = f.bestPoint()->params;
  w.action("Data")->trigger();
  click("Command6");
  EXPECT_EQ(w.session().params.curves[3].l1, best.curves[3].l1);
  EXPECT_EQ(w.findChild<QLineEdit*>("Text15_3")->text().toStdString(), tavrin::trimmedPlainText(best.curves[3].l1));
  for (auto [control, value] : {std::pair{"Text39", best.XINCL}, std::pair{"Text46", best.POTH}}) {
    EXPECT_EQ(w.fieldText(control).toStdString(), tavrin::trimmedPlainText(value)) << control;
    EXPECT_TRUE(mwtest::isBlue(w.field(control))) << control;
  }
  const auto after = stateOf(w);
  EXPECT_EQ(after.at("names") + after.at("caption"), during.at("names") + during.at("caption"));
  EXPECT_EQ(tavrin::readWholeFile((model + "/other.dci").toStdString()), otherText);
}

TEST_F(ContourWindows, FailedPointsAreSaidBeforePlotIsOffered) {
  if (!QFile::exists(win::kSolvex)) GTEST_SKIP() << "stand-in DC not built";
  copyExample(tmp.path());
  // Every run after a worker's first fails, as the real DC does on a bad table.
  const QString dc = tmp.path() + "/Solvex";
  win::writeFile(dc, ("#!/bin/sh\nn=$(($(cat count 2>/dev/null || echo 0) + 1)); echo $n > count\n"
                      "[ $n -gt 1 ] && { echo 'Program stopped in PLANCKINT' >&2; exit 2; }\nexec '" + win::kSolvex + "'\n").toUtf8(),
                 true);
  win::load(w, "LoadDCI", tmp.path(), "example.dci");
  QStringList said;
  frmMain::setMessageSink([&](const QString& t) { said << t + (child<QPushButton>("Command5")->isEnabled() ? " [plot offered]" : ""); });
  f.show();
  defineGridAndTest(dc, 3, 3, 1);
  f.setOutputFile();
  win::choose(w, "failed.txt");
  QSignalSpy done(&f, &frmCalcContourData::computationFinished);
  f.startCalcs();
  ASSERT_TRUE(done.wait(120000));
  frmMain::setMessageSink({});
  EXPECT_EQ(said, QStringList{"9 of 9 grid points failed (marked 99). The first, at Inclination 83, Omega1 4.7: "
                              "DC exit status 2: Program stopped in PLANCKINT"});
  EXPECT_EQ(child<QLabel>("Label25")->text(), "none");
  EXPECT_EQ(enabled().substr(3), "10");
  EXPECT_TRUE(QFile::exists(tmp.path() + "/failed.txt"));
}

// The window's controls and refusals, and the output name offered, driven by
// golden/win_contour.tsv: after each step the delay, the boxes, the blue
// ones, the output name and the file dialog.
class ContourScript : public win::WindowScript {
 protected:
  ContourScript() {
    root = tmp.path();
    main->fileDialog().setFolder(root);
  }
  void special(const std::vector<std::string>& r) override {
    frmCalcContourData& f = frmCalcContourData::of(*main);
    const QString a = r.size() > 1 ? QString::fromStdString(r[1]) : QString();
    if (r[0] == "test") f.test();
    else if (r[0] == "reshow") f.hide(), f.show();
    else if (r[0] == "plot") f.plotContours();
    else if (r[0] == "help") f.findChild<QAction*>("HelpContours")->trigger();
    else if (r[0] == "output") f.setOutputFile();
    else if (r[0] == "choose") win::choose(*main, a);
    else if (r[0] == "name") main->fileDialog().setName(a);
    else if (r[0] == "reject") main->fileDialog().reject();
    else if (r[0] == "load") {
      QFile::copy(win::kExamples + a, tmp.filePath(a));
      ASSERT_TRUE(shell::loadInputFile(*main, tmp.filePath(a)));
    } else WindowScript::special(r);
  }
  std::string state() override {
    frmCalcContourData& f = frmCalcContourData::of(*main);
    const frmIO_all& d = main->fileDialog();
    QString s = QString(" delay %1 output [%2] dialog %3 %4 [%5]\n  boxes").arg(f.delay()).arg(f.outputName())
                    .arg(d.isVisible() ? "shown" : "hidden").arg(int(d.op())).arg(d.name());
    for (QLineEdit* e : f.findChildren<QLineEdit*>()) s += " " + e->objectName() + "=[" + e->text() + "]";
    s += "\n  blue";
    for (QLineEdit* e : f.findChildren<QLineEdit*>())
      if (e->styleSheet().contains("0,0,255")) s += " " + e->objectName();
    return s.toStdString();
  }
  QTemporaryDir tmp;
};

TEST_F(ContourScript, Script) {
  for (const char* n : {"Frame1", "Frame2", "ParallelRuns"}) EXPECT_NE(frmCalcContourData::of(*main).findChild<QWidget*>(n), nullptr) << n;
  runScript("win_contour");
}
