#pragma once
// "Help - Contours": what the residual map computes and how to use the
// contour windows, as fixed paragraphs (Label0 the title, Label1_0.. the
// paragraphs).
#include <QDialog>
#include <QStringList>

class frmHelpContours : public QDialog {
  Q_OBJECT
 public:
  explicit frmHelpContours(QWidget* parent = nullptr);
  static QStringList paragraphs();
};
