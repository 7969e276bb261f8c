#include "frmMiscParm.h"
#include "ReportFailure.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "EditorWindows.h"
#include "frmMain.h"
#include "model/curve_table.h"
#include "shell/errors.h"

using namespace tavrin;

frmMiscParm::frmMiscParm(frmMain& main) : QDialog(&main), main_(main) {
  setObjectName("frmMiscParm");
  setWindowTitle("Misc. Parms2");

  QVBoxLayout* outer = editors::layoutWithPrintMenu(this);

  editors::addTitle(outer, this, "Label1", "Miscellaneous Parameters");

  const char* texts[7] = {
      "IFDER = If Derivatives, Equations and Residuals are to be printed out. (0,1)",
      "IFM = If the Matrices are to be printed out.  (0=No; 1=Yes)",
      "IFR = If stellar Radii are to be printed out.  (0=No; 1=Yes)",
      "X Lamda = Marmquardt Lamda parameter.  (See documentation.)",
      "KDISK = Scratch pad flag.   0 = No pad (OK);   1 = Use pad (NR - CRASHES!!)",
      "KO = How to use scratch pad.  0 = Do the base set and stop (OK).\n"
      "1 = Read derivatives etc. which were written in a previous run (CRASHES)\n"
      "2 = Write the derivatives and residuals into a file for future use (NR)",
      "nppl = Number of (data triplet) Points Per Line in the DCI file.  (1, 2, ... 5)",
  };
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  for (int i = 0; i < 7; ++i) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString("Text%1").arg(5 + i));
    e->setFixedWidth(80);
    boxes_[static_cast<size_t>(i)] = e;
    auto* l = new QLabel(texts[i], this);
    l->setObjectName(QString("LabelText%1").arg(5 + i));
    l->setBuddy(e);
    grid->addWidget(e, i, 0, Qt::AlignTop);
    grid->addWidget(l, i, 1, Qt::AlignTop);
  }
  outer->addLayout(grid);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (auto [name, caption] : {std::pair{"Command1", "OK"}, std::pair{"Command2", "Cancel"}}) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  outer->addLayout(buttons);
  connect(findChild<QPushButton*>("Command1"), &QPushButton::clicked, this, &frmMiscParm::pressOk);
  connect(findChild<QPushButton*>("Command2"), &QPushButton::clicked, this, &frmMiscParm::pressCancel);
}

QLineEdit* frmMiscParm::box(int control) const {
  if (control < 5 || control > 11) return nullptr;
  return boxes_[static_cast<size_t>(control - 5)];
}

void frmMiscParm::showWindow() {
  const MiscTexts t = miscParameterTexts(main_.session().params);
  for (size_t i = 0; i < 7; ++i) boxes_[i]->setText(QString::fromStdString(t[i]));
  show();
  raise();
  activateWindow();
}

void frmMiscParm::pressOk() {
  MiscTexts t;
  for (size_t i = 0; i < 7; ++i) t[i] = boxes_[i]->text().toStdString();
  if (!reportFailure(main_, [&] { applyMiscParameterTexts(main_.session().params, t); })) return;
  main_.session().editedSinceSave = true;  // the values went into the set: Exit asks before losing them
  hide();
}

void frmMiscParm::pressCancel() { hide(); }
void frmMiscParm::reject() { hide(); }
