// Pictures of the main window in both modes, for looking at the layout.
// Runs only when TAVRIN_SCREENSHOT_DIR names a folder to write them to.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>
#include <cstdlib>

#include "frmCritPots.h"
#include "frmMain_test_support.h"
#include "frmTransfer.h"

using namespace mwtest;

TEST(frmMainScreenshots, LcAndDcModes) {
  const char* dir = std::getenv("TAVRIN_SCREENSHOT_DIR");
  if (!dir) GTEST_SKIP() << "TAVRIN_SCREENSHOT_DIR not set";
  QDir().mkpath(dir);
  mwtest::MainWindow w;
  w.resize(1366, 740);
  w.show();
  type(w, "Text35", "352.1");  // one marked field
  QApplication::processEvents();
  ASSERT_TRUE(w.grab().save(QString(dir) + "/frmMain_lc.png"));

  w.session().params.adjustKeys[23] = '0';
  w.session().params.adjustKeys[25] = '0';
  w.session().app.dciName = "sample.dci";
  w.findChild<QRadioButton*>("Option2")->click();
  combo(w, "Combo3")->setCurrentIndex(0);  // THE shown
  QApplication::processEvents();
  ASSERT_TRUE(w.grab().save(QString(dir) + "/frmMain_dc.png"));

  w.action("critpotls")->trigger();
  ASSERT_TRUE(w.critPotsWindow().grab().save(QString(dir) + "/frmCritPots.png"));
  ASSERT_TRUE(w.transferWindow().grab().save(QString(dir) + "/frmTransfer.png"));
}
