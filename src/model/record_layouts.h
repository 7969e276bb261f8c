#pragma once
// The fixed-column records of the LC and DC input files, described once as
// data: per file kind and layout generation, each record's fields in file
// order. The writers walk the current tables; the readers walk a layout's
// tables to cut the fields and to make the texts the main window shows.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

enum class Layout { Current, Older };

enum class FormKind { None, Fixed, Exp, Int, Left, Combo, Blank, Keys, Text };

// How a field is written or shown: Fixed (w wide, d decimals), Exp (w wide,
// d digits, D exponent), Int (right-justified in w), Left (shown: the first w
// characters of the plain text), Combo (shown: the list's item), Blank (w
// blank columns), Keys (w adjustment-key characters), Text (a blank, then the
// text). None: Tavrin does not write it (only the current layout is written;
// the field's width then lays out the columns) or the window does not show it.
struct Form {
  FormKind kind = FormKind::None;
  int w = 0;
  int d = 0;
};

// What a field shows of `value` in a Fixed, Exp or Left form: the form's text
// where it reads back as exactly the value, else every digit needed, so that
// the next save writes the value shown.
std::string shownText(double value, Form form);

// Files carry temperatures in units of 10000 K.
enum class Unit { Same, TenThousandKelvin };

struct RecordField {
  std::string_view name;  // the quantity (record_slots.h); empty for columns the reader skips
  int column = 0;         // first column the reader cuts, 1-based
  int width = 0;          // columns the reader cuts (a text field: to the end of the line)
  Form written;
  Form shown;
  Unit unit = Unit::Same;
};
using RecordLayout = std::span<const RecordField>;

struct FileLayout {
  std::span<const RecordLayout> records;   // the fixed records; records[0] is record 1
  RecordLayout spot;                       // one spot line
  RecordLayout velocityCurve, lightCurve;  // DCI: one record per curve
  RecordLayout point;                      // DCI: one observation of a data line
  // DCI: the first-field width of the seventh curve record (stored record
  // 18) where it is not the curve record's own; the older programs align it
  // as the current ones do.
  int seventhCurveFirstWidth = 0;
};

const FileLayout& lciLayout(Layout layout);
const FileLayout& dciLayout(Layout layout);

// Field widths as the writers lay the record out, up to a text field.
std::vector<int> laidOutWidths(RecordLayout r);
// Where the first field that is not blank ends: the reader right-aligns a
// record's first token to end there.
int firstFieldEnd(RecordLayout r);
const RecordField* findField(RecordLayout r, std::string_view name);

}  // namespace tavrin
