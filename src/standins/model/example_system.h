#pragma once
// The example binary shipped in examples/: a detached, circular system with
// two velocity curves and two light curves (B and V) of synthetic
// observations computed from known parameters with Gaussian noise.

#include <string>

#include "model/parameter_set.h"

namespace tavrin::standin {

// The true parameters, set up for LC (MPAGE 1, the V light curve).
ParameterSet exampleTruth();
// The truth with the four DC curves filled with noisy synthetic observations.
ParameterSet exampleWithObservations();
// The DC start model of examples/example.dci: the observations of
// exampleWithObservations() with inclination, potential 1, the light curves'
// L1 and T2 set visibly wrong, and exactly those four parameters adjusted.
ParameterSet exampleDcStart();

// Observation-file names of the four curves (velocity 1, velocity 2, B, V).
inline constexpr const char* kExampleRv1File = "example_rv1.csv";
inline constexpr const char* kExampleRv2File = "example_rv2.csv";
inline constexpr const char* kExampleLightBFile = "example_light_B.csv";
inline constexpr const char* kExampleLightVFile = "example_light_V.csv";

// A curve's points as "phase,value,weight" lines (CR LF).
std::string observationCsv(const CurveRow& c);

}  // namespace tavrin::standin
