#pragma once
#include <QMainWindow>

// The main window: the parameter editor and the menu bar.
class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmMain(QWidget* parent = nullptr);
};
