// Editor rules of the main window on real widgets: start-up state, the
// fields shown by MODE/NOISE/MPAGE/MREF/LD/JDPHS, the overcontact ties,
// blue marking and its reset, the Rad/Conv presets.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>

#include "frmMain_test_support.h"
#include "model/parameter_set.h"

using namespace mwtest;

TEST(frmMainEditor, StartsWithTheDefaultsInLcMode) {
  frmMain w;
  for (const auto& f : tavrin::scalarFields()) {
    const QString control = QString::fromUtf8(f.control.data(), f.control.size());
    ASSERT_NE(w.field(control), nullptr) << f.name;
    EXPECT_EQ(w.fieldText(control).toStdString(), f.defaultText) << control.toStdString();
    ASSERT_NE(w.fieldLabel(QString::fromUtf8(f.label.data(), f.label.size())), nullptr) << f.label;
  }
  for (const auto& list : tavrin::comboLists()) {
    QComboBox* c = combo(w, QString::fromUtf8(list.control.data(), list.control.size()));
    EXPECT_EQ(c->count(), static_cast<int>(list.items.size()));
    EXPECT_EQ(c->currentIndex(), list.startIndex);
  }
  EXPECT_EQ(w.windowTitle(), "Tavrin");
  EXPECT_EQ(w.session().mode, tavrin::ProgramMode::LC);
  EXPECT_TRUE(w.findChild<QWidget*>("Option1")->property("checked").toBool());
  EXPECT_EQ(w.menu("RunMenu")->title(), "Run LC");
  EXPECT_FALSE(w.isStartingUp());

  // Nothing is marked after start-up, although every field was filled.
  for (const auto& f : tavrin::scalarFields())
    EXPECT_FALSE(isBlue(w.field(QString::fromUtf8(f.control.data(), f.control.size())))) << f.control;

  // MODE 3, MREF 1, MPAGE 1, NOISE 0, LD 2, JDPHS 2 decide what is shown.
  for (const char* hidden : {"Text32", "Text02", "Text06", "Text07", "Text14", "Text16", "Text1", "Text2", "Text3"})
    EXPECT_FALSE(shown(w, hidden)) << hidden;
  for (const char* visible : {"Text51", "Text52", "Text58", "Text59", "Combo4", "Combo5", "Combo7", "Text17", "Text23",
                              "Text53", "Text63", "Text4"})
    EXPECT_TRUE(shown(w, visible)) << visible;
  EXPECT_FALSE(w.fieldLabel("Label32")->isVisibleTo(&w));
  for (const char* c : {"Text17", "Text18", "Text19", "Text10", "Text12"}) EXPECT_FALSE(w.field(c)->isEnabled()) << c;
  for (const char* c : {"Text20", "Text21", "Text22", "Text11"}) EXPECT_TRUE(w.field(c)->isEnabled()) << c;

  // The defaults are convective stars.
  EXPECT_TRUE(w.action("Star1Conv")->isChecked());
  EXPECT_FALSE(w.action("Star1Rad")->isChecked());
  EXPECT_TRUE(w.action("Star2Conv")->isChecked());
  EXPECT_EQ(w.fieldLabel("Label42")->cursor().shape(), Qt::CrossCursor);
  EXPECT_EQ(w.fieldLabel("Label42")->buddy(), w.field("Text42"));
}

TEST(frmMainEditor, TheIsShownOnlyForXrayBinaries) {
  frmMain w;
  QComboBox* mode = combo(w, "Combo3");
  for (int i = 0; i < mode->count(); ++i) {
    mode->setCurrentIndex(i);
    EXPECT_EQ(shown(w, "Text32"), i == 0) << mode->currentText().toStdString();
  }
}

TEST(frmMainEditor, TemperaturesAreTiedOnlyInMode1) {
  frmMain w;
  combo(w, "Combo3")->setCurrentIndex(2);  // "1:overcon,T1=T2"
  type(w, "Text42", "5000");
  EXPECT_EQ(w.fieldText("Text43"), "5000");
  type(w, "Text43", "6100");
  EXPECT_EQ(w.fieldText("Text42"), "6100");
  EXPECT_TRUE(isBlue(w.field("Text42")));
  EXPECT_TRUE(isBlue(w.field("Text43")));

  combo(w, "Combo3")->setCurrentIndex(4);  // "3:overcon,adj T2"
  type(w, "Text42", "5000");
  EXPECT_EQ(w.fieldText("Text43"), "6100");
  // MODE 3 still ties the other pairs, and the copy stops after one round.
  type(w, "Text40", "0.25");
  EXPECT_EQ(w.fieldText("Text41"), "0.25");
  EXPECT_EQ(w.fieldText("Text40"), "0.25");
}

TEST(frmMainEditor, PotentialsAreTiedInMode3NotInMode2) {
  frmMain w;
  ASSERT_EQ(combo(w, "Combo3")->currentIndex(), 4);  // MODE 3 at start-up
  type(w, "Text46", "3.4");
  EXPECT_EQ(w.fieldText("Text47"), "3.4");
  type(w, "Text47", "3.45");
  EXPECT_EQ(w.fieldText("Text46"), "3.45");

  combo(w, "Combo3")->setCurrentIndex(3);  // "2: detached"
  type(w, "Text46", "6.1624");
  EXPECT_EQ(w.fieldText("Text47"), "3.45");
}

TEST(frmMainEditor, LimbDarkeningYFollowTheLawAndTieOneWayWithLinearLaw) {
  frmMain w;  // MODE 3
  type(w, "Text51", "0.1");
  EXPECT_EQ(w.fieldText("Text52"), "0.1");
  type(w, "Text52", "0.2");
  EXPECT_EQ(w.fieldText("Text51"), "0.2");
  type(w, "Text58", "0.3");
  EXPECT_EQ(w.fieldText("Text59"), "0.3");

  combo(w, "Combo2")->setCurrentIndex(0);  // "1:linear": y is not used
  for (const char* c : {"Text51", "Text52", "Text58", "Text59"}) EXPECT_FALSE(shown(w, c)) << c;
  // YBOL1 still goes into YBOL2, but not back, and Y1/Y2 are free.
  w.setFieldText("Text51", "0.4");
  EXPECT_EQ(w.fieldText("Text52"), "0.4");
  w.setFieldText("Text52", "0.5");
  EXPECT_EQ(w.fieldText("Text51"), "0.4");
  w.setFieldText("Text58", "0.6");
  EXPECT_EQ(w.fieldText("Text59"), "0.3");

  combo(w, "Combo2")->setCurrentIndex(2);  // "3: SqRt"
  for (const char* c : {"Text51", "Text52", "Text58", "Text59"}) EXPECT_TRUE(shown(w, c)) << c;
}

TEST(frmMainEditor, NoiseMpageMrefAndJdphsShowAndEnableTheirFields) {
  frmMain w;
  w.setFieldText("Text14", "0.0125");
  w.setFieldText("Text16", "4711");
  combo(w, "Combo7")->setCurrentIndex(1);
  EXPECT_TRUE(shown(w, "Text14"));
  EXPECT_TRUE(shown(w, "Text16"));
  combo(w, "Combo7")->setCurrentIndex(0);
  EXPECT_FALSE(shown(w, "Text14"));
  EXPECT_FALSE(shown(w, "Text16"));
  // Hidden, but still what the set gets.
  ASSERT_TRUE(w.gather());
  EXPECT_DOUBLE_EQ(w.session().params.FRACSD, 0.0125);
  EXPECT_DOUBLE_EQ(w.session().params.SEED, 4711.0);
  EXPECT_EQ(w.session().params.NOISE, 0);

  combo(w, "Combo5")->setCurrentIndex(1);  // RV
  EXPECT_TRUE(shown(w, "Text06"));
  EXPECT_TRUE(shown(w, "Text07"));
  EXPECT_TRUE(w.fieldLabel("Label06")->isVisibleTo(&w));
  combo(w, "Combo5")->setCurrentIndex(0);
  EXPECT_FALSE(shown(w, "Text06"));

  combo(w, "Combo6")->setCurrentIndex(1);  // detailed reflection
  EXPECT_TRUE(shown(w, "Text02"));
  combo(w, "Combo6")->setCurrentIndex(0);
  EXPECT_FALSE(shown(w, "Text02"));

  combo(w, "Combo1")->setCurrentIndex(0);  // time
  for (const char* c : {"Text10", "Text12", "Text17", "Text18", "Text19"}) EXPECT_TRUE(w.field(c)->isEnabled()) << c;
  for (const char* c : {"Text20", "Text21", "Text22"}) EXPECT_FALSE(w.field(c)->isEnabled()) << c;
  combo(w, "Combo1")->setCurrentIndex(1);
  for (const char* c : {"Text10", "Text12", "Text17", "Text18", "Text19"}) EXPECT_FALSE(w.field(c)->isEnabled()) << c;
  for (const char* c : {"Text20", "Text21", "Text22"}) EXPECT_TRUE(w.field(c)->isEnabled()) << c;
}

TEST(frmMainEditor, EditedFieldsTurnBlueUntilReset) {
  frmMain w;
  QSignalSpy resets(&w, &frmMain::coloursReset);
  type(w, "Text35", "400");
  combo(w, "Combo6")->setCurrentIndex(1);
  type(w, "Text4", "0.5");  // [M/H] is never marked
  EXPECT_TRUE(isBlue(w.field("Text35")));
  EXPECT_TRUE(isBlue(w.field("Combo6")));
  EXPECT_EQ(w.field("Combo6")->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
  EXPECT_FALSE(isBlue(w.field("Text4")));
  EXPECT_FALSE(isBlue(w.field("Text34")));

  w.resetColours();
  EXPECT_EQ(resets.count(), 1);
  const QColor normal = QApplication::palette(w.field("Text35")).color(QPalette::Text);
  for (const char* c : {"Text35", "Combo6", "Text4"}) {
    EXPECT_FALSE(isBlue(w.field(c))) << c;
    EXPECT_EQ(w.field(c)->palette().color(QPalette::Text), normal) << c;
  }
  EXPECT_EQ(w.fieldText("Text35"), "400");  // only the colour goes
}

TEST(frmMainEditor, RadConvPresetsSetValuesAndChecks) {
  frmMain w;
  combo(w, "Combo3")->setCurrentIndex(3);  // MODE 2: no ties
  w.action("Star1Conv")->trigger();
  w.action("Star1Rad")->trigger();
  EXPECT_EQ(w.fieldText("Text40"), "1.000");
  EXPECT_EQ(w.fieldText("Text44"), "1.000");
  EXPECT_TRUE(w.action("Star1Rad")->isChecked());
  EXPECT_FALSE(w.action("Star1Conv")->isChecked());
  EXPECT_EQ(w.fieldText("Text41"), "0.320");  // star 2 untouched in MODE 2
  // Choosing the checked item again keeps its mark.
  w.action("Star1Rad")->trigger();
  EXPECT_TRUE(w.action("Star1Rad")->isChecked());

  w.action("Star2Rad")->trigger();
  w.action("Star2Conv")->trigger();
  EXPECT_EQ(w.fieldText("Text41"), "0.320");
  EXPECT_EQ(w.fieldText("Text45"), "0.500");
  EXPECT_TRUE(w.action("Star2Conv")->isChecked());
  EXPECT_FALSE(w.action("Star2Rad")->isChecked());

  // In an overcontact mode the other star follows through the ties.
  combo(w, "Combo3")->setCurrentIndex(4);
  w.action("Star1Conv")->trigger();
  EXPECT_EQ(w.fieldText("Text41"), "0.320");
  w.action("Star1Rad")->trigger();
  EXPECT_EQ(w.fieldText("Text41"), "1.000");
  EXPECT_EQ(w.fieldText("Text45"), "1.000");
}

TEST(frmMainEditor, BandSetsItsWavelength) {
  frmMain w;
  QComboBox* band = combo(w, "Combo4");
  const char* expected[] = {"0.350", "0.410", "0.467", "0.547", "0.350", "0.440", "0.550", "0.700", "0.900",
                            "1.25",  "2.20",  "3.50",  "5.70",  "10.2",  "0.653", "0.789", "",      "",
                            "",      "",      "",      "",      "0.420", "0.530", ""};
  for (int i = 0; i < band->count(); ++i) {
    band->setCurrentIndex(i);
    EXPECT_EQ(w.fieldText("Text53").toStdString(), expected[i]) << band->currentText().toStdString();
  }
  EXPECT_TRUE(isBlue(band));
}

TEST(frmMainEditor, LabelClicksAskForTheirHelpTopic) {
  frmMain w;
  w.show();
  QSignalSpy topics(&w, &frmMain::parameterHelpRequested);
  const std::pair<const char*, int> cases[] = {{"Label01", 1},  {"Label10", 10} /* its field is disabled */,
                                               {"Label63", 63}, {"Label1", 64},
                                               {"Label4", 96},  {"Label5", 95}};
  for (const auto& [name, topic] : cases) {
    QLabel* l = w.fieldLabel(name);
    ASSERT_NE(l, nullptr) << name;
    if (!l->isVisible()) continue;  // Label1 lives in the DC group
    QTest::mouseClick(l, Qt::LeftButton);
    ASSERT_FALSE(topics.isEmpty()) << name;
    EXPECT_EQ(topics.takeLast().at(0).toInt(), topic) << name;
  }
  w.setProgramMode(tavrin::ProgramMode::DC);
  QTest::mouseClick(w.fieldLabel("Label1"), Qt::LeftButton);
  ASSERT_EQ(topics.count(), 1);
  EXPECT_EQ(topics.takeLast().at(0).toInt(), 64);
  QTest::mouseClick(w.fieldLabel("Label2"), Qt::LeftButton);
  EXPECT_EQ(topics.takeLast().at(0).toInt(), 65);
}

TEST(frmMainEditor, TabMovesThroughTheFieldsInReadingOrder) {
  frmMain w;
  auto next = [](QWidget* from) {
    QWidget* n = from->nextInFocusChain();
    while (n != from && !(n->focusPolicy() & Qt::TabFocus)) n = n->nextInFocusChain();
    return n;
  };
  EXPECT_EQ(next(w.field("Text42")), w.field("Text43"));
  EXPECT_EQ(next(w.field("Text43")), w.field("Text44"));
  EXPECT_EQ(next(w.field("Text46")), w.field("Text47"));
  EXPECT_EQ(next(w.field("Text47")), w.field("Text48"));
  EXPECT_EQ(next(w.field("Text34")), w.field("Text35"));
}
