#include "frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/help_text.h"

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle("About");
  const tavrin::AboutText& about = tavrin::aboutText();
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(24, 18, 24, 14);
  v->setSpacing(8);
  auto* name = new QLabel(QString::fromStdString(about.programName), this);
  name->setObjectName("Label1");
  QFont f = name->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.6);
  name->setFont(f);
  name->setAlignment(Qt::AlignHCenter);
  v->addWidget(name);
  auto* version = new QLabel(QString::fromStdString(about.version), this);
  version->setObjectName("Label2");
  version->setAlignment(Qt::AlignHCenter);
  v->addWidget(version);
  int k = 3;
  for (const std::string& note : about.notes) {
    auto* l = new QLabel(QString::fromStdString(note), this);
    l->setObjectName(QString("Label%1").arg(k++));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignHCenter);
    v->addWidget(l);
  }
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Command1");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::hide);
  v->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedWidth(420);
}
