#pragma once
// "Plot RV": both computed velocity curves of a page-2 report with up to two
// sets of observed velocities.
#include "PlotWindow.h"
#include "frmYrange.h"

class frmPlotRV : public PlotWindow {
  Q_OBJECT
 public:
  explicit frmPlotRV(frmMain& main);

  // OK of the file dialog with code 11 (set 1) or 12 (set 2).
  void loadData(int set, const QString& name);
  // Options > Y scale: top and bottom velocity of the frame; automatic (from
  // the curves) until set and again when both boxes are left empty.
  frmYrange& yRangeWindow();
  frmYrange::Range velocityRange() const { return range_; }

 protected:
  tavrin::PlotResult drawPlot(tavrin::Canvas& c) override;
  void unloadData() override;

 private:
  frmYrange* yrange_ = nullptr;
  frmYrange::Range range_;
};
