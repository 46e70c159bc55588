// Collision world: cell-tree build time for large grounds (with the ground
// grid), ground-height queries per second and box contact queries.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>

#include "graphics/collision_contact.h"
#include "graphics/collision_near.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"

namespace {

constexpr float kGroundSize = 6000.0f;  // m, a typical scenery

// A rolling square ground of about `triangles` triangles (two per cell),
// positions only: the collision build reads nothing else.
kxgeometry* Ground(int triangles) {
  int cells = static_cast<int>(std::sqrt(triangles / 2.0)) + 1;
  int side = cells + 1;
  kxgeometry* el = kxgeometry::Create(GL_V3F, side * side, cells * cells * 2);
  std::snprintf(el->name, sizeof el->name, "ground_gras");
  for (int j = 0; j < side; ++j) {
    for (int i = 0; i < side; ++i) {
      float x = -kGroundSize / 2 + kGroundSize * i / cells, y = -kGroundSize / 2 + kGroundSize * j / cells;
      const float p[3] = {x, y, 20.0f * std::sin(x * 0.003f) * std::cos(y * 0.002f)};
      kxgeometry::SetVertexPosition(el, j * side + i, p);
    }
  }
  uint32_t* t = el->triangles;
  for (int j = 0; j < cells; ++j) {
    for (int i = 0; i < cells; ++i) {
      uint32_t a = j * side + i, b = a + 1, c = a + side + 1, d = a + side;
      *t++ = a, *t++ = b, *t++ = c;
      *t++ = a, *t++ = c, *t++ = d;
    }
  }
  return el;
}

// Grounds are made once per size and kept for the process.
kxgeometryobject* Chain(int triangles) {
  static std::map<int, std::unique_ptr<kxgeometryobject>> made;
  auto& entry = made[triangles];
  if (!entry) {
    entry = std::make_unique<kxgeometryobject>();
    entry->mesh = Ground(triangles);
  }
  return entry.get();
}

const float kCell[3] = {100, 100, 100};
const float kSun[3] = {0, 0, 1};

void BM_CollisionBuild(benchmark::State& state) {
  kxgeometryobject* chain = Chain(static_cast<int>(state.range(0)));
  auto w = std::make_unique<kxcollision>();
  for (auto _ : state) {
    benchmark::DoNotOptimize(kxcollision::Build(w.get(), chain, nullptr, kCell, 200, kSun));
    state.PauseTiming();
    kxcollision::FreeOctree(w.get());
    state.ResumeTiming();
  }
  state.counters["triangles"] = static_cast<double>(chain->mesh->triangleCount);
  state.SetLabel("cell-tree build");
}
BENCHMARK(BM_CollisionBuild)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Ground-height queries on a ground of state.range(0) triangles. Pattern 0:
// points uniform over the ground, each in a cell far from the last (the
// viewer's and the scenery set-up's queries, and the worst case for the
// caches); pattern 1: along a flight path at 30 m/s, a query a frame at 60
// frames a second for each of the aircraft's air points (what the flight
// asks).
void BM_GroundHeight(benchmark::State& state) {
  kxgeometryobject* chain = Chain(static_cast<int>(state.range(0)));
  auto w = std::make_unique<kxcollision>();
  kxcollision::Build(w.get(), chain, nullptr, kCell, 200, kSun);
  std::mt19937 random(1);
  std::uniform_real_distribution<float> xy(-kGroundSize / 2, kGroundSize / 2);
  float points[1024][3];
  if (state.range(1) == 0) {
    for (auto& p : points) p[0] = xy(random), p[1] = xy(random), p[2] = 10000.0f;
  } else {
    const float step = 30.0f / 60.0f;  // m a frame
    for (int i = 0; i < 1024; ++i) {
      float t = step * static_cast<float>(i / 4), turn = 0.002f * t;
      points[i][0] = 150.0f * std::sin(turn) + 0.5f * static_cast<float>(i % 4);
      points[i][1] = 150.0f * (1.0f - std::cos(turn)) - 0.5f * static_cast<float>(i % 4);
      points[i][2] = 10000.0f;
    }
  }
  size_t i = 0;
  for (auto _ : state) {
    float n[3];
    benchmark::DoNotOptimize(kxcollision::GroundHeight(w.get(), points[i++ & 1023], n));
  }
  state.SetItemsProcessed(state.iterations());
  const kxgroundgrid& g = w->ground;
  double bytes = static_cast<double>(g.faceCount) * sizeof(kxgroundface) +
                 (static_cast<double>(g.entryCount) + static_cast<double>(g.columns) * g.rows + 1) * sizeof(uint32_t);
  state.counters["grid_bytes_per_triangle"] = bytes / std::max(1, g.faceCount);
  state.counters["entries_per_cell"] = static_cast<double>(g.entryCount) / std::max(1.0, static_cast<double>(g.columns) * g.rows);
  state.SetLabel(state.range(1) ? "ground-height queries along a flight path" : "ground-height queries uniform over the ground");
  kxcollision::FreeOctree(w.get());
}
BENCHMARK(BM_GroundHeight)->ArgsProduct({{100000, 1000000}, {0, 1}});
BENCHMARK(BM_GroundHeight)->Args({100000,0})->Iterations(1000000)->Name("CG_Ground");
BENCHMARK(BM_GroundHeight)->Args({100000,0})->Iterations(1)->Name("CG_Ground1");
BENCHMARK(BM_CollisionBuild)->Arg(100000)->Iterations(1)->Name("CG_Build");

// A wheel-sized box resting on the ground: what every wheel asks each
// substep, from the world's walk (second argument 0) or from the faces
// gathered around it as the driver does once per frame (1).
void BM_ContactShape(benchmark::State& state) {
  kxgeometryobject* chain = Chain(static_cast<int>(state.range(0)));
  auto w = std::make_unique<kxcollision>();
  kxcollision::Build(w.get(), chain, nullptr, kCell, 200, kSun);
  kxboxrecord box{};
  const float lo[3] = {-0.05f, -0.02f, -0.05f}, hi[3] = {0.05f, 0.02f, 0.05f};
  kxboxrecord::Set(&box, lo, hi);
  const float p[3] = {123.0f, -456.0f, 10000.0f};
  float frame[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, p[0], p[1], 0, 1};
  frame[14] = kxcollision::GroundHeight(w.get(), p, nullptr) + 0.04f;
  kxcollnear near;
  if (state.range(1)) kxcollision::GatherNear(w.get(), frame + 12, 11.0f, &near);
  for (auto _ : state) benchmark::DoNotOptimize(kxcollision::ContactShape(w.get(), frame, &box, 1, &near));
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(state.range(1) ? "box contact queries, gathered faces" : "box contact queries, tree walk");
  kxcollision::FreeOctree(w.get());
}
BENCHMARK(BM_ContactShape)->ArgsProduct({{100000, 1000000}, {0, 1}});

}  // namespace
