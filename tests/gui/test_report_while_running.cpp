// A report is never read while the run that writes it goes on: with a slow
// program (a script that waits, then hands over to the stand-in), Load DCO
// and Display LCO are refused with one message and change nothing; once the
// run has ended the same commands read the report.
#include "PlotCommands.h"
#include "frmPlotLC.h"
#include "win_support.h"

namespace {

class ReportWhileRunning : public ::testing::Test {
 protected:
  // Slow Synthex and Solvex in the program folder; the example loaded and its run started.
  void start(const char* loadAction, const QString& input) {
    for (const char* name : {"Synthex", "Solvex"}) {
      if (!QFile::exists(win::kStandins + name)) GTEST_SKIP() << "the stand-in programs are not built";
      win::writeFile(f.prog + "/" + name, ("#!/bin/sh\nsleep 1.5\nexec '" + win::kStandins + name + "'\n").toUtf8(), true);
    }
    s.app.programFolder = f.prog.toStdString();
    win::load(w, loadAction, f.data, input);
    w.action("RunStandard")->trigger();
    ASSERT_EQ(runcommands::runsInProgress(w), 1) << win::str(messages.messages);
  }
  // What the command said; the messages are cleared for the next.
  QStringList said() { return std::exchange(messages.messages, {}); }
  win::Folders f;
  mwtest::MessageCatcher messages;
  mwtest::MainWindow w;
  Session& s = w.session();
};

}  // namespace

TEST_F(ReportWhileRunning, LoadDcoWaitsForDcToEnd) {
  start("LoadDCI", "example.dci");
  if (IsSkipped() || HasFatalFailure()) return;
  ASSERT_EQ(s.app.dcoName, "example.dco");
  const double incl = s.params.XINCL;
  const QStringList refusal{"DC is still running: wait for it to end before reading example.dco"};
  w.action("StandardDCO")->trigger();
  EXPECT_EQ(said(), refusal);
  EXPECT_EQ(s.dcResults.adjustedParams.size(), 0u);
  EXPECT_FALSE(s.dcResults.dcErrorSeen || s.app.readError);
  EXPECT_EQ(s.params.XINCL, incl);

  // Load DCO > Custom, the same file by its name and through a linked folder.
  const QString alias = f.tmp.filePath("alias");
  ASSERT_TRUE(QFile::link(f.data, alias));
  s.app.dcoName = "before.dco";
  for (const QString& folder : {f.data, alias}) {
    w.action("CustomDCO")->trigger();
    ASSERT_EQ(w.fileDialog().op(), FileOp::LoadDco);
    win::choose(w, "example.dco", folder);
    EXPECT_EQ(said(), refusal) << folder.toStdString();
    EXPECT_EQ(s.app.dcoName, "before.dco");
    EXPECT_EQ(s.dcResults.adjustedParams.size(), 0u);
  }
  // Another report is no concern of the run.
  w.action("CustomDCO")->trigger();
  win::choose(w, "other.dco", f.data);
  const QStringList other = said();
  EXPECT_TRUE(other.size() == 1 && other != refusal) << win::str(other);
  EXPECT_EQ(s.app.dcoName, "other.dco");
  s.app.readError = s.dcResults.dcErrorSeen = false;

  // Once DC has ended the report reads.
  ASSERT_TRUE(win::waitForRuns(w));
  w.action("StandardDCO")->trigger();
  EXPECT_EQ(said(), QStringList{});
  EXPECT_EQ(s.app.dcoName, "example.dco");
  EXPECT_EQ(s.dcResults.adjustedParams.size(), 4u);
  EXPECT_FALSE(s.dcResults.dcErrorSeen);
}

TEST_F(ReportWhileRunning, DisplayLcoWaitsForLcToEnd) {
  start("LoadLCI", "example.lci");
  if (IsSkipped() || HasFatalFailure()) return;
  const QStringList refusal{"LC is still running: wait for it to end before reading example.lco"};
  w.setFieldText("Text55", "untouched");
  // Display LCO > Standard, then Custom, then a direct display.
  s.app.lcoName = "before.lco";
  w.action("Standard")->trigger();
  EXPECT_EQ(said(), refusal);
  EXPECT_EQ(s.app.lcoName, "before.lco");
  w.action("Custom")->trigger();
  ASSERT_EQ(w.fileDialog().op(), FileOp::LoadLco);
  win::choose(w, "example.lco", f.data);
  EXPECT_EQ(said(), refusal);
  EXPECT_EQ(s.app.lcoName, "before.lco");
  s.app.lcoName = "example.lco";
  EXPECT_FALSE(displayLco(w));
  EXPECT_EQ(said(), refusal);
  EXPECT_EQ(s.curve.page, 0);
  EXPECT_EQ(w.fieldText("Text55"), "untouched");
  EXPECT_FALSE(plotLCWindow(w).isVisible());

  ASSERT_TRUE(win::waitForRuns(w));
  w.action("Standard")->trigger();
  EXPECT_EQ(said(), QStringList{});
  EXPECT_EQ(s.app.lcoName, "example.lco");
  EXPECT_EQ(s.curve.page, 1);
  EXPECT_TRUE(plotLCWindow(w).isVisible());
  EXPECT_NE(w.fieldText("Text55"), "untouched");
}
