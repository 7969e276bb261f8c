#include "FigureExport.h"
#include "ReportFailure.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>

#include "output/dc_tables.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace figureexport {

QString askSavePath(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, caption, suggested, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

std::optional<FigureChoice> askFigure(QWidget* parent, const QString& suggestedPath, bool offerResiduals) {
  QDialog d(parent);
  d.setObjectName("ExportFigureDialog");
  d.setWindowTitle("Export Figure");
  auto* form = new QFormLayout(&d);
  auto* path = new QLineEdit(suggestedPath, &d);
  path->setObjectName("FigurePath");
  auto* browse = new QPushButton("&Browse...", &d);
  auto* row = new QHBoxLayout;
  row->addWidget(path, 1);
  row->addWidget(browse);
  form->addRow("&File:", row);
  auto* preset = new QComboBox(&d);
  preset->setObjectName("FigureSize");
  preset->addItems({"One journal column (3.5 x 2.6 in)", "Two journal columns (7.0 x 4.3 in)", "Custom"});
  form->addRow("&Size:", preset);
  auto* w = new QDoubleSpinBox(&d);
  auto* h = new QDoubleSpinBox(&d);
  auto* unit = new QComboBox(&d);
  w->setObjectName("FigureWidth");
  h->setObjectName("FigureHeight");
  unit->setObjectName("FigureUnit");
  unit->addItems({"in", "cm"});
  for (QDoubleSpinBox* b : {w, h}) {
    b->setDecimals(2);
    b->setRange(1, 102);  // 40 inches in centimetres
  }
  w->setValue(3.5);
  h->setValue(2.6);
  auto* custom = new QHBoxLayout;
  custom->addWidget(w);
  custom->addWidget(h);
  custom->addWidget(unit);
  form->addRow("Width, height:", custom);
  auto* dpi = new QSpinBox(&d);
  dpi->setObjectName("FigureDpi");
  dpi->setRange(36, 2400);
  dpi->setValue(300);
  dpi->setSuffix(" dpi");
  form->addRow("&Resolution (PNG):", dpi);
  auto* residuals = new QCheckBox("Observed minus computed panel", &d);
  residuals->setObjectName("FigureResiduals");
  residuals->setVisible(offerResiduals);
  if (offerResiduals) form->addRow(residuals);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
  form->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  auto sync = [=] {
    const bool own = preset->currentIndex() == 2;
    for (QWidget* x : std::initializer_list<QWidget*>{w, h, unit}) x->setEnabled(own);
    if (own) return;
    const tavrin::FigureSize s = preset->currentIndex() == 0 ? tavrin::kOneColumnFigure : tavrin::kTwoColumnFigure;
    const double k = unit->currentIndex() == 1 ? 2.54 : 1;
    w->setValue(s.widthIn * k);
    h->setValue(s.heightIn * k);
  };
  QObject::connect(preset, &QComboBox::currentIndexChanged, &d, sync);
  QObject::connect(unit, &QComboBox::currentIndexChanged, &d, [=](int index) {
    // The same size in the other unit.
    const double k = index == 1 ? 2.54 : 1 / 2.54;
    w->setValue(w->value() * k);
    h->setValue(h->value() * k);
  });
  sync();
  QObject::connect(browse, &QPushButton::clicked, &d, [&] {
    const QString chosen = askSavePath(&d, "Export Figure", path->text(),
                                       "PDF document (*.pdf);;SVG drawing (*.svg);;PNG image (*.png)");
    if (!chosen.isEmpty()) path->setText(chosen);
  });
  if (d.exec() != QDialog::Accepted || path->text().isEmpty()) return std::nullopt;
  FigureChoice c;
  c.path = path->text();
  const double k = unit->currentIndex() == 1 ? 1 / 2.54 : 1;
  c.size = {w->value() * k, h->value() * k};
  c.dpi = dpi->value();
  c.residuals = offerResiduals && residuals->isChecked();
  return c;
}

bool writeText(frmMain& main, const QString& path, const std::string& text) {
  if (!main.mayReplace(path)) return false;
  return reportFailure(main, [&] { tavrin::writeFileAtomically(path.toStdString(), text); });
}

void installResultsExport(frmMain& main, QWidget& window, std::function<const tavrin::DcResults&()> results,
                          std::function<QString()> suggestedBase) {
  auto* bar = window.findChild<QMenuBar*>();
  if (!bar || window.findChild<QAction*>("ExportTableCsv")) return;
  auto add = [&](const char* name, const QString& caption, bool latex) {
    QAction* a = bar->addAction(caption);
    a->setObjectName(name);
    QObject::connect(a, &QAction::triggered, &window, [&main, &window, results, suggestedBase, latex] {
      const QString path = askSavePath(&window, "Export Table", suggestedBase() + (latex ? ".tex" : ".csv"),
                                       latex ? "LaTeX table (*.tex)" : "CSV table (*.csv)");
      if (path.isEmpty()) return;
      const tavrin::DcResults& r = results();
      writeText(main, path, latex ? tavrin::dcResultsLatex(r) : tavrin::dcResultsCsv(r));
    });
  };
  add("ExportTableCsv", "Export Table (CSV)...", false);
  add("ExportTableLatex", "Export Table (LaTeX)...", true);
}

}  // namespace figureexport
