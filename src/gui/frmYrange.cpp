#include "frmYrange.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "frmMain.h"
#include "model/number_fields.h"

namespace {
frmYrange::Scale lightScale(frmMain& main) {
  frmYrange::Scale s;
  s.maxCaption = "Y maximum (Default: 1)";
  s.minCaption = "Y minimum (Default: 0)";
  s.get = [&main] {
    const auto& p = main.session().plot;
    return frmYrange::Range(std::make_pair(p.yMax, p.yMin));
  };
  s.set = [&main](frmYrange::Range r) {
    auto& p = main.session().plot;
    if (!r) return;
    p.yMax = r->first;
    p.yMin = r->second;
  };
  return s;
}
}  // namespace

frmYrange::frmYrange(frmMain& main, std::function<void()> applied, QWidget* parent)
    : frmYrange(main, lightScale(main), std::move(applied), parent) {}

frmYrange::frmYrange(frmMain& main, Scale scale, std::function<void()> applied, QWidget* parent)
    : QDialog(parent), main_(main), scale_(std::move(scale)), applied_(std::move(applied)) {
  setObjectName("frmYrange");
  setWindowTitle("Y Range");
  auto* grid = new QGridLayout(this);
  auto* l1 = new QLabel(scale_.maxCaption, this);
  l1->setObjectName("Label1");
  max_ = new QLineEdit(this);
  max_->setObjectName("Text1");
  l1->setBuddy(max_);
  auto* l2 = new QLabel(scale_.minCaption, this);
  l2->setObjectName("Label2");
  min_ = new QLineEdit(this);
  min_->setObjectName("Text2");
  l2->setBuddy(min_);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Command1");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Command2");
  grid->addWidget(l1, 0, 0);
  grid->addWidget(max_, 0, 1);
  grid->addWidget(l2, 1, 0);
  grid->addWidget(min_, 1, 1);
  grid->addWidget(ok, 2, 0);
  grid->addWidget(cancel, 2, 1);
  connect(ok, &QPushButton::clicked, this, &frmYrange::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

void frmYrange::showRange() {
  const Range r = scale_.get ? scale_.get() : Range();
  max_->setText(r ? QString::fromStdString(tavrin::trimmedPlainText(r->first)) : QString());
  min_->setText(r ? QString::fromStdString(tavrin::trimmedPlainText(r->second)) : QString());
  show();
  raise();
}

void frmYrange::accept() {
  Range r;
  if (!(scale_.automaticAllowed && max_->text().trimmed().isEmpty() && min_->text().trimmed().isEmpty())) {
    const double top = tavrin::leadingNumber(max_->text().toStdString());
    const double bottom = tavrin::leadingNumber(min_->text().toStdString());
    if (!std::isfinite(top) || !std::isfinite(bottom) || top == bottom) {
      main_.showMessage(scale_.automaticAllowed
                            ? "Y maximum and Y minimum must be different numbers, or both empty for the automatic scale."
                            : "Y maximum and Y minimum must be different numbers.");
      return;
    }
    r = std::make_pair(top, bottom);
  }
  if (scale_.set) scale_.set(r);
  hide();
  if (applied_) applied_();
}
