#include "frmSetOPfile.h"
#include "SingleWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmSetOPfile::frmSetOPfile(QWidget* parent) : QDialog(parent) {
  setObjectName("frmSetOPfile");
  setWindowTitle("Custom");
  setModal(false);
  auto* grid = new QGridLayout(this);
  auto label = [this](const char* name, const QString& text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    return l;
  };
  grid->addWidget(label("Label1", "Enter Output Filename"), 0, 0, 1, 2);
  grid->addWidget(label("Label2", "Default name:"), 1, 0);
  defaultLabel_ = label("Label3", "");
  defaultLabel_->setTextFormat(Qt::PlainText);
  grid->addWidget(defaultLabel_, 1, 1);
  QLabel* newName = label("Label4", "New name:");
  grid->addWidget(newName, 2, 0);
  text1_ = new QLineEdit(this);
  text1_->setObjectName("Text1");
  newName->setBuddy(text1_);
  text1_->setMinimumWidth(260);
  grid->addWidget(text1_, 2, 1);
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Command1");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Command2");
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 3, 0, 1, 2);
  connect(ok, &QPushButton::clicked, this, &frmSetOPfile::pressOk);
  connect(cancel, &QPushButton::clicked, this, &frmSetOPfile::pressCancel);
}

void frmSetOPfile::offer(const QString& defaultName) {
  defaultLabel_->setText(defaultName);
  text1_->setText(defaultName);
  show();
  raise();
  activateWindow();
  text1_->setFocus();
}

void frmSetOPfile::pressOk() {
  hide();
  if (onOk_) onOk_(text1_->text());
}

void frmSetOPfile::pressCancel() { hide(); }

frmSetOPfile& frmSetOPfile::of(QWidget& main) { return singleWindow<frmSetOPfile>(main); }
