// Figure export asks before it replaces a file. The main window's refusals
// and questions are the transcript main_safety.txt (main_scenarios.cpp); the
// observed-data window's are rows of golden/win_datafile.tsv.
#include <QApplication>
#include <QDialog>

#include "PlotCommands.h"
#include "frmPlotLC.h"
#include "win_support.h"

using mwtest::whenShown;
using tavrin::testing_support::slurp;
using tavrin::testing_support::spit;

TEST(InputSafety, ExportAsksBeforeReplacingAndGoesBackToTheDialog) {
  mwtest::MainWindow w;
  QTemporaryDir tmp;
  mwtest::MessageCatcher messages;
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
