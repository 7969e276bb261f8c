#pragma once
// The increments window: DC's derivative increment of each adjustable
// quantity, stored on OK.
#include <QDialog>
#include <array>

class QLineEdit;
class frmMain;

class frmIncrem : public QDialog {
  Q_OBJECT
 public:
  explicit frmIncrem(frmMain& main);

  // Command3 of the adjustment window: boxes from the set, then show.
  void showWindow();
  void pressOk();
  void pressCancel();
  void pressDefault();

  QLineEdit* box(int k) const { return boxes_[static_cast<size_t>(k)]; }

 protected:
  void reject() override;

 private:
  frmMain& main_;
  std::array<QLineEdit*, 28> boxes_{};
};
