#include "sim/views/aircraft_draw.h"

#include <GL/gl.h>

#include "dynamics/flight_state.h"
#include "graphics/draw.h"
#include "graphics/geometric_object.h"
#include "graphics/gl_frame.h"
#include "graphics/mesh.h"
#include "sim/app_hooks.h"
#include "sim/player.h"
#include "sim/views/part_walk.h"
#include "sim/views/reflection.h"

namespace sim {
namespace {

const kxgeometricobject* RootOf(const simplayer* player) {
  if (!player || !player->flight_state) return nullptr;
  return kxnode::As<kxgeometricobject>(player->flight_state->graphics_root);
}

// The next list, reflecting by the part's shininess while reflections are on.
void CallPartList(const kxgeometricobject* part, int* counter) {
  if (ReflectionsOn()) {
    BeginReflection(part->Shiny);
    glCallList(static_cast<GLuint>(*counter));
    EndReflection();
  } else {
    glCallList(static_cast<GLuint>(*counter));
  }
  ++*counter;
}

}  // namespace

void DrawPartLists(const kxgeometricobject* part, int* counter) {
  glPushMatrix();
  glMultMatrixf(part->Matrix.Data());
  ForEachPart(part, [&](const kxgeometricobject* child) { DrawPartLists(child, counter); });
  if (part->Flags & kxgeometricobject::kFlagList) CallPartList(part, counter);
  glPopMatrix();
}

void DrawPartsDirect(const kxgeometricobject* part) {
  glPushMatrix();
  glMultMatrixf(part->Matrix.Data());
  ForEachPart(part, [](const kxgeometricobject* child) { DrawPartsDirect(child); });
  if ((part->Flags & kxgeometricobject::kFlagDirect) && part->mesh) kxgl::DrawElement(part->mesh);
  glPopMatrix();
}

void DrawPartTree(const kxgeometricobject* node, int wholeGeometry) {
  glPushMatrix();
  glMultMatrixf(node->Matrix.Data());
  ForEachPart(node, [&](const kxgeometricobject* child) { DrawPartTree(child, wholeGeometry); });
  if (wholeGeometry) {
    kxgl::DrawGeometry(node->mesh);
  } else if (node->mesh && node->mesh->transparent) {
    kxgl::DrawElement(node->mesh);
  }
  glPopMatrix();
}

void DrawAircraftLists(const simplayer* player) {
  const kxgeometricobject* root = RootOf(player);
  if (!root || !kxgl::HasContext()) return;
  int counter = player->list_textured;
  glPushMatrix();
  glMultMatrixf(root->Matrix.Data());
  ForEachPart(root, [&](const kxgeometricobject* child) { DrawPartLists(child, &counter); });
  if (root->Flags & kxgeometricobject::kFlagList) CallPartList(root, &counter);
  glPopMatrix();
}

void DrawAircraft(const simplayer* player, int withLegacy) {
  if (!player || !kxgl::HasContext()) return;
  if (const kxgeometricobject* root = RootOf(player)) {
    DrawAircraftLists(player);
    glPushMatrix();
    glMultMatrixf(root->Matrix.Data());
    ForEachPart(root, [](const kxgeometricobject* child) { DrawPartsDirect(child); });
    if ((root->Flags & kxgeometricobject::kFlagDirect) && root->mesh) kxgl::DrawElement(root->mesh);
    glPopMatrix();
  }
  if (withLegacy && player->legacy) {
    const applicationhooks& hooks = Hooks();
    if (hooks.legacy_view_solid) hooks.legacy_view_solid();
    if (hooks.legacy_view_rest) hooks.legacy_view_rest();
  }
}

}  // namespace sim
