// A report is never read while the run that writes it goes on: with a slow
// program (a script that waits, then hands over to the stand-in), Load DCO
// and Display LCO are refused with one message and change nothing; once the
// run has ended the same commands read the report.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "RunCommands.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "frmMain_test_support.h"
#include "frmPlotLC.h"
#include "PlotCommands.h"

namespace {

const QString kStandins = QString(TAVRIN_BINARY_DIR) + "/src/standins/";
const QString kExamples = QString(TAVRIN_SOURCE_DIR) + "/examples";

// A program folder whose Synthex/Solvex waits before running the stand-in,
// and a data folder with the examples.
struct SlowPrograms {
  QTemporaryDir tmp;
  QString prog, data;
  bool ok = true;
  SlowPrograms() {
    prog = tmp.filePath("prog");
    data = tmp.filePath("data folder");
    QDir().mkpath(prog);
    QDir().mkpath(data);
    for (const QString& f : QDir(kExamples).entryList(QDir::Files)) QFile::copy(kExamples + "/" + f, data + "/" + f);
    for (const char* name : {"Synthex", "Solvex"}) {
      const QString real = kStandins + name;
      if (!QFile::exists(real)) ok = false;
      QFile script(prog + "/" + name);
      ok = ok && script.open(QIODevice::WriteOnly);
      script.write(("#!/bin/sh\nsleep 1.5\nexec '" + real + "'\n").toUtf8());
      script.close();
      script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
  }
};

void chooseFile(frmMain& w, const QString& folder, const QString& name) {
  frmIO_all& d = w.fileDialog();
  d.setFolder(folder);
  d.setName(name);
  d.accept();
}

bool waitForRuns(frmMain& w) {
  return QTest::qWaitFor([&] { return runcommands::runsInProgress(w) == 0; }, 60000);
}

// Loads the example input and starts its slow run; false when that failed.
bool loadAndStartRun(frmMain& w, const SlowPrograms& f, const char* loadAction, const QString& input) {
  w.session().app.programFolder = f.prog.toStdString();
  w.action(loadAction)->trigger();
  chooseFile(w, f.data, input);
  w.action("RunStandard")->trigger();
  return runcommands::runsInProgress(w) == 1;
}

}  // namespace

TEST(ReportWhileRunning, LoadDcoWaitsForDcToEnd) {
  SlowPrograms f;
  if (!f.ok) GTEST_SKIP() << "the stand-in programs are not built in " << kStandins.toStdString();
  mwtest::MessageCatcher messages;
  mwtest::MainWindow w;
  Session& s = w.session();
  ASSERT_TRUE(loadAndStartRun(w, f, "LoadDCI", "example.dci")) << messages.messages.join("|").toStdString();
  ASSERT_EQ(s.app.dcoName, "example.dco");
  const double incl = s.params.XINCL;
  const QString refusal = "DC is still running: wait for it to end before reading example.dco";

  // Load DCO > Standard.
  w.action("StandardDCO")->trigger();
  EXPECT_EQ(messages.messages, QStringList{refusal});
  EXPECT_EQ(s.dcResults.adjustedParams.size(), 0u);
  EXPECT_FALSE(s.dcResults.dcErrorSeen);
  EXPECT_FALSE(s.app.readError);
  EXPECT_EQ(s.params.XINCL, incl);

  // Load DCO > Custom, the same file by its name and through a linked folder.
  const QString alias = f.tmp.filePath("alias");
  ASSERT_TRUE(QFile::link(f.data, alias));
  s.app.dcoName = "before.dco";
  for (const QString& folder : {f.data, alias}) {
    messages.messages.clear();
    w.action("CustomDCO")->trigger();
    ASSERT_EQ(w.fileDialog().op(), FileOp::LoadDco);
    chooseFile(w, folder, "example.dco");
    EXPECT_EQ(messages.messages, QStringList{refusal}) << folder.toStdString();
    EXPECT_EQ(s.app.dcoName, "before.dco");
    EXPECT_EQ(s.dcResults.adjustedParams.size(), 0u);
  }
  // Another report is no concern of the run.
  messages.messages.clear();
  w.action("CustomDCO")->trigger();
  chooseFile(w, f.data, "other.dco");
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_NE(messages.messages[0], refusal);
  EXPECT_EQ(s.app.dcoName, "other.dco");
  s.app.readError = false;
  s.dcResults.dcErrorSeen = false;

  // Once DC has ended the report reads.
  ASSERT_TRUE(waitForRuns(w));
  messages.messages.clear();
  w.action("StandardDCO")->trigger();
  EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join("|").toStdString();
  EXPECT_EQ(s.app.dcoName, "example.dco");
  EXPECT_EQ(s.dcResults.adjustedParams.size(), 4u);
  EXPECT_FALSE(s.dcResults.dcErrorSeen);
}

TEST(ReportWhileRunning, DisplayLcoWaitsForLcToEnd) {
  SlowPrograms f;
  if (!f.ok) GTEST_SKIP() << "the stand-in programs are not built in " << kStandins.toStdString();
  mwtest::MessageCatcher messages;
  mwtest::MainWindow w;
  Session& s = w.session();
  ASSERT_TRUE(loadAndStartRun(w, f, "LoadLCI", "example.lci")) << messages.messages.join("|").toStdString();
  const QString refusal = "LC is still running: wait for it to end before reading example.lco";
  w.setFieldText("Text55", "untouched");

  // Display LCO > Standard, then Custom, then a direct display.
  s.app.lcoName = "before.lco";
  w.action("Standard")->trigger();
  EXPECT_EQ(messages.messages, QStringList{refusal});
  EXPECT_EQ(s.app.lcoName, "before.lco");
  messages.messages.clear();
  w.action("Custom")->trigger();
  ASSERT_EQ(w.fileDialog().op(), FileOp::LoadLco);
  chooseFile(w, f.data, "example.lco");
  EXPECT_EQ(messages.messages, QStringList{refusal});
  EXPECT_EQ(s.app.lcoName, "before.lco");
  messages.messages.clear();
  s.app.lcoName = "example.lco";
  EXPECT_FALSE(displayLco(w));
  EXPECT_EQ(messages.messages, QStringList{refusal});
  EXPECT_EQ(s.curve.page, 0);
  EXPECT_EQ(w.fieldText("Text55"), "untouched");
  EXPECT_FALSE(plotLCWindow(w).isVisible());

  ASSERT_TRUE(waitForRuns(w));
  messages.messages.clear();
  w.action("Standard")->trigger();
  EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join("|").toStdString();
  EXPECT_EQ(s.app.lcoName, "example.lco");
  EXPECT_EQ(s.curve.page, 1);
  EXPECT_TRUE(plotLCWindow(w).isVisible());
  EXPECT_NE(w.fieldText("Text55"), "untouched");
}
