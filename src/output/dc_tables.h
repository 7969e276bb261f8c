#pragma once
// DC's results as tables for a paper: the corrections (parameter with its
// curve, input, correction, output, standard deviation, in the units the
// I/O Parms window shows) and the correlation matrix with named rows and
// columns, as CSV or as a LaTeX booktabs table. C locale throughout.

#include <string>

#include "output/dco_reader.h"

namespace tavrin {

std::string dcResultsCsv(const DcResults& r);
// Values rounded to their standard deviation's precision.
std::string dcResultsLatex(const DcResults& r);

// A text and a number as these tables write them in LaTeX.
std::string latexText(const std::string& s);
std::string latexNumberText(const std::string& s);

}  // namespace tavrin
