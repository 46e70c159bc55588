#include "sim/world/photo_grid.h"

#include <cmath>
#include <string>

#include "core/hooks.h"
#include "graphics/texture_table.h"
#include "sim/world/scenery_mesh.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr float kSphereRadius = 5000.0f;    // m
constexpr double kDegreesPerColumn = 3.0;   // a quad column about every 3 degrees

}  // namespace

void LoadPhotoGrid(world* w, int columns, int rows, const char* name) {
  const int compress = kxgl::textureCompression;
  const char* suffix = compress ? "c.kxt" : ".kxt";
  // A tile that fails ends its column; the next column goes on, and every
  // loaded tile takes the next free slot.
  int loaded = 0;
  for (int i = 0; i < columns; ++i) {
    for (int j = 0; j < rows; ++j) {
      std::string path = "scenery/" + std::string(name) + std::to_string(i) + std::to_string(j) + suffix;
      kxtexture* tile = kxgl::LoadTexture(path.c_str(), {.type = kxgl::kTypePhoto, .filter = kxgl::kFilterLinear,
                                                         .wrapS = kxgl::kWrapClampToEdge,
                                                         .wrapT = kxgl::kWrapClampToEdge, .mipmap = true,
                                                         .reducible = true});
      if (!tile) break;
      kxgl::FreeTexture(w->photo_textures[loaded]);
      w->photo_textures[loaded++] = tile;
    }
  }
  w->photo_columns = columns;
  w->photo_rows = rows;
  w->photo_tile_width = 360.0f / static_cast<float>(columns);
  w->photo_tile_height = 180.0f / static_cast<float>(rows);
  w->photo_segments_x = 2 * static_cast<int>(std::floor(360.0 / columns / kDegreesPerColumn / 2.0));
  w->photo_segments_y = static_cast<int>(std::floor(180.0 / rows / kDegreesPerColumn)) + 1;
  float stepX = w->photo_tile_width / static_cast<float>(w->photo_segments_x);
  float stepY = w->photo_tile_height / static_cast<float>(w->photo_segments_y - 1);
  int vertices = 0;
  if (loaded == columns * rows) {
    vertices = BuildPhotoSphere(w->photo_segments_x, w->photo_segments_y, kSphereRadius, w->photo_tile_width,
                                w->photo_tile_height, stepX, stepY, w->photo_vertices, world::kPhotoVertices);
  }
  w->photo = vertices > 0 ? 1 : 0;
  if (w->photo) {
    kxcore::Log("sim:    load texture grid %dx%d (compress=%d) named %s=(%dx%d) (%dx%d) (%.2f %.2f) (%.2f %.2f)\n", columns,
                rows, compress, name, columns, rows, w->photo_segments_x, w->photo_segments_y, w->photo_tile_width,
                w->photo_tile_height, stepX, stepY);
  } else {
    kxcore::Log("sim:    load texture grid %dx%d (compress=%d) named %s=fail\n", columns, rows, compress, name);
  }
}

void FreePhotoTiles(world* w) {
  for (kxtexture*& tile : w->photo_textures) {
    kxgl::FreeTexture(tile);
    tile = nullptr;
  }
}

}  // namespace sim
