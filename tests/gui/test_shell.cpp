// The shell around the editor: menu tree wiring, help windows, About and
// accessible names. Exit, closing and the settings file
// are the transcript main_shell.txt; drops, recent files and geometry
// main_desktop.txt.
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "EditorWindows.h"
#include "PlotCommands.h"
#include "ShellCommands.h"
#include "frmAbout.h"
#include "frmAdjust.h"
#include "frmCalcContourData.h"
#include "frmCorrel.h"
#include "frmCritPots.h"
#include "frmDataFile.h"
#include "frmHelp.h"
#include "frmIOparms.h"
#include "frmIncrem.h"
#include "frmIndivHlp.h"
#include "frmMessage.h"
#include "frmMiscParm.h"
#include "frmPlotContours.h"
#include "frmPlotLC.h"
#include "frmPlotRV.h"
#include "frmSetOPfile.h"
#include "frmSpots.h"
#include "frmTransfer.h"
#include "frmYrange.h"
#include "model/spot_rules.h"
#include "shell/help_text.h"
#include "main_scenario.h"

namespace {

// QObject::receivers is protected; a member pointer reaches it without a cast.
struct ReceiverPeek : QObject {
  using QObject::receivers;
};
int rawReceivers(QAction* a) {
  int (QObject::*fn)(const char*) const = &ReceiverPeek::receivers;
  return (a->*fn)(SIGNAL(triggered(bool)));
}
// Menus and menu bars listen to their actions themselves: count only the
// connections beyond theirs.
int receiversOfTriggered(QAction* a) {
  static const int inMenu = [] {
    QMenu m;
    return rawReceivers(m.addAction("x"));
  }();
  static const int inBar = [] {
    QMenuBar b;
    return rawReceivers(b.addAction("x"));
  }();
  const bool onBar = !a->associatedObjects().isEmpty() && qobject_cast<QMenuBar*>(a->associatedObjects().first());
  return rawReceivers(a) - (onBar ? inBar : inMenu);
}

// Runs in a scenario's folder (the current one, the program folder) with its
// quit, exit question and desktop settings, and without its window.
struct ShellFixture : ::testing::Test {
  ShellFixture() { scenario.fresh(false), scenario.win.reset(); }
  QTemporaryDir& dir() { return *scenario.folder; }
  mwtest::Scenario scenario;
  mwtest::MessageCatcher& messages = scenario.catcher;
};

using ShellMenus = ShellFixture;

// Names, captions, checks and shortcuts of the menu tree are in the
// transcripts (main_modes.txt); here every item must reach a handler.
TEST_F(ShellMenus, EveryItemOfTheMenuTreeReachesAHandlerAndStartingWritesNothing) {
  mwtest::MainWindow w;
  QStringList unwired;
  int seen = 0;
  std::function<void(QAction*)> walk = [&](QAction* a) {
    if (a->menu()) {
      for (QAction* sub : a->menu()->actions())
        if (sub->menu() || (!sub->isSeparator() && !sub->objectName().startsWith("RecentFile") && sub->isEnabled()))
          walk(sub);
    } else {
      ++seen;
      if (receiversOfTriggered(a) == 0) unwired << a->objectName();
    }
  };
  for (QAction* top : w.menuBar()->actions()) walk(top);
  EXPECT_GE(seen, 36);
  EXPECT_TRUE(unwired.isEmpty()) << unwired.join(", ").toStdString();
  // Exit is the shell's alone: it no longer just closes the window.
  EXPECT_EQ(receiversOfTriggered(w.action("Exit")), 1);

  EXPECT_EQ(QDir(QString::fromStdString(w.session().app.programFolder)).canonicalPath(), QDir(dir().path()).canonicalPath());
  EXPECT_FALSE(shell::fieldsEdited(w));
  EXPECT_FALSE(QFile::exists(dir().filePath("DCTavrin2.ini")));
}

using ShellHelp = ShellFixture;

// The pages (title and paragraphs, longer earlier pages' labels hidden) are
// golden/shell_help_pages.txt.
TEST_F(ShellHelp, EveryPageItemShowsItsPageWrappedToTheWindowWidth) {
  mwtest::MainWindow w;
  std::string pages;
  for (const std::string& item : tavrin::helpPageMenuItems()) {
    w.action(QString::fromStdString(item))->trigger();
    pages += "> " + item + (shell::helpWindow(w).isVisible() ? "\n" : " (hidden)\n") + win::dump(&shell::helpWindow(w));
  }
  win::expectGolden("gui", "shell_help_pages.txt", pages);
  frmHelp& h = shell::helpWindow(w);
  h.hide();
  w.action("HelpLoadDCO")->trigger();
  EXPECT_FALSE(h.isVisible());
  EXPECT_EQ(w.findChildren<frmHelp*>().size(), 1);

  w.action("HelpIntro")->trigger();
  h.resize(700, 500);
  QApplication::processEvents();
  const int wide = h.paragraphLabel(0)->height();
  h.resize(300, 500);
  QApplication::processEvents();
  EXPECT_GT(h.paragraphLabel(0)->height(), wide);
  EXPECT_LE(h.paragraphLabel(0)->width(), 300);
}

TEST_F(ShellHelp, TheSpotsWindowsPageOpensInTheHelpWindowOfItsOwnMainWindow) {
  {
    mwtest::MainWindow w;
    spotsWindow(w).showHelpPage();
    frmHelp& h = shell::helpWindow(w);
    EXPECT_TRUE(h.isVisible());
    EXPECT_EQ(h.title().toStdString(), tavrin::spotsHelpPage().title);
    EXPECT_EQ(h.paragraphCount(), static_cast<int>(tavrin::spotsHelpPage().paragraphs.size()));
  }
  // A spots window never reaches the help window of a main window that is gone.
  mwtest::MainWindow first;
  { mwtest::MainWindow second; }
  spotsWindow(first).showHelpPage();
  QWidget* own = spotsWindow(first).findChild<QWidget*>("frmSpotsHelpPage");
  ASSERT_NE(own, nullptr);
  EXPECT_TRUE(own->isVisible());
}

// Parameter labels and topics: the transcript main_help.txt.
TEST_F(ShellHelp, IndividualHelpOfOneLineIsOneLineHigh) {
  mwtest::MainWindow w;
  frmIndivHlp& h = indivHelpWindow(w);
  h.showLines({"V fac"});  // one line plus the margin
  EXPECT_EQ(h.height(), h.lineHeight() + frmIndivHlp::kMargin);
}

TEST_F(ShellHelp, AboutAndHelpFromTheMainWindowAndThePlotWindows) {
  mwtest::MainWindow w;
  w.action("About")->trigger();
  frmAbout& a = shell::aboutWindow(w);
  ASSERT_TRUE(a.isVisible());
  // Its texts are in the transcript main_shell.txt.
  QTest::mouseClick(a.findChild<QWidget*>("Command1"), Qt::LeftButton);
  EXPECT_FALSE(a.isVisible());

  for (QMainWindow* plot : std::initializer_list<QMainWindow*>{&plotLCWindow(w), &plotRVWindow(w)}) {
    plot->show();
    QAction* about = plot->findChild<QAction*>("About");
    QAction* help = plot->findChild<QAction*>("Help");
    ASSERT_TRUE(about && help);
    EXPECT_TRUE(about->isEnabled() && help->isEnabled());
    about->trigger();
    EXPECT_TRUE(a.isVisible());
    a.hide();
    plot->hide();
    plot->show();  // shown again: still one handler
    EXPECT_EQ(receiversOfTriggered(about), 1);
    // Help opens the page on displaying LCO reports and their plots.
    help->trigger();
    frmHelp& h = shell::helpWindow(w);
    EXPECT_TRUE(h.isVisible());
    EXPECT_EQ(h.title().toStdString(), tavrin::helpPageForMenuItem("HelpDisplayLCO")->title);
    h.hide();
    plot->hide();
  }
}

using ShellDesktop = ShellFixture;

// Input fields of a window that a screen reader could not name; buttons and
// check boxes without a caption. A line edit inside a drop-down or a spin
// box is named through its owner.
QStringList unnamedControls(QWidget* window) {
  QStringList out;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    const bool inner = qobject_cast<QLineEdit*>(widget) && widget->parentWidget() &&
                       (qobject_cast<QComboBox*>(widget->parentWidget()) ||
                        qobject_cast<QAbstractSpinBox*>(widget->parentWidget()));
    if (inner || widget->objectName().startsWith("qt_")) continue;  // Qt's own parts (menu bar overflow)
    if (qobject_cast<QAbstractItemView*>(widget->parentWidget())) continue;  // the viewport's own editors
    const bool field = qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
                       qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
                       qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QTextEdit*>(widget);
    const bool button = qobject_cast<QAbstractButton*>(widget) != nullptr;
    if (!field && !button) continue;
    if (qobject_cast<QMenu*>(widget->window()) || widget->window() != window) continue;  // other windows
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
      out << QString("%1 %2").arg(widget->metaObject()->className(),
                                  widget->objectName().isEmpty() ? QString("(no name)") : widget->objectName());
  }
  return out;
}

// The main window's fields are named by their labels in the transcripts.
TEST_F(ShellDesktop, ControlsOfEveryWindowAndPicturesAreNamedForScreenReaders) {
  mwtest::MainWindow w;
  w.show();
  for (const char* option : {"Option1", "Option2"})
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(w.findChild<QWidget*>(option))->text(QAccessible::Name).isEmpty());
  // Every window of the program, each created as its menu item would.
  frmCalcContourData& contours = frmCalcContourData::of(w);
  auto* contourPlot = new frmPlotContours(w, &contours);  // as Plot Contours creates it
  const std::vector<QWidget*> windows = {
      &w, &w.fileDialog(), &w.critPotsWindow(), &w.transferWindow(), &adjustWindow(w), &incremWindow(w),
      &spotsWindow(w), &dataFileWindow(w), &miscParmWindow(w), &indivHelpWindow(w), &plotLCWindow(w), &plotRVWindow(w),
      &plotLCWindow(w).yRangeWindow(), &plotRVWindow(w).yRangeWindow(), &shell::helpWindow(w), &shell::aboutWindow(w),
      &frmCorrel::of(w), &frmIOparms::of(w), &frmMessage::of(w), &frmSetOPfile::of(w), &contours, contourPlot};
  for (QWidget* window : windows) {
    ASSERT_NE(window, nullptr);
    const QStringList unnamed = unnamedControls(window);
    EXPECT_TRUE(unnamed.isEmpty()) << window->objectName().toStdString() << ": " << unnamed.size()
                                   << " unnamed: " << unnamed.join(", ").toStdString();
  }
  // The pictures carry a name and a description of what they show.
  std::vector<QWidget*> pictures = {&plotLCWindow(w), &plotRVWindow(w), plotLCWindow(w).plotArea(),
                                    plotRVWindow(w).plotArea(), contourPlot};
  for (QWidget* canvas : contourPlot->findChildren<QWidget*>())
    if (!canvas->accessibleDescription().isEmpty()) pictures.push_back(canvas);
  EXPECT_GT(pictures.size(), 5u);
  for (QWidget* picture : pictures) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picture);
    EXPECT_FALSE(iface->text(QAccessible::Name).isEmpty()) << picture->objectName().toStdString();
    if (picture->isWindow()) continue;
    EXPECT_FALSE(iface->text(QAccessible::Description).isEmpty()) << picture->objectName().toStdString();
  }
}

}  // namespace
