#pragma once
// "Y Range": the vertical scale of the light-curve plot (value at the top and
// at the bottom of the frame).
#include <QDialog>
#include <functional>

class QLineEdit;
class frmMain;

class frmYrange : public QDialog {
  Q_OBJECT
 public:
  // applied runs after OK has stored a new range.
  frmYrange(frmMain& main, std::function<void()> applied, QWidget* parent = nullptr);
  // Fills the boxes from the plot state and shows the window.
  void showRange();
  void accept() override;  // OK (Command1)

 private:
  frmMain& main_;
  std::function<void()> applied_;
  QLineEdit* max_;
  QLineEdit* min_;
};
