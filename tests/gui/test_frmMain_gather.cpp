// Copying the window into the parameter set and showing the set in the
// window: number entry, refusals of values that do not fit, drop-down values.
#include <gtest/gtest.h>

#include "frmMain_test_support.h"

using namespace mwtest;

TEST(frmMainGather, TakesEveryField) {
  frmMain w;
  w.setFieldText("Text42", "5800");
  w.setFieldText("Text43", " 4321.5 ");
  w.setFieldText("Text28", "2.5");  // halves go to the even neighbour
  w.setFieldText("Text29", "3.5");
  w.setFieldText("Text25", "  ");  // blank: 0
  w.setFieldText("Text12", "0.334425e-09");
  w.setFieldText("Text4", "-0.25");
  w.setFieldText("Text1", "1");
  combo(w, "Combo3")->setCurrentIndex(0);  // MODE -1
  combo(w, "Combo7")->setCurrentIndex(1);  // NOISE 1
  combo(w, "Combo4")->setCurrentIndex(9);  // BAND 10
  ASSERT_TRUE(w.gather());
  const auto& p = w.session().params;
  EXPECT_DOUBLE_EQ(p.T1, 5800.0);  // kelvin in the window and in the set
  EXPECT_DOUBLE_EQ(p.T2, 4321.5);
  EXPECT_EQ(p.N1, 2);
  EXPECT_EQ(p.N2, 4);
  EXPECT_EQ(p.IPB, 0);
  EXPECT_DOUBLE_EQ(p.DPDT, 0.334425e-09);
  EXPECT_DOUBLE_EQ(p.MH, -0.25);
  EXPECT_EQ(p.ISYM, 1);
  EXPECT_EQ(p.MODE, -1);
  EXPECT_EQ(p.NOISE, 1);
  EXPECT_EQ(p.BAND, 10);
  EXPECT_DOUBLE_EQ(p.WAVEL, 1.25);
  EXPECT_EQ(p.MPAGE, 1);
  EXPECT_EQ(p.JDPHS, 2);
  EXPECT_EQ(p.LD, 2);
}

TEST(frmMainGather, RefusesAnIntegerOutside16BitsAndChangesNothing) {
  frmMain w;
  MessageCatcher messages;
  w.setFieldText("Text35", "400");
  w.setFieldText("Text28", "40000");
  const tavrin::ParameterSet before = w.session().params;
  EXPECT_FALSE(w.gather());
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].contains("N1")) << messages.messages[0].toStdString();
  EXPECT_TRUE(messages.messages[0].contains("Text28"));
  EXPECT_TRUE(messages.messages[0].contains("40000"));
  EXPECT_DOUBLE_EQ(w.session().params.A, before.A);  // fields before the bad one are not taken either
  EXPECT_EQ(w.session().params.N1, before.N1);

  w.setFieldText("Text28", "-32769");
  EXPECT_FALSE(w.gather());
  w.setFieldText("Text28", "-32768");
  EXPECT_TRUE(w.gather());
  EXPECT_EQ(w.session().params.N1, -32768);
  EXPECT_DOUBLE_EQ(w.session().params.A, 400.0);
  w.setFieldText("Text28", "32767.5");  // rounds to 32768: too large
  EXPECT_FALSE(w.gather());
  EXPECT_EQ(messages.messages.size(), 3);
}

TEST(frmMainGather, RefusesARealTooLargeToWrite) {
  frmMain w;
  MessageCatcher messages;
  w.setFieldText("Text35", "1e400");
  EXPECT_FALSE(w.gather());
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(messages.messages[0].contains("Text35"));
  EXPECT_TRUE(messages.messages[0].contains("s.m. axis"));
  w.setFieldText("Text35", "2e300");
  EXPECT_FALSE(w.gather());
  w.setFieldText("Text35", "-1e300");
  EXPECT_TRUE(w.gather());
  EXPECT_DOUBLE_EQ(w.session().params.A, -1e300);
}

TEST(frmMainGather, ShowParametersRoundTrips) {
  frmMain w;
  auto& p = w.session().params;
  p.MODE = 1;
  p.MPAGE = 2;
  p.MREF = 2;
  p.NREF = 3;
  p.LD = 1;
  p.NOISE = 1;
  p.BAND = 8;
  p.WAVEL = 0.7123;
  p.T1 = 6543.21;
  p.T2 = 4999.0;  // different although MODE 1 ties them when typed
  p.POTH = 3.456789012345;
  p.POT2 = 3.5;
  p.DPERDT = 0.78963e-12;
  p.SEED = 123456789.0;
  p.N1L = 17;
  const tavrin::ParameterSet shownSet = p;
  w.showParameters();
  EXPECT_EQ(w.fieldText("Combo3"), "1:overcon,T1=T2");
  EXPECT_EQ(w.fieldText("Text42"), "6543.21");
  EXPECT_EQ(w.fieldText("Text43"), "4999");
  EXPECT_EQ(w.fieldText("Text46"), "3.456789012345");
  EXPECT_EQ(w.fieldText("Text31"), "7.8963E-13");
  EXPECT_EQ(w.fieldText("Text53"), ".7123");  // not the band's table value
  EXPECT_TRUE(shown(w, "Text06"));
  EXPECT_TRUE(shown(w, "Text02"));
  EXPECT_TRUE(shown(w, "Text14"));
  EXPECT_FALSE(shown(w, "Text51"));
  ASSERT_TRUE(w.gather());
  for (const auto& f : tavrin::scalarFields())
    EXPECT_DOUBLE_EQ(*tavrin::getScalar(p, f.name), *tavrin::getScalar(shownSet, f.name)) << f.name;
}

TEST(frmMainGather, DisplayTextsSetFieldsAndDropDownsAsGiven) {
  frmMain w;  // MODE 3: the potentials would tie if typed
  w.applyDisplayTexts({{"Combo3", "-1"},
                       {"Combo2", "1:linear"},
                       {"Combo4", "8"},
                       {"Text53", " .7000"},
                       {"Text46", " 6.1624"},
                       {"Text47", " 9.0092"},
                       {"Combo6", "7"},  // not in the list: selection kept
                       {"NoSuchControl", "1"}});
  EXPECT_EQ(combo(w, "Combo3")->currentIndex(), 0);
  EXPECT_EQ(combo(w, "Combo2")->currentIndex(), 0);
  EXPECT_EQ(combo(w, "Combo4")->currentIndex(), 7);
  EXPECT_EQ(combo(w, "Combo6")->currentIndex(), 0);
  EXPECT_EQ(w.fieldText("Text53"), " .7000");
  EXPECT_EQ(w.fieldText("Text46"), " 6.1624");
  EXPECT_EQ(w.fieldText("Text47"), " 9.0092");
  EXPECT_TRUE(shown(w, "Text32"));
  EXPECT_FALSE(shown(w, "Text58"));
  w.applyDisplayTexts({{"Combo3", "3:overcon,adj T2"}});
  EXPECT_EQ(combo(w, "Combo3")->currentIndex(), 4);
  EXPECT_FALSE(shown(w, "Text32"));

  // setFieldText on a drop-down takes the value as well.
  w.setFieldText("Combo7", "1");
  EXPECT_EQ(w.fieldText("Combo7"), "1:yes");
}
