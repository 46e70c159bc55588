// The played-back aircraft's ground shadow under a real context: the scene
// lays the recorded aircraft's shadow picture on the ground below it, as it
// lays the live aircraft's.
#include <algorithm>

#include "graphics/texture_table.h"
#include "sim/views/aircraft_shadow.h"
#include "sim/views/display_lists.h"
#include "sim/views/gl_state.h"
#include "sim/views/sky.h"
#include "views_gl_support.h"

namespace {

using viewstest::camera;

class RecordedShadowDraw : public viewstest::viewsgltest {};

TEST_F(RecordedShadowDraw, TheRecordedAircraftsShadowLiesOnTheGroundBelowIt) {
  const float white[3] = {1, 1, 1};
  PutMesh("scenery/plain.tgo", meshgen::ColouredElement(meshgen::Ground(400, 4, 0), "plain", "", white));
  world& w = Load("GROUND plain.tgo\n");
  w.has_shadow = 0;  // the sun straight overhead: the shadow falls right below
  sim::session.settings.cloud_type = sim::kCloudsNone;
  sim::SetupGL();
  sim::BuildSky(&w);
  sim::BuildSceneryLists();

  // A recording whose aircraft casts a square shadow 2 m wide; its copy is
  // drawn but holds nothing that could hide the ground under it.
  simplayer& p = sim::players[0];
  p.flight_state = nullptr;
  p.recording.present = 1;
  p.recording.instance = Part("copy", nullptr, white);
  p.recording.pose = kxmatrix::Identity();
  p.recording.pose.R = {0, 0, 1.5f, 1};
  p.recording.header.radius = 1.5f;
  std::fill(p.recording.header.bbmin, p.recording.header.bbmin + 3, -1.0f);
  std::fill(p.recording.header.bbmax, p.recording.header.bbmax + 3, 1.0f);
  kxtexture* picture = Texture("recshadow", 8, 8);
  std::fill(picture->pixels, picture->pixels + 8 * 8 * 4, 255);
  p.record_store.shadow_texture = picture;
  float view[16];
  sim::ShadowLightView(w, sim::RecordedShadow(&p), view);

  const float high[3] = {0, 0, 30}, below[3] = {0.1f, 0, 0};
  auto brightness = [&] {
    Draw(camera(high, below), &p);
    const kxtest::pixel c = Centre();
    return c.r + c.g + c.b;
  };
  const int shaded = brightness();
  p.recording.present = 0;
  const int open = brightness();
  EXPECT_LT(shaded, open - 60) << shaded << " against " << open;
  p.recording.instance = nullptr;
}

}  // namespace
