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

void touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("x");
}

struct DialogFixture : ::testing::Test {
  mwtest::MainWindow w;
  frmIO_all& d = w.fileDialog();
  QTemporaryDir tmp;
  mwtest::MessageCatcher messages;

  template <typename T>
  T* child(const char* name) {
    T* c = d.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  QListWidget* file1() { return child<QListWidget>("File1"); }
  QListWidget* dir1() { return child<QListWidget>("Dir1"); }
  QLineEdit* text1() { return child<QLineEdit>("Text1"); }
  QComboBox* combo1() { return child<QComboBox>("Combo1"); }
  QComboBox* drive1() { return child<QComboBox>("Drive1"); }
  QLabel* label4() { return child<QLabel>("Label4"); }

  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    QDir(tmp.path()).mkdir("Sub");
    QDir(tmp.path()).mkdir("empty");
    touch(tmp.filePath("b.lci"));
    touch(tmp.filePath("A.LCI"));
    touch(tmp.filePath("c.dci"));
    touch(tmp.filePath("Makefile"));
    touch(tmp.filePath("Sub/inner.lci"));
  }
};

}  // namespace

TEST_F(DialogFixture, ControlsAndCaptions) {
  for (const char* name : {"Drive1", "Dir1", "File1", "Combo1", "Text1", "Label4", "Command1", "Command2"})
    EXPECT_NE(d.findChild<QWidget*>(name), nullptr) << name;
  QStringList labels;
  for (QLabel* l : d.findChildren<QLabel*>())
    if (l->objectName() != "Label4") labels << l->text();
  labels.sort();
  EXPECT_EQ(labels, (QStringList{"Directories:", "Drives:", "File Name:", "List Files of Type:"}));
  EXPECT_EQ(child<QPushButton>("Command2")->text(), "Cancel");
  EXPECT_EQ(child<QPushButton>("Command1")->text(), "OK");
}

TEST_F(DialogFixture, OpenSetsCaptionPatternsPresetAndFolder) {
  d.setFolder(tmp.path());
  d.open(FileOp::LoadLci, "Load LCI File", {"*.lci", "*.*"}, "b.lci");
  EXPECT_TRUE(d.isVisible());
  EXPECT_FALSE(d.isModal());
  EXPECT_EQ(d.windowTitle(), "Load LCI File");
  EXPECT_EQ(d.op(), FileOp::LoadLci);
  EXPECT_EQ(combo1()->count(), 2);
  EXPECT_EQ(combo1()->currentText(), "*.lci");
  EXPECT_EQ(text1()->text(), "b.lci");
  EXPECT_EQ(label4()->text(), QDir::toNativeSeparators(tmp.path()));
  // Patterns match without regard to case, sorted by name.
  EXPECT_EQ(items(file1()), (QStringList{"A.LCI", "b.lci"}));
}

TEST_F(DialogFixture, PatternListFiltersTheFileList) {
  d.setFolder(tmp.path());
  d.open(FileOp::LoadDci, "Load DCI", {"*.dci", "*.*"});
  EXPECT_EQ(items(file1()), QStringList{"c.dci"});
  combo1()->setCurrentIndex(1);
  emit combo1()->activated(1);
  // "*.*" lists every file, also those without an extension.
  EXPECT_EQ(items(file1()), (QStringList{"A.LCI", "b.lci", "c.dci", "Makefile"}));
}

TEST_F(DialogFixture, FolderChangeFillsFileNameWithTheFirstFileOrNothing) {
  d.open(FileOp::LoadLci, "Load LCI File", {"*.lci", "*.*"});
  d.setFolder(tmp.path());
  EXPECT_EQ(text1()->text(), "A.LCI");
  EXPECT_EQ(label4()->text(), QDir::toNativeSeparators(tmp.path()));
  // The folder list shows the path down to the folder, then its sub-folders.
  QStringList dirs = items(dir1());
  ASSERT_GE(dirs.size(), 3);
  EXPECT_EQ(dirs[dirs.size() - 2].trimmed(), "empty");
  EXPECT_EQ(dirs.last().trimmed(), "Sub");
  EXPECT_EQ(dir1()->currentItem()->data(Qt::UserRole).toString(), tmp.path());

  // Opening a sub-folder as the user would (double-click / Enter).
  QListWidgetItem* sub = dir1()->item(dirs.size() - 1);
  emit dir1()->itemActivated(sub);
  EXPECT_EQ(d.folder(), tmp.filePath("Sub"));
  EXPECT_EQ(text1()->text(), "inner.lci");
  EXPECT_EQ(label4()->text(), QDir::toNativeSeparators(tmp.filePath("Sub")));

  d.setFolder(tmp.filePath("empty"));
  EXPECT_EQ(text1()->text(), "");
  EXPECT_EQ(file1()->count(), 0);

  // A folder that went away falls back to its parent.
  d.setFolder(tmp.filePath("gone/deeper"));
  EXPECT_EQ(d.folder(), tmp.path());
}

TEST_F(DialogFixture, ClickSetsTheNameAndDoubleClickIsOk) {
  QString got;
  int calls = 0;
  d.setHandler(FileOp::LoadLci, [&](const QString& name) {
    got = name;
    ++calls;
  });
  d.setFolder(tmp.path());
  d.open(FileOp::LoadLci, "Load LCI File", {"*.lci", "*.*"});
  QListWidget* list = file1();
  const QRect r1 = list->visualItemRect(list->item(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r1.center());
  EXPECT_EQ(text1()->text(), "b.lci");
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(d.isVisible());

  const QRect r0 = list->visualItemRect(list->item(0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r0.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r0.center());
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(got, "A.LCI");
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(QString::fromStdString(w.session().app.dataFolder), QDir::toNativeSeparators(tmp.path()));
}

TEST_F(DialogFixture, OkPassesTheTypedNameAndStoresTheFolder) {
  QString got = "unset";
  d.setHandler(FileOp::SaveDci, [&](const QString& name) { got = name; });
  d.setFolder(tmp.filePath("Sub"));
  d.open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
  text1()->setText("new name.dci");
  QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
  EXPECT_EQ(got, "new name.dci");
  EXPECT_EQ(QString::fromStdString(w.session().app.dataFolder), QDir::toNativeSeparators(tmp.filePath("Sub")));
  EXPECT_FALSE(d.isVisible());

  // Enter in the name box is OK.
  d.open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
  text1()->setText("entered.dci");
  QTest::keyClick(text1(), Qt::Key_Return);
  EXPECT_EQ(got, "entered.dci");
  EXPECT_FALSE(d.isVisible());

  // A full path typed into the name box names its own folder.
  d.open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
  text1()->setText(tmp.filePath("x.dci"));
  d.accept();
  EXPECT_EQ(got, "x.dci");
  EXPECT_EQ(QString::fromStdString(w.session().app.dataFolder), QDir::toNativeSeparators(tmp.path()));
  EXPECT_EQ(d.folder(), tmp.path());
}

TEST_F(DialogFixture, CancelHidesAndTheDialogKeepsItsFolder) {
  int calls = 0;
  d.setHandler(FileOp::SaveLci, [&](const QString&) { ++calls; });
  d.setFolder(tmp.filePath("Sub"));
  d.open(FileOp::SaveLci, "Save LCI File", {"*.lci", "*.*"});
  QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(calls, 0);
  d.open(FileOp::SaveLci, "Save LCI File", {"*.lci", "*.*"});
  d.close();  // closing the window only hides it
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(&w.fileDialog(), &d);
  d.open(FileOp::LoadLci, "Load LCI File", {"*.lci", "*.*"});
  EXPECT_EQ(d.folder(), tmp.filePath("Sub"));
  EXPECT_EQ(items(file1()), QStringList{"inner.lci"});
  QTest::keyClick(&d, Qt::Key_Escape);
  EXPECT_FALSE(d.isVisible());
}

TEST_F(DialogFixture, DrivesListTheFileSystemRoots) {
  QStringList roots;
  for (int i = 0; i < drive1()->count(); ++i) roots << drive1()->itemData(i).toString();
  EXPECT_TRUE(roots.contains(QDir::rootPath()));
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
    if (v.isValid() && v.isReady()) {
      EXPECT_TRUE(roots.contains(QDir::cleanPath(v.rootPath()))) << v.rootPath().toStdString();
    }
  // The drive shown is the one holding the folder.
  d.setFolder(tmp.path());
  const QString shown = drive1()->currentData().toString();
  EXPECT_TRUE(tmp.path().startsWith(shown)) << shown.toStdString();

  const int rootIndex = static_cast<int>(roots.indexOf(QDir::rootPath()));
  drive1()->setCurrentIndex(rootIndex);
  emit drive1()->activated(rootIndex);
  EXPECT_EQ(d.folder(), QDir::rootPath());
  EXPECT_EQ(label4()->text(), QDir::toNativeSeparators(QDir::rootPath()));
}

TEST_F(DialogFixture, DataPatternIsRememberedOnlyForLightCurveData) {
  const QStringList data{"*.csv", "*.txt", "*.dat", "*.*"};
  d.open(FileOp::LoadLcData, "Load L Data", data);
  EXPECT_EQ(combo1()->currentIndex(), 0);
  combo1()->setCurrentIndex(2);
  emit combo1()->activated(2);
  d.reject();
  EXPECT_EQ(d.rememberedDataPattern(), 2);
  d.open(FileOp::LoadLcData, "Load L Data", data);
  EXPECT_EQ(combo1()->currentText(), "*.dat");
  // Other operations start at the first pattern and leave the memory alone.
  d.open(FileOp::LoadDcData, "Load D data", data);
  EXPECT_EQ(combo1()->currentIndex(), 0);
  combo1()->setCurrentIndex(1);
  emit combo1()->activated(1);
  d.reject();
  EXPECT_EQ(d.rememberedDataPattern(), 2);
}

TEST_F(DialogFixture, ScreenshotOfTheDialog) {
  d.setFolder(tmp.path());
  d.open(FileOp::LoadLci, "Load LCI File", {"*.lci", "*.*"}, "b.lci");
  d.resize(600, 380);
  const QImage img = d.grab().toImage();
  EXPECT_FALSE(img.isNull());
  if (const char* out = std::getenv("TAVRIN_SHOT_DIR")) img.save(QString(out) + "/frmIO_all.png");
}
