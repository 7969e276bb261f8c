#include "frmCritPots.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit* figureBox(const char* name, QWidget* parent) {
  auto* t = new QLineEdit(parent);
  t->setObjectName(name);
  t->setReadOnly(true);
  t->setAlignment(Qt::AlignRight);
  t->setMaximumWidth(110);
  return t;
}

QLabel* caption(const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  return l;
}
}  // namespace

frmCritPots::frmCritPots(QWidget* parent) : QDialog(parent) {
  setObjectName("frmCritPots");
  setWindowTitle("Critical Potentials");
  setModal(false);

  auto* title = caption("Critical Potentials", this);
  QFont f = title->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.2);
  title->setFont(f);

  text1_ = figureBox("Text1", this);
  text2_ = figureBox("Text2", this);
  text3_ = figureBox("Text3", this);
  text4_ = figureBox("Text4", this);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  auto* innerLabel = caption("Omega i (inner)", this);
  auto* outerLabel = caption("Omega o (outer)", this);
  innerLabel->setBuddy(text1_);
  outerLabel->setBuddy(text2_);
  grid->addWidget(innerLabel, 0, 0);
  grid->addWidget(text1_, 0, 1);
  grid->addWidget(outerLabel, 1, 0);
  grid->addWidget(text2_, 1, 1);

  auto* fillTitle = caption("Fill factor*", this);
  auto* star1 = caption("Star 1", this);
  auto* star2 = caption("Star 2", this);
  star1->setBuddy(text3_);
  star2->setBuddy(text4_);
  grid->addWidget(fillTitle, 2, 0, 1, 2);
  grid->addWidget(star1, 3, 0);
  grid->addWidget(text3_, 3, 1);
  grid->addWidget(star2, 4, 0);
  grid->addWidget(text4_, 4, 1);

  auto* note1 = caption("*based on Potentials entered on main sheet", this);
  auto* note2 = caption("These are a function of the mass ratio  M2/M1 on main sheet", this);
  auto* note3 = caption("and are only given for F1 = F2  =  1.00 (synchronous rotation.)", this);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Command1");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QWidget::hide);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addLayout(grid);
  layout->addSpacing(6);
  layout->addWidget(note1);
  layout->addWidget(note2);
  layout->addWidget(note3);
  layout->addLayout(buttons);
}

void frmCritPots::showFigures(const QString& inner, const QString& outer, const QString& fill1,
                              const QString& fill2) {
  text1_->setText(inner);
  text2_->setText(outer);
  text3_->setText(fill1);
  text4_->setText(fill2);
}

QString frmCritPots::inner() const { return text1_->text(); }
QString frmCritPots::outer() const { return text2_->text(); }
QString frmCritPots::fill1() const { return text3_->text(); }
QString frmCritPots::fill2() const { return text4_->text(); }
