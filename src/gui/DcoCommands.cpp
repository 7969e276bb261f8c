// Load DCO > Standard and Custom (file dialog code 7), Display DCO >
// Correlations, Corrections to Parameters and Revert to Previous Parms.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QStringList>
#include <cmath>
#include <optional>
#include <vector>

#include "InstallCommands.h"
#include "ReportFailure.h"
#include "ReportGuard.h"
#include "FigureExport.h"
#include "SingleWindow.h"
#include "frmCorrel.h"
#include "frmDataFile.h"
#include "frmIO_all.h"
#include "frmIOparms.h"
#include "frmMain.h"
#include "frmMessage.h"
#include "model/number_fields.h"
#include "output/corrections.h"
#include "output/dco_reader.h"
#include "shell/errors.h"

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The observed-data window shows the light-curve count and the L2 values DC
// printed, when it exists.
void showCurveValues(frmMain& w, const tavrin::DcoReadReport& report) {
  frmDataFile* data = existingWindow<frmDataFile>(w);
  if (!data) return;
  QComboBox* count = data->lightCombo();
  if (report.curveSwitchesRead && w.session().params.NLC < count->count())
    count->setCurrentIndex(w.session().params.NLC);
  for (const auto& [curve, l2] : report.curveL2)
    if (QLineEdit* box = data->text(22, curve)) box->setText(q(tavrin::plainNumberText(l2)));
}

void readDcoFile(frmMain& w) {
  Session& s = w.session();
  const tavrin::DcoLoadOutcome out = tavrin::readSessionDco(s);
  if (out.showMessageBox) w.showMessage(q(out.message));
  if (out.errorWindowLine) frmMessage::of(w).showMessage(q(*out.errorWindowLine));
  if (out.ok) {
    showCurveValues(w, out.report);
    w.showStatus(QString("DCO read: %1").arg(q(s.app.dcoName)));
  }
}

void standardDco(frmMain& w) {
  Session& s = w.session();
  if (s.app.dcoName.empty()) return;
  if (reportguard::refuseWhileWritten(w, s.app.dataFolder, tavrin::standardOutputName(s.app.dciName, ".dco"))) return;
  s.dcoChosenByUser = false;
  readDcoFile(w);
}

void customDco(frmMain& w) {
  Session& s = w.session();
  s.dcoChosenByUser = true;
  w.fileDialog().open(FileOp::LoadDco, "Load DCI", QStringList{"*.dco", "*.*"}, q(s.app.dcoName));
}

// Export of the corrections and the correlation matrix from either window.
void installTableExport(frmMain& w, QWidget& window) {
  figureexport::installResultsExport(
      w, window, [&w]() -> const tavrin::DcResults& { return w.session().dcResults; },
      [&w] {
        const QString base = q(w.session().app.dcoName).section('.', 0, 0);
        return q(w.session().app.dataFolder) + "/" + (base.isEmpty() ? "dc-results" : base);
      });
}

// The set with the values the editor shows now (edited or not) for the
// rows' parameters that have a field; nullopt after a refusal.
std::optional<tavrin::ParameterSet> shownValues(frmMain& w, const std::vector<size_t>& rows) {
  Session& s = w.session();
  tavrin::ParameterSet next = s.params;
  for (size_t i : rows) {
    const tavrin::DcIoRow& io = s.dcResults.ioRows[i];
    if (const auto control = tavrin::dcParameterControl(io.param)) {
      const std::optional<double> shown = w.fieldNumber(q(*control));
      if (!shown) return std::nullopt;  // refused with the field's name; nothing applied
      *tavrin::dcParameterSlot(next, io.param, io.curve) = *shown;
    }
  }
  return next;
}

// Applies corrections to the shown values of the rows' parameters: the set
// takes the result and the editor the fields `apply` gives back. False after
// a refused field (nothing changed); a failure is said, and the caller still
// shows the rows as they stand.
template <typename Apply>
bool applyToShown(frmMain& w, const std::vector<size_t>& rows, Apply apply) {
  bool refused = false;
  reportFailure(w, [&] {
    std::optional<tavrin::ParameterSet> next = shownValues(w, rows);
    if (!next) {
      refused = true;
      return;
    }
    const std::vector<tavrin::FieldText> fields = apply(*next);
    w.session().params = *next;
    for (const tavrin::FieldText& f : fields) w.setFieldText(q(f.control), q(f.text));
  });
  return !refused;
}

void updateAll(frmMain& w) {
  Session& s = w.session();
  const auto applyAll = [&](tavrin::ParameterSet& next) {
    return tavrin::applyAllCorrections(next, s.dcResults, s.updateDone);
  };
  if (!applyToShown(w, tavrin::pendingRows(s.dcResults, s.updateDone), applyAll)) return;
  frmIOparms::of(w).fill(tavrin::ioParmsView(s.dcResults, s.updateDone, s.app.dcoName));
}

void showCorrections(frmMain& w) {
  Session& s = w.session();
  if (s.app.dcoName.empty()) return;
  frmIOparms& f = frmIOparms::of(w);
  f.setUpdateHandler([&w](int row) {
    Session& s = w.session();
    const size_t i = static_cast<size_t>(row - 1);
    if (row < 1 || i >= s.dcResults.ioRows.size()) return;
    const bool applied = applyToShown(w, {i}, [&](tavrin::ParameterSet& next) {
      std::vector<tavrin::FieldText> fields;
      if (auto field = tavrin::applyCorrection(next, s.dcResults, i, s.updateDone)) fields.push_back(std::move(*field));
      return fields;
    });
    if (!applied) return;
    if (i < s.updateDone.size() && s.updateDone[i]) frmIOparms::of(w).setButtonCaption(row, "Done");
  });
  f.setUpdateAllHandler([&w] { updateAll(w); });
  installTableExport(w, f);
  f.fill(tavrin::ioParmsView(s.dcResults, s.updateDone, s.app.dcoName));
  f.show();
  f.raise();
}

void showCorrelations(frmMain& w) {
  Session& s = w.session();
  if (s.app.dcoName.empty()) return;
  frmCorrel& f = frmCorrel::of(w);
  installTableExport(w, f);
  f.fill(tavrin::correlView(s.dcResults, s.app.dcoName));
  f.show();
  f.raise();
}

void revert(frmMain& w) {
  Session& s = w.session();
  for (const tavrin::FieldText& f : tavrin::revertParameters(s.params, s.history))
    w.setFieldText(q(f.control), q(f.text));
}

}  // namespace

void installDcoCommands(frmMain& w) {
  auto hook = [&w](const char* name, void (*fn)(frmMain&)) {
    if (QAction* a = w.action(name)) QObject::connect(a, &QAction::triggered, &w, [&w, fn] { fn(w); });
  };
  hook("StandardDCO", standardDco);
  hook("CustomDCO", customDco);
  hook("Corrections", showCorrections);
  hook("correlations", showCorrelations);
  hook("revert", revert);
  w.fileDialog().setHandler(FileOp::LoadDco, [&w](const QString& name) {
    if (reportguard::refuseWhileWritten(w, w.session().app.dataFolder, name.toStdString())) return;
    w.session().app.dcoName = name.toStdString();
    readDcoFile(w);
  });
}
