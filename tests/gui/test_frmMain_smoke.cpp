#include <gtest/gtest.h>

#include "frmMain.h"
#include "frmMain_test_support.h"

TEST(frmMainSmoke, OpensWithCaptionTavrin) {
  mwtest::MainWindow w;
  EXPECT_EQ(w.windowTitle().toStdString(), "Tavrin");
}
