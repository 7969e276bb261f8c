// The DC cycle on real windows with the stand-in DC program: load a DCI, run
// DC, read its report, apply a correction, look at the correlations, revert.
// The result windows go whole to golden/win_dco_cycle.txt.
#include <QStatusBar>

#include "frmCorrel.h"
#include "frmIOparms.h"
#include "model/number_fields.h"
#include "win_support.h"

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
using DcCycle = win::MainFixture;

}  // namespace

TEST_F(DcCycle, LoadRunReadCorrectRevert) {
  if (!f.link("Solvex")) GTEST_SKIP() << "the stand-in DC program is not built";
  s.app.programFolder = f.prog.toStdString();
  win::load(w, "LoadDCI", f.data, "example.dci");
  ASSERT_TRUE(s.app.dciName == "example.dci" && s.mode == tavrin::ProgramMode::DC) << win::str(messages.messages);
  EXPECT_EQ(w.windowTitle() + QString(" %1").arg(s.params.XINCL), "Tavrin - example.dci 82");

  // Run > Standard returns at once; the status bar reports the end.
  w.action("RunStandard")->trigger();
  EXPECT_TRUE(s.app.dcoName == "example.dco" && QFile::exists(f.prog + "/RunDC.sh"));
  ASSERT_TRUE(win::waitForRuns(w));
  const QString status = w.statusBar()->currentMessage();
  EXPECT_TRUE(status.startsWith("DC finished: example.dco (")) << status.toStdString();
  EXPECT_TRUE(status.endsWith(" s) - program: " + QDir::toNativeSeparators(f.prog + "/Solvex"))) << status.toStdString();

  // Load DCO > Standard, with the observed-data window open: its boxes follow.
  w.action("Data")->trigger();
  QWidget* data = w.findChild<QWidget*>("frmDataFile");
  ASSERT_TRUE(data);
  data->findChild<QLineEdit*>("Text22_3")->setText("stale");
  data->findChild<QComboBox*>("Combo2")->setCurrentIndex(0);
  w.action("StandardDCO")->trigger();
  EXPECT_TRUE(messages.messages.isEmpty()) << win::str(messages.messages);
  const tavrin::DcResults& r = s.dcResults;
  ASSERT_EQ(r.ioRows.size(), 5u);
  std::string log = "data window: Combo2 " + std::to_string(data->findChild<QComboBox*>("Combo2")->currentIndex()) +
                    " Text22_3 [" + data->findChild<QLineEdit*>("Text22_3")->text().toStdString() + "]\nadjusted";
  for (int16_t k : r.adjustedParams) log += " " + std::to_string(k);
  log += QString("%1 NLC %2 l2 %3 status [%4]\n").arg(r.dcErrorSeen ? " dcError" : "").arg(s.params.NLC)
             .arg(s.params.curves[3].l2, 0, 'g', 17).arg(w.statusBar()->currentMessage()).toStdString();
  // The editor's fields and values that Update and revert touch.
  auto fields = [&] {
    std::string t;
    for (const char* c : {"Text35", "Text39", "Text42", "Text43"}) t += std::string(c) + " [" + w.fieldText(c).toStdString() + "]\n";
    return t + QString("XINCL %1 T2 %2\n").arg(s.params.XINCL, 0, 'g', 17).arg(s.params.T2, 0, 'g', 17).toStdString();
  };

  // Display DCO > Corrections; Update adds to the value held now, once; T2 in kelvin.
  w.action("Corrections")->trigger();
  frmIOparms& io = frmIOparms::of(w);
  ASSERT_TRUE(io.isVisible());
  log += win::dump(&io);
  const double delta = r.ioRows[0].correction, t2 = s.params.T2;
  QTest::mouseClick(io.button(1), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(s.params.XINCL, 82.0 + delta);
  EXPECT_EQ(w.fieldText("Text39"), q(tavrin::losslessText(82.0 + delta, tavrin::fixedField(82.0 + delta, 7, 3))));
  QTest::mouseClick(io.button(1), Qt::LeftButton);
  QTest::mouseClick(io.button(2), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(s.params.T2, t2 + r.ioRows[1].correction * 10000.0);
  log += "> Update 1, 1, 2\n" + win::dump(&io) + fields();
  // Reopening keeps "Done"; a new standard read allows the rows again.
  w.action("Corrections")->trigger();
  const QString again = io.button(1)->text();
  w.action("StandardDCO")->trigger();
  w.action("Corrections")->trigger();
  EXPECT_EQ(again + " " + io.button(1)->text(), "Done Update");

  w.action("correlations")->trigger();
  ASSERT_TRUE(frmCorrel::of(w).isVisible());
  log += "> Correlations\n" + win::dump(&frmCorrel::of(w));

  // Revert: back to the values that went into the run.
  w.action("revert")->trigger();
  log += "> revert\n" + fields();
  EXPECT_TRUE(messages.messages.isEmpty()) << win::str(messages.messages);
  win::expectGolden("gui", "win_dco_cycle.txt", log);
}
