#pragma once
// The custom run window: the output file name to run into.
#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class frmSetOPfile : public QDialog {
  Q_OBJECT
 public:
  explicit frmSetOPfile(QWidget* parent = nullptr);

  // Shows the window (not modal) with the derived name in Text1.
  void offer(const QString& defaultName);
  QLineEdit* nameBox() const { return text1_; }
  // OK: hides the window, then calls the handler with Text1's text.
  void setOkHandler(std::function<void(const QString&)> handler) { onOk_ = std::move(handler); }
  void pressOk();
  void pressCancel();

  static frmSetOPfile& of(QWidget& main);

 protected:
  void reject() override { pressCancel(); }

 private:
  QLineEdit* text1_;
  QLabel* defaultLabel_;
  std::function<void(const QString&)> onOk_;
};
