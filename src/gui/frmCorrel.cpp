#include "frmCorrel.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

#include "frmIOparms.h"

frmCorrel::frmCorrel(QWidget* parent) : QDialog(parent) {
  setObjectName("frmCorrel");
  setWindowTitle("Correlations");
  setModal(false);
  auto* outer = new QVBoxLayout(this);
  auto* bar = new QMenuBar(this);
  QAction* print = bar->addAction("&Print");
  print->setObjectName("Print");
  connect(print, &QAction::triggered, this, [this] { printResultWindow(this); });
  outer->setMenuBar(bar);

  auto* title = new QLabel("Correlation Matrix", this);
  title->setObjectName("Label3");
  QFont tf = title->font();
  tf.setBold(true);
  title->setFont(tf);
  outer->addWidget(title, 0, Qt::AlignHCenter);

  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  const int cellWidth = QFontMetrics(fixed).horizontalAdvance(QString(10, 'X')) + 8;
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(2);
  outer->addLayout(grid);
  for (int i = 1; i <= tavrin::kCorrelShown; ++i) {
    label1_[i] = new QLabel(this);
    label1_[i]->setObjectName(QString("Label1_%1").arg(i));
    grid->addWidget(label1_[i], i, 0);
    label2_[i] = new QLabel(this);
    label2_[i]->setObjectName(QString("Label2_%1").arg(i));
    label2_[i]->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    grid->addWidget(label2_[i], 0, i);
  }
  for (int c = 1; c <= tavrin::kCorrelShown; ++c) {
    for (int r = 1; r <= tavrin::kCorrelShown; ++r) {
      auto* e = new QLineEdit(this);
      e->setObjectName(QString("Text%1_%2").arg(c).arg(r));
      e->setReadOnly(true);
      e->setFont(fixed);
      e->setAlignment(Qt::AlignRight);
      e->setFixedWidth(cellWidth);
      e->setAccessibleName(QString("Correlation, row %1, column %2").arg(r).arg(c));
      cells_[c][r] = e;
      grid->addWidget(e, r, c);
    }
  }
}

void frmCorrel::fill(const tavrin::CorrelView& view) {
  setWindowTitle(QString::fromStdString(view.caption));
  for (int c = 1; c <= tavrin::kCorrelShown; ++c)
    for (int r = 1; r <= tavrin::kCorrelShown; ++r) {
      cells_[c][r]->setText(QString::fromStdString(view.cells[r][c]));
      const QString a = QString::fromStdString(view.labels[r]), b = QString::fromStdString(view.labels[c]);
      cells_[c][r]->setAccessibleName(a.isEmpty() || b.isEmpty()
                                          ? QString("Correlation, row %1, column %2").arg(r).arg(c)
                                          : QString("Correlation of %1 with %2").arg(a, b));
    }
  for (int i = 1; i <= tavrin::kCorrelShown; ++i) {
    label1_[i]->setText(QString::fromStdString(view.labels[i]));
    label2_[i]->setText(QString::fromStdString(view.labels[i]));
  }
}

QLineEdit* frmCorrel::cell(int column, int row) const {
  if (column < 1 || column > tavrin::kCorrelShown || row < 1 || row > tavrin::kCorrelShown) return nullptr;
  return cells_[column][row];
}

QLabel* frmCorrel::label1(int i) const { return i >= 1 && i <= tavrin::kCorrelShown ? label1_[i] : nullptr; }
QLabel* frmCorrel::label2(int i) const { return i >= 1 && i <= tavrin::kCorrelShown ? label2_[i] : nullptr; }

frmCorrel& frmCorrel::of(QWidget& main) {
  auto* w = main.findChild<frmCorrel*>("frmCorrel", Qt::FindDirectChildrenOnly);
  if (!w) w = new frmCorrel(&main);
  return *w;
}
