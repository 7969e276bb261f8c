#include <gtest/gtest.h>

#include "frmMain.h"

TEST(frmMainSmoke, OpensWithCaptionTavrin) {
  frmMain w;
  EXPECT_EQ(w.windowTitle().toStdString(), "Tavrin");
}
