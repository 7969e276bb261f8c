#include "frmIOparms.h"

#include "PrintWindow.h"
#include "SingleWindow.h"

#include <algorithm>

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace {
// What each box of a row holds, for screen readers (the heads sit above the rows).
const char* const kBoxNames[7] = {"", "parameter number", "curve", "input value", "correction", "standard deviation",
                                  "output value"};
QString boxName(int row, const QString& label, int b) {
  return QString("Row %1%2: %3").arg(row).arg(label.isEmpty() ? QString() : " (" + label + ")", kBoxNames[b]);
}
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

frmIOparms::frmIOparms(QWidget* parent) : QDialog(parent) {
  setObjectName("frmIOparms");
  setWindowTitle("I/O Parms");
  setModal(false);
  auto* outer = new QVBoxLayout(this);
  auto* bar = new QMenuBar(this);
  QAction* print = bar->addAction("&Print");
  print->setObjectName("Print");
  connect(print, &QAction::triggered, this, [this] { printWindowImage(this); });
  outer->setMenuBar(bar);

  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  auto label = [this](const QString& name, const QString& text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    return l;
  };
  auto* title = label("Label3", "Input/Output Parameters");
  QFont tf = title->font();
  tf.setBold(true);
  title->setFont(tf);
  outer->addWidget(title, 0, Qt::AlignHCenter);

  failure_ = label("Failure", "");
  failure_->setStyleSheet("color: #b00000");
  failure_->setWordWrap(true);
  failure_->hide();
  outer->addWidget(failure_);
  // DC may solve for up to 50 unknowns: the rows scroll.
  scroll_ = new QScrollArea(this);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  outer->addWidget(scroll_, 1);
  buildRows(0);
  auto* sums = new QGridLayout;
  outer->addLayout(sums);
  QLabel* label4 = label("Label4", "Sum(W*Res**2) - Input values");
  QLabel* label5 = label("Label5", "Sum(W*Res**2) predicted");
  sums->addWidget(label4, 0, 0);
  sums->addWidget(label5, 1, 0);
  text9_ = new QLineEdit(this);
  text9_->setObjectName("Text9");
  text10_ = new QLineEdit(this);
  text10_->setObjectName("Text10");
  label4->setBuddy(text9_);
  label5->setBuddy(text10_);
  for (QLineEdit* e : {text9_, text10_}) {
    e->setReadOnly(true);
    e->setFont(fixed);
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(QFontMetrics(fixed).horizontalAdvance(QString(14, 'X')));
  }
  sums->addWidget(text9_, 0, 1);
  sums->addWidget(text10_, 1, 1);
  sums->setColumnStretch(2, 1);
  // Corrections of one solution belong together: all of them in one step.
  updateAll_ = new QPushButton("Update All", this);
  updateAll_->setObjectName("UpdateAll");
  updateAll_->setAutoDefault(false);
  connect(updateAll_, &QPushButton::clicked, this, [this] {
    if (onUpdateAll_) onUpdateAll_();
  });
  sums->addWidget(updateAll_, 0, 3);
}

void frmIOparms::buildRows(int count) {
  auto* table = new QWidget;
  auto* grid = new QGridLayout(table);
  grid->setContentsMargins(0, 0, 0, 0);
  auto label = [table](const QString& name, const QString& text) {
    auto* l = new QLabel(text, table);
    l->setObjectName(name);
    return l;
  };
  const char* heads[] = {"Curve", "Input Parm.", "Correction", "Std.Dev.", "Output Parm."};
  for (int c = 0; c < 5; ++c) grid->addWidget(label(QString("Label%1").arg(6 + c), heads[c]), 0, 2 + c);
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  const int widths[7] = {0, 3, 2, 10, 6, 6, 10};
  rows_.assign(static_cast<size_t>(count), Row{});
  for (int i = 1; i <= count; ++i) {
    Row& r = rows_[static_cast<size_t>(i - 1)];
    r.label = label(QString("Label2_%1").arg(i), "");
    r.label->setMinimumWidth(QFontMetrics(r.label->font()).horizontalAdvance("dPer/dt (5)W"));
    grid->addWidget(r.label, i, 0);
    // Text1 param, Text2 curve, then input, correction, standard deviation, output.
    for (int b = 1; b <= 6; ++b) {
      auto* e = new QLineEdit(table);
      e->setObjectName(QString("Text%1_%2").arg(b).arg(i));
      e->setReadOnly(true);
      e->setFont(fixed);
      e->setAlignment(Qt::AlignRight);
      e->setFixedWidth(QFontMetrics(fixed).horizontalAdvance(QString(widths[b] + 2, 'X')) + 8);
      e->setAccessibleName(boxName(i, QString(), b));
      r.boxes[static_cast<size_t>(b)] = e;
      grid->addWidget(e, i, b);
    }
    r.button = new QPushButton("Update", table);
    r.button->setObjectName(QString("Command1_%1").arg(i));
    r.button->setAccessibleName(QString("Update row %1").arg(i));
    grid->addWidget(r.button, i, 7);
    connect(r.button, &QPushButton::clicked, this, [this, i] { pressUpdate(i); });
  }
  grid->setRowStretch(count + 1, 1);
  scroll_->setWidget(table);  // deletes the previous table
  table_ = table;
  const int rowHeight = rows_.empty() ? 0 : rows_.front().button->sizeHint().height() + grid->verticalSpacing();
  const int shown = std::min(count, 12);
  // Room for the scroll bars, so that up to twelve rows show whole.
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
  scroll_->setMinimumHeight(table->sizeHint().height() - (count - shown) * rowHeight + bar);
  scroll_->setMinimumWidth(table->sizeHint().width() + bar);
}

void frmIOparms::fill(const tavrin::IoParmsView& view) {
  setWindowTitle(q(view.caption));
  buildRows(static_cast<int>(view.rows.size()));
  failure_->setVisible(!view.failure.empty());
  failure_->setText(view.failure.empty() ? QString() : "DC's solution failed: " + q(view.failure));
  for (int i = 1; i <= rowCount(); ++i) {
    const tavrin::IoParmsRow& v = view.rows[static_cast<size_t>(i - 1)];
    Row& r = rows_[static_cast<size_t>(i - 1)];
    r.label->setText(q(v.label));
    const std::string* texts[7] = {nullptr, &v.param, &v.curve, &v.input, &v.correction, &v.stdDev, &v.output};
    for (int b = 1; b <= 6; ++b) {
      r.boxes[static_cast<size_t>(b)]->setAccessibleName(boxName(i, q(v.label), b));
      r.boxes[static_cast<size_t>(b)]->setText(q(*texts[b]));
      r.boxes[static_cast<size_t>(b)]->setCursorPosition(0);
    }
    r.button->setText(q(v.button));
    r.button->setEnabled(v.updatable);
    r.button->setAccessibleName(QString("%1 row %2%3").arg(q(v.button)).arg(i).arg(v.label.empty() ? QString() : " (" + q(v.label) + ")"));
  }
  text9_->setText(q(view.sumInput));
  text10_->setText(q(view.sumPredicted));
  updateAll_->setEnabled(std::any_of(view.rows.begin(), view.rows.end(),
                                     [](const tavrin::IoParmsRow& r) { return r.updatable && r.button == "Update"; }));
  adjustSize();
}

void frmIOparms::setButtonCaption(int row, const QString& caption) {
  if (QPushButton* b = button(row)) b->setText(caption);
}

void frmIOparms::pressUpdate(int row) {
  if (onUpdate_) onUpdate_(row);
}

QLineEdit* frmIOparms::box(int column, int row) const {
  if (column < 1 || column > 6 || row < 1 || row > rowCount()) return nullptr;
  return rows_[static_cast<size_t>(row - 1)].boxes[static_cast<size_t>(column)];
}

QPushButton* frmIOparms::button(int row) const {
  return row >= 1 && row <= rowCount() ? rows_[static_cast<size_t>(row - 1)].button : nullptr;
}

QLabel* frmIOparms::rowLabel(int row) const {
  return row >= 1 && row <= rowCount() ? rows_[static_cast<size_t>(row - 1)].label : nullptr;
}

frmIOparms& frmIOparms::of(QWidget& main) { return singleWindow<frmIOparms>(main); }
