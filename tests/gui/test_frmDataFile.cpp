#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include "EditorWindows.h"
#include "editor_test_support.h"
#include "frmDataFile.h"
#include "frmIO_all.h"
#include "frmMiscParm.h"

using namespace tavrin;

namespace {

class DataFileWindow : public EditorWindowTest {
 protected:
  frmDataFile& open() {
    main->action("Data")->trigger();
    auto* w = main->findChild<frmDataFile*>("frmDataFile");
    EXPECT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    return *w;
  }
  void writeFile(const QString& name, const QByteArray& text) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  // CommandF(row), then the file dialog's OK with a name in the temp folder.
  void loadRow(frmDataFile& w, int row, const QString& name) {
    click(&w, qPrintable(QString("CommandF_%1").arg(row)));
    frmIO_all& d = main->fileDialog();
    d.setFolder(dir.path());
    d.setName(name);
    d.accept();
  }
  QTemporaryDir dir;
};

}  // namespace

TEST_F(DataFileWindow, RowsFollowTheCombos) {
  frmDataFile& w = open();
  EXPECT_EQ(w.velocityCombo()->count(), 3);
  EXPECT_EQ(w.lightCombo()->count(), 6);
  for (int row = 1; row <= 7; ++row) EXPECT_FALSE(w.rowControl("Text2", row)->isVisible()) << row;
  w.velocityCombo()->setCurrentIndex(1);
  EXPECT_TRUE(w.rowControl("CommandF", 1)->isVisible());
  EXPECT_FALSE(w.rowControl("Text57", 2)->isVisible());
  w.lightCombo()->setCurrentIndex(2);
  for (const char* a : {"Text1", "Text2", "CommandF", "Text8", "Text15", "Text22", "Text29", "Text36", "Text43",
                        "Text50", "Text57", "Text64", "Text69"}) {
    EXPECT_TRUE(w.rowControl(a, 4)->isVisible()) << a;
    EXPECT_FALSE(w.rowControl(a, 5)->isVisible()) << a;
  }
  EXPECT_EQ(w.rowControl("Text64", 2), nullptr) << "no noise on velocity rows";
  EXPECT_EQ(w.findChild<QPushButton*>("Command1")->text(), "Find");
  EXPECT_EQ(w.findChild<QLabel*>("LabelFile_7")->text(), "File 7");
}

TEST_F(DataFileWindow, BandFillsWavelength) {
  frmDataFile& w = open();
  w.lightCombo()->setCurrentIndex(1);
  type(w.text(2, 3), "7");
  EXPECT_EQ(w.text(8, 3)->text(), "0.550");
  type(w.text(2, 3), "20");
  EXPECT_EQ(w.text(8, 3)->text(), "");
  type(w.text(2, 3), "15");
  EXPECT_EQ(w.text(8, 3)->text(), "0.653");
}

TEST_F(DataFileWindow, LimbDarkeningCoupledInModesOneAndThree) {
  main->setFieldText("Combo3", "3:overcon,adj T2");
  frmDataFile& w = open();
  w.velocityCombo()->setCurrentIndex(2);
  w.lightCombo()->setCurrentIndex(5);
  type(w.text(29, 1), "0.3");
  type(w.text(36, 4), "0.7");  // x2 typed first: x1 follows
  EXPECT_EQ(w.text(29, 4)->text(), "0.7");
  type(w.text(29, 3), "0.5");
  for (int row = 1; row <= 7; ++row) EXPECT_EQ(w.text(36, row)->text(), w.text(29, row)->text()) << row;
  EXPECT_EQ(w.text(36, 3)->text(), "0.5");
  EXPECT_EQ(w.text(36, 1)->text(), "0.3");
  type(w.text(50, 6), "0.25");
  EXPECT_EQ(w.text(43, 6)->text(), "0.25");

  main->setFieldText("Combo3", "2: detached");
  type(w.text(29, 3), "0.6");
  EXPECT_EQ(w.text(36, 3)->text(), "0.5");
  type(w.text(43, 7), "0.1");
  EXPECT_EQ(w.text(50, 7)->text(), "");
}

TEST_F(DataFileWindow, OkStoresRowsCountsAndSwitches) {
  frmDataFile& w = open();
  w.velocityCombo()->setCurrentIndex(2);
  w.lightCombo()->setCurrentIndex(1);
  type(w.text(1, 1), "");
  type(w.text(1, 2), "rv2.csv");
  type(w.text(2, 2), "7");
  type(w.text(15, 2), "1.5");
  type(w.text(57, 2), "2.5");
  type(w.text(2, 3), "6");
  type(w.text(22, 3), "0.9");
  type(w.text(64, 3), "1");
  type(w.text(69, 3), "0.05");
  type(w.text(8, 3), "abc");
  click(&w, "Command8");
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(params().velocityCurveCount, 2);
  EXPECT_EQ(params().IFVC1, 0);
  EXPECT_EQ(params().IFVC2, 1);
  EXPECT_EQ(params().NLC, 1);
  EXPECT_EQ(params().curves[2].dataFile, "rv2.csv");
  EXPECT_EQ(params().curves[2].band, 7);
  EXPECT_EQ(params().curves[2].wavel, 0.55);
  EXPECT_EQ(params().curves[2].l1, 1.5);
  EXPECT_EQ(params().curves[2].sigma, 2.5);
  EXPECT_EQ(params().curves[3].l2, 0.9);
  EXPECT_EQ(params().curves[3].noise, 1);
  EXPECT_EQ(params().curves[3].el3, 0.05);
  EXPECT_EQ(params().curves[3].wavel, 0.0) << "a non-number stores 0";

  // Reopening shows the stored values in their forms.
  open();
  EXPECT_EQ(w.text(8, 2)->text(), "   .5500");
  EXPECT_EQ(w.text(15, 2)->text(), "  1.500");
  EXPECT_EQ(w.text(69, 3)->text(), ".05");

  // Values typed take effect only at OK; an overflow stores nothing.
  type(w.text(64, 3), "70000");
  type(w.text(15, 2), "9");
  click(&w, "Command8");
  EXPECT_EQ(messages.back(), "Error 6: Overflow.");
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(params().curves[2].l1, 1.5);
  click(&w, "Command9");
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(params().curves[2].l1, 1.5);
}

TEST_F(DataFileWindow, LoadButtonReadsTheFileAtOnce) {
  writeFile("rv2.csv", "HJD, V, weight\r\n0.10, -20.5, 1\r\n0.20, 15.25, 0.5\r\n0.30, 40, 2\r\n");
  frmDataFile& w = open();
  w.velocityCombo()->setCurrentIndex(2);
  click(&w, "CommandF_2");
  frmIO_all& d = main->fileDialog();
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.op(), FileOp::LoadDcData);
  EXPECT_EQ(d.windowTitle(), "Load data from File 2 (RV)");
  d.setFolder(dir.path());
  d.setName("rv2.csv");
  d.accept();
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_EQ(w.text(1, 2)->text(), "rv2.csv");
  ASSERT_EQ(params().curves[2].points.size(), 3u);
  EXPECT_EQ(params().curves[2].points[1].value, 15.25);
  EXPECT_EQ(params().curves[2].points[1].weight, 0.5);
  EXPECT_EQ(params().IFVC2, 1);
  EXPECT_EQ(params().curves[2].dataFile, "rv2.csv") << "takes effect without OK";

  click(&w, "CommandF_5");
  EXPECT_EQ(d.windowTitle(), "Load data from File 5 (Phot)");
  d.hide();
}

TEST_F(DataFileWindow, LoadFailuresShowTheErrorText) {
  frmDataFile& w = open();
  w.lightCombo()->setCurrentIndex(1);
  loadRow(w, 3, "missing.csv");
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].startsWith("Error 53: File not found.\nFile: ")) << messages[0].toStdString();
  EXPECT_TRUE(messages[0].endsWith("missing.csv"));
  EXPECT_EQ(w.text(1, 3)->text(), "");

  // A curve index beyond 7.
  main->session().currentCurve = 8;
  main->fileDialog().open(FileOp::LoadDcData, "Load D data", {"*.csv"});
  main->fileDialog().setName("x.csv");
  main->fileDialog().accept();
  EXPECT_EQ(messages.back(), "Error 9: Subscript out of range.");
}

TEST_F(DataFileWindow, CancelAndEscapeHideBothWindows) {
  frmDataFile& w = open();
  w.velocityCombo()->setCurrentIndex(1);
  click(&w, "CommandF_1");
  EXPECT_TRUE(main->fileDialog().isVisible());
  QTest::keyClick(w.velocityCombo(), Qt::Key_Escape);
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(main->fileDialog().isVisible());
  EXPECT_EQ(params().velocityCurveCount, 0) << "Esc stores nothing";
  open();
  EXPECT_EQ(w.velocityCombo()->currentIndex(), 0);
}

TEST_F(DataFileWindow, MiscParametersShowStoreAndCancel) {
  main->action("MiscParms")->trigger();
  auto* w = main->findChild<frmMiscParm*>("frmMiscParm");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "Misc. Parms2");
  EXPECT_EQ(w->findChild<QLabel*>("Label1")->text(), "Miscellaneous Parameters");
  EXPECT_EQ(w->box(8)->text(), ".001");
  EXPECT_EQ(w->box(11)->text(), "1");
  type(w->box(5), "0");
  type(w->box(8), "0.01");
  type(w->box(11), "2.5");
  click(w, "Command1");
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(params().IFDER, 0);
  EXPECT_EQ(params().XLAMDA, 0.01);
  EXPECT_EQ(params().NPPL, 2);

  main->action("MiscParms")->trigger();
  EXPECT_EQ(w->box(8)->text(), ".01");
  type(w->box(10), "2");
  click(w, "Command2");
  EXPECT_EQ(params().KO, 0);

  main->action("MiscParms")->trigger();
  type(w->box(9), "40000");
  click(w, "Command1");
  EXPECT_EQ(messages.back(), "Error 6: Overflow.");
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(params().KDISK, 0);
}
