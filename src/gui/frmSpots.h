#pragma once
// The spots window: the spot tables of both stars in degrees, the spot
// counts, and in DC mode the two spots (A and B) whose parameters DC adjusts.
#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
class frmMain;

class frmSpots : public QDialog {
  Q_OBJECT
 public:
  explicit frmSpots(frmMain& main);

  // The Spots menu: remember the counts, fill everything from the set, show.
  void showWindow();
  void pressOk();
  void pressCancel();
  void refreshHighlighting();
  // The help page (spotsHelp).
  void showHelpPage();

  // Cell of quantity q (0 latitude .. 3 temperature factor) of a star's row.
  QLineEdit* cell(int star, int row, int quantity) const;
  QComboBox* countCombo(int star) const { return star == 1 ? combo1_ : combo2_; }
  QLineEdit* spotField(int i) const { return ab_[static_cast<size_t>(i)]; }  // 0..3 = Text9..Text12
  // Rows the window offers: 6, or 10 while a star carries more than 6 spots.
  int rowLimit() const { return rowLimit_; }

  // Where the help page goes (the help window of the shell, once there);
  // without one the window shows the page itself.
  using HelpPageOpener = std::function<void(const QString& title, const QStringList& paragraphs)>;
  static void setHelpPageOpener(HelpPageOpener opener);

 protected:
  void reject() override;

 private:
  void onCountChosen(int star, int index);
  void onSpotFieldChanged(int i);
  void showRows(int star);
  void setRowLimit(int limit);

  frmMain& main_;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  // cells_[star][row][q]; rows 1..10.
  std::array<std::array<std::array<QLineEdit*, 4>, 11>, 3> cells_{};
  std::array<std::array<QLabel*, 11>, 3> rowLabels_{};
  std::array<QLineEdit*, 4> ab_{};
  QWidget* abGroup_ = nullptr;
  int rowLimit_ = 6;
  std::array<int, 3> countsAtOpen_{0, 0, 0};
  bool filling_ = false;
  QDialog* helpPage_ = nullptr;
};
