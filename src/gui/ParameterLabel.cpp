#include "ParameterLabel.h"

#include <QMouseEvent>

ParameterLabel::ParameterLabel(const QString& name, const QString& caption, int helpTopic, QWidget* parent)
    : QLabel(caption, parent), topic_(helpTopic) {
  setObjectName(name);
  setCursor(Qt::CrossCursor);
}

void ParameterLabel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) pressed_ = true;
  QLabel::mousePressEvent(e);
}

void ParameterLabel::mouseReleaseEvent(QMouseEvent* e) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  QLabel::mouseReleaseEvent(e);
  if (wasPressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked(topic_);
}
