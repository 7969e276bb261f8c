#include "frmMain.h"
#include "ReportFailure.h"
#include "SingleWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

#include "ParameterLabel.h"
#include "frmCritPots.h"
#include "frmIO_all.h"
#include "frmTransfer.h"
#include "model/critical_potentials.h"
#include "model/editor_rules.h"
#include "model/adjust_rules.h"
#include "model/number_fields.h"
#include "shell/errors.h"

using tavrin::ProgramMode;

namespace {

const QColor kModifiedColour(0, 0, 255);
const QColor kAdjustedColour(255, 0, 0);

// Group boxes in the order of the file records; each row holds one or two
// parameters ("" leaves the slot empty).
struct GroupSpec {
  const char* objectName;
  const char* title;
  int column;
  std::vector<std::vector<const char*>> rows;
};

const std::vector<GroupSpec> kGroups = {
    {"grpControl", "Control integers", 0,
     {{"MREF", "NREF"}, {"IFSMV1", "IFSMV2"}, {"ICOR1", "ICOR2"}, {"LD", "MPAGE"}}},
    {"grpEphemeris", "Ephemeris and noise", 0,
     {{"JDPHS", "HJD0"}, {"PERIOD", "DPDT"}, {"PSHIFT", "NOISE"}, {"FRACSD", "SEED"}}},
    {"grpRange", "Output range", 0,
     {{"JDSTART", "PHSTRT"}, {"JDSTOP", "PHSTOP"}, {"JDINCR", "PHIN"}, {"", "PHN"}}},
    {"grpMode", "Mode and orbit", 1,
     {{"MODE", "THE"}, {"IFAT1", "IFAT2"}, {"N1", "N2"}, {"PER", "DPERDT"}, {"IPB", "VUNIT"}}},
    {"grpStars", "Orbit and stars", 1,
     {{"E", "A"}, {"F1", "F2"}, {"VGA", "XINCL"}, {"GR1", "GR2"}, {"MH"}}},
    {"grpDc", "DC only", 1, {{"N1L", "N2L"}, {"ISYM"}}},
    {"grpStarsTP", "Temperatures, potentials and limb darkening", 2,
     {{"T1", "T2"}, {"ALB1", "ALB2"}, {"POTH", "POT2"}, {"RM"}, {"XBOL1", "XBOL2"}, {"YBOL1", "YBOL2"}}},
    {"grpLight", "Light curve", 2,
     {{"BAND", "WAVEL"}, {"L1", "L2"}, {"X1", "X2"}, {"Y1", "Y2"}, {"EL3", "OPSF"}, {"ZERO", "FACTOR"}}},
};

int helpTopicOf(const QString& label) {
  if (label == "Label1") return 64;
  if (label == "Label2") return 65;
  if (label == "Label3") return 66;
  if (label == "Label4") return 96;
  if (label == "Label5") return 95;
  if (label.size() == 7 && label.startsWith("Label")) return label.mid(5).toInt();  // Label01..Label63
  return 0;
}

frmMain::MessageSink& messageSink() {
  static frmMain::MessageSink sink;
  return sink;
}

frmMain::QuestionSink& questionSink() {
  static frmMain::QuestionSink sink;
  return sink;
}

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

struct frmMain::Ui {
  std::map<QString, QLineEdit*> texts;
  std::map<QString, QComboBox*> combos;
  std::map<QString, ParameterLabel*> labels;  // by label name
  std::map<QString, QString> labelOf;         // control -> label name
  std::map<QString, QGroupBox*> groups;
  QRadioButton* option1 = nullptr;
  QRadioButton* option2 = nullptr;
  QMenu* runMenu = nullptr;
};

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), ui_(new Ui) {
  setObjectName("frmMain");
  startingUp_ = true;
  buildMenus();
  buildEditor();
  statusBar()->setObjectName("StatusBar");

  setDefaults();
  setProgramMode(ProgramMode::LC);
  applyEditorRules();
  syncRadConvChecks();
  startingUp_ = false;
  resetColours();
  session_.editedSinceSave = false;
}

frmMain::~frmMain() { delete ui_; }

// ---- construction -----------------------------------------------------------

void frmMain::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MenuBar");

  auto addMenu = [&](const char* name, const char* caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
  };
  auto addItem = [](QMenu* m, const char* name, const char* caption) {
    QAction* a = m->addAction(caption);
    a->setObjectName(name);
    return a;
  };
  auto addSeparator = [](QMenu* m, const char* name) { m->addSeparator()->setObjectName(name); };
  auto addTop = [&](const char* name, const char* caption) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    bar->addAction(a);
    return a;
  };

  QMenu* file = addMenu("File", "&File");
  addItem(file, "Save", "&Save File");
  addItem(file, "LoadLCI", "Load LCI File ...");
  addItem(file, "SaveLCI", "Save LCI File ...");
  addSeparator(file, "dashy2");
  addItem(file, "LoadDCI", "Load DCI File ...");
  addItem(file, "SaveDCI", "Save DCI File ...");
  addItem(file, "Print", "&Print");
  addSeparator(file, "sep");
  QAction* exitAction = addItem(file, "Exit", "E&xit");
  connect(exitAction, &QAction::triggered, this, &QWidget::close);

  QMenu* radConv = addMenu("RadConv", "Rad/Conv");
  QAction* s1r = addItem(radConv, "Star1Rad", "Star1 Radiative");
  QAction* s1c = addItem(radConv, "Star1Conv", "Star1 Convective");
  addSeparator(radConv, "dashy");
  QAction* s2r = addItem(radConv, "Star2Rad", "Star2 Radiative");
  QAction* s2c = addItem(radConv, "Star2Conv", "Star2 Convective");
  for (QAction* a : {s1r, s1c, s2r, s2c}) a->setCheckable(true);
  // The preset sets the check marks itself; a click must not toggle them.
  connect(s1r, &QAction::triggered, this, [this] { onRadConv(1, true); });
  connect(s1c, &QAction::triggered, this, [this] { onRadConv(1, false); });
  connect(s2r, &QAction::triggered, this, [this] { onRadConv(2, true); });
  connect(s2c, &QAction::triggered, this, [this] { onRadConv(2, false); });

  QAction* critpotls = addTop("critpotls", "Crit.Pot'ls");
  connect(critpotls, &QAction::triggered, this, [this] {
    frmCritPots& w = critPotsWindow();
    refreshCriticalPotentials();
    w.show();
    w.raise();
  });
  addTop("Adjust", "Adjust");
  addTop("Data", "Datafiles");
  addTop("Spots", "Spots");
  addTop("MiscParms", "Misc.");

  ui_->runMenu = addMenu("RunMenu", "Run LC/DC");
  addItem(ui_->runMenu, "RunStandard", "Standard");
  addItem(ui_->runMenu, "RunCustom", "Custom");

  QMenu* display = addMenu("Display", "Display LCO");
  addItem(display, "Standard", "&Standard");
  addItem(display, "Custom", "&Custom");

  QMenu* loadDco = addMenu("LoadtheDCO", "Load DCO");
  addItem(loadDco, "StandardDCO", "Standard");
  addItem(loadDco, "CustomDCO", "Custom");

  QMenu* displayDco = addMenu("DisplayDCO", "Display DCO");
  addItem(displayDco, "correlations", "Correlations");
  addItem(displayDco, "Corrections", "Corrections to Parameters");
  addItem(displayDco, "revert", "Revert to Previous Parms");
  addItem(displayDco, "FitUntilConverged", "Fit Until Converged...");

  addTop("Contour", "Contours");

  QMenu* help = addMenu("Help", "&Help");
  addItem(help, "HelpIntro", "Intro");
  addItem(help, "HelpModes", "Modes");
  addItem(help, "HelpLCIfiles", "Edit LCI files");
  addItem(help, "HelpDCIfiles", "Edit DCI Files");
  addItem(help, "HelpRunLCDC", "Run LC/DC Win");
  addItem(help, "HelpDisplayLCO", "Display LCO");
  addItem(help, "HelpLoadDCO", "Load DCO");
  addItem(help, "HelpDisplayDCO", "Display DCO");
  addItem(help, "HelpReferences", "References");
  addSeparator(help, "Hsep");
  addItem(help, "About", "&About");
}

void frmMain::buildEditor() {
  auto* content = new QWidget;
  content->setObjectName("EditorPanel");
  auto* outer = new QVBoxLayout(content);
  outer->setContentsMargins(10, 8, 10, 8);
  outer->setSpacing(8);

  // Program mode.
  auto* modeBox = new QGroupBox("Program", content);
  modeBox->setObjectName("grpProgram");
  auto* modeLayout = new QHBoxLayout(modeBox);
  ui_->option1 = new QRadioButton("LC (Light Curve synthesis)", modeBox);
  ui_->option1->setObjectName("Option1");
  ui_->option2 = new QRadioButton("DC (Differential Corrections)", modeBox);
  ui_->option2->setObjectName("Option2");
  ui_->option1->setChecked(true);
  modeLayout->addWidget(ui_->option1);
  modeLayout->addSpacing(24);
  modeLayout->addWidget(ui_->option2);
  modeLayout->addStretch(1);
  connect(ui_->option1, &QRadioButton::clicked, this, [this] { onOption1(); });
  connect(ui_->option2, &QRadioButton::clicked, this, [this] { onOption2(); });
  outer->addWidget(modeBox);

  auto* columns = new QHBoxLayout;
  columns->setSpacing(10);
  QVBoxLayout* column[3];
  for (auto& c : column) {
    c = new QVBoxLayout;
    c->setSpacing(8);
    columns->addLayout(c, 1);
  }
  outer->addLayout(columns);
  outer->addStretch(1);

  for (const GroupSpec& g : kGroups) {
    auto* box = new QGroupBox(g.title, content);
    box->setObjectName(g.objectName);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);
    grid->setColumnMinimumWidth(2, 12);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    int row = 0;
    for (const auto& r : g.rows) {
      int slot = 0;
      for (const char* name : r) {
        const int col = slot == 0 ? 0 : 3;
        ++slot;
        if (!*name) continue;
        const tavrin::ScalarField* f = tavrin::findScalarField(name);
        if (!f) continue;
        const QString control = qs(f->control);
        const QString labelName = qs(f->label);
        auto* label = new ParameterLabel(labelName, qs(f->caption), helpTopicOf(labelName), box);
        connect(label, &ParameterLabel::clicked, this, &frmMain::parameterHelpRequested);
        QWidget* editor = nullptr;
        if (const tavrin::ComboList* list = tavrin::findComboList(f->control)) {
          auto* combo = new QComboBox(box);
          combo->setObjectName(control);
          for (std::string_view item : list->items) combo->addItem(qs(item));
          combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
          combo->setMaxVisibleItems(25);
          // As wide as the text boxes, or as its longest item needs.
          combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
          combo->setMaximumWidth(std::max(130, combo->sizeHint().width()));
          connect(combo, &QComboBox::currentIndexChanged, this, [this, control] { onComboChanged(control); });
          ui_->combos[control] = combo;
          editor = combo;
        } else {
          auto* edit = new QLineEdit(box);
          edit->setObjectName(control);
          edit->setMinimumWidth(80);
          edit->setMaximumWidth(130);
          connect(edit, &QLineEdit::textChanged, this, [this, control] { onTextChanged(control); });
          ui_->texts[control] = edit;
          editor = edit;
        }
        editor->setToolTip(QString("%1 (%2): %3").arg(qs(f->name), control, qs(f->tip)));
        label->setToolTip(QString("%1 - click for help").arg(qs(f->name)));
        label->setBuddy(editor);
        ui_->labels[labelName] = label;
        ui_->labelOf[control] = labelName;
        grid->addWidget(label, row, col);
        grid->addWidget(editor, row, col + 1);
      }
      ++row;
    }
    ui_->groups[g.objectName] = box;
    column[g.column]->addWidget(box);
  }
  for (auto& c : column) c->addStretch(1);

  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("EditorScroll");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(content);
  setCentralWidget(scroll);

  // Fit a 1366x768 screen; larger screens get the whole form at once.
  QSize want = content->sizeHint() + QSize(24, 80);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize avail = screen->availableGeometry().size();
    want = want.boundedTo(avail - QSize(20, 40));
  }
  resize(want);
}

void frmMain::setDefaults() {
  ++bulkDisplay_;
  for (const tavrin::ComboList& list : tavrin::comboLists())
    if (QComboBox* c = ui_->combos[qs(list.control)]) c->setCurrentIndex(list.startIndex);
  for (const tavrin::ScalarField& f : tavrin::scalarFields())
    if (auto it = ui_->texts.find(qs(f.control)); it != ui_->texts.end()) it->second->setText(qs(f.defaultText));
  --bulkDisplay_;
}

// ---- look-ups -----------------------------------------------------------------

QAction* frmMain::action(const QString& name) const { return findChild<QAction*>(name); }
QMenu* frmMain::menu(const QString& name) const { return findChild<QMenu*>(name); }

frmIO_all& frmMain::fileDialog() {
  if (!fileDialog_) fileDialog_ = new frmIO_all(this);
  return *fileDialog_;
}

QWidget* frmMain::field(const QString& control) const {
  if (auto it = ui_->texts.find(control); it != ui_->texts.end()) return it->second;
  if (auto it = ui_->combos.find(control); it != ui_->combos.end()) return it->second;
  return nullptr;
}

QLabel* frmMain::fieldLabel(const QString& labelName) const {
  auto it = ui_->labels.find(labelName);
  return it == ui_->labels.end() ? nullptr : it->second;
}

int frmMain::comboValue(const QString& control) const {
  QComboBox* c = ui_->combos.at(control);
  const tavrin::ComboList* list = tavrin::findComboList(control.toStdString());
  return c->currentIndex() + (list ? list->indexOffset : 0);
}

bool frmMain::selectCombo(const QString& control, const QString& text) {
  auto it = ui_->combos.find(control);
  if (it == ui_->combos.end()) return false;
  QComboBox* c = it->second;
  int index = c->findText(text, Qt::MatchExactly);
  if (index < 0) {
    const std::string s = text.toStdString();
    if (s.find_first_of("0123456789") == std::string::npos) return false;
    const double v = tavrin::leadingNumber(s);
    if (!std::isfinite(v)) return false;
    const tavrin::ComboList* list = tavrin::findComboList(control.toStdString());
    const double idx = std::nearbyint(v) - (list ? list->indexOffset : 0);
    if (idx < 0 || idx >= c->count()) return false;
    index = static_cast<int>(idx);
  }
  c->setCurrentIndex(index);
  return true;
}

// ---- field texts ------------------------------------------------------------

void frmMain::setFieldText(const QString& control, const QString& text) {
  if (auto it = ui_->texts.find(control); it != ui_->texts.end())
    it->second->setText(text);
  else
    selectCombo(control, text);
}

QString frmMain::fieldText(const QString& control) const {
  if (auto it = ui_->texts.find(control); it != ui_->texts.end()) return it->second->text();
  if (auto it = ui_->combos.find(control); it != ui_->combos.end()) return it->second->currentText();
  return {};
}

void frmMain::applyDisplayTexts(const std::map<std::string, std::string>& texts) {
  ++bulkDisplay_;
  for (const auto& [name, text] : texts)
    if (ui_->combos.count(qs(name))) selectCombo(qs(name), qs(text));
  for (const auto& [name, text] : texts)
    if (auto it = ui_->texts.find(qs(name)); it != ui_->texts.end()) it->second->setText(qs(text));
  --bulkDisplay_;
  applyEditorRules();
  refreshCriticalPotentials();
}

void frmMain::showParameters() {
  const tavrin::ParameterSet& p = session_.params;
  ++bulkDisplay_;
  for (const tavrin::ScalarField& f : tavrin::scalarFields()) {
    const double v = tavrin::getScalar(p, f.name).value_or(0.0);
    const QString control = qs(f.control);
    if (ui_->combos.count(control)) {
      selectCombo(control, QString::number(static_cast<int>(v)));
    } else if (auto it = ui_->texts.find(control); it != ui_->texts.end()) {
      const std::string text = f.kind == tavrin::FieldKind::Integer
                                   ? tavrin::trimmedPlainText(static_cast<double>(static_cast<int>(v)))
                                   : tavrin::trimmedPlainText(v);
      it->second->setText(qs(text));
    }
  }
  --bulkDisplay_;
  applyEditorRules();
  refreshCriticalPotentials();
}

// ---- gather -------------------------------------------------------------------

QString frmMain::fieldWho(const QString& control) const {
  const tavrin::ScalarField* f = tavrin::findScalarFieldByControl(control.toStdString());
  return QString("\"%1\" (%2)").arg(f ? qs(f->caption) : control, control);
}

tavrin::FieldEntry frmMain::fieldEntry(const QString& control) const {
  const tavrin::ScalarField* f = tavrin::findScalarFieldByControl(control.toStdString());
  const std::string text = fieldText(control).toStdString();
  return f && f->kind == tavrin::FieldKind::Integer ? tavrin::readIntegerEntry(text) : tavrin::readRealEntry(text);
}

void frmMain::refuseField(const QString& control, tavrin::EntryFault fault) {
  showMessage(qs(tavrin::entryRefusal(fault, fieldWho(control).toStdString(), fieldText(control).toStdString())));
  QWidget* w = field(control);
  if (w && isVisible() && w->isVisibleTo(this)) w->setFocus();
}

std::optional<double> frmMain::fieldNumber(const QString& control) {
  const tavrin::FieldEntry e = fieldEntry(control);
  if (e.ok()) return e.value;
  refuseField(control, e.fault);
  return std::nullopt;
}

bool frmMain::readFields(std::vector<std::pair<std::string_view, double>>& values) {
  values.reserve(tavrin::scalarFields().size());
  for (const tavrin::ScalarField& f : tavrin::scalarFields()) {
    const QString control = qs(f.control);
    if (auto it = ui_->combos.find(control); it != ui_->combos.end()) {
      const tavrin::ComboList* list = tavrin::findComboList(f.control);
      int index = it->second->currentIndex();
      if (index < 0) index = list ? list->startIndex : 0;
      values.emplace_back(f.name, index + (list ? list->indexOffset : 0));
      continue;
    }
    if (!ui_->texts.count(control)) continue;
    const std::optional<double> v = fieldNumber(control);
    if (!v) return false;
    values.emplace_back(f.name, *v);
  }
  return true;
}

bool frmMain::checkFields() {
  std::vector<std::pair<std::string_view, double>> values;
  return readFields(values);
}

bool frmMain::gatherInto(tavrin::ParameterSet& p) {
  std::vector<std::pair<std::string_view, double>> values;
  if (!readFields(values)) return false;
  for (const auto& [name, v] : values) tavrin::setScalar(p, name, v);
  return true;
}

bool frmMain::gather() { return gatherInto(session_.params); }

std::optional<tavrin::ParameterSet> frmMain::editorCopy() {
  tavrin::ParameterSet p = session_.params;
  if (!gatherInto(p)) return std::nullopt;
  return p;
}

// ---- handlers -----------------------------------------------------------------

void frmMain::markModified(QWidget* w) {
  if (!startingUp_) session_.editedSinceSave = true;
  QPalette pal = w->palette();
  pal.setColor(QPalette::Text, kModifiedColour);
  pal.setColor(QPalette::ButtonText, kModifiedColour);
  w->setPalette(pal);
}

void frmMain::tie(const QString& from, const QString& to) {
  QLineEdit* a = ui_->texts.at(from);
  QLineEdit* b = ui_->texts.at(to);
  if (a->text() != b->text()) b->setText(a->text());
}

void frmMain::onTextChanged(const QString& control) {
  if (control == "Text4") return;  // [M/H] has no rules and is never marked
  markModified(ui_->texts.at(control));

  if (bulkDisplay_ == 0) {
    const tavrin::ScalarField* f = tavrin::findScalarFieldByControl(control.toStdString());
    if (f)
      for (std::string_view other : tavrin::tiedParameters(f->name, editorChoices())) tie(control, controlOf(other));
  }

  if (bulkDisplay_ == 0 && (control == "Text46" || control == "Text47" || control == "Text48"))
    refreshCriticalPotentials();
}

void frmMain::onComboChanged(const QString& control) {
  if (startingUp_) return;
  QComboBox* combo = ui_->combos.at(control);
  markModified(combo);
  applyEditorRules();
  if (control == "Combo4") {
    const int index = combo->currentIndex();
    ui_->texts.at("Text53")->setText(qs(tavrin::bandWavelengthTextForIndex(index)));
    if (session_.transferDcValues && bulkDisplay_ == 0)
      if (const std::optional<int> row = tavrin::dcLightCurveRowOfBand(session_.params, index + 1))
        showDcLightCurve(*row);
  }
}

void frmMain::showDcLightCurve(int row) {
  const tavrin::CurveRow& c = session_.params.curves[static_cast<size_t>(row)];
  ++bulkDisplay_;  // the DC values go over as they are, not through the ties
  if (c.band >= 1 && c.band <= ui_->combos.at("Combo4")->count())
    ui_->combos.at("Combo4")->setCurrentIndex(c.band - 1);
  for (const auto& [name, text] : tavrin::dcLightCurveTexts(c)) ui_->texts.at(controlOf(name))->setText(qs(text));
  --bulkDisplay_;
}

void frmMain::onOption1() {
  if (session_.mode == ProgramMode::LC) return;
  frmTransfer::Answer answer = frmTransfer::Answer::No;
  if (!session_.app.dciName.empty()) answer = transferWindow().ask();
  if (answer == frmTransfer::Answer::Cancel) {
    // Stay in DC, and let the buttons say so.
    ui_->option2->setChecked(true);
    return;
  }
  session_.transferDcValues = answer == frmTransfer::Answer::Yes;
  setProgramMode(ProgramMode::LC);
  if (session_.transferDcValues && session_.params.NLC >= 1) {
    reportFailure(*this, [this] { showDcLightCurve(3); });
  }
}

void frmMain::onOption2() {
  if (session_.mode == ProgramMode::DC) return;
  // L1 and L2 go into the set with the switch: a field that is not a number
  // stops the switch before anything changed.
  const std::optional<double> l1 = fieldNumber("Text54");
  const std::optional<double> l2 = l1 ? fieldNumber("Text55") : std::nullopt;
  if (!l1 || !l2) {
    ui_->option1->setChecked(true);
    return;
  }
  setProgramMode(ProgramMode::DC);
  tavrin::takeLcLightCurve(session_.params, ui_->combos.at("Combo4")->currentIndex() + 1, *l1, *l2);
}

void frmMain::onRadConv(int star, bool radiative) {
  const tavrin::RadConvPreset preset = tavrin::radConvPreset(star, radiative);
  setFieldText(controlOf(preset.gravity), qs(preset.gravityText));
  setFieldText(controlOf(preset.albedo), qs(preset.albedoText));
  const QString prefix = star == 1 ? "Star1" : "Star2";
  action(prefix + "Rad")->setChecked(radiative);
  action(prefix + "Conv")->setChecked(!radiative);
}

void frmMain::syncRadConvChecks() {
  const bool r1 = tavrin::isRadiative(session_.params.ALB1);
  const bool r2 = tavrin::isRadiative(session_.params.ALB2);
  action("Star1Rad")->setChecked(r1);
  action("Star1Conv")->setChecked(!r1);
  action("Star2Rad")->setChecked(r2);
  action("Star2Conv")->setChecked(!r2);
}

// ---- visibility -------------------------------------------------------------

void frmMain::setShown(const QString& control, bool shown) {
  if (QWidget* w = field(control)) w->setVisible(shown);
  if (auto it = ui_->labelOf.find(control); it != ui_->labelOf.end())
    if (QLabel* l = fieldLabel(it->second)) l->setVisible(shown);
}

// The label stays enabled so that its help can still be asked for.
void frmMain::setEnabledField(const QString& control, bool enabled) {
  if (QWidget* w = field(control)) w->setEnabled(enabled);
}

QString frmMain::controlOf(std::string_view name) const {
  const tavrin::ScalarField* f = tavrin::findScalarField(name);
  return f ? qs(f->control) : QString();
}

tavrin::EditorChoices frmMain::editorChoices() const {
  tavrin::EditorChoices c;
  c.dc = session_.mode == ProgramMode::DC;
  c.jdphs = comboValue("Combo1");
  c.ld = comboValue("Combo2");
  c.mode = comboValue("Combo3");
  c.mpage = comboValue("Combo5");
  c.mref = comboValue("Combo6");
  c.noise = ui_->combos.at("Combo7")->currentIndex() == 1;
  return c;
}

void frmMain::applyEditorRules() {
  const tavrin::EditorChoices c = editorChoices();
  for (const auto& [name, shown] : tavrin::shownParameters(c)) setShown(controlOf(name), shown);
  for (const auto& [name, enabled] : tavrin::enabledParameters(c)) setEnabledField(controlOf(name), enabled);
}

void frmMain::setProgramMode(ProgramMode mode) {
  session_.mode = mode;
  for (QRadioButton* b : {ui_->option1, ui_->option2}) b->blockSignals(true);
  ui_->option1->setChecked(mode == ProgramMode::LC);
  ui_->option2->setChecked(mode == ProgramMode::DC);
  for (QRadioButton* b : {ui_->option1, ui_->option2}) b->blockSignals(false);
  colourLabels();
  setRunMenuCaption();
  applyMode();
  emit programModeChanged(mode);
}

void frmMain::setRunMenuCaption() {
  ui_->runMenu->setTitle(session_.mode == ProgramMode::DC ? "Run DC" : "Run LC");
}

void frmMain::applyMode() {
  const bool dc = session_.mode == ProgramMode::DC;
  for (const char* name : {"Adjust", "Data", "MiscParms", "LoadtheDCO", "DisplayDCO"})
    if (QAction* a = action(name)) a->setEnabled(dc);
  if (QAction* a = action("Display")) a->setEnabled(!dc);

  applyEditorRules();

  ui_->groups.at("grpRange")->setVisible(!dc);
  ui_->groups.at("grpLight")->setVisible(!dc);
  ui_->groups.at("grpDc")->setVisible(dc);
  updateCaption();
}

void frmMain::colourLabels() {
  for (auto& [name, label] : ui_->labels) label->setPalette(QPalette());
  if (session_.mode != ProgramMode::DC) return;
  for (const tavrin::AdjustKeyInfo& k : tavrin::adjustKeyTable()) {
    if (k.mainLabel.empty() || session_.params.adjustKeys[static_cast<size_t>(k.key)] != '0') continue;
    if (QLabel* l = fieldLabel(qs(k.mainLabel))) {
      QPalette pal = l->palette();
      pal.setColor(QPalette::WindowText, kAdjustedColour);
      l->setPalette(pal);
    }
  }
}

void frmMain::resetColours() {
  for (auto& [name, w] : ui_->texts) w->setPalette(QPalette());
  for (auto& [name, w] : ui_->combos) w->setPalette(QPalette());
  emit coloursReset();
}

void frmMain::updateCaption() { setWindowTitle(QString::fromStdString(tavrin::captionFor(session_.mode, session_.app))); }
void frmMain::setCaptionText(const QString& caption) { setWindowTitle(caption); }
void frmMain::showStatus(const QString& text) { statusBar()->showMessage(text); }

// ---- critical potentials ---------------------------------------------------

frmCritPots& frmMain::critPotsWindow() {
  const bool made = existingWindow<frmCritPots>(*this) != nullptr;
  frmCritPots& w = singleWindow<frmCritPots>(*this);
  if (!made) w.setWindowFlag(Qt::Tool, true);  // floats over the editor
  return w;
}

void frmMain::refreshCriticalPotentials() {
  frmCritPots* window = existingWindow<frmCritPots>(*this);
  if (!window) return;  // the window shows its figures when it is opened
  // Figures of the window only; the set itself changes by gather.
  tavrin::ParameterSet p = session_.params;
  const std::pair<const char*, double*> inputs[] = {
      {"Text36", &p.F1}, {"Text37", &p.F2}, {"Text48", &p.RM}, {"Text46", &p.POTH}, {"Text47", &p.POT2}};
  for (const auto& [control, target] : inputs) {
    const tavrin::FieldEntry e = fieldEntry(control);
    if (e.ok()) {
      *target = e.value;
      continue;
    }
    // Half-typed text ("-", "1e") just waits; a number too large is refused
    // as a save would, once per text, and the figures stay as they were.
    const QString refusal = QString("%1=%2").arg(control, fieldText(control));
    if (e.fault == tavrin::EntryFault::TooLarge && refusal != lastCritPotRefusal_) {
      lastCritPotRefusal_ = refusal;
      refuseField(control, e.fault);
    }
    return;
  }
  lastCritPotRefusal_.clear();
  std::optional<tavrin::FillFactors> figures;
  try {
    figures = tavrin::criticalPotentialFigures(p);
  } catch (const std::exception&) {
    return;
  }
  if (!figures) return;
  window->showFigures(qs(figures->innerText), qs(figures->outerText), qs(figures->f1Text),
                      qs(figures->f2Text));
}

frmTransfer& frmMain::transferWindow() { return singleWindow<frmTransfer>(*this); }

// ---- messages -----------------------------------------------------------------

void frmMain::setMessageSink(MessageSink sink) { messageSink() = std::move(sink); }
void frmMain::setQuestionSink(QuestionSink sink) { questionSink() = std::move(sink); }

bool frmMain::mayReplace(const QString& path) {
  const QFileInfo target(path);
  return !target.exists() || ask(QString("%1 already exists. Replace it?").arg(target.fileName()), "Replace");
}

bool frmMain::ask(const QString& text, const QString& acceptText) {
  if (questionSink()) return questionSink()(text);
  QMessageBox box(QMessageBox::Question, "Tavrin", text, QMessageBox::NoButton, this);
  QPushButton* yes = box.addButton(acceptText, QMessageBox::AcceptRole);
  box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(QMessageBox::Cancel);
  box.exec();
  return box.clickedButton() == yes;
}

void frmMain::showMessage(const QString& text) {
  if (messageSink()) {
    messageSink()(text);
    return;
  }
  QMessageBox::information(this, "Tavrin", text, QMessageBox::Ok);
}
