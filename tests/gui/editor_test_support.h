#pragma once
// Shared set-up of the DC editor window tests: a main window in DC mode whose
// message boxes are collected instead of shown.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include "InstallCommands.h"
#include "frmMain.h"

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frmMain::setMessageSink([this](const QString& text) { messages << text; });
    main = std::make_unique<frmMain>();
    installCommands(*main);
    main->setProgramMode(tavrin::ProgramMode::DC);
  }
  void TearDown() override {
    main.reset();
    frmMain::setMessageSink({});
  }
  tavrin::ParameterSet& params() { return main->session().params; }

  // Replaces a text box's contents as typing would.
  static void type(QLineEdit* e, const QString& text) {
    ASSERT_NE(e, nullptr);
    e->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(e, Qt::Key_Delete);
    } else {
      QTest::keyClicks(e, text);
    }
  }
  static void click(QWidget* window, const char* button) {
    auto* b = window->findChild<QPushButton*>(button);
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
  }

  std::unique_ptr<frmMain> main;
  QStringList messages;
};
