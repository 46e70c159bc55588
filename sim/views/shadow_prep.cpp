#include "sim/views/shadow_prep.h"

#include <algorithm>
#include <cmath>

#include "core/arguments.h"
#include "core/string.h"
#include "core/value.h"
#include "dynamics/aircraft.h"
#include "dynamics/body.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/propeller.h"
#include "dynamics/components/tail_rotor.h"
#include "dynamics/instance.h"
#include "graphics/draw.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "platform/log.h"
#include "sim/app_hooks.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/views/blur_disc.h"
#include "sim/views/loading_screen.h"
#include "sim/world/scenery_mesh.h"

namespace sim {

namespace {

/*
 * The aircraft's drawn tree is a clone of its geometry template, and every
 * start of the dynamics clones it anew from the template. The draw kinds and
 * blur discs are therefore worked out on the template (whose frames also hold
 * the aircraft in its own coordinates, never at a place in the scenery) and
 * copied onto the clone drawn now; later clones copy them from the template.
 */
void CopyDrawFields(const kxgeometricobject* from, kxgeometricobject* to) {
  to->Flags = from->Flags;
  to->discTexture = from->discTexture;
  to->discRadius = from->discRadius;
  kxnode* a = from->firstChild;
  kxnode* b = to->firstChild;
  for (; a && b; a = a->nextSibling, b = b->nextSibling) {
    const kxgeometricobject* ga = kxnode::As<kxgeometricobject>(a);
    kxgeometricobject* gb = kxnode::As<kxgeometricobject>(b);
    if (ga && gb) CopyDrawFields(ga, gb);
  }
}

kxgeometricobject* Template(kxdaircraftinstance* instance) {
  return instance ? kxnode::As<kxgeometricobject>(instance->GeometryTemplate) : nullptr;
}

// Moves the box by minus the point: its corners and extent from there.
void OffsetQuad(shadowquad* q, const kxvector4r& from) {
  const float at[3] = {from.x, from.y, from.z};
  for (int k = 0; k < 3; ++k) {
    q->min[k] -= at[k];
    q->max[k] -= at[k];
  }
  for (float* corner : q->corners) {
    corner[2] -= at[0];
    corner[3] -= at[1];
  }
}

kxgeometricobject* Drawn(const simplayer* p) {
  return p->flight_state ? kxnode::As<kxgeometricobject>(p->flight_state->graphics_root) : nullptr;
}

// The template's draw kinds, copied onto the clone drawn now.
void ClassifyAndCopy(simplayer* p, kxdaircraftinstance* instance) {
  kxgeometricobject* tree = Template(instance);
  ClassifyDrawKinds(tree);
  kxgeometricobject* drawn = Drawn(p);
  if (tree && drawn) CopyDrawFields(tree, drawn);
  else ClassifyDrawKinds(drawn);
}

// Whether a rotating part of the aircraft still lacks its blur disc.
bool MissingDiscs(kxdaircraftinstance* instance) {
  if (!instance || !instance->Template) return false;
  for (kxnode* c = instance->Template->firstChild; c; c = c->nextSibling) {
    kxdbody* component = IsRotatingComponent(c) ? kxdbody::As(c) : nullptr;
    if (component && component->Geometry && !component->Geometry->discTexture) return true;
  }
  return false;
}

}  // namespace

void ClassifyDrawKinds(kxgeometricobject* object) {
  if (!object) return;
  for (kxnode* c = object->firstChild; c; c = c->nextSibling)
    if (kxgeometricobject* child = kxnode::As<kxgeometricobject>(c)) ClassifyDrawKinds(child);
  // A rotor's or propeller's own object often holds no mesh (its blades are
  // its children): its blur disc is drawn all the same.
  const bool disc = object->Object && object->discTexture;
  int kind = kDrawPlain;
  if (!object->mesh) kind = disc ? kDrawRotating : kDrawNone;
  else if (object->mesh->transparent) kind = kDrawTransparent;
  else if (disc) kind = kDrawDisc;
  else if (object->Object && IsRotatingComponent(object->Object)) kind = kDrawRotating;
  object->Flags = kind;
}

void GenerateShadow(int player) {
  simplayer* p = Player(player);
  if (!p || !p->flight_state) return;
  const sessionsettings& s = session.settings;
  kxdflightstate* st = p->flight_state;
  kxstring name;
  name.Format("%sshadow%d", player == 0 ? s.aircraft0 : s.aircraft1, player);
  st->shadow_texture_name = name.Text();
  kxsystem::Log("generating shadow %s=", name.Text());
  shadowquad& q = st->shadow;
  if (p->legacy) {
    if (Hooks().legacy_get_bounds) Hooks().legacy_get_bounds(&q);
    else q = shadowquad();
  } else {
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(player);
    const kxgeometricobject* tree = Template(instance);
    if (!tree) tree = Drawn(p);
    // A null tree would measure the whole scenery: an aircraft without
    // geometry gets the empty box instead.
    if (tree) CollectBounds(tree, nullptr, &q);
    else q = shadowquad();
    // The flight state, its placement and its shadow go by the main body's
    // frame, which need not lie at the aircraft's origin (a helicopter's
    // fuselage sits above its skids): the box is measured from it.
    // Without a loaded instance (the box came from the drawn tree) there is
    // no main body to measure from: the box stays as the tree gives it.
    if (tree && instance && instance->MainBody) OffsetQuad(&q, instance->MainBody->B.R);
  }
  const int size = s.gl_shadow_texture_size;
  q.texture = kxgl::CreateTexture(name.Text(), kxgl::kTypeRGBA, size, size, kxgl::kFilterLinear, kxgl::kWrapClamp,
                                  kxgl::kWrapClamp, 0);
  p->record_store.shadow_texture = kxgl::CreateTexture("recshadow", kxgl::kTypeRGBA, size, size, kxgl::kFilterLinear,
                                                       kxgl::kWrapClamp, kxgl::kWrapClamp, 0);
  float r = std::max(std::max(std::fabs(q.min[0]), std::fabs(q.max[0])), std::max(std::fabs(q.min[1]), std::fabs(q.max[1])));
  q.min[0] = q.min[1] = -r;
  q.max[0] = q.max[1] = r;
  for (int k = 0; k < 3; ++k) {
    st->bounds_min[k] = q.min[k];
    st->bounds_max[k] = q.max[k];
  }
  st->radius = q.size;
  kxsystem::Log("radius=%.2f  bbmin=(%.2f %.2f %.2f)  bbmax=(%.2f %.2f %.2f)\n", q.size, q.min[0], q.min[1], q.min[2],
                q.max[0], q.max[1], q.max[2]);
}

void CreateBlurDiscs(int player) {
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(player);
  if (!instance || !instance->Template) return;
  for (kxnode* c = instance->Template->firstChild; c; c = c->nextSibling) {
    if (!IsRotatingComponent(c)) continue;
    kxdbody* component = kxdbody::As(c);
    kxgeometricobject* object = component ? component->Geometry : nullptr;
    if (!object) continue;
    kxstring name;
    name.Format("blurr%s\n", object->name.Text());
    kxsystem::Log("sim:  creating blurr=%s\n", object->name.Text());
    double radius = 0.0;
    kxvalueptr value = c->GetMember("Radius", kxargs::None());
    if (value) value->GetNumber(radius);
    object->discRadius = static_cast<float>(radius);
    if (!object->discTexture)
      RenderShadowTexture(object, name.Text(), object->discRadius, session.settings.gl_procedural_texture_size);
  }
}

void PrepareAircraftGraphics(int player) {
  simplayer* p = Player(player);
  if (!p) return;
  if (p->legacy) {
    GenerateShadow(player);
    return;
  }
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(player);
  if (instance) kxgl::UploadGeometryTextures(static_cast<const kxgeometry*>(instance->Meshes));
  GenerateShadow(player);
  ClassifyAndCopy(p, instance);
}

void PrepareFlightGraphics(int player) {
  simplayer* p = Player(player);
  if (!p || p->legacy || !p->flight_state) return;
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(player);
  if (!MissingDiscs(instance)) return;
  const char* name = player == 0 ? session.settings.aircraft0 : session.settings.aircraft1;
  DrawLoadingScreen(1, "loading aircraft %d %s", player + 1, name);
  CreateBlurDiscs(player);
  ClassifyAndCopy(p, instance);
}

int IsRotatingComponent(const kxnode* component) {
  if (!component) return 0;
  const kxtype* t = component->type;
  return t == &kxdrotor00::Type || t == &kxdrotor01::Type || t == &kxdtailrotor00::Type || t == &kxdpropeller00::Type;
}

}  // namespace sim
