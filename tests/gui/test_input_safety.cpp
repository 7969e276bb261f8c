// Input refusals outside the main window's own fields: the band box of
// Datafiles, the figure export and data files. The main window's refusals
// and questions are the transcript main_safety.txt (main_scenarios.cpp).
#include <QApplication>
#include <QDialog>

#include "EditorWindows.h"
#include "PlotCommands.h"
#include "frmDataFile.h"
#include "frmPlotLC.h"
#include "win_support.h"

using namespace mwtest;
using tavrin::testing_support::slurp;
using tavrin::testing_support::spit;

namespace {
struct InputSafety : ::testing::Test {
  MainWindow w;
  QTemporaryDir tmp;
  MessageCatcher messages;
  std::string path(const char* name) const { return tmp.filePath(name).toStdString(); }
  QString last() const { return messages.messages.isEmpty() ? QString() : messages.messages.back(); }
};
}  // namespace

TEST_F(InputSafety, ABandTooLargeInDatafilesIsRefusedOnceAndKeepsTheWavelength) {
  w.setProgramMode(tavrin::ProgramMode::DC);
  frmDataFile& data = dataFileWindow(w);
  data.showWindow();
  auto* band = qobject_cast<QLineEdit*>(data.rowControl("Text2", 3));
  auto* wavel = qobject_cast<QLineEdit*>(data.rowControl("Text8", 3));
  ASSERT_TRUE(band && wavel);
  band->setText("7");
  const QString shown = wavel->text();
  band->setText("1e400");  // pasted whole
  ASSERT_EQ(messages.messages.size(), 1);
  EXPECT_TRUE(last().contains("(Text2_3)") && last().contains("\"1e400\"")) << last().toStdString();
  EXPECT_EQ(wavel->text(), shown);
}

TEST_F(InputSafety, ExportAsksBeforeReplacingAndGoesBackToTheDialog) {
  frmPlotLC& plot = plotLCWindow(w);
  const QString target = tmp.filePath("plot.png");
  spit(target.toStdString(), "keep");
  int shown = 0;
  // Fills the export dialog each time it shows; a declined question brings
  // it back, and the second showing is cancelled unless the answer is yes.
  std::function<void()> fill = [&] {
    whenShown([] { return QApplication::activeModalWidget(); }, [&](QWidget* dlg) {
      if (++shown == 2 && !messages.answer) return static_cast<QDialog*>(dlg)->reject();
      dlg->findChild<QLineEdit*>("ExportPath")->setText(target);
      if (shown == 1) fill();
      static_cast<QDialog*>(dlg)->accept();
    });
  };
  fill();
  plot.findChild<QAction*>("ExportImage")->trigger();
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(messages.questions, QStringList{"plot.png already exists. Replace it?"});
  EXPECT_EQ(slurp(target.toStdString()), "keep");

  messages.answer = true;
  shown = 1;  // one round: accept and replace
  fill();
  plot.findChild<QAction*>("ExportImage")->trigger();
  EXPECT_EQ(slurp(target.toStdString()).substr(0, 4), "\x89PNG");
}

TEST_F(InputSafety, ADataFileFailureNamesTheFileAndTheLine) {
  spit(path("obs.csv"), "phase,flux\r\n0.1,1.0\r\n0.5,abc\r\n0.6,1.2\r\n");
  w.setProgramMode(tavrin::ProgramMode::DC);
  w.session().currentCurve = 3;
  frmIO_all& d = w.fileDialog();
  d.setFolder(tmp.path());
  d.open(FileOp::LoadDcData, "Load D data", {"*.csv"});
  d.setName("obs.csv");
  d.accept();
  EXPECT_EQ(last().split('\n'), (QStringList{"Error 321: Invalid file format.", "File: " + tmp.filePath("obs.csv"),
                                             "line 3: \"0.5,abc\""}));
  EXPECT_TRUE(w.session().params.curves[3].points.empty());
}
