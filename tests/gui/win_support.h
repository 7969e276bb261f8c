#pragma once
// Shared by the window tests: the main window with every feature, its
// messages caught, the stand-ins and the examples, the file dialog filled as
// a user would, a dump of a window's controls (object name, shown text and
// state) for golden files, and the runner of step tables.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "InstallCommands.h"
#include "PlotWindow.h"
#include "RunCommands.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "test_files.h"

namespace mwtest {

// The main window as the program builds it: the editor and every feature.
struct MainWindow : frmMain {
  MainWindow() { installCommands(*this); }
};

inline bool isBlue(QWidget* widget) { return widget->palette().color(QPalette::Text) == QColor(0, 0, 255); }

// Collects every message the editor would have shown in a box.
// Catches messages and questions (answered with `answer`), so no test
// waits on a modal box.
struct MessageCatcher {
  QStringList messages;
  QStringList questions;
  bool answer = false;
  MessageCatcher() {
    frmMain::setMessageSink([this](const QString& t) { messages << t; });
    frmMain::setQuestionSink([this](const QString& t) {
      questions << t;
      return answer;
    });
  }
  ~MessageCatcher() {
    frmMain::setMessageSink({});
    frmMain::setQuestionSink({});
  }
};

// Runs `fn` once `find()` returns a visible widget (for modal windows).
template <typename Find, typename Fn>
void whenShown(Find find, Fn fn) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, find, fn] {
    QWidget* target = find();
    if (target && target->isVisible()) {
      timer->stop();
      timer->deleteLater();
      fn(target);
    }
  });
  timer->start();
}

}  // namespace mwtest

namespace win {

using tavrin::testing_support::expectGolden;

inline const QString kStandins = QString(TAVRIN_BINARY_DIR) + "/src/standins/";
inline const QString kSolvex = kStandins + "Solvex";
inline const QString kExamples = QString(TAVRIN_SOURCE_DIR) + "/examples/";

inline std::string str(const QStringList& l) { return l.join("|").toStdString(); }

// The name in the file dialog (in `folder` when given), then OK.
inline void choose(frmMain& w, const QString& name, const QString& folder = {}) {
  frmIO_all& d = w.fileDialog();
  if (!folder.isEmpty()) d.setFolder(folder);
  d.setName(name);
  d.accept();
}
inline void load(frmMain& w, const char* action, const QString& folder, const QString& name) {
  w.action(action)->trigger();
  choose(w, name, folder);
}
inline bool waitForRuns(frmMain& w) {
  return QTest::qWaitFor([&] { return runcommands::runsInProgress(w) == 0; }, 60000);
}
inline void typeInto(QLineEdit* e, const QString& s) {
  ASSERT_NE(e, nullptr);
  e->selectAll();
  if (s.isEmpty()) QTest::keyClick(e, Qt::Key_Delete);
  else QTest::keyClicks(e, s);
}
inline void writeFile(const QString& path, const QByteArray& text, bool executable = false) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(text);
  f.close();
  if (executable) f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// One line per named control in creation order: kind, name, text and the
// states that differ from shown, enabled, unchecked. `root` is written ROOT.
inline std::string dump(QWidget* w, const QString& root = {}) {
  QString out = "title " + w->windowTitle() + "\n";
  for (QWidget* c : w->findChildren<QWidget*>()) {
    const QString name = c->objectName();
    if (name.isEmpty() || name.startsWith("qt_")) continue;
    QString line;
    if (auto* l = qobject_cast<QLabel*>(c)) line = "label " + name + " " + l->text();
    else if (auto* e = qobject_cast<QLineEdit*>(c)) line = "text " + name + " [" + e->text() + "]";
    else if (auto* b = qobject_cast<QComboBox*>(c))
      line = QString("combo %1 [%2] of %3").arg(name, b->currentText()).arg(b->count());
    else if (auto* a = qobject_cast<QAbstractButton*>(c))
      line = "button " + name + " " + a->text() + (a->isChecked() ? " (checked)" : "");
    else continue;
    if (!c->isVisibleTo(w)) line += " (hidden)";
    if (!c->isEnabled()) line += " (disabled)";
    out += line.replace('\n', "\\n") + "\n";
  }
  if (!root.isEmpty()) out.replace(root, "ROOT");
  return out.toStdString();
}

// A plot window: caption, check marks, the last drawing's labels and note.
inline std::string dumpPlot(PlotWindow& p) {
  p.plotArea()->grab();
  std::string out = "title " + p.windowTitle().toStdString() + "\nchecked";
  for (QAction* a : p.findChildren<QAction*>())
    if (a->isChecked()) out += " " + a->objectName().toStdString();
  out += "\n";
  for (const tavrin::PlotLabel& l : p.lastDrawing().labels)
    out += l.name + " [" + l.text + "]" + (l.visible ? "" : " (hidden)") + "\n";
  return out + "note [" + p.lastDrawing().note + "]\n";
}


// A main window in DC mode whose messages and questions are collected, and
// a script of user steps (rows of a case table) run on one of its windows:
// each step and what it said goes to a transcript compared with a golden.
//   type NAME TEXT | check NAME 0/1 | click NAME | esc NAME | combo NAME N |
//   set CONTROL TEXT (the main editor's field) | menu ACTION | dump |
//   window NAME (later steps act on it; it exists once) | fresh (a new main window)
// Any other step goes to the fixture's `special`.
class WindowScript : public ::testing::Test {
 protected:
  WindowScript() { step({"fresh"}), log.clear(); }
  tavrin::ParameterSet& params() { return main->session().params; }
  template <typename W>
  W& open(const char* action, const char* name) {
    main->action(action)->trigger();
    W* w = main->findChild<W*>(name);
    EXPECT_TRUE(w && w->isVisible()) << name;
    window = w;
    return *w;
  }
  template <typename T = QWidget>
  T* find(const std::string& name) {
    T* c = window->findChild<T*>(QString::fromStdString(name));
    if (!c) c = main->findChild<T*>(QString::fromStdString(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  virtual void special(const std::vector<std::string>& row) { ADD_FAILURE() << "unknown step " << row[0]; }
  // What the fixture adds to the transcript after each step.
  virtual std::string state() { return ""; }

  void step(const std::vector<std::string>& r) {
    const std::string& op = r[0];
    const QString a = r.size() > 2 ? QString::fromStdString(r[2]) : QString();
    if (op == "type") typeInto(find<QLineEdit>(r[1]), a);
    else if (op == "check") find<QAbstractButton>(r[1])->setChecked(a == "1");
    else if (op == "click") QTest::mouseClick(find<QAbstractButton>(r[1]), Qt::LeftButton);
    else if (op == "esc") QTest::keyClick(find(r[1]), Qt::Key_Escape);
    else if (op == "combo") find<QComboBox>(r[1])->setCurrentIndex(a.toInt());
    else if (op == "set") main->setFieldText(QString::fromStdString(r[1]), a);
    else if (op == "menu") main->action(QString::fromStdString(r[1]))->trigger();
    else if (op == "window") {
      window = main->findChild<QWidget*>(QString::fromStdString(r[1]));
      ASSERT_NE(window, nullptr) << r[1];
      EXPECT_EQ(main->findChildren<QWidget*>(QString::fromStdString(r[1])).size(), 1) << r[1];
    } else if (op == "fresh") {
      main.reset();
      catcher.messages.clear();
      said = 0;
      main = std::make_unique<mwtest::MainWindow>();
      main->setProgramMode(tavrin::ProgramMode::DC);
      window = main.get();
    } else if (op != "dump") special(r);
    log += ">";
    for (const std::string& c : r) log += " " + c;
    log += "\n";
    for (; said < catcher.messages.size(); ++said)
      log += "  said: " + QString(catcher.messages[said]).replace(root, "ROOT").replace('\n', "\\n").toStdString() + "\n";
    if (op == "dump") log += dump(window, root);
    else if (window != main.get()) log += "  " + std::string(window->isVisible() ? "shown" : "hidden") + state() + "\n";
  }
  // Runs tests/gui/<name>.tsv, a blank-line-free list of steps, against its golden.
  void runScript(const std::string& name) {
    for (const auto& r : tavrin::testing_support::tableRows(tavrin::testing_support::goldenPath("gui", name + ".tsv")))
      step(r);
    expectGolden("gui", name + ".txt", log);
  }

  mwtest::MessageCatcher catcher;
  QStringList& messages = catcher.messages;
  std::unique_ptr<frmMain> main;
  QWidget* window = nullptr;
  QString root = "\x01";  // a temporary folder, written ROOT
  std::string log;
  qsizetype said = 0;
};

}  // namespace win
