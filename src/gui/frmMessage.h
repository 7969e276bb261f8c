#pragma once
// A small non-modal message window: the title label "Error!" and up to three
// lines of message. Used for DC's error line.
#include <QDialog>

class QLabel;
class QPushButton;

class frmMessage : public QDialog {
  Q_OBJECT
 public:
  explicit frmMessage(QWidget* parent = nullptr);

  // Puts the lines into Label2, Label3 and Label4 and shows the window.
  void showMessage(const QString& line2, const QString& line3 = {}, const QString& line4 = {});
  QString messageText() const;

  // The window of a main window, created on first use.
  static frmMessage& of(QWidget& main);

 private:
  QLabel* title_;
  QLabel* lines_[3];
  QPushButton* ok_;
};
