#include <QApplication>

#include "frmMain.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrin");
  QApplication::setOrganizationName("Tavrin");
  frmMain w;
  w.show();
  return app.exec();
}
