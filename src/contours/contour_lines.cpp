#include "contours/contour_lines.h"

#include <cstdint>
#include <unordered_map>

namespace tavrin::contours {

namespace {

// The coarse nodes fine index k depends on: the node itself on a node,
// otherwise the nodes of its interval's fit (three at the edges, four inside).
void dependsOn(int k, int zoom, int count, int& first, int& last) {
  if (k % zoom == 0) {
    first = last = k / zoom;
    return;
  }
  const int i = k / zoom;
  if (i == 0) {
    first = 0, last = 2;
  } else if (i == count - 2) {
    first = count - 3, last = count - 1;
  } else {
    first = i - 1, last = i + 2;
  }
}

}  // namespace

std::vector<bool> missingFinePoints(const ContourGrid& g, int zoom) {
  const int M = g.gridDef.M, N = g.gridDef.N;
  const int fineM = (M - 1) * zoom, fineN = (N - 1) * zoom;
  std::vector<bool> failed(static_cast<size_t>(M) * N);
  bool any = false;
  for (size_t k = 0; k < failed.size() && k < g.wres.size(); ++k) any |= (failed[k] = isFailedPoint(g.wres[k]));
  std::vector<bool> out(static_cast<size_t>(fineM + 1) * (fineN + 1), false);
  if (!any) return out;
  // Fine column q at coarse row j: does its X fit use a failed node?
  std::vector<bool> rowTaint(static_cast<size_t>(fineM + 1) * N, false);
  for (int q = 0; q <= fineM; ++q) {
    int a, b;
    dependsOn(q, zoom, M, a, b);
    for (int j = 0; j < N; ++j)
      for (int i = a; i <= b; ++i)
        if (failed[static_cast<size_t>(i) * N + j]) rowTaint[static_cast<size_t>(q) * N + j] = true;
  }
  for (int q = 0; q <= fineM; ++q)
    for (int r = 0; r <= fineN; ++r) {
      int a, b;
      dependsOn(r, zoom, N, a, b);
      for (int j = a; j <= b; ++j)
        if (rowTaint[static_cast<size_t>(q) * N + j]) out[static_cast<size_t>(q) * (fineN + 1) + r] = true;
    }
  return out;
}

std::vector<ContourPolyline> contourLines(const FineGrid& f, const std::vector<bool>& missing, double level) {
  const int stride = f.fineN + 1;
  auto gone = [&](int q, int r) { return !missing.empty() && missing[static_cast<size_t>(q) * stride + r]; };
  // Edge keys: the horizontal edge from (q, r) to (q + 1, r) and the vertical
  // edge from (q, r) to (q, r + 1).
  auto hKey = [&](int q, int r) { return (static_cast<int64_t>(q) * stride + r) * 2; };
  auto vKey = [&](int q, int r) { return (static_cast<int64_t>(q) * stride + r) * 2 + 1; };
  std::unordered_map<int64_t, FinePoint> at;
  std::unordered_map<int64_t, std::vector<int>> segmentsAt;
  std::vector<std::pair<int64_t, int64_t>> segments;

  auto cross = [&](double a, double b) { return (level - a) / (b - a); };
  for (int q = 0; q < f.fineM; ++q)
    for (int r = 0; r < f.fineN; ++r) {
      if (gone(q, r) || gone(q + 1, r) || gone(q + 1, r + 1) || gone(q, r + 1)) continue;
      const double c[4] = {f.at(q, r), f.at(q + 1, r), f.at(q + 1, r + 1), f.at(q, r + 1)};
      const int idx = (c[0] >= level) | (c[1] >= level) << 1 | (c[2] >= level) << 2 | (c[3] >= level) << 3;
      if (idx == 0 || idx == 15) continue;
      // Edges: 0 bottom (c0-c1), 1 right (c1-c2), 2 top (c3-c2), 3 left (c0-c3).
      const int64_t key[4] = {hKey(q, r), vKey(q + 1, r), hKey(q, r + 1), vKey(q, r)};
      const bool crossed[4] = {(idx & 1) != (idx >> 1 & 1), (idx >> 1 & 1) != (idx >> 2 & 1),
                               (idx >> 3 & 1) != (idx >> 2 & 1), (idx & 1) != (idx >> 3 & 1)};
      if (crossed[0]) at[key[0]] = {q + cross(c[0], c[1]), double(r)};
      if (crossed[1]) at[key[1]] = {double(q + 1), r + cross(c[1], c[2])};
      if (crossed[2]) at[key[2]] = {q + cross(c[3], c[2]), double(r + 1)};
      if (crossed[3]) at[key[3]] = {double(q), r + cross(c[0], c[3])};
      auto add = [&](int a, int b) {
        const int id = static_cast<int>(segments.size());
        segments.emplace_back(key[a], key[b]);
        segmentsAt[key[a]].push_back(id);
        segmentsAt[key[b]].push_back(id);
      };
      if (idx == 5 || idx == 10) {
        const bool centreAbove = (c[0] + c[1] + c[2] + c[3]) / 4 >= level;
        // Cut off the corners that the centre does not join.
        if ((idx == 5) == centreAbove) {
          add(0, 1), add(2, 3);
        } else {
          add(0, 3), add(1, 2);
        }
        continue;
      }
      int e[2], n = 0;
      for (int k = 0; k < 4; ++k)
        if (crossed[k]) e[n++] = k;
      add(e[0], e[1]);
    }

  std::vector<bool> used(segments.size(), false);
  auto nextFrom = [&](int64_t k) {
    for (int id : segmentsAt[k])
      if (!used[static_cast<size_t>(id)]) return id;
    return -1;
  };
  // Walks on from key k, appending keys, until the line ends or closes.
  auto walk = [&](int64_t k, std::vector<int64_t>& keys) {
    for (int id = nextFrom(k); id >= 0; id = nextFrom(k)) {
      used[static_cast<size_t>(id)] = true;
      const auto& s = segments[static_cast<size_t>(id)];
      k = s.first == k ? s.second : s.first;
      keys.push_back(k);
    }
  };
  std::vector<ContourPolyline> lines;
  auto build = [&](size_t s0) {
    used[s0] = true;
    std::vector<int64_t> fwd{segments[s0].first, segments[s0].second}, back;
    walk(fwd.back(), fwd);
    walk(fwd.front(), back);
    ContourPolyline line;
    for (auto it = back.rbegin(); it != back.rend(); ++it) line.push_back(at[*it]);
    for (int64_t k : fwd) line.push_back(at[k]);
    lines.push_back(std::move(line));
  };
  // Open lines first from their ends, so that none is started in its middle.
  for (size_t s = 0; s < segments.size(); ++s)
    if (!used[s] && (segmentsAt[segments[s].first].size() == 1 || segmentsAt[segments[s].second].size() == 1)) build(s);
  for (size_t s = 0; s < segments.size(); ++s)
    if (!used[s]) build(s);
  return lines;
}

GridMinimum gridMinimum(const ContourGrid& g) {
  GridMinimum m;
  for (int i = 0; i < g.gridDef.M; ++i)
    for (int j = 0; j < g.gridDef.N; ++j) {
      const double v = g.value(i, j);
      if (isFailedPoint(v)) continue;
      if (m.i < 0 || v < m.value) m = {i, j, v};
    }
  return m;
}

}  // namespace tavrin::contours
