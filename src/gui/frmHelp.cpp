#include "frmHelp.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

frmHelp::frmHelp(QWidget* parent) : QDialog(parent) {
  setObjectName("frmHelp");
  setWindowTitle("Help");
  auto* outer = new QVBoxLayout(this);
  title_ = new QLabel("Help -", this);
  title_->setObjectName("Label0");
  QFont f = title_->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.25);
  title_->setFont(f);
  title_->setAccessibleName("Help page title");
  outer->addWidget(title_);

  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("HelpScroll");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  // Paragraphs wrap to the width; only vertical scrolling is ever needed.
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* body = new QWidget(scroll);
  column_ = new QVBoxLayout(body);
  column_->setSpacing(10);
  column_->addStretch(1);
  scroll->setWidget(body);
  outer->addWidget(scroll, 1);
  resize(600, 520);
}

QString frmHelp::title() const { return title_->text(); }

QLabel* frmHelp::paragraphLabel(int k) const {
  return k >= 0 && k < static_cast<int>(labels_.size()) ? labels_[static_cast<size_t>(k)] : nullptr;
}

void frmHelp::showPage(const QString& title, const QStringList& paragraphs) {
  for (QLabel* l : labels_) l->hide();
  title_->setText(title);
  setAccessibleDescription(title);
  while (labels_.size() < static_cast<size_t>(paragraphs.size())) {
    auto* l = new QLabel(column_->parentWidget());
    l->setObjectName(QString("Label1_%1").arg(labels_.size()));
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column_->insertWidget(static_cast<int>(labels_.size()), l);
    labels_.push_back(l);
  }
  for (int k = 0; k < paragraphs.size(); ++k) {
    labels_[static_cast<size_t>(k)]->setText(paragraphs[k]);
    labels_[static_cast<size_t>(k)]->show();
  }
  count_ = static_cast<int>(paragraphs.size());
  relayout();
  show();
  raise();
  activateWindow();
}

void frmHelp::relayout() {
  // The labels wrap to the body's width; a new page starts at the top.
  if (auto* scroll = findChild<QScrollArea*>("HelpScroll")) {
    scroll->widget()->adjustSize();
    scroll->verticalScrollBar()->setValue(0);
  }
}

void frmHelp::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  for (int k = 0; k < count_; ++k) labels_[static_cast<size_t>(k)]->updateGeometry();
}
