// "Set Output File" of the contour window never offers the input file the
// file dialog last showed as the place to write the grid.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ShellCommands.h"
#include "frmCalcContourData.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "frmMain_test_support.h"

TEST(ContourOutputName, OffersATextFileNotTheLoadedInput) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  ASSERT_TRUE(QFile::copy(QString(TAVRIN_SOURCE_DIR) + "/examples/example.dci", tmp.filePath("example.dci")));
  mwtest::MessageCatcher messages;
  mwtest::MainWindow w;
  ASSERT_TRUE(shell::loadInputFile(w, tmp.filePath("example.dci")));
  frmIO_all& d = w.fileDialog();
  ASSERT_EQ(d.name(), "example.dci");

  frmCalcContourData& f = frmCalcContourData::of(w);
  f.setOutputFile();
  EXPECT_EQ(d.op(), FileOp::SaveContour);
  EXPECT_EQ(d.name(), "Contour.txt");
  d.setName("grid.txt");
  d.accept();
  EXPECT_EQ(f.outputName(), "grid.txt");

  // After another load the last output is offered again.
  ASSERT_TRUE(shell::loadInputFile(w, tmp.filePath("example.dci")));
  f.setOutputFile();
  EXPECT_EQ(d.name(), "grid.txt");
  // A text file already in the box stays.
  d.setName("other.txt");
  d.reject();
  f.setOutputFile();
  EXPECT_EQ(d.name(), "other.txt");
  d.reject();
  EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join("|").toStdString();
}
