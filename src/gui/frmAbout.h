#pragma once
// The About window: program name, version line and notes.
#include <QDialog>

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* parent = nullptr);
};
