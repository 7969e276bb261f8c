#include <QApplication>

#include "InstallCommands.h"
#include "frmMain.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrin");
  QApplication::setOrganizationName("Tavrin");
  frmMain w;
  installCommands(w);
  w.show();
  return app.exec();
}
