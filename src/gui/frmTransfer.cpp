#include "frmTransfer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmTransfer::frmTransfer(QWidget* parent) : QDialog(parent) {
  setObjectName("frmTransfer");
  setWindowTitle("Transfer");
  setModal(true);

  auto* label = new QLabel("Transfer DC luminosities and limb darkening coefficients to LC?", this);
  label->setObjectName("Label1");
  label->setWordWrap(true);

  auto* yes = new QPushButton("Yes", this);
  yes->setObjectName("Command1");
  auto* no = new QPushButton("No", this);
  no->setObjectName("Command2");
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Command3");
  yes->setDefault(true);

  connect(yes, &QPushButton::clicked, this, [this] { answerWith(Answer::Yes); });
  connect(no, &QPushButton::clicked, this, [this] { answerWith(Answer::No); });
  connect(cancel, &QPushButton::clicked, this, [this] { answerWith(Answer::Cancel); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(yes);
  buttons->addWidget(no);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  setMinimumWidth(360);
}

frmTransfer::Answer frmTransfer::ask() {
  answer_ = Answer::Cancel;  // also the answer when the window is closed
  exec();
  return answer_;
}

void frmTransfer::answerWith(Answer a) {
  answer_ = a;
  if (a == Answer::Cancel)
    reject();
  else
    accept();
}
