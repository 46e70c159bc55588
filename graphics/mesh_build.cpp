// Triangle strips from an element's triangle list.
//
// Greedy: start at the first unused triangle and keep appending the unused
// neighbour across the strip's last edge with the winding the strip needs at
// that position, so every strip triangle keeps its file orientation. This is
// not optimal (no look-ahead, no start rotation search) but linear and
// simple; the strips only save vertex transfers.
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "graphics/mesh.h"

namespace {

uint64_t EdgeKey(uint32_t from, uint32_t to) { return static_cast<uint64_t>(from) << 32 | to; }

struct Neighbour {
  int triangle;
  uint32_t third;
};

}  // namespace

int kxgeometry::BuildStrips(kxgeometry* el) {
  std::free(el->strips);
  el->strips = nullptr;
  el->stripWords = 0;
  int n = el->triangleCount;
  const uint32_t* t = el->triangles;
  std::unordered_multimap<uint64_t, Neighbour> byEdge;
  byEdge.reserve(static_cast<size_t>(n) * 3);
  std::vector<char> used(static_cast<size_t>(n), 0);
  for (int i = 0; i < n; ++i) {
    uint32_t a = t[i * 3], b = t[i * 3 + 1], c = t[i * 3 + 2];
    if (a == b || b == c || a == c) {
      used[i] = 1;  // draws nothing
      continue;
    }
    byEdge.emplace(EdgeKey(a, b), Neighbour{i, c});
    byEdge.emplace(EdgeKey(b, c), Neighbour{i, a});
    byEdge.emplace(EdgeKey(c, a), Neighbour{i, b});
  }
  std::vector<uint32_t> words;
  std::vector<uint32_t> strip;
  for (int i = 0; i < n; ++i) {
    if (used[i]) continue;
    used[i] = 1;
    strip.assign({t[i * 3], t[i * 3 + 1], t[i * 3 + 2]});
    for (;;) {
      size_t position = strip.size() - 2;  // index of the triangle to add
      uint32_t x = strip[strip.size() - 2], y = strip[strip.size() - 1];
      // Even strip triangles are (v[i], v[i+1], v[i+2]), odd ones (v[i+1], v[i], v[i+2]).
      uint64_t key = position % 2 == 0 ? EdgeKey(x, y) : EdgeKey(y, x);
      auto range = byEdge.equal_range(key);
      int found = -1;
      uint32_t third = 0;
      for (auto it = range.first; it != range.second; ++it) {
        if (!used[it->second.triangle]) {
          found = it->second.triangle;
          third = it->second.third;
          break;
        }
      }
      if (found < 0) break;
      used[found] = 1;
      strip.push_back(third);
    }
    words.push_back(static_cast<uint32_t>(strip.size()));
    words.insert(words.end(), strip.begin(), strip.end());
  }
  words.push_back(0);
  el->strips = static_cast<uint32_t*>(std::malloc(words.size() * sizeof(uint32_t)));
  if (!el->strips) return 0;
  std::copy(words.begin(), words.end(), el->strips);
  el->stripWords = static_cast<int32_t>(words.size());
  return 1;
}
