#include "frmMain.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "CommandRegistry.h"
#include "frmIO_all.h"

struct frmMain::Ui {};

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), ui_(new Ui) {
  setObjectName("frmMain");
  setWindowTitle("Tavrin");
  installAllCommands(*this);
}

frmMain::~frmMain() { delete ui_; }

QAction* frmMain::action(const QString& name) const { return findChild<QAction*>(name); }
QMenu* frmMain::menu(const QString& name) const { return findChild<QMenu*>(name); }

frmIO_all& frmMain::fileDialog() {
  if (!fileDialog_) fileDialog_ = new frmIO_all(this);
  return *fileDialog_;
}

bool frmMain::gather() { return true; }
void frmMain::showParameters() {}
void frmMain::applyDisplayTexts(const std::map<std::string, std::string>&) {}
void frmMain::setFieldText(const QString&, const QString&) {}
QString frmMain::fieldText(const QString&) const { return {}; }
void frmMain::setProgramMode(tavrin::ProgramMode mode) { session_.mode = mode; }
void frmMain::applyMode() {}
void frmMain::colourLabels() {}
void frmMain::resetColours() {}
void frmMain::updateCaption() { setWindowTitle(QString::fromStdString(tavrin::captionFor(session_.mode, session_.app))); }
void frmMain::setCaptionText(const QString& caption) { setWindowTitle(caption); }
void frmMain::showStatus(const QString& text) { statusBar()->showMessage(text); }
void frmMain::refreshCriticalPotentials() {}
