#pragma once
#include <QWidget>

#include "QtCanvas.h"

// A plot in a window: repaints through the drawer whenever Qt asks.
class PlotArea : public QWidget {
  Q_OBJECT
 public:
  explicit PlotArea(PlotDrawer drawer, QWidget* parent = nullptr);
  QSize sizeHint() const override { return {800, 560}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  PlotDrawer drawer_;
};
