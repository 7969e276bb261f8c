#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include "EditorWindows.h"
#include "editor_test_support.h"
#include "frmIndivHlp.h"
#include "frmSpots.h"
#include "model/spot_rules.h"

using namespace tavrin;

namespace {

class SpotsWindow : public EditorWindowTest {
 protected:
  frmSpots& open() {
    main->action("Spots")->trigger();
    auto* w = main->findChild<frmSpots*>("frmSpots");
    EXPECT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    return *w;
  }
  QLineEdit* text(frmSpots& w, int array, int row) {
    return w.findChild<QLineEdit*>(QString("Text%1_%2").arg(array).arg(row));
  }
  static QColor background(QLineEdit* e) { return e->palette().color(QPalette::Base); }
  void setAB(frmSpots& w, const char* as, const char* an, const char* bs, const char* bn) {
    type(w.spotField(0), as);
    type(w.spotField(1), an);
    type(w.spotField(2), bs);
    type(w.spotField(3), bn);
  }
};

}  // namespace

TEST_F(SpotsWindow, OpensWithCountsRowsAndDegrees) {
  params().spotCount = {0, 2, 1};
  params().spots[1][1] = {90 / DEG_PER_RAD, 1.0, 0.2, 0.9};
  params().spots[1][3] = {1, 1, 1, 1};  // above the count: shown empty
  frmSpots& w = open();
  EXPECT_EQ(w.windowTitle(), "Spots2");
  EXPECT_EQ(w.countCombo(1)->count(), 7);
  EXPECT_EQ(w.countCombo(1)->currentText(), "2");
  EXPECT_EQ(w.countCombo(2)->currentText(), "1");
  EXPECT_EQ(text(w, 1, 1)->text(), "  90.00");
  EXPECT_EQ(text(w, 2, 1)->text(), "   57.3");  // the rounding path keeps no trailing zeros
  EXPECT_EQ(text(w, 4, 1)->text(), "  .9000");
  EXPECT_TRUE(text(w, 1, 2)->isVisible());
  EXPECT_FALSE(text(w, 1, 3)->isVisible());
  EXPECT_EQ(text(w, 1, 3)->text(), "");
  EXPECT_TRUE(text(w, 8, 1)->isVisible());
  EXPECT_FALSE(text(w, 5, 2)->isVisible());
  EXPECT_FALSE(text(w, 1, 7)->isVisible());
  EXPECT_EQ(w.findChild<QLabel*>("Label13")->text(), "Latitude (deg)");
  EXPECT_EQ(w.findChild<QLabel*>("Label11")->text(), "Temp. factor");
  EXPECT_EQ(w.findChild<QLabel*>("Label15")->text(), "Which Spot? (1- 6)");
  EXPECT_TRUE(w.findChild<QLabel*>("Label16")->isVisible());
  EXPECT_EQ(w.spotField(0)->text(), "1");
  EXPECT_EQ(w.spotField(3)->text(), "2");

  // LC mode hides the Spot A/B group.
  w.hide();
  main->setProgramMode(ProgramMode::LC);
  open();
  EXPECT_FALSE(w.spotField(0)->isVisible());
  EXPECT_FALSE(w.findChild<QLabel*>("Label17")->isVisible());
}

TEST_F(SpotsWindow, CountsChangeAtOnceCancelRestores) {
  params().spotCount = {0, 3, 0};
  frmSpots& w = open();
  w.countCombo(1)->setCurrentIndex(1);
  EXPECT_EQ(params().spotCount[1], 1);
  EXPECT_FALSE(text(w, 2, 2)->isVisible());
  w.countCombo(2)->setCurrentIndex(4);
  EXPECT_TRUE(text(w, 5, 4)->isVisible());
  click(&w, "Command2");
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(params().spotCount[1], 3);
  EXPECT_EQ(params().spotCount[2], 0);
}

TEST_F(SpotsWindow, OkStoresRadiansAndZeroesDroppedRows) {
  params().spotCount = {0, 3, 0};
  for (int r = 1; r <= 3; ++r) params().spots[1][static_cast<size_t>(r)] = {0.5, 0.5, 0.1, 0.9};
  params().spotAStar = 1;
  params().spotANumber = 1;
  frmSpots& w = open();
  type(text(w, 1, 1), "90");
  w.countCombo(1)->setCurrentIndex(1);
  click(&w, "Command1");
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_FALSE(w.isVisible());
  EXPECT_NEAR(params().spots[1][1].xlat, 1.5707963, 1e-7);
  for (int r = 2; r <= 3; ++r) {
    const Spot& s = params().spots[1][static_cast<size_t>(r)];
    EXPECT_EQ(s.xlat + s.xlong + s.radsp + s.temsp, 0.0);
  }
  EXPECT_EQ(params().totalSpotCount, 1);
  open();
  EXPECT_EQ(text(w, 1, 1)->text(), "  90.00");
}

TEST_F(SpotsWindow, ChecksAndMessagesInOrder) {
  params().spotCount = {0, 0, 2};
  frmSpots& w = open();
  setAB(w, "2", "1", "2", "1");
  click(&w, "Command1");
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0], "Hey!  Spot B must be different from Spot A.  Please make changes.");
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(params().spotBStar, 2) << "Spot A/B fields take effect at once";

  w.countCombo(2)->setCurrentIndex(0);
  w.countCombo(1)->setCurrentIndex(1);
  type(text(w, 3, 1), "15");
  setAB(w, "1", "2", "1", "1");
  click(&w, "Command1");
  EXPECT_EQ(messages.back(), "Hey!  Spot A does not exist.  Please make changes.");
  EXPECT_NEAR(params().spots[1][1].radsp, 15 / DEG_PER_RAD, 1e-12) << "typed values stored before the check";

  setAB(w, "1", "1", "2", "7");  // one spot in all: Spot B not examined
  click(&w, "Command1");
  EXPECT_EQ(messages.size(), 2);
  EXPECT_FALSE(w.isVisible());

  open();
  w.countCombo(2)->setCurrentIndex(1);
  setAB(w, "1", "1", "2", "2");
  click(&w, "Command1");
  EXPECT_EQ(messages.back(), "Hey!  Spot B does not exist.  Please make changes.");

  type(w.spotField(3), "99999");
  click(&w, "Command1");
  EXPECT_EQ(messages.back(), "Error 6: Overflow.");
  EXPECT_TRUE(w.isVisible());
}

TEST_F(SpotsWindow, LcModeOkIgnoresHiddenSpotAB) {
  main->setProgramMode(ProgramMode::LC);
  params().spotCount = {0, 0, 1};  // Spot A = star 1 spot 1 does not exist
  frmSpots& w = open();
  click(&w, "Command1");
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_FALSE(w.isVisible());
}

TEST_F(SpotsWindow, HighlightingFollowsKeysAndSpotFields) {
  params().spotCount = {0, 2, 2};
  params().adjustKeys[1] = '0';
  params().adjustKeys[3] = '0';
  params().adjustKeys[8] = '0';
  frmSpots& w = open();
  const QColor pink(255, 192, 192), blue(192, 192, 255), white(Qt::white);
  EXPECT_EQ(background(text(w, 1, 1)), pink);  // Spot A star 1 spot 1: latitude
  EXPECT_EQ(background(text(w, 3, 1)), pink);  // radius
  EXPECT_EQ(background(text(w, 2, 1)), white);
  EXPECT_EQ(background(text(w, 4, 2)), blue);  // Spot B star 1 spot 2: factor
  type(w.spotField(2), "2");
  EXPECT_EQ(background(text(w, 4, 2)), white);
  EXPECT_EQ(background(text(w, 8, 2)), blue);
  type(w.spotField(1), "0");
  EXPECT_EQ(background(text(w, 1, 1)), white);
  for (int a = 1; a <= 8; ++a)
    for (int r = 1; r <= 6; ++r)
      if (!(a == 8 && r == 2)) {
        EXPECT_EQ(background(text(w, a, r)), white) << a << " " << r;
      }
}

TEST_F(SpotsWindow, SpotsSevenToTenShownEditedAndKept) {
  params().spotCount = {0, 8, 1};
  for (int r = 1; r <= 8; ++r) params().spots[1][static_cast<size_t>(r)] = {0.1 * r, 0.2, 0.05, 0.9};
  params().spotAStar = 1;
  params().spotANumber = 8;
  params().adjustKeys[2] = '0';
  frmSpots& w = open();
  EXPECT_EQ(w.rowLimit(), 10);
  EXPECT_EQ(w.countCombo(1)->count(), 11);
  EXPECT_EQ(w.countCombo(1)->currentText(), "8");
  EXPECT_TRUE(text(w, 1, 8)->isVisible());
  EXPECT_FALSE(text(w, 1, 9)->isVisible());
  EXPECT_EQ(text(w, 1, 7)->text(), spotAngleText(0.7).c_str());
  EXPECT_EQ(background(text(w, 2, 8)), QColor(255, 192, 192));
  type(text(w, 4, 8), "1.1");
  click(&w, "Command1");
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_NEAR(params().spots[1][7].xlat, 0.7, 1e-4) << "spot 7 not lost on OK";
  EXPECT_EQ(params().spots[1][8].temsp, 1.1);
  EXPECT_EQ(params().totalSpotCount, 9);

  // Back to an ordinary model: six rows again.
  params().spotCount = {0, 2, 0};
  open();
  EXPECT_EQ(w.countCombo(1)->count(), 7);
  EXPECT_FALSE(text(w, 1, 7)->isVisible());
}

TEST_F(SpotsWindow, CaptionClickShowsIndividualHelp) {
  frmSpots& w = open();
  auto* caption = w.findChild<QLabel*>("Label10");  // radius, star 2
  ASSERT_NE(caption, nullptr);
  QTest::mouseClick(caption, Qt::LeftButton);
  auto* help = main->findChild<frmIndivHlp*>("frmIndivHlp");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), "Individual Help");
  ASSERT_EQ(help->lines().size(), 3);
  EXPECT_EQ(help->lines()[0], "RADSP# ");
  EXPECT_EQ(help->lines()[1], "  The angular radius of a star spot, star 2, in degrees.  This angle is the one");
  EXPECT_EQ(help->height(), 3 * help->lineHeight() + frmIndivHlp::kMargin);

  QTest::mouseClick(w.findChild<QLabel*>("Label7"), Qt::LeftButton);
  EXPECT_EQ(help->lines().size(), 7);
  EXPECT_EQ(help->height(), 7 * help->lineHeight() + frmIndivHlp::kMargin);
  EXPECT_EQ(&indivHelpWindow(*main), help);

  help->showLines({"one line"});
  EXPECT_EQ(help->height(), help->lineHeight() + frmIndivHlp::kMargin);
  QTest::keyClick(help, Qt::Key_Escape);
  EXPECT_FALSE(help->isVisible());
}

TEST_F(SpotsWindow, HelpPage) {
  QString title;
  QStringList paragraphs;
  frmSpots::setHelpPageOpener([&](const QString& t, const QStringList& p) {
    title = t;
    paragraphs = p;
  });
  frmSpots& w = open();
  w.findChild<QAction*>("spotsHelp")->trigger();
  frmSpots::setHelpPageOpener({});
  EXPECT_EQ(title, "Help - Spots");
  EXPECT_TRUE(paragraphs.join(" ").contains("Spot B entries are ignored"));

  w.findChild<QAction*>("spotsHelp")->trigger();
  auto* page = w.findChild<QDialog*>("frmSpotsHelpPage");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->windowTitle(), "Help - Spots");
}
