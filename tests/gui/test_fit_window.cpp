// Fit Until Converged and Update All on real windows with the stand-in DC.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <signal.h>

#include "frmFit.h"
#include "frmIO_all.h"
#include "frmIOparms.h"
#include "frmMain.h"
#include "frmMain_test_support.h"
#include "output/corrections.h"

namespace {

const QString kSolvex = QString(TAVRIN_BINARY_DIR) + "/src/standins/Solvex";
const QString kExamples = QString(TAVRIN_SOURCE_DIR) + "/examples";

struct FitSetup {
  QTemporaryDir tmp;
  mwtest::MessageCatcher messages;
  mwtest::MainWindow w;
  FitSetup() {
    const QString prog = tmp.filePath("prog"), data = tmp.filePath("data");
    QDir().mkpath(prog);
    QDir().mkpath(data);
    for (const QString& f : QDir(kExamples).entryList(QDir::Files)) QFile::copy(kExamples + "/" + f, data + "/" + f);
    QFile::link(kSolvex, prog + "/Solvex");
    w.session().app.programFolder = prog.toStdString();
    w.action("LoadDCI")->trigger();
    w.fileDialog().setFolder(data);
    w.fileDialog().setName("example.dci");
    w.fileDialog().accept();
  }
  QString inclination() { return w.fieldText(QString::fromStdString(*tavrin::dcParameterControl(16))); }
};

}  // namespace

TEST(FitWindow, FitsOnItsOwnCopyAndAppliesOnlyOnRequest) {
  if (!QFile::exists(kSolvex)) GTEST_SKIP() << "the stand-in DC program is not built";
  FitSetup t;
  Session& s = t.w.session();
  ASSERT_EQ(s.app.dciName, "example.dci");
  const QString title = t.w.windowTitle(), before = t.inclination();
  t.w.action("FitUntilConverged")->trigger();
  frmFit& f = frmFit::of(t.w);
  QSignalSpy done(&f, &frmFit::fitFinished);
  f.findChild<QPushButton*>("Start")->click();
  ASSERT_TRUE(done.wait(60000));
  EXPECT_TRUE(f.outcomeText().startsWith("Converged")) << f.outcomeText().toStdString();
  EXPECT_GE(f.table()->rowCount(), 2);
  EXPECT_TRUE(QFile::exists(t.tmp.filePath("data/example.fit/001.dco")));
  const int last = f.table()->rowCount() - 1, note = f.table()->columnCount() - 1;
  EXPECT_TRUE(f.table()->item(last, note)->text().contains("stopped: converged"));
  // Nothing of the fit reached the editor.
  EXPECT_EQ(t.inclination(), before);
  EXPECT_DOUBLE_EQ(s.params.XINCL, 82.0);
  EXPECT_EQ(t.w.windowTitle(), title);
  EXPECT_FALSE(s.editedSinceSave);
  // The last sound pass is chosen; Apply puts its values in the editor, blue and unsaved.
  EXPECT_EQ(f.table()->currentRow(), f.table()->rowCount() - 1);
  f.findChild<QPushButton*>("Apply")->click();
  EXPECT_NEAR(t.inclination().toDouble(), 86.0, 0.5);
  EXPECT_TRUE(mwtest::isBlue(t.w.field(QString::fromStdString(*tavrin::dcParameterControl(16)))));
  EXPECT_TRUE(s.editedSinceSave);
  EXPECT_TRUE(t.messages.messages.isEmpty()) << t.messages.messages.join("|").toStdString();
  if (const char* dir = std::getenv("TAVRIN_SCREENSHOT_DIR")) {
    f.show();
    QTest::qWait(200);
    f.grab().save(QString(dir) + "/fit_window.png");
    t.w.grab().save(QString(dir) + "/fit_applied_editor.png");
  }
}

TEST(FitWindow, CancelStopsASlowDcAndKeepsTheEditor) {
  FitSetup t;
  const QString prog = QString::fromStdString(t.w.session().app.programFolder), child = t.tmp.filePath("child");
  QFile::remove(prog + "/Solvex");
  QFile script(prog + "/Solvex");
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(("#!/bin/sh\nsleep 30 &\necho $! > '" + child + "'\nwait\n").toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  t.w.action("FitUntilConverged")->trigger();
  frmFit& f = frmFit::of(t.w);
  QSignalSpy done(&f, &frmFit::fitFinished);
  f.findChild<QPushButton*>("Start")->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(child); }, 10000));
  EXPECT_TRUE(f.busy());
  f.findChild<QPushButton*>("Cancel")->click();
  ASSERT_TRUE(done.wait(5000));
  EXPECT_TRUE(f.outcomeText().startsWith("Cancelled")) << f.outcomeText().toStdString();
  QFile pidFile(child);
  ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
  const pid_t pid = pidFile.readAll().trimmed().toInt();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ::kill(pid, 0) != 0; }, 2000));
  EXPECT_DOUBLE_EQ(t.w.session().params.XINCL, 82.0);
}

TEST(FitWindow, UpdateAllAppliesEveryCorrectionAtOnce) {
  FitSetup t;
  Session& s = t.w.session();
  s.app.dcoName = "example.dco";
  s.dcResults.ioRows = {{16, 0, 82, 1.5, 83.5, 0.1}, {20, 0, 0.48, 0.02, 0.5, 0.001}};
  s.updateDone.assign(2, false);
  t.w.action("Corrections")->trigger();
  frmIOparms& io = frmIOparms::of(t.w);
  io.pressUpdate(1);  // one row by hand first: Update All does not apply it again
  io.updateAllButton()->click();
  EXPECT_DOUBLE_EQ(s.params.XINCL, 83.5);
  EXPECT_DOUBLE_EQ(s.params.T2, 4800.0 + 200.0);
  EXPECT_EQ(io.button(2)->text(), "Done");
  EXPECT_FALSE(io.updateAllButton()->isEnabled());
}
