// The loaded scenery: one program-wide record holding the scenery's objects,
// ground and ocean, clouds, photo panorama, lights, start positions,
// contests and collision world. The scenery loader fills it from the
// scenery's description file; the views, the flight dynamics step, the
// placement code and the contests read it.
#pragma once

#include <cstdint>
#include <string>

#include "core/matrix.h"
#include "graphics/collision_world.h"
#include "graphics/scenery_records.h"
#include "sim/world/contest_record.h"

struct kxgeometry;
struct kxtexture;

// Flags of a static scenery object (kxgeometryobject).
constexpr uint32_t kObjectGround = 32;        // OBJECT ... GROUND
constexpr uint32_t kObjectPhotoGround = 37;   // the ground mesh heading a photo scenery's objects

struct world {
  static constexpr int kNameChars = 128;
  static constexpr int kMaxStarts = 20;
  static constexpr int kMaxContests = 10;
  static constexpr int kLights = 4;
  static constexpr int kPhotoTiles = 128;          // columns x rows at most
  static constexpr int kPhotoVertices = 1048576;   // capacity of the panorama's vertex array
  static constexpr int kPhotoVertexFloats = 5;     // u, v, x, y, z

  // Start flags.
  static constexpr int kStartHelicopters = 1;
  static constexpr int kStartAirplanes = 2;
  static constexpr int kStartIndoor = 4;

  // --- objects
  kxgeometryobject* objects;          // block "kxgeometryobject", file order; null without OBJECT lines
  kxgeometrydynobject* dynobjects;    // block "kxgeometrydynobject"; null without DYNOBJECT lines
  kxtransparentgeometry* transparent; // block "kxtransparentgeometry", ended by a null element
  int32_t transparent_count;
  int32_t billboard_count;            // the trees among the transparent elements

  // --- photo panorama (PHOTOSPHERE, PHOTOTEXTURES)
  int32_t photo;                      // 1 when the tile grid loaded completely
  int32_t photo_columns;              // C
  int32_t photo_rows;                 // R
  int32_t photo_segments_x;           // quad columns per tile, even
  int32_t photo_segments_y;           // vertex rows per tile
  float photo_tile_width;             // degrees, 360 / C
  float photo_tile_height;            // degrees, 180 / R
  kxmatrix photo_matrix;              // the sphere's orientation
  kxtexture* photo_textures[kPhotoTiles];  // tile i x R + j
  char photo_name[kNameChars];
  float photo_vertices[kPhotoVertices][kPhotoVertexFloats];  // tile after tile, 2 x columns x rows each
  kxgeometryobject* photo_objects;    // block "kxgeometryobject": the ground mesh (flags 37), then the objects

  // --- textures
  kxtexture* cloud_texture;           // alpha
  kxtexture* cloud_low_texture;       // "cloudlow", RGBA, filled by the views
  kxtexture* preview_texture;         // "scenery/<name>lg.bmp", else "objects/card.kxt"
  uint8_t* cloud_pixels;              // block "cloudduplicate": the cloud texture's texels
  kxtexture* water_texture;           // "texture/water2.kxt" with an ocean
  int32_t has_shadow;                 // HASSHADOW
  kxtexture* view_texture;            // set by the views, released with the scenery

  // --- lights
  int32_t light_count;
  float light_position[kLights][4];   // w 1 a position, w 0 a direction (unit after the load)
  float light_ambient[kLights][4];
  float light_diffuse[kLights][4];
  float light_specular[kLights][4];

  // --- viewer ground probe (VIEWC)
  float viewer_probe_range;           // m; kept from the previous scenery when the file has none
  float viewer_probe_step;            // m, above 0

  int32_t scenery_size;               // m, SCENERY extent
  kxgeometry* ocean;                  // OCEAN mesh, null without one
  kxgeometry* ground;                 // GROUND mesh, null without one

  // --- clouds (CLOUDS) and drift
  int32_t cloud_repeat;
  int32_t cloud_height;               // m
  float cloud_density;
  float cloud_exponent;
  char cloud_path[kNameChars];        // texture path relative to the data folder; "" none
  float cloud_scroll[2];              // moved by the wind update
  float ocean_scroll[2];
  float pilot_view_scale;             // near half-height of the pilot's view, 0.15
  float view_real;                    // 1.0, read by the views

  float sun_direction[3];             // unit

  // --- collision octree (CUBE) and the collision world
  int32_t octree_max_triangles;
  float octree_min_cell[3];           // m
  kxcollision collision;

  // --- start positions (START_POSITION)
  int32_t start_index;                // the start position to use next
  int32_t start_count;                // 0..kMaxStarts
  int32_t start_flags[kMaxStarts];    // kStart... bits
  float start_aircraft[kMaxStarts][3];  // m
  float start_viewer[kMaxStarts][3];    // m; z below 0: above the ground
  float start_heading[kMaxStarts];      // degrees

  // --- contests (CONTEST)
  int32_t contest_count;
  contestrec* first_contest;          // null without contests
  contestrec contests[kMaxContests];  // linked in file order

  float sky_colours[4][3];            // zenith, haze, upper horizon, ocean depth; rewritten by the views
  char name[kNameChars];              // the scenery's name as loaded
};

namespace sim {

// The program's one loaded scenery; lives for the whole run.
world* TheWorld();
// The loaded scenery's preview picture ("scenery/<name>lg.bmp", else the
// card); null before a load.
kxtexture* SceneryPreview(world* w);

// The scenery loaded in place of one that gives nothing to stand on.
extern const char kDefaultScenery[];  // "winzeln"
// m; the ground below a start is sought from this height (a start given
// below 0 is put on the ground found there).
constexpr float kGroundProbeHeight = 5000.0f;

// What a load leaves for the session to take over: whether the name was a
// name inside "scenery/" (only then does the `scenery` setting follow it)
// and the name as loaded. The contests of the scenery before are gone.
struct sceneryloaded {
  bool named = false;
  std::string name;
};

// Releases the loaded scenery, reads "scenery/<name>.geo" into w and builds
// its collision world, transparent list, clouds, panorama and contests,
// whose balloons cast balloonShadow. Missing or broken parts are logged and
// left out.
sceneryloaded ReadScenery(const char* name, world* w, kxtexture* balloonShadow);
// 1 when the loaded scenery has ground to stand on: a GROUND or OCEAN mesh,
// or an OBJECT marked GROUND that loaded, and some face below one of its
// start positions.
int HasGround(const world* w);
// 1 when the scenery names ground that loaded, wherever it lies.
int NamesGround(const world* w);
// 1 when the collision world has a face below start position index.
int GroundBelowStart(const world* w, int index);
// Releases everything ReadScenery made; every handle and pointer becomes null.
void FreeScenery(world* w);

}  // namespace sim
