// Sections: defaults; preview and clouds; transparent elements and
// billboards; lights; collision world; photo objects and roughness;
// contests; ReadScenery and FreeScenery.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/hooks.h"
#include "core/string.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/reserves.h"
#include "platform/text.h"
#include "sim/world/balloons.h"
#include "sim/world/blocks.h"
#include "sim/world/photo_grid.h"
#include "sim/world/scenery_file.h"
#include "sim/world/scenery_mesh.h"
#include "sim/world/world.h"

namespace sim {

namespace {

// 20 MB with the panorama's vertices: static, never on a stack.
world theworld;


constexpr const char* kCardPicture = "objects/card.kxt";
constexpr const char* kWaterTexture = "texture/water2.kxt";
constexpr float kBoxStart = 100000.0f;

// ---- defaults

void SetLight(float light[4], float a, float b, float c, float d) {
  light[0] = a;
  light[1] = b;
  light[2] = c;
  light[3] = d;
}

void SetDefaults(world* w) {
  w->transparent_count = 0;
  w->billboard_count = 0;
  w->photo = 0;
  w->photo_columns = w->photo_rows = 0;
  w->photo_segments_x = w->photo_segments_y = 0;
  w->photo_tile_width = w->photo_tile_height = 0.0f;
  w->photo_name[0] = 0;
  kxmatrix::SetIdentity(&w->photo_matrix);
  w->start_index = 0;
  w->start_count = 0;
  // Start entries a file leaves short read as zeros, never as another scenery's.
  for (int i = 0; i < world::kMaxStarts; ++i) {
    w->start_flags[i] = 0;
    w->start_heading[i] = 0.0f;
    for (int k = 0; k < 3; ++k) w->start_aircraft[i][k] = w->start_viewer[i][k] = 0.0f;
  }
  const float viewer[3] = {4.0f, 2.0f, 1.0f};
  std::copy(viewer, viewer + 3, w->start_viewer[0]);
  w->has_shadow = 0;
  w->scenery_size = 6000;
  w->cloud_repeat = 4;
  w->cloud_height = 200;
  w->cloud_density = 0.9f;
  w->cloud_exponent = 0.55f;
  w->pilot_view_scale = 0.15f;
  w->view_real = 1.0f;
  w->contest_count = 0;
  w->first_contest = nullptr;
  for (contestrec& c : w->contests) c = contestrec{};
  const float sun[3] = {0.0f, 0.0f, 1.0f};
  std::copy(sun, sun + 3, w->sun_direction);
  w->octree_max_triangles = 200;
  for (float& cell : w->octree_min_cell) cell = 100.0f;
  w->viewer_probe_step = 50.0f;
  w->light_count = 1;
  for (int i = 0; i < world::kLights; ++i) {
    SetLight(w->light_position[i], 0.0f, 0.0f, 1.0f, 0.0f);
    SetLight(w->light_ambient[i], 0.05f, 0.05f, 0.05f, 1.0f);
    SetLight(w->light_diffuse[i], 0.9f, 0.9f, 0.9f, 1.0f);
    SetLight(w->light_specular[i], 1.0f, 1.0f, 1.0f, 1.0f);
  }
  const float sky[4][3] = {{0.02f, 0.1f, 0.57f}, {0.55f, 0.65f, 0.68f}, {0.23f, 0.31f, 0.65f}, {0.03f, 0.05f, 0.1f}};
  for (int i = 0; i < 4; ++i) std::copy(sky[i], sky[i] + 3, w->sky_colours[i]);
}

// ---- preview and clouds

void LoadPreview(world* w, const char* name) {
  std::string path = "scenery/" + std::string(name) + "lg.bmp";
  w->preview_texture = kxgl::LoadTexture(path.c_str(), {.type = kxgl::kTypeRGB, .filter = kxgl::kFilterLinear});
  if (!w->preview_texture) {
    w->preview_texture = kxgl::LoadTexture(kCardPicture, {.type = kxgl::kTypeRGB, .filter = kxgl::kFilterLinear});
  }
}

// A cloud picture that does not load leaves the scenery without clouds.
void LoadClouds(world* w) {
  if (!w->cloud_path[0]) return;
  if (kxsystem::GetFileSize(w->cloud_path) < 0) {
    kxcore::Log("sim:    cloud texture %s not found; no clouds\n", w->cloud_path);
    return;
  }
  kxtexture* t = kxgl::LoadTexture(w->cloud_path, {.type = kxgl::kTypeAlpha, .filter = kxgl::kFilterLinear,
                                                   .wrapS = kxgl::kWrapRepeat, .wrapT = kxgl::kWrapRepeat,
                                                   .mipmap = true, .reducible = true});
  if (!t || !t->pixels || t->width <= 0 || t->height <= 0) {
    kxgl::FreeTexture(t);
    kxcore::Log("sim:    cloud texture %s unusable; no clouds\n", w->cloud_path);
    return;
  }
  w->cloud_texture = t;
  // The scenery before was released whole, "cloudlow" and the copy with it,
  // so both are made here in this picture's size. An alpha texture holds
  // one byte per texel.
  long bytes = static_cast<long>(t->width) * t->height;
  void* block = nullptr;
  if (t->bytesPerTexel == 1 && kxsystem::Reserve(&block, bytes, "cloudduplicate")) {
    w->cloud_pixels = static_cast<uint8_t*>(block);
    std::memcpy(w->cloud_pixels, t->pixels, static_cast<size_t>(bytes));
  }
  w->cloud_low_texture = kxgl::CreateTexture("cloudlow", kxgl::kTypeRGBA, t->width, t->height, kxgl::kFilterLinear,
                                             kxgl::kWrapRepeat, kxgl::kWrapRepeat, 0);
}

// ---- transparent elements and billboards

void MakeBillboard(kxtransparentgeometry* entry) {
  kxgeometry* el = entry->element;
  double sum[3] = {};
  float p[3];
  for (int i = 0; i < el->vertexCount; ++i) {
    if (!kxgeometry::GetVertexPosition(el, i, p)) continue;
    for (int k = 0; k < 3; ++k) sum[k] += p[k];
  }
  for (int k = 0; k < 3; ++k) entry->centre[k] = el->vertexCount ? static_cast<float>(sum[k] / el->vertexCount) : 0.0f;
  // The tree is drawn facing the viewer about its centre: centre the mesh on the origin.
  for (int i = 0; i < el->vertexCount; ++i) {
    if (!kxgeometry::GetVertexPosition(el, i, p)) continue;
    for (int k = 0; k < 3; ++k) p[k] -= entry->centre[k];
    kxgeometry::SetVertexPosition(el, i, p);
    entry->halfHeight = std::max(entry->halfHeight, std::fabs(p[2]));
    entry->radius = std::max(entry->radius, std::sqrt(p[0] * p[0] + p[1] * p[1]));
  }
  kxgeometry::UpdateBounds(el);
}

void BoxCentre(kxtransparentgeometry* entry) {
  const kxgeometry* el = entry->element;
  float lo[3] = {kBoxStart, kBoxStart, kBoxStart}, hi[3] = {-kBoxStart, -kBoxStart, -kBoxStart};
  float p[3];
  bool any = false;
  for (int i = 0; i < el->vertexCount; ++i) {
    if (!kxgeometry::GetVertexPosition(el, i, p)) continue;
    any = true;
    for (int k = 0; k < 3; ++k) {
      lo[k] = std::min(lo[k], p[k]);
      hi[k] = std::max(hi[k], p[k]);
    }
  }
  for (int k = 0; k < 3; ++k) entry->centre[k] = any ? 0.5f * (lo[k] + hi[k]) : 0.0f;
}

void BuildTransparentList(world* w) {
  int count = 0;
  for (const kxgeometryobject* o = w->objects; o; o = o->next)
    for (const kxgeometry* el = o->mesh; el; el = el->next) count += el->transparent ? 1 : 0;
  w->transparent_count = count;
  w->transparent = ReserveEntries<kxtransparentgeometry>(count, "kxtransparentgeometry");
  if (w->transparent) {
    kxtransparentgeometry* entry = w->transparent;
    for (const kxgeometryobject* o = w->objects; o; o = o->next) {
      for (kxgeometry* el = o->mesh; el; el = el->next) {
        if (!el->transparent) continue;
        *entry = kxtransparentgeometry{};
        entry->element = el;
        if (kxsystem::StrStartsNoCase(el->name, "bbrd")) {
          entry->billboard = 1;
          ++w->billboard_count;
          MakeBillboard(entry);
        } else {
          BoxCentre(entry);
        }
        ++entry;
      }
    }
    entry->element = nullptr;
  }
  kxcore::Log("sim:    %d transparent geometries  %d billboards\n", w->transparent_count, w->billboard_count);
}

// ---- lights

// Directional lights (w 0) become unit vectors; a zero vector stays.
void NormaliseLights(world* w) {
  for (int i = 0; i < w->light_count && i < world::kLights; ++i) {
    float* l = w->light_position[i];
    if (l[3] != 0.0f) continue;
    float length = std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2] + l[3] * l[3]);
    if (length > 0.0f)
      for (int k = 0; k < 4; ++k) l[k] /= length;
  }
}

// ---- collision world

// The ocean heads the chain when there is one (its faces are water), else
// the ground mesh; the objects follow.
void BuildCollision(world* w) {
  kxgeometryobject head{};
  head.next = w->objects;
  head.mesh = w->ocean ? w->ocean : w->ground;
  const kxgeometryobject* chain = head.mesh ? &head : w->objects;
  kxcollision::Build(&w->collision, chain, w->transparent, w->octree_min_cell, w->octree_max_triangles,
                     w->sun_direction, w->ocean);
  if (w->ocean) {
    w->water_texture = kxgl::LoadTexture(kWaterTexture, {.type = kxgl::kTypeRGB, .filter = kxgl::kFilterLinear,
                                                         .wrapS = kxgl::kWrapRepeat, .wrapT = kxgl::kWrapRepeat,
                                                         .mipmap = true, .reducible = true});
  }
  kxcolldynamic::Build(&w->collision, w->dynobjects);
  w->collision.nearObjectPass = NearObjectPass;
  // The scenery's world is the one the queries outside the dynamics step
  // meet (the legacy runtime places and steps its model before that step).
  kxcollision::SetCurrent(&w->collision);
}

// ---- photo objects and roughness

// The first fragment an element's name contains (without case) sets how
// rough its ground is in a photo scenery; no match is smooth.
float Roughness(const char* name) {
  static const struct {
    const char* fragment;
    float roughness;
  } kTable[] = {{"runway", 0.0f}, {"_road", 0.0f},  {"_asphalt", 0.0f}, {"_street", 0.0f},   {"_damage", 0.01f},
                {"_dirt", 0.009f}, {"_meadow", 0.009f}, {"_gras", 0.006f}, {"_highgras", 0.008f}, {"_hardroll", 0.009f}};
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const auto& row : kTable)
    if (lower.find(row.fragment) != std::string::npos) return row.roughness;
  return 0.0f;
}

void BuildPhotoObjects(world* w) {
  int count = 0;
  for (const kxgeometryobject* o = w->objects; o; o = o->next) ++count;
  if (count || w->ground) w->photo_objects = ReserveEntries<kxgeometryobject>(count + 1, "kxgeometryobject");
  if (w->photo_objects) {
    kxgeometryobject* e = w->photo_objects;
    kxgeometryobject* last = nullptr;
    auto append = [&](const kxgeometryobject& from) {
      *e = from;
      e->next = nullptr;
      if (last) last->next = e;
      last = e++;
    };
    if (w->ground) {
      kxgeometryobject g{};
      g.flags = kObjectPhotoGround;
      g.mesh = w->ground;
      append(g);
    }
    for (const kxgeometryobject* o = w->objects; o; o = o->next) append(*o);
  }
  for (const kxgeometryobject* o = w->objects; o; o = o->next)
    for (kxgeometry* el = o->mesh; el; el = el->next) el->roughness = Roughness(el->name);
  w->light_count = 1;
  const float* l = w->light_position[0];
  float length = std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2]);
  if (length > 0.0f)
    for (int k = 0; k < 3; ++k) w->sun_direction[k] = l[k] / length;
}

// ---- contests

void PrepareContests(world* w, kxtexture* balloonShadow) {
  w->first_contest = w->contest_count > 0 ? w->contests : nullptr;
  for (int i = 0; i < w->contest_count; ++i) {
    contestrec& c = w->contests[i];
    c.running = 0;
    c.best_time = -1;
    c.best_points = -1;
    for (balloonrec* b = c.first_balloon; b; b = b->next) {
      CollectBounds(nullptr, b->mesh, &b->shadow);
      b->shadow.texture = balloonShadow;
    }
  }
}

}  // namespace

// ---- ReadScenery and FreeScenery

world* TheWorld() { return &theworld; }

kxtexture* SceneryPreview(world* w) { return w ? w->preview_texture : nullptr; }

const char kDefaultScenery[] = "winzeln";

int NamesGround(const world* w) {
  if (!w) return 0;
  if (w->ground || w->ocean) return 1;
  for (const kxgeometryobject* o = w->objects; o; o = o->next)
    if (o->mesh && (o->flags & kObjectGround)) return 1;
  return 0;
}

int GroundBelowStart(const world* w, int index) {
  if (!w || index < 0 || index >= world::kMaxStarts) return 0;
  const float probe[3] = {w->start_aircraft[index][0], w->start_aircraft[index][1], kGroundProbeHeight};
  float height = 0.0f;
  return kxcollision::FindGround(&w->collision, probe, &height, nullptr) && std::isfinite(height) ? 1 : 0;
}

/* Only what the scenery calls ground counts: houses, trees or a hangar
   alone have faces the collision world finds, but an aircraft started
   beside them would fall for ever. So would one started where the ground
   does not reach: some start (entry 0's defaults when the file has none)
   must have something below it. */
int HasGround(const world* w) {
  if (!w || !NamesGround(w)) return 0;
  const int starts = w->start_count > 0 ? w->start_count : 1;
  for (int i = 0; i < starts; ++i)
    if (GroundBelowStart(w, i)) return 1;
  return 0;
}

sceneryloaded ReadScenery(const char* name, world* w, kxtexture* balloonShadow) {
  uint32_t started = kxsystem::GetTime();
  if (!w) return {};
  // The caller may pass the `scenery` setting or the world's own name, both
  // written after the load: work on a copy.
  const std::string given = name ? name : "";
  // A scenery is named as an aircraft is: a name inside "scenery/", never a
  // path. Another loads nothing and leaves the setting as it was.
  const bool plain = kxsystem::IsPlainName(given.c_str());
  if (!plain) kxcore::Log("sim:  scenery %s is no name inside scenery/; not loaded\n", kxexcerpt(given).c_str());
  const std::string scenery = plain ? given : "";
  FreeScenery(w);
  w->cloud_path[0] = 0;
  SetDefaults(w);
  LoadPreview(w, scenery.c_str());
  std::snprintf(w->name, sizeof w->name, "%s", scenery.c_str());
  if (plain) {
    std::string path = "scenery/" + scenery + ".geo";
    kxcore::Log("sim:  loading scenery %s...\n", path.c_str());
    ReadSceneryFile(path.c_str(), w);
  }
  PrepareContests(w, balloonShadow);
  LoadClouds(w);
  BuildTransparentList(w);
  NormaliseLights(w);
  kxcore::Log("sim:    loading time=%d mus\n", static_cast<int>(kxsystem::GetTime() - started));
  BuildCollision(w);
  if (w->photo) BuildPhotoObjects(w);
  return {plain, plain ? scenery : std::string()};
}

void FreeScenery(world* w) {
  if (!w) return;
  FreeDynamicObjects(&w->collision);
  kxcollision::FreeOctree(&w->collision);
  w->collision.nearObjectPass = nullptr;
  for (contestrec& c : w->contests) FreeBalloons(&c);
  w->contest_count = 0;
  w->first_contest = nullptr;
  kxgl::FreeTexture(w->cloud_texture);
  w->cloud_texture = nullptr;
  kxgl::FreeTexture(w->cloud_low_texture);
  w->cloud_low_texture = nullptr;
  ReleaseBlock(w->cloud_pixels);
  kxgeometry::Free(&w->ocean);
  kxgeometry::Free(&w->ground);
  for (kxgeometrydynobject* d = w->dynobjects; d; d = d->next) kxgeometry::Free(&d->mesh);
  ReleaseBlock(w->dynobjects);
  for (kxgeometryobject* o = w->objects; o; o = o->next) kxgeometry::Free(&o->mesh);
  ReleaseBlock(w->objects);
  ReleaseBlock(w->transparent);
  w->transparent_count = w->billboard_count = 0;
  kxgl::FreeTexture(w->preview_texture);
  w->preview_texture = nullptr;
  kxgl::FreeTexture(w->view_texture);
  w->view_texture = nullptr;
  kxgl::FreeTexture(w->water_texture);
  w->water_texture = nullptr;
  ReleaseBlock(w->photo_objects);
  FreePhotoTiles(w);
  w->photo = 0;
}

}  // namespace sim
