#include "frmAdjust.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "EditorWindows.h"
#include "frmIncrem.h"
#include "frmMain.h"
#include "frmSpots.h"
#include "model/adjust_rules.h"
#include "model/number_fields.h"

using namespace tavrin;

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

QFont boldFont(QWidget* w) {
  QFont f = w->font();
  f.setBold(true);
  return f;
}

}  // namespace

frmAdjust::frmAdjust(frmMain& main) : QDialog(&main), main_(main) {
  setObjectName("frmAdjust");
  setWindowTitle("Adjust");

  QVBoxLayout* outer = editors::layoutWithPrintMenu(this);

  editors::addTitle(outer, this, "Label1", "Adjust Parameters");
  QLabel* hint = label(this, "Label2", "A selected item means that the parameter will be adjusted to fit the data.");
  outer->addWidget(hint);

  for (const auto& k : adjustKeyTable()) {
    auto* c = new QCheckBox(QString::fromUtf8(k.caption.data(), static_cast<int>(k.caption.size())), this);
    c->setObjectName(QString::fromUtf8(k.checkBox.data(), static_cast<int>(k.checkBox.size())));
    checks_[static_cast<size_t>(k.key)] = c;
  }

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(24);
  grid->setVerticalSpacing(2);
  auto head = [&](const char* name, const char* text, int row, int col, int span = 1) {
    QLabel* l = label(this, name, text);
    l->setFont(boldFont(l));
    grid->addWidget(l, row, col, 1, span);
  };
  // Spot A and Spot B on the left, the orbital keys beside them.
  head("Label3", "Spot  A ---------", 0, 0);
  for (int k = 1; k <= 4; ++k) grid->addWidget(check(k), k, 0);
  head("Label4", "Spot B ---------", 5, 0);
  for (int k = 5; k <= 8; ++k) grid->addWidget(check(k), k + 1, 0);
  head("Label5", "Orbital ----------", 0, 1);
  int row = 1;
  for (int k : {9, 10, 11, 12, 13, 14, 15, 26, 27, 28, 29}) grid->addWidget(check(k), row++, 1);
  // The physical keys below, in three columns.
  const int physTop = 12;
  head("Label6", "Physical -------------------------------------------------------------", physTop, 0, 3);
  const int physical[] = {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 31, 32, 33, 34, 35};
  for (int i = 0; i < 15; ++i) grid->addWidget(check(physical[i]), physTop + 1 + i % 5, i / 5);
  outer->addLayout(grid);

  auto* buttons = new QHBoxLayout;
  QPushButton* ok = button(this, "Command1", "OK");
  QPushButton* cancel = button(this, "Command2", "Cancel");
  QPushButton* incr = button(this, "Command3", "Increments");
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(incr);
  outer->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &frmAdjust::pressOk);
  connect(cancel, &QPushButton::clicked, this, &frmAdjust::pressCancel);
  connect(incr, &QPushButton::clicked, this, &frmAdjust::openIncrements);
}

void frmAdjust::showWindow() {
  const auto& keys = main_.session().params.adjustKeys;
  if (!isVisible()) {
    keysAtOpen_ = keys;
    keysAfterRefusal_.reset();
  }
  for (const auto& k : adjustKeyTable()) check(k.key)->setChecked(keys[static_cast<size_t>(k.key)] == '0');
  show();
  raise();
  activateWindow();
}

void frmAdjust::pressOk() {
  Session& s = main_.session();
  AdjustModel m = adjustModelFrom(s.params);
  // E, MODE and JDPHS as they stand in the editor, typed or not yet gathered.
  if (!main_.fieldText("Text34").trimmed().isEmpty()) {
    const std::optional<double> e = main_.fieldNumber("Text34");
    if (!e) return;  // refused before any key was taken
    m.eccentricity = *e;
  }
  // The drop-downs' item texts start with their value.
  m.mode = static_cast<int>(leadingNumber(main_.fieldText("Combo3").toStdString()));
  m.jdphs = static_cast<int>(leadingNumber(main_.fieldText("Combo1").toStdString()));

  std::array<bool, kAdjustKeys + 1> checked{};
  for (const auto& k : adjustKeyTable()) checked[static_cast<size_t>(k.key)] = check(k.key)->isChecked();
  const AdjustOutcome out = applyAdjustChoice(s.params, m, checked);

  if (s.mode == ProgramMode::DC) {
    for (const auto& lc : out.labelColours) {
      QLabel* l = main_.fieldLabel(QString::fromStdString(lc.label));
      if (!l) continue;
      QPalette pal;
      if (lc.red) pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
      l->setPalette(pal);
    }
  }
  if (frmSpots* spots = existingWindow<frmSpots>(main_)) spots->refreshHighlighting();
  if (!out.accepted) {
    keysAfterRefusal_ = s.params.adjustKeys;
    main_.showMessage(QString::fromStdString(out.message));
    return;
  }
  keysAfterRefusal_.reset();
  s.editedSinceSave = true;  // the choice went into the set: Exit asks before losing it
  hide();
}

void frmAdjust::pressCancel() {
  // A refused OK has already stored some keys: Cancel takes them back, unless
  // the keys were changed since (a file loaded meanwhile stays as loaded).
  auto& keys = main_.session().params.adjustKeys;
  if (keysAfterRefusal_ && keys == *keysAfterRefusal_) {
    keys = keysAtOpen_;
    main_.colourLabels();
    if (frmSpots* spots = existingWindow<frmSpots>(main_)) spots->refreshHighlighting();
  }
  keysAfterRefusal_.reset();
  hide();
}

void frmAdjust::reject() { pressCancel(); }

void frmAdjust::openIncrements() { incremWindow(main_).showWindow(); }
