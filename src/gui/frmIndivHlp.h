#pragma once
// The one-topic help window: the lines of a parameter's help, one below the
// other, in a window exactly as high as the lines need.
#include <QDialog>
#include <QStringList>

class frmIndivHlp : public QDialog {
  Q_OBJECT
 public:
  explicit frmIndivHlp(QWidget* parent = nullptr);

  // Shows the window with these lines; height = lines * lineHeight() + kMargin.
  void showLines(const QStringList& lines);
  const QStringList& lines() const { return lines_; }
  int lineHeight() const;
  static constexpr int kMargin = 20;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QStringList lines_;
};
