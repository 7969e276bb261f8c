#include "output/dc_tables.h"

#include <charconv>

#include "model/dc_parameters.h"
#include "output/corrections.h"
#include "output/figure_tables.h"
#include "output/figure_ticks.h"

namespace tavrin {

namespace {

std::string latexEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&' || c == '%' || c == '$' || c == '#' || c == '_' || c == '{' || c == '}') out += '\\';
    if (c == '~' || c == '^' || c == '\\') {
      out += c == '\\' ? "\\textbackslash{}" : (c == '~' ? "\\textasciitilde{}" : "\\textasciicircum{}");
      continue;
    }
    out += c;
  }
  return out;
}

std::string latexNumber(const std::string& s) { return s.empty() ? "" : "$" + (s[0] == '-' ? "-" + s.substr(1) : s) + "$"; }

// A value in the units shown: scaling leaves binary noise in the last
// digits, which DC's few printed digits never had.
std::string shownNumber(double v, double scale) {
  if (scale == 1) return csvNumber(v);
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v * scale, std::chars_format::general, 12);
  double back = 0;
  std::from_chars(buf, r.ptr, back);
  return csvNumber(back);
}

}  // namespace

std::string latexText(const std::string& s) { return latexEscape(s); }
std::string latexNumberText(const std::string& s) { return latexNumber(s); }

std::string dcResultsCsv(const DcResults& r) {
  std::string out = "parameter,number,curve,input,correction,output,standard deviation\n";
  for (const DcIoRow& io : r.ioRows) {
    const double s = dcDisplayScale(io.param);
    out += csvField(dcUnknownLabel({io.param, io.curve})) + "," + std::to_string(io.param) + "," +
           std::to_string(io.curve) + "," + shownNumber(io.input, s) + "," + shownNumber(io.correction, s) + "," +
           shownNumber(io.output, s) + "," + shownNumber(io.stdDev, s) + "\n";
  }
  out += "\nSum(W*Res**2) input," + csvNumber(r.sumWResInput) + "\nSum(W*Res**2) predicted," +
         csvNumber(r.sumWResPredicted) + "\n";
  if (!r.correlation.empty()) {
    out += "\ncorrelation";
    for (const DcUnknown& u : r.unknowns) out += "," + csvField(dcUnknownLabel(u));
    out += "\n";
    for (size_t i = 0; i < r.correlation.size(); ++i) {
      out += csvField(i < r.unknowns.size() ? dcUnknownLabel(r.unknowns[i]) : "");
      for (double x : r.correlation[i]) out += "," + csvNumber(x);
      out += "\n";
    }
  }
  return out;
}

std::string dcResultsLatex(const DcResults& r) {
  std::string out =
      "% requires \\usepackage{booktabs}\n\\begin{table}\n\\centering\n\\caption{Differential corrections.}\n"
      "\\begin{tabular}{lrrrr}\n\\toprule\nParameter & Input & Correction & Output & $\\sigma$ \\\\\n\\midrule\n";
  for (const DcIoRow& io : r.ioRows) {
    const double s = dcDisplayScale(io.param);
    const RoundedPair o = roundToUncertainty(io.output * s, io.stdDev * s);
    const RoundedPair in = roundToUncertainty(io.input * s, io.stdDev * s);
    const RoundedPair c = roundToUncertainty(io.correction * s, io.stdDev * s);
    out += latexEscape(dcUnknownLabel({io.param, io.curve})) + " & " + latexNumber(in.value) + " & " +
           latexNumber(c.value) + " & " + latexNumber(o.value) + " & " + latexNumber(o.stdDev) + " \\\\\n";
  }
  out += "\\bottomrule\n\\end{tabular}\n\\end{table}\n";
  if (!r.correlation.empty()) {
    out += "\n\\begin{table}\n\\centering\n\\caption{Correlation matrix.}\n\\begin{tabular}{l" +
           std::string(r.unknowns.size(), 'r') + "}\n\\toprule\n";
    for (const DcUnknown& u : r.unknowns) out += " & " + latexEscape(dcUnknownLabel(u));
    out += " \\\\\n\\midrule\n";
    for (size_t i = 0; i < r.correlation.size(); ++i) {
      out += latexEscape(i < r.unknowns.size() ? dcUnknownLabel(r.unknowns[i]) : "");
      for (double x : r.correlation[i]) out += " & " + latexNumber(fixedText(x, 3));
      out += " \\\\\n";
    }
    out += "\\bottomrule\n\\end{tabular}\n\\end{table}\n";
  }
  return out;
}

}  // namespace tavrin
