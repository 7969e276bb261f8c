// Nothing changes behind the user's back: typed text that is not a number is
// refused (never taken as its leading number, never ending the program),
// saves offer only their own kind's file and ask before replacing another,
// and a run without a file says what to do. All on real windows.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include "EditorWindows.h"
#include "PlotCommands.h"
#include "RunCommands.h"
#include "frmDataFile.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "frmMain_test_support.h"
#include "frmPlotLC.h"

using namespace mwtest;
using tavrin::ProgramMode;

namespace {

QByteArray bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& content) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(content);
}

struct InputSafety : ::testing::Test {
  mwtest::MainWindow w;
  frmIO_all& d = w.fileDialog();
  QTemporaryDir tmp;
  MessageCatcher messages;
  QStringList questions;
  bool answer = false;

  InputSafety() {
    frmMain::setQuestionSink([this](const QString& q) {
      questions << q;
      return answer;
    });
    w.setFieldText("Combo3", "2: detached");  // the start-up potentials suit a detached system
  }
  ~InputSafety() override { frmMain::setQuestionSink({}); }

  QString path(const QString& name) const { return tmp.filePath(name); }
  // Menu item, then the dialog as the user fills it.
  void viaDialog(const char* action, const QString& name) {
    d.setFolder(tmp.path());
    w.action(action)->trigger();
    ASSERT_TRUE(d.isVisible()) << action;
    d.setName(name);
    d.accept();
  }
  QString last() const { return messages.messages.isEmpty() ? QString() : messages.messages.back(); }
  bool names(const QString& message, const QString& control, const QString& text) const {
    return message.contains("(" + control + ")") && message.contains("\"" + text + "\"");
  }
};

}  // namespace

TEST_F(InputSafety, NumbersTooLargeInLiveHandlersAreRefusedOnce) {
  // L1 or L2 on the switch to DC: the switch does not happen.
  for (const char* control : {"Text54", "Text55"}) {
    const QString before = w.fieldText(control);
    type(w, control, "1e400");
    w.findChild<QRadioButton*>("Option2")->click();
    EXPECT_TRUE(names(last(), control, "1e400")) << last().toStdString();
    EXPECT_EQ(w.session().mode, ProgramMode::LC);
    EXPECT_TRUE(w.findChild<QRadioButton*>("Option1")->isChecked());
    type(w, control, before);
  }
  EXPECT_EQ(messages.messages.size(), 2);

  // The potentials, the mass ratio and F1/F2 while Crit. Pot'ls is open.
  w.action("critpotls")->trigger();
  for (const char* control : {"Text46", "Text47", "Text48"}) {
    const QString before = w.fieldText(control);
    messages.messages.clear();
    type(w, control, "1e400");
    EXPECT_EQ(messages.messages.size(), 1) << control;
    EXPECT_TRUE(names(last(), control, "1e400")) << last().toStdString();
    type(w, control, before);
  }
  for (const char* control : {"Text36", "Text37"}) {
    messages.messages.clear();
    type(w, control, "1e400");
    type(w, "Text46", "6.2");  // three refreshes, one message
    EXPECT_EQ(messages.messages.size(), 1) << control;
    EXPECT_TRUE(names(last(), control, "1e400")) << last().toStdString();
    type(w, control, "1");
  }

  // The band box of Datafiles: the wavelength stays.
  w.setProgramMode(ProgramMode::DC);
  frmDataFile& data = dataFileWindow(w);
  data.showWindow();
  auto* band = qobject_cast<QLineEdit*>(data.rowControl("Text2", 3));
  auto* wavel = qobject_cast<QLineEdit*>(data.rowControl("Text8", 3));
  ASSERT_TRUE(band && wavel);
  band->setText("7");
  const QString shown = wavel->text();
  messages.messages.clear();
  band->setText("1e400");  // pasted whole
  EXPECT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(names(last(), "Text2_3", "1e400")) << last().toStdString();
  EXPECT_EQ(wavel->text(), shown);
}

TEST_F(InputSafety, LettersInANumberFieldAreRefusedAtSaveAndRun) {
  viaDialog("SaveLCI", "good.lci");
  ASSERT_TRUE(messages.messages.isEmpty()) << last().toStdString();
  const QByteArray saved = bytes(path("good.lci"));
  struct Case {
    const char* control;
    const char* text;
  };
  for (const Case& c : {Case{"Text39", "abc"}, Case{"Text42", "5300K"}, Case{"Text28", "30x"}, Case{"Text35", "1e400"}}) {
    const QString before = w.fieldText(c.control);
    w.setFieldText(c.control, c.text);
    messages.messages.clear();
    viaDialog("SaveLCI", "bad.lci");
    EXPECT_TRUE(names(last(), c.control, c.text)) << last().toStdString();
    EXPECT_FALSE(QFile::exists(path("bad.lci")));
    w.action("Save")->trigger();  // onto the current file: refused as well
    EXPECT_EQ(bytes(path("good.lci")), saved);
    w.action("RunStandard")->trigger();
    w.action("RunCustom")->trigger();
    EXPECT_EQ(messages.messages.size(), 4) << messages.messages.join("|").toStdString();
    EXPECT_EQ(runcommands::runsInProgress(w), 0);
    w.setFieldText(c.control, before);
  }
  EXPECT_TRUE(questions.isEmpty());
}

TEST_F(InputSafety, RunWithoutAFileSaysToSaveFirstAndOffersIt) {
  struct Case {
    ProgramMode mode;
    const char* action;
    const char* question;
    FileOp op;
  };
  for (const Case& c : {Case{ProgramMode::LC, "RunStandard", "Save the model as an LCI file first (File > Save File).", FileOp::SaveLci},
                        Case{ProgramMode::DC, "RunCustom", "Save the model as a DCI file first (File > Save File).", FileOp::SaveDci}}) {
    w.setProgramMode(c.mode);
    questions.clear();
    answer = false;
    w.action(c.action)->trigger();
    EXPECT_EQ(questions, QStringList{c.question});
    EXPECT_FALSE(d.isVisible());
    answer = true;
    w.action(c.action)->trigger();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.op(), c.op);
    EXPECT_EQ(d.name(), "");
    d.reject();
  }
  EXPECT_TRUE(messages.messages.isEmpty()) << last().toStdString();
}

TEST_F(InputSafety, ReplacingAnotherFileAsksFirst) {
  write(path("other.lci"), "keep");
  viaDialog("SaveLCI", "mine.lci");
  viaDialog("SaveLCI", "mine.lci");  // the current file: no question
  EXPECT_TRUE(questions.isEmpty());

  answer = false;
  viaDialog("SaveLCI", "other.lci");
  EXPECT_EQ(questions, QStringList{"other.lci already exists. Replace it?"});
  EXPECT_EQ(bytes(path("other.lci")), "keep");
  EXPECT_TRUE(d.isVisible()) << "the dialog stays for another name";
  EXPECT_EQ(w.session().app.lciName, "mine.lci");
  d.reject();

  answer = true;
  viaDialog("SaveLCI", "other.lci");
  EXPECT_NE(bytes(path("other.lci")), "keep");
  EXPECT_EQ(w.session().app.lciName, "other.lci");
  // A DCI saved over the LCI of the same name is another file too.
  questions.clear();
  answer = false;
  viaDialog("SaveDCI", "other.lci");
  EXPECT_EQ(questions.size(), 1);
  EXPECT_TRUE(messages.messages.isEmpty()) << last().toStdString();
}

TEST_F(InputSafety, ExportAsksBeforeReplacingAndGoesBackToTheDialog) {
  frmPlotLC& plot = plotLCWindow(w);
  const QString target = path("plot.png");
  write(target, "keep");
  int shown = 0;
  std::function<void()> fill = [&] {
    whenShown([] { return QApplication::activeModalWidget(); },
              [&](QWidget* dlg) {
                ++shown;
                if (shown == 2 && !answer) {
                  static_cast<QDialog*>(dlg)->reject();
                  return;
                }
                dlg->findChild<QLineEdit*>("ExportPath")->setText(target);
                if (shown == 1) fill();  // declining brings the dialog back
                static_cast<QDialog*>(dlg)->accept();
              });
  };
  answer = false;
  fill();
  plot.findChild<QAction*>("ExportImage")->trigger();
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(questions, QStringList{"plot.png already exists. Replace it?"});
  EXPECT_EQ(bytes(target), "keep");

  answer = true;
  shown = 1;  // one round: accept and replace
  whenShown([] { return QApplication::activeModalWidget(); },
            [&](QWidget* dlg) {
              dlg->findChild<QLineEdit*>("ExportPath")->setText(target);
              static_cast<QDialog*>(dlg)->accept();
            });
  plot.findChild<QAction*>("ExportImage")->trigger();
  EXPECT_TRUE(bytes(target).startsWith("\x89PNG"));
}

TEST_F(InputSafety, LoadFailuresNameTheFileAndTheLine) {
  write(path("notes.lci"), "Shopping list\nbread\n");
  viaDialog("LoadLCI", "notes.lci");
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_EQ(last().split('\n'), (QStringList{"Error 62: Input past end of file.", "File: " + path("notes.lci")}));
  EXPECT_EQ(w.windowTitle(), "Tavrin - [untitled]");
  w.action("Save")->trigger();
  EXPECT_EQ(d.name(), "") << "the file that failed is not offered";
  d.reject();

  write(path("obs.csv"), "phase,flux\r\n0.1,1.0\r\n0.5,abc\r\n0.6,1.2\r\n");
  w.setProgramMode(ProgramMode::DC);
  w.session().currentCurve = 3;
  d.setFolder(tmp.path());
  d.open(FileOp::LoadDcData, "Load D data", {"*.csv"});
  d.setName("obs.csv");
  d.accept();
  EXPECT_EQ(last().split('\n'),
            (QStringList{"Error 321: Invalid file format.", "File: " + path("obs.csv"), "line 3: \"0.5,abc\""}));
  EXPECT_TRUE(w.session().params.curves[3].points.empty());
}
