// File menu: Save, Load/Save LCI, Load/Save DCI, and the file dialog's
// operations 1, 2, 5 and 6.
#include <QAction>
#include <QStringList>
#include <string_view>

#include "InstallCommands.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "model/parameter_set.h"
#include "shell/session.h"

using tavrin::InputKind;
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

// The editor control that shows a parameter.
QString controlOf(std::string_view name) {
  const std::string_view c = tavrin::findScalarField(name)->control;
  return QString::fromUtf8(c.data(), static_cast<qsizetype>(c.size()));
}

void loadInput(frmMain& w, const QString& qname, InputKind kind) {
  Session& s = w.session();
  const tavrin::LoadOutcome o = tavrin::loadInto(s, qname.toStdString(), kind);
  w.setProgramMode(tavrin::modeOf(kind));
  if (o.loaded) {
    w.showParameters();
    w.applyDisplayTexts(o.displayTexts);
    w.syncRadConvChecks();
    w.refreshCriticalPotentials();
  }
  w.setCaptionText(q(o.caption));
  if (!o.loaded) w.showMessage(q(o.message));
  tavrin::loadShown(s, o);
  w.resetColours();
}

// Gathers the editor and writes the input file of the kind.
void saveInput(frmMain& w, const QString& qname, InputKind kind) {
  Session& s = w.session();
  if (!w.gather()) {
    w.resetColours();
    return;
  }
  const tavrin::SavedInput o = tavrin::saveFrom(s, qname.toStdString(), kind);
  const QString poth = controlOf("POTH"), pot2 = controlOf("POT2");
  if (o.tiePotentials && w.fieldText(pot2) != w.fieldText(poth)) w.setFieldText(pot2, w.fieldText(poth));
  if (o.poth) w.setFieldText(poth, q(*o.poth));
  if (o.pot2) w.setFieldText(pot2, q(*o.pot2));
  if (!o.saved) {
    w.showMessage(q(o.message));
    w.resetColours();
    return;
  }
  w.setProgramMode(tavrin::modeOf(kind));
  w.setCaptionText(q(o.caption));
  w.resetColours();
  tavrin::saveShown(s, o);
}

void save(frmMain& w) {
  const bool dc = w.session().mode == ProgramMode::DC;
  const QString name = q(tavrin::currentInputName(w.session()));
  if (!name.isEmpty())
    saveInput(w, name, dc ? InputKind::Dci : InputKind::Lci);
  else
    openDialog(w, dc ? FileOp::SaveDci : FileOp::SaveLci);
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
  d.setHandler(FileOp::LoadLci, [&w](const QString& name) { loadInput(w, name, InputKind::Lci); });
  d.setHandler(FileOp::SaveLci, [&w](const QString& name) { saveInput(w, name, InputKind::Lci); });
  d.setHandler(FileOp::LoadDci, [&w](const QString& name) { loadInput(w, name, InputKind::Dci); });
  d.setHandler(FileOp::SaveDci, [&w](const QString& name) { saveInput(w, name, InputKind::Dci); });
  // Saving over the file of the kind now loaded needs no question; any other does.
  const auto current = [&w](InputKind kind) { return q(tavrin::inputPath(w.session(), kind)); };
  d.setReplaceCheck(FileOp::SaveLci, [current] { return current(InputKind::Lci); });
  d.setReplaceCheck(FileOp::SaveDci, [current] { return current(InputKind::Dci); });
}
