// Fit Until Converged and Update All on real windows with the stand-in DC.
#include <QSignalSpy>
#include <QTableWidget>
#include <signal.h>

#include "frmFit.h"
#include "frmIOparms.h"
#include "output/corrections.h"
#include "main_scenario.h"

namespace {

// The example loaded in a scenario's folder, beside the stand-in DC.
struct Loaded : mwtest::Scenario {
  Loaded() {
    for (const char* step : {"new", "link Solvex $BIN/src/standins/Solvex",
                             "copy examples/example.dci example.dci", "dialog LoadDCI example.dci"})
      run(step);
  }
};

class FitWindow : public ::testing::Test {
 protected:
  QWidget* inclination() { return w.field(QString::fromStdString(*tavrin::dcParameterControl(16))); }
  void start() {
    w.action("FitUntilConverged")->trigger();
    fit.findChild<QPushButton*>("Start")->click();
  }
  Loaded scenario;
  frmMain& w = scenario.w();
  Session& s = w.session();
  QStringList& messages = scenario.catcher.messages;
  frmFit& fit = frmFit::of(w);
  QSignalSpy done{&fit, &frmFit::fitFinished};
};

}  // namespace

TEST_F(FitWindow, FitsOnItsOwnCopyAndAppliesOnlyOnRequest) {
  if (!QFile::exists(win::kSolvex)) GTEST_SKIP() << "the stand-in DC program is not built";
  ASSERT_EQ(s.app.dciName, "example.dci");
  const QString title = w.windowTitle(), before = qobject_cast<QLineEdit*>(inclination())->text();
  start();
  ASSERT_TRUE(done.wait(60000));
  EXPECT_TRUE(fit.outcomeText().startsWith("Converged")) << fit.outcomeText().toStdString();
  QTableWidget* t = fit.table();
  EXPECT_GE(t->rowCount(), 2);
  EXPECT_TRUE(QFile::exists(scenario.path("example.fit/001.dco")));
  EXPECT_TRUE(t->item(t->rowCount() - 1, t->columnCount() - 1)->text().contains("stopped: converged"));
  // Nothing of the fit reached the editor.
  EXPECT_EQ(qobject_cast<QLineEdit*>(inclination())->text(), before);
  EXPECT_DOUBLE_EQ(s.params.XINCL, 82.0);
  EXPECT_EQ(w.windowTitle(), title);
  EXPECT_FALSE(s.editedSinceSave);
  // The last sound pass is chosen; Apply puts its values in the editor, blue and unsaved.
  EXPECT_EQ(t->currentRow(), t->rowCount() - 1);
  fit.findChild<QPushButton*>("Apply")->click();
  EXPECT_NEAR(qobject_cast<QLineEdit*>(inclination())->text().toDouble(), 86.0, 0.5);
  EXPECT_TRUE(mwtest::isBlue(inclination()));
  EXPECT_TRUE(s.editedSinceSave);
  EXPECT_TRUE(messages.isEmpty()) << win::str(messages);
}

TEST_F(FitWindow, CancelStopsASlowDcAndKeepsTheEditor) {
  const QString child = scenario.path("child");
  scenario.run(R"(exec Solvex #!/bin/sh\nsleep 30 &\necho $! > '$TMP/child'\nwait\n)");
  start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(child); }, 10000));
  EXPECT_TRUE(fit.busy());
  fit.findChild<QPushButton*>("Cancel")->click();
  ASSERT_TRUE(done.wait(5000));
  EXPECT_TRUE(fit.outcomeText().startsWith("Cancelled")) << fit.outcomeText().toStdString();
  const pid_t pid = QString::fromStdString(tavrin::testing_support::slurp(child.toStdString())).trimmed().toInt();
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ::kill(pid, 0) != 0; }, 2000));
  EXPECT_DOUBLE_EQ(s.params.XINCL, 82.0);
}

TEST_F(FitWindow, UpdateAllAppliesEveryCorrectionAtOnce) {
  s.app.dcoName = "example.dco";
  s.dcResults.ioRows = {{16, 0, 82, 1.5, 83.5, 0.1}, {20, 0, 0.48, 0.02, 0.5, 0.001}};
  s.updateDone.assign(2, false);
  w.action("Corrections")->trigger();
  frmIOparms& io = frmIOparms::of(w);
  io.pressUpdate(1);  // one row by hand first: Update All does not apply it again
  io.updateAllButton()->click();
  EXPECT_DOUBLE_EQ(s.params.XINCL, 83.5);
  EXPECT_DOUBLE_EQ(s.params.T2, 4800.0 + 200.0);
  EXPECT_EQ(io.button(2)->text(), "Done");
  EXPECT_FALSE(io.updateAllButton()->isEnabled());
}
