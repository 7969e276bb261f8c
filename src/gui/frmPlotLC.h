#pragma once
// "Plot LC": the computed light curve of a page-1 report with observed light.
#include "PlotWindow.h"

class frmYrange;

class frmPlotLC : public PlotWindow {
  Q_OBJECT
 public:
  explicit frmPlotLC(frmMain& main);

  void syncChecks() override;
  // Caption after a data load: the LCO name, "  +  " and the data file name.
  void showDataCaption();
  // OK of the file dialog with code 4: reads the light data file from the
  // data folder; on failure shows the message and keeps the earlier points.
  void loadData(const QString& name);
  void setPlotColour(tavrin::Rgb colour);
  frmYrange& yRangeWindow();

 protected:
  tavrin::PlotResult drawPlot(tavrin::Canvas& c) override;
  void unloadData() override;

 private:
  frmYrange* yrange_ = nullptr;
};
