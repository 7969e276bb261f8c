#pragma once
// Correlations: the correlation matrix of DC's unknowns, with their labels
// along both edges; it scrolls when DC solved for many.
#include <QDialog>
#include <vector>

#include "output/corrections.h"

class QLabel;
class QLineEdit;
class QScrollArea;

class frmCorrel : public QDialog {
  Q_OBJECT
 public:
  explicit frmCorrel(QWidget* parent = nullptr);

  void fill(const tavrin::CorrelView& view);
  int size() const { return static_cast<int>(label1_.size()); }
  // Element `row` of the text box array of column `column` (both 1..size()).
  QLineEdit* cell(int column, int row) const;
  QLabel* label1(int i) const;
  QLabel* label2(int i) const;
  QLabel* note() const { return note_; }

  static frmCorrel& of(QWidget& main);

 private:
  void build(int n);

  QScrollArea* scroll_ = nullptr;
  QLabel* note_ = nullptr;
  std::vector<std::vector<QLineEdit*>> cells_;  // [column][row], 0-based
  std::vector<QLabel*> label1_, label2_;
};
