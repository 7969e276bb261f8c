#pragma once
// The one file dialog. The command that opens it sets an operation, caption,
// patterns and name preset; OK stores the folder as the data folder and
// calls the handler registered for the operation.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <map>

class frmMain;

// What the file dialog is open for (the numbers are the dialog's codes).
enum class FileOp {
  None = 0,
  LoadLci = 1,
  SaveLci = 2,
  LoadLco = 3,
  LoadLcData = 4,
  LoadDci = 5,
  SaveDci = 6,
  LoadDco = 7,
  LoadDcData = 8,
  LoadContour = 9,
  SaveContour = 10,
  LoadRv1Data = 11,
  LoadRv2Data = 12,
};
class QCloseEvent;

class frmIO_all : public QDialog {
  Q_OBJECT
 public:
  explicit frmIO_all(frmMain* main);
  ~frmIO_all() override;

  // Handler for OK with an operation: receives the name typed or chosen (Text1).
  // The data folder has already been stored in the session.
  using Handler = std::function<void(const QString& name)>;
  void setHandler(FileOp op, Handler handler);
  // OK with this operation onto an existing file asks "<name> already exists.
  // Replace it?" first, unless it is the file currentFile() gives (full path,
  // empty when none).
  using CurrentFile = std::function<QString()>;
  void setReplaceCheck(FileOp op, CurrentFile currentFile);
  // The input-file saves: Text1 shows only the name they are opened with,
  // and a folder change keeps the name typed. (The contour output chooses
  // its own preset.)
  static bool isInputSave(FileOp op);

  // Opens the dialog (not modal) for an operation: caption, pattern list
  // (the first pattern selected; for light-curve data the remembered one),
  // the folder list and file list refreshed, Text1 preset when one is given
  // (an input save: the preset or nothing; a load keeps the last name without one).
  void open(FileOp op, const QString& caption, const QStringList& patterns, const QString& namePreset = {});

  FileOp op() const { return op_; }
  QString folder() const;
  // Dir1's folder; a folder that no longer exists falls back to its nearest
  // existing parent. Refreshes the lists, Text1 (first file) and Label4.
  void setFolder(const QString& folder);
  // Text1.
  QString name() const;
  void setName(const QString& name);
  // The pattern index last chosen for light-curve data.
  int rememberedDataPattern() const { return rememberedPattern_; }

  // Presses OK as the user would (tests and double-click).
  void accept() override;
  // Cancel and Esc: hide; for light-curve data the pattern is remembered.
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
  FileOp op_ = FileOp::None;
  std::map<FileOp, Handler> handlers_;
  std::map<FileOp, CurrentFile> replaceChecks_;
  int rememberedPattern_ = 0;
  bool settingUp_ = false;
  struct Ui;
  Ui* ui_ = nullptr;
};
