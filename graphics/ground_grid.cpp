// The ground-height grid: which cells list a face, and the query.
//
// A cell lists a face when any point of the cell could pass the face's
// ground rule (collision_face.h): the point must lie in the face's
// horizontal circle and, on the plane, inside its edge planes within the
// tolerance. Both regions are grown by margins that cover the rounding of
// the rule and of the query's cell index, so the grid never leaves out a
// face a scan over all faces would take. Within a cell the faces keep their
// build order, so among equal heights the same face wins as in the scan.
#include "graphics/ground_grid.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/hooks.h"
#include "graphics/collision_face.h"
#include "graphics/collision_world.h"
#include "graphics/reserve_bridge.h"

namespace {

constexpr double kCellsPerFace = 2.0;   // an even ground then lists about four faces per cell
constexpr int kMaxSide = 16384;         // cells along either axis
// Rounding allowance, relative to the largest coordinate: float sums and
// products of the rule and the cell index err by a few 1e-7 of it.
constexpr double kRelativeSlack = 1e-5;
constexpr double kSteepest = 1e-3;      // normal z below this: the edge test gives no bound in x, y
constexpr double kSharpestHalfAngle = 1e-3;  // sin of half a corner's angle below this: the circle bounds alone

struct footprint {
  double centre[2];
  double radius;              // circle, grown
  double corner[3][2];
  double inward[3][2];        // unit inward normals of the edges in x, y
  double grow;                // m, the edges' allowance; negative: edges not used
  double lo[2], hi[2];        // the cells' search box
};

footprint Footprint(const kxcollface* f, double slack) {
  footprint fp;
  fp.centre[0] = f->centre[0];
  fp.centre[1] = f->centre[1];
  fp.radius = f->radius * (1.0 + kRelativeSlack) + slack;
  const kxcolledge* e = f->edges;
  for (int i = 0; i < 3; ++i, e = e->next) {
    fp.corner[i][0] = e->point[0];
    fp.corner[i][1] = e->point[1];
  }
  fp.grow = -1.0;
  double cross = (fp.corner[1][0] - fp.corner[0][0]) * (fp.corner[2][1] - fp.corner[0][1]) -
                 (fp.corner[1][1] - fp.corner[0][1]) * (fp.corner[2][0] - fp.corner[0][0]);
  if (f->normal[2] >= kSteepest && cross > 0.0) {
    // The rule's height divides by normal z: its error, and with it the
    // edge test's, grows as the face steepens.
    fp.grow = slack / f->normal[2];
    for (int i = 0; i < 3; ++i) {
      const double* a = fp.corner[i];
      const double* b = fp.corner[(i + 1) % 3];
      double mx = -(b[1] - a[1]), my = b[0] - a[0];  // left of a counter-clockwise edge
      double length = std::sqrt(mx * mx + my * my);
      fp.inward[i][0] = length > 0.0 ? mx / length : 0.0;
      fp.inward[i][1] = length > 0.0 ? my / length : 0.0;
    }
  }
  // The edges shifted out by grow meet beyond a corner of angle a at
  // grow / sin(a / 2): at a sharp corner (a sliver face) far beyond the
  // corners' box, so the box is grown by that much, or left to the circle.
  double reach = -1.0;
  if (fp.grow >= 0.0) {
    double sinHalf = 1.0;
    for (int i = 0; i < 3; ++i) {
      const double* c = fp.corner[i];
      const double* a = fp.corner[(i + 1) % 3];
      const double* b = fp.corner[(i + 2) % 3];
      double ux = a[0] - c[0], uy = a[1] - c[1], vx = b[0] - c[0], vy = b[1] - c[1];
      double lengths = std::sqrt((ux * ux + uy * uy) * (vx * vx + vy * vy));
      double cosine = lengths > 0.0 ? std::clamp((ux * vx + uy * vy) / lengths, -1.0, 1.0) : 1.0;
      sinHalf = std::min(sinHalf, std::sqrt(0.5 * (1.0 - cosine)));
    }
    if (sinHalf > kSharpestHalfAngle) reach = fp.grow / sinHalf;
  }
  for (int k = 0; k < 2; ++k) {
    fp.lo[k] = fp.centre[k] - fp.radius;
    fp.hi[k] = fp.centre[k] + fp.radius;
    if (reach >= 0.0) {
      double cmin = std::min({fp.corner[0][k], fp.corner[1][k], fp.corner[2][k]});
      double cmax = std::max({fp.corner[0][k], fp.corner[1][k], fp.corner[2][k]});
      fp.lo[k] = std::max(fp.lo[k], cmin - reach);
      fp.hi[k] = std::min(fp.hi[k], cmax + reach);
    }
  }
  return fp;
}

// Whether the cell's rectangle lo..hi may hold a point of the footprint.
bool Touches(const footprint& fp, const double lo[2], const double hi[2]) {
  double dx = std::max({lo[0] - fp.centre[0], 0.0, fp.centre[0] - hi[0]});
  double dy = std::max({lo[1] - fp.centre[1], 0.0, fp.centre[1] - hi[1]});
  if (dx * dx + dy * dy > fp.radius * fp.radius) return false;
  if (fp.grow < 0.0) return true;
  for (int i = 0; i < 3; ++i) {
    const double* a = fp.corner[i];
    const double* m = fp.inward[i];
    // The rectangle's corner farthest along the inward normal.
    double x = m[0] >= 0.0 ? hi[0] : lo[0], y = m[1] >= 0.0 ? hi[1] : lo[1];
    if (m[0] * (x - a[0]) + m[1] * (y - a[1]) < -fp.grow) return false;
  }
  return true;
}

struct layout {
  double min[2];
  double cell;
  int columns, rows;

  // Calls visit(cell index) for every cell the footprint touches.
  template <class Visit>
  void ForCells(const footprint& fp, Visit&& visit) const {
    int i0 = std::max(0, static_cast<int>(std::floor((fp.lo[0] - min[0]) / cell)));
    int i1 = std::min(columns - 1, static_cast<int>(std::floor((fp.hi[0] - min[0]) / cell)));
    int j0 = std::max(0, static_cast<int>(std::floor((fp.lo[1] - min[1]) / cell)));
    int j1 = std::min(rows - 1, static_cast<int>(std::floor((fp.hi[1] - min[1]) / cell)));
    for (int j = j0; j <= j1; ++j) {
      for (int i = i0; i <= i1; ++i) {
        const double lo[2] = {min[0] + i * cell, min[1] + j * cell};
        const double hi[2] = {lo[0] + cell, lo[1] + cell};
        if (Touches(fp, lo, hi)) visit(static_cast<size_t>(j) * columns + i);
      }
    }
  }
};

}  // namespace

void kxgroundgrid::Free(kxgroundgrid* g) {
  if (!g) return;
  kxgl::ReleaseBytes(&g->block);
  *g = kxgroundgrid{};
}

int kxgroundgrid::Build(kxgroundgrid* g, const kxcollface* const* faces, int count) {
  if (!g) return 0;
  Free(g);
  std::vector<const kxcollface*> upward;
  double largest = 1.0;  // m, the largest coordinate the rule meets
  for (int i = 0; i < count; ++i) {
    const kxcollface* f = faces[i];
    if (!(f->normal[2] > 0.0f)) continue;
    upward.push_back(f);
    largest = std::max({largest, std::fabs(static_cast<double>(f->d)), std::fabs(f->centre[0]) + 1.0 * f->radius,
                        std::fabs(f->centre[1]) + 1.0 * f->radius, std::fabs(f->centre[2]) + 1.0 * f->radius});
  }
  if (upward.empty()) return 0;
  double slack = 2.0 * kxcollbuild::kEdgeTolerance + kRelativeSlack * largest;

  std::vector<footprint> prints;
  prints.reserve(upward.size());
  double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
  for (const kxcollface* f : upward) {
    prints.push_back(Footprint(f, slack));
    // Faces at the edge of the float range leave the grid out: the tree
    // answers for such a scenery.
    if (!std::isfinite(prints.back().hi[0] - prints.back().lo[0]) ||
        !std::isfinite(prints.back().hi[1] - prints.back().lo[1]) || !std::isfinite(slack)) {
      return 0;
    }
    for (int k = 0; k < 2; ++k) {
      lo[k] = std::min(lo[k], prints.back().lo[k]);
      hi[k] = std::max(hi[k], prints.back().hi[k]);
    }
  }
  layout grid;
  double width = hi[0] - lo[0], depth = hi[1] - lo[1];
  if (!std::isfinite(width) || !std::isfinite(depth)) return 0;
  grid.cell = std::sqrt(std::max(width * depth, 1e-6) / (kCellsPerFace * static_cast<double>(upward.size())));
  grid.cell = std::max({grid.cell, width / kMaxSide, depth / kMaxSide, 1e-3});
  // Half a cell of border: generated grounds would otherwise put their
  // lines right on cell borders, and every face would spill into the next
  // cells by its margin.
  grid.min[0] = lo[0] - 0.5 * grid.cell;
  grid.min[1] = lo[1] - 0.5 * grid.cell;
  grid.columns = std::clamp(static_cast<int>(std::ceil(width / grid.cell)) + 1, 1, kMaxSide);
  grid.rows = std::clamp(static_cast<int>(std::ceil(depth / grid.cell)) + 1, 1, kMaxSide);
  size_t cells = static_cast<size_t>(grid.columns) * grid.rows;

  // Count, then fill in face order.
  std::vector<size_t> starts(cells + 1, 0);
  for (const footprint& fp : prints) grid.ForCells(fp, [&](size_t c) { ++starts[c + 1]; });
  for (size_t c = 0; c < cells; ++c) starts[c + 1] += starts[c];
  size_t entries = starts[cells];
  size_t bytes = upward.size() * sizeof(kxgroundface) + (cells + 1 + entries) * sizeof(uint32_t);
  if (entries >= UINT32_MAX || !kxgl::ReserveBytes(&g->block, bytes, "kxcollground")) {
    kxcore::Log("gl:  collision ground grid %zu entries=fail\n", entries);
    return 0;
  }
  // Faces first: their records are the largest and keep their alignment.
  g->faces = static_cast<kxgroundface*>(g->block);
  g->entries = reinterpret_cast<uint32_t*>(g->faces + upward.size());
  g->starts = reinterpret_cast<uint32_t*>(g->entries + entries);
  std::copy(starts.begin(), starts.end(), g->starts);
  for (size_t n = 0; n < upward.size(); ++n) {
    const kxcollface* f = upward[n];
    kxgroundface& r = g->faces[n];
    r.centre[0] = f->centre[0];
    r.centre[1] = f->centre[1];
    r.radius2 = f->radius * f->radius;
    for (int k = 0; k < 3; ++k) r.normal[k] = f->normal[k];
    r.d = f->d;
    const kxcolledge* e = f->edges;
    for (int i = 0; i < 3; ++i, e = e->next) {
      for (int k = 0; k < 3; ++k) r.edges[i][k] = e->normal[k];
      r.edges[i][3] = e->distance;
    }
    grid.ForCells(prints[n], [&](size_t c) { g->entries[starts[c]++] = static_cast<uint32_t>(n); });
  }
  g->min[0] = static_cast<float>(grid.min[0]);
  g->min[1] = static_cast<float>(grid.min[1]);
  g->cell = static_cast<float>(grid.cell);
  g->perCell = static_cast<float>(1.0 / grid.cell);
  g->columns = grid.columns;
  g->rows = grid.rows;
  g->faceCount = static_cast<int32_t>(upward.size());
  return 1;
}

int kxgroundgrid::Find(const kxgroundgrid* g, const float p[3], float* height, float* normal) {
  float u = (p[0] - g->min[0]) * g->perCell, v = (p[1] - g->min[1]) * g->perCell;
  if (!(u >= 0.0f && v >= 0.0f && u < static_cast<float>(g->columns) && v < static_cast<float>(g->rows))) return 0;
  uint32_t cell = static_cast<uint32_t>(v) * static_cast<uint32_t>(g->columns) + static_cast<uint32_t>(u);
  const kxgroundface* best = nullptr;
  float bestZ = -INFINITY;
  for (uint32_t k = g->starts[cell], end = g->starts[cell + 1]; k < end; ++k) {
    const kxgroundface& f = g->faces[g->entries[k]];
    auto inside = [&f](const float q[3]) {
      return !kxcollbuild::OutsideEdge(f.edges[0], f.edges[0][3], q) &&
             !kxcollbuild::OutsideEdge(f.edges[1], f.edges[1][3], q) &&
             !kxcollbuild::OutsideEdge(f.edges[2], f.edges[2][3], q);
    };
    float z;
    if (kxcollbuild::GroundOnFace(f.normal, f.d, f.centre, f.radius2, inside, p, bestZ, &z)) {
      bestZ = z;
      best = &f;
    }
  }
  if (!best) return 0;
  if (height) *height = bestZ;
  if (normal) {
    for (int k = 0; k < 3; ++k) normal[k] = best->normal[k];
  }
  return 1;
}
