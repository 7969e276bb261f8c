#include "frmFit.h"
#include "SingleWindow.h"
#include "ReportFailure.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdlib>

#include "FigureExport.h"
#include "frmMain.h"
#include "model/dc_parameters.h"
#include "model/number_fields.h"
#include "output/corrections.h"
#include "runs/runs.h"
#include "shell/atomic_file.h"

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
namespace r = tavrin::runs;
}  // namespace

frmFit::frmFit(frmMain& main) : QDialog(&main), main_(main) {
  setObjectName("frmFit");
  setWindowTitle("Fit Until Converged");
  auto* outer = new QVBoxLayout(this);
  auto* rules = new QGridLayout;
  outer->addLayout(rules);
  auto edit = [this](const char* name, const QString& text) {
    auto* e = new QLineEdit(text, this);
    e->setObjectName(name);
    e->setMaximumWidth(90);
    return e;
  };
  auto check = [this](const char* name, const QString& text) {
    auto* c = new QCheckBox(text, this);
    c->setObjectName(name);
    c->setChecked(true);
    return c;
  };
  useSigma_ = check("UseSigma", "Every |correction| below k x its standard deviation, k =");
  sigma_ = edit("SigmaK", "0.5");
  useRel_ = check("UseRelChange", "Relative fall of Sum(W*Res**2) between passes below");
  rel_ = edit("RelChange", "1E-4");
  useMax_ = check("UseMaxPasses", "At most this many passes:");
  max_ = edit("MaxPasses", "10");
  damping_ = edit("Damping", "1");
  rules->addWidget(useSigma_, 0, 0);
  rules->addWidget(sigma_, 0, 1);
  rules->addWidget(useRel_, 1, 0);
  rules->addWidget(rel_, 1, 1);
  rules->addWidget(useMax_, 2, 0);
  rules->addWidget(max_, 2, 1);
  auto* dampingLabel = new QLabel("Damping (corrections are applied times this):", this);
  dampingLabel->setBuddy(damping_);
  rules->addWidget(dampingLabel, 3, 0, Qt::AlignRight);
  rules->addWidget(damping_, 3, 1);
  rules->setColumnStretch(2, 1);

  auto* progress = new QHBoxLayout;
  outer->addLayout(progress);
  auto label = [this](const char* name) {
    auto* l = new QLabel(this);
    l->setObjectName(name);
    return l;
  };
  pass_ = label("PassLabel");
  elapsed_ = label("ElapsedLabel");
  sum_ = label("SumLabel");
  for (QLabel* l : {pass_, elapsed_, sum_}) progress->addWidget(l);
  progress->addStretch(1);
  outcome_ = label("Outcome");
  outcome_->setWordWrap(true);
  outer->addWidget(outcome_);

  table_ = new QTableWidget(this);
  table_->setObjectName("History");
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  outer->addWidget(table_, 1);

  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  auto button = [this, buttons](const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  start_ = button("Start", "Start");
  cancel_ = button("Cancel", "Cancel");
  apply_ = button("Apply", "Apply");
  buttons->addStretch(1);
  QPushButton* csv = button("ExportCsv", "Export CSV...");
  QPushButton* latex = button("ExportLatex", "Export LaTeX...");
  QPushButton* clear = button("ClearHistory", "Clear History");
  connect(start_, &QPushButton::clicked, this, &frmFit::start);
  connect(cancel_, &QPushButton::clicked, this, &frmFit::cancel);
  connect(apply_, &QPushButton::clicked, this, &frmFit::apply);
  connect(csv, &QPushButton::clicked, this, [this] { exportHistory(false); });
  connect(latex, &QPushButton::clicked, this, [this] { exportHistory(true); });
  connect(clear, &QPushButton::clicked, this, [this] {
    if (busy_) return;
    history_.clear();
    table_->clear();
    table_->setRowCount(0);
    table_->setColumnCount(0);
  });
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
    const int row = table_->currentRow();
    apply_->setEnabled(!busy_ && row >= 0 && row < static_cast<int>(history_.entries().size()) &&
                       history_.entries()[static_cast<size_t>(row)].pass.sound());
  });
  clock_ = new QTimer(this);
  clock_->setInterval(200);
  connect(clock_, &QTimer::timeout, this,
          [this] { elapsed_->setText(QString("Elapsed: %1 s").arg(since_.elapsed() / 1000.0, 0, 'f', 1)); });
  setBusy(false);
  apply_->setEnabled(false);
  resize(900, 520);
}

frmFit::~frmFit() {
  cancelFlag_ = true;
  if (thread_.joinable()) thread_.join();
}

frmFit& frmFit::of(frmMain& main) { return singleWindow<frmFit>(main); }

QString frmFit::outcomeText() const { return outcome_->text(); }

void frmFit::setBusy(bool busy) {
  start_->setEnabled(!busy);
  cancel_->setEnabled(busy);
  if (busy) apply_->setEnabled(false);
  for (QWidget* w : std::initializer_list<QWidget*>{useSigma_, useRel_, useMax_, sigma_, rel_, max_, damping_})
    w->setEnabled(!busy);
}

bool frmFit::readRules(r::FitRules& rules) {
  auto number = [this](QLineEdit* e, const QString& what, double low, bool lowIncluded, double& v) {
    bool ok = false;
    v = e->text().trimmed().toDouble(&ok);
    if (ok && std::isfinite(v) && (lowIncluded ? v >= low : v > low)) return true;
    main_.showMessage(QString("%1 must be a number %2 %3.").arg(what, lowIncluded ? "of at least" : "above").arg(low));
    return false;
  };
  double maxPasses = 0;
  rules.useSigma = useSigma_->isChecked();
  rules.useRelChange = useRel_->isChecked();
  rules.useMaxPasses = useMax_->isChecked();
  if (!number(sigma_, "k", 0, false, rules.sigmaK) || !number(rel_, "The relative fall", 0, true, rules.relChange) ||
      !number(max_, "The maximum of passes", 1, true, maxPasses) || !number(damping_, "Damping", 0, false, rules.damping))
    return false;
  if (rules.damping > 1) {
    main_.showMessage("Damping must not be above 1.");
    return false;
  }
  if (!rules.useSigma && !rules.useRelChange && !rules.useMaxPasses) {
    main_.showMessage("Choose at least one stop rule.");
    return false;
  }
  rules.maxPasses = static_cast<int>(std::min(maxPasses, 32767.0));
  return true;
}

void frmFit::start() {
  if (busy_) return;
  Session& s = main_.session();
  if (s.app.dciName.empty()) {
    main_.showMessage("Oops!  You need to load a .dci file first.");
    return;
  }
  r::FitRules rules;
  if (!readRules(rules)) return;
  std::optional<tavrin::ParameterSet> shown = main_.editorCopy();
  if (!shown) return;
  tavrin::ParameterSet copy = std::move(*shown);
  std::string exe;
  if (!reportFailure(main_, [&] { exe = r::standardExecutable(s.app, tavrin::ProgramMode::DC); })) return;
  const std::string folder = r::fitFolderFor(tavrin::joinPath(s.app.dataFolder, r::leftTrimmed(s.app.dciName)));
  if (thread_.joinable()) thread_.join();
  rules_ = rules;
  fit_ = history_.beginFit();
  cancelFlag_ = false;
  busy_ = true;
  setBusy(true);
  outcome_->setText(QString("Fitting; the runs are kept in %1").arg(q(folder)));
  pass_->setText("Pass: -");
  sum_->clear();
  since_.start();
  clock_->start();
  thread_ = std::thread([this, copy = std::move(copy), rules, exe, folder] {
    r::FitOutcome o;
    {
      r::FitFolderRunner runner(exe, folder, 600, &cancelFlag_);
      r::FitJob job;
      job.start = copy;
      job.rules = rules;
      job.cancel = &cancelFlag_;
      job.runner = [&runner](const std::string& t, int n) { return runner(t, n); };
      job.onPass = [this](const r::FitPass& p) {
        QMetaObject::invokeMethod(this, [this, p] { addRow(p); }, Qt::QueuedConnection);
      };
      o = r::runFit(job);
    }
    busy_ = false;
    QMetaObject::invokeMethod(this, [this, o] { finish(o); }, Qt::QueuedConnection);
  });
}

void frmFit::cancel() {
  if (busy_) cancelFlag_ = true;
}

void frmFit::addRow(const r::FitPass& p) {
  history_.add(fit_, p);
  pass_->setText(QString("Pass: %1%2").arg(p.pass).arg(p.retry ? QString(" (retry %1)").arg(p.retry) : QString()));
  sum_->setText(QString("Sum(W*Res**2): %1").arg(q(tavrin::trimmedPlainText(p.results.sumWResInput))));
  showHistory();
}

void frmFit::showHistory() {
  const tavrin::FitHistoryTable t = tavrin::fitHistoryTable(history_);
  table_->setColumnCount(static_cast<int>(t.headers.size()));
  QStringList heads;
  for (const std::string& h : t.headers) heads << q(h);
  table_->setHorizontalHeaderLabels(heads);
  table_->setRowCount(static_cast<int>(t.rows.size()));
  // Columns may have been added for new unknowns: every row is shown again.
  for (size_t i = 0; i < t.rows.size(); ++i) {
    const bool sound = history_.entries()[i].pass.sound();
    for (size_t c = 0; c < t.rows[i].size(); ++c) {
      // Seven digits on screen; the exports keep every digit.
      QString text = q(t.rows[i][c]);
      bool isNumber = false;
      const double v = text.toDouble(&isNumber);
      if (isNumber && c >= 3) text = QString::number(v, 'g', 7);
      auto* item = new QTableWidgetItem(text);
      item->setToolTip(q(t.rows[i][c]));
      if (c + 1 < t.rows[i].size()) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (!sound) item->setForeground(QColor(0xb0, 0, 0));
      table_->setItem(static_cast<int>(i), static_cast<int>(c), item);
    }
  }
  table_->resizeColumnsToContents();
  table_->scrollToBottom();
}

void frmFit::finish(const r::FitOutcome& o) {
  if (thread_.joinable()) thread_.join();
  clock_->stop();
  elapsed_->setText(QString("Elapsed: %1 s").arg(since_.elapsed() / 1000.0, 0, 'f', 1));
  setBusy(false);
  history_.finishFit(fit_, o.passes);
  showHistory();
  outcome_->setText(q(r::fitSummary(o, rules_)));
  if (o.lastSound >= 0) {
    // The default choice: this fit's last sound pass.
    const int row = static_cast<int>(history_.entries().size() - o.passes.size()) + o.lastSound;
    table_->selectRow(row);
  }
  main_.showStatus(outcome_->text());
  emit fitFinished();
}

void frmFit::apply() {
  const int row = table_->currentRow();
  if (busy_ || row < 0 || row >= static_cast<int>(history_.entries().size())) return;
  const r::FitPass& p = history_.entries()[static_cast<size_t>(row)].pass;
  if (!p.sound()) return;
  for (const tavrin::FieldText& field : tavrin::takeAdjustedValues(main_.session(), p.input, p.results)) {
    main_.setFieldText(q(field.control), q(field.text));
    // Long values show their beginning, as a loaded file does.
    if (auto* e = qobject_cast<QLineEdit*>(main_.field(q(field.control)))) e->setCursorPosition(0);
  }
  main_.showStatus(QString("The values of pass %1 are in the editor; they are not saved.").arg(p.pass));
}

void frmFit::exportHistory(bool latex) {
  if (history_.entries().empty()) return;
  const Session& s = main_.session();
  const QString suggested = q(tavrin::joinPath(s.app.dataFolder, "fit-history")) + (latex ? ".tex" : ".csv");
  const QString path = figureexport::askSavePath(this, latex ? "Export LaTeX" : "Export CSV", suggested,
                                                 latex ? "LaTeX (*.tex)" : "CSV (*.csv)");
  if (path.isEmpty()) return;
  figureexport::writeText(main_, path, latex ? tavrin::fitHistoryLatex(history_) : tavrin::fitHistoryCsv(history_));
}
