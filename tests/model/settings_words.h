#pragma once
// A set changed by words such as "MODE=3 keys=16,19 spots=1,0 spot1.1=1,2,0.3,0.9",
// so case tables can name the sets they start from.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/parameter_set.h"

namespace tavrin::testing_support {

// NAME=value for a scalar field or a count; keys=k,... adjusts k; spots=n1,n2;
// spotS.N=lat,long,radius,factor; curveR=band,wavelength; sigmaR, pointsR (a
// count kept) and incK (increment K) one value each.
inline void applySettings(ParameterSet& p, const std::string& words) {
  std::istringstream in(words);
  for (std::string w; in >> w;) {
    const std::string key = w.substr(0, w.find('='));
    std::vector<double> v;
    std::istringstream list(w.substr(key.size() + 1));
    for (std::string x; std::getline(list, x, ',');) v.push_back(std::stod(x));
    const auto at = [&](size_t from) { return static_cast<size_t>(std::stoi(key.substr(from))); };
    int16_t* count = key == "NPPL" ? &p.NPPL : key == "NLC" ? &p.NLC : key == "IFVC1" ? &p.IFVC1 : key == "IFVC2" ? &p.IFVC2
                   : key == "IFR"  ? &p.IFR  : key == "IFM" ? &p.IFM : nullptr;
    if (count) *count = static_cast<int16_t>(v[0]);
    else if (key == "keys") for (double k : v) p.adjustKeys[static_cast<size_t>(k)] = '0';
    else if (key == "spots") p.spotCount = {0, static_cast<int16_t>(v[0]), static_cast<int16_t>(v[1])};
    else if (key.rfind("spot", 0) == 0) p.spots[at(4)][static_cast<size_t>(key[6] - '0')] = {v[0], v[1], v[2], v[3]};
    else if (key.rfind("curve", 0) == 0) p.curves[at(5)].band = static_cast<int16_t>(v[0]), p.curves[at(5)].wavel = v[1];
    else if (key.rfind("sigma", 0) == 0) p.curves[at(5)].sigma = v[0];
    else if (key.rfind("points", 0) == 0) p.curves[at(6)].points.resize(static_cast<size_t>(v[0]));
    else if (key.rfind("inc", 0) == 0) p.increments[at(3)] = v[0];
    else EXPECT_TRUE(setScalar(p, key, v[0])) << w;
  }
}

inline ParameterSet withSettings(const std::string& words, ParameterSet p = {}) {
  applySettings(p, words);
  return p;
}

}  // namespace tavrin::testing_support
