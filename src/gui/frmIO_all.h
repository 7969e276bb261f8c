#pragma once
// The one file dialog. The command that opens it sets an operation code
// (1..12), caption, patterns and name preset; OK stores the folder as the
// data folder and calls the handler registered for the code.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <map>

class frmMain;
class QCloseEvent;

class frmIO_all : public QDialog {
  Q_OBJECT
 public:
  explicit frmIO_all(frmMain* main);
  ~frmIO_all() override;

  // Handler for OK with a code: receives the name typed or chosen (Text1).
  // The data folder has already been stored in the session.
  using Handler = std::function<void(const QString& name)>;
  void setHandler(int code, Handler handler);
  // OK with this code onto an existing file asks "<name> already exists.
  // Replace it?" first, unless it is the file currentFile() gives (full path,
  // empty when none).
  using CurrentFile = std::function<QString()>;
  void setReplaceCheck(int code, CurrentFile currentFile);
  // The input-file saves (2, 6): Text1 shows only the name they are opened
  // with, and a folder change keeps the name typed. (The contour output, 10,
  // chooses its own preset.)
  static bool isSaveCode(int code);

  // Opens the dialog (not modal) for an operation: caption, pattern list
  // (the first pattern selected; with code 4 the remembered data pattern),
  // the folder list and file list refreshed, Text1 preset when one is given
  // (a save code: the preset or nothing; a load keeps the last name without one).
  void open(int code, const QString& caption, const QStringList& patterns, const QString& namePreset = {});

  int code() const { return code_; }
  QString folder() const;
  // Dir1's folder; a folder that no longer exists falls back to its nearest
  // existing parent. Refreshes the lists, Text1 (first file) and Label4.
  void setFolder(const QString& folder);
  // Text1.
  QString name() const;
  void setName(const QString& name);
  // The pattern index last chosen for light-curve data (code 4).
  int rememberedDataPattern() const { return rememberedPattern_; }

  // Presses OK as the user would (tests and double-click).
  void accept() override;
  // Cancel and Esc: hide; with code 4 the pattern is remembered.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void fillDrives();
  void fillFolders();
  void fillFiles();
  void selectDriveOf(const QString& folder);
  void onDriveChosen(int index);
  void onPatternChosen(int index);
  QString currentPattern() const;

  frmMain* main_;
  int code_ = 0;
  std::map<int, Handler> handlers_;
  std::map<int, CurrentFile> replaceChecks_;
  int rememberedPattern_ = 0;
  bool settingUp_ = false;
  struct Ui;
  Ui* ui_ = nullptr;
};
