#pragma once
// The application shell around the main window: Help and About, Print, the
// parameter help, Exit and closing, the settings file, recent files, drag
// and drop, remembered geometry.
#include <QString>
#include <QStringList>
#include <functional>

class frmMain;
class frmHelp;
class frmAbout;
class QSettings;

namespace shell {

frmHelp& helpWindow(frmMain& main);
frmAbout& aboutWindow(frmMain& main);

// True when a field was changed since the last successful save or load
// (a refused or failed save leaves it set, though it clears the marking).
bool fieldsEdited(const frmMain& main);

// Loads an .lci or .dci file by full path exactly as the file dialog's OK
// would (codes 1 and 5): the folder becomes the data folder. Other
// extensions are refused with a message. Returns whether the file loaded.
bool loadInputFile(frmMain& main, const QString& path);

// Recent input files, newest first, at most kMaxRecent.
inline constexpr int kMaxRecent = 8;
QStringList recentFiles();

// The answer to "save the edited fields?" before Exit or closing.
enum class ExitAnswer { Save, Discard, Cancel };
using ExitQuestion = std::function<ExitAnswer()>;
// Tests replace the question box and the ending of the program; empty
// functions restore the real ones.
void setExitQuestion(ExitQuestion question);
void setQuitFunction(std::function<void()> quit);
// Tests point the desktop settings (recent files, geometry) at a file of
// their own. Without it they are kept only when the program runs as Tavrin.
void setDesktopSettingsFile(const QString& iniPath);

}  // namespace shell
