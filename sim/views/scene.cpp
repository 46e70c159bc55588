// Sections: set-up (matrices, fog, lights); the photo panorama; the modelled
// scenery; aircraft; shadows, rope and traces; the transparent pass and
// particles; DrawScene.
#include "sim/views/scene.h"

#include <GL/gl.h>

#include <algorithm>

#include "dynamics/flight_state.h"
#include "dynamics/tow.h"
#include "graphics/collision_world.h"
#include "graphics/draw.h"
#include "graphics/geometric_object.h"
#include "graphics/gl_frame.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "graphics/texture_gl.h"
#include "sim/app_hooks.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/aircraft_draw.h"
#include "sim/views/aircraft_shadow.h"
#include "sim/views/contest_objects.h"
#include "sim/views/display_lists.h"
#include "sim/views/element_draw.h"
#include "sim/views/gl_state.h"
#include "sim/views/ground_shadow.h"
#include "sim/views/part_walk.h"
#include "sim/views/particle_draw.h"
#include "sim/views/reflection.h"
#include "sim/views/sky.h"
#include "sim/views/trace.h"
#include "sim/views/transparent_draw.h"
#include "sim/views/transparent_list.h"
#include "sim/views/view_matrices.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr float kFarFactor = 2.0f;          // far plane at twice the scenery's range
constexpr float kSkyProbe = 10000.0f;       // m above the eye: is there a roof over it?
constexpr float kOpenSkyLight[4] = {0.0f, 0.0f, 1.0f, 0.0f};
constexpr float kPhotoShadowRadius = 100.0f;  // m
constexpr float kRopeColour[4] = {0.7f, 0.7f, 0.4f, 0.7f};
constexpr int kShadowGroundPasses = 2;      // ground below the caster, then below where its shadow lands
constexpr float kLowSun = 0.05f;            // sun height (z of the unit sun vector) below which shadows stay put

struct passflags {
  const simplayer* viewer;
  bool skipOwn;       // the viewer's live aircraft stays out (cockpit views)
  bool skipRecorded;  // the viewer's recorded aircraft stays out (the recorded flight's cockpit view)
  bool aircraft;      // aircraft, shadows, traces, parts and particles are drawn
  bool photo;
};

bool LiveShown(const simplayer* p, const passflags& f) { return p->flight_state && !(f.skipOwn && p == f.viewer); }

bool RecordedShown(const simplayer* p, const passflags& f) {
  return p->recording.present && p->recording.instance && !(f.skipRecorded && p == f.viewer);
}

const kxgeometricobject* LiveRoot(const simplayer* p) {
  return kxnode::As<kxgeometricobject>(p->flight_state->graphics_root);
}

// ---- set-up

void Projection(const world& w, float aspect, float nearZ) {
  const float N = w.pilot_view_scale;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-aspect * N, aspect * N, -N, N, nearZ, kFarFactor * static_cast<float>(w.scenery_size));
  glMatrixMode(GL_MODELVIEW);
}

// Positional lights become light from straight above while the eye is under
// open sky; under a roof they keep their place.
void PlaceLights(world& w, const float eye[3]) {
  const int count = std::clamp(w.light_count, 0, kSceneLights);
  const float probe[3] = {eye[0], eye[1], eye[2] + kSkyProbe};
  for (int i = 0; i < count; ++i) {
    const GLenum light = GL_LIGHT0 + static_cast<GLenum>(i);
    const float* position = w.light_position[i];
    if (position[3] != 0.0f) {
      float ground = 0.0f;
      bool roof = kxcollision::FindGround(&w.collision, probe, &ground, nullptr) && eye[2] <= ground;
      if (!roof) position = kOpenSkyLight;
    }
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_AMBIENT, w.light_ambient[i]);
    glLightfv(light, GL_DIFFUSE, w.light_diffuse[i]);
    glLightfv(light, GL_SPECULAR, w.light_specular[i]);
  }
}

// ---- ground shadows

/* The faces a caster's shadow falls on lie where its ray along the sun
   meets the ground, not around the caster: a box of the caster's own size
   about a balloon 15 m up, or an aircraft in the air, holds no face at all.
   The box is centred on that meeting point, found on the ground below the
   caster and once more below the point it gives, so a slope is followed.
   Without ground below, or with the sun at the horizon, the caster's own
   place is kept. */
void GatherShadowGround(world& w, const float position[3], float radius) {
  const float* L = w.sun_direction;
  float at[3] = {position[0], position[1], position[2]};
  for (int pass = 0; pass < kShadowGroundPasses && L[2] > kLowSun; ++pass) {
    const float below[3] = {at[0], at[1], position[2]};
    float ground = 0.0f;
    if (!kxcollision::FindGround(&w.collision, below, &ground, nullptr)) break;
    const float t = (position[2] - ground) / L[2];
    for (int k = 0; k < 3; ++k) at[k] = position[k] - t * L[k];
  }
  kxcollision::ViewerCollide(&w.collision, at, radius);
}

void ShadowAt(world& w, const shadowquad& record, const float position[3], float radius) {
  GatherShadowGround(w, position, radius);
  kxmatrix frame;
  kxmatrix::SetIdentity(&frame);
  frame.R = {position[0], position[1], position[2], 1.0f};
  DrawGroundShadow(&record, frame);
}

// Aircraft shadows (live and played back), and the balloons' in a balloon
// pop; radius <= 0 takes each caster's own size.
void GroundShadows(world& w, const passflags& f, float radius) {
  for (const simplayer* p = &players[0]; p; p = p->next) {
    if (LiveShown(p, f)) {
      const kxdflightstate& s = *p->flight_state;
      float r = radius > 0.0f ? radius : (s.shadow.size > 0.0f ? s.shadow.size : s.radius);
      ShadowAt(w, s.shadow, s.position(), r);
    }
    if (RecordedShown(p, f)) {
      const shadowquad* recorded = RecordedShadow(p);
      ShadowAt(w, *recorded, &p->recording.pose.R.x, radius > 0.0f ? radius : recorded->size);
    }
  }
  const contestrec* c = session.run.current_contest;
  if (!c || c->kind != kContestBalloonPop) return;
  for (const balloonrec* b = c->first_balloon; b; b = b->next) {
    if (b->popped) continue;
    GatherShadowGround(w, &b->frame.R.x, radius > 0.0f ? radius : b->radius);
    DrawGroundShadow(&b->shadow, b->frame);
  }
}

// ---- the photo panorama

void PhotoSphere(const world& w, const float eye[3]) {
  const int per = 2 * w.photo_segments_x * w.photo_segments_y;
  const int cells = std::min(w.photo_columns * w.photo_rows, world::kPhotoTiles);
  glPushMatrix();
  glTranslatef(eye[0], eye[1], eye[2]);  // the panorama stays centred on the eye
  glMultMatrixf(w.photo_matrix.Data());
  for (int k = 0; k < cells && per > 0 && (k + 1) * per <= world::kPhotoVertices; ++k) {
    if (!kxgl::BindTexture(w.photo_textures[k])) continue;
    glInterleavedArrays(GL_T2F_V3F, 0, w.photo_vertices[k * per]);
    glDrawArrays(GL_QUAD_STRIP, 0, per);
  }
  glPopMatrix();
}

// The ground objects fill the depth buffer only, so aircraft pass behind
// what the photograph shows in front of them.
void PhotoDepth(const world& w) {
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
  for (const kxgeometryobject* o = w.photo_objects; o; o = o->next) {
    for (const kxgeometry* el = o->mesh; el; el = el->next) {
      if (el->transparent) continue;
      glPushMatrix();
      glTranslatef(0, 0, el->roughness);
      kxgl::DrawElementPlain(el);
      glPopMatrix();
    }
  }
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void PhotoPass(world& w, const float eye[3], const passflags& f) {
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  PhotoSphere(w, eye);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  PhotoDepth(w);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  if (f.aircraft) GroundShadows(w, f, kPhotoShadowRadius);
  glEnable(GL_LIGHTING);
}

// ---- the modelled scenery

void WithTextureOffset(const float offset[2], int list) {
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glTranslatef(offset[0], offset[1], 0);
  glMatrixMode(GL_MODELVIEW);
  glCallList(static_cast<GLuint>(list));
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

void DynamicObjects(const world& w) {
  const kxtexture* bound = nullptr;
  for (const kxgeometrydynobject* o = w.dynobjects; o; o = o->next) {
    for (const kxgeometry* el = o->mesh; el; el = el->next) {
      if (el->transparent) continue;
      BindElementTexture(el, &bound);
      glPushMatrix();
      glMultMatrixf(o->frame.Data());
      SetFrontAndBackMaterial(el, el->shininess);
      kxgl::DrawElementPlain(el);
      glPopMatrix();
    }
  }
}

void ModelledPass(const world& w) {
  glCallList(kListGround);
  glEnable(GL_BLEND);
  if (w.ocean) {
    glDisable(GL_DEPTH_TEST);
    WithTextureOffset(w.ocean_scroll, kListOcean);
  }
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glCallList(kListSky);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glCallList(kListStatics);
  DynamicObjects(w);
  DrawContestObjects(session.run.current_contest);
  glEnable(GL_BLEND);
}

// ---- aircraft

void Legacy(const passflags&) {
  const applicationhooks& hooks = Hooks();
  if (!hooks.legacy_view_solid) return;
  const bool reflect = ReflectionsOn();
  if (reflect) BeginCubeReflection(kSceneryCubeMap);
  hooks.legacy_view_solid();
  if (reflect) EndReflection();
}

void Playback(const kxgeometricobject* root) {
  const bool reflect = ReflectionsOn();
  glPushMatrix();
  glMultMatrixf(root->Matrix.Data());
  if (reflect) BeginCubeReflection(kSceneryCubeMap);
  ForEachPart(root, [](const kxgeometricobject* part) { DrawPartTree(part, 1); });
  kxgl::DrawGeometry(root->mesh);
  if (reflect) EndReflection();
  if (reflect) BeginCubeReflection(kSceneryCubeMap);
  ForEachPart(root, [](const kxgeometricobject* part) { DrawPartTree(part, 0); });
  if (root->mesh && root->mesh->transparent) kxgl::DrawElement(root->mesh);
  if (reflect) EndReflection();
  glPopMatrix();
}

void Aircraft(const passflags& f) {
  for (const simplayer* p = &players[0]; p; p = p->next) {
    if (LiveShown(p, f)) {
      if (p->legacy) {
        Legacy(f);
      } else if (LiveRoot(p) && p->list_textured >= kFirstAircraftList) {
        DrawAircraftLists(p);
      }
    }
    if (RecordedShown(p, f)) Playback(p->recording.instance);
  }
}

// ---- rope and traces

void TowRope() {
  const kxdrope00* rope = session.run.rope;
  if (!rope || !rope->Active[0] || !rope->Active[1]) return;
  glColor4fv(kRopeColour);
  glBegin(GL_LINES);
  glVertex3f(rope->Ends[0].x, rope->Ends[0].y, rope->Ends[0].z);
  glVertex3f(rope->Ends[1].x, rope->Ends[1].y, rope->Ends[1].z);
  glEnd();
}

// ---- transparent pass and particles

void TransparentPass(world& w, const float eye[3], const float X[3], const float Y[3], float aspect, float nearZ,
                     const passflags& f) {
  sceneview& sv = SceneView();
  glDepthMask(GL_FALSE);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  ResetTransparentList();
  if (f.aircraft) {
    const applicationhooks& hooks = Hooks();
    for (const simplayer* p = &players[0]; p; p = p->next) {
      if (!LiveShown(p, f)) continue;
      if (p->legacy) {
        if (hooks.legacy_view_transparent) hooks.legacy_view_transparent();
      } else if (kxgeometricobject* root = kxnode::As<kxgeometricobject>(p->flight_state->graphics_root)) {
        CollectTransparentParts(sv.view, root);
      }
    }
  }
  CollectContestMarkers(sv.view, sv.billboard, session.run.current_contest, f.viewer);
  if (!f.photo) {
    CullingVectors(w.pilot_view_scale, aspect, nearZ, X, Y, sv.cull[0], sv.cull[1]);
    const sessionsettings& s = session.settings;
    CollectTrees(w, TreeCount(w, s.show_trees, s.tree_density), sv.view, sv.billboard, X, eye, sv.cull[0], sv.cull[1]);
  }
  DrawTransparentList();
}

void Particles(const passflags& f) {
  sceneview& sv = SceneView();
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_LIGHTING);
  glEnable(GL_CULL_FACE);
  SphericalBillboard(sv.view, sv.billboard);
  DrawParticles(f.viewer, f.skipOwn, sv.billboard);
}

void LowClouds(const world& w) { WithTextureOffset(w.cloud_scroll, kListLowClouds); }

}  // namespace

void DrawScene(simplayer* viewer, const float eye[3], const float X[3], const float Y[3], const float Z[3],
               float aspect, float nearZ, int drawOwn, int setProjection, int drawAircraft) {
  sceneview& sv = SceneView();
  ViewMatrix(eye, X, Y, Z, sv.view);
  CylindricalBillboard(X, sv.billboard);
  if (!kxgl::HasContext()) return;
  world& w = *TheWorld();
  const sessionsettings& s = session.settings;
  passflags f{viewer, false, false, drawAircraft != 0, w.photo != 0};
  // The eye sits inside the aircraft looked out of, whose insides would
  // fill the picture: the live one's in the cockpit views, the recorded
  // one's in the recorded flight's.
  if (!drawOwn && viewer) {
    f.skipOwn = viewer->view_mode == kViewCockpit || viewer->view_mode == kViewCockpitInstruments;
    f.skipRecorded = viewer->view_mode == kViewRecordCockpit;
  }

  if (setProjection) Projection(w, aspect, nearZ);
  glGetFloatv(GL_PROJECTION_MATRIX, sv.projection);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(sv.view);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_CULL_FACE);
  glColor4f(1, 1, 1, 1);

  const bool fog = s.gl_fog && !f.photo;
  if (fog) {
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_DENSITY, s.fog_density);
  }
  PlaceLights(w, eye);

  if (f.photo) {
    PhotoPass(w, eye, f);
  } else {
    ModelledPass(w);
  }
  if (f.aircraft) Aircraft(f);

  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  TowRope();
  if (f.aircraft) {
    for (const simplayer* p = &players[0]; p; p = p->next)
      if (p->trace.view) DrawTrace(*p);
  }
  glEnable(GL_TEXTURE_2D);

  const bool clouds = !f.photo && s.cloud_type != kCloudsNone;
  const bool below = eye[2] < static_cast<float>(w.cloud_height);
  if (clouds && below) LowClouds(w);
  if (!f.photo && f.aircraft) GroundShadows(w, f, 0.0f);

  TransparentPass(w, eye, X, Y, aspect, nearZ, f);
  if (f.aircraft) Particles(f);

  glDepthMask(GL_TRUE);
  if (clouds && !below) LowClouds(w);
  if (fog) glDisable(GL_FOG);
}

}  // namespace sim
