#pragma once
// Loading LC and DC input files (current and older layout) into a new
// ParameterSet, with the texts the main window shows for every control.
// Nothing is changed unless the whole file was read: the readers return a
// new set, and every failure is a TavrinError with the table's message.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "model/parameter_set.h"
#include "model/record_layouts.h"

namespace tavrin {

struct InputLoad {
  ParameterSet params;  // the loaded set; what the file does not carry keeps the value of `base`
  Layout layout = Layout::Current;
  // Main-window control name -> text to show. Each text parses back (leading-
  // number parse) to exactly the value held; combo boxes get their item text.
  std::map<std::string, std::string> displayTexts;
  // The controls of displayTexts in the order to fill them. Combo boxes whose
  // handlers rewrite other fields (Combo4 sets Text53) come before those
  // fields; fill with the tied-field handlers quiet, or a tie may copy one
  // star's value over the other's.
  std::vector<std::string> displayOrder;
  // Names of the scalar fields (scalarFields()) the file set, in file order.
  std::vector<std::string> carriedFields;
  // Radiative when the integer part of ALB + 0.0000001 is 1 (menus Star1Rad/Star2Rad).
  bool star1Radiative = false;
  bool star2Radiative = false;
  std::string dcoName;  // DCI: dcoNameFor(the DCI's file name); empty for an LCI
};

// Layout probes: the 5th LCI line (10th DCI line), leading blanks dropped,
// shorter than 75 characters means the older layout. Throw TavrinError
// (53 missing file, 62 fewer lines, ...).
Layout probeLci(const std::string& path);
Layout probeDci(const std::string& path);

// Whole-file readers. Throw TavrinError: 62 input past end of file, 9 more
// than 10 spots on a star / a light curve beyond the fifth / more than 9001
// observations in a block, 6 an integer field outside 16 bits or a number
// too large, 321 a value no list item can show or a block count that does
// not fit its lines.
InputLoad readLci(const std::string& path, const ParameterSet& base, Layout layout);
InputLoad readDci(const std::string& path, const ParameterSet& base, Layout layout);

// The DCI name with its last 4 characters replaced by ".dco" (a name of
// fewer than 4 characters gets ".dco" appended).
std::string dcoNameFor(const std::string& dciName);

// The same on a file's text (tests, benchmarks, the contour engine).
Layout probeLciText(std::string_view text);
Layout probeDciText(std::string_view text);
InputLoad readLciText(std::string_view text, const ParameterSet& base, Layout layout);
InputLoad readDciText(std::string_view text, const ParameterSet& base, Layout layout,
                      const std::string& dciName = {});

namespace detail {
// Lines of a text; CR LF, LF and a lone CR all end a line. A last line
// without a line end counts; nothing follows a final line end.
std::vector<std::string_view> splitLines(std::string_view text);
// One fixed-column record from a raw line whose first field is `firstWidth`
// wide and whose fields are `fieldWidths` wide as written. The line is taken
// as it stands when its first field is right-justified in columns
// 1..firstWidth and every field is blank or a number right-justified in its
// columns (the way Tavrin writes, so fields that fill their columns stay
// where they are). Otherwise leading blanks are dropped and the first token
// is right-aligned to end in column firstWidth.
std::string cutRecord(std::string_view raw, int firstWidth, const std::vector<int>& fieldWidths = {});
// Does this line (leading blanks dropped) end an observation block?
bool isObservationEndLine(std::string_view item);
}  // namespace detail

}  // namespace tavrin
