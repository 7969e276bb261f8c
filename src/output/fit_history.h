#pragma once
// The record of every fit while the program runs: one row per DC run of a
// fit (passes and retries), a column per unknown that any fit adjusted, as
// the history window shows it and as it exports to CSV and LaTeX.

#include <string>
#include <vector>

#include "output/dco_reader.h"
#include "runs/fit.h"

namespace tavrin {

struct FitHistoryEntry {
  int fit = 0;  // 1-based, in the order the fits were started
  runs::FitPass pass;
};

class FitHistory {
 public:
  int beginFit() { return ++fits_; }
  void add(int fit, const runs::FitPass& pass);
  // The fit's passes as it ended (notes added after a pass was shown).
  void finishFit(int fit, const std::vector<runs::FitPass>& passes);
  void clear();
  const std::vector<FitHistoryEntry>& entries() const { return entries_; }
  // Every unknown seen, in the order first seen.
  const std::vector<DcUnknown>& columns() const { return columns_; }

 private:
  int fits_ = 0;
  std::vector<FitHistoryEntry> entries_;
  std::vector<DcUnknown> columns_;
};

// Texts of the history: numbers as CSV writes them, in the units the I/O
// Parms window shows; blank where a run had no such unknown.
struct FitHistoryTable {
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;
};
// Fixed columns before the unknowns': fit, pass, retry, the two sums, XLAMDA.
inline constexpr int kFitHistoryFixedColumns = 6;
FitHistoryTable fitHistoryTable(const FitHistory& h);

std::string fitHistoryCsv(const FitHistory& h);
std::string fitHistoryLatex(const FitHistory& h);

}  // namespace tavrin
