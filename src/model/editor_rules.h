#pragma once
// The main editor's rules: which parameters it shows and lets the user edit
// under the current choices, which parameters take a typed value over, and
// the Rad/Conv presets. Names are the parameters' names ("POTH").

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/parameter_set.h"

namespace tavrin {

// The editor's choices the rules depend on, as the drop-down lists stand
// (not yet gathered into the set).
struct EditorChoices {
  bool dc = false;     // DC mode (else LC)
  int jdphs = 2;       // 1 time, 2 phase
  int ld = 1;          // limb-darkening law
  int mode = 0;        // MODE
  int mpage = 1;       // 1 light, else velocities
  int mref = 1;        // 2: detailed reflection
  bool noise = false;  // artificial noise on
};

using ParameterFlags = std::vector<std::pair<std::string_view, bool>>;

// Every parameter whose visibility the choices decide, with whether it shows.
ParameterFlags shownParameters(const EditorChoices& c);
// Every parameter whose editability the choices decide, with whether it is editable.
ParameterFlags enabledParameters(const EditorChoices& c);
// The parameters that take over a value typed into `name` (none, one, or its pair).
std::vector<std::string_view> tiedParameters(std::string_view name, const EditorChoices& c);

// A star is radiative when the integer part of its albedo + 0.0000001 is 1.
bool isRadiative(double albedo);

struct RadConvPreset {
  std::string_view gravity;  // "GR1"
  std::string_view albedo;   // "ALB1"
  std::string_view gravityText;
  std::string_view albedoText;
};
// What the Rad/Conv menu puts into star `star`'s (1 or 2) fields.
RadConvPreset radConvPreset(int star, bool radiative);

// Going from LC to DC: DC's band, L1 and L2 are the LC light curve's.
void takeLcLightCurve(ParameterSet& p, int band, double l1, double l2);

// The curve row (3..7) of the first DC light curve in `band` (1-based), if any:
// the LC editor shows its values when that band is chosen after a transfer.
std::optional<int> dcLightCurveRowOfBand(const ParameterSet& p, int band);

// The texts a DC light curve's values show in the LC editor, by parameter.
std::vector<std::pair<std::string_view, std::string>> dcLightCurveTexts(const CurveRow& c);

}  // namespace tavrin
