#include "model/parameter_history.h"

namespace tavrin {

namespace {
// Scalar order of the history (the order revert rewrites the editor in is the
// caller's business).
double* scalarSlot(ParameterSet& p, int i) {
  double* slots[21] = {&p.HJD0, &p.PERIOD, &p.DPDT, &p.PSHIFT, &p.PER,  &p.DPERDT, &p.E,
                       &p.A,    &p.F1,     &p.F2,   &p.VGA,    &p.XINCL, &p.GR1,   &p.GR2,
                       &p.T1,   &p.T2,     &p.ALB1, &p.ALB2,   &p.POTH, &p.POT2,   &p.RM};
  return slots[i];
}
}  // namespace

AdjustableValues captureAdjustable(const ParameterSet& cp) {
  auto& p = const_cast<ParameterSet&>(cp);
  AdjustableValues v;
  for (int i = 0; i < 21; ++i) v.scalars[i] = *scalarSlot(p, i);
  v.spots = p.spots;
  for (int c = 1; c <= kCurveRows; ++c) {
    const CurveRow& r = p.curves[c];
    v.curves[c] = {r.l1, r.l2, r.x1, r.x2};
  }
  return v;
}

void restoreAdjustable(ParameterSet& p, const AdjustableValues& v) {
  p.spots = v.spots;
  for (int i = 0; i < 21; ++i) *scalarSlot(p, i) = v.scalars[i];
  for (int c = 1; c <= kCurveRows; ++c) {
    CurveRow& r = p.curves[c];
    r.l1 = v.curves[c][0];
    r.l2 = v.curves[c][1];
    r.x1 = v.curves[c][2];
    r.x2 = v.curves[c][3];
  }
}

ParameterHistory ParameterHistory::fromParameterSet(const ParameterSet& p) {
  ParameterHistory h;
  h.generation1 = captureAdjustable(p);
  h.generation2 = h.generation1;
  return h;
}

void ParameterHistory::shift(const ParameterSet& p) {
  generation2 = generation1;
  generation1 = captureAdjustable(p);
}

void ParameterHistory::revert(ParameterSet& p) {
  restoreAdjustable(p, generation2);
  generation1 = generation2;
}

}  // namespace tavrin
