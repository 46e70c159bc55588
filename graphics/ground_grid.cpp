// The ground rule, the ground-height grid's build and its query.
//
// The rule takes a face at (x, y) when the point lies inside its three edge
// lines, each moved out by the face's tolerance, so a point on an edge that
// two faces share is never lost between them; the height is the face's
// plane there. The grid lists a face in every cell its rule may take a point
// of: the triangle the record's own float lines enclose, grown by a margin
// that covers the rounding of the rule's sums and of the query's cell index.
// Rows of cells are walked from the triangle's edges, so a face costs the
// cells it lies in, not those of its box. Within a cell the faces keep their
// build order, so among equal heights the same face wins as in a scan.
#include "graphics/ground_grid.h"

#include <algorithm>
#include <cmath>
#include <vector>
#include <cstdio>

#include "core/hooks.h"
#include "graphics/collision_face.h"
#include "graphics/collision_world.h"
#include "graphics/reserve_bridge.h"

namespace {

constexpr double kFacesPerCell = 0.5;   // cell area over the mean face's, before the memory check
constexpr double kMaxBytesPerFace = 100.0;  // the grid grows its cells until it fits this
constexpr int kMaxSide = 16384;         // cells along either axis
// m: the farthest a corner of the tolerance triangle may lie beyond the
// face's own corner. A sharp corner moves its edges' tolerance out by the
// tolerance over the sine of its half angle; a sliver's tolerance is cut so
// its tips stay this close.
constexpr double kTipReach = 1e-2;
// A face whose sharpest corner's half-angle sine is below this is no ground:
// the rounding of its float lines would move its tip by tens of metres.
// Such a face covers less than a square millimetre. Above it the lines'
// rounding turns them by far less than the corner's angle, so they still
// meet near the corner.
constexpr double kSharpest = 1e-5;
// Faces steeper than this slope (|dz/dx| or |dz/dy|) are walls, no ground.
constexpr double kSteepest = 1e4;
// Rounding allowance of the rule's float sums and the cell index, relative
// to the largest coordinate or line constant the grid meets (float sums of
// three products err by a few 1e-7 of their largest term).
constexpr double kRelativeSlack = 4e-6;

struct point2 {
  double x, y;
};

// Where the lines a0 x + b0 y + c0 = 0 and a1 x + b1 y + c1 = 0 meet; false
// when they are parallel.
bool Meet(const double l0[3], const double l1[3], point2* p) {
  double det = l0[0] * l1[1] - l0[1] * l1[0];
  if (det == 0.0) return false;
  p->x = (l0[1] * l1[2] - l1[1] * l0[2]) / det;
  p->y = (l1[0] * l0[2] - l0[0] * l1[2]) / det;
  return std::isfinite(p->x) && std::isfinite(p->y);
}

// A lower bound of the sine of half the triangle's sharpest corner: the
// sharpest corner lies between the two longest edges, its sine is twice
// the area over their lengths' product, and that is at most twice the sine
// of its half.
double SharpestHalfSine(const point2 v[3], double cross) {
  double l[3];
  for (int i = 0; i < 3; ++i) {
    double dx = v[(i + 1) % 3].x - v[i].x, dy = v[(i + 1) % 3].y - v[i].y;
    l[i] = dx * dx + dy * dy;
  }
  double shortest = std::min({l[0], l[1], l[2]});
  double product = l[0] * l[1] * l[2] / shortest;
  return product > 0.0 ? 0.5 * cross / std::sqrt(product) : 0.0;
}

// The triangle the record's float lines, each moved out by grow, enclose.
bool LinesTriangle(const kxgroundface& r, double grow, point2 v[3]) {
  double l[3][3];
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < 3; ++k) l[i][k] = r.edges[i][k];
    l[i][2] += grow;
  }
  // Corner i lies where the lines of edges i - 1 and i meet.
  for (int i = 0; i < 3; ++i) {
    if (!Meet(l[(i + 2) % 3], l[i], &v[i])) return false;
  }
  return true;
}

struct layout {
  double min[2];
  double cell;
  int columns, rows;

  // Appends to out every cell the triangle v meets, row by row: a row's
  // columns span the triangle's part between the row's two lines, found by
  // clipping each edge to the row.
  void Cells(const point2 v[3], std::vector<uint32_t>* out) const {
    double dxdy[3];
    for (int i = 0; i < 3; ++i) {
      const point2& a = v[i];
      const point2& b = v[(i + 1) % 3];
      dxdy[i] = a.y != b.y ? (b.x - a.x) / (b.y - a.y) : 0.0;
    }
    double ylo = std::min({v[0].y, v[1].y, v[2].y}), yhi = std::max({v[0].y, v[1].y, v[2].y});
    int j0 = std::max(0, static_cast<int>(std::floor((ylo - min[1]) / cell)));
    int j1 = std::min(rows - 1, static_cast<int>(std::floor((yhi - min[1]) / cell)));
    for (int j = j0; j <= j1; ++j) {
      double s0 = min[1] + j * cell, s1 = s0 + cell;
      double xlo = INFINITY, xhi = -INFINITY;
      for (int i = 0; i < 3; ++i) {
        const point2& a = v[i];
        const point2& b = v[(i + 1) % 3];
        double t0 = std::max(s0, std::min(a.y, b.y)), t1 = std::min(s1, std::max(a.y, b.y));
        if (!(t0 <= t1)) continue;
        double x0 = a.y != b.y ? a.x + (t0 - a.y) * dxdy[i] : std::min(a.x, b.x);
        double x1 = a.y != b.y ? a.x + (t1 - a.y) * dxdy[i] : std::max(a.x, b.x);
        xlo = std::min({xlo, x0, x1});
        xhi = std::max({xhi, x0, x1});
      }
      if (!(xlo <= xhi)) continue;
      int i0 = std::max(0, static_cast<int>(std::floor((xlo - min[0]) / cell)));
      int i1 = std::min(columns - 1, static_cast<int>(std::floor((xhi - min[0]) / cell)));
      uint32_t row = static_cast<uint32_t>(j) * static_cast<uint32_t>(columns);
      for (int i = i0; i <= i1; ++i) out->push_back(row + static_cast<uint32_t>(i));
    }
  }
};

// Cells of the layout over lo..hi with the given side.
layout Layout(const double lo[2], const double hi[2], double cell) {
  layout grid;
  double width = hi[0] - lo[0], depth = hi[1] - lo[1];
  grid.cell = std::max({cell, width / (kMaxSide - 1), depth / (kMaxSide - 1), 1e-3});
  grid.min[0] = lo[0];
  grid.min[1] = lo[1];
  grid.columns = std::clamp(static_cast<int>(std::floor(width / grid.cell)) + 1, 1, kMaxSide);
  grid.rows = std::clamp(static_cast<int>(std::floor(depth / grid.cell)) + 1, 1, kMaxSide);
  return grid;
}

}  // namespace

int kxgroundgrid::Record(const kxcollface* face, kxgroundface* out) {
  if (!face || face->frame || !(face->normal[2] > 0.0f)) return 0;
  point2 v[3];
  double z[3];
  int n = 0;
  for (const kxcolledge* e = face->edges; e; e = e->next, ++n) {
    if (n == 3) return 0;
    v[n] = {e->point[0], e->point[1]};
    z[n] = e->point[2];
  }
  if (n != 3) return 0;
  double ux = v[1].x - v[0].x, uy = v[1].y - v[0].y, wx = v[2].x - v[0].x, wy = v[2].y - v[0].y;
  double cross = ux * wy - uy * wx;
  if (!(cross > 0.0)) return 0;
  double a = ((z[1] - z[0]) * wy - (z[2] - z[0]) * uy) / cross;
  double b = (ux * (z[2] - z[0]) - wx * (z[1] - z[0])) / cross;
  if (!(std::fabs(a) <= kSteepest) || !(std::fabs(b) <= kSteepest)) return 0;
  double sharpness = SharpestHalfSine(v, cross);
  if (!(sharpness >= kSharpest)) return 0;
  double tolerance = std::min(static_cast<double>(kxcollbuild::kEdgeTolerance), kTipReach * sharpness);
  kxgroundface r;
  r.plane[0] = static_cast<float>(a);
  r.plane[1] = static_cast<float>(b);
  r.plane[2] = static_cast<float>(z[0] - a * v[0].x - b * v[0].y);
  for (int i = 0; i < 3; ++i) {
    const point2& p = v[i];
    const point2& q = v[(i + 1) % 3];
    double mx = -(q.y - p.y), my = q.x - p.x;  // left of a counter-clockwise edge
    double length = std::sqrt(mx * mx + my * my);
    float* e = r.edges[i];
    e[0] = static_cast<float>(mx / length);
    e[1] = static_cast<float>(my / length);
    // Through the corner with the rounded normal, so the line's rounding
    // turns it about the corner instead of moving it.
    e[2] = static_cast<float>(-(static_cast<double>(e[0]) * p.x + static_cast<double>(e[1]) * p.y) + tolerance);
  }
  for (float c : {r.plane[0], r.plane[1], r.plane[2], r.edges[0][2], r.edges[1][2], r.edges[2][2]}) {
    if (!std::isfinite(c)) return 0;
  }
  *out = r;
  return 1;
}

void kxgroundgrid::Normal(const kxgroundface& f, float normal[3]) {
  double a = f.plane[0], b = f.plane[1];
  double length = std::sqrt(a * a + b * b + 1.0);
  normal[0] = static_cast<float>(-a / length);
  normal[1] = static_cast<float>(-b / length);
  normal[2] = static_cast<float>(1.0 / length);
}

void kxgroundgrid::Free(kxgroundgrid* g) {
  if (!g) return;
  kxgl::ReleaseBytes(&g->block);
  *g = kxgroundgrid{};
}

int kxgroundgrid::Build(kxgroundgrid* g, const kxcollface* const* faces, int count) {
  if (!g) return 0;
  Free(g);
  std::vector<kxgroundface> records;
  double largest = 1.0;  // m, the largest coordinate or line constant the rule meets
  for (int i = 0; i < count; ++i) {
    kxgroundface r;
    if (!Record(faces[i], &r)) continue;
    records.push_back(r);
    for (const float* e : r.edges) largest = std::max(largest, std::fabs(static_cast<double>(e[2])));
    for (const kxcolledge* e = faces[i]->edges; e; e = e->next) {
      largest = std::max({largest, std::fabs(static_cast<double>(e->point[0])), std::fabs(static_cast<double>(e->point[1]))});
    }
  }
  if (records.empty()) return 0;
  double margin = kRelativeSlack * largest;

  // The box of the faces' listing triangles.
  double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
  double area = 0.0;
  for (const kxgroundface& r : records) {
    point2 v[3];
    if (!LinesTriangle(r, margin, v)) return 0;
    for (int k = 0; k < 3; ++k) {
      lo[0] = std::min(lo[0], v[k].x), hi[0] = std::max(hi[0], v[k].x);
      lo[1] = std::min(lo[1], v[k].y), hi[1] = std::max(hi[1], v[k].y);
    }
    area += 0.5 * std::fabs((v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[1].y - v[0].y) * (v[2].x - v[0].x));
  }
  // Faces at the edge of the float range leave the grid out: the tree
  // answers for such a scenery.
  if (!std::isfinite(hi[0] - lo[0]) || !std::isfinite(hi[1] - lo[1]) || !std::isfinite(area)) return 0;

  // Each face's cells, listed once; cells that would take more memory
  // than the budget grow until they fit.
  double side = std::sqrt(std::max(kFacesPerCell * area / static_cast<double>(records.size()), 1e-6));
  layout grid;
  std::vector<uint32_t> listed;         // the faces' cells, face after face
  std::vector<uint32_t> firsts(records.size() + 1);  // face n's cells at listed[firsts[n]..firsts[n + 1])
  for (int attempt = 0;; ++attempt) {
    grid = Layout(lo, hi, side);
    listed.clear();
    listed.reserve(8 * records.size());
    for (size_t n = 0; n < records.size(); ++n) {
      firsts[n] = static_cast<uint32_t>(std::min<size_t>(listed.size(), UINT32_MAX));
      point2 v[3];
      LinesTriangle(records[n], margin, v);
      grid.Cells(v, &listed);
    }
    firsts[records.size()] = static_cast<uint32_t>(std::min<size_t>(listed.size(), UINT32_MAX));
    double cells = static_cast<double>(grid.columns) * grid.rows;
    double bytes = static_cast<double>(records.size()) * sizeof(kxgroundface) +
                   (static_cast<double>(listed.size()) + cells + 1) * sizeof(uint32_t);
    if (bytes <= kMaxBytesPerFace * static_cast<double>(records.size()) || attempt == 8) break;
    side *= 1.25;
  }
  size_t cells = static_cast<size_t>(grid.columns) * grid.rows;
  size_t entries = listed.size();
  size_t bytes = records.size() * sizeof(kxgroundface) + (entries + cells + 1) * sizeof(uint32_t);
  if (entries >= UINT32_MAX || !kxgl::ReserveBytes(&g->block, bytes, "kxcollground")) {
    kxcore::Log("gl:  collision ground grid %zu entries=fail\n", entries);
    return 0;
  }
  // Records first: they keep their alignment.
  g->records = static_cast<kxgroundface*>(g->block);
  g->entries = reinterpret_cast<uint32_t*>(g->records + records.size());
  g->starts = g->entries + entries;
  std::copy(records.begin(), records.end(), g->records);
  // A counting sort by cell; faces come in build order, so each cell's
  // entries stay ascending.
  uint32_t* starts = g->starts;
  std::fill(starts, starts + cells + 1, 0u);
  for (uint32_t c : listed) ++starts[c + 1];
  for (size_t c = 0; c < cells; ++c) starts[c + 1] += starts[c];
  for (size_t n = 0; n < records.size(); ++n) {
    for (uint32_t k = firsts[n]; k < firsts[n + 1]; ++k) g->entries[starts[listed[k]]++] = static_cast<uint32_t>(n);
  }
  // The fill moved each start to the next cell's: shift them back.
  for (size_t c = cells; c > 0; --c) starts[c] = starts[c - 1];
  starts[0] = 0;
  g->min[0] = static_cast<float>(grid.min[0]);
  g->min[1] = static_cast<float>(grid.min[1]);
  g->cell = static_cast<float>(grid.cell);
  g->perCell = static_cast<float>(1.0 / grid.cell);
  g->columns = grid.columns;
  g->rows = grid.rows;
  g->faceCount = static_cast<int32_t>(records.size());
  g->entryCount = static_cast<int32_t>(entries);
  return 1;
}

int kxgroundgrid::Find(const kxgroundgrid* g, const float p[3], float* height, float* normal) {
  float u = (p[0] - g->min[0]) * g->perCell, v = (p[1] - g->min[1]) * g->perCell;
  if (!(u >= 0.0f && v >= 0.0f && u < static_cast<float>(g->columns) && v < static_cast<float>(g->rows))) return 0;
  uint32_t cell = static_cast<uint32_t>(v) * static_cast<uint32_t>(g->columns) + static_cast<uint32_t>(u);
  const kxgroundface* best = nullptr;
  float bestZ = -INFINITY;
  for (const uint32_t *k = g->entries + g->starts[cell], *end = g->entries + g->starts[cell + 1]; k != end; ++k) {
    const kxgroundface& r = g->records[*k];
    float z;
    if (OnFace(r, p, bestZ, &z)) {
      bestZ = z;
      best = &r;
    }
  }
  if (!best) return 0;
  if (height) *height = bestZ;
  if (normal) Normal(*best, normal);
  return 1;
}
