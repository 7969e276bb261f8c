// The shell around the editor: Help pages, parameter help, About, Print,
// Exit and closing with the settings file, start-up folder, recent files,
// drag and drop, remembered geometry and standard shortcuts.
#include "ShellCommands.h"

#include "PrintWindow.h"
#include "SingleWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QSettings>
#include <QUrl>
#include <memory>

#include "InstallCommands.h"
#include "EditorWindows.h"
#include "frmAbout.h"
#include "frmHelp.h"
#include "frmIO_all.h"
#include "frmIndivHlp.h"
#include "frmMain.h"
#include "frmSpots.h"
#include "shell/app_state.h"
#include "shell/errors.h"
#include "shell/help_text.h"
#include "shell/settings.h"

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QStringList toQt(const std::vector<std::string>& v) {
  QStringList out;
  for (const auto& s : v) out << q(s);
  return out;
}

shell::ExitQuestion& exitQuestion() {
  static shell::ExitQuestion f;
  return f;
}
std::function<void()>& quitFunction() {
  static std::function<void()> f;
  return f;
}
QString& desktopSettingsPath() {
  static QString p;
  return p;
}
QStringList& recentList() {
  static QStringList l;
  return l;
}

// Recent files and geometry live in the desktop's own settings store, never
// in DCTavrin2.ini. Other programs linking these windows (tests) keep them
// in memory unless given a file.
std::unique_ptr<QSettings> desktopSettings() {
  if (!desktopSettingsPath().isEmpty())
    return std::make_unique<QSettings>(desktopSettingsPath(), QSettings::IniFormat);
  if (QCoreApplication::applicationName() == "Tavrin") return std::make_unique<QSettings>();
  return nullptr;
}

void loadRecent() {
  if (auto s = desktopSettings()) recentList() = s->value("recentFiles").toStringList();
  while (recentList().size() > shell::kMaxRecent) recentList().removeLast();
}

void rememberRecent(const QString& path) {
  const QString abs = QFileInfo(path).absoluteFilePath();
  recentList().removeAll(abs);
  recentList().prepend(abs);
  while (recentList().size() > shell::kMaxRecent) recentList().removeLast();
  if (auto s = desktopSettings()) s->setValue("recentFiles", recentList());
}

void quit() {
  if (quitFunction())
    quitFunction()();
  else
    QCoreApplication::quit();
}

shell::ExitAnswer askToSave(frmMain& w) {
  if (exitQuestion()) return exitQuestion()();
  QMessageBox box(QMessageBox::Question, "Tavrin", "Fields were edited since the last save.\nSave them first?",
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &w);
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save:
      return shell::ExitAnswer::Save;
    case QMessageBox::Discard:
      return shell::ExitAnswer::Discard;
    default:
      return shell::ExitAnswer::Cancel;
  }
}

// The input file Save would write now, empty when it has no name yet.
QString currentInputPath(frmMain& w) {
  const Session& s = w.session();
  const std::string& name = s.mode == tavrin::ProgramMode::DC ? s.app.dciName : s.app.lciName;
  return name.empty() ? QString() : q(tavrin::joinPath(s.app.dataFolder, name));
}

// Asks before leaving with edited fields. Save with a known name saves at
// once and goes on only when the file was written; without a name the file
// dialog opens and the program stays.
bool mayLeave(frmMain& w) {
  if (!shell::fieldsEdited(w)) return true;
  switch (askToSave(w)) {
    case shell::ExitAnswer::Discard:
      return true;
    case shell::ExitAnswer::Cancel:
      return false;
    case shell::ExitAnswer::Save:
      break;
  }
  const QString path = currentInputPath(w);
  QAction* save = w.action("Save");
  if (path.isEmpty() || !save) {
    if (save) save->trigger();
    return false;
  }
  save->trigger();
  const QFileInfo after(path);
  // Only a save that wrote the file clears the edited state.
  return after.exists() && !shell::fieldsEdited(w);
}

void saveGeometryOf(frmMain& w) {
  if (auto s = desktopSettings()) s->setValue("mainWindow/geometry", w.saveGeometry());
}

void writeSettingsFile(frmMain& w) {
  const Session& s = w.session();
  tavrin::Settings st;
  st.dataFolder = s.app.dataFolder;
  st.joinPoints = s.plot.joinPoints;
  st.gridLines = s.plot.gridLines;
  st.curveColour = s.plot.plotColour;
  try {
    tavrin::writeSettings(s.app.programFolder, st);
  } catch (const std::exception& e) {
    // The user must still be able to leave: say so and go on ending.
    w.showMessage(QString("The settings file %1 could not be written.\n%2")
                      .arg(q(tavrin::joinPath(s.app.programFolder, tavrin::kSettingsFileName)),
                           QString::fromUtf8(e.what())));
  }
}

void showHelpPage(frmMain& w, const char* item);

// Watches the main window for closing and drops, and the other windows for
// their first showing (plot windows' Help and About).
class ShellFilter : public QObject {
 public:
  explicit ShellFilter(frmMain& w) : QObject(&w), main_(w) { setObjectName("ShellFilter"); }
  bool exiting = false;

  bool eventFilter(QObject* obj, QEvent* e) override {
    switch (e->type()) {
      case QEvent::Close:
        if (obj == &main_) return onClose(e);
        break;
      case QEvent::DragEnter:
      case QEvent::DragMove:
      case QEvent::Drop:
        if (auto* widget = qobject_cast<QWidget*>(obj); widget && widget->window() == &main_) return onDrag(e);
        break;
      case QEvent::Show:
        if (auto* window = qobject_cast<QMainWindow*>(obj); window && window != &main_) wireAbout(window);
        break;
      default:
        break;
    }
    return false;
  }

 private:
  bool onClose(QEvent* e) {
    if (!exiting && !mayLeave(main_)) {
      e->ignore();
      return true;
    }
    saveGeometryOf(main_);
    if (!exiting) quit();  // Exit ends the program itself
    return false;
  }

  static QString droppedInput(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return {};
    for (const QUrl& url : mime->urls()) {
      if (!url.isLocalFile()) continue;
      const QString path = url.toLocalFile();
      const QString ext = QFileInfo(path).suffix().toLower();
      if (ext == "lci" || ext == "dci") return path;
    }
    return {};
  }

  bool onDrag(QEvent* e) {
    auto* drop = static_cast<QDropEvent*>(e);
    const QString path = droppedInput(drop->mimeData());
    if (path.isEmpty()) return false;  // anything else goes to the field under the pointer
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (e->type() == QEvent::Drop) shell::loadInputFile(main_, path);
    return true;
  }

  void wireAbout(QMainWindow* window) {
    if (window->property("tavrinAboutWired").toBool()) return;
    const QString name = window->objectName();
    if (name != "frmPlotLC" && name != "frmPlotRV") return;
    window->setProperty("tavrinAboutWired", true);
    // The plots are what the Display LCO page explains.
    for (QAction* help : window->findChildren<QAction*>("Help")) {
      help->setEnabled(true);
      connect(help, &QAction::triggered, &main_, [this] { showHelpPage(main_, "HelpDisplayLCO"); });
    }
    for (QAction* about : window->findChildren<QAction*>("About")) {
      about->setEnabled(true);
      connect(about, &QAction::triggered, &main_, [this] {
        frmAbout& a = shell::aboutWindow(main_);
        a.show();
        a.raise();
      });
    }
  }

  frmMain& main_;
};

ShellFilter* filterOf(frmMain& w) { return w.findChild<ShellFilter*>("ShellFilter", Qt::FindDirectChildrenOnly); }

void exitProgram(frmMain& w) {
  if (!mayLeave(w)) return;
  writeSettingsFile(w);
  ShellFilter* f = filterOf(w);
  if (f) f->exiting = true;
  w.close();
  if (f) f->exiting = false;
  quit();
}

void showHelpPage(frmMain& w, const char* item) {
  const auto page = tavrin::helpPageForMenuItem(item);
  if (!page) return;
  shell::helpWindow(w).showPage(q(page->title), toQt(page->paragraphs));
}

void rebuildRecentMenu(frmMain& w, QMenu* menu) {
  menu->clear();
  const QStringList files = shell::recentFiles();
  if (files.isEmpty()) {
    menu->addAction("(none)")->setEnabled(false);
    return;
  }
  int n = 1;
  for (const QString& path : files) {
    const QFileInfo fi(path);
    QAction* a = menu->addAction(QString("&%1  %2   (%3)").arg(n).arg(fi.fileName(), QDir::toNativeSeparators(fi.absolutePath())));
    a->setObjectName(QString("RecentFile%1").arg(n++));
    a->setData(path);
    QObject::connect(a, &QAction::triggered, &w, [&w, path] { shell::loadInputFile(w, path); });
  }
}

}  // namespace

void installShellCommands(frmMain& w) {
  Session& s = w.session();
  // Start-up: the program folder is the current folder; the data folder of
  // the last Exit, when its settings file is sound and the folder exists.
  if (s.app.programFolder.empty()) s.app.programFolder = QDir::currentPath().toStdString();
  // An installed Tavrin keeps its own Synthex and Solvex beside itself.
  if (s.app.installedProgramsFolder.empty())
    s.app.installedProgramsFolder = QCoreApplication::applicationDirPath().toStdString();
  if (const auto folder = tavrin::readSettingsDataFolder(s.app.programFolder);
      folder && !folder->empty() && QFileInfo(q(*folder)).isDir()) {
    w.fileDialog().setFolder(q(*folder));
    s.app.dataFolder = QDir::toNativeSeparators(w.fileDialog().folder()).toStdString();
  }

  auto on = [&w](const char* name, auto fn) {
    if (QAction* a = w.action(name)) QObject::connect(a, &QAction::triggered, &w, fn);
  };
  for (const std::string& item : tavrin::helpPageMenuItems()) {
    const QByteArray name = QByteArray::fromStdString(item);
    on(name.constData(), [&w, name] { showHelpPage(w, name.constData()); });
  }
  // "Load DCO" under Help has no page: the item deliberately does nothing.
  on("HelpLoadDCO", [] {});
  on("About", [&w] {
    frmAbout& a = shell::aboutWindow(w);
    a.show();
    a.raise();
  });
  on("Print", [&w] { printWindowImage(&w); });
  QObject::connect(&w, &frmMain::parameterHelpRequested, &w, [&w](int topic) {
    const auto& lines = tavrin::parameterHelp(topic);
    if (!lines.empty()) indivHelpWindow(w).showLines(toQt(lines));
  });
  frmSpots::setHelpPageOpener([&w](const QString& title, const QStringList& paragraphs) {
    shell::helpWindow(w).showPage(title, paragraphs);
  });
  // The opener is shared by every spots window; it must not outlive this one.
  QObject::connect(&w, &QObject::destroyed, [] { frmSpots::setHelpPageOpener({}); });

  if (QAction* exit = w.action("Exit")) {
    // The window's own close ends without the settings file; Exit writes it.
    QObject::disconnect(exit, &QAction::triggered, &w, &QWidget::close);
    QObject::connect(exit, &QAction::triggered, &w, [&w] { exitProgram(w); });
    exit->setShortcut(QKeySequence::Quit);
    exit->setShortcutContext(Qt::ApplicationShortcut);
  }
  if (QAction* save = w.action("Save")) save->setShortcut(QKeySequence::Save);
  if (QAction* intro = w.action("HelpIntro")) {
    intro->setShortcut(QKeySequence::HelpContents);
    intro->setShortcutContext(Qt::ApplicationShortcut);
  }

  // File > Recent Files, just above Print.
  if (QMenu* file = w.menu("File")) {
    auto* recent = new QMenu("Recent &Files", file);
    recent->setObjectName("RecentFiles");
    recent->menuAction()->setObjectName("RecentFiles");
    file->insertMenu(w.action("Print"), recent);
    QObject::connect(recent, &QMenu::aboutToShow, &w, [&w, recent] { rebuildRecentMenu(w, recent); });
    rebuildRecentMenu(w, recent);
  }
  loadRecent();
  // Every load and save attempt ends by resetting the field colours; one
  // that succeeded has left the file's name in the session and the caption.
  QObject::connect(&w, &frmMain::coloursReset, &w, [&w] {
    const QString path = currentInputPath(w);
    const QString title = w.windowTitle();
    if (path.isEmpty() || !title.startsWith("Tavrin - ")) return;
    QString shown = title.mid(9);
    if (shown.endsWith('*')) shown.chop(1);
    if (shown == QFileInfo(path).fileName() && QFileInfo(path).isFile()) rememberRecent(path);
  });

  auto* filter = new ShellFilter(w);
  // The application's filter sees the main window's own events too.
  qApp->installEventFilter(filter);
  w.setAcceptDrops(true);
  if (auto settings = desktopSettings()) {
    const QByteArray geometry = settings->value("mainWindow/geometry").toByteArray();
    if (!geometry.isEmpty()) w.restoreGeometry(geometry);
  }
}

namespace shell {

frmHelp& helpWindow(frmMain& main) { return singleWindow<frmHelp>(main); }

frmAbout& aboutWindow(frmMain& main) { return singleWindow<frmAbout>(main); }

bool fieldsEdited(const frmMain& main) { return main.session().editedSinceSave; }

bool loadInputFile(frmMain& main, const QString& path) {
  const QFileInfo fi(path);
  const QString ext = fi.suffix().toLower();
  const bool dci = ext == "dci";
  if (!dci && ext != "lci") {
    main.showMessage(QString("Only LCI and DCI files (.lci, .dci) can be loaded this way:\n%1").arg(path));
    return false;
  }
  frmIO_all& d = main.fileDialog();
  if (dci)
    d.open(FileOp::LoadDci, "Load DCI", {"*.dci", "*.*"});
  else
    d.open(FileOp::LoadLci, "Load LCI File", {"*.lci", "*.*"});
  d.setFolder(fi.absolutePath());
  d.setName(fi.fileName());
  d.accept();
  const Session& s = main.session();
  return (dci ? s.app.dciName : s.app.lciName) == fi.fileName().toStdString();
}

QStringList recentFiles() { return recentList(); }

void setExitQuestion(ExitQuestion question) { exitQuestion() = std::move(question); }
void setQuitFunction(std::function<void()> f) { quitFunction() = std::move(f); }
void setDesktopSettingsFile(const QString& iniPath) {
  desktopSettingsPath() = iniPath;
  recentList().clear();
  loadRecent();
}

}  // namespace shell
