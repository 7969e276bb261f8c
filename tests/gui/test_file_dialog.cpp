// The one file dialog driven by golden/win_file_dialog.tsv: its controls,
// patterns, folder list, and how OK, Enter, double-click, Cancel and Escape
// end it. After each step: the name box, folder, files, folder list tail,
// the names handed on, the data folder and the pattern. The drive list is checked here.
#include <QListWidget>
#include <QStorageInfo>

#include "win_support.h"

namespace {

QStringList items(QListWidget* l, int from = 0) {
  QStringList out;
  for (int i = from; i < l->count(); ++i) out << l->item(i)->text().trimmed();
  return out;
}

class FileDialog : public win::WindowScript {
 protected:
  FileDialog() {
    root = tmp.path();
    window = &d;
    QDir(tmp.path()).mkdir("Sub");
    QDir(tmp.path()).mkdir("empty");
    for (const char* name : {"b.lci", "A.LCI", "c.dci", "Makefile", "Sub/inner.lci"}) win::writeFile(tmp.filePath(name), "x");
    for (FileOp op : {FileOp::LoadLci, FileOp::SaveDci}) d.setHandler(op, [this](const QString& name) { got << name; });
  }
  QListWidget* list(const char* name) { return d.findChild<QListWidget*>(name); }
  void special(const std::vector<std::string>& r) override {
    QString a = r.size() > 1 ? QString::fromStdString(r[1]) : QString();
    QListWidget* files = list("File1");
    if (r[0] == "open") {  // open OP CAPTION PATTERNS [PRESET], OP as in FileOp
      d.open(FileOp(a.toInt()), QString::fromStdString(r[2]), QString::fromStdString(r[3]).split('|'),
             r.size() > 4 ? QString::fromStdString(r[4]) : QString());
    } else if (r[0] == "folder") {
      d.setFolder(a.isEmpty() ? tmp.path() : tmp.filePath(a));
    } else if (r[0] == "pattern") {
      find<QComboBox>("Combo1")->setCurrentIndex(a.toInt());
      emit find<QComboBox>("Combo1")->activated(a.toInt());
    } else if (r[0] == "subfolder") {  // double-click or Enter on the last folder
      emit list("Dir1")->itemActivated(list("Dir1")->item(list("Dir1")->count() - 1));
    } else if (r[0] == "pick" || r[0] == "dclick") {
      const QPoint at = files->visualItemRect(files->item(a.toInt())).center();
      if (r[0] == "pick") QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
      else QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
    } else if (r[0] == "name") {
      find<QLineEdit>("Text1")->setText(a.replace("ROOT", tmp.path()));
    } else if (r[0] == "enter") {
      QTest::keyClick(find<QLineEdit>("Text1"), Qt::Key_Return);
    } else if (r[0] == "escape") {
      QTest::keyClick(&d, Qt::Key_Escape);
    } else if (r[0] == "accept" || r[0] == "reject" || r[0] == "close") {
      r[0] == "accept" ? d.accept() : r[0] == "reject" ? d.reject() : void(d.close());
      EXPECT_EQ(&main->fileDialog(), &d);  // only hidden, never replaced
    } else if (r[0] == "grab") {
      d.resize(600, 380);
      const QImage img = d.grab().toImage();
      EXPECT_FALSE(img.isNull());
      if (const char* out = std::getenv("TAVRIN_SHOT_DIR")) img.save(QString(out) + "/frmIO_all.png");
    } else {
      WindowScript::special(r);
    }
  }
  std::string state() override {
    QListWidget* dirs = list("Dir1");
    const int here = dirs->currentRow();
    QString s = QString("%1%2 [%3] in %4 (%5) files %6\n  dir %7 > %8\n  got %9 data %10 type %11 remembered %12")
                    .arg(d.isModal() ? " modal" : "", " op " + QString::number(int(d.op())), find<QLineEdit>("Text1")->text(),
                         d.folder(), find<QLabel>("Label4")->text(), items(list("File1")).join('|'),
                         here < 0 ? "-" : dirs->item(here)->data(Qt::UserRole).toString(), items(dirs, here + 1).join('|'),
                         got.join('|'))
                    .arg(QString::fromStdString(main->session().app.dataFolder))
                    .arg(find<QComboBox>("Combo1")->currentText())
                    .arg(d.rememberedDataPattern());
    return s.replace(root, "ROOT").toStdString();
  }
  QTemporaryDir tmp;
  frmIO_all& d = main->fileDialog();
  QStringList got;
};

}  // namespace

TEST_F(FileDialog, Script) {
  ASSERT_TRUE(&d == &main->fileDialog() && tmp.isValid());
  runScript("win_file_dialog");
}

TEST_F(FileDialog, DrivesListTheFileSystemRoots) {
  auto* drive1 = find<QComboBox>("Drive1");
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
  EXPECT_EQ(d.folder() + "|" + find<QLabel>("Label4")->text(), QDir::rootPath() + "|" + QDir::toNativeSeparators(QDir::rootPath()));
}
