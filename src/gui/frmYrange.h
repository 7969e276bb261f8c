#pragma once
// "Y Range": the vertical scale of a plot (value at the top and at the
// bottom of the frame). The light-curve plot keeps its range in the plot
// state; the velocity plot's is its own, automatic while both boxes are empty.
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

class QLabel;
class QLineEdit;
class frmMain;

class frmYrange : public QDialog {
  Q_OBJECT
 public:
  using Range = std::optional<std::pair<double, double>>;  // top, bottom; nullopt: automatic
  struct Scale {
    QString maxCaption, minCaption;
    std::function<Range()> get;
    std::function<void(Range)> set;
    bool automaticAllowed = false;  // both boxes empty give nullopt
  };
  // The light-curve plot's range. applied runs after OK has stored a new range.
  frmYrange(frmMain& main, std::function<void()> applied, QWidget* parent = nullptr);
  frmYrange(frmMain& main, Scale scale, std::function<void()> applied, QWidget* parent = nullptr);
  // Fills the boxes from the range and shows the window.
  void showRange();
  void accept() override;  // OK (Command1)

 private:
  frmMain& main_;
  Scale scale_;
  std::function<void()> applied_;
  QLineEdit* max_;
  QLineEdit* min_;
};
