#pragma once
// The Critical Potentials window: inner and outer critical potentials of the
// current mass ratio and the fill factors of the two stars. It only shows
// texts; the main window computes them and refreshes it as the user types.
#include <QDialog>

class QLineEdit;

class frmCritPots : public QDialog {
  Q_OBJECT
 public:
  explicit frmCritPots(QWidget* parent = nullptr);

  void showFigures(const QString& inner, const QString& outer, const QString& fill1, const QString& fill2);

  QString inner() const;
  QString outer() const;
  QString fill1() const;
  QString fill2() const;

 private:
  QLineEdit* text1_;
  QLineEdit* text2_;
  QLineEdit* text3_;
  QLineEdit* text4_;
};
