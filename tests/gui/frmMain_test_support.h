#pragma once
// Small helpers shared by the main-window tests.
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>

#include "InstallCommands.h"
#include "frmMain.h"

namespace mwtest {

// The main window as the program builds it: the editor and every feature.
struct MainWindow : frmMain {
  MainWindow() { installCommands(*this); }
};

inline QLineEdit* text(frmMain& w, const QString& name) { return qobject_cast<QLineEdit*>(w.field(name)); }
inline QComboBox* combo(frmMain& w, const QString& name) { return qobject_cast<QComboBox*>(w.field(name)); }

// Replaces the field's text by typing, one key at a time, as a user would.
inline void type(frmMain& w, const QString& name, const QString& s) {
  QLineEdit* e = text(w, name);
  e->selectAll();
  QTest::keyClicks(e, s);
}

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
