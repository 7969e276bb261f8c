#pragma once
// The observed-data window of DC: up to two velocity curves and five light
// curves, each with its observation file and curve quantities.
#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class frmMain;

class frmDataFile : public QDialog {
  Q_OBJECT
 public:
  explicit frmDataFile(frmMain& main);

  // The Data menu: fill from the set, then show.
  void showWindow();
  void pressOk();
  void pressCancel();
  // CommandF(row): choose the row's observation file through the file dialog.
  void pressLoad(int row);
  // The file dialog loaded a file for a row.
  void setRowFileName(int row, const QString& name);

  QComboBox* velocityCombo() const { return combo1_; }
  QComboBox* lightCombo() const { return combo2_; }
  // Row control by array name ("Text2", "Text29", "CommandF", ...), nullptr when the row has none.
  QWidget* rowControl(const QString& array, int row) const;
  QLineEdit* text(int array, int row) const;

 protected:
  void reject() override;

 private:
  struct Row {
    QLabel* label = nullptr;
    QLineEdit* band = nullptr;      // Text2
    QLineEdit* name = nullptr;      // Text1
    QPushButton* load = nullptr;    // CommandF
    QLineEdit* wavel = nullptr;     // Text8
    QLineEdit* l1 = nullptr;        // Text15
    QLineEdit* l2 = nullptr;        // Text22
    QLineEdit* x1 = nullptr;        // Text29
    QLineEdit* x2 = nullptr;        // Text36
    QLineEdit* y1 = nullptr;        // Text43
    QLineEdit* y2 = nullptr;        // Text50
    QLineEdit* sigma = nullptr;     // Text57
    QLineEdit* noise = nullptr;     // Text64 (light rows)
    QLineEdit* el3 = nullptr;       // Text69 (light rows)
  };
  void showRows();
  void onBandChanged(int row);
  void couple(int fromArray, int toArray);
  int currentMode() const;

  frmMain& main_;
  QComboBox* combo1_ = nullptr;
  QComboBox* combo2_ = nullptr;
  std::array<Row, 8> rows_{};
  bool filling_ = false;
  bool coupling_ = false;
  QString lastRefusedBand_;
};
