#include "frmDataFile.h"
#include "ReportFailure.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "EditorWindows.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "model/curve_table.h"
#include "model/field_entry.h"
#include "model/number_fields.h"
#include "shell/errors.h"

using namespace tavrin;

namespace {

// Grid columns of the row controls, left to right.
enum Col { cLabel, cBand, cName, cLoad, cWavel, cL1, cL2, cX1, cX2, cY1, cY2, cEl3, cNoise, cSigma };

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

frmDataFile::frmDataFile(frmMain& main) : QDialog(&main), main_(main) {
  setObjectName("frmDataFile");
  setWindowTitle("Datafiles");

  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);

  auto label = [&](const char* name, const QString& text, int row, int col, int span = 1) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    grid->addWidget(l, row, col, 1, span);
    return l;
  };
  auto bold = [](QLabel* l) {
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
  };

  // Column heads.
  const std::pair<const char*, Col> heads[] = {{"band", cBand},  {"WaveL", cWavel}, {"L1", cL1},       {"L2", cL2},
                                               {"x1", cX1},      {"x2", cX2},       {"y1", cY1},       {"y2", cY2},
                                               {"EL 3", cEl3},   {"Noise", cNoise}, {"Sigma", cSigma}, {"Load or Unload", cLoad}};
  int n = 1;
  for (const auto& [text, col] : heads) {
    QLabel* l = label(qPrintable(QString("LabelHead%1").arg(n++)), text, 0, col);
    l->setAlignment(Qt::AlignCenter);
  }

  auto* velHead = new QHBoxLayout;
  QLabel* vh = new QLabel("Radial Velocity Files", this);
  vh->setObjectName("LabelRV");
  bold(vh);
  combo1_ = new QComboBox(this);
  combo1_->setObjectName("Combo1");
  vh->setBuddy(combo1_);
  velHead->addWidget(vh);
  velHead->addWidget(combo1_);
  velHead->addStretch();
  grid->addLayout(velHead, 1, cLabel, 1, cWavel);

  auto* phHead = new QHBoxLayout;
  QLabel* ph = new QLabel("Photometry Files", this);
  ph->setObjectName("LabelPhot");
  bold(ph);
  combo2_ = new QComboBox(this);
  combo2_->setObjectName("Combo2");
  ph->setBuddy(combo2_);
  phHead->addWidget(ph);
  phHead->addWidget(combo2_);
  phHead->addStretch();
  grid->addLayout(phHead, 4, cLabel, 1, cWavel);

  // The column heads sit above the rows: each box is named in full.
  auto edit = [&](int array, int row, int gridRow, int col, int width, const char* what) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString("Text%1_%2").arg(array).arg(row));
    e->setAccessibleName(QString("File %1: %2").arg(row).arg(what));
    e->setFixedWidth(width);
    grid->addWidget(e, gridRow, col);
    return e;
  };
  for (int row = 1; row <= kCurveRows; ++row) {
    const int g = row <= 2 ? row + 1 : row + 2;  // under the two headings
    Row& r = rows_[static_cast<size_t>(row)];
    r.label = new QLabel(QString("File %1").arg(row), this);
    r.label->setObjectName(QString("LabelFile_%1").arg(row));
    grid->addWidget(r.label, g, cLabel);
    r.band = edit(2, row, g, cBand, 36, "band");
    r.name = edit(1, row, g, cName, 150, "data file name");
    r.label->setBuddy(r.name);
    r.load = new QPushButton("Load", this);
    r.load->setObjectName(QString("CommandF_%1").arg(row));
    r.load->setAutoDefault(false);
    r.load->setAccessibleName(QString("Load or unload file %1").arg(row));
    grid->addWidget(r.load, g, cLoad);
    r.wavel = edit(8, row, g, cWavel, 64, "wavelength (WaveL)");
    r.l1 = edit(15, row, g, cL1, 64, "luminosity of star 1 (L1)");
    r.l2 = edit(22, row, g, cL2, 64, "luminosity of star 2 (L2)");
    r.x1 = edit(29, row, g, cX1, 56, "limb darkening x1");
    r.x2 = edit(36, row, g, cX2, 56, "limb darkening x2");
    r.y1 = edit(43, row, g, cY1, 56, "limb darkening y1");
    r.y2 = edit(50, row, g, cY2, 56, "limb darkening y2");
    if (isLightRow(row)) {
      r.el3 = edit(69, row, g, cEl3, 56, "third light (EL 3)");
      r.noise = edit(64, row, g, cNoise, 40, "noise");
    }
    r.sigma = edit(57, row, g, cSigma, 64, "sigma");

    connect(r.band, &QLineEdit::textChanged, this, [this, row] { onBandChanged(row); });
    connect(r.x1, &QLineEdit::textChanged, this, [this] { couple(29, 36); });
    connect(r.x2, &QLineEdit::textChanged, this, [this] { couple(36, 29); });
    connect(r.y1, &QLineEdit::textChanged, this, [this] { couple(43, 50); });
    connect(r.y2, &QLineEdit::textChanged, this, [this] { couple(50, 43); });
    connect(r.load, &QPushButton::clicked, this, [this, row] { pressLoad(row); });
  }
  outer->addLayout(grid);

  for (int i = 0; i <= 2; ++i) combo1_->addItem(QString::number(i));
  for (int i = 0; i <= 5; ++i) combo2_->addItem(QString::number(i));
  connect(combo1_, &QComboBox::currentIndexChanged, this, [this] { showRows(); });
  connect(combo2_, &QComboBox::currentIndexChanged, this, [this] { showRows(); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (auto [name, caption] : {std::pair{"Command1", "Find"}, std::pair{"Command8", "OK"}, std::pair{"Command9", "Cancel"}}) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  outer->addLayout(buttons);
  // Command1 "Find" has no action.
  connect(findChild<QPushButton*>("Command8"), &QPushButton::clicked, this, &frmDataFile::pressOk);
  connect(findChild<QPushButton*>("Command9"), &QPushButton::clicked, this, &frmDataFile::pressCancel);
}

QLineEdit* frmDataFile::text(int array, int row) const {
  return qobject_cast<QLineEdit*>(rowControl(QString("Text%1").arg(array), row));
}

QWidget* frmDataFile::rowControl(const QString& array, int row) const {
  if (row < 1 || row > kCurveRows) return nullptr;
  const Row& r = rows_[static_cast<size_t>(row)];
  if (array == "CommandF") return r.load;
  static const std::pair<const char*, QLineEdit* Row::*> kArrays[] = {
      {"Text1", &Row::name}, {"Text2", &Row::band}, {"Text8", &Row::wavel}, {"Text15", &Row::l1},
      {"Text22", &Row::l2},  {"Text29", &Row::x1},  {"Text36", &Row::x2},   {"Text43", &Row::y1},
      {"Text50", &Row::y2},  {"Text57", &Row::sigma}, {"Text64", &Row::noise}, {"Text69", &Row::el3}};
  for (const auto& [name, member] : kArrays)
    if (array == name) return r.*member;
  return nullptr;
}

void frmDataFile::showWindow() {
  const ParameterSet& p = main_.session().params;
  filling_ = true;
  combo1_->setCurrentIndex(std::clamp<int>(p.velocityCurveCount, 0, kVelocityRows));
  combo2_->setCurrentIndex(std::clamp<int>(p.NLC, 0, kLightRows));
  const auto fill = [&](int row) {
    const CurveRowTexts t = curveRowTexts(p.curves[static_cast<size_t>(row)], isLightRow(row));
    Row& r = rows_[static_cast<size_t>(row)];
    r.band->setText(qs(t.band));
    r.name->setText(qs(t.dataFile));
    r.wavel->setText(qs(t.wavel));
    r.l1->setText(qs(t.l1));
    r.l2->setText(qs(t.l2));
    r.x1->setText(qs(t.x1));
    r.x2->setText(qs(t.x2));
    r.y1->setText(qs(t.y1));
    r.y2->setText(qs(t.y2));
    r.sigma->setText(qs(t.sigma));
    if (r.noise) r.noise->setText(qs(t.noise));
    if (r.el3) r.el3->setText(qs(t.el3));
  };
  for (int row = 1; row <= combo1_->currentIndex(); ++row) fill(row);
  for (int row = 3; row < 3 + combo2_->currentIndex(); ++row) fill(row);
  filling_ = false;
  showRows();
  show();
  raise();
  activateWindow();
}

void frmDataFile::showRows() {
  const int nv = combo1_->currentIndex();
  const int nl = combo2_->currentIndex();
  for (int row = 1; row <= kCurveRows; ++row) {
    const bool shown = row <= 2 ? row <= nv : row - 2 <= nl;
    const Row& r = rows_[static_cast<size_t>(row)];
    for (QWidget* w : std::initializer_list<QWidget*>{r.label, r.band, r.name, r.load, r.wavel, r.l1, r.l2, r.x1, r.x2,
                                                      r.y1, r.y2, r.sigma, r.noise, r.el3})
      if (w) w->setVisible(shown);
  }
}

void frmDataFile::onBandChanged(int row) {
  if (filling_) return;
  Row& r = rows_[static_cast<size_t>(row)];
  const std::string band = r.band->text().toStdString();
  if (readRealEntry(band).fault == EntryFault::TooLarge) {
    // Refused as a save refuses it, once per text; the wavelength stays.
    if (r.band->text() != lastRefusedBand_) {
      lastRefusedBand_ = r.band->text();
      const QString who = QString("\"band\" (%1)").arg(r.band->objectName());
      main_.showMessage(qs(entryRefusal(EntryFault::TooLarge, who.toStdString(), band)));
    }
    return;
  }
  lastRefusedBand_.clear();
  r.wavel->setText(qs(wavelengthForBandText(band)));
}

int frmDataFile::currentMode() const {
  const QString t = main_.fieldText("Combo3");
  if (t.trimmed().isEmpty()) return main_.session().params.MODE;
  return static_cast<int>(leadingNumber(t.toStdString()));
}

void frmDataFile::couple(int fromArray, int toArray) {
  if (filling_ || coupling_ || !limbDarkeningCoupled(currentMode())) return;
  coupling_ = true;
  for (int row = 1; row <= kCurveRows; ++row) {
    QLineEdit* from = text(fromArray, row);
    QLineEdit* to = text(toArray, row);
    if (to->text() != from->text()) to->setText(from->text());
  }
  coupling_ = false;
}

void frmDataFile::pressLoad(int row) {
  main_.session().currentCurve = row;
  main_.fileDialog().open(FileOp::LoadDcData, qs(dataFileDialogCaption(row)), {"*.csv", "*.txt", "*.dat", "*.*"});
}

void frmDataFile::setRowFileName(int row, const QString& name) {
  if (row < 1 || row > kCurveRows) return;
  rows_[static_cast<size_t>(row)].name->setText(name);
}

void frmDataFile::pressOk() {
  DataFileEntry e;
  e.velocityCount = combo1_->currentIndex();
  e.lightCount = combo2_->currentIndex();
  for (int row = 1; row <= kCurveRows; ++row) {
    const Row& r = rows_[static_cast<size_t>(row)];
    CurveRowTexts& t = e.rows[static_cast<size_t>(row)];
    t.band = r.band->text().toStdString();
    t.dataFile = r.name->text().toStdString();
    t.wavel = r.wavel->text().toStdString();
    t.l1 = r.l1->text().toStdString();
    t.l2 = r.l2->text().toStdString();
    t.x1 = r.x1->text().toStdString();
    t.x2 = r.x2->text().toStdString();
    t.y1 = r.y1->text().toStdString();
    t.y2 = r.y2->text().toStdString();
    t.sigma = r.sigma->text().toStdString();
    if (r.noise) t.noise = r.noise->text().toStdString();
    if (r.el3) t.el3 = r.el3->text().toStdString();
  }
  if (!reportFailure(main_, [&] { applyDataFileEntry(main_.session().params, e); })) return;
  main_.session().editedSinceSave = true;  // the rows went into the set: Exit asks before losing them
  pressCancel();
}

void frmDataFile::pressCancel() {
  hide();
  main_.fileDialog().hide();
}

void frmDataFile::reject() { pressCancel(); }
