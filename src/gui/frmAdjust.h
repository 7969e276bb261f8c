#pragma once
// The adjustment-key window: one check box per DC parameter; OK checks the
// choice against the model and stores the keys.
#include <QDialog>
#include <array>
#include <optional>

class QCheckBox;
class QPushButton;
class frmMain;

class frmAdjust : public QDialog {
  Q_OBJECT
 public:
  explicit frmAdjust(frmMain& main);

  // The Adjust menu: boxes from the keys, then show.
  void showWindow();
  // Command1, Command2, Command3 as the user presses them. Cancel (and Esc)
  // restores the keys a refused OK stored.
  void pressOk();
  void pressCancel();
  void openIncrements();

  QCheckBox* check(int key) const { return checks_[static_cast<size_t>(key)]; }

 protected:
  void reject() override;

 private:
  frmMain& main_;
  std::array<QCheckBox*, 36> checks_{};
  std::array<char, 36> keysAtOpen_{};                  // as the window opened
  std::optional<std::array<char, 36>> keysAfterRefusal_;  // as the last refused OK left them
};
