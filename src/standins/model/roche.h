#pragma once
// Roche geometry of the stand-in model: the star-centred potential with
// asynchronous rotation F and separation D (units of the semi-major axis),
// the inner Lagrangian point, and the volume-equivalent radius of the surface
// of a given potential. Stars are then drawn as spheres of that radius.

namespace tavrin::standin {

// Omega at distance r along the unit direction (l, m, n), l toward the
// companion, n along the rotation axis. q = companion mass / star mass.
double rochePotential(double r, double l, double n, double q, double F, double D);

// Distance of the inner Lagrangian point from the star's centre, and the
// potential there (the inner critical potential).
double innerLagrangeDistance(double q, double F, double D);
double innerCriticalPotential(double q, double F, double D);

struct RocheRadius {
  double radius = 0.0;   // volume-equivalent radius, units of the semi-major axis
  bool lobeLimited = false;  // the surface reached the inner Lagrangian plane or opened
};

// Volume-equivalent radius of the surface Omega = omega around a star. Where
// the level surface is open (overcontact) the star is cut at the plane
// through the inner Lagrangian point, and a ray that never reaches the level
// stops where the potential along it is least.
RocheRadius volumeEquivalentRadius(double omega, double q, double F, double D);

// Star 2's potential expressed in its own frame (mass ratio 1/q) and back.
double secondaryOwnPotential(double pot2, double q);
double secondaryPotentialFromOwn(double own, double q);

}  // namespace tavrin::standin
