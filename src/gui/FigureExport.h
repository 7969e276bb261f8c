#pragma once
// Export of figures and tables from the windows: the figure dialog (file,
// journal size or one's own in inches or centimetres, PNG resolution,
// residual panels) and the table export of the DC result windows. An
// existing file is replaced only after the main window's question.
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "output/dco_reader.h"
#include "output/figure_layout.h"

class QWidget;
class frmMain;

namespace figureexport {

struct FigureChoice {
  QString path;
  tavrin::FigureSize size = tavrin::kOneColumnFigure;
  double dpi = 300;
  bool residuals = false;
};
// The figure dialog; nullopt when cancelled.
std::optional<FigureChoice> askFigure(QWidget* parent, const QString& suggestedPath, bool offerResiduals);

// A save-file chooser that leaves the replace question to frmMain::mayReplace.
QString askSavePath(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter);

// Writes text atomically after the replace question; failures are the main
// window's messages. True when written.
bool writeText(frmMain& main, const QString& path, const std::string& text);

// Adds "Export Table (CSV)..." and "Export Table (LaTeX)..." to the menu bar
// of a result window (once).
void installResultsExport(frmMain& main, QWidget& window, std::function<const tavrin::DcResults&()> results,
                          std::function<QString()> suggestedBase);

}  // namespace figureexport
