#include "frmIncrem.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "EditorWindows.h"
#include "frmMain.h"
#include "model/increments.h"

using namespace tavrin;

namespace {
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
}  // namespace

frmIncrem::frmIncrem(frmMain& main) : QDialog(&main), main_(main) {
  setObjectName("frmIncrem");
  setWindowTitle("Increments");

  QVBoxLayout* outer = editors::layoutWithPrintMenu(this);

  editors::addTitle(outer, this, "Label29", "Increments");
  for (auto [name, text] : {std::pair{"Label30", "-- If they are made too large, they will cause systematic errors in the derivatives."},
                            std::pair{"Label31", "-- If they are made too small, they will cause excessive noise from roundoff errors."}}) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    outer->addWidget(l);
  }

  for (int k = 1; k <= kIncrementBoxes; ++k) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString("Text%1").arg(k));
    e->setFixedWidth(90);
    boxes_[static_cast<size_t>(k)] = e;
  }

  // Each group: a heading, then label/box pairs.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(2);
  auto head = [&](const char* name, const char* text, int row, int col) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    grid->addWidget(l, row, col, 1, 2);
  };
  auto pair = [&](int k, int row, int col) {
    auto* l = new QLabel(qs(incrementLabel(k)), this);
    l->setObjectName(QString("LabelText%1").arg(k));
    l->setBuddy(box(k));
    grid->addWidget(l, row, col);
    grid->addWidget(box(k), row, col + 1);
  };
  head("Label32", "Star 1 Spot --------", 0, 0);
  for (int k = 1; k <= 4; ++k) pair(k, k, 0);
  head("Label33", "Star 2 Spot -------", 5, 0);
  for (int k = 5; k <= 8; ++k) pair(k, k + 1, 0);
  head("Label34", "Orbital ---------------", 0, 2);
  for (int k = 9; k <= 13; ++k) pair(k, k - 8, 2);
  head("Label35", "Physical ---------------------------------", 0, 4);
  for (int k = 14; k <= 27; ++k) {
    const int i = k - 14;  // two columns of seven
    pair(k, 1 + i % 7, 4 + 2 * (i / 7));
  }
  grid->setColumnMinimumWidth(2, 10);
  outer->addLayout(grid);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (auto [name, text] : {std::pair{"Command1", "OK"}, std::pair{"Command2", "Cancel"}, std::pair{"Command3", "Default"}}) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  outer->addLayout(buttons);
  connect(findChild<QPushButton*>("Command1"), &QPushButton::clicked, this, &frmIncrem::pressOk);
  connect(findChild<QPushButton*>("Command2"), &QPushButton::clicked, this, &frmIncrem::pressCancel);
  connect(findChild<QPushButton*>("Command3"), &QPushButton::clicked, this, &frmIncrem::pressDefault);
}

void frmIncrem::showWindow() {
  const IncrementTexts t = incrementTexts(main_.session().params);
  for (int k = 1; k <= kIncrementBoxes; ++k) box(k)->setText(QString::fromStdString(t[static_cast<size_t>(k)]));
  show();
  raise();
  activateWindow();
}

void frmIncrem::pressOk() {
  IncrementTexts t;
  for (int k = 1; k <= kIncrementBoxes; ++k) t[static_cast<size_t>(k)] = box(k)->text().toStdString();
  if (const auto refusal = applyIncrementTexts(main_.session().params, t)) {
    // Name the box and put the cursor in it; nothing has been stored.
    for (int k = 1; k <= kIncrementBoxes; ++k)
      if (!strictNumber(t[static_cast<size_t>(k)])) {
        box(k)->setFocus();
        box(k)->selectAll();
        break;
      }
    main_.showMessage(QString::fromStdString(*refusal));
    return;
  }
  hide();
}

void frmIncrem::pressCancel() { hide(); }
void frmIncrem::reject() { hide(); }

void frmIncrem::pressDefault() {
  const auto& d = defaultIncrementTexts();
  for (int k = 1; k <= kIncrementBoxes; ++k) box(k)->setText(qs(d[static_cast<size_t>(k)]));
}
