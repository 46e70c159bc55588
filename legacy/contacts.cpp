// Sections: the contact table; gathering the scenery; bumps; the segment
// query; the ground below the model.
#include "legacy/contacts.h"

#include <cmath>

#include "core/hooks.h"
#include "graphics/collision_world.h"
#include "legacy/model_state.h"
#include "legacy/vec3.h"

namespace dnsmodel {

// ---- the contact table -------------------------------------------------------

void interaction::Clear(interaction* table) {
  for (int32_t& flag : table->inUse) flag = 0;
  table->usedContacts = nullptr;
}

int interaction::AddSegment(interaction* table, float ax, float ay, float az, float bx, float by, float bz) {
  for (int i = 0; i < kContactPoints; ++i) {
    if (table->inUse[i]) continue;
    table->inUse[i] = 1;
    contactpoint& p = table->contacts[i];
    Store(p.pointA, {ax, ay, az});
    Store(p.pointB, {bx, by, bz});
    p.nextContact = table->usedContacts;
    table->usedContacts = &p;
    return i;
  }
  kxcore::Log("dnsmodel:  all %d contact points are claimed; a part goes without ground contact\n", kContactPoints);
  return -1;
}

void interaction::Reset(interaction* table) {
  constexpr int kBumpFirst = 4, kBumpLast = 5;
  constexpr float kBumpHeight = 1.0f;  // cm
  for (auto& row : table->bumpGrid) {
    for (float& g : row) g = 0.0f;
  }
  for (int i = kBumpFirst; i <= kBumpLast; ++i) {
    for (int j = kBumpFirst; j <= kBumpLast; ++j) table->bumpGrid[i][j] = kBumpHeight;
  }
}

// ---- gathering the scenery ---------------------------------------------------

namespace {

constexpr int kProbes = 9;

bool Inside(const float p[3], const float lo[3], const float hi[3]) {
  for (int k = 0; k < 3; ++k) {
    if (!(p[k] >= lo[k] && p[k] <= hi[k])) return false;
  }
  return true;
}

// The collision root is the faces' box with little padding: over level
// ground it is 2 m thick, so the probes of a model 1 to 4 m up would all
// lie outside it, no face would be gathered, and a fast descent could pass
// through the ground within one frame. A probe is therefore moved into the
// root box; the face tests that follow still drop whatever is too far from
// the model, so a model far from the scenery still gathers nothing of it.
void ClampInto(float p[3], const float lo[3], const float hi[3]) {
  for (int k = 0; k < 3; ++k) p[k] = p[k] < lo[k] ? lo[k] : p[k] > hi[k] ? hi[k] : p[k];
}

// The leaf a point falls into: the first child when the point lies in its
// box, else the second, whose box is not tested.
const kxcollnode* LeafOf(const kxcollnode* n, const float p[3]) {
  while (n->second) n = n->first && Inside(p, n->first->min, n->first->max) ? n->first : n->second;
  return n;
}

// A triangle crossing cells has a copy in each of their leaves; the
// world's marks keep one report per triangle and query.
bool FirstReport(kxcollision* w, const kxcollface* f) {
  if (!w->marks || f->id < 0 || f->id >= w->faceCount) return true;
  if (w->marks[f->id] == w->query) return false;
  w->marks[f->id] = w->query;
  return true;
}

void StartQuery(kxcollision* w) {
  if (++w->query != 0) return;
  for (int i = 0; i < w->faceCount && w->marks; ++i) w->marks[i] = 0;
  w->query = 1;
}

}  // namespace

void GatherScenery(kxcollision* w, const float c[3], float r) {
  if (!w) return;
  w->nearCursor = 0;
  w->nearFaces[0] = nullptr;
  for (int k = 0; k < 3; ++k) {
    w->boxMin[k] = c[k] - r;
    w->boxMax[k] = c[k] + r;
    w->centre[k] = c[k];
  }
  w->radius = r;
  const kxcollnode* cells[kProbes];
  int cellCount = 0;
  if (w->root) {
    const float* lo = w->boxMin;
    const float* hi = w->boxMax;
    float probes[kProbes][3] = {{lo[0], lo[1], lo[2]}, {lo[0], hi[1], lo[2]}, {hi[0], lo[1], lo[2]},
                                      {hi[0], hi[1], lo[2]}, {lo[0], lo[1], hi[2]}, {lo[0], hi[1], hi[2]},
                                      {hi[0], lo[1], hi[2]}, {hi[0], hi[1], hi[2]}, {c[0], c[1], c[2]}};
    for (float* p : probes) {
      ClampInto(p, w->rootMin, w->rootMax);
      const kxcollnode* leaf = LeafOf(w->root, p);
      bool known = false;
      for (int i = 0; i < cellCount; ++i) known = known || cells[i] == leaf;
      if (!known) cells[cellCount++] = leaf;
    }
  }
  StartQuery(w);
  const v3 centre = Load(c);
  for (int i = 0; i < cellCount; ++i) {
    for (kxcollface* f = cells[i]->faces; f; f = f->next) {
      if (!(std::fabs(Dot(Load(f->normal), centre) - f->d) < r)) continue;
      v3 toCentre = Load(f->centre) - centre;
      float reach = f->radius + r;
      if (!(Dot(toCentre, toCentre) < reach * reach)) continue;
      if (!FirstReport(w, f)) continue;
      if (!kxcollision::AppendNear(w, f)) break;
    }
  }
  if (w->nearObjectPass) w->nearObjectPass(w);
  w->nearFaces[w->nearCursor] = nullptr;
}

// ---- bumps -------------------------------------------------------------------

namespace {

constexpr float kBumpCellsPerMetre = 10.0f;
constexpr float kBumpUnit = 0.01f;          // m per grid unit
constexpr float kBumpSlopeScale = -0.1f;    // normalOffset per unit of slope

void Bump(contactpoint& p, const float (&g)[kBumpGridSide][kBumpGridSide]) {
  float u = kBumpCellsPerMetre * (p.pointA[0] - std::floor(p.pointA[0]));
  float v = kBumpCellsPerMetre * (p.pointA[1] - std::floor(p.pointA[1]));
  if (!std::isfinite(u) || !std::isfinite(v)) return;
  // The fraction of a coordinate that has lost its precision may round to
  // exactly 1; the cell index stays inside the grid.
  int i = static_cast<int>(u), j = static_cast<int>(v);
  i = i > kBumpGridSide - 2 ? kBumpGridSide - 2 : i;
  j = j > kBumpGridSide - 2 ? kBumpGridSide - 2 : j;
  float fu = u - static_cast<float>(i), fv = v - static_cast<float>(j);
  float h;
  v3 slope;
  if (fu + fv < 1.0f) {
    h = (1.0f - fu - fv) * g[i][j] + fu * g[i + 1][j] + fv * g[i][j + 1];
    slope = {g[i][j] - g[i + 1][j], g[i][j] - g[i][j + 1], 0.0f};
  } else {
    h = (1.0f - fu) * g[i][j + 1] + (fu + fv - 1.0f) * g[i + 1][j + 1] + (1.0f - fv) * g[i + 1][j];
    slope = {g[i][j + 1] - g[i + 1][j + 1], g[i + 1][j] - g[i + 1][j + 1], 0.0f};
  }
  Store(p.normalOffset, kBumpSlopeScale * slope);
  p.pointA[2] -= kBumpUnit * h;
  p.pointB[2] -= kBumpUnit * h;
}

}  // namespace

void ApplyBumps(interaction* table) {
  for (contactpoint* p = table->usedContacts; p; p = p->nextContact) Bump(*p, table->bumpGrid);
}

// ---- the segment query -------------------------------------------------------

namespace {

// A face in world coordinates: a moving object's faces are kept in its own
// frame, fixed scenery's in the world's.
struct placedface {
  const kxcollface* face;
  const float* m;   // the object's column-major frame; null for fixed scenery
  v3 normal;
  float d;

  explicit placedface(const kxcollface* f) : face(f), m(f->frame), normal(Load(f->normal)), d(f->d) {
    if (!m) return;
    normal = Rotate(m, normal);
    v3 p0 = f->edges ? Load(f->edges->point) : v3{0, 0, 0};
    d = Dot(normal, Rotate(m, p0) + Translation(m));
  }

  // A point on an edge counts as inside.
  bool Contains(v3 x) const {
    for (const kxcolledge* e = face->edges; e; e = e->next) {
      float s = m ? Dot(Rotate(m, Load(e->normal)), x - (Rotate(m, Load(e->point)) + Translation(m)))
                  : Dot(Load(e->normal), x) - e->distance;
      if (s < 0.0f) return false;
    }
    return true;
  }
};

void Query(const kxcollision* w, contactpoint& p) {
  p.contactCount = 0;
  if (!w) return;
  const v3 a = Load(p.pointA), b = Load(p.pointB);
  for (kxcollface* const* f = w->nearFaces; *f && p.contactCount < kContactsPerPoint; ++f) {
    placedface face(*f);
    float da = face.d - Dot(face.normal, a);
    float db = face.d - Dot(face.normal, b);
    if (!(da * db < 0.0f)) continue;
    v3 x = a + (b - a) * (da / (da - db));
    if (!face.Contains(x)) continue;
    int k = p.contactCount++;
    Store(p.normal[k], da <= db ? face.normal : -face.normal);
    p.depth[k] = std::fabs(da);
    p.surface[k] = (*f)->surface;
  }
}

}  // namespace

void QueryContacts(const kxcollision* world, contactpoint* first) {
  for (contactpoint* p = first; p; p = p->nextContact) Query(world, *p);
}

void QueryWorldContacts(contactpoint* first) { QueryContacts(kxcollision::Current(), first); }

int ChosenContact(const contactpoint& point) {
  int best = 0;
  for (int k = 1; k < point.contactCount && k < kContactsPerPoint; ++k) {
    if (point.depth[k] > point.depth[best]) best = k;
  }
  return best;
}

// ---- the ground below the model ------------------------------------------------

int FindGroundBelow(dnsstate* record, const kxcollision* world) {
  return record->model ? FindGroundBelowPoint(record, world, record->model->position) : 0;
}

int FindGroundBelowPoint(dnsstate* record, const kxcollision* world, const float p[3]) {
  if (!record->model) return 0;
  float height = 0.0f, normal[3];
  if (!kxcollision::FindGround(world, p, &height, normal)) return 0;
  record->groundLevel = height;
  Store(record->terrainNormal, Load(normal));
  return 1;
}

}  // namespace dnsmodel
