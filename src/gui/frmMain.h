#pragma once
// The main window: the complete editor of the parameter set, the mode
// buttons and the menu bar. Feature files attach to it through
// installCommands and the public API below; it holds no file-format logic.
#include <QMainWindow>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Session.h"
#include "model/editor_rules.h"
#include "model/field_entry.h"

class QAction;
class QLabel;
class QMenu;
class frmIO_all;
class frmCritPots;
class frmTransfer;

class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  Session& session() { return session_; }
  const Session& session() const { return session_; }

  // Menu item or top-level menu action by its control name ("LoadLCI", "Adjust", ...).
  // A menu's own action carries the menu's name too, so action("Display")
  // enables or disables the whole "Display LCO" menu.
  QAction* action(const QString& name) const;
  QMenu* menu(const QString& name) const;

  // The one file dialog, created on first use.
  frmIO_all& fileDialog();

  // Copies the window into the parameter set: every scalar field of
  // tavrin::scalarFields() (the LC fields too, so the writers work on the set
  // alone). T1/T2 stay kelvin; a drop-down gives list index + its offset.
  // Every text field is read strictly (a number with nothing but blanks
  // around it, a blank field is 0). On a field that is not a number or does
  // not fit its type (an integer outside -32768..32767, a real beyond 1e300)
  // shows a message naming the field and returns false; the set is then
  // left untouched.
  bool gather();
  // The set with the fields as gather would take them, for work on its own
  // copy (runs, fits, residual maps): the session's set is not touched.
  // nullopt after gather's refusal.
  std::optional<tavrin::ParameterSet> editorCopy();
  // gather's checks and refusal without taking anything (runs).
  bool checkFields();
  // One field read as gather reads it; on a refusal shows gather's message
  // and gives nullopt.
  std::optional<double> fieldNumber(const QString& control);
  // Shows every editor field from the parameter set as its trimmed plain
  // text (all 15 digits, so nothing is lost); drop-downs by value.
  void showParameters();
  // Sets control texts by control name ("Text42", "Combo3"), as a load
  // shows a file. A drop-down takes either one of its item texts exactly or
  // a number, which is the field's value (list index + offset; MODE "-1"
  // selects "-1: X-ray binary"); a value outside the list leaves the
  // selection alone. Drop-downs are set before text fields, so a Text53 given
  // with Combo4 wins over the band's table wavelength. Field handlers run
  // (marking, shown/hidden fields) but the overcontact ties and the DC
  // transfer do not: the texts appear exactly as given. Unknown names are
  // ignored.
  void applyDisplayTexts(const std::map<std::string, std::string>& texts);
  // One field's text, by control name ("Text46"). setFieldText acts like
  // typing: the field turns blue and its rules (ties, critical potentials)
  // follow. Drop-downs: as applyDisplayTexts; fieldText gives the item text.
  void setFieldText(const QString& control, const QString& text);
  QString fieldText(const QString& control) const;
  // The editor control (QLineEdit or QComboBox) or label by name, nullptr if none.
  QWidget* field(const QString& control) const;
  QLabel* fieldLabel(const QString& labelName) const;

  // Switches the program mode without the transfer question (loads, saves):
  // option buttons, label colours, run menu caption, visibility, menus, caption.
  void setProgramMode(tavrin::ProgramMode mode);
  void applyMode();
  void colourLabels();
  void resetColours();
  void updateCaption();  // caption rule
  void setCaptionText(const QString& caption);
  void showStatus(const QString& text);
  // Refreshes the critical-potentials window from the fields once it exists
  // (figures only: the set changes by gather).
  void refreshCriticalPotentials();
  // The critical-potentials window, created on first use.
  frmCritPots& critPotsWindow();
  // The DC->LC question, created on first use.
  frmTransfer& transferWindow();
  // Rad/Conv check marks from ALB1/ALB2 of the parameter set: a star is
  // radiative exactly when the integer part of its albedo + 1e-7 is 1.
  void syncRadConvChecks();

  // True while the window is being built (drop-down handlers do nothing).
  bool isStartingUp() const { return startingUp_; }

  // Every message box of the editor goes through here (title "Tavrin", OK).
  void showMessage(const QString& text);
  // Replaces the message box for every window (tests); empty restores it.
  using MessageSink = std::function<void(const QString& text)>;
  static void setMessageSink(MessageSink sink);
  // A question with the button `acceptText` and Cancel; true for the first.
  bool ask(const QString& text, const QString& acceptText);
  // True when nothing is at path, or the user lets it be replaced.
  bool mayReplace(const QString& path);
  // Answers every question instead of the user (tests); empty restores the box.
  using QuestionSink = std::function<bool(const QString& text)>;
  static void setQuestionSink(QuestionSink sink);

 signals:
  // A parameter label was clicked: Label01..Label63 give 1..63, Label1 64,
  // Label2 65, Label3 66, Label4 96, Label5 95.
  void parameterHelpRequested(int topic);
  // resetColours ran; windows with marked fields of their own (spots) follow.
  void coloursReset();
  // The program mode changed (option buttons, loads, saves).
  void programModeChanged(tavrin::ProgramMode mode);

 private:
  void buildMenus();
  void buildEditor();
  void setDefaults();
  void onTextChanged(const QString& control);
  void onComboChanged(const QString& control);
  void onOption1();
  void onOption2();
  void onRadConv(int star, bool radiative);
  void markModified(QWidget* w);
  void setShown(const QString& control, bool shown);
  void setEnabledField(const QString& control, bool enabled);
  void tie(const QString& from, const QString& to);
  QString controlOf(std::string_view name) const;
  tavrin::EditorChoices editorChoices() const;
  void applyEditorRules();
  void setRunMenuCaption();
  void showDcLightCurve(int row);
  int comboValue(const QString& control) const;
  QString fieldWho(const QString& control) const;
  tavrin::FieldEntry fieldEntry(const QString& control) const;
  void refuseField(const QString& control, tavrin::EntryFault fault);
  bool readFields(std::vector<std::pair<std::string_view, double>>& values);
  bool gatherInto(tavrin::ParameterSet& p);
  bool selectCombo(const QString& control, const QString& text);

  Session session_;
  frmIO_all* fileDialog_ = nullptr;
  struct Ui;
  Ui* ui_ = nullptr;
  bool startingUp_ = true;
  int bulkDisplay_ = 0;  // > 0 while showing texts as given (no ties, no transfer)
  QString lastCritPotRefusal_;  // "control=text" last refused by the live figures
};
