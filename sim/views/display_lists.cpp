#include "sim/views/display_lists.h"

#include <GL/gl.h>

#include "dynamics/flight_state.h"
#include "graphics/draw.h"
#include "graphics/geometric_object.h"
#include "graphics/gl_frame.h"
#include "graphics/mesh.h"
#include "graphics/scenery_records.h"
#include "graphics/texture_table.h"
#include "sim/player.h"
#include "sim/views/part_walk.h"
#include "sim/views/element_draw.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr float kStaticShininess = 50.0f;

void DeleteList(int id) {
  if (glIsList(static_cast<GLuint>(id))) glDeleteLists(static_cast<GLuint>(id), 1);
}

void StaticObjects(const world& w) {
  const kxtexture* bound = nullptr;
  for (const kxgeometryobject* o = w.objects; o; o = o->next) {
    for (const kxgeometry* el = o->mesh; el; el = el->next) {
      if (el->transparent) continue;
      BindElementTexture(el, &bound);
      SetFrontAndBackMaterial(el, kStaticShininess);
      kxgl::DrawElementPlain(el);
    }
  }
}

int NewList(int* nextId) {
  int id = (*nextId)++;
  glNewList(static_cast<GLuint>(id), GL_COMPILE);
  return id;
}

}  // namespace

void BuildSceneryLists() {
  if (!kxgl::HasContext()) return;
  const world& w = *TheWorld();
  DeleteList(kListStatics);
  DeleteList(kListGround);
  for (const kxgeometryobject* o = w.objects; o; o = o->next) UploadElementTextures(o->mesh);
  UploadElementTextures(w.ground);
  glNewList(kListStatics, GL_COMPILE);
  StaticObjects(w);
  glEndList();
  glNewList(kListGround, GL_COMPILE);
  if (w.ground) kxgl::DrawGeometry(w.ground);
  glEndList();
}

void BuildPartLists(const kxgeometricobject* node, int* nextId, int plain) {
  ForEachPart(node, [&](const kxgeometricobject* child) { BuildPartLists(child, nextId, plain); });
  if (plain) {
    NewList(nextId);
    kxgl::DrawGeometryPlain(node->mesh);
    glEndList();
  } else if (node->Flags & kxgeometricobject::kFlagList) {
    UploadElementTextures(node->mesh);
    NewList(nextId);
    kxgl::DrawGeometry(node->mesh);
    glEndList();
  }
}

void BuildAircraftLists(simplayer* player, int* nextId) {
  if (!player || !player->flight_state || !kxgl::HasContext()) return;
  const kxgeometricobject* root = kxnode::As<kxgeometricobject>(player->flight_state->graphics_root);
  if (!root) return;
  player->list_textured = *nextId;
  ForEachPart(root, [&](const kxgeometricobject* child) { BuildPartLists(child, nextId, 0); });
  if (root->Flags & kxgeometricobject::kFlagList) {
    UploadElementTextures(root->mesh);
    NewList(nextId);
    kxgl::DrawGeometry(root->mesh);
    glEndList();
  }
  player->list_plain = *nextId;
  player->list_shadow = *nextId;
  ForEachPart(root, [&](const kxgeometricobject* child) { BuildPartLists(child, nextId, 1); });
  NewList(nextId);
  kxgl::DrawGeometryPlain(root->mesh);
  glEndList();
}

}  // namespace sim
