#include "frmMessage.h"
#include "SingleWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmMessage::frmMessage(QWidget* parent) : QDialog(parent) {
  setObjectName("frmMessage");
  setWindowTitle("Tavrin");
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  title_ = new QLabel("Error!", this);
  title_->setObjectName("Label1");
  QFont f = title_->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.3);
  title_->setFont(f);
  title_->setAlignment(Qt::AlignCenter);
  layout->addWidget(title_);
  for (int i = 0; i < 3; ++i) {
    lines_[i] = new QLabel(this);
    lines_[i]->setObjectName(QString("Label%1").arg(i + 2));
    lines_[i]->setWordWrap(true);
    lines_[i]->setTextFormat(Qt::PlainText);
    lines_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lines_[i]);
  }
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("Command1");
  ok_->setDefault(true);
  layout->addWidget(ok_, 0, Qt::AlignHCenter);
  connect(ok_, &QPushButton::clicked, this, &QDialog::hide);
  setMinimumWidth(420);
}

void frmMessage::showMessage(const QString& line2, const QString& line3, const QString& line4) {
  const QString texts[3] = {line2, line3, line4};
  for (int i = 0; i < 3; ++i) {
    lines_[i]->setText(texts[i]);
    lines_[i]->setVisible(!texts[i].isEmpty());
  }
  show();
  raise();
  activateWindow();
}

QString frmMessage::messageText() const { return lines_[0]->text(); }

frmMessage& frmMessage::of(QWidget& main) { return singleWindow<frmMessage>(main); }
