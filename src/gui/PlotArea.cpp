#include "PlotArea.h"

#include <QPainter>

PlotArea::PlotArea(PlotDrawer drawer, QWidget* parent) : QWidget(parent), drawer_(std::move(drawer)) {
  setObjectName("PlotArea");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
}

void PlotArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QtCanvas c(p, QSizeF(size()), logicalDpiX(), logicalDpiY());
  if (drawer_) drawer_(c);
}
