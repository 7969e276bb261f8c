#pragma once
// A field label of the main window that opens the parameter's help when
// clicked; the cross-hair pointer marks it as clickable.
#include <QLabel>

class ParameterLabel : public QLabel {
  Q_OBJECT
 public:
  ParameterLabel(const QString& name, const QString& caption, int helpTopic, QWidget* parent = nullptr);
  int helpTopic() const { return topic_; }

 signals:
  void clicked(int topic);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  int topic_;
  bool pressed_ = false;
};
