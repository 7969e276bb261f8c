#pragma once
// The main window: the complete editor of the parameter set, the mode
// buttons and the menu bar. Feature files attach to it through
// CommandRegistry and the public API below; it holds no file-format logic.
#include <QMainWindow>
#include <map>
#include <string>

#include "Session.h"

class QAction;
class QMenu;
class frmIO_all;

class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  Session& session() { return session_; }

  // Menu item or top-level menu action by its control name ("LoadLCI", "Adjust", ...).
  QAction* action(const QString& name) const;
  QMenu* menu(const QString& name) const;

  // The one file dialog, created on first use.
  frmIO_all& fileDialog();

  // Copies the window into the parameter set. On a field that does not fit
  // its type, shows a message naming the field and returns false.
  bool gather();
  // Shows every editor field from the parameter set in its start-up form.
  void showParameters();
  // Sets control texts (and combo indices by item text or number) as given,
  // e.g. the display texts a reader produced.
  void applyDisplayTexts(const std::map<std::string, std::string>& texts);
  // One field's text, by control name ("Text46").
  void setFieldText(const QString& control, const QString& text);
  QString fieldText(const QString& control) const;

  // Switches the program mode without the transfer question (loads, saves).
  void setProgramMode(tavrin::ProgramMode mode);
  void applyMode();
  void colourLabels();
  void resetColours();
  void updateCaption();  // caption rule
  void setCaptionText(const QString& caption);
  void showStatus(const QString& text);
  // Refreshes the critical-potentials window if it is shown.
  void refreshCriticalPotentials();

 private:
  Session session_;
  frmIO_all* fileDialog_ = nullptr;
  struct Ui;
  Ui* ui_ = nullptr;
};
