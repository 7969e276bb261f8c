// A DC model built from nothing in the editor windows, saved through the file
// dialog and read back: the file holds exactly what was entered.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include "EditorWindows.h"
#include "editor_test_support.h"
#include "frmAdjust.h"
#include "frmDataFile.h"
#include "frmIO_all.h"
#include "frmIncrem.h"
#include "frmMiscParm.h"
#include "frmSpots.h"
#include "model/input_reader.h"
#include "model/observation_file.h"
#include "shell/app_state.h"

using namespace tavrin;

namespace {

const QString kExamples = QStringLiteral(TAVRIN_SOURCE_DIR "/examples");

class DcModelBuild : public EditorWindowTest {
 protected:
  QLineEdit* spotCell(frmSpots& w, int array, int row) {
    return w.findChild<QLineEdit*>(QString("Text%1_%2").arg(array).arg(row));
  }
  void chooseFile(frmDataFile& w, int row, const QString& name) {
    click(&w, qPrintable(QString("CommandF_%1").arg(row)));
    frmIO_all& d = main->fileDialog();
    d.setFolder(kExamples);
    d.setName(name);
    d.accept();
  }
  size_t pointsIn(const QString& name) {
    return readObservationFile((kExamples + "/" + name).toStdString()).size();
  }
};

}  // namespace

TEST_F(DcModelBuild, EnteredInWindowsSavedAndReadBack) {
  ASSERT_TRUE(QFile::exists(kExamples + "/example_rv1.csv"));
  // Main editor: a detached system, so the potentials pass the save checks.
  main->setFieldText("Combo3", "2: detached");
  main->setFieldText("Combo1", "1: JD");

  // Spots: one spot on each star, Spot A on star 1 and Spot B on star 2.
  main->action("Spots")->trigger();
  frmSpots& spots = spotsWindow(*main);
  spots.countCombo(1)->setCurrentIndex(1);
  spots.countCombo(2)->setCurrentIndex(1);
  const char* star1[4] = {"90", "45", "15", "0.9"};
  const char* star2[4] = {"60", "180", "20", "1.1"};
  for (int q = 0; q < 4; ++q) {
    type(spotCell(spots, q + 1, 1), star1[q]);
    type(spotCell(spots, q + 5, 1), star2[q]);
  }
  type(spots.spotField(0), "1");
  type(spots.spotField(1), "1");
  type(spots.spotField(2), "2");
  type(spots.spotField(3), "1");
  click(&spots, "Command1");
  ASSERT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();

  // Curves: two velocity files and two light files, each with its quantities.
  main->action("Data")->trigger();
  frmDataFile& data = dataFileWindow(*main);
  data.velocityCombo()->setCurrentIndex(2);
  data.lightCombo()->setCurrentIndex(2);
  chooseFile(data, 1, "example_rv1.csv");
  chooseFile(data, 2, "example_rv2.csv");
  chooseFile(data, 3, "example_light_B.csv");
  chooseFile(data, 4, "example_light_V.csv");
  ASSERT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  struct RowValues {
    const char *band, *l1, *l2, *x1, *x2, *y1, *y2, *sigma, *noise, *el3;
  };
  const RowValues rows[5] = {
      {},
      {"7", "1.2", "0.8", "0.6", "0.55", "0.2", "0.25", "2.5", "", ""},
      {"7", "1.1", "0.9", "0.5", "0.45", "0.1", "0.15", "3", "", ""},
      {"6", "7.5", "0.95", "0.7", "0.65", "0.3", "0.35", "0.02", "1", "0.05"},
      {"7", "8.25", "1.05", "0.62", "0.58", "0.27", "0.29", "0.015", "1", "0"},
  };
  for (int r = 1; r <= 4; ++r) {
    type(data.text(2, r), rows[r].band);
    type(data.text(15, r), rows[r].l1);
    type(data.text(22, r), rows[r].l2);
    type(data.text(29, r), rows[r].x1);
    type(data.text(36, r), rows[r].x2);
    type(data.text(43, r), rows[r].y1);
    type(data.text(50, r), rows[r].y2);
    type(data.text(57, r), rows[r].sigma);
    if (r >= 3) {
      type(data.text(64, r), rows[r].noise);
      type(data.text(69, r), rows[r].el3);
    }
  }
  EXPECT_EQ(data.text(8, 3)->text(), "0.440") << "band 6 gives its wavelength";
  click(&data, "Command8");
  ASSERT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();

  // Four adjusted keys: Spot A latitude, Spot B radius, semi-major axis, L1.
  main->action("Adjust")->trigger();
  frmAdjust& adjust = adjustWindow(*main);
  for (int k : {1, 7, 9, 31}) adjust.check(k)->setChecked(true);
  adjust.openIncrements();
  frmIncrem& incr = incremWindow(*main);
  type(incr.box(14), "-0.5");
  type(incr.box(7), "2.5");
  click(&incr, "Command1");
  click(&adjust, "Command1");
  ASSERT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  EXPECT_FALSE(adjust.isVisible());

  main->action("MiscParms")->trigger();
  frmMiscParm& misc = miscParmWindow(*main);
  type(misc.box(8), "0.00001");
  type(misc.box(11), "2");
  click(&misc, "Command1");

  // Save through the file dialog, as File > Save DCI does.
  QTemporaryDir out;
  frmIO_all& d = main->fileDialog();
  d.open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
  d.setFolder(out.path());
  d.setName("built.dci");
  d.accept();
  ASSERT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
  const std::string path = joinPath(out.path().toStdString(), "built.dci");
  ASSERT_TRUE(QFile::exists(QString::fromStdString(path)));

  const InputLoad back = readDci(path, ParameterSet{}, probeDci(path));
  const ParameterSet& p = back.params;
  EXPECT_EQ(p.MODE, 2);
  EXPECT_EQ(p.JDPHS, 1);

  ASSERT_EQ(p.spotCount[1], 1);
  ASSERT_EQ(p.spotCount[2], 1);
  for (int q = 0; q < 4; ++q) {
    const Spot& s1 = p.spots[1][1];
    const Spot& s2 = p.spots[2][1];
    const double got1[4] = {s1.xlat, s1.xlong, s1.radsp, s1.temsp};
    const double got2[4] = {s2.xlat, s2.xlong, s2.radsp, s2.temsp};
    const double scale = q < 3 ? DEG_PER_RAD : 1.0;
    EXPECT_NEAR(got1[q] * scale, std::stod(star1[q]), 1e-3) << q;
    EXPECT_NEAR(got2[q] * scale, std::stod(star2[q]), 1e-3) << q;
  }
  EXPECT_EQ(p.spotAStar, 1);
  EXPECT_EQ(p.spotANumber, 1);
  EXPECT_EQ(p.spotBStar, 2);
  EXPECT_EQ(p.spotBNumber, 1);

  std::string keys;
  for (int k = 1; k <= 35; ++k) keys += p.adjustKeys[static_cast<size_t>(k)];
  std::string expected(35, '1');
  for (int k : {1, 7, 9, 31}) expected[static_cast<size_t>(k - 1)] = '0';
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(p.adjustedParams, (std::vector<int16_t>{1, 7, 9, 31}));
  EXPECT_EQ(p.increments[14], -0.5);
  EXPECT_EQ(p.increments[7], 2.5);
  EXPECT_EQ(p.increments[1], 5.0);

  EXPECT_EQ(p.IFVC1, 1);
  EXPECT_EQ(p.IFVC2, 1);
  EXPECT_EQ(p.NLC, 2);
  const char* files[5] = {"", "example_rv1.csv", "example_rv2.csv", "example_light_B.csv", "example_light_V.csv"};
  for (int r = 1; r <= 4; ++r) {
    const CurveRow& c = p.curves[static_cast<size_t>(r)];
    SCOPED_TRACE(r);
    EXPECT_EQ(c.band, std::stoi(rows[r].band));
    EXPECT_DOUBLE_EQ(c.l1, std::stod(rows[r].l1));
    EXPECT_DOUBLE_EQ(c.l2, std::stod(rows[r].l2));
    EXPECT_DOUBLE_EQ(c.x1, std::stod(rows[r].x1));
    EXPECT_DOUBLE_EQ(c.x2, std::stod(rows[r].x2));
    EXPECT_DOUBLE_EQ(c.y1, std::stod(rows[r].y1));
    EXPECT_DOUBLE_EQ(c.y2, std::stod(rows[r].y2));
    EXPECT_DOUBLE_EQ(c.sigma, std::stod(rows[r].sigma));
    if (r >= 3) {
      EXPECT_EQ(c.noise, std::stoi(rows[r].noise));
      EXPECT_DOUBLE_EQ(c.el3, std::stod(rows[r].el3));
    }
    EXPECT_EQ(c.dataFile, files[r]);
    EXPECT_EQ(c.points.size(), pointsIn(files[r]));
    ASSERT_FALSE(c.points.empty());
    EXPECT_EQ(c.points.front().time, main->session().params.curves[static_cast<size_t>(r)].points.front().time);
  }
  EXPECT_DOUBLE_EQ(p.curves[3].wavel, 0.44);
  EXPECT_EQ(p.NPPL, 2);
  EXPECT_DOUBLE_EQ(p.XLAMDA, 0.00001);
}
