// Run LC/DC > Standard and Custom: the script that runs Synthex or Solvex,
// started detached; each started run is watched without blocking and the
// status bar says how it ended and which program ran.
#include "RunCommands.h"
#include "ReportFailure.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QObject>
#include <QTimer>
#include <cstdlib>
#include <utility>
#include <vector>

#include "InstallCommands.h"
#include "frmMain.h"
#include "frmSetOPfile.h"
#include "runs/runs.h"
#include "shell/errors.h"

using tavrin::ProgramMode;
namespace runs = tavrin::runs;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

bool sameFolder(const QString& a, const std::string& b) {
  if (b.empty()) return false;
  const QString cb = QFileInfo(q(b)).canonicalFilePath();
  return !cb.isEmpty() && QFileInfo(a).canonicalFilePath() == cb;
}

// Which copy of the program runs matters when the program folder has none
// and the installed stand-in takes over: say so with its full path.
QString programNote(const Session& s, const std::string& executable) {
  const QString exe = QDir::toNativeSeparators(q(executable));
  const QString folder = QFileInfo(q(executable)).absolutePath();
  if (!sameFolder(folder, s.app.programFolder) && sameFolder(folder, s.app.installedProgramsFolder))
    return QString("program: %1 (installed with Tavrin)").arg(exe);
  return QString("program: %1").arg(exe);
}

class RunWatcher : public QObject {
 public:
  explicit RunWatcher(frmMain& main) : QObject(&main), main_(main) {
    setObjectName("RunWatcher");
    timer_.setInterval(runcommands::kPollMs);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
  }

  void watch(long pid, ProgramMode mode, const std::string& outputName, const std::string& outputPath,
             const QString& programNote) {
    Run r{pid, mode, outputName, outputPath, programNote, {}};
    r.clock.start();
    runs_.push_back(r);
    if (!timer_.isActive()) timer_.start();
  }
  int count() const { return static_cast<int>(runs_.size()); }
  // The reports of the runs still going, for readers that must wait for them.
  std::vector<std::pair<QString, std::string>> outputsBeingWritten() const {
    std::vector<std::pair<QString, std::string>> out;
    for (const Run& r : runs_) out.emplace_back(runs::programLabel(r.mode), r.outputPath);
    return out;
  }

 private:
  struct Run {
    long pid;
    ProgramMode mode;
    std::string outputName;
    std::string outputPath;
    QString programNote;
    QElapsedTimer clock;
  };

  void poll() {
    for (size_t i = 0; i < runs_.size();) {
      const runs::RunStatus st = runs::pollRun(runs_[i].pid);
      if (st.state == runs::RunStatus::Running) {
        ++i;
        continue;
      }
      const double seconds = static_cast<double>(runs_[i].clock.elapsed()) / 1000.0;
      QString text = q(runs::runEndMessage(runs_[i].mode, runs_[i].outputName, st, seconds)) + " - " +
                     runs_[i].programNote;
      // A failed run says what the program said last.
      const bool failed = !(st.state == runs::RunStatus::Exited && st.code == 0);
      const std::string said = failed ? runs::lastErrorLines(runs_[i].outputPath, 1) : std::string();
      if (!said.empty()) text += " - " + q(said);
      main_.showStatus(text);
      runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (runs_.empty()) timer_.stop();
  }

  frmMain& main_;
  QTimer timer_;
  std::vector<Run> runs_;
};

RunWatcher& watcher(frmMain& main) {
  auto* w = main.findChild<RunWatcher*>("RunWatcher", Qt::FindDirectChildrenOnly);
  if (!w) w = new RunWatcher(main);
  return *w;
}

void start(frmMain& w, const runs::RunPlan& plan) {
  reportFailure(w, [&] {
    const long pid = runs::startRun(plan);
    runs::recordStart(plan, w.session().params, w.session().history);
    const QString note = programNote(w.session(), plan.executable);
    watcher(w).watch(pid, plan.mode, plan.outputName, plan.outputPath, note);
    w.showStatus(QString("%1 running: %2 - %3").arg(runs::programLabel(plan.mode), q(plan.outputName), note));
  });
}

// A run needs the saved file of its kind, and fields that a save would take.
bool readyToRun(frmMain& w) {
  const Session& s = w.session();
  const bool dc = s.mode == ProgramMode::DC;
  if (tavrin::currentInputName(s).empty()) {
    if (w.ask(dc ? "Save the model as a DCI file first (File > Save File)."
                 : "Save the model as an LCI file first (File > Save File).",
              "Save File..."))
      if (QAction* save = w.action("Save")) save->trigger();
    return false;
  }
  return w.checkFields();
}

void runStandard(frmMain& w) {
  if (!readyToRun(w)) return;
  Session& s = w.session();
  std::optional<runs::RunPlan> plan;
  if (reportFailure(w, [&] { plan = runs::planStandardRun(s.app, s.mode); }) && plan) start(w, *plan);
}

void runCustom(frmMain& w) {
  if (!readyToRun(w)) return;
  Session& s = w.session();
  frmSetOPfile& f = frmSetOPfile::of(w);
  const auto name = runs::customRunDefault(s.app, s.mode);
  if (!name) {
    f.hide();
    return;
  }
  f.setOkHandler([&w](const QString& typed) {
    Session& s = w.session();
    const char* path = std::getenv("PATH");
    std::optional<runs::RunPlan> plan;
    const bool planned = reportFailure(w, [&] {
      plan = runs::planCustomRun(s.app, s.mode, typed.toStdString(), QDir::currentPath().toStdString(),
                                 path ? path : "");
    });
    if (planned) start(w, *plan);
  });
  f.offer(q(*name));
}

}  // namespace

void installRunCommands(frmMain& w) {
  if (QAction* a = w.action("RunStandard")) QObject::connect(a, &QAction::triggered, &w, [&w] { runStandard(w); });
  if (QAction* a = w.action("RunCustom")) QObject::connect(a, &QAction::triggered, &w, [&w] { runCustom(w); });
}

namespace runcommands {
int runsInProgress(frmMain& main) { return watcher(main).count(); }
std::vector<std::pair<QString, std::string>> reportsBeingWritten(frmMain& main) {
  return watcher(main).outputsBeingWritten();
}
}  // namespace runcommands
