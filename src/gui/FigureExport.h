#pragma once
// Export of figures and tables from the windows: the figure dialog (file,
// journal size or one's own in inches or centimetres, PNG resolution,
// residual panels), the question before an existing file is replaced, and
// the table export of the DC result windows.
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "output/dco_reader.h"
#include "output/figure_layout.h"

class QWidget;

namespace figureexport {

// Tests answer the replace question themselves.
using Question = std::function<bool(const QString& text)>;
void setQuestion(Question q);

// True when path may be written: it does not exist, or the user agreed to
// replace it.
bool mayReplace(QWidget* parent, const QString& path);

struct FigureChoice {
  QString path;
  tavrin::FigureSize size = tavrin::kOneColumnFigure;
  double dpi = 300;
  bool residuals = false;
};
// The figure dialog; nullopt when cancelled.
std::optional<FigureChoice> askFigure(QWidget* parent, const QString& suggestedPath, bool offerResiduals);

// A save-file chooser that leaves the replace question to mayReplace.
QString askSavePath(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter);

// Writes text atomically after the replace question; failures go to
// showMessage. True when written.
bool writeText(QWidget* parent, const QString& path, const std::string& text,
               const std::function<void(const QString&)>& showMessage);

// Adds "Export Table (CSV)..." and "Export Table (LaTeX)..." to the menu bar
// of a result window (once).
void installResultsExport(QWidget& window, std::function<const tavrin::DcResults&()> results,
                          std::function<QString()> suggestedBase, std::function<void(const QString&)> showMessage);

}  // namespace figureexport
