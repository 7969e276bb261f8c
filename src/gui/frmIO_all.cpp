#include "frmIO_all.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

#include "frmMain.h"
#include "shell/errors.h"

struct frmIO_all::Ui {
  QComboBox* drive1 = nullptr;
  QListWidget* dir1 = nullptr;
  QListWidget* file1 = nullptr;
  QComboBox* combo1 = nullptr;
  QLineEdit* text1 = nullptr;
  QLabel* label4 = nullptr;
  QPushButton* command1 = nullptr;
  QPushButton* command2 = nullptr;
  QString folder;
};

namespace {

QLabel* caption(const char* name, const char* text, QWidget* buddy, QWidget* parent) {
  auto* l = new QLabel(QString::fromLatin1(text), parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setBuddy(buddy);
  return l;
}

// The folder itself when it exists, else its nearest existing parent.
QString existingFolder(QString folder) {
  folder = QDir::cleanPath(QDir(folder).absolutePath());
  for (;;) {
    QFileInfo fi(folder);
    if (fi.exists() && fi.isDir()) return folder;
    const QString up = QFileInfo(folder).absolutePath();
    if (up == folder) return QDir::rootPath();
    folder = up;
  }
}

}  // namespace

frmIO_all::frmIO_all(frmMain* main) : QDialog(main), main_(main), ui_(new Ui) {
  setObjectName("frmIO_all");
  setModal(false);
  setSizeGripEnabled(true);

  ui_->text1 = new QLineEdit(this);
  ui_->text1->setObjectName("Text1");
  ui_->file1 = new QListWidget(this);
  ui_->file1->setObjectName("File1");
  ui_->file1->setSelectionMode(QAbstractItemView::SingleSelection);
  // Lists take no name from a buddy label: name them outright.
  ui_->file1->setAccessibleName("Files");
  ui_->label4 = new QLabel(this);
  ui_->label4->setObjectName("Label4");
  ui_->label4->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A long folder must not widen the dialog; the whole path is in the tip.
  ui_->label4->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  ui_->dir1 = new QListWidget(this);
  ui_->dir1->setObjectName("Dir1");
  ui_->dir1->setAccessibleName("Directories");
  ui_->combo1 = new QComboBox(this);
  ui_->combo1->setObjectName("Combo1");
  ui_->drive1 = new QComboBox(this);
  ui_->drive1->setObjectName("Drive1");
  ui_->command1 = new QPushButton("OK", this);
  ui_->command1->setObjectName("Command1");
  ui_->command1->setDefault(true);
  ui_->command2 = new QPushButton("Cancel", this);
  ui_->command2->setObjectName("Command2");

  auto* grid = new QGridLayout(this);
  grid->addWidget(caption("Label1", "File &Name:", ui_->text1, this), 0, 0);
  grid->addWidget(caption("Label2", "&Directories:", ui_->dir1, this), 0, 1);
  grid->addWidget(ui_->text1, 1, 0);
  grid->addWidget(ui_->label4, 1, 1);
  grid->addWidget(ui_->file1, 2, 0);
  grid->addWidget(ui_->dir1, 2, 1);
  grid->addWidget(caption("Label3", "List Files of &Type:", ui_->combo1, this), 3, 0);
  grid->addWidget(caption("Label5", "Dri&ves:", ui_->drive1, this), 3, 1);
  grid->addWidget(ui_->combo1, 4, 0);
  grid->addWidget(ui_->drive1, 4, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ui_->command1);
  buttons->addWidget(ui_->command2);
  buttons->addStretch(1);
  grid->addLayout(buttons, 0, 2, 5, 1);
  grid->setRowStretch(2, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  // The labels read exactly as the system's own, without the mnemonic marks.
  for (QLabel* l : findChildren<QLabel*>()) {
    if (l == ui_->label4) continue;
    const QString plain = QString(l->text()).remove('&');
    l->setText(plain);
  }
  resize(560, 360);

  connect(ui_->command1, &QPushButton::clicked, this, &frmIO_all::accept);
  connect(ui_->command2, &QPushButton::clicked, this, &frmIO_all::reject);
  connect(ui_->file1, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item) ui_->text1->setText(item->text());
  });
  connect(ui_->file1, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ui_->text1->setText(item->text()); });
  connect(ui_->file1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    ui_->text1->setText(item->text());
    accept();
  });
  connect(ui_->dir1, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { setFolder(item->data(Qt::UserRole).toString()); });
  connect(ui_->combo1, &QComboBox::activated, this, &frmIO_all::onPatternChosen);
  connect(ui_->drive1, &QComboBox::activated, this, &frmIO_all::onDriveChosen);

  fillDrives();
  setFolder(QDir::currentPath());
}

frmIO_all::~frmIO_all() { delete ui_; }

void frmIO_all::setHandler(FileOp op, Handler handler) { handlers_[op] = std::move(handler); }
void frmIO_all::setReplaceCheck(FileOp op, CurrentFile currentFile) { replaceChecks_[op] = std::move(currentFile); }
bool frmIO_all::isInputSave(FileOp op) { return op == FileOp::SaveLci || op == FileOp::SaveDci; }

void frmIO_all::open(FileOp op, const QString& caption, const QStringList& patterns, const QString& namePreset) {
  settingUp_ = true;
  op_ = op;
  setWindowTitle(caption);
  ui_->combo1->clear();
  ui_->combo1->addItems(patterns);
  int first = 0;
  if (op == FileOp::LoadLcData && rememberedPattern_ >= 0 && rememberedPattern_ < patterns.size()) first = rememberedPattern_;
  ui_->combo1->setCurrentIndex(patterns.isEmpty() ? -1 : first);
  fillDrives();
  // The folder may have changed on disk since the dialog was last shown.
  const QString keepName = ui_->text1->text();
  setFolder(ui_->folder);
  // A save offers only the name it was given (the current file of its kind):
  // a name left from another dialog could be written over.
  if (isInputSave(op))
    ui_->text1->setText(namePreset);
  else
    ui_->text1->setText(namePreset.isEmpty() ? keepName : namePreset);
  settingUp_ = false;
  show();
  activateWindow();
}

QString frmIO_all::folder() const { return ui_->folder; }

void frmIO_all::setFolder(const QString& folder) {
  ui_->folder = existingFolder(folder.isEmpty() ? QDir::currentPath() : folder);
  fillFolders();
  fillFiles();
  // A save keeps the name typed while the user looks for its folder.
  if (!isInputSave(op_)) ui_->text1->setText(ui_->file1->count() > 0 ? ui_->file1->item(0)->text() : QString());
  ui_->label4->setText(QDir::toNativeSeparators(ui_->folder));
  ui_->label4->setToolTip(ui_->label4->text());
  selectDriveOf(ui_->folder);
}

QString frmIO_all::name() const { return ui_->text1->text(); }
void frmIO_all::setName(const QString& name) { ui_->text1->setText(name); }

QString frmIO_all::currentPattern() const {
  const QString p = ui_->combo1->currentText().trimmed();
  return p.isEmpty() ? QStringLiteral("*") : p;
}

void frmIO_all::fillDrives() {
  QStringList roots;
  for (const QFileInfo& fi : QDir::drives()) roots << QDir::cleanPath(fi.absoluteFilePath());
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
    if (v.isValid() && v.isReady()) roots << QDir::cleanPath(v.rootPath());
  roots.removeDuplicates();
  roots.sort(Qt::CaseInsensitive);

  QSignalBlocker block(ui_->drive1);
  ui_->drive1->clear();
  for (const QString& r : roots) {
    QString label = QDir::toNativeSeparators(r);
    const QStorageInfo info(r);
    const QString shown = info.displayName();
    if (!shown.isEmpty() && shown != r && QDir::cleanPath(shown) != r) label += QStringLiteral("  [") + shown + ']';
    ui_->drive1->addItem(label, r);
  }
  selectDriveOf(ui_->folder);
}

void frmIO_all::selectDriveOf(const QString& folder) {
  // The volume holding the folder: the longest root that contains it.
  int best = -1;
  qsizetype bestLen = -1;
  for (int i = 0; i < ui_->drive1->count(); ++i) {
    const QString r = ui_->drive1->itemData(i).toString();
    const bool contains =
        folder == r || r == QDir::rootPath() || folder.startsWith(r.endsWith('/') ? r : r + '/', Qt::CaseSensitive);
    if (contains && r.size() > bestLen) {
      best = i;
      bestLen = r.size();
    }
  }
  QSignalBlocker block(ui_->drive1);
  ui_->drive1->setCurrentIndex(best);
}

void frmIO_all::fillFolders() {
  QSignalBlocker block(ui_->dir1);
  ui_->dir1->clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  // The path from the root down to the folder, then its sub-folders.
  QStringList chain;
  for (QString f = ui_->folder;;) {
    chain.prepend(f);
    const QString up = QFileInfo(f).absolutePath();
    if (up == f || f == QDir::rootPath()) break;
    f = up;
  }
  int depth = 0;
  QListWidgetItem* current = nullptr;
  for (const QString& f : chain) {
    const QString text = depth == 0 ? QDir::toNativeSeparators(f) : QFileInfo(f).fileName();
    auto* item = new QListWidgetItem(open, QString(depth * 2, ' ') + text, ui_->dir1);
    item->setData(Qt::UserRole, f);
    current = item;
    ++depth;
  }
  const QDir dir(ui_->folder);
  const QStringList subs = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& s : subs) {
    auto* item = new QListWidgetItem(closed, QString(depth * 2, ' ') + s, ui_->dir1);
    item->setData(Qt::UserRole, dir.absoluteFilePath(s));
  }
  ui_->dir1->setCurrentItem(current);
}

void frmIO_all::fillFiles() {
  QSignalBlocker block(ui_->file1);
  ui_->file1->clear();
  QString pattern = currentPattern();
  // "*.*" names every file, with or without an extension.
  if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
  QDir dir(ui_->folder);
  dir.setNameFilters(pattern.split(';', Qt::SkipEmptyParts));
  dir.setFilter(QDir::Files | QDir::NoDotAndDotDot);  // case-insensitive patterns
  dir.setSorting(QDir::Name | QDir::IgnoreCase);
  ui_->file1->addItems(dir.entryList());
}

void frmIO_all::onPatternChosen(int index) {
  fillFiles();
  if (op_ == FileOp::LoadLcData && !settingUp_) rememberedPattern_ = index;
}

void frmIO_all::onDriveChosen(int index) {
  const QString root = ui_->drive1->itemData(index).toString();
  const QFileInfo fi(root);
  if (!fi.exists() || !fi.isDir() || !fi.isReadable()) {
    selectDriveOf(ui_->folder);
    main_->showMessage(QString::fromStdString(tavrin::errorMessage(68)));
    return;
  }
  setFolder(root);
}

void frmIO_all::accept() {
  QString name = ui_->text1->text();
  QString folder = ui_->folder;
  // A typed full path names its own folder.
  const QFileInfo typed(name);
  if (!name.isEmpty() && typed.isAbsolute()) {
    folder = typed.absolutePath();
    name = typed.fileName();
    if (QFileInfo(folder).isDir()) {
      setFolder(folder);
      folder = ui_->folder;
    }
    ui_->text1->setText(name);
  }
  if (auto check = replaceChecks_.find(op_); check != replaceChecks_.end() && !name.isEmpty()) {
    const QFileInfo target(QDir(folder).filePath(name));
    const QString current = check->second();
    const bool isCurrent = !current.isEmpty() && QFileInfo(current).canonicalFilePath() == target.canonicalFilePath();
    // No: the dialog stays as it is, for another name.
    if (!isCurrent && !main_->mayReplace(target.filePath())) return;
  }
  if (op_ == FileOp::LoadLcData) rememberedPattern_ = ui_->combo1->currentIndex();
  main_->session().app.dataFolder = QDir::toNativeSeparators(folder).toStdString();
  if (op_ == FileOp::None) return;
  hide();
  auto it = handlers_.find(op_);
  if (it != handlers_.end()) it->second(name);
}

void frmIO_all::reject() {
  if (op_ == FileOp::LoadLcData) rememberedPattern_ = ui_->combo1->currentIndex();
  hide();
}

void frmIO_all::closeEvent(QCloseEvent* event) {
  if (op_ == FileOp::LoadLcData) rememberedPattern_ = ui_->combo1->currentIndex();
  event->ignore();
  hide();
}
