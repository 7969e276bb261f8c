#pragma once
// I/O Parms: DC's input value, correction, output value and standard
// deviation of each unknown, with an Update button per row.
#include <QDialog>
#include <array>
#include <functional>
#include <vector>

#include "output/corrections.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QGridLayout;
class QScrollArea;

class frmIOparms : public QDialog {
  Q_OBJECT
 public:
  explicit frmIOparms(QWidget* parent = nullptr);

  // Shows the texts of a view (caption, one row per unknown, sums).
  void fill(const tavrin::IoParmsView& view);
  void setButtonCaption(int row, const QString& caption);
  // Command1(i) pressed (i = 1..rows).
  void setUpdateHandler(std::function<void(int row)> handler) { onUpdate_ = std::move(handler); }
  void pressUpdate(int row);
  // UpdateAll pressed: every row's correction at once.
  void setUpdateAllHandler(std::function<void()> handler) { onUpdateAll_ = std::move(handler); }
  QPushButton* updateAllButton() const { return updateAll_; }

  int rowCount() const { return static_cast<int>(rows_.size()); }
  QLineEdit* box(int column, int row) const;  // Text1..Text6, rows 1..rowCount()
  QPushButton* button(int row) const;
  QLabel* rowLabel(int row) const;

  static frmIOparms& of(QWidget& main);

 private:
  struct Row {
    QLabel* label = nullptr;
    std::array<QLineEdit*, 7> boxes{};  // [1..6]
    QPushButton* button = nullptr;
  };
  void buildRows(int count);

  QScrollArea* scroll_ = nullptr;
  QWidget* table_ = nullptr;
  std::vector<Row> rows_;  // [0] is row 1
  QLabel* failure_ = nullptr;
  QLineEdit* text9_ = nullptr;
  QLineEdit* text10_ = nullptr;
  QPushButton* updateAll_ = nullptr;
  std::function<void(int)> onUpdate_;
  std::function<void()> onUpdateAll_;
};

