#include "output/fit_history.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/dc_parameters.h"
#include "output/corrections.h"
#include "output/dc_tables.h"
#include "output/figure_tables.h"

namespace tavrin {

void FitHistory::add(int fit, const runs::FitPass& pass) {
  for (const DcIoRow& io : pass.results.ioRows) {
    const DcUnknown u{io.param, io.curve};
    if (std::find(columns_.begin(), columns_.end(), u) == columns_.end()) columns_.push_back(u);
  }
  entries_.push_back({fit, pass});
}

void FitHistory::finishFit(int fit, const std::vector<runs::FitPass>& passes) {
  size_t k = 0;
  for (FitHistoryEntry& e : entries_)
    if (e.fit == fit && k < passes.size()) e.pass = passes[k++];
}

void FitHistory::clear() {
  entries_.clear();
  columns_.clear();
}

namespace {
// Scaling leaves binary noise in the last digits, which DC's printed digits never had.
std::string num(double v, double scale = 1) {
  if (!std::isfinite(v)) return "NaN";
  if (scale == 1) return csvNumber(v);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.12g", v * scale);
  return csvNumber(std::strtod(buf, nullptr));
}
}  // namespace

FitHistoryTable fitHistoryTable(const FitHistory& h) {
  FitHistoryTable t;
  t.headers = {"Fit", "Pass", "Retry", "Sum(W*Res**2) input", "Sum(W*Res**2) predicted", "XLAMDA"};
  for (const DcUnknown& u : h.columns()) {
    const std::string l = dcUnknownLabel(u);
    t.headers.insert(t.headers.end(), {l, l + " correction", l + " std. dev."});
  }
  t.headers.push_back("Note");
  for (const FitHistoryEntry& e : h.entries()) {
    const runs::FitPass& p = e.pass;
    std::vector<std::string> row = {std::to_string(e.fit), std::to_string(p.pass), std::to_string(p.retry),
                                    num(p.results.sumWResInput), num(p.results.sumWResPredicted), num(p.xlamda)};
    for (const DcUnknown& u : h.columns()) {
      const auto io = std::find_if(p.results.ioRows.begin(), p.results.ioRows.end(),
                                   [&](const DcIoRow& r) { return r.param == u.param && r.curve == u.curve; });
      if (io == p.results.ioRows.end()) {
        row.insert(row.end(), 3, "");
        continue;
      }
      const double s = dcDisplayScale(u.param);
      row.insert(row.end(), {num(io->input, s), num(io->correction, s), num(io->stdDev, s)});
    }
    row.push_back(p.note);
    t.rows.push_back(std::move(row));
  }
  return t;
}

std::string fitHistoryCsv(const FitHistory& h) {
  const FitHistoryTable t = fitHistoryTable(h);
  std::string out;
  auto line = [&out](const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size(); ++i) out += (i ? "," : "") + csvField(cells[i]);
    out += "\n";
  };
  line(t.headers);
  for (const auto& r : t.rows) line(r);
  return out;
}

std::string fitHistoryLatex(const FitHistory& h) {
  const FitHistoryTable t = fitHistoryTable(h);
  // The note is left out: a paper's table holds numbers.
  const size_t n = t.headers.size() - 1;
  std::string out = "% requires \\usepackage{booktabs}\n\\begin{table}\n\\centering\n\\caption{Fit history.}\n\\begin{tabular}{" +
                    std::string(n, 'r') + "}\n\\toprule\n";
  for (size_t i = 0; i < n; ++i) out += (i ? " & " : "") + latexText(t.headers[i]);
  out += " \\\\\n\\midrule\n";
  for (const auto& r : t.rows) {
    for (size_t i = 0; i < n; ++i) out += (i ? " & " : "") + latexNumberText(r[i]);
    out += " \\\\\n";
  }
  out += "\\bottomrule\n\\end{tabular}\n\\end{table}\n";
  return out;
}

}  // namespace tavrin
