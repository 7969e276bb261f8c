#pragma once
// The miscellaneous DC parameters: print switches, the scratch-pad flags,
// points per line and the Marquardt lambda.
#include <QDialog>
#include <array>

class QLineEdit;
class frmMain;

class frmMiscParm : public QDialog {
  Q_OBJECT
 public:
  explicit frmMiscParm(frmMain& main);

  void showWindow();
  void pressOk();
  void pressCancel();
  QLineEdit* box(int control) const;  // Text5..Text11

 protected:
  void reject() override;

 private:
  frmMain& main_;
  std::array<QLineEdit*, 7> boxes_{};
};
