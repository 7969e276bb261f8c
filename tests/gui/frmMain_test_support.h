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

inline QComboBox* combo(frmMain& w, const QString& name) { return qobject_cast<QComboBox*>(w.field(name)); }


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
