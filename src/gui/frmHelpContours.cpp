#include "frmHelpContours.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include "shell/help_text.h"

QStringList frmHelpContours::paragraphs() {
  QStringList out;
  for (const std::string& p : tavrin::contourHelpPage().paragraphs) out << QString::fromStdString(p);
  return out;
}

frmHelpContours::frmHelpContours(QWidget* parent) : QDialog(parent) {
  setObjectName("frmHelpContours");
  setWindowTitle("Help");
  auto* outer = new QVBoxLayout(this);
  auto* title = new QLabel("Help - Contours");
  title->setObjectName("Label0");
  QFont f = title->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.2);
  title->setFont(f);
  outer->addWidget(title);
  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(true);
  auto* body = new QWidget;
  auto* col = new QVBoxLayout(body);
  const QStringList paras = paragraphs();
  for (int k = 0; k < paras.size(); ++k) {
    auto* l = new QLabel(paras[k]);
    l->setObjectName(QString("Label1_%1").arg(k));
    l->setWordWrap(true);
    col->addWidget(l);
  }
  col->addStretch(1);
  scroll->setWidget(body);
  outer->addWidget(scroll);
  resize(560, 520);
}
