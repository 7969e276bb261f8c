#include "frmIO_all.h"

#include <QDir>

#include "frmMain.h"

struct frmIO_all::Ui {
  QString folder = QDir::currentPath();
  QString name;
};

frmIO_all::frmIO_all(frmMain* main) : QDialog(main), main_(main), ui_(new Ui) { setObjectName("frmIO_all"); }

void frmIO_all::setHandler(int code, Handler handler) { handlers_[code] = std::move(handler); }

void frmIO_all::open(int code, const QString& caption, const QStringList&, const QString& namePreset) {
  code_ = code;
  setWindowTitle(caption);
  ui_->name = namePreset;
  show();
}

QString frmIO_all::folder() const { return ui_->folder; }
void frmIO_all::setFolder(const QString& folder) { ui_->folder = folder; }

void frmIO_all::accept() {
  main_->session().app.dataFolder = ui_->folder.toStdString();
  hide();
  auto it = handlers_.find(code_);
  if (it != handlers_.end()) it->second(ui_->name);
}
