#pragma once
// The one record of every model and control quantity of an LCI or DCI file,
// with the quantities edited in the DC windows (keys, increments, spots,
// curves, observations, miscellaneous DC parameters) and their start-up
// defaults. Plain data: the editor, the writers, the readers, the runs and the
// contour engine all work on this struct.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

enum class ProgramMode : int16_t { LC = 0, DC = -1 };

inline constexpr double DEG_PER_RAD = 57.29577951;
inline constexpr int kMaxSpotsPerStar = 10;   // spot numbers 1..10
inline constexpr int kMaxObservationPoints = 9000;  // last usable index in the writer
inline constexpr int kMaxStoredPoints = 9001;  // last index a reader may fill
inline constexpr int kCurveRows = 7;          // 1,2 velocity curves; 3..7 light curves
inline constexpr int kAdjustKeys = 35;
inline constexpr int kIncrements = 26;        // plus x2Increment as the 27th

struct Spot {
  double xlat = 0.0;   // radians
  double xlong = 0.0;  // radians
  double radsp = 0.0;  // radians
  double temsp = 0.0;  // temperature factor
  friend bool operator==(const Spot&, const Spot&) = default;
};

struct ObservationPoint {
  double time = 0.0;   // time or phase
  double value = 0.0;  // observed value
  double weight = 0.0;
  friend bool operator==(const ObservationPoint&, const ObservationPoint&) = default;
};

// One row of the DC curve table: rows 1 and 2 velocity curves, row j+2 light curve j.
struct CurveRow {
  int16_t band = 0;
  std::string dataFile;  // observation file name, no folder
  double wavel = 0.0;
  double l1 = 0.0, l2 = 0.0;
  double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
  double el3 = 0.0;      // light rows only
  int16_t opsf = 0;      // held as an integer per curve
  int16_t noise = 0;     // light rows only
  double sigma = 0.0;
  std::vector<ObservationPoint> points;  // points[0] is point 1; size() is the point count
  friend bool operator==(const CurveRow&, const CurveRow&) = default;
};

struct ParameterSet {
  // Record L1 / D7
  int16_t MPAGE = 1;
  int16_t NREF = 1;
  int16_t MREF = 1;
  int16_t IFSMV1 = 0;
  int16_t IFSMV2 = 0;
  int16_t ICOR1 = 1;
  int16_t ICOR2 = 1;
  int16_t LD = 2;
  // Record L2 / D8
  int16_t JDPHS = 2;
  double HJD0 = 7522.664328;
  double PERIOD = 232.5;
  double DPDT = 0.334425e-09;
  double PSHIFT = 0.0;
  double FRACSD = 0.0;
  int16_t NOISE = 0;
  double SEED = 138472375.0;
  // Record L3
  double JDSTART = 7523.0;
  double JDSTOP = 7923.0;
  double JDINCR = 10.0;
  double PHSTRT = 0.0;
  double PHSTOP = 1.2;
  double PHIN = 0.002;
  double PHN = 0.25;
  // Record L4 / D9
  int16_t MODE = 3;
  int16_t IPB = 0;
  int16_t IFAT1 = 1;
  int16_t IFAT2 = 1;
  int16_t N1 = 30;
  int16_t N2 = 30;
  int16_t N1L = 15;
  int16_t N2L = 15;
  double PER = 5.235;
  double DPERDT = 0.78963e-12;
  double THE = 0.0;
  double VUNIT = 100.0;
  // Record L5 / D10
  double E = 0.0;
  double A = 351.59;
  double F1 = 1.0;
  double F2 = 1.0;
  double VGA = -36.02;
  double XINCL = 90.0;
  double GR1 = 0.32;
  double GR2 = 0.32;
  double MH = 0.0;
  // Record L6 / D11 (temperatures held in kelvin; files carry T/10000)
  double T1 = 5300.0;
  double T2 = 4521.0;
  double ALB1 = 0.5;
  double ALB2 = 0.5;
  double POTH = 6.1624;
  double POT2 = 9.0092;
  double RM = 0.76115;
  double XBOL1 = 0.743;
  double XBOL2 = 0.638;
  double YBOL1 = 0.069;
  double YBOL2 = 0.173;
  // Record L7 (LC's one light curve)
  int16_t BAND = 6;
  double L1 = 7.84139;
  double L2 = 0.90038;
  double X1 = 0.535;
  double X2 = 0.535;
  double Y1 = 0.281;
  double Y2 = 0.281;
  double EL3 = 0.0;
  double OPSF = 0.0;
  double ZERO = 0.0;
  double FACTOR = 1.0;
  double WAVEL = 0.44;
  // DC only
  int16_t ISYM = 0;

  // Adjustment keys and increments. Index 0 is unused so that key k is adjustKeys[k].
  std::array<char, kAdjustKeys + 1> adjustKeys = defaultAdjustKeys();
  std::vector<int16_t> adjustedParams;  // key numbers that are '0', ascending, at most 15
  std::array<double, kIncrements + 1> increments = defaultIncrements();
  std::string x2Increment = "0.01";  // kept as typed; converted where written

  // Spots: spots[star][n], star 1..2, n 1..10 (index 0 unused).
  std::array<std::array<Spot, kMaxSpotsPerStar + 1>, 3> spots{};
  std::array<int16_t, 3> spotCount{0, 0, 0};  // [1], [2]; [0] unused
  int16_t totalSpotCount = 0;
  int16_t spotAStar = 1, spotANumber = 1;
  int16_t spotBStar = 1, spotBNumber = 2;

  // Observed-data curves: curves[row], row 1..7 (index 0 unused).
  std::array<CurveRow, kCurveRows + 1> curves{};
  int16_t velocityCurveCount = 0;  // 0..2
  int16_t IFVC1 = 0;
  int16_t IFVC2 = 0;
  int16_t NLC = 0;                 // 0..5

  // Miscellaneous DC parameters.
  int16_t IFDER = 1;
  int16_t IFM = 1;
  int16_t IFR = 1;
  double XLAMDA = 0.001;
  int16_t KO = 0;
  int16_t KDISK = 0;
  int16_t NPPL = 1;

  // Fixed DCI records as the reader stored them (index = record number 0..20).
  std::array<std::string, 21> storedDciRecords{};

  static std::array<char, kAdjustKeys + 1> defaultAdjustKeys();
  static std::array<double, kIncrements + 1> defaultIncrements();

  int16_t adjustedCount() const { return static_cast<int16_t>(adjustedParams.size()); }
  // Exact: two sets are equal when every field, stored record and point is.
  friend bool operator==(const ParameterSet&, const ParameterSet&) = default;
};

// ---- Named access to the scalar fields -------------------------------------
// One row per scalar of the main editor, in file order. Used by the window
// (control <-> field), the CLI (JSON by name) and anything that must address
// a parameter by name.

enum class FieldKind { Integer, Real };
enum class FieldUse { LC, DC, Both };

struct ScalarField {
  std::string_view name;      // "MPAGE", "HJD0", ...
  std::string_view control;   // "Combo5", "Text10", ...
  std::string_view label;     // main-window label control, e.g. "Label10" (may be empty)
  FieldKind kind;
  FieldUse use;
  std::string_view defaultText;  // text the field shows at start-up (combos: the item text)
  std::string_view caption;      // the editor's label text
  std::string_view tip;          // what the field means
};

// Every scalar field of ParameterSet, in file order.
const std::vector<ScalarField>& scalarFields();
const ScalarField* findScalarField(std::string_view name);
const ScalarField* findScalarFieldByControl(std::string_view control);

// Value of a scalar field by name (integers converted to double); nullopt for unknown names.
std::optional<double> getScalar(const ParameterSet& p, std::string_view name);
// Sets a scalar by name; integer fields take the value as given (the caller rounds
// and range-checks). Returns false for unknown names.
bool setScalar(ParameterSet& p, std::string_view name, double value);
// The member a scalar field names: one pointer set, none for unknown names.
struct ScalarRef {
  int16_t* i = nullptr;
  double* d = nullptr;
};
ScalarRef scalarRef(ParameterSet& p, std::string_view name);

// ---- Drop-down lists of the main editor ------------------------------------
struct ComboList {
  std::string_view control;     // "Combo1".."Combo7"
  std::string_view field;       // "JDPHS", ...
  std::vector<std::string_view> items;
  int startIndex;
  int indexOffset;              // value = list index + indexOffset (MODE: -1, NOISE: 0, others: 1)
};
const std::vector<ComboList>& comboLists();
const ComboList* findComboList(std::string_view control);

// Band wavelength text for a band list index 0..24 ("" when the band has none).
std::string_view bandWavelengthTextForIndex(int listIndex);
// Band wavelength text for a band number (1-based); "" for bands without one.
std::string_view bandWavelengthText(int band);

}  // namespace tavrin
