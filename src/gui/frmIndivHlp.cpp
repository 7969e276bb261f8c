#include "frmIndivHlp.h"

#include <QFontDatabase>
#include <QPainter>

frmIndivHlp::frmIndivHlp(QWidget* parent) : QDialog(parent) {
  setObjectName("frmIndivHlp");
  setWindowTitle("Individual Help");
  // The help lines are laid out in columns with leading blanks.
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);
}

int frmIndivHlp::lineHeight() const { return fontMetrics().lineSpacing(); }

void frmIndivHlp::showLines(const QStringList& lines) {
  lines_ = lines;
  int width = 0;
  for (const QString& l : lines_) width = std::max(width, fontMetrics().horizontalAdvance(l));
  setFixedSize(std::max(width + kMargin * 2, 320), static_cast<int>(lines_.size()) * lineHeight() + kMargin);
  update();
  show();
  raise();
}

void frmIndivHlp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(palette().color(QPalette::WindowText));
  const int h = lineHeight();
  const int ascent = fontMetrics().ascent();
  for (int i = 0; i < lines_.size(); ++i) p.drawText(kMargin, kMargin / 2 + i * h + ascent, lines_[i]);
}
