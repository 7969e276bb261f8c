#pragma once
// The LC input file: seven fixed-column parameter records, the spot lists of
// both stars and the closing lines, CR LF line ends. Works on a ParameterSet
// and a path only; the window gathers into the set before calling.

#include <optional>
#include <string>

#include "model/critical_potentials.h"
#include "model/parameter_set.h"
#include "model/record_layouts.h"
#include "model/record_slots.h"

namespace tavrin {

// What a save did. On a refusal nothing was written and `refusal` holds the
// potential check's message. text46/text47 are set when the check snapped
// POTH/POT2: the window shows them, the file keeps the earlier values.
struct SaveOutcome {
  bool written = false;
  std::string refusal;
  std::optional<std::string> text46, text47;
};

// The whole LCI text (CR LF). Throws TavrinError when a value cannot be
// formatted or a spot count is outside 0..10.
std::string lciText(const ParameterSet& p);

// In MODE 1 and 3 POT2 follows POTH first. Formats, runs the potential checks
// and writes atomically; on refusal nothing is written. I/O failures throw
// TavrinError and leave the old file as it was.
SaveOutcome saveLci(ParameterSet& p, const std::string& path);

// The potential checks of the kind's save, then `text` written atomically to
// path only when they pass. Both writers end their save here.
SaveOutcome writeChecked(ParameterSet& p, InputFileKind kind, const std::string& path, const std::string& text);

namespace detail {
// fixedField / expField that refuse a value that is not finite: such a value
// has no field text the external programs could read (TavrinError(6)).
std::string fx(double x, int width, int decimals);
std::string ex(double x, int width, int digits);
// One field as its layout writes it, the quantity found at `s`.
void appendField(std::string& out, const RecordField& f, const Slot& s);
// One record as its layout writes it, without the line end.
std::string recordText(RecordLayout r, const ParameterSet& p);
std::string recordText(RecordLayout r, const CurveRow& c);
// Star-1 spot lines, "300.", star-2 spot lines, "300." (CR LF each).
std::string spotRecords(const ParameterSet& p, RecordLayout spotLine);
}  // namespace detail

}  // namespace tavrin
