#include "frmHelpContours.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

QStringList frmHelpContours::paragraphs() {
  return {
      "The contour feature maps how well the model can fit the observations when two chosen parameters are held "
      "fixed. Over an M x N grid of values of the two parameters (X and Y), DC is run at every grid point and the "
      "weighted sum of squared residuals, Sum(W*Res**2), is recorded as Wres.",
      "At each grid point the two grid parameters are held at their grid values while DC fits the luminosity L1 "
      "of each light curve and two or three other parameters, one at a time, for the chosen number of "
      "iterations. A last DC run gives the point's Wres. A point where DC fails is marked with the value 99.",
      "Load a DCI file first. Choose the X and Y parameters, their minimum and maximum values and the number of "
      "points in each direction, then press Test: one DC run is timed and the estimated time of the whole "
      "computation is shown. Press Set Output File to name the data file, then Start Calcs. A progress window "
      "shows the points done and the time left; Cancel stops after the DC runs in progress, writes nothing and "
      "puts the editor back to the starting parameters.",
      "Parallel runs sets how many DC runs work at the same time, each in its own folder; the results are the "
      "same as with one. Very large grids can also be split over several computers with tavrin-cli contour "
      "--columns and joined with tavrin-cli contour-merge.",
      "The grid is saved to a text data file that can be reloaded later with Load Data from File, without "
      "running DC again.",
      "Plot Contours refines the grid by the zoom factor and draws it: Contours draws the contour levels between "
      "Min Contour and Max Contour as red dots, Colours draws the colour map from black (lowest Wres) through "
      "blue and green to red, Clear starts again. Moving the mouse over the map shows X, Y and the "
      "interpolated Wres. The File menu exports the picture with a colour scale or prints it.",
  };
}

frmHelpContours::frmHelpContours(QWidget* parent) : QDialog(parent) {
  setObjectName("frmHelpContours");
  setWindowTitle("Help");
  auto* outer = new QVBoxLayout(this);
  auto* title = new QLabel("Help - Contours");
  title->setObjectName("Label0");
  QFont f = title->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.2);
  title->setFont(f);
  outer->addWidget(title);
  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(true);
  auto* body = new QWidget;
  auto* col = new QVBoxLayout(body);
  const QStringList paras = paragraphs();
  for (int k = 0; k < paras.size(); ++k) {
    auto* l = new QLabel(paras[k]);
    l->setObjectName(QString("Label1_%1").arg(k));
    l->setWordWrap(true);
    col->addWidget(l);
  }
  col->addStretch(1);
  scroll->setWidget(body);
  outer->addWidget(scroll);
  resize(560, 520);
}
