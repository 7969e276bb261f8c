#include "model/critical_potentials.h"

#include <cmath>

#include "model/number_fields.h"

namespace tavrin {
namespace {

struct Segment {
  double upTo;  // the segment holds q <= upTo
  double a, b, c;
};

constexpr double kAbove = 1e308;

constexpr Segment kInner[] = {
    {0.05, 1.61382772497517, 1.01395422460835, 1.48150847025388},
    {0.16, 1.11835231174268, 1.23876978855182, 1.45556761043375},
    {0.28, 0.968156478385169, 1.35895881062376, 1.43138322470368},
    {0.63, 0.928266845497837, 1.40504731677384, 1.41816389613194},
    {kAbove, 0.914951773337698, 1.42181269819429, 1.41326009706439},
};

constexpr Segment kOuter[] = {
    {0.05, 0.968753055978353, 1.0093389304634, 1.48175483445228},
    {0.18, 0.540175637097281, 1.20186866535839, 1.45974914068867},
    {0.25, 0.678175373892653, 1.0670957658226, 1.49225667479277},
    {0.59, 0.562970788170044, 1.16461229361676, 1.47234445857828},
    {kAbove, 0.675117982226176, 0.994748339975822, 1.53678243122132},
};

template <size_t N>
double fit(const Segment (&table)[N], double q) {
  const Segment* s = &table[N - 1];
  for (const Segment& seg : table) {
    if (q <= seg.upTo) {
      s = &seg;
      break;
    }
  }
  return s->a * q + s->b * std::sqrt(q) + s->c;
}

// Short text for messages: the sign-place blank goes.
std::string messageText(double x) {
  std::string s = shortPotentialText(x);
  if (!s.empty() && s.front() == ' ') s.erase(0, 1);
  return s;
}

bool unityWithin(double f) { return std::fabs(f - 1.0) < 0.0001; }

bool usableMassRatio(double q) { return std::isfinite(q) && q >= 0.0; }

PotentialCheck refuse(std::string message) {
  PotentialCheck c;
  c.passed = false;
  c.message = std::move(message);
  return c;
}

}  // namespace

double criticalPotentialInner(double q) { return fit(kInner, q); }
double criticalPotentialOuter(double q) { return fit(kOuter, q); }

std::string shortPotentialText(double x) { return leftOfPlain(x, 7); }

std::optional<FillFactors> criticalPotentialFigures(const ParameterSet& p) {
  if (!unityWithin(p.F1) || !unityWithin(p.F2)) return std::nullopt;
  if (!usableMassRatio(p.RM)) return std::nullopt;
  FillFactors f{};
  f.inner = criticalPotentialInner(p.RM);
  f.outer = criticalPotentialOuter(p.RM);
  f.innerText = shortPotentialText(f.inner);
  f.outerText = shortPotentialText(f.outer);
  const double d = f.inner - f.outer;
  if (std::fabs(d) > 1e-10) {
    f.f1 = (f.inner - p.POTH) / d;
    f.f2 = (f.inner - p.POT2) / d;
  } else {
    f.f1 = 0.0;
    f.f2 = 0.0;
  }
  f.f1Text = fixedField(f.f1, 6, 4);
  f.f2Text = fixedField(f.f2, 6, 4);
  return f;
}

PotentialCheck checkPotentials(ParameterSet& p, InputFileKind kind) {
  if (!usableMassRatio(p.RM)) {
    return refuse("The mass ratio M2/M1 (" + messageText(p.RM) + ") is " +
                  (std::isnan(p.RM) ? "not a number" : p.RM < 0 ? "negative" : "not finite") +
                  ", so the critical potentials cannot be computed.  Enter a mass ratio of zero or more "
                  "before saving.");
  }
  const double inner = criticalPotentialInner(p.RM);
  const double outer = criticalPotentialOuter(p.RM);
  const std::string s1 = messageText(p.POTH);
  const std::string s2 = messageText(p.POT2);
  const std::string sIn = messageText(inner);
  const std::string sOut = messageText(outer);

  const char* outerExplanation =
      kind == InputFileKind::LCI
          ? "  This would result in the star(s) overflowing the outer envelope, which is unphysical.  "
            "Therefore, you need to raise potential Omega 1 -- consult the values on the Crit.Pot'ls page."
          : "  This would result in the star overflowing the outer envelope, which is unphysical.  "
            "Therefore, you need to raise potential Omega 1 -- consult the values on the Crit.Pot'ls page.";
  if (p.POTH < outer) {
    return refuse("The potential of Star 1 (" + s1 + ") is less than the outer critical potential (" + sOut +
                  ")." + outerExplanation);
  }
  if (p.POT2 < outer) {
    return refuse("The potential of Star 2 (" + s2 + ") is less than the outer critical potential (" + sOut +
                  ")." + outerExplanation);
  }

  auto belowInner = [&](int star, const std::string& s) {
    return "The potential of Star " + std::to_string(star) + " (" + s +
           ") is less than the inner critical potential (" + sIn + ").";
  };

  PotentialCheck result;
  switch (p.MODE) {
    case 1:
    case 3:
      if (p.POTH > inner) {
        return refuse("The potentials of both Stars 1 & 2 (" + s1 + ") are greater than the inner critical potential (" +
                      sIn + ")." +
                      "  This would give a detached system, contrary to your mode 3 (overcontact). Therefore, you "
                      "need to lower potential Omega 1 - consult values on the Crit.Pot'ls page.");
      }
      break;
    case 2: {
      const char* t2 =
          "  This would result in the star overfilling the Roche lobe, contrary to your mode 2 (detached).  "
          "Therefore, you need to raise potential Omega 1 - consult the values on the Crit.Pot'ls page.";
      if (p.POTH < inner) return refuse(belowInner(1, s1) + t2);
      if (p.POT2 < inner) return refuse(belowInner(2, s2) + t2);
      break;
    }
    case 4:
      if (std::fabs(p.POTH - inner) > 0.0001) {
        p.POTH = inner;
        result.text46 = shortPotentialText(inner);
      }
      if (p.POT2 < inner) {
        PotentialCheck r = refuse(
            belowInner(2, s2) +
            "  This would result in the star overfilling the Roche lobe, contrary to your mode 4 (semidetached "
            "with star 1 filling its Roche lobe).  Therefore, you need to raise potential Omega 2 - consult the "
            "values on the Crit.Pot'ls page.");
        r.text46 = result.text46;
        return r;
      }
      break;
    case 5:
      if (std::fabs(p.POT2 - inner) > 0.0001) {
        p.POT2 = inner;
        result.text47 = shortPotentialText(inner);
      }
      if (p.POTH < inner) {
        PotentialCheck r = refuse(
            belowInner(1, s1) +
            "  This would result in the star overfilling the Roche lobe, contrary to your mode 5 (semidetached "
            "with star 2 filling its Roche lobe).  Therefore, you need to raise potential Omega 1 - consult the "
            "values on the Crit.Pot'ls page.");
        r.text47 = result.text47;
        return r;
      }
      break;
    case 6:
      if (std::fabs(p.POTH - inner) > 0.0001) {
        p.POTH = inner;
        result.text46 = shortPotentialText(inner);
      }
      if (std::fabs(p.POT2 - inner) > 0.0001) {
        p.POT2 = inner;
        result.text47 = shortPotentialText(inner);
      }
      break;
    default:
      break;
  }
  return result;
}

}  // namespace tavrin
