#pragma once
// The stand-in binary-star model: Kepler orbit, spherical stars of the
// volume-equivalent Roche radii, Planck surface brightness at the curve's
// wavelength, limb darkening, eclipses by exact overlap of two limb-darkened
// disks, circular spots as temperature-factor patches, and Keplerian radial
// velocities. Reflection, gravity darkening and tidal distortion are left out.

#include <stdexcept>
#include <string>
#include <vector>

#include "model/parameter_set.h"

namespace tavrin::standin {

// A model input the stand-ins cannot compute with (the text says why).
class ModelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr double kSolarRadiusKm = 695700.0;
inline constexpr double kSecondsPerDay = 86400.0;

// One light curve's band quantities.
struct CurveSpec {
  double wavelength = 0.55;  // micrometres
  double l1 = 1.0, l2 = 1.0;
  double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
  double el3 = 0.0;
};

// Position in the orbit at one time or phase.
struct OrbitState {
  double phase = 0.0;     // phase as printed (time mode: fractional cycles)
  double theta = 0.0;     // orbital phase from conjunction (phase + PSHIFT)
  double meanAnomaly = 0.0;
  double trueAnomaly = 0.0;
  double omega = 0.0;     // argument of periastron (radians) at that time
  double separation = 1.0;  // units of A
  double u = 0.0;         // angle from primary conjunction (true anomaly + omega - pi/2)
};

struct StarLights {
  double l1 = 0.0, l2 = 0.0;
  double total() const { return l1 + l2; }
};

struct Velocities {
  double v1 = 0.0, v2 = 0.0;  // km/s, systemic velocity included
};

struct PreparedCurve {
  CurveSpec curveDef;
  double l2 = 0.0;           // as given (IPB = 1) or computed (IPB = 0)
  double flux1 = 1.0, flux2 = 1.0;  // disk-integrated limb-darkening factors
  std::vector<double> spotRatio1, spotRatio2;  // surface-brightness ratio per spot
};

class BinaryModel {
 public:
  // Applies the MODE constraints (tied or lobe-filling potentials, T2 = T1 in
  // mode 1) and solves the Roche radii. Throws ModelError for values the
  // model cannot use.
  explicit BinaryModel(const ParameterSet& p);

  const ParameterSet& params() const { return p_; }
  double r1() const { return r1_; }
  double r2() const { return r2_; }
  bool star1LobeLimited() const { return lim1_; }
  bool star2LobeLimited() const { return lim2_; }
  double pot1() const { return p_.POTH; }
  double pot2() const { return p_.POT2; }
  double innerCritical1() const { return crit1_; }   // star-1 frame value
  double innerCritical2() const { return crit2_; }   // expressed like POT2

  // Phase (fractional cycles, not reduced) of a heliocentric time.
  double cyclesOfTime(double t) const;
  // State at a time (JDPHS = 1) or phase (JDPHS = 2) as given in the input.
  OrbitState stateAt(double timeOrPhase, bool isTime) const;

  PreparedCurve prepare(const CurveSpec& c) const;
  StarLights lights(const PreparedCurve& c, const OrbitState& s) const;
  Velocities velocities(const OrbitState& s) const;

  // Semi-amplitudes in km/s.
  double k1() const;
  double k2() const;

 private:
  double spotTerm(int star, const PreparedCurve& c, const OrbitState& s, const double o[3]) const;

  ParameterSet p_;
  double r1_ = 0.0, r2_ = 0.0;
  bool lim1_ = false, lim2_ = false;
  double crit1_ = 0.0, crit2_ = 0.0;
  double incl_ = 0.0;
  double meanAnomalyAtConjunction_ = 0.0;
};

// Planck surface brightness (arbitrary units) at a wavelength in micrometres.
double planck(double wavelengthMicron, double kelvin);

// Normalised limb-darkened intensity I(mu)/I(1) and its disk integral 2 int I mu dmu.
double limbIntensity(int law, double mu, double x, double y);
double limbFluxFactor(int law, double x, double y);

// Fraction of a limb-darkened disk (radius rb) hidden behind a disk of radius
// rf at centre distance delta.
double hiddenFraction(double rb, double rf, double delta, int law, double x, double y);

// Wavelength for a curve: the given value, else the band's, else 0.55.
double curveWavelength(double wavel, int band);

}  // namespace tavrin::standin
