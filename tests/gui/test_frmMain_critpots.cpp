// The Critical Potentials window: its texts for a mass ratio, following the
// typing in the main window, and keeping its figures for asynchronous stars.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "frmCritPots.h"
#include "frmMain_test_support.h"

using namespace mwtest;

namespace {
QString box(frmCritPots& c, const char* name) { return c.findChild<QLineEdit*>(name)->text(); }
}  // namespace

TEST(frmMainCritPots, ShowsFiguresForMassRatioOneAndFollowsTyping) {
  frmMain w;
  combo(w, "Combo3")->setCurrentIndex(3);  // MODE 2: potentials independent
  w.setFieldText("Text48", "1");
  EXPECT_EQ(w.findChild<frmCritPots*>("frmCritPots"), nullptr);  // created on first use
  w.action("critpotls")->trigger();
  frmCritPots* c = w.findChild<frmCritPots*>("frmCritPots");
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->isVisible());
  EXPECT_EQ(c->windowTitle(), "Critical Potentials");
  EXPECT_EQ(box(*c, "Text1"), " 3.7500");
  EXPECT_EQ(box(*c, "Text2"), " 3.2066");
  EXPECT_EQ(box(*c, "Text3"), "-4.439");  // POTH 6.1624
  EXPECT_EQ(box(*c, "Text4"), "-9.678");  // POT2 9.0092

  type(w, "Text46", "3.5");
  EXPECT_EQ(box(*c, "Text3"), " .4601");
  type(w, "Text48", "0.76115");
  EXPECT_EQ(box(*c, "Text1"), " 3.3501");
  EXPECT_EQ(box(*c, "Text2"), " 2.9185");

  // Asynchronous rotation: the window keeps what it showed.
  w.setFieldText("Text36", "1.5");
  type(w, "Text48", "1");
  EXPECT_EQ(box(*c, "Text1"), " 3.3501");
  // Typing does not change the set; gather does.
  EXPECT_DOUBLE_EQ(w.session().params.RM, 0.76115);

  c->findChild<QPushButton*>("Command1")->click();
  EXPECT_FALSE(c->isVisible());
  w.action("critpotls")->trigger();
  EXPECT_EQ(w.findChildren<frmCritPots*>().size(), 1);
  EXPECT_TRUE(c->isVisible());
}

TEST(frmMainCritPots, NegativeMassRatioLeavesTheFigures) {
  frmMain w;
  w.action("critpotls")->trigger();
  frmCritPots* c = w.findChild<frmCritPots*>("frmCritPots");
  const QString inner = box(*c, "Text1");
  EXPECT_EQ(inner, " 3.3501");
  w.setFieldText("Text48", "-0.5");
  EXPECT_EQ(box(*c, "Text1"), inner);
  w.setFieldText("Text48", "0");  // q = 0: both potentials are the first constant
  EXPECT_EQ(box(*c, "Text1"), " 1.4815");
  EXPECT_EQ(box(*c, "Text2"), " 1.4817");
}

TEST(frmMainCritPots, WindowCaptions) {
  frmMain w;
  frmCritPots& c = w.critPotsWindow();
  QStringList texts;
  for (QLabel* l : c.findChildren<QLabel*>()) texts << l->text();
  for (const char* t :
       {"Critical Potentials", "Omega i (inner)", "Omega o (outer)", "Fill factor*", "Star 1", "Star 2",
        "*based on Potentials entered on main sheet", "These are a function of the mass ratio  M2/M1 on main sheet",
        "and are only given for F1 = F2  =  1.00 (synchronous rotation.)"})
    EXPECT_TRUE(texts.contains(t)) << t;
}
