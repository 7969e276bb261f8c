#include "frmYrange.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "frmMain.h"
#include "model/number_fields.h"

frmYrange::frmYrange(frmMain& main, std::function<void()> applied, QWidget* parent)
    : QDialog(parent), main_(main), applied_(std::move(applied)) {
  setObjectName("frmYrange");
  setWindowTitle("Y Range");
  auto* grid = new QGridLayout(this);
  auto* l1 = new QLabel("Y maximum (Default: 1)", this);
  l1->setObjectName("Label1");
  max_ = new QLineEdit(this);
  max_->setObjectName("Text1");
  l1->setBuddy(max_);
  auto* l2 = new QLabel("Y minimum (Default: 0)", this);
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
  const auto& s = main_.session().plot;
  max_->setText(QString::fromStdString(tavrin::trimmedPlainText(s.yMax)));
  min_->setText(QString::fromStdString(tavrin::trimmedPlainText(s.yMin)));
  show();
  raise();
}

void frmYrange::accept() {
  const double top = tavrin::leadingNumber(max_->text().toStdString());
  const double bottom = tavrin::leadingNumber(min_->text().toStdString());
  if (!std::isfinite(top) || !std::isfinite(bottom) || top == bottom) {
    main_.showMessage("Y maximum and Y minimum must be different numbers.");
    return;
  }
  auto& s = main_.session().plot;
  s.yMax = top;
  s.yMin = bottom;
  hide();
  if (applied_) applied_();
}
