#include "model/record_layouts.h"

#include "model/number_fields.h"
#include "shell/errors.h"

namespace tavrin {

namespace {

constexpr Form F(int w, int d) { return {FormKind::Fixed, w, d}; }
constexpr Form D(int w, int d) { return {FormKind::Exp, w, d}; }
constexpr Form I(int w) { return {FormKind::Int, w, 0}; }
constexpr Form L(int n) { return {FormKind::Left, n, 0}; }
constexpr Form C() { return {FormKind::Combo, 0, 0}; }
constexpr Form K(int n) { return {FormKind::Keys, n, 0}; }
constexpr Form T() { return {FormKind::Text, 0, 0}; }
constexpr RecordField blank(int column, int n) { return {"", column, n, {FormKind::Blank, n, 0}, {}}; }
constexpr Unit k10K = Unit::TenThousandKelvin;

constexpr int laidOutWidth(const RecordField& f) { return f.written.kind == FormKind::None ? f.width : f.written.w; }

// Columns: name, first column, width, written form, shown form (and unit).
// A text field runs to the end of the line.

// ---- Records both layouts share ---------------------------------------------

constexpr RecordField kL4[] = {
    {"MODE", 1, 2, I(2), C()},          {"IPB", 3, 2, I(2), I(2)},              {"IFAT1", 5, 2, I(2), I(2)},
    {"IFAT2", 7, 2, I(2), I(2)},        {"N1", 9, 3, I(3), I(3)},               {"N2", 12, 3, I(3), I(3)},
    {"PER", 15, 13, F(13, 6), F(7, 6)}, {"DPERDT", 28, 12, D(12, 5), D(12, 5)}, {"THE", 40, 7, F(7, 5), F(7, 5)},
    {"VUNIT", 47, 8, F(8, 2), F(6, 2)}};

constexpr RecordField kSpotLine[] = {
    {"xlat", 1, 9, F(9, 5), {}},   {"xlong", 10, 9, F(9, 5), {}}, {"radsp", 19, 9, F(9, 5), {}},
    {"temsp", 28, 9, F(9, 5), {}}};

// Increments 1..27 in three records of 8, 10 and 9 fields.
constexpr Form kInc = D(8, 2);
constexpr RecordField kD1[] = {
    {"INC1", 1, 8, kInc, {}},  {"INC2", 9, 8, kInc, {}},  {"INC3", 17, 8, kInc, {}}, {"INC4", 25, 8, kInc, {}},
    {"INC5", 33, 8, kInc, {}}, {"INC6", 41, 8, kInc, {}}, {"INC7", 49, 8, kInc, {}}, {"INC8", 57, 8, kInc, {}}};
constexpr RecordField kD2[] = {
    {"INC9", 1, 8, kInc, {}},   {"INC10", 9, 8, kInc, {}},  {"INC11", 17, 8, kInc, {}}, {"INC12", 25, 8, kInc, {}},
    {"INC13", 33, 8, kInc, {}}, {"INC14", 41, 8, kInc, {}}, {"INC15", 49, 8, kInc, {}}, {"INC16", 57, 8, kInc, {}},
    {"INC17", 65, 8, kInc, {}}, {"INC18", 73, 8, kInc, {}}};
constexpr RecordField kD3[] = {
    {"INC19", 1, 8, kInc, {}},  {"INC20", 9, 8, kInc, {}},  {"INC21", 17, 8, kInc, {}}, {"INC22", 25, 8, kInc, {}},
    {"INC23", 33, 8, kInc, {}}, {"INC24", 41, 8, kInc, {}}, {"INC25", 49, 8, kInc, {}}, {"INC26", 57, 8, kInc, {}},
    {"INC27", 65, 8, kInc, {}}};

// Adjustment keys in groups (KEYn: the keys from n on), print switches.
constexpr RecordField kD4[] = {
    blank(1, 1),                      {"KEY1", 2, 4, K(4), {}},   blank(6, 1),  {"KEY5", 7, 4, K(4), {}},
    blank(11, 1),                     {"KEY9", 12, 7, K(7), {}},  blank(19, 1), {"KEY16", 20, 5, K(5), {}},
    blank(25, 1),                     {"KEY21", 26, 5, K(5), {}}, blank(31, 1), {"KEY26", 32, 5, K(5), {}},
    blank(37, 1),                     {"KEY31", 38, 5, K(5), {}}, blank(43, 1), {"IFDER", 44, 1, I(1), {}},
    blank(45, 1),                     {"IFM", 46, 1, I(1), {}},   blank(47, 1), {"IFR", 48, 1, I(1), {}},
    {"XLAMDA", 49, 10, D(10, 3), {}}};

constexpr RecordField kD5[] = {
    {"spotAStar", 1, 3, I(3), {}},    {"spotANumber", 4, 3, I(3), {}}, {"spotBStar", 7, 3, I(3), {}},
    {"spotBNumber", 10, 3, I(3), {}}};

constexpr RecordField kD6[] = {
    {"IFVC1", 1, 1, I(1), {}}, blank(2, 1),            {"IFVC2", 3, 1, I(1), {}}, blank(4, 1),
    {"NLC", 5, 2, I(2), {}},   {"KO", 7, 2, I(2), {}}, {"KDISK", 9, 2, I(2), {}}, {"ISYM", 11, 2, I(2), I(1)},
    {"NPPL", 13, 2, I(2), {}}};

// The LCI's first record without MPAGE.
constexpr RecordField kD7[] = {
    {"NREF", 1, 1, I(1), I(1)},   blank(2, 1),  {"MREF", 3, 1, I(1), C()},    blank(4, 1),
    {"IFSMV1", 5, 1, I(1), I(1)}, blank(6, 1),  {"IFSMV2", 7, 1, I(1), I(1)}, blank(8, 1),
    {"ICOR1", 9, 1, I(1), I(1)},  blank(10, 1), {"ICOR2", 11, 1, I(1), I(1)}, blank(12, 1),
    {"LD", 13, 1, I(1), C()},     blank(14, 1)};

constexpr RecordField kD9[] = {
    {"MODE", 1, 2, I(2), C()},              {"IPB", 3, 2, I(2), I(2)},        {"IFAT1", 5, 2, I(2), I(2)},
    {"IFAT2", 7, 2, I(2), I(2)},            {"N1", 9, 3, I(3), I(3)},         {"N2", 12, 3, I(3), I(3)},
    {"N1L", 15, 3, I(3), I(3)},             {"N2L", 18, 3, I(3), I(3)},       {"PER", 21, 13, F(13, 6), F(7, 3)},
    {"DPERDT", 34, 12, D(12, 5), D(12, 5)}, {"THE", 46, 8, F(8, 5), F(7, 4)}, {"VUNIT", 54, 9, F(9, 3), F(6, 2)}};

// ---- Current layout ---------------------------------------------------------

constexpr RecordField kL1[] = {
    {"MPAGE", 1, 1, I(1), C()},   blank(2, 1),  {"NREF", 3, 1, I(1), I(1)},   blank(4, 1),
    {"MREF", 5, 1, I(1), C()},    blank(6, 1),  {"IFSMV1", 7, 1, I(1), I(1)}, blank(8, 1),
    {"IFSMV2", 9, 1, I(1), I(1)}, blank(10, 1), {"ICOR1", 11, 1, I(1), I(1)}, blank(12, 1),
    {"ICOR2", 13, 1, I(1), I(1)}, blank(14, 1), {"LD", 15, 1, I(1), C()},     blank(16, 1)};

// SEED is read one column wider than written.
constexpr RecordField kL2[] = {
    {"JDPHS", 1, 1, I(1), C()},       {"HJD0", 2, 15, F(15, 6), F(15, 4)},    {"PERIOD", 17, 15, D(15, 10), L(10)},
    {"DPDT", 32, 13, D(13, 6), L(6)}, {"PSHIFT", 45, 10, F(10, 4), F(10, 4)}, {"FRACSD", 55, 10, D(10, 4), L(4)},
    {"NOISE", 65, 2, I(2), C()},      {"SEED", 67, 11, F(10, 0), F(11, 0)}};

constexpr RecordField kL3[] = {
    {"JDSTART", 1, 14, F(14, 6), F(14, 4)}, {"JDSTOP", 15, 15, F(15, 6), F(15, 4)},
    {"JDINCR", 30, 13, F(13, 6), F(13, 4)}, {"PHSTRT", 43, 12, F(12, 6), F(12, 4)},
    {"PHSTOP", 55, 12, F(12, 6), F(12, 4)}, {"PHIN", 67, 12, F(12, 6), F(12, 4)},
    {"PHN", 79, 12, F(12, 6), F(12, 4)}};

constexpr RecordField kL5[] = {
    {"E", 1, 6, F(6, 5), F(6, 5)},      {"A", 7, 13, F(13, 6), F(13, 6)},    {"F1", 20, 10, F(10, 4), F(10, 4)},
    {"F2", 30, 10, F(10, 4), F(10, 4)}, {"VGA", 40, 10, F(10, 4), F(10, 4)}, {"XINCL", 50, 9, F(9, 3), F(9, 3)},
    {"GR1", 59, 7, F(7, 3), F(7, 3)},   {"GR2", 66, 7, F(7, 3), F(7, 3)},    {"MH", 73, 7, F(7, 2), F(7, 2)}};

constexpr RecordField kL6[] = {
    {"T1", 1, 7, F(7, 4), F(7, 1), k10K}, {"T2", 8, 8, F(8, 4), F(7, 1), k10K}, {"ALB1", 16, 8, F(8, 3), F(7, 3)},
    {"ALB2", 24, 7, F(7, 3), F(7, 3)},    {"POTH", 31, 13, D(13, 6), L(7)},     {"POT2", 44, 13, D(13, 6), L(7)},
    {"RM", 57, 13, D(13, 6), F(8, 6)},    {"XBOL1", 70, 7, F(7, 3), F(6, 3)},   {"XBOL2", 77, 7, F(7, 3), F(6, 3)},
    {"YBOL1", 84, 7, F(7, 3), F(6, 3)},   {"YBOL2", 91, 7, F(7, 3), F(6, 3)}};

constexpr RecordField kL7[] = {
    {"BAND", 1, 3, I(3), C()},         {"L1", 4, 10, F(10, 5), F(10, 3)},   {"L2", 14, 10, F(10, 5), F(10, 3)},
    {"X1", 24, 7, F(7, 3), F(7, 3)},   {"X2", 31, 7, F(7, 3), F(7, 3)},     {"Y1", 38, 7, F(7, 3), F(7, 3)},
    {"Y2", 45, 7, F(7, 3), F(7, 3)},   {"EL3", 52, 8, F(8, 4), F(8, 4)},    {"OPSF", 60, 10, D(10, 4), L(4)},
    {"ZERO", 70, 8, F(8, 3), F(8, 3)}, {"FACTOR", 78, 8, F(8, 4), F(7, 4)}, {"WAVEL", 86, 9, F(9, 6), F(7, 4)}};

constexpr RecordField kD8[] = {
    {"JDPHS", 1, 1, I(1), C()},       {"HJD0", 2, 15, F(15, 6), F(15, 4)},   {"PERIOD", 17, 17, D(17, 10), L(8)},
    {"DPDT", 34, 14, D(14, 6), L(6)}, {"PSHIFT", 48, 10, F(10, 4), F(8, 4)}};

// A in exponent form.
constexpr RecordField kD10[] = {
    {"E", 1, 6, F(6, 5), F(6, 3)},     {"A", 7, 13, D(13, 6), F(8, 4)},    {"F1", 20, 10, F(10, 4), F(6, 3)},
    {"F2", 30, 10, F(10, 4), F(6, 3)}, {"VGA", 40, 10, F(10, 4), F(7, 3)}, {"XINCL", 50, 9, F(9, 3), F(7, 3)},
    {"GR1", 59, 7, F(7, 3), F(6, 3)},  {"GR2", 66, 7, F(7, 3), F(6, 3)},   {"MH", 73, 7, F(7, 2), F(6, 3)}};

constexpr RecordField kD11[] = {
    {"T1", 1, 7, F(7, 4), F(7, 0), k10K}, {"T2", 8, 8, F(8, 4), F(7, 0), k10K}, {"ALB1", 16, 7, F(7, 3), F(6, 3)},
    {"ALB2", 23, 7, F(7, 3), F(6, 3)},    {"POTH", 30, 13, D(13, 6), L(7)},     {"POT2", 43, 13, D(13, 6), L(7)},
    {"RM", 56, 13, D(13, 6), F(8, 5)},    {"XBOL1", 69, 7, F(7, 3), F(6, 3)},   {"XBOL2", 76, 7, F(7, 3), F(6, 3)},
    {"YBOL1", 83, 7, F(7, 3), F(6, 3)},   {"YBOL2", 90, 7, F(7, 3), F(6, 3)}};

constexpr RecordField kVelocityCurve[] = {
    {"band", 1, 3, I(3), {}},        {"l1", 4, 10, F(10, 5), {}},    {"l2", 14, 10, F(10, 5), {}},
    {"x1", 24, 7, F(7, 3), {}},      {"x2", 31, 7, F(7, 3), {}},     {"y1", 38, 7, F(7, 3), {}},
    {"y2", 45, 7, F(7, 3), {}},      {"opsf", 52, 10, D(10, 3), {}}, {"sigma", 62, 12, D(12, 5), {}},
    {"wavel", 74, 10, F(10, 6), {}}, {"dataFile", 84, 0, T(), {}}};

constexpr RecordField kLightCurve[] = {
    {"band", 1, 3, I(3), {}},     {"l1", 4, 10, F(10, 5), {}},     {"l2", 14, 10, F(10, 5), {}},
    {"x1", 24, 7, F(7, 3), {}},   {"x2", 31, 7, F(7, 3), {}},      {"y1", 38, 7, F(7, 3), {}},
    {"y2", 45, 7, F(7, 3), {}},   {"el3", 52, 8, F(8, 4), {}},     {"opsf", 60, 10, D(10, 3), {}},
    {"noise", 70, 2, I(2), {}},   {"sigma", 72, 12, D(12, 5), {}}, {"wavel", 84, 10, F(10, 6), {}},
    {"dataFile", 94, 0, T(), {}}};

constexpr RecordField kPoint[] = {
    {"time", 1, 14, F(14, 5), {}}, {"value", 15, 8, F(8, 4), {}}, {"weight", 23, 6, F(6, 2), {}}};

// ---- Older layout: read only, so only the columns and the shown forms ------

// Column 1 holds a value the window does not take.
constexpr RecordField kL1Older[] = {
    {"", 1, 1, {}, {}},         blank(2, 1),  {"NREF", 3, 1, {}, I(1)},   blank(4, 1),
    {"MREF", 5, 1, {}, C()},    blank(6, 1),  {"IFSMV1", 7, 1, {}, I(1)}, blank(8, 1),
    {"IFSMV2", 9, 1, {}, I(1)}, blank(10, 1), {"ICOR1", 11, 1, {}, I(1)}, blank(12, 1),
    {"ICOR2", 13, 1, {}, I(1)}, blank(14, 1), {"LD", 15, 1, {}, C()},     blank(16, 1)};

constexpr RecordField kL2Older[] = {
    {"JDPHS", 1, 1, {}, C()},   {"HJD0", 2, 15, {}, F(15, 4)},    {"PERIOD", 17, 15, {}, L(10)},
    {"DPDT", 32, 13, {}, L(6)}, {"PSHIFT", 45, 10, {}, F(10, 4)}, {"FRACSD", 55, 10, {}, L(4)},
    {"NOISE", 65, 2, {}, C()},  {"SEED", 67, 10, {}, F(11, 0)}};

constexpr RecordField kL3Older[] = {
    {"JDSTART", 1, 14, {}, F(14, 4)}, {"JDSTOP", 15, 15, {}, F(15, 4)}, {"JDINCR", 30, 13, {}, F(13, 4)},
    {"PHSTRT", 43, 10, {}, F(12, 4)}, {"PHSTOP", 53, 10, {}, F(12, 4)}, {"PHIN", 63, 10, {}, F(12, 4)},
    {"PHN", 73, 10, {}, F(12, 4)}};

constexpr RecordField kL5Older[] = {
    {"E", 1, 6, {}, F(6, 5)},     {"A", 7, 10, {}, F(13, 6)},    {"F1", 17, 10, {}, F(10, 4)},
    {"F2", 27, 10, {}, F(10, 4)}, {"VGA", 37, 10, {}, F(10, 4)}, {"XINCL", 47, 9, {}, F(9, 3)},
    {"GR1", 56, 7, {}, F(7, 3)},  {"GR2", 63, 7, {}, F(7, 3)}};

constexpr RecordField kL6Older[] = {
    {"T1", 1, 7, {}, F(7, 1), k10K}, {"T2", 8, 8, {}, F(7, 1), k10K}, {"ALB1", 16, 7, {}, F(7, 3)},
    {"ALB2", 23, 7, {}, F(7, 3)},    {"POTH", 30, 12, {}, L(7)},      {"POT2", 42, 12, {}, L(7)},
    {"RM", 54, 10, {}, F(8, 6)},     {"XBOL1", 64, 7, {}, F(6, 3)},   {"XBOL2", 71, 7, {}, F(6, 3)},
    {"YBOL1", 78, 7, {}, F(6, 3)},   {"YBOL2", 85, 7, {}, F(6, 3)}};

// No band: the reader takes it from the wavelength.
constexpr RecordField kL7Older[] = {
    {"WAVEL", 1, 9, {}, F(7, 4)}, {"L1", 10, 10, {}, F(8, 4)},    {"L2", 20, 10, {}, F(8, 4)},
    {"X1", 30, 7, {}, F(6, 3)},   {"X2", 37, 7, {}, F(6, 3)},     {"Y1", 44, 7, {}, F(6, 3)},
    {"Y2", 51, 7, {}, F(6, 3)},   {"EL3", 58, 8, {}, F(6, 3)},    {"OPSF", 66, 10, {}, L(4)},
    {"ZERO", 76, 8, {}, L(3)},    {"FACTOR", 84, 8, {}, F(7, 3)}};

constexpr RecordField kD8Older[] = {
    {"JDPHS", 1, 1, {}, C()},   {"HJD0", 2, 15, {}, F(15, 4)},   {"PERIOD", 17, 15, {}, L(8)},
    {"DPDT", 32, 13, {}, L(6)}, {"PSHIFT", 45, 10, {}, F(8, 4)}};

constexpr RecordField kD10Older[] = {
    {"E", 1, 6, {}, F(6, 3)},    {"A", 7, 10, {}, F(8, 4)},    {"F1", 17, 10, {}, F(6, 3)},
    {"F2", 27, 10, {}, F(6, 3)}, {"VGA", 37, 10, {}, F(7, 3)}, {"XINCL", 47, 9, {}, F(7, 3)},
    {"GR1", 56, 7, {}, F(6, 3)}, {"GR2", 63, 7, {}, F(6, 3)}};

constexpr RecordField kD11Older[] = {
    {"T1", 1, 7, {}, F(7, 0), k10K}, {"T2", 8, 8, {}, F(7, 0), k10K}, {"ALB1", 16, 7, {}, F(6, 3)},
    {"ALB2", 23, 7, {}, F(6, 3)},    {"POTH", 30, 12, {}, L(7)},      {"POT2", 42, 12, {}, L(7)},
    blank(54, 2),                    {"RM", 56, 13, {}, F(8, 5)},     {"XBOL1", 69, 7, {}, F(6, 3)},
    {"XBOL2", 76, 7, {}, F(6, 3)},   {"YBOL1", 83, 7, {}, F(6, 3)},   {"YBOL2", 90, 7, {}, F(6, 3)}};

constexpr RecordField kVelocityCurveOlder[] = {
    {"wavel", 1, 9, {}, {}},   {"l1", 10, 10, {}, {}},       {"l2", 20, 10, {}, {}}, {"x1", 30, 6, {}, {}},
    {"x2", 36, 6, {}, {}},     {"y1", 42, 6, {}, {}},        {"y2", 48, 6, {}, {}},  {"opsf", 54, 10, {}, {}},
    {"sigma", 64, 12, {}, {}}, {"dataFile", 76, 0, T(), {}}};

constexpr RecordField kLightCurveOlder[] = {
    {"wavel", 1, 9, {}, {}},  {"l1", 10, 10, {}, {}},   {"l2", 20, 10, {}, {}},    {"x1", 30, 6, {}, {}},
    {"x2", 36, 6, {}, {}},    {"y1", 42, 6, {}, {}},    {"y2", 48, 6, {}, {}},     {"el3", 54, 8, {}, {}},
    {"opsf", 62, 10, {}, {}}, {"noise", 72, 2, {}, {}}, {"sigma", 74, 12, {}, {}}, {"dataFile", 87, 0, T(), {}}};

constexpr RecordField kPointOlder[] = {
    {"time", 1, 14, {}, {}}, {"value", 15, 8, {}, {}}, {"weight", 23, 5, {}, {}}, blank(28, 1)};

// ---- The files ----------------------------------------------------------------

constexpr RecordLayout kLciRecords[] = {kL1, kL2, kL3, kL4, kL5, kL6, kL7};
constexpr RecordLayout kLciRecordsOlder[] = {kL1Older, kL2Older, kL3Older, kL4, kL5Older, kL6Older, kL7Older};
constexpr RecordLayout kDciRecords[] = {kD1, kD2, kD3, kD4, kD5, kD6, kD7, kD8, kD9, kD10, kD11};
constexpr RecordLayout kDciRecordsOlder[] = {kD1, kD2, kD3, kD4, kD5, kD6, kD7, kD8Older, kD9, kD10Older, kD11Older};

constexpr FileLayout kLci = {kLciRecords, kSpotLine, {}, {}, {}, 0};
constexpr FileLayout kLciOlder = {kLciRecordsOlder, kSpotLine, {}, {}, {}, 0};
constexpr FileLayout kDci = {kDciRecords, kSpotLine, kVelocityCurve, kLightCurve, kPoint, 0};
constexpr FileLayout kDciOlder = {kDciRecordsOlder, kSpotLine, kVelocityCurveOlder, kLightCurveOlder, kPointOlder, 3};

// A width off by one shows here: each field starts where the one before it
// ends (a text field may start further on).
constexpr bool contiguous(RecordLayout r) {
  int next = 1;
  for (const RecordField& f : r) {
    if (f.column != next && !(f.written.kind == FormKind::Text && f.column > next)) return false;
    next = f.column + laidOutWidth(f);
  }
  return true;
}
constexpr bool contiguous(const FileLayout& file) {
  for (const RecordLayout r : file.records)
    if (!contiguous(r)) return false;
  return contiguous(file.spot) && contiguous(file.velocityCurve) && contiguous(file.lightCurve) &&
         contiguous(file.point);
}
static_assert(contiguous(kLci) && contiguous(kLciOlder) && contiguous(kDci) && contiguous(kDciOlder));

}  // namespace

const FileLayout& lciLayout(Layout layout) { return layout == Layout::Older ? kLciOlder : kLci; }
const FileLayout& dciLayout(Layout layout) { return layout == Layout::Older ? kDciOlder : kDci; }

std::vector<int> laidOutWidths(RecordLayout r) {
  std::vector<int> widths;
  for (const RecordField& f : r) {
    if (f.written.kind == FormKind::Text) break;
    widths.push_back(laidOutWidth(f));
  }
  return widths;
}

int firstFieldEnd(RecordLayout r) {
  for (const RecordField& f : r)
    if (f.written.kind != FormKind::Blank) return f.column - 1 + laidOutWidth(f);
  return 0;
}

const RecordField* findField(RecordLayout r, std::string_view name) {
  for (const RecordField& f : r)
    if (f.name == name) return &f;
  return nullptr;
}

std::string shownText(double value, Form form) {
  std::string formText;
  try {
    switch (form.kind) {
      case FormKind::Fixed: formText = fixedField(value, form.w, form.d); break;
      case FormKind::Left: formText = leftOfPlain(value, form.w); break;
      default: formText = expField(value, form.w, form.d); break;
    }
  } catch (const TavrinError&) {
    formText.clear();  // too large for the form: the plain digits will do
  }
  return losslessText(value, formText);
}

}  // namespace tavrin
