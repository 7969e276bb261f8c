#pragma once
// Fit Until Converged: the stop rules, Start and Cancel, the running pass,
// time and Sum(W*Res**2), the history of every fit since the program
// started, and Apply, which puts a chosen pass's values into the editor.
// The fit runs on a thread of its own on a copy of the set.
#include <QDialog>
#include <QElapsedTimer>
#include <atomic>
#include <thread>

#include "output/fit_history.h"
#include "runs/fit.h"

class frmMain;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

class frmFit : public QDialog {
  Q_OBJECT
 public:
  explicit frmFit(frmMain& main);
  ~frmFit() override;  // cancels and waits

  void start();
  void cancel();
  // Puts the values of the chosen history row into the editor.
  void apply();
  bool busy() const { return busy_; }
  const tavrin::FitHistory& history() const { return history_; }
  QTableWidget* table() const { return table_; }
  QString outcomeText() const;

  static frmFit& of(frmMain& main);

 signals:
  void fitFinished();

 private:
  bool readRules(tavrin::runs::FitRules& rules);
  void addRow(const tavrin::runs::FitPass& pass);
  void showHistory();
  void finish(const tavrin::runs::FitOutcome& o);
  void setBusy(bool busy);
  void exportHistory(bool latex);

  frmMain& main_;
  QCheckBox *useSigma_, *useRel_, *useMax_;
  QLineEdit *sigma_, *rel_, *max_, *damping_;
  QPushButton *start_, *cancel_, *apply_;
  QLabel *pass_, *elapsed_, *sum_, *outcome_;
  QTableWidget* table_;
  QTimer* clock_;
  QElapsedTimer since_;
  tavrin::FitHistory history_;
  tavrin::runs::FitRules rules_;
  int fit_ = 0;
  std::thread thread_;
  std::atomic<bool> cancelFlag_{false}, busy_{false};
};
