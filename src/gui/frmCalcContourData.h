#pragma once
// "Calculate Contour Data": the grid definition, the timing test, the output
// file, the computation (on a worker thread, with a progress dialog and
// Cancel), loading a grid from a file and plotting it. Holds the contour
// state of the session for as long as the program runs. Test and Start Calcs
// work on a copy of the editor's set taken when pressed: the editor, the
// adjust keys, the file names and the DC results are never changed by them;
// "Use Best Point" is the one command that takes a result into the editor.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "contours/contour_engine.h"
#include "contours/contour_grid.h"
#include "contours/contour_setup.h"
#include "contours/contour_task.h"

class frmMain;
class frmPlotContours;
class frmHelpContours;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QProgressDialog;

class frmCalcContourData : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmCalcContourData(frmMain& main);
  ~frmCalcContourData() override;

  // The window of the main window, created on first use.
  static frmCalcContourData& of(frmMain& main);

  // Commands as the buttons do them.
  void test();               // Command1
  void setOutputFile();      // Command2
  void startCalcs();         // Command3
  void loadDataFromFile();   // Command4
  void plotContours();       // Command5
  void useBestPoint();       // Command6: the best point's values into the editor
  // File-dialog OK with codes 10 and 9.
  void outputFileChosen(const QString& name);
  void loadContourFile(const QString& name);

  // State.
  const tavrin::contours::ContourGrid& grid() const { return grid_; }
  const tavrin::contours::GridDef& gridDef() const { return entry_.grid; }
  double runTime() const { return runTime_; }
  double delay() const { return entry_.delay; }
  int zoom() const { return entry_.zoom; }
  QString outputName() const;
  QString contourFileName() const { return contourFileName_; }
  // The folder the grid file is written to (chosen with Set Output File).
  QString outputFolder() const { return outputFolder_; }
  bool computing() const { return task_.busy(); }
  const std::optional<tavrin::contours::BestPoint>& bestPoint() const { return best_; }
  // Cancels a computation in progress (the progress dialog's Cancel).
  void cancel();
  int parallelRuns() const;
  void setParallelRuns(int n);
  // DC executable used by Test and Start Calcs; empty: Solvex in the program
  // folder, else on the search path.
  void setDcExecutable(const QString& path) { dcExe_ = path; }
  frmPlotContours* plotWindow() const { return plot_; }
  QProgressDialog* progressDialog() const { return progress_; }

 signals:
  // Emitted on the GUI thread when a computation or a test ends.
  void computationFinished(bool cancelled);
  void testFinished(bool ok);

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void build();
  void onShownOrResized(bool shown);
  QLineEdit* box(tavrin::contours::SetupBox b) const;
  void storeField(tavrin::contours::SetupBox b, const QString& text);
  void readFields();
  void refreshEstimate();
  void showGrid();
  void showSummary();
  bool writeGridFile();
  bool mayReplace(const QString& folder, const QString& name);
  void selectCodes(int x, int y);
  void markBlue(QLineEdit* e, bool blue);
  void setBusy(bool busy);
  QString dcExecutable();
  void finishTest(const tavrin::contours::DcRun& r);
  void finishComputation(tavrin::contours::ContourOutcome outcome);
  void showProgress(const tavrin::contours::Progress& p);

  frmMain& main_;
  tavrin::contours::SetupEntry entry_;
  tavrin::contours::ContourGrid grid_;
  double runTime_ = 0;
  QString contourFileName_;
  QString outputFolder_;
  QString folderBeforeDialog_;
  bool replaceConfirmed_ = false;
  QString dcExe_;
  std::optional<tavrin::contours::BestPoint> best_;
  tavrin::contours::GridDef bestGrid_;
  tavrin::contours::ContourTask task_;
  qint64 startedMs_ = 0;
  QProgressDialog* progress_ = nullptr;
  frmPlotContours* plot_ = nullptr;
  frmHelpContours* help_ = nullptr;
  struct Ui;
  std::unique_ptr<Ui> ui_;
};
