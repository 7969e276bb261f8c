// File menu: Save, Load/Save LCI, Load/Save DCI, and the file dialog's
// operations 1, 2, 5 and 6.
#include <QAction>
#include <QStringList>
#include <new>

#include "InstallCommands.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "model/lci_writer.h"
#include "model/parameter_history.h"
#include "shell/app_state.h"
#include "shell/errors.h"

using tavrin::ProgramMode;

namespace {

const QStringList kLciPatterns{"*.lci", "*.*"};
const QStringList kDciPatterns{"*.dci", "*.*"};

QString q(const std::string& s) { return QString::fromStdString(s); }

void openDialog(frmMain& w, FileOp op) {
  const tavrin::AppState& app = w.session().app;
  frmIO_all& d = w.fileDialog();
  switch (op) {
    case FileOp::LoadLci:
      d.open(FileOp::LoadLci, "Load LCI File", kLciPatterns, q(app.lciName));
      break;
    case FileOp::SaveLci:
      d.open(FileOp::SaveLci, "Save LCI File", kLciPatterns, q(app.lciName));
      break;
    case FileOp::LoadDci:
      d.open(FileOp::LoadDci, "Load DCI", kDciPatterns, q(app.dciName));
      break;
    case FileOp::SaveDci:
      d.open(FileOp::SaveDci, "Save DCI", kDciPatterns, q(app.dciName));
      break;
    default:
      break;
  }
}

// ---- loading ---------------------------------------------------------------

void loadInput(frmMain& w, const QString& qname, bool dci) {
  Session& s = w.session();
  const std::string name = qname.toStdString();
  (dci ? s.app.dciName : s.app.lciName) = name;
  const ProgramMode mode = dci ? ProgramMode::DC : ProgramMode::LC;
  try {
    const std::string path = tavrin::joinPath(s.app.dataFolder, name);
    // The probe switches the mode before the file is read.
    w.setProgramMode(mode);
    const tavrin::Layout layout = dci ? tavrin::probeDci(path) : tavrin::probeLci(path);
    tavrin::InputLoad load =
        dci ? tavrin::readDci(path, s.params, layout) : tavrin::readLci(path, s.params, layout);

    s.params = std::move(load.params);
    s.app.olderLayout = layout == tavrin::Layout::Older;
    if (dci) {
      s.app.dcoName = load.dcoName;
      s.app.lciName.clear();
      s.history = tavrin::ParameterHistory::fromParameterSet(s.params);
    } else {
      s.app.dciName.clear();
      s.transferDcValues = false;
    }
    w.setProgramMode(mode);
    w.showParameters();
    w.applyDisplayTexts(load.displayTexts);
    w.syncRadConvChecks();
    w.refreshCriticalPotentials();
    QString caption = "Tavrin - " + qname;
    if (s.app.olderLayout) caption += '*';
    w.setCaptionText(caption);
    s.editedSinceSave = false;  // the fields now are the file's
  } catch (const std::exception& e) {
    // Nothing of the file was taken. The name is dropped so that Save asks
    // for one instead of writing this editor over the file that failed.
    s.app.readError = true;
    (dci ? s.app.dciName : s.app.lciName).clear();
    s.app.olderLayout = false;
    w.setCaptionText(tavrin::kUntitledCaption);
    const auto* te = dynamic_cast<const tavrin::TavrinError*>(&e);
    w.showMessage(te ? QString::fromUtf8(te->what()) : q(tavrin::errorMessage(tavrin::kErrOutOfMemory)));
  }
  s.app.readError = false;
  w.resetColours();
}

// ---- saving ----------------------------------------------------------------

// Gathers the editor and writes the input file of the kind; on success the
// name, the mode and the caption follow the file. A refusal or a failed write
// leaves names and caption as they were.
void saveInput(frmMain& w, const QString& qname, bool dci) {
  Session& s = w.session();
  if (!w.gather()) {
    w.resetColours();
    return;
  }
  const std::string name = qname.toStdString();
  const std::string path = tavrin::joinPath(s.app.dataFolder, name);
  tavrin::SaveOutcome out;
  try {
    out = dci ? tavrin::saveDci(s.params, path) : tavrin::saveLci(s.params, path);
  } catch (const tavrin::TavrinError& e) {
    w.showMessage(QString::fromUtf8(e.what()));
    w.resetColours();
    return;
  } catch (const std::bad_alloc&) {
    w.showMessage(q(tavrin::errorMessage(tavrin::kErrOutOfMemory)));
    w.resetColours();
    return;
  }
  // The overcontact modes tie star 2's potential to star 1's in the LCI.
  if (!dci && (s.params.MODE == 1 || s.params.MODE == 3) && w.fieldText("Text47") != w.fieldText("Text46"))
    w.setFieldText("Text47", w.fieldText("Text46"));
  if (out.text46) w.setFieldText("Text46", q(*out.text46));
  if (out.text47) w.setFieldText("Text47", q(*out.text47));
  if (!out.written) {
    w.showMessage(q(out.refusal));
    w.resetColours();
    return;
  }
  if (dci) {
    s.app.dciName = name;
    s.app.lciName.clear();
  } else {
    s.app.lciName = name;
    s.app.dciName.clear();
  }
  s.app.olderLayout = false;
  w.setProgramMode(dci ? ProgramMode::DC : ProgramMode::LC);
  w.setCaptionText("Tavrin - " + qname);
  w.resetColours();
  s.editedSinceSave = false;
}

void save(frmMain& w) {
  const Session& s = w.session();
  if (s.mode == ProgramMode::DC) {
    if (!s.app.dciName.empty())
      saveInput(w, q(s.app.dciName), true);
    else
      openDialog(w, FileOp::SaveDci);
  } else {
    if (!s.app.lciName.empty())
      saveInput(w, q(s.app.lciName), false);
    else
      openDialog(w, FileOp::SaveLci);
  }
}

}  // namespace

void installFileCommands(frmMain& w) {
  auto on = [&w](const char* name, auto fn) {
    if (QAction* a = w.action(name)) QObject::connect(a, &QAction::triggered, &w, fn);
  };
  on("Save", [&w] { save(w); });
  on("LoadLCI", [&w] { openDialog(w, FileOp::LoadLci); });
  on("SaveLCI", [&w] { openDialog(w, FileOp::SaveLci); });
  on("LoadDCI", [&w] { openDialog(w, FileOp::LoadDci); });
  on("SaveDCI", [&w] { openDialog(w, FileOp::SaveDci); });

  frmIO_all& d = w.fileDialog();
  d.setHandler(FileOp::LoadLci, [&w](const QString& name) { loadInput(w, name, false); });
  d.setHandler(FileOp::SaveLci, [&w](const QString& name) { saveInput(w, name, false); });
  d.setHandler(FileOp::LoadDci, [&w](const QString& name) { loadInput(w, name, true); });
  d.setHandler(FileOp::SaveDci, [&w](const QString& name) { saveInput(w, name, true); });
  // Saving over the file of the kind now loaded needs no question; any other does.
  const auto current = [&w](bool dci) {
    const tavrin::AppState& app = w.session().app;
    const std::string& name = dci ? app.dciName : app.lciName;
    return name.empty() ? QString() : q(tavrin::joinPath(app.dataFolder, name));
  };
  d.setReplaceCheck(FileOp::SaveLci, [current] { return current(false); });
  d.setReplaceCheck(FileOp::SaveDci, [current] { return current(true); });
}
