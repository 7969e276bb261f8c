#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "EditorWindows.h"
#include "editor_test_support.h"
#include "frmAdjust.h"
#include "frmIncrem.h"

using namespace tavrin;

namespace {

class AdjustWindow : public EditorWindowTest {
 protected:
  frmAdjust& open() {
    main->action("Adjust")->trigger();
    auto* w = main->findChild<frmAdjust*>("frmAdjust");
    EXPECT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    return *w;
  }
  void setOnly(frmAdjust& w, std::initializer_list<int> keys) {
    for (int k = 1; k <= 35; ++k)
      if (k != 30) w.check(k)->setChecked(false);
    for (int k : keys) w.check(k)->setChecked(true);
  }
  std::string keys(int from, int to) {
    std::string s;
    for (int k = from; k <= to; ++k) s += params().adjustKeys[static_cast<size_t>(k)];
    return s;
  }
  QColor labelColour(const char* name) { return main->fieldLabel(name)->palette().color(QPalette::WindowText); }
};

}  // namespace

TEST_F(AdjustWindow, CaptionsAndBoxesFromKeys) {
  params().adjustKeys[10] = '0';
  params().adjustKeys[33] = '0';
  frmAdjust& w = open();
  EXPECT_EQ(w.windowTitle(), "Adjust");
  EXPECT_EQ(w.findChild<QLabel*>("Label1")->text(), "Adjust Parameters");
  EXPECT_EQ(w.findChild<QLabel*>("Label2")->text(),
            "A selected item means that the parameter will be adjusted to fit the data.");
  EXPECT_EQ(w.findChild<QLabel*>("Label3")->text(), "Spot  A ---------");
  EXPECT_EQ(w.findChild<QLabel*>("Label6")->text(),
            "Physical -------------------------------------------------------------");
  EXPECT_EQ(w.findChild<QCheckBox*>("Check19")->text(), "T1 (star 1 temperature)");
  EXPECT_EQ(w.findChild<QCheckBox*>("Check35")->text(), "EL3 (Third Light)");
  EXPECT_EQ(w.findChild<QCheckBox*>("Check30"), nullptr);
  EXPECT_EQ(w.findChildren<QCheckBox*>().size(), 34);
  EXPECT_TRUE(w.check(10)->isChecked());
  EXPECT_TRUE(w.check(33)->isChecked());
  EXPECT_FALSE(w.check(9)->isChecked());
  EXPECT_EQ(w.findChild<QPushButton*>("Command3")->text(), "Increments");
}

TEST_F(AdjustWindow, SpotARefusalKeepsKeysTakenAndWindowOpen) {
  frmAdjust& w = open();
  setOnly(w, {3});
  click(&w, "Command1");
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0],
            "Hey!  Spot A does not exist!.  Please make changes on the spots page or do not try to vary any Spot A "
            "parameters.");
  EXPECT_EQ(keys(1, 4), "1101");
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(params().adjustedParams.empty());

  // With one spot in all, spot A boxes pass but spot B is refused.
  params().spotCount[1] = 1;
  setOnly(w, {1, 2, 3, 4, 5});
  click(&w, "Command1");
  EXPECT_EQ(messages.back(),
            "Hey!  Spot B does not exist.  Please make changes on the spots page or do not try to vary any Spot B "
            "parameters.");
  setOnly(w, {1, 2, 3, 4});
  click(&w, "Command1");
  EXPECT_EQ(messages.size(), 2);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(params().adjustedParams, (std::vector<int16_t>{1, 2, 3, 4}));
}

TEST_F(AdjustWindow, ChecksUseTheEditorAsTyped) {
  frmAdjust& w = open();
  main->setFieldText("Text34", "0.0000005");
  setOnly(w, {11});
  click(&w, "Command1");
  EXPECT_EQ(messages.back(),
            "Your eccentricity = 0.  Therefore you cannot vary the Argument of the Periastron; please fix.");
  main->setFieldText("Text34", "0.000001");
  click(&w, "Command1");
  EXPECT_EQ(messages.size(), 1);
  EXPECT_FALSE(w.isVisible());

  // JDPHS from the drop-down: phases refuse key 27, times accept it.
  w.showWindow();
  setOnly(w, {27});
  main->setFieldText("Combo1", "2: phase");
  click(&w, "Command1");
  EXPECT_EQ(messages.back(),
            "You have selected JDPHS = 2 (phases).  Therefore, you cannot vary the period.  Please change.");
  main->setFieldText("Combo1", "1: JD");
  click(&w, "Command1");
  EXPECT_FALSE(w.isVisible());
}

TEST_F(AdjustWindow, KeyTwentyFourInModeThreeAndTwo) {
  frmAdjust& w = open();
  main->setFieldText("Combo3", "3:overcon,adj T2");
  setOnly(w, {24});
  click(&w, "Command1");
  EXPECT_EQ(messages.back(),
            "Hey!  In mode 1 or mode 3 -- both overcontact binary cases -- you cannot vary Potential 2, as it is tied "
            "to Potential 1.");
  EXPECT_EQ(params().adjustKeys[24], '1');
  EXPECT_NE(labelColour("Label47"), QColor(255, 0, 0));
  main->setFieldText("Combo3", "2: detached");
  click(&w, "Command1");
  EXPECT_EQ(messages.size(), 1);
  EXPECT_EQ(params().adjustKeys[24], '0');
  EXPECT_EQ(labelColour("Label47"), QColor(255, 0, 0));
}

TEST_F(AdjustWindow, SuccessColoursMainLabels) {
  params().velocityCurveCount = 1;
  frmAdjust& w = open();
  setOnly(w, {9, 31, 35});
  click(&w, "Command1");
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_EQ(params().adjustedParams, (std::vector<int16_t>{9, 31, 35}));
  EXPECT_EQ(labelColour("Label60"), QColor(255, 0, 0));
  EXPECT_EQ(labelColour("Label35"), QColor(255, 0, 0));
  EXPECT_NE(labelColour("Label34"), QColor(255, 0, 0));

  // Unchecking turns the label back.
  w.showWindow();
  setOnly(w, {31});
  click(&w, "Command1");
  EXPECT_NE(labelColour("Label60"), QColor(255, 0, 0));
  EXPECT_EQ(params().adjustedParams, (std::vector<int16_t>{31}));
}

TEST_F(AdjustWindow, MoreThanFifteenRefusedNothingStored) {
  frmAdjust& w = open();
  setOnly(w, {9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 25, 31, 32});
  params().velocityCurveCount = 2;
  main->setFieldText("Text34", "0.1");
  click(&w, "Command1");
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0], "DC can adjust at most 15 parameters at a time, but 16 are selected.  Please deselect 1.");
  EXPECT_EQ(keys(1, 35), std::string(35, '1'));
  EXPECT_TRUE(w.isVisible());
  w.check(32)->setChecked(false);
  click(&w, "Command1");
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(params().adjustedCount(), 15);
}

TEST_F(AdjustWindow, CancelAndEscapeKeepKeysAndContentsPersist) {
  frmAdjust& w = open();
  setOnly(w, {10});
  click(&w, "Command2");
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(params().adjustKeys[10], '1');

  frmAdjust& again = open();
  EXPECT_EQ(&again, &w) << "created once, hidden afterwards";
  EXPECT_FALSE(w.check(10)->isChecked()) << "refilled from the keys";
  w.check(10)->setChecked(true);
  QTest::keyClick(w.check(10), Qt::Key_Escape);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(params().adjustKeys[10], '1');
  open();
  QTest::keyClick(w.findChild<QPushButton*>("Command1"), Qt::Key_Escape);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(AdjustWindow, IncrementsShowStoreDefaultAndRefuse) {
  frmAdjust& a = open();
  click(&a, "Command3");
  auto* w = main->findChild<frmIncrem*>("frmIncrem");
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), "Increments");
  const char* first14[] = {"5", "5", "3", "0.03", "5", "5", "3", "0.03", "0.01", "0.1", "0.1", "0.1", "0.002", "-1"};
  for (int k = 1; k <= 14; ++k) EXPECT_EQ(w->box(k)->text(), first14[k - 1]) << k;
  EXPECT_EQ(w->box(27)->text(), "0.01");
  EXPECT_EQ(w->findChild<QLabel*>("Label30")->text(),
            "-- If they are made too large, they will cause systematic errors in the derivatives.");
  EXPECT_EQ(w->findChild<QLabel*>("Label35")->text(), "Physical ---------------------------------");

  // A box without a number: refused, named, nothing stored.
  type(w->box(16), "0.02");
  type(w->box(9), "abc");
  click(w, "Command1");
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0],
            "The increment \"Eccentricity\" (box 9) is not a number.  Please correct it; no increment has been "
            "changed.");
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(params().increments[16], 0.01);

  type(w->box(9), "0.005");
  type(w->box(27), "0.02");
  click(w, "Command1");
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(params().increments[9], 0.005);
  EXPECT_EQ(params().increments[16], 0.02);
  EXPECT_EQ(params().x2Increment, "0.02");

  // Default fills texts only; Cancel stores nothing; Esc hides.
  a.openIncrements();
  EXPECT_EQ(w->box(9)->text(), "0.005");
  click(w, "Command3");
  EXPECT_EQ(w->box(11)->text(), "0.01");
  EXPECT_EQ(w->box(14)->text(), "-1.0");
  click(w, "Command2");
  EXPECT_EQ(params().increments[11], 0.10);
  a.openIncrements();
  click(w, "Command3");
  click(w, "Command1");
  EXPECT_EQ(params().increments[11], 0.01) << "the Default button gives F1 0.01";
  EXPECT_EQ(params().increments[9], 0.01);
  a.openIncrements();
  QTest::keyClick(w->box(3), Qt::Key_Escape);
  EXPECT_FALSE(w->isVisible());
}

TEST_F(AdjustWindow, CancelTakesBackWhatARefusedOkStored) {
  params().adjustKeys[16] = '0';
  frmAdjust& w = open();
  setOnly(w, {3, 16});
  click(&w, "Command1");  // no spots: refused after keys 1-4 were taken
  ASSERT_EQ(keys(1, 4), "1101");
  click(&w, "Command2");
  EXPECT_EQ(keys(1, 4), "1111");
  EXPECT_EQ(params().adjustKeys[16], '0');
  EXPECT_EQ(labelColour("Label39"), QColor(255, 0, 0)) << "labels follow the restored keys";

  // Esc does the same; keys changed by something else meanwhile stay.
  open();
  setOnly(w, {3});
  click(&w, "Command1");
  QTest::keyClick(w.check(3), Qt::Key_Escape);
  EXPECT_EQ(keys(1, 4), "1111");
  open();
  setOnly(w, {3});
  click(&w, "Command1");
  params().adjustKeys = ParameterSet{}.adjustKeys;  // as a DCI loaded meanwhile would
  params().adjustKeys[1] = '0';
  click(&w, "Command2");
  EXPECT_EQ(keys(1, 4), "0111");
}

TEST_F(AdjustWindow, EccentricityThatIsNotANumberRefusesBeforeAnyKey) {
  frmAdjust& w = open();
  setOnly(w, {3, 11});
  for (const char* e : {"1e400", "0.1abc"}) {
    type(main->findChild<QLineEdit*>("Text34"), e);
    click(&w, "Command1");
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(messages.back().contains("(Text34)") && messages.back().contains(e)) << messages.back().toStdString();
    EXPECT_EQ(keys(1, 4), "1111");
    EXPECT_TRUE(w.isVisible());
  }
  EXPECT_EQ(messages.size(), 2);
}
