#pragma once
// Correlations: the correlation matrix of the adjusted parameters, 10 by 10,
// with the parameter labels along both edges.
#include <QDialog>
#include <array>

#include "output/corrections.h"

class QLabel;
class QLineEdit;

class frmCorrel : public QDialog {
  Q_OBJECT
 public:
  explicit frmCorrel(QWidget* parent = nullptr);

  void fill(const tavrin::CorrelView& view);
  // Element `row` of the text box array of column `column` (both 1..10).
  QLineEdit* cell(int column, int row) const;
  QLabel* label1(int i) const;
  QLabel* label2(int i) const;

  static frmCorrel& of(QWidget& main);

 private:
  std::array<std::array<QLineEdit*, 11>, 11> cells_{};  // [column][row]
  std::array<QLabel*, 11> label1_{}, label2_{};
};
