// The one file dialog: its controls, patterns, folder and drive lists, and
// how OK, Enter, double-click, Cancel and Escape end it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include "frmIO_all.h"
#include "frmMain.h"
#include "frmMain_test_support.h"

namespace {

QStringList items(QListWidget* l) {
  QStringList out;
  for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
  return out;
}

struct DialogFixture : ::testing::Test {
  mwtest::MainWindow w;
  frmIO_all& d = w.fileDialog();
  QTemporaryDir tmp;
  mwtest::MessageCatcher messages;
  QListWidget* file1 = d.findChild<QListWidget*>("File1");
  QListWidget* dir1 = d.findChild<QListWidget*>("Dir1");
  QLineEdit* text1 = d.findChild<QLineEdit*>("Text1");
  QComboBox* combo1 = d.findChild<QComboBox*>("Combo1");
  QComboBox* drive1 = d.findChild<QComboBox*>("Drive1");
  QLabel* label4 = d.findChild<QLabel*>("Label4");
  QPushButton* ok = d.findChild<QPushButton*>("Command1");
  QPushButton* cancel = d.findChild<QPushButton*>("Command2");

  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(file1 && dir1 && text1 && combo1 && drive1 && label4 && ok && cancel);
    QDir(tmp.path()).mkdir("Sub");
    QDir(tmp.path()).mkdir("empty");
    for (const char* name : {"b.lci", "A.LCI", "c.dci", "Makefile", "Sub/inner.lci"}) {
      QFile f(tmp.filePath(name));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("x");
    }
  }
  void choosePattern(int i) {
    combo1->setCurrentIndex(i);
    emit combo1->activated(i);
  }
  QString dataFolder() const { return QString::fromStdString(w.session().app.dataFolder); }
};

}  // namespace

TEST_F(DialogFixture, OpenSetsCaptionsPatternsPresetAndFolder) {
  QStringList labels;
  for (QLabel* l : d.findChildren<QLabel*>())
    if (l != label4) labels << l->text();
  labels.sort();
  EXPECT_EQ(labels, (QStringList{"Directories:", "Drives:", "File Name:", "List Files of Type:"}));
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_EQ(cancel->text(), "Cancel");

  d.setFolder(tmp.path());
  // Caption, operation, patterns and preset from the menu items: main_files.txt.
  d.open(FileOp::LoadLci, "Load LCI File", {"*.lci", "*.*"}, "b.lci");
  EXPECT_TRUE(d.isVisible());
  EXPECT_FALSE(d.isModal());
  EXPECT_EQ(text1->text(), "b.lci");
  EXPECT_EQ(label4->text(), QDir::toNativeSeparators(tmp.path()));
  // Patterns match without regard to case, sorted by name; "*.*" lists every
  // file, also those without an extension.
  EXPECT_EQ(items(file1), (QStringList{"A.LCI", "b.lci"}));
  choosePattern(1);
  EXPECT_EQ(items(file1), (QStringList{"A.LCI", "b.lci", "c.dci", "Makefile"}));
  d.open(FileOp::LoadDci, "Load DCI", {"*.dci", "*.*"});
  EXPECT_EQ(items(file1), QStringList{"c.dci"});

  d.resize(600, 380);
  const QImage img = d.grab().toImage();
  EXPECT_FALSE(img.isNull());
  if (const char* out = std::getenv("TAVRIN_SHOT_DIR")) img.save(QString(out) + "/frmIO_all.png");
}

TEST_F(DialogFixture, FolderChangeFillsFileNameWithTheFirstFileOrNothing) {
  d.open(FileOp::LoadLci, "Load LCI File", {"*.lci", "*.*"});
  d.setFolder(tmp.path());
  EXPECT_EQ(text1->text(), "A.LCI");
  EXPECT_EQ(label4->text(), QDir::toNativeSeparators(tmp.path()));
  // The folder list shows the path down to the folder, then its sub-folders.
  const QStringList dirs = items(dir1);
  ASSERT_GE(dirs.size(), 3);
  EXPECT_EQ(dirs[dirs.size() - 2].trimmed(), "empty");
  EXPECT_EQ(dirs.last().trimmed(), "Sub");
  EXPECT_EQ(dir1->currentItem()->data(Qt::UserRole).toString(), tmp.path());

  emit dir1->itemActivated(dir1->item(dirs.size() - 1));  // double-click / Enter
  EXPECT_EQ(d.folder(), tmp.filePath("Sub"));
  EXPECT_EQ(text1->text(), "inner.lci");
  EXPECT_EQ(label4->text(), QDir::toNativeSeparators(tmp.filePath("Sub")));

  d.setFolder(tmp.filePath("empty"));
  EXPECT_EQ(text1->text(), "");
  EXPECT_EQ(file1->count(), 0);
  d.setFolder(tmp.filePath("gone/deeper"));  // falls back to its parent
  EXPECT_EQ(d.folder(), tmp.path());
}

TEST_F(DialogFixture, OkEnterAndDoubleClickPassTheNameAndStoreTheFolderCancelDoesNot) {
  QStringList got;
  d.setHandler(FileOp::LoadLci, [&](const QString& name) { got << name; });
  d.setHandler(FileOp::SaveDci, [&](const QString& name) { got << name; });
  d.setFolder(tmp.path());
  d.open(FileOp::LoadLci, "Load LCI File", {"*.lci", "*.*"});
  const QRect r0 = file1->visualItemRect(file1->item(0));
  QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, file1->visualItemRect(file1->item(1)).center());
  EXPECT_EQ(text1->text(), "b.lci");
  EXPECT_TRUE(got.isEmpty());
  EXPECT_TRUE(d.isVisible());
  QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, r0.center());
  QTest::mouseDClick(file1->viewport(), Qt::LeftButton, {}, r0.center());
  EXPECT_EQ(got, QStringList{"A.LCI"});
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(dataFolder(), QDir::toNativeSeparators(tmp.path()));

  d.setFolder(tmp.filePath("Sub"));
  d.open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
  text1->setText("new name.dci");
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(got.last(), "new name.dci");
  EXPECT_EQ(dataFolder(), QDir::toNativeSeparators(tmp.filePath("Sub")));
  EXPECT_FALSE(d.isVisible());

  d.open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
  text1->setText("entered.dci");
  QTest::keyClick(text1, Qt::Key_Return);
  EXPECT_EQ(got.last(), "entered.dci");
  EXPECT_FALSE(d.isVisible());

  // A full path typed into the name box names its own folder.
  d.open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
  text1->setText(tmp.filePath("x.dci"));
  d.accept();
  EXPECT_EQ(got.last(), "x.dci");
  EXPECT_EQ(dataFolder(), QDir::toNativeSeparators(tmp.path()));
  EXPECT_EQ(d.folder(), tmp.path());
  EXPECT_EQ(got.size(), 4);

  // Cancel, closing and Escape only hide it; it keeps its folder.
  d.setFolder(tmp.filePath("Sub"));
  d.open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  d.open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
  d.close();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(&w.fileDialog(), &d);
  d.open(FileOp::LoadLci, "Load LCI File", {"*.lci", "*.*"});
  EXPECT_EQ(d.folder(), tmp.filePath("Sub"));
  EXPECT_EQ(items(file1), QStringList{"inner.lci"});
  QTest::keyClick(&d, Qt::Key_Escape);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(got.size(), 4);
}

TEST_F(DialogFixture, DrivesListTheFileSystemRootsAndDataPatternsAreRemembered) {
  QStringList roots;
  for (int i = 0; i < drive1->count(); ++i) roots << drive1->itemData(i).toString();
  EXPECT_TRUE(roots.contains(QDir::rootPath()));
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
    EXPECT_TRUE(!v.isValid() || !v.isReady() || roots.contains(QDir::cleanPath(v.rootPath()))) << v.rootPath().toStdString();
  // The drive shown is the one holding the folder.
  d.setFolder(tmp.path());
  EXPECT_TRUE(tmp.path().startsWith(drive1->currentData().toString())) << drive1->currentData().toString().toStdString();
  const int rootIndex = static_cast<int>(roots.indexOf(QDir::rootPath()));
  drive1->setCurrentIndex(rootIndex);
  emit drive1->activated(rootIndex);
  EXPECT_EQ(d.folder(), QDir::rootPath());
  EXPECT_EQ(label4->text(), QDir::toNativeSeparators(QDir::rootPath()));

  // The data pattern is remembered only for light curve data.
  const QStringList data{"*.csv", "*.txt", "*.dat", "*.*"};
  d.open(FileOp::LoadLcData, "Load L Data", data);
  EXPECT_EQ(combo1->currentIndex(), 0);
  choosePattern(2);
  d.reject();
  EXPECT_EQ(d.rememberedDataPattern(), 2);
  d.open(FileOp::LoadLcData, "Load L Data", data);
  EXPECT_EQ(combo1->currentText(), "*.dat");
  d.open(FileOp::LoadDcData, "Load D data", data);
  EXPECT_EQ(combo1->currentIndex(), 0);
  choosePattern(1);
  d.reject();
  EXPECT_EQ(d.rememberedDataPattern(), 2);
}

