#include "model/parameter_set.h"

#include <cmath>
#include <type_traits>

namespace tavrin {

std::array<char, kAdjustKeys + 1> ParameterSet::defaultAdjustKeys() {
  std::array<char, kAdjustKeys + 1> keys{};
  keys.fill('1');
  keys[0] = ' ';
  return keys;
}

std::array<double, kIncrements + 1> ParameterSet::defaultIncrements() {
  // Boxes 1..26 of the increments window as the program starts (F1 and F2 start at 0.10).
  return {0.0,  5.0,  5.0,  3.0,  0.03, 5.0,  5.0,  3.0,  0.03, 0.01, 0.10, 0.10, 0.10, 0.002,
          -1.0, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01};
}

namespace {

using K = FieldKind;
using U = FieldUse;

const std::vector<ScalarField> kFields = {
    {"MPAGE", "Combo5", "Label01", K::Integer, U::LC, "1:LC",
     "MPAGE", "Output kind: 1 light curve, 2 radial velocities"},
    {"NREF", "Text02", "Label02", K::Integer, U::Both, "1",
     "NREF", "Number of reflections (detailed reflection only)"},
    {"MREF", "Combo6", "Label03", K::Integer, U::Both, "1: simple",
     "MREF", "Reflection: 1 simple, 2 detailed"},
    {"IFSMV1", "Text04", "Label04", K::Integer, U::Both, "0",
     "IFSMV1", "Spots on star 1 move: 0 no, 1 yes"},
    {"IFSMV2", "Text05", "Label05", K::Integer, U::Both, "0",
     "IFSMV2", "Spots on star 2 move: 0 no, 1 yes"},
    {"ICOR1", "Text06", "Label06", K::Integer, U::Both, "1",
     "ICOR1", "Proximity and eclipse corrections of velocity curve 1: 0 no, 1 yes"},
    {"ICOR2", "Text07", "Label07", K::Integer, U::Both, "1",
     "ICOR2", "Proximity and eclipse corrections of velocity curve 2: 0 no, 1 yes"},
    {"LD", "Combo2", "Label08", K::Integer, U::Both, "2: Log",
     "LD law", "Limb-darkening law: 1 linear, 2 logarithmic, 3 square root"},
    {"JDPHS", "Combo1", "Label09", K::Integer, U::Both, "2: phase",
     "JDPHS", "Independent variable: 1 time (JD), 2 phase"},
    {"HJD0", "Text10", "Label10", K::Real, U::Both, "7522.664328",
     "J.D. zero", "Ephemeris zero point (HJD)"},
    {"PERIOD", "Text11", "Label11", K::Real, U::Both, "232.5",
     "Period", "Orbital period, days"},
    {"DPDT", "Text12", "Label12", K::Real, U::Both, "0.334425e-09",
     "dP/dt", "Period derivative"},
    {"PSHIFT", "Text13", "Label13", K::Real, U::Both, "0.0000",
     "Ph.shift", "Phase shift"},
    {"FRACSD", "Text14", "Label14", K::Real, U::LC, "0.0000",
     "Frac.SD", "Fractional standard deviation of artificial noise"},
    {"NOISE", "Combo7", "Label15", K::Integer, U::LC, "0: no",
     "Noise", "Artificial noise: 0 no, 1 yes"},
    {"SEED", "Text16", "Label16", K::Real, U::LC, "138472375",
     "Seed", "Random-number seed of the noise"},
    {"JDSTART", "Text17", "Label17", K::Real, U::LC, "7523.000000",
     "JD start", "First time of the output"},
    {"JDSTOP", "Text18", "Label18", K::Real, U::LC, "7923.000000",
     "JD stop", "Last time of the output"},
    {"JDINCR", "Text19", "Label19", K::Real, U::LC, "10.000000",
     "JD incr.", "Time step of the output"},
    {"PHSTRT", "Text20", "Label20", K::Real, U::LC, "0.000",
     "Ph.start", "First phase of the output"},
    {"PHSTOP", "Text21", "Label21", K::Real, U::LC, "1.200",
     "Ph.stop", "Last phase of the output"},
    {"PHIN", "Text22", "Label22", K::Real, U::LC, "0.002",
     "Ph.incr.", "Phase step of the output"},
    {"PHN", "Text23", "Label23", K::Real, U::LC, "0.250",
     "Ph.norm.", "Phase at which the light is normalised"},
    {"MODE", "Combo3", "Label24", K::Integer, U::Both, "3:overcon,adj T2",
     "MODE", "Constraint mode -1..6"},
    {"IPB", "Text25", "Label25", K::Integer, U::Both, "0",
     "IPB", "1: L2 computed independently of T2"},
    {"IFAT1", "Text26", "Label26", K::Integer, U::Both, "1",
     "IFAT1", "Star 1: 0 black body, 1 model atmosphere"},
    {"IFAT2", "Text27", "Label27", K::Integer, U::Both, "1",
     "IFAT2", "Star 2: 0 black body, 1 model atmosphere"},
    {"N1", "Text28", "Label28", K::Integer, U::Both, "30",
     "N1", "Surface grid size of star 1"},
    {"N2", "Text29", "Label29", K::Integer, U::Both, "30",
     "N2", "Surface grid size of star 2"},
    {"N1L", "Text2", "Label2", K::Integer, U::DC, "15",
     "N1L", "Coarse grid size of star 1 (DC)"},
    {"N2L", "Text3", "Label3", K::Integer, U::DC, "15",
     "N2L", "Coarse grid size of star 2 (DC)"},
    {"PER", "Text30", "Label30", K::Real, U::Both, "5.235",
     "Arg.Per.", "Argument of periastron, radians"},
    {"DPERDT", "Text31", "Label31", K::Real, U::Both, "0.78963e-12",
     "dPer/dt", "Time derivative of the argument of periastron"},
    {"THE", "Text32", "Label32", K::Real, U::Both, "0.00",
     "THE", "Semi-duration of primary eclipse (X-ray binaries)"},
    {"VUNIT", "Text33", "Label33", K::Real, U::Both, "100",
     "V unit", "Velocity unit, km/s"},
    {"E", "Text34", "Label34", K::Real, U::Both, "0.000",
     "eccen.", "Orbital eccentricity"},
    {"A", "Text35", "Label35", K::Real, U::Both, "351.59",
     "s.m. axis", "Semi-major axis, solar radii"},
    {"F1", "Text36", "Label36", K::Real, U::Both, "1.000",
     "F1", "Rotation rate of star 1 (1 = synchronous)"},
    {"F2", "Text37", "Label37", K::Real, U::Both, "1.000",
     "F2", "Rotation rate of star 2 (1 = synchronous)"},
    {"VGA", "Text38", "Label38", K::Real, U::Both, "-36.0200",
     "Vgamma", "Systemic velocity, in velocity units"},
    {"XINCL", "Text39", "Label39", K::Real, U::Both, "90.000",
     "Inclination", "Orbital inclination, degrees"},
    {"GR1", "Text40", "Label40", K::Real, U::Both, "0.320",
     "g1", "Gravity-darkening exponent of star 1"},
    {"GR2", "Text41", "Label41", K::Real, U::Both, "0.320",
     "g2", "Gravity-darkening exponent of star 2"},
    {"MH", "Text4", "Label4", K::Real, U::Both, "0.00",
     "[M/H]", "Metallicity [M/H]"},
    {"T1", "Text42", "Label42", K::Real, U::Both, "5300",
     "T1", "Mean temperature of star 1, K"},
    {"T2", "Text43", "Label43", K::Real, U::Both, "4521",
     "T2", "Mean temperature of star 2, K"},
    {"ALB1", "Text44", "Label44", K::Real, U::Both, "0.500",
     "Alb.1", "Bolometric albedo of star 1"},
    {"ALB2", "Text45", "Label45", K::Real, U::Both, "0.500",
     "Alb.2", "Bolometric albedo of star 2"},
    {"POTH", "Text46", "Label46", K::Real, U::Both, "6.1624",
     "Pot'l 1", "Surface potential of star 1"},
    {"POT2", "Text47", "Label47", K::Real, U::Both, "9.0092",
     "Pot'l 2", "Surface potential of star 2"},
    {"RM", "Text48", "Label48", K::Real, U::Both, "0.76115",
     "M2 / M1", "Mass ratio M2/M1"},
    {"XBOL1", "Text49", "Label49", K::Real, U::Both, "0.743",
     "x bol 1", "Bolometric limb-darkening x of star 1"},
    {"XBOL2", "Text50", "Label50", K::Real, U::Both, "0.638",
     "x bol 2", "Bolometric limb-darkening x of star 2"},
    {"YBOL1", "Text51", "Label51", K::Real, U::Both, "0.069",
     "y bol 1", "Bolometric limb-darkening y of star 1"},
    {"YBOL2", "Text52", "Label52", K::Real, U::Both, "0.173",
     "y bol 2", "Bolometric limb-darkening y of star 2"},
    {"BAND", "Combo4", "Label5", K::Integer, U::LC, "6: B",
     "Band", "Photometric band"},
    {"L1", "Text54", "Label54", K::Real, U::LC, "7.84139",
     "L1", "Monochromatic luminosity of star 1"},
    {"L2", "Text55", "Label55", K::Real, U::LC, "0.90038",
     "L2", "Monochromatic luminosity of star 2"},
    {"X1", "Text56", "Label56", K::Real, U::LC, "0.535",
     "x1", "Monochromatic limb-darkening x of star 1"},
    {"X2", "Text57", "Label57", K::Real, U::LC, "0.535",
     "x2", "Monochromatic limb-darkening x of star 2"},
    {"Y1", "Text58", "Label58", K::Real, U::LC, "0.281",
     "y1", "Monochromatic limb-darkening y of star 1"},
    {"Y2", "Text59", "Label59", K::Real, U::LC, "0.281",
     "y2", "Monochromatic limb-darkening y of star 2"},
    {"EL3", "Text60", "Label60", K::Real, U::LC, "0.00",
     "3rd light", "Third light"},
    {"OPSF", "Text61", "Label61", K::Real, U::LC, "0.00",
     "OPSF", "Opacity function"},
    {"ZERO", "Text62", "Label62", K::Real, U::LC, "0.00",
     "Zero pt.", "Magnitude zero point"},
    {"FACTOR", "Text63", "Label63", K::Real, U::LC, "1.000",
     "Factor", "Normalisation factor"},
    {"WAVEL", "Text53", "Label53", K::Real, U::LC, "0.440",
     "Wavelength", "Wavelength, micrometres"},
    {"ISYM", "Text1", "Label1", K::Integer, U::DC, "0",
     "ISYM", "Symmetric derivatives: 0 no, 1 yes"},
};

template <typename F>
bool visitScalar(ParameterSet& p, std::string_view n, F&& f) {
#define TAVRIN_FIELD(X) \
  if (n == #X) {        \
    f(p.X);             \
    return true;        \
  }
  TAVRIN_FIELD(MPAGE) TAVRIN_FIELD(NREF) TAVRIN_FIELD(MREF) TAVRIN_FIELD(IFSMV1)
  TAVRIN_FIELD(IFSMV2) TAVRIN_FIELD(ICOR1) TAVRIN_FIELD(ICOR2) TAVRIN_FIELD(LD)
  TAVRIN_FIELD(JDPHS) TAVRIN_FIELD(HJD0) TAVRIN_FIELD(PERIOD) TAVRIN_FIELD(DPDT)
  TAVRIN_FIELD(PSHIFT) TAVRIN_FIELD(FRACSD) TAVRIN_FIELD(NOISE) TAVRIN_FIELD(SEED)
  TAVRIN_FIELD(JDSTART) TAVRIN_FIELD(JDSTOP) TAVRIN_FIELD(JDINCR) TAVRIN_FIELD(PHSTRT)
  TAVRIN_FIELD(PHSTOP) TAVRIN_FIELD(PHIN) TAVRIN_FIELD(PHN) TAVRIN_FIELD(MODE)
  TAVRIN_FIELD(IPB) TAVRIN_FIELD(IFAT1) TAVRIN_FIELD(IFAT2) TAVRIN_FIELD(N1)
  TAVRIN_FIELD(N2) TAVRIN_FIELD(N1L) TAVRIN_FIELD(N2L) TAVRIN_FIELD(PER)
  TAVRIN_FIELD(DPERDT) TAVRIN_FIELD(THE) TAVRIN_FIELD(VUNIT) TAVRIN_FIELD(E)
  TAVRIN_FIELD(A) TAVRIN_FIELD(F1) TAVRIN_FIELD(F2) TAVRIN_FIELD(VGA)
  TAVRIN_FIELD(XINCL) TAVRIN_FIELD(GR1) TAVRIN_FIELD(GR2) TAVRIN_FIELD(MH)
  TAVRIN_FIELD(T1) TAVRIN_FIELD(T2) TAVRIN_FIELD(ALB1) TAVRIN_FIELD(ALB2)
  TAVRIN_FIELD(POTH) TAVRIN_FIELD(POT2) TAVRIN_FIELD(RM) TAVRIN_FIELD(XBOL1)
  TAVRIN_FIELD(XBOL2) TAVRIN_FIELD(YBOL1) TAVRIN_FIELD(YBOL2) TAVRIN_FIELD(BAND)
  TAVRIN_FIELD(L1) TAVRIN_FIELD(L2) TAVRIN_FIELD(X1) TAVRIN_FIELD(X2)
  TAVRIN_FIELD(Y1) TAVRIN_FIELD(Y2) TAVRIN_FIELD(EL3) TAVRIN_FIELD(OPSF)
  TAVRIN_FIELD(ZERO) TAVRIN_FIELD(FACTOR) TAVRIN_FIELD(WAVEL) TAVRIN_FIELD(ISYM)
#undef TAVRIN_FIELD
  return false;
}

const std::vector<ComboList> kCombos = {
    {"Combo1", "JDPHS", {"1: JD", "2: phase"}, 1, 1},
    {"Combo2", "LD", {"1:linear", "2: Log", "3: SqRt"}, 1, 1},
    {"Combo3",
     "MODE",
     {"-1: X-ray binary", "0: no constraints", "1:overcon,T1=T2", "2: detached", "3:overcon,adj T2",
      "4: semidetached", "5: semidet-Algol", "6:double contact"},
     4,
     -1},
    {"Combo4",
     "BAND",
     {"1: u",   "2: v",   "3: b",   "4: y",   "5: U",   "6: B",   "7: V",   "8: R",   "9: I",
      "10: J",  "11: K",  "12: L",  "13: M",  "14: N",  "15: Rc", "16: Ic", "17:230", "18:250",
      "19:",    "20:290", "21:310", "22:330", "23:TyB", "24:TyV", "25:HIP"},
     5,
     1},
    {"Combo5", "MPAGE", {"1:LC", "2:RV"}, 0, 1},
    {"Combo6", "MREF", {"1: simple", "2:detailed"}, 0, 1},
    {"Combo7", "NOISE", {"0: no", "1:yes"}, 0, 0},
};

}  // namespace

const std::vector<ScalarField>& scalarFields() { return kFields; }

const ScalarField* findScalarField(std::string_view name) {
  for (const auto& f : kFields)
    if (f.name == name) return &f;
  return nullptr;
}

const ScalarField* findScalarFieldByControl(std::string_view control) {
  for (const auto& f : kFields)
    if (f.control == control) return &f;
  return nullptr;
}

std::optional<double> getScalar(const ParameterSet& p, std::string_view name) {
  std::optional<double> out;
  visitScalar(const_cast<ParameterSet&>(p), name, [&](auto& v) { out = static_cast<double>(v); });
  return out;
}

bool setScalar(ParameterSet& p, std::string_view name, double value) {
  return visitScalar(p, name, [&](auto& v) { v = static_cast<std::remove_reference_t<decltype(v)>>(value); });
}

ScalarRef scalarRef(ParameterSet& p, std::string_view name) {
  ScalarRef r;
  visitScalar(p, name, [&](auto& v) {
    if constexpr (std::is_same_v<std::remove_reference_t<decltype(v)>, double>) r.d = &v;
    else r.i = &v;
  });
  return r;
}

const std::vector<ComboList>& comboLists() { return kCombos; }

const ComboList* findComboList(std::string_view control) {
  for (const auto& c : kCombos)
    if (c.control == control) return &c;
  return nullptr;
}

std::string_view bandWavelengthTextForIndex(int listIndex) {
  static const std::array<std::string_view, 25> kTexts = {
      "0.350", "0.410", "0.467", "0.547", "0.350", "0.440", "0.550", "0.700", "0.900",
      "1.25",  "2.20",  "3.50",  "5.70",  "10.2",  "0.653", "0.789", "",      "",
      "",      "",      "",      "",      "0.420", "0.530", ""};
  if (listIndex < 0 || listIndex >= static_cast<int>(kTexts.size())) return "";
  return kTexts[static_cast<size_t>(listIndex)];
}

std::string_view bandWavelengthText(int band) { return bandWavelengthTextForIndex(band - 1); }

}  // namespace tavrin
