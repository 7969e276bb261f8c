#include "frmCorrel.h"

#include "PrintWindow.h"
#include "SingleWindow.h"

#include <algorithm>

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QStyle>
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
  connect(print, &QAction::triggered, this, [this] { printWindowImage(this); });
  outer->setMenuBar(bar);

  auto* title = new QLabel("Correlation Matrix", this);
  title->setObjectName("Label3");
  QFont tf = title->font();
  tf.setBold(true);
  title->setFont(tf);
  outer->addWidget(title, 0, Qt::AlignHCenter);

  note_ = new QLabel(this);
  note_->setObjectName("NoMatrix");
  note_->hide();
  outer->addWidget(note_);
  scroll_ = new QScrollArea(this);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  outer->addWidget(scroll_, 1);
  build(0);
}

void frmCorrel::build(int n) {
  auto* table = new QWidget;
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  const int cellWidth = QFontMetrics(fixed).horizontalAdvance(QString(10, 'X')) + 8;
  auto* grid = new QGridLayout(table);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(2);
  label1_.assign(static_cast<size_t>(n), nullptr);
  label2_.assign(static_cast<size_t>(n), nullptr);
  cells_.assign(static_cast<size_t>(n), std::vector<QLineEdit*>(static_cast<size_t>(n), nullptr));
  for (int i = 1; i <= n; ++i) {
    QLabel*& a = label1_[static_cast<size_t>(i - 1)];
    a = new QLabel(table);
    a->setObjectName(QString("Label1_%1").arg(i));
    grid->addWidget(a, i, 0);
    QLabel*& b = label2_[static_cast<size_t>(i - 1)];
    b = new QLabel(table);
    b->setObjectName(QString("Label2_%1").arg(i));
    b->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    grid->addWidget(b, 0, i);
  }
  for (int c = 1; c <= n; ++c) {
    for (int r = 1; r <= n; ++r) {
      auto* e = new QLineEdit(table);
      e->setObjectName(QString("Text%1_%2").arg(c).arg(r));
      e->setReadOnly(true);
      e->setFont(fixed);
      e->setAlignment(Qt::AlignRight);
      e->setFixedWidth(cellWidth);
      e->setAccessibleName(QString("Correlation, row %1, column %2").arg(r).arg(c));
      cells_[static_cast<size_t>(c - 1)][static_cast<size_t>(r - 1)] = e;
      grid->addWidget(e, r, c);
    }
  }
  grid->setRowStretch(n + 1, 1);
  grid->setColumnStretch(n + 1, 1);
  scroll_->setWidget(table);  // deletes the previous table
}

void frmCorrel::fill(const tavrin::CorrelView& view) {
  setWindowTitle(QString::fromStdString(view.caption));
  const int n = static_cast<int>(view.cells.size());
  build(n);
  note_->setText(QString::fromStdString(view.note));
  note_->setVisible(!view.note.empty());
  for (int c = 1; c <= n; ++c)
    for (int r = 1; r <= n; ++r) {
      QLineEdit* e = cell(c, r);
      e->setText(QString::fromStdString(view.cells[static_cast<size_t>(r - 1)][static_cast<size_t>(c - 1)]));
      const QString a = QString::fromStdString(view.labels[static_cast<size_t>(r - 1)]);
      const QString b = QString::fromStdString(view.labels[static_cast<size_t>(c - 1)]);
      e->setAccessibleName(QString("Correlation of %1 with %2").arg(a, b));
    }
  for (int i = 1; i <= n; ++i) {
    label1(i)->setText(QString::fromStdString(view.labels[static_cast<size_t>(i - 1)]));
    label2(i)->setText(QString::fromStdString(view.labels[static_cast<size_t>(i - 1)]));
  }
  // Up to ten unknowns show whole, measured with their labels in; more scroll.
  if (n > 0) {
    const QSize hint = scroll_->widget()->sizeHint();
    const int shown = std::min(n, 10);
    const int step = cells_[0][0]->width() + 2;
    const int rowStep = cells_[0][0]->sizeHint().height() + 2;
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    scroll_->setMinimumSize(hint.width() - (n - shown) * step + bar, hint.height() - (n - shown) * rowStep + bar);
  }
  adjustSize();
}

QLineEdit* frmCorrel::cell(int column, int row) const {
  if (column < 1 || column > size() || row < 1 || row > size()) return nullptr;
  return cells_[static_cast<size_t>(column - 1)][static_cast<size_t>(row - 1)];
}

QLabel* frmCorrel::label1(int i) const { return i >= 1 && i <= size() ? label1_[static_cast<size_t>(i - 1)] : nullptr; }
QLabel* frmCorrel::label2(int i) const { return i >= 1 && i <= size() ? label2_[static_cast<size_t>(i - 1)] : nullptr; }

frmCorrel& frmCorrel::of(QWidget& main) { return singleWindow<frmCorrel>(main); }
