#pragma once
// Scenario transcripts of the main window. A transcript (tests/gui/golden/
// main_*.txt) holds "> command" lines; replaying them writes each command,
// then every line of the window's state that it changed, and the messages,
// questions and help topics it raised. "new" (a fresh window) writes the whole
// state, so the transcript pins every field at every step. "#" lines are kept
// as comments; with TAVRIN_UPDATE_GOLDEN=1 the output is rewritten from the
// command lines alone. Commands (see Scenario::run): new [bare|again], type,
// set, pick, click, do, label, mode, gather, param, adjust, curve, name,
// display, answer (transfer), reply (questions), exitanswer, close, plot,
// folder, texts, dump, copy, write, exec, link, cut, file, load, same, dialog,
// typein, reject, loadfile, mkdir, dialogfolder, drop, recent, geometry, wait,
// results, contours, clearerrors, displaylco, topic, esc, indivhelp, and the
// frmMain calls in `calls`. Run times are written "(# s)".
#include <QAccessible>
#include <QApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QStatusBar>
#include <QUrl>
#include <memory>
#include <sstream>

#include "EditorWindows.h"
#include "PlotCommands.h"
#include "ShellCommands.h"
#include "frmAbout.h"
#include "frmCritPots.h"
#include "frmIndivHlp.h"
#include "frmPlotLC.h"
#include "frmTransfer.h"
#include "model/input_reader.h"
#include "model/number_fields.h"
#include "win_support.h"

namespace mwtest {

using Lines = std::vector<std::pair<std::string, std::string>>;

inline std::string str(const QString& s) { return s.toStdString(); }
inline QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string num(double v) { return str(QString::number(v, 'g', 17)); }

// Colour of a palette role when it is not the application's.
inline std::string colour(QWidget* w, QPalette::ColorRole role, const char* tag = " ") {
  const QColor c = w->palette().color(role);
  return c == QApplication::palette(w).color(role) ? "" : tag + str(c.name());
}

inline void menuLines(QWidget* m, Lines& out) {  // a menu or the menu bar
  for (QAction* a : m->actions()) {
    if (a->objectName().startsWith("RecentFile")) continue;
    std::string v = a->isSeparator() ? "---" : "\"" + str(a->text()) + "\"" + (a->menu() ? " >" : "");
    if (!a->isEnabled()) v += " off";
    if (a->isChecked()) v += " checked";
    if (!a->shortcut().isEmpty()) v += " " + str(a->shortcut().toString());
    out.emplace_back("menu " + str(a->objectName()), v);
    if (a->menu()) menuLines(a->menu(), out);
  }
}

inline QWidget* nextTab(QWidget* from) {
  QWidget* n = from->nextInFocusChain();
  while (n != from && !(n->focusPolicy() & Qt::TabFocus)) n = n->nextInFocusChain();
  return n;
}

// Everything the window shows, one line per control, in a fixed order.
inline Lines mainState(frmMain& w) {
  Lines out;
  const Session& s = w.session();
  auto option = [&](const char* n) { return w.findChild<QAbstractButton*>(n)->isChecked() ? " " + std::string(n) : ""; };
  out.emplace_back("caption", str(w.windowTitle()));
  out.emplace_back("mode", (s.mode == tavrin::ProgramMode::LC ? "LC" : "DC") + option("Option1") + option("Option2") +
                               (s.transferDcValues ? " transfer" : "") + (w.isStartingUp() ? " starting" : ""));
  out.emplace_back("window", std::string(w.isVisible() ? "shown" : "hidden") + (shell::fieldsEdited(w) ? " edited" : ""));
  out.emplace_back("files", "lci=" + s.app.lciName + " dci=" + s.app.dciName + " dco=" + s.app.dcoName +
                                (s.app.readError ? " readError" : "") + " data=" + s.app.dataFolder);
  const auto& c = s.plot.plotColour;
  out.emplace_back("plot", std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) +
                               (s.plot.joinPoints ? " join" : "") + (s.plot.gridLines ? " grid" : ""));
  if (const int runs = runcommands::runsInProgress(w)) out.emplace_back("runs", std::to_string(runs));
  if (auto* bar = w.findChild<QStatusBar*>()) out.emplace_back("status", str(bar->currentMessage()));
  menuLines(w.menuBar(), out);
  for (const auto& f : tavrin::scalarFields()) {
    QWidget* c = w.field(qs(f.control));
    std::string v = "\"" + str(w.fieldText(qs(f.control))) + "\"";
    if (auto* box = qobject_cast<QComboBox*>(c))
      v += " [" + std::to_string(box->currentIndex()) + "/" + std::to_string(box->count()) + "]" +
           colour(c, QPalette::ButtonText, " btn");
    if (!c->isVisibleTo(&w)) v += " hidden";
    if (!c->isEnabled()) v += " off";
    v += colour(c, QPalette::Text);
    v += " tab>" + str(nextTab(c)->objectName());
    QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(c);  // what a screen reader says
    v += " \"" + str(acc->text(QAccessible::Name)) + "\"" + (acc->relations(QAccessible::Label).isEmpty() ? " nolabel" : "");
    if (QLabel* l = f.label.empty() ? nullptr : w.fieldLabel(qs(f.label))) {
      v += " | " + str(l->objectName()) + (l->isVisibleTo(&w) ? "" : " hidden") + colour(l, QPalette::WindowText);
      if (l->cursor().shape() != Qt::CrossCursor) v += " arrow";
      if (l->buddy() != c) v += " nobuddy";
    }
    out.emplace_back(std::string(f.control), v);
  }
  for (const auto& f : tavrin::scalarFields()) out.emplace_back("P " + std::string(f.name), num(*tavrin::getScalar(s.params, f.name)));
  if (auto* c = w.findChild<frmCritPots*>("frmCritPots"))
    out.emplace_back("critpots", std::to_string(w.findChildren<frmCritPots*>().size()) + (c->isVisible() ? " shown " : " hidden ") + str(c->inner() + "|" + c->outer() + "|" + c->fill1() + "|" + c->fill2()));
  for (const char* name : {"frmTransfer", "frmMiscParm"})
    if (auto* t = w.findChild<QWidget*>(name)) out.emplace_back(name, t->isVisible() ? "shown" : "hidden");
  if (auto* d = w.findChild<frmIO_all*>()) {
    auto* patterns = d->findChild<QComboBox*>("Combo1");
    QStringList items;
    for (int i = 0; i < patterns->count(); ++i) items << patterns->itemText(i);
    out.emplace_back("dialog", (d->isVisible() ? "shown op=" : "hidden op=") + std::to_string(static_cast<int>(d->op())) +
                                   " \"" + str(d->windowTitle()) + "\" [" + str(items.join("|")) + "] " +
                                   str(patterns->currentText()) + " name=\"" + str(d->name()) + "\"");
  }
  return out;
}

// The set a file gives, without what a save is free to rewrite: the unused
// adjust key 30, the typed form of the x2 increment and rows no curve uses.
inline tavrin::ParameterSet fileValues(const std::string& p) {
  using namespace tavrin;
  ParameterSet s = p.ends_with(".dci") ? readDci(p, {}, probeDci(p)).params : readLci(p, {}, probeLci(p)).params;
  s.adjustKeys[30] = 0;
  s.x2Increment = std::to_string(leadingNumber(s.x2Increment));
  for (int row = 1; row <= kCurveRows; ++row)
    if (!((row == 1 && s.IFVC1 == 1) || (row == 2 && s.IFVC2 == 1) || (row >= 3 && row - 2 <= s.NLC))) s.curves[row] = {};
  return s;
}

// Replays a transcript on a main window of its own.
struct Scenario {
  std::unique_ptr<frmMain> win;
  MessageCatcher catcher;
  std::unique_ptr<QTemporaryDir> folder;  // fresh with each window
  std::ostringstream out;
  Lines last;
  int shownMessages = 0, shownQuestions = 0;
  shell::ExitAnswer exitAnswer = shell::ExitAnswer::Cancel;
  QString oldCwd = QDir::currentPath();

  // The program folder is the scenario's folder; quitting and the exit
  // question are answered here.
  Scenario() {
    shell::setQuitFunction([this] { out << "  quit\n"; });
    shell::setExitQuestion([this] {
      out << "  exit question\n";
      return exitAnswer;
    });
  }
  ~Scenario() {
    win.reset();
    QDir::setCurrent(oldCwd);
    shell::setQuitFunction({});
    shell::setExitQuestion({});
    shell::setDesktopSettingsFile({});
  }

  frmMain& w() { return *win; }
  void fresh(bool bare, bool keepFolder = false) {
    win.reset();
    if (!keepFolder) folder = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(tmp());
    shell::setDesktopSettingsFile(tmp() + "/desktop.ini");
    win.reset(bare ? new frmMain : new MainWindow);
    QObject::connect(win.get(), &frmMain::parameterHelpRequested, [this](int t) { out << "  help topic " << t << "\n"; });
    QObject::connect(win.get(), &frmMain::coloursReset, [this] { out << "  colours reset\n"; });
    last.clear();
  }
  std::string local(const QString& s) {
    QString t = s;
    t.replace(QDir::toNativeSeparators(tmp()), "$TMP").replace(tmp(), "$TMP");
    t.replace(TAVRIN_BINARY_DIR, "$BIN");
    t.replace("\n", "\\n").replace(QRegularExpression("\\(\\d+(\\.\\d+)? s\\)"), "(# s)");
    return str(t);
  }
  QString tmp() const { return folder->path(); }
  QString path(const std::string& name) { return folder->filePath(qs(name)); }
  void report(bool whole) {
    std::map<std::string, std::string> before(last.begin(), last.end());
    Lines now = mainState(w());
    for (const auto& [k, v] : now) {
      auto it = before.find(k);
      if (whole || it == before.end() || it->second != v) out << "  " << k << ": " << local(qs(v)) << "\n";
      if (it != before.end()) before.erase(it);
    }
    for (const auto& [k, v] : before) out << "  " << k << ": (gone)\n";
    last = std::move(now);
    for (; shownMessages < catcher.messages.size(); ++shownMessages) out << "  message: " << local(catcher.messages[shownMessages]) << "\n";
    for (; shownQuestions < catcher.questions.size(); ++shownQuestions) out << "  question: " << local(catcher.questions[shownQuestions]) << "\n";
  }
  void run(const std::string& line);
  // An editor FIELD, or WINDOW/NAME in one of its windows.
  template <typename T>
  T* control(const QString& n) {
    if (!n.contains('/')) return qobject_cast<T*>(w().field(n));
    return w().findChild<QWidget*>(n.section('/', 0, 0))->template findChild<T*>(n.section('/', -1));
  }
  std::string replay(const std::string& transcript) {
    std::istringstream in(transcript);
    for (std::string line; std::getline(in, line);)
      if (line.rfind("> ", 0) == 0 || line.rfind("#", 0) == 0) {
        out << line << "\n";
        if (line[0] == '>') run(line.substr(2));
      }
    return out.str();
  }
};

inline void Scenario::run(const std::string& line) {
  std::istringstream in(line);
  std::string cmd, a, rest;
  in >> cmd >> a;
  std::getline(in, rest);
  if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
  const QString A = qs(a);
  QString R = qs(rest);
  if (cmd == "new") {  // before any window exists, and writes the whole state
    fresh(a == "bare", a == "again");
    return report(true);
  }
  frmMain& m = w();
  static const std::map<std::string, void (frmMain::*)()> calls = {{"show", &frmMain::show},
      {"showParameters", &frmMain::showParameters}, {"resetColours", &frmMain::resetColours},
      {"colourLabels", &frmMain::colourLabels}, {"updateCaption", &frmMain::updateCaption}};
  if (cmd == "close") {
    const bool closed = m.close();
    out << "  close: " << (closed ? "closed" : "refused") << "\n";
  } else if (cmd == "exitanswer") {
    exitAnswer = a == "save" ? shell::ExitAnswer::Save : a == "discard" ? shell::ExitAnswer::Discard : shell::ExitAnswer::Cancel;
  } else if (cmd == "plot") {  // plot R G B [join] [grid]
    const QStringList rgb = qs(line).split(' ');
    m.session().plot.plotColour = {uint8_t(rgb[1].toInt()), uint8_t(rgb[2].toInt()), uint8_t(rgb[3].toInt())};
    m.session().plot.joinPoints = rest.find("join") != std::string::npos;
    m.session().plot.gridLines = rest.find("grid") != std::string::npos;
  } else if (cmd == "folder") {  // folder data|program|installed PATH
    auto& app = m.session().app;
    (a == "data" ? app.dataFolder : a == "installed" ? app.installedProgramsFolder : app.programFolder) =
        str(R.replace("$TMP", tmp()).replace("$BIN", TAVRIN_BINARY_DIR));
  } else if (cmd == "dialogfolder") {
    out << "  dialog folder: " << local(m.fileDialog().folder()) << "\n";
  } else if (cmd == "mkdir") {
    QDir(tmp()).mkpath(A);
  } else if (cmd == "loadfile") {
    const bool loaded = shell::loadInputFile(m, path(a));
    out << "  loaded: " << (loaded ? "yes" : "no") << "\n";
  } else if (cmd == "type") {  // key by key, as a user types
    win::typeInto(control<QLineEdit>(A), R);
  } else if (cmd == "set") {
    m.setFieldText(A, R);
  } else if (cmd == "pick") {
    control<QComboBox>(A)->setCurrentIndex(std::stoi(rest));
  } else if (cmd == "click") {  // click BUTTON or WINDOW/BUTTON
    QObject* owner = A.contains('/') ? m.findChild<QWidget*>(A.section('/', 0, 0)) : &m;
    owner->findChild<QAbstractButton*>(A.section('/', -1))->click();
  } else if (cmd == "do") {
    m.action(A)->trigger();
  } else if (cmd == "mode") {
    m.setProgramMode(a == "DC" ? tavrin::ProgramMode::DC : tavrin::ProgramMode::LC);
  } else if (cmd == "gather") {
    const bool taken = m.gather();
    out << "  gather: " << (taken ? "taken" : "refused") << "\n";
  } else if (cmd == "param" && a == "NLC") {
    m.session().params.NLC = std::stoi(rest);
  } else if (cmd == "param") {
    tavrin::setScalar(m.session().params, a, std::stod(rest));
  } else if (cmd == "adjust") {
    m.session().params.adjustKeys[std::stoi(a)] = rest[0];
  } else if (cmd == "curve") {  // curve ROW band l1 l2 x1 x2 y1 y2 el3
    auto& c = m.session().params.curves[std::stoi(a)];
    std::istringstream v(rest);
    v >> c.band >> c.l1 >> c.l2 >> c.x1 >> c.x2 >> c.y1 >> c.y2 >> c.el3;
  } else if (cmd == "name") {  // name lci|dci|lco|dco NAME
    auto& app = m.session().app;
    (a == "lci" ? app.lciName : a == "dci" ? app.dciName : a == "lco" ? app.lcoName : app.dcoName) = rest;
  } else if (cmd == "display") {  // display C=TEXT|C=TEXT
    std::map<std::string, std::string> texts;
    for (const QString& p : qs(line.substr(8)).split('|')) texts[str(p.section('=', 0, 0))] = str(p.section('=', 1));
    m.applyDisplayTexts(texts);
  } else if (cmd == "answer") {  // the transfer question, when it shows
    whenShown([&m] { return static_cast<QWidget*>(m.findChild<frmTransfer*>("frmTransfer")); },
              [a](QWidget* dlg) { dlg->findChild<QAbstractButton*>(qs(a))->click(); });
  } else if (cmd == "reply") {  // the answer to questions
    catcher.answer = a == "yes";
  } else if (cmd == "label") {  // label LABEL or WINDOW/LABEL
    QTest::mouseClick(A.contains('/') ? control<QLabel>(A) : m.fieldLabel(A), Qt::LeftButton);
  } else if (cmd == "topic") {  // a parameter's help asked for by number
    emit m.parameterHelpRequested(std::stoi(a));
  } else if (cmd == "esc") {
    QTest::keyClick(m.findChild<QWidget*>(A), Qt::Key_Escape);
  } else if (cmd == "indivhelp") {  // the individual help window, and whether it is as high as its lines
    frmIndivHlp& h = indivHelpWindow(m);
    const bool fits = h.height() == h.lines().size() * h.lineHeight() + frmIndivHlp::kMargin;
    out << "  individual help " << m.findChildren<frmIndivHlp*>().size() << (h.isVisible() ? " shown " : " hidden ")
        << str(h.windowTitle()) << (fits ? " fits " : " does not fit ") << h.lines().size() << " lines\n";
    for (const QString& l : h.lines()) out << "    " << str(l) << "\n";
  } else if (cmd == "texts") {  // the labels and buttons of a window
    QWidget* dlg = a == "frmCritPots"   ? &m.critPotsWindow()
                   : a == "frmTransfer" ? static_cast<QWidget*>(&m.transferWindow())
                                        : static_cast<QWidget*>(&shell::aboutWindow(m));
    out << "  " << a << " \"" << str(dlg->windowTitle()) << "\"" << (dlg->isModal() ? " modal" : "") << "\n";
    for (QWidget* c : dlg->findChildren<QWidget*>()) {
      auto* l = qobject_cast<QLabel*>(c);
      auto* b = qobject_cast<QAbstractButton*>(c);
      if ((l || b) && c->window() == dlg)
        out << "    " << str(c->objectName()) << ": " << str(l ? l->text() : b->text()) << "\n";
    }
  } else if (cmd == "copy") {
    QFile::remove(path(rest));
    if (!QFile::copy(QString(TAVRIN_SOURCE_DIR) + "/" + A, path(rest))) out << "  copy failed\n";
  } else if (cmd == "write" || cmd == "exec") {  // write|exec NAME TEXT, \n for line ends; exec: a program
    R.replace("$TMP", tmp()).replace("$BIN", TAVRIN_BINARY_DIR).replace("\\r", "\r").replace("\\n", "\n");
    QFile::remove(path(a));  // a link is replaced, never written through
    tavrin::testing_support::spit(str(path(a)), str(R));
    if (cmd == "exec") QFile::setPermissions(path(a), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  } else if (cmd == "link") {  // link NAME [TARGET]: another name for TARGET, else for the folder
    QFile::link(rest.empty() ? tmp() : R.replace("$BIN", TAVRIN_BINARY_DIR), path(a));
  } else if (cmd == "dump") {  // a window's controls
    out << win::dump(m.findChild<QWidget*>(A), tmp());
  } else if (cmd == "wait") {  // until the runs have ended
    if (!win::waitForRuns(m)) out << "  runs still going\n";
  } else if (cmd == "contours") {  // contours on|off: as while a map is computed
    m.session().app.contourRunning = a == "on";
  } else if (cmd == "clearerrors") {  // as if no report had failed
    m.session().app.readError = m.session().dcResults.dcErrorSeen = false;
  } else if (cmd == "displaylco") {
    out << "  displayed: " << (displayLco(m) ? "yes" : "no") << "\n";
  } else if (cmd == "results") {  // what reading reports left, and the windows shown
    const Session& s = m.session();
    out << "  results lco=" << s.app.lcoName << " adjusted";
    for (int16_t k : s.dcResults.adjustedParams) out << " " << k;
    out << (s.dcResults.dcErrorSeen ? " dcError" : "") << (s.dcoChosenByUser ? " chosen" : "") << " page "
        << s.curve.page << " history " << num(s.history.generation1.scalars[11]) << " NLC " << s.params.NLC
        << " l2 " << num(s.params.curves[3].l2) << " shown";
    for (QWidget* c : m.findChildren<QWidget*>())
      if (c->isWindow() && c->isVisible()) out << " " << str(c->objectName());
    out << (plotLCWindow(m).isVisible() ? " plot\n" : "\n");
  } else if (cmd == "dialog") {  // menu item, then the dialog as the user fills it
    frmIO_all& d = m.fileDialog();
    if (d.folder() != tmp()) d.setFolder(tmp());
    m.action(A)->trigger();
    report(false);
    if (d.isVisible() && !rest.empty()) {
      out << "  > accept " << rest << "\n";
      d.setName(R.replace("$TMP", tmp()));
      d.accept();
    }
  } else if (cmd == "typein") {  // a name typed into the dialog in this folder
    m.fileDialog().setFolder(tmp());
    m.fileDialog().setName(A);
  } else if (cmd == "cut") {  // cut A B: B is the first third of A
    const auto text = tavrin::testing_support::slurp(str(path(a)));
    tavrin::testing_support::spit(str(path(rest)), text.substr(0, text.size() / 3));
  } else if (cmd == "load") {  // a saved file as the reader takes it: the values that differ from the set
    const std::string p = str(path(a));
    const bool dci = a.ends_with(".dci");
    const auto layout = dci ? tavrin::probeDci(p) : tavrin::probeLci(p);
    const auto got = dci ? tavrin::readDci(p, {}, layout) : tavrin::readLci(p, {}, layout);
    out << "  load " << a << (layout == tavrin::Layout::Current ? ": current" : ": older");
    for (const auto& f : tavrin::scalarFields())
      if (f.use != (dci ? tavrin::FieldUse::LC : tavrin::FieldUse::DC) &&
          *tavrin::getScalar(got.params, f.name) != *tavrin::getScalar(m.session().params, f.name))
        out << " " << f.name << "=" << num(*tavrin::getScalar(got.params, f.name));
    out << "\n";
  } else if (cmd == "same") {  // same A B: both files hold the same values
    out << "  " << a << (fileValues(str(path(a))) == fileValues(str(path(rest))) ? " == " : " != ") << rest << "\n";
  } else if (cmd == "reject") {
    m.fileDialog().reject();
  } else if (cmd == "file") {  // a file's text, or that it is not there
    const std::string name = rest.empty() ? a : a + " " + rest;
    const std::string text = str(qs(tavrin::testing_support::slurp(str(path(name)))).replace(tmp(), "$TMP"));
    size_t hash = 14695981039346656037u;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211u;
    const std::string shown = text.size() < 150 ? local(qs(text).replace("\r", "\\r"))
                              : std::to_string(text.size()) + " bytes, hash " + std::to_string(hash);
    out << "  file " << name << ": " << (QFile::exists(path(name)) ? shown : "(none)") << "\n";
  } else if (cmd == "drop") {  // a file dragged onto the window
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path(a))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m.centralWidget(), &enter);
    QDropEvent ev(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m.centralWidget(), &ev);
    out << "  drop: " << (enter.isAccepted() ? "taken" : "refused") << "\n";
  } else if (cmd == "recent") {  // the File menu's list as it opens
    emit m.findChild<QMenu*>("RecentFiles")->aboutToShow();
    for (const QString& f : shell::recentFiles()) out << "  recent " << local(f) << "\n";
  } else if (cmd == "geometry") {  // geometry X Y W H, or only what it is
    const QStringList g = R.split(' ');
    if (!a.empty()) m.setGeometry(A.toInt(), g[0].toInt(), g[1].toInt(), g[2].toInt());
    QApplication::processEvents();
    out << "  size " << m.width() << "x" << m.height() << "\n";
  } else if (calls.count(cmd)) {
    (m.*calls.at(cmd))();
  } else {
    out << "  unknown command\n";
  }
  report(false);
}

// Replays tests/gui/golden/<name> and compares the transcript with it.
inline void expectScenario(const std::string& name) {
  Scenario s;
  s.fresh(false);
  const auto text = tavrin::testing_support::slurp(tavrin::testing_support::goldenPath("gui", name));
  ASSERT_FALSE(text.empty()) << name;
  tavrin::testing_support::expectGolden("gui", name, s.replay(text));
}

}  // namespace mwtest
