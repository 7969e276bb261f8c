#pragma once
// The one file dialog. The command that opens it sets an operation code
// (1..12), caption, patterns and name preset; OK stores the folder as the
// data folder and calls the handler registered for the code.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <map>

class frmMain;

class frmIO_all : public QDialog {
  Q_OBJECT
 public:
  explicit frmIO_all(frmMain* main);

  // Handler for OK with a code: receives the name typed or chosen (Text1).
  // The data folder has already been stored in the session.
  using Handler = std::function<void(const QString& name)>;
  void setHandler(int code, Handler handler);

  // Opens the dialog (not modal) for an operation.
  void open(int code, const QString& caption, const QStringList& patterns, const QString& namePreset = {});

  int code() const { return code_; }
  QString folder() const;
  void setFolder(const QString& folder);

  // Presses OK as the user would (tests and double-click).
  void accept() override;

 private:
  frmMain* main_;
  int code_ = 0;
  std::map<int, Handler> handlers_;
  struct Ui;
  Ui* ui_ = nullptr;
};
