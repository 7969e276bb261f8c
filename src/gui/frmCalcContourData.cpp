#include "frmCalcContourData.h"
#include "ReportFailure.h"
#include "SingleWindow.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMetaObject>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>

#include "Session.h"
#include "contours/contour_file.h"
#include "contours/contour_plot.h"
#include "frmDataFile.h"
#include "frmHelpContours.h"
#include "frmIO_all.h"
#include "frmMain.h"
#include "frmPlotContours.h"
#include "model/dci_writer.h"
#include "model/number_fields.h"
#include "runs/runs.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

namespace c = tavrin::contours;
using c::SetupBox;
using tavrin::fixedField;
using tavrin::trimmedPlainText;

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

struct frmCalcContourData::Ui {
  QRadioButton* x[6] = {};
  QRadioButton* y[6] = {};
  QButtonGroup* xGroup = nullptr;
  QButtonGroup* yGroup = nullptr;
  QLineEdit* text[10] = {};  // Text1..Text9
  QLabel* label16 = nullptr;
  QLabel* label18 = nullptr;
  QLabel* label20 = nullptr;
  QLabel* label25 = nullptr;
  QLabel* label26 = nullptr;
  QPushButton* cmd[7] = {};  // Command1..Command6
  QSpinBox* parallel = nullptr;
};

frmCalcContourData& frmCalcContourData::of(frmMain& main) { return singleWindow<frmCalcContourData>(main); }

frmCalcContourData::frmCalcContourData(frmMain& main) : QMainWindow(&main, Qt::Window), main_(main), ui_(new Ui) {
  setObjectName("frmCalcContourData");
  setWindowTitle("Calculate Contour Data");
  build();
}

frmCalcContourData::~frmCalcContourData() {
  task_.cancel();
  task_.wait();
}

void frmCalcContourData::build() {
  QAction* help = menuBar()->addAction("Help");
  help->setObjectName("HelpContours");
  connect(help, &QAction::triggered, this, [this] {
    if (!help_) help_ = new frmHelpContours(this);
    help_->show();
    help_->raise();
  });

  auto* central = new QWidget;
  auto* outer = new QVBoxLayout(central);
  auto* frames = new QHBoxLayout;
  outer->addLayout(frames);

  auto makeText = [this](int n) {
    auto* e = new QLineEdit;
    e->setObjectName(QString("Text%1").arg(n));
    e->setMaximumWidth(120);
    ui_->text[n] = e;
    return e;
  };
  auto makeFrame = [&](const char* name, const char* caption, bool isX) {
    auto* box = new QGroupBox(caption);
    box->setObjectName(name);
    auto* g = new QGridLayout(box);
    auto* group = new QButtonGroup(box);
    for (int code = 1; code <= 5; ++code) {
      auto* r = new QRadioButton(c::codeCaption(code));
      r->setObjectName(QString("Option%1").arg(isX ? code : code + 10));
      group->addButton(r, code);
      g->addWidget(r, code - 1, 0, 1, 2);
      (isX ? ui_->x : ui_->y)[code] = r;
    }
    const int base = isX ? 1 : 4;
    g->addWidget(new QLabel("Minimum value"), 5, 0);
    g->addWidget(makeText(base), 5, 1);
    g->addWidget(new QLabel("Maximum value"), 6, 0);
    g->addWidget(makeText(base + 1), 6, 1);
    g->addWidget(new QLabel(isX ? "Number of points, M" : "Number of points, N"), 7, 0);
    g->addWidget(makeText(base + 2), 7, 1);
    (isX ? ui_->xGroup : ui_->yGroup) = group;
    // Both frames have the same captions: the variable goes into the names.
    for (int k = 0; k < 3; ++k) {
      QLineEdit* e = ui_->text[base + k];
      auto* l = qobject_cast<QLabel*>(g->itemAtPosition(5 + k, 0)->widget());
      l->setBuddy(e);
      e->setAccessibleName(QString("%1 %2").arg(caption, l->text()));
    }
    connect(group, &QButtonGroup::idClicked, this, [this, isX](int id) {
      (isX ? entry_.grid.xCode : entry_.grid.yCode) = static_cast<int16_t>(id);
    });
    frames->addWidget(box);
  };
  makeFrame("Frame1", "X-variable", true);
  makeFrame("Frame2", "Y-variable", false);

  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  auto label = [](const char* name, const QString& text) {
    auto* l = new QLabel(text);
    l->setObjectName(name);
    return l;
  };
  auto labelled = [&grid](int row, const QString& text, QWidget* field) {
    auto* l = new QLabel(text);
    l->setBuddy(field);
    grid->addWidget(l, row, 0);
    grid->addWidget(field, row, 1);
  };
  labelled(0, "Delay (s)", makeText(7));
  labelled(1, "Zoom factor", makeText(8));
  labelled(2, "# of Iterations", makeText(9));
  ui_->parallel = new QSpinBox;
  labelled(3, "Parallel runs", ui_->parallel);
  ui_->parallel->setObjectName("ParallelRuns");
  ui_->parallel->setRange(1, 64);
  ui_->parallel->setValue(c::defaultWorkers());

  grid->addWidget(new QLabel("Time (s) for 1 run"), 0, 2);
  grid->addWidget(ui_->label20 = label("Label20", ""), 0, 3);
  grid->addWidget(new QLabel("Estimated time for full run"), 1, 2);
  grid->addWidget(new QLabel("HH:MM:SS"), 2, 2);
  grid->addWidget(ui_->label16 = label("Label16", ""), 1, 3, 2, 1);
  grid->addWidget(new QLabel("Min Wres"), 3, 2);
  grid->addWidget(ui_->label25 = label("Label25", ""), 3, 3);
  grid->addWidget(new QLabel("Max Wres"), 4, 2);
  grid->addWidget(ui_->label26 = label("Label26", ""), 4, 3);
  grid->addWidget(new QLabel("Output file"), 5, 0);
  grid->addWidget(ui_->label18 = label("Label18", ""), 5, 1, 1, 3);
  for (QLabel* l : {ui_->label16, ui_->label18, ui_->label20, ui_->label25, ui_->label26})
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  const char* captions[] = {"",         "Test",          "Set Output File", "Start Calcs", "Load Data from File",
                            "Plot Contours", "Use Best Point"};
  for (int k = 1; k <= 6; ++k) {
    auto* b = new QPushButton(captions[k]);
    b->setObjectName(QString("Command%1").arg(k));
    buttons->addWidget(b);
    ui_->cmd[k] = b;
  }
  connect(ui_->cmd[1], &QPushButton::clicked, this, &frmCalcContourData::test);
  connect(ui_->cmd[2], &QPushButton::clicked, this, &frmCalcContourData::setOutputFile);
  connect(ui_->cmd[3], &QPushButton::clicked, this, &frmCalcContourData::startCalcs);
  connect(ui_->cmd[4], &QPushButton::clicked, this, &frmCalcContourData::loadDataFromFile);
  connect(ui_->cmd[5], &QPushButton::clicked, this, &frmCalcContourData::plotContours);
  connect(ui_->cmd[6], &QPushButton::clicked, this, &frmCalcContourData::useBestPoint);
  ui_->cmd[6]->setToolTip("Puts the grid point with the smallest Sum(W*Res**2) into the editor, unsaved");
  ui_->cmd[6]->setEnabled(false);
  connect(ui_->parallel, &QSpinBox::valueChanged, this, [this] { refreshEstimate(); });
  setCentralWidget(central);

  ui_->text[9]->setText("1");
  ui_->text[8]->setText(QString::number(entry_.zoom));
  ui_->text[7]->setText(q(trimmedPlainText(entry_.delay)));
  for (int n = 1; n <= 9; ++n) {
    QLineEdit* e = ui_->text[n];
    connect(e, &QLineEdit::textChanged, this, [this, n](const QString& t) {
      reportFailure(main_, [&] { storeField(static_cast<SetupBox>(n - 1), t); });
    });
    if (n != 7 && n != 8) connect(e, &QLineEdit::textEdited, this, [this, e] { markBlue(e, true); });
  }
  selectCodes(1, 2);
  ui_->cmd[2]->setEnabled(false);
  ui_->cmd[3]->setEnabled(false);
  resize(720, 480);
}

void frmCalcContourData::markBlue(QLineEdit* e, bool blue) {
  e->setStyleSheet(blue ? "color: rgb(0,0,255);" : "");
}

void frmCalcContourData::selectCodes(int x, int y) {
  entry_.grid.xCode = static_cast<int16_t>(x);
  entry_.grid.yCode = static_cast<int16_t>(y);
  for (int k = 1; k <= 5; ++k) {
    ui_->x[k]->setChecked(k == x);
    ui_->y[k]->setChecked(k == y);
  }
  // A code without a button clears them all.
  if (x < 1 || x > 5) {
    ui_->xGroup->setExclusive(false);
    for (int k = 1; k <= 5; ++k) ui_->x[k]->setChecked(false);
    ui_->xGroup->setExclusive(true);
  }
  if (y < 1 || y > 5) {
    ui_->yGroup->setExclusive(false);
    for (int k = 1; k <= 5; ++k) ui_->y[k]->setChecked(false);
    ui_->yGroup->setExclusive(true);
  }
}

QString frmCalcContourData::outputName() const { return ui_->label18->text(); }
int frmCalcContourData::parallelRuns() const { return ui_->parallel->value(); }
void frmCalcContourData::setParallelRuns(int n) { ui_->parallel->setValue(n); }

void frmCalcContourData::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  onShownOrResized(true);
}

void frmCalcContourData::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (isVisible()) onShownOrResized(false);
}

void frmCalcContourData::onShownOrResized(bool shown) {
  if (c::raiseDelay(entry_)) box(SetupBox::Delay)->setText(q(trimmedPlainText(entry_.delay)));
  // A resize keeps what the user is choosing; only showing the window resets it.
  if (!shown || task_.busy()) return;
  if (grid_.dataReady) {
    showGrid();
  } else {
    selectCodes(1, 2);
    ui_->cmd[1]->setEnabled(true);
    ui_->cmd[2]->setEnabled(false);
    ui_->cmd[3]->setEnabled(false);
  }
}

void frmCalcContourData::showGrid() {
  const c::GridDef& s = grid_.gridDef;
  entry_.grid = s;
  selectCodes(s.xCode, s.yCode);
  const double v[] = {0, s.xMin, s.xMax, double(s.M), s.yMin, s.yMax, double(s.N)};
  for (int n = 1; n <= 6; ++n) ui_->text[n]->setText(q(trimmedPlainText(v[n])));
  ui_->text[9]->setText(QString::number(s.iterations));
  ui_->text[8]->setText(QString::number(entry_.zoom));
  showSummary();
}

// Text1..Text9 hold the boxes in their order.
QLineEdit* frmCalcContourData::box(SetupBox b) const { return ui_->text[static_cast<int>(b) + 1]; }

void frmCalcContourData::storeField(SetupBox b, const QString& text) {
  if (c::storeBox(entry_, b, text.toStdString())) refreshEstimate();
}

void frmCalcContourData::readFields() {
  // The boxes store on every change; read them again in case of text set elsewhere.
  for (SetupBox b : c::kGridBoxes) {
    try {
      storeField(b, box(b)->text());
    } catch (const tavrin::TavrinError&) {
      // Keeps the value stored when the box last held a number.
    }
  }
}

void frmCalcContourData::refreshEstimate() {
  ui_->label16->setText(q(c::formatHms(c::estimateSeconds(runTime_, entry_.grid, parallelRuns()))));
}

QString frmCalcContourData::dcExecutable() {
  const Session& s = main_.session();
  const char* path = std::getenv("PATH");
  const std::string folder = s.app.programFolder.empty() ? std::string(".") : s.app.programFolder;
  return q(c::locateDc(dcExe_.toStdString(), folder, path ? path : ""));
}

void frmCalcContourData::setBusy(bool busy) {
  for (int k = 1; k <= 6; ++k) ui_->cmd[k]->setEnabled(!busy);
  if (!busy) ui_->cmd[6]->setEnabled(best_.has_value());
}

void frmCalcContourData::test() {
  const Session& s = main_.session();
  if (task_.busy()) return;
  if (s.app.dciName.empty()) {
    main_.showMessage("Oops!  You need to load a .dci file first.");
    return;
  }
  readFields();
  std::optional<tavrin::ParameterSet> p = main_.editorCopy();
  if (!p) return;
  for (const std::string& said : c::prepareTiming(*p, entry_.grid)) main_.showMessage(q(said));
  c::TaskSetup setup;
  std::string text;
  if (!reportFailure(main_, [&] {
        setup.executable = dcExecutable().toStdString();
        text = c::timingDciText(*p);
      }))
    return;
  setup.workFolder = s.app.dataFolder.empty() ? std::string(".") : s.app.dataFolder;
  setup.baseDciText = text;
  setBusy(true);
  task_.startTiming(setup, text, [this](c::DcRun r) {
    QMetaObject::invokeMethod(this, [this, r] { finishTest(r); }, Qt::QueuedConnection);
  });
}

void frmCalcContourData::finishTest(const c::DcRun& r) {
  task_.wait();
  setBusy(false);
  ui_->cmd[2]->setEnabled(false);
  ui_->cmd[3]->setEnabled(false);
  if (r.status != c::DcRun::Ok) {
    main_.showMessage("The timing run of DC failed: " + q(r.detail.empty() ? "no report" : r.detail));
    emit testFinished(false);
    return;
  }
  runTime_ = r.seconds;
  ui_->label20->setText(q(tavrin::plainNumberText(std::round(runTime_ * 1000) / 1000)));
  refreshEstimate();
  ui_->cmd[1]->setEnabled(false);
  ui_->cmd[2]->setEnabled(true);
  emit testFinished(true);
}

void frmCalcContourData::setOutputFile() {
  // The name box keeps the last file of any kind (often the DCI just loaded);
  // offered as the grid's output it would be overwritten by one OK. Offer a
  // text file instead: the last output, else Contour.txt.
  frmIO_all& d = main_.fileDialog();
  QString preset;
  if (!d.name().trimmed().endsWith(".txt", Qt::CaseInsensitive))
    preset = outputName().isEmpty() ? QString("Contour.txt") : outputName();
  folderBeforeDialog_ = q(main_.session().app.dataFolder);
  d.open(FileOp::SaveContour, "Save Contour Data", {"*.txt", "*.*"}, preset);
}

bool frmCalcContourData::mayReplace(const QString& folder, const QString& name) {
  return main_.mayReplace(q(tavrin::joinPath(folder.toStdString(), name.toStdString())));
}

void frmCalcContourData::outputFileChosen(const QString& name) {
  Session& s = main_.session();
  frmIO_all& d = main_.fileDialog();
  d.hide();
  // Where the grid goes is the computation's own: the model's folder stays current.
  const QString folder = q(s.app.dataFolder);
  s.app.dataFolder = folderBeforeDialog_.toStdString();
  if (!mayReplace(folder, name)) return;
  replaceConfirmed_ = true;
  outputFolder_ = folder;
  ui_->label18->setText(name);
  ui_->cmd[3]->setEnabled(true);
}

bool frmCalcContourData::writeGridFile() {
  return reportFailure(
      main_, [&] { c::writeContourFile(tavrin::joinPath(outputFolder_.toStdString(), outputName().toStdString()), grid_); });
}

void frmCalcContourData::showSummary() {
  const auto range = c::wresRange(grid_);
  ui_->label25->setText(range ? q(fixedField(range->first, 10, 6)) : QString("none"));
  ui_->label26->setText(range ? q(fixedField(range->second, 10, 6)) : QString("none"));
  for (int n = 1; n <= 6; ++n) markBlue(ui_->text[n], false);
}

void frmCalcContourData::startCalcs() {
  if (task_.busy()) return;
  readFields();
  const bool computes = c::pairComputes(entry_.grid);
  if (const auto refusal = c::gridRefusal(entry_.grid)) {
    main_.showMessage(q(*refusal));
    return;
  }
  // A file confirmed in Set Output File is not asked about again; a second computation into it is.
  if (!replaceConfirmed_ && !mayReplace(outputFolder_, outputName())) return;
  replaceConfirmed_ = false;
  if (!computes) {
    // This pair computes nothing: the summary runs on the grid already held.
    c::summariseComputed(grid_);
    writeGridFile();
    showSummary();
    emit computationFinished(false);
    return;
  }
  const Session& s = main_.session();
  std::optional<tavrin::ParameterSet> p = main_.editorCopy();
  if (!p) return;
  c::applySetup(*p, entry_.grid);
  c::TaskSetup setup;
  c::ContourJob job;
  if (!reportFailure(main_, [&] {
        setup.executable = dcExecutable().toStdString();
        job.base = c::readBackBase(*p, &setup.baseDciText);
        // A record of the base set beside the grid file.
        tavrin::writeFileAtomically(tavrin::joinPath(outputFolder_.toStdString(), "Contour0.dci"),
                                    setup.baseDciText);
      }))
    return;
  setup.workFolder = outputFolder_.isEmpty() ? std::string(".") : outputFolder_.toStdString();
  setup.timeoutSeconds = c::runTimeout(runTime_);
  job.gridDef = entry_.grid;
  job.startResults = s.dcResults;
  job.workers = parallelRuns();
  job.onProgress = [this](const c::Progress& pr) {
    QMetaObject::invokeMethod(this, [this, pr] { showProgress(pr); }, Qt::QueuedConnection);
  };
  setBusy(true);
  startedMs_ = QDateTime::currentMSecsSinceEpoch();
  if (!progress_) {
    progress_ = new QProgressDialog(this);
    progress_->setObjectName("ContourProgress");
    progress_->setWindowTitle("Contour computation");
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(0);
    progress_->setWindowModality(Qt::NonModal);
    progress_->setCancelButtonText("Cancel");
    connect(progress_, &QProgressDialog::canceled, this, &frmCalcContourData::cancel);
  }
  const c::Progress first = c::startProgress(entry_.grid, entry_.grid.M, job.workers);
  task_.startGrid(setup, std::move(job), [this](c::ContourOutcome o) {
    QMetaObject::invokeMethod(
        this, [this, o = std::move(o)]() mutable { finishComputation(std::move(o)); }, Qt::QueuedConnection);
  });
  showProgress(first);
  progress_->show();
}

void frmCalcContourData::showProgress(const c::Progress& p) {
  if (!progress_ || !task_.busy()) return;
  const double elapsed = double(QDateTime::currentMSecsSinceEpoch() - startedMs_) / 1000.0;
  QString text = QString("Points done: %1 of %2\nElapsed: %3\nRemaining: about %4")
                     .arg(p.pointsDone)
                     .arg(p.pointsTotal)
                     .arg(q(c::formatHms(elapsed)), q(c::formatHms(c::remainingSeconds(p, runTime_))));
  if (task_.cancelling())
    text = QString("Cancelling: waiting for the DC runs in progress ...\nPoints done: %1 of %2")
               .arg(p.pointsDone)
               .arg(p.pointsTotal);
  progress_->setRange(0, std::max(1, p.runsTotal));
  progress_->setLabelText(text);
  progress_->setValue(p.runsDone);
}

void frmCalcContourData::cancel() {
  if (!task_.busy()) return;
  task_.cancel();
  if (progress_) {
    progress_->setLabelText("Cancelling: waiting for the DC runs in progress ...");
    progress_->show();
  }
}

void frmCalcContourData::finishComputation(c::ContourOutcome o) {
  task_.wait();
  if (progress_) progress_->hide();
  if (o.cancelled) {
    setBusy(false);
    ui_->cmd[1]->setEnabled(false);
    main_.showStatus("Contour computation cancelled; no file written.");
    emit computationFinished(true);
    return;
  }
  grid_ = std::move(o.grid);
  contourFileName_ = outputName();
  best_ = std::move(o.best);
  bestGrid_ = grid_.gridDef;
  writeGridFile();
  showSummary();
  // Said before Plot Contours is offered again: a map with holes is not a finished map.
  if (o.failedPoints > 0) main_.showMessage(q(c::failureSummary(o)));
  setBusy(false);
  ui_->cmd[1]->setEnabled(false);
  main_.showStatus(QString("Contour grid done: %1 DC runs, %2 failed point(s).").arg(o.runs).arg(o.failedPoints));
  emit computationFinished(false);
}

void frmCalcContourData::useBestPoint() {
  if (!best_ || task_.busy()) return;
  Session& s = main_.session();
  const std::optional<tavrin::ParameterSet> shown = main_.editorCopy();
  if (!shown) return;
  const tavrin::ParameterSet& now = *shown;
  tavrin::ParameterSet best = now;
  c::takePointValues(best, best_->params, bestGrid_);
  for (int code = c::kFirstCode; code <= c::kLastCode; ++code)
    if (c::parameterValue(best, code) != c::parameterValue(now, code))
      main_.setFieldText(c::parameterControl(code), q(trimmedPlainText(c::parameterValue(best, code))));
  // The light curves' L1 live in the set itself; their window, when it exists, shows them.
  frmDataFile* data = existingWindow<frmDataFile>(main_);
  for (size_t k : tavrin::takeLightLevels(s, best))
    if (QLineEdit* box = data ? data->text(15, static_cast<int>(k)) : nullptr)
      box->setText(q(trimmedPlainText(best.curves[k].l1)));
  main_.showStatus("The best grid point's values are in the editor; they are not saved.");
}

void frmCalcContourData::loadDataFromFile() {
  main_.fileDialog().open(FileOp::LoadContour, "Load Contour Data", {"*.txt", "*.*"});
}

void frmCalcContourData::loadContourFile(const QString& name) {
  Session& s = main_.session();
  contourFileName_ = name.isEmpty() ? outputName() : name;
  main_.fileDialog().hide();
  const std::string path = tavrin::joinPath(s.app.dataFolder, contourFileName_.toStdString());
  bool partial = false;
  if (!reportReadFailure(main_, [&] {
        const std::string text = tavrin::readWholeFile(path);
        partial = c::isPartialContourText(text);
        if (!partial) grid_ = c::parseContourText(text, grid_);
      }))
    return;
  if (partial) {
    main_.showMessage(
        "This file holds only some columns of a grid. Join the parts with \"tavrin-cli contour-merge\" first.");
    return;
  }
  // A loaded file carries values only, not the fitted sets.
  best_.reset();
  ui_->cmd[6]->setEnabled(false);
  showGrid();
  ui_->label18->setText(contourFileName_);
}

void frmCalcContourData::plotContours() {
  entry_.zoom = c::zoomOf(box(SetupBox::Zoom)->text().toStdString());
  if (const auto refusal = c::plotRefusal(grid_.gridDef, entry_.zoom)) {
    main_.showMessage(q(*refusal));
    return;
  }
  if (!plot_) plot_ = new frmPlotContours(main_, this);
  const QString name = contourFileName_.isEmpty() ? outputName() : contourFileName_;
  plot_->setGrid(grid_, c::refine(grid_, entry_.zoom), name);
  plot_->show();
  plot_->raise();
}
