// A report is never read while the run that writes it goes on: with a slow
// program (a script that waits, then hands over to the stand-in), Load DCO
// and Display LCO are refused with one message and change nothing; once the
// run has ended the same commands read the report. Each step goes to
// golden/win_report_running_*.txt.
#include "PlotCommands.h"
#include "frmPlotLC.h"
#include "win_support.h"

namespace {

class ReportWhileRunning : public win::MainFixture {
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
  // What a step said, and the report state it left, for the golden.
  void note(const std::string& step) {
    log += "> " + step + "\n  said [" + win::str(std::exchange(messages.messages, {})) + "]\n  lco " +
           s.app.lcoName + " dco " + s.app.dcoName + " adjusted " + std::to_string(s.dcResults.adjustedParams.size()) +
           " errors " + std::to_string(s.dcResults.dcErrorSeen) + std::to_string(s.app.readError) + " page " +
           std::to_string(s.curve.page) + " plot " + std::to_string(plotLCWindow(w).isVisible()) + " [" +
           w.fieldText("Text55").toStdString() + "]\n";
  }
  std::string log;
};

}  // namespace

TEST_F(ReportWhileRunning, LoadDcoWaitsForDcToEnd) {
  start("LoadDCI", "example.dci");
  if (IsSkipped() || HasFatalFailure()) return;
  const double incl = s.params.XINCL;
  w.action("StandardDCO")->trigger();
  note("StandardDCO while DC runs");
  EXPECT_EQ(s.params.XINCL, incl);
  // Load DCO > Custom, the same file by its name and through a linked folder.
  const QString alias = f.tmp.filePath("alias");
  ASSERT_TRUE(QFile::link(f.data, alias));
  s.app.dcoName = "before.dco";
  for (const QString& folder : {f.data, alias}) {
    w.action("CustomDCO")->trigger();
    ASSERT_EQ(w.fileDialog().op(), FileOp::LoadDco);
    win::choose(w, "example.dco", folder);
    note("CustomDCO example.dco in " + folder.mid(f.tmp.path().size() + 1).toStdString());
  }
  // Another report is no concern of the run.
  w.action("CustomDCO")->trigger();
  win::choose(w, "other.dco", f.data);
  note("CustomDCO other.dco");
  s.app.readError = s.dcResults.dcErrorSeen = false;
  // Once DC has ended the report reads.
  ASSERT_TRUE(win::waitForRuns(w));
  w.action("StandardDCO")->trigger();
  note("StandardDCO after the run");
  win::expectGolden("gui", "win_report_running_dco.txt", log);
}

TEST_F(ReportWhileRunning, DisplayLcoWaitsForLcToEnd) {
  start("LoadLCI", "example.lci");
  if (IsSkipped() || HasFatalFailure()) return;
  w.setFieldText("Text55", "untouched");
  // Display LCO > Standard, then Custom, then a direct display.
  s.app.lcoName = "before.lco";
  w.action("Standard")->trigger();
  note("Standard while LC runs");
  w.action("Custom")->trigger();
  ASSERT_EQ(w.fileDialog().op(), FileOp::LoadLco);
  win::choose(w, "example.lco", f.data);
  note("Custom example.lco");
  s.app.lcoName = "example.lco";
  EXPECT_FALSE(displayLco(w));
  note("displayLco");
  ASSERT_TRUE(win::waitForRuns(w));
  w.action("Standard")->trigger();
  note("Standard after the run");
  win::expectGolden("gui", "win_report_running_lco.txt", log);
}
