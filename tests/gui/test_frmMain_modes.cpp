// Switching between LC and DC on the main window: what is shown, the menus,
// the caption, red labels of adjusted parameters and the DC -> LC transfer.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "frmMain_test_support.h"
#include "frmTransfer.h"
#include "model/number_fields.h"

using namespace mwtest;

namespace {
QRadioButton* option(frmMain& w, const char* name) { return w.findChild<QRadioButton*>(name); }

const char* const kHiddenInDc[] = {"Combo5", "Combo4", "Combo7", "Text14", "Text16", "Text17", "Text18", "Text19",
                                   "Text20", "Text21", "Text22", "Text23", "Text53", "Text54", "Text55", "Text56",
                                   "Text57", "Text58", "Text59", "Text60", "Text61", "Text62", "Text63"};

// Answers the transfer question with the given button once it is on screen.
void answerTransfer(frmMain& w, const char* button) {
  whenShown([&w] { return static_cast<QWidget*>(w.findChild<frmTransfer*>("frmTransfer")); },
            [button](QWidget* dlg) { dlg->findChild<QPushButton*>(button)->click(); });
}

// A DCI with one light curve in band 7 (V) and one in band 5 (U).
void loadDcCurves(frmMain& w) {
  auto& p = w.session().params;
  p.NLC = 2;
  auto& c = p.curves[3];
  c.band = 7;
  c.l1 = 9.87654;
  c.l2 = 1.25;
  c.x1 = 0.6;
  c.x2 = 0.55;
  c.y1 = 0.25;
  c.y2 = 0.2;
  c.el3 = 0.05;
  auto& d = p.curves[4];
  d = c;
  d.band = 5;
  d.l1 = 4.5;
  w.session().app.dciName = "star.dci";
}
}  // namespace

TEST(frmMainModes, DcHidesTheLcFieldsAndKeepsTheirValues) {
  mwtest::MainWindow w;
  combo(w, "Combo7")->setCurrentIndex(1);  // NOISE on: FRACSD and SEED shown in LC
  w.setFieldText("Text54", "3.25");
  w.setFieldText("Text63", "1.5");
  std::map<QString, QString> before;
  for (const char* c : kHiddenInDc) before[c] = w.fieldText(c);

  option(w, "Option2")->click();
  EXPECT_EQ(w.session().mode, tavrin::ProgramMode::DC);
  for (const char* c : kHiddenInDc) EXPECT_FALSE(shown(w, c)) << c;
  for (const char* c : {"Text1", "Text2", "Text3", "Text46", "Text13"}) EXPECT_TRUE(shown(w, c)) << c;
  EXPECT_EQ(w.menu("RunMenu")->title(), "Run DC");
  // The limb-darkening rule keeps LC's y coefficients out of DC.
  type(w, "Text52", "0.18");
  EXPECT_TRUE(shown(w, "Text51"));
  EXPECT_FALSE(shown(w, "Text58"));
  EXPECT_FALSE(shown(w, "Text59"));
  // BAND, L1 and L2 go into the set on the way to DC.
  EXPECT_EQ(w.session().params.BAND, 6);
  EXPECT_DOUBLE_EQ(w.session().params.L1, 3.25);

  option(w, "Option1")->click();  // no DCI name: no question
  EXPECT_EQ(w.session().mode, tavrin::ProgramMode::LC);
  EXPECT_FALSE(w.session().transferDcValues);
  for (const char* c : kHiddenInDc) {
    EXPECT_TRUE(shown(w, c)) << c;
    EXPECT_EQ(w.fieldText(c), before[c]) << c;
  }
  EXPECT_FALSE(shown(w, "Text1"));
  EXPECT_EQ(w.menu("RunMenu")->title(), "Run LC");
}

TEST(frmMainModes, MenusFollowTheMode) {
  mwtest::MainWindow w;
  const char* dcMenus[] = {"Adjust", "Data", "MiscParms", "LoadtheDCO", "DisplayDCO"};
  for (const char* m : dcMenus) EXPECT_FALSE(w.action(m)->isEnabled()) << m;
  EXPECT_TRUE(w.action("Display")->isEnabled());
  w.setProgramMode(tavrin::ProgramMode::DC);
  EXPECT_TRUE(option(w, "Option2")->isChecked());
  for (const char* m : dcMenus) EXPECT_TRUE(w.action(m)->isEnabled()) << m;
  EXPECT_FALSE(w.action("Display")->isEnabled());
  EXPECT_FALSE(w.menu("Display")->menuAction()->isEnabled());
  for (const char* always : {"File", "RadConv", "critpotls", "Spots", "RunMenu", "Contour", "Help"})
    EXPECT_TRUE(w.action(always)->isEnabled()) << always;
}

TEST(frmMainModes, MenuTreeHasItsNamesAndCaptions) {
  mwtest::MainWindow w;
  const std::pair<const char*, const char*> items[] = {{"File", "&File"},
                                                       {"Save", "&Save File"},
                                                       {"LoadLCI", "Load LCI File ..."},
                                                       {"SaveLCI", "Save LCI File ..."},
                                                       {"LoadDCI", "Load DCI File ..."},
                                                       {"SaveDCI", "Save DCI File ..."},
                                                       {"Print", "&Print"},
                                                       {"Exit", "E&xit"},
                                                       {"RadConv", "Rad/Conv"},
                                                       {"Star1Rad", "Star1 Radiative"},
                                                       {"Star1Conv", "Star1 Convective"},
                                                       {"Star2Rad", "Star2 Radiative"},
                                                       {"Star2Conv", "Star2 Convective"},
                                                       {"critpotls", "Crit.Pot'ls"},
                                                       {"Adjust", "Adjust"},
                                                       {"Data", "Datafiles"},
                                                       {"Spots", "Spots"},
                                                       {"MiscParms", "Misc."},
                                                       {"RunStandard", "Standard"},
                                                       {"RunCustom", "Custom"},
                                                       {"Display", "Display LCO"},
                                                       {"Standard", "&Standard"},
                                                       {"Custom", "&Custom"},
                                                       {"LoadtheDCO", "Load DCO"},
                                                       {"StandardDCO", "Standard"},
                                                       {"CustomDCO", "Custom"},
                                                       {"DisplayDCO", "Display DCO"},
                                                       {"correlations", "Correlations"},
                                                       {"Corrections", "Corrections to Parameters"},
                                                       {"revert", "Revert to Previous Parms"},
                                                       {"Contour", "Contours"},
                                                       {"Help", "&Help"},
                                                       {"HelpIntro", "Intro"},
                                                       {"HelpModes", "Modes"},
                                                       {"HelpLCIfiles", "Edit LCI files"},
                                                       {"HelpDCIfiles", "Edit DCI Files"},
                                                       {"HelpRunLCDC", "Run LC/DC Win"},
                                                       {"HelpDisplayLCO", "Display LCO"},
                                                       {"HelpLoadDCO", "Load DCO"},
                                                       {"HelpDisplayDCO", "Display DCO"},
                                                       {"HelpReferences", "References"},
                                                       {"About", "&About"}};
  for (const auto& [name, caption] : items) {
    QAction* a = w.action(name);
    ASSERT_NE(a, nullptr) << name;
    EXPECT_EQ(a->text().toStdString(), caption) << name;
  }
  for (const char* sep : {"dashy2", "sep", "dashy", "Hsep"}) {
    ASSERT_NE(w.action(sep), nullptr) << sep;
    EXPECT_TRUE(w.action(sep)->isSeparator()) << sep;
  }
  for (const char* m : {"File", "RadConv", "RunMenu", "Display", "LoadtheDCO", "DisplayDCO", "Help"})
    EXPECT_NE(w.menu(m), nullptr) << m;
  // The run menu names its program.
  EXPECT_EQ(w.action("RunMenu")->text(), "Run LC");
}

TEST(frmMainModes, AdjustedLabelsAreRedOnlyInDcMode) {
  mwtest::MainWindow w;
  w.session().params.adjustKeys[9] = '0';   // A
  w.session().params.adjustKeys[23] = '0';  // POTH
  const QColor red(255, 0, 0);
  auto colour = [&](const char* l) { return w.fieldLabel(l)->palette().color(QPalette::WindowText); };
  w.colourLabels();
  EXPECT_NE(colour("Label35"), red);

  option(w, "Option2")->click();
  EXPECT_EQ(colour("Label35"), red);
  EXPECT_EQ(colour("Label46"), red);
  EXPECT_NE(colour("Label34"), red);  // E is not adjusted
  EXPECT_NE(colour("Label47"), red);

  w.session().params.adjustKeys[9] = '1';
  w.colourLabels();
  EXPECT_NE(colour("Label35"), red);

  option(w, "Option1")->click();
  EXPECT_NE(colour("Label46"), red);
}

TEST(frmMainModes, CaptionFollowsTheModeAndItsFileName) {
  mwtest::MainWindow w;
  w.session().app.dciName = "star.dci";
  w.updateCaption();
  EXPECT_EQ(w.windowTitle(), "Tavrin");  // LC mode: only the LCI name counts
  w.setProgramMode(tavrin::ProgramMode::DC);
  EXPECT_EQ(w.windowTitle(), "Tavrin - star.dci");
  w.session().app.lciName = "star.lci";
  w.session().app.dciName.clear();
  w.setProgramMode(tavrin::ProgramMode::LC);
  EXPECT_EQ(w.windowTitle(), "Tavrin - star.lci");
}

TEST(frmMainModes, TransferYesShowsTheFirstDcLightCurve) {
  mwtest::MainWindow w;
  loadDcCurves(w);
  w.setProgramMode(tavrin::ProgramMode::DC);
  answerTransfer(w, "Command1");
  option(w, "Option1")->click();
  EXPECT_EQ(w.session().mode, tavrin::ProgramMode::LC);
  EXPECT_TRUE(w.session().transferDcValues);
  EXPECT_FALSE(w.findChild<frmTransfer*>("frmTransfer")->isVisible());
  EXPECT_EQ(combo(w, "Combo4")->currentIndex(), 6);
  EXPECT_EQ(w.fieldText("Text53"), "0.550");
  EXPECT_EQ(w.fieldText("Text54"), "9.87654");  // every digit DC gave, so the LC file carries it
  EXPECT_EQ(w.fieldText("Text55"), "     1.250");
  EXPECT_EQ(w.fieldText("Text56"), "   .600");
  EXPECT_EQ(w.fieldText("Text57"), "   .550");
  EXPECT_EQ(w.fieldText("Text58"), "   .250");
  EXPECT_EQ(w.fieldText("Text59"), ".200");
  EXPECT_EQ(w.fieldText("Text60"), "   .0500");
  EXPECT_FALSE(shown(w, "Text14"));
  EXPECT_FALSE(shown(w, "Text16"));

  // With the transfer accepted, choosing a band takes that DC curve's values.
  combo(w, "Combo4")->setCurrentIndex(4);  // "5: U"
  EXPECT_EQ(w.fieldText("Text53"), "0.350");
  EXPECT_EQ(w.fieldText("Text54"), "     4.500");
  combo(w, "Combo4")->setCurrentIndex(7);  // no DC curve in R: nothing else changes
  EXPECT_EQ(w.fieldText("Text53"), "0.700");
  EXPECT_EQ(w.fieldText("Text54"), "     4.500");
}

TEST(frmMainModes, TransferNoAndCancel) {
  mwtest::MainWindow w;
  loadDcCurves(w);
  w.setFieldText("Text54", "7.84139");
  w.setProgramMode(tavrin::ProgramMode::DC);

  answerTransfer(w, "Command3");  // Cancel: still DC
  option(w, "Option1")->click();
  EXPECT_EQ(w.session().mode, tavrin::ProgramMode::DC);
  EXPECT_TRUE(option(w, "Option2")->isChecked());
  EXPECT_FALSE(option(w, "Option1")->isChecked());
  EXPECT_EQ(w.windowTitle(), "Tavrin - star.dci");

  answerTransfer(w, "Command2");  // No: LC without the DC values
  option(w, "Option1")->click();
  EXPECT_EQ(w.session().mode, tavrin::ProgramMode::LC);
  EXPECT_FALSE(w.session().transferDcValues);
  EXPECT_EQ(w.fieldText("Text54"), "7.84139");
  combo(w, "Combo4")->setCurrentIndex(6);
  EXPECT_EQ(w.fieldText("Text54"), "7.84139");
}

TEST(frmMainModes, TransferWindowTexts) {
  mwtest::MainWindow w;
  frmTransfer& t = w.transferWindow();
  EXPECT_EQ(t.findChild<QLabel*>("Label1")->text(), "Transfer DC luminosities and limb darkening coefficients to LC?");
  EXPECT_EQ(t.findChild<QPushButton*>("Command1")->text(), "Yes");
  EXPECT_EQ(t.findChild<QPushButton*>("Command2")->text(), "No");
  EXPECT_EQ(t.findChild<QPushButton*>("Command3")->text(), "Cancel");
  EXPECT_TRUE(t.isModal());
}
