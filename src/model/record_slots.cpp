#include "model/record_slots.h"

#include <charconv>
#include <stdexcept>

namespace tavrin {

namespace {

[[noreturn]] void unknown(std::string_view name) {
  throw std::logic_error("record field names no quantity: " + std::string(name));
}

// The number after `prefix` in names like "INC12"; 0 when the name is not one.
int indexAfter(std::string_view name, std::string_view prefix) {
  if (name.substr(0, prefix.size()) != prefix) return 0;
  int k = 0;
  const char* end = name.data() + name.size();
  const auto res = std::from_chars(name.data() + prefix.size(), end, k);
  return res.ec == std::errc() && res.ptr == end ? k : 0;
}

template <typename T>
struct Member {
  Member(std::string_view n, int16_t T::*m) : name(n), i(m) {}
  Member(std::string_view n, double T::*m) : name(n), d(m) {}
  std::string_view name;
  int16_t T::*i = nullptr;
  double T::*d = nullptr;
};

template <typename T, size_t N>
Slot memberSlot(T& t, const Member<T> (&members)[N], std::string_view name) {
  for (const Member<T>& m : members)
    if (m.name == name) return m.i ? Slot{.i = &(t.*m.i)} : Slot{.d = &(t.*m.d)};
  unknown(name);
}

// The DC quantities outside the main editor's fields.
using P = ParameterSet;
const Member<P> kDcMembers[] = {{"IFDER", &P::IFDER},
                                {"IFM", &P::IFM},
                                {"IFR", &P::IFR},
                                {"XLAMDA", &P::XLAMDA},
                                {"KO", &P::KO},
                                {"KDISK", &P::KDISK},
                                {"NPPL", &P::NPPL},
                                {"IFVC1", &P::IFVC1},
                                {"IFVC2", &P::IFVC2},
                                {"NLC", &P::NLC},
                                {"spotAStar", &P::spotAStar},
                                {"spotANumber", &P::spotANumber},
                                {"spotBStar", &P::spotBStar},
                                {"spotBNumber", &P::spotBNumber}};

using R = CurveRow;
const Member<R> kCurveMembers[] = {{"band", &R::band}, {"wavel", &R::wavel}, {"l1", &R::l1},
                                   {"l2", &R::l2},     {"x1", &R::x1},       {"x2", &R::x2},
                                   {"y1", &R::y1},     {"y2", &R::y2},       {"el3", &R::el3},
                                   {"opsf", &R::opsf}, {"noise", &R::noise}, {"sigma", &R::sigma}};

const Member<Spot> kSpotMembers[] = {
    {"xlat", &Spot::xlat}, {"xlong", &Spot::xlong}, {"radsp", &Spot::radsp}, {"temsp", &Spot::temsp}};

}  // namespace

Slot slotOf(ParameterSet& p, std::string_view name) {
  if (const ScalarRef r = scalarRef(p, name); r.i || r.d) return {.i = r.i, .d = r.d};
  // Increments 1..26, then the 27th as typed.
  if (const int k = indexAfter(name, "INC"); k >= 1 && k <= kIncrements + 1)
    return k <= kIncrements ? Slot{.d = &p.increments[static_cast<size_t>(k)]} : Slot{.numberText = &p.x2Increment};
  if (const int k = indexAfter(name, "KEY"); k >= 1 && k <= kAdjustKeys)
    return {.keys = p.adjustKeys.data(), .firstKey = k};
  return memberSlot(p, kDcMembers, name);
}

Slot slotOf(CurveRow& c, std::string_view name) {
  if (name == "dataFile") return {.text = &c.dataFile};
  return memberSlot(c, kCurveMembers, name);
}

Slot slotOf(Spot& s, std::string_view name) { return memberSlot(s, kSpotMembers, name); }

double ObservationPoint::*pointMember(std::string_view name) {
  if (name == "time") return &ObservationPoint::time;
  if (name == "value") return &ObservationPoint::value;
  if (name == "weight") return &ObservationPoint::weight;
  unknown(name);
}

}  // namespace tavrin
