#include "dynamics/geometry_link.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/hooks.h"
#include "dynamics/body.h"
#include "graphics/geometric_object.h"

namespace {

kxgeometricobject* ChildObject(kxnode* node) { return kxdgeometry::From(node); }

// The body drawn with the object as its own geometry, else null. Parts of a
// body's geometry carry the body as owner too, but only its Geometry object
// takes its frame from it.
kxdbody* BodyOf(const kxgeometricobject* object) {
  kxdbody* body = object ? kxdbody::As(object->Object) : nullptr;
  return body && body->Geometry == object ? body : nullptr;
}

// An object below a body's geometry that another body is drawn with: it and
// its subtree belong to that body.
bool Foreign(const kxgeometricobject* object, const kxdbody* self) {
  kxdbody* body = BodyOf(object);
  return body && body != self;
}

// The object's own parts: the object and its descendants, stopping at other
// bodies' geometry, parents before children.
template <class F>
void OwnParts(kxgeometricobject* object, const kxdbody* self, F&& f) {
  f(object);
  for (kxnode* c = object->firstChild; c; c = c->nextSibling) {
    kxgeometricobject* child = ChildObject(c);
    if (child && !Foreign(child, self)) OwnParts(child, self, f);
  }
}

// World frame of the object's parent: the frame of the nearest body drawn
// with an ancestor, times the Matrix chain below it. Taking the body's frame
// rather than its object's Matrix keeps the result independent of the order
// in which the bodies update their objects.
kxmatrix ParentFrame(const kxgeometricobject* object) {
  // Mostly the parent is a body's own object: its frame is the body's.
  kxmatrix frame;
  bool chain = false;  // frame holds the Matrix chain walked so far
  for (kxgeometricobject* p = ChildObject(object->parent); p; p = ChildObject(p->parent)) {
    if (kxdbody* body = BodyOf(p)) {
      if (!chain) return body->B;
      kxmatrix::Multiply4x4(&frame, &body->B, &frame);
      return frame;
    }
    if (chain) {
      kxmatrix::Multiply4x4(&frame, &p->Matrix, &frame);
    } else {
      frame = p->Matrix;
      chain = true;
    }
  }
  if (!chain) kxmatrix::SetIdentity(&frame);
  return frame;
}

// The inverse of a frame above an object; false when it has none. A visual
// update places many objects below the same few body frames: the last two
// inverses are kept, for a frame equal bit for bit.
bool InverseOf(const kxmatrix& frame, kxmatrix& inverse) {
  struct known {
    kxmatrix frame, inverse;
    bool set;
  };
  static known last[2] = {};
  static int older = 0;
  for (const known& k : last) {
    if (k.set && std::memcmp(&k.frame, &frame, sizeof frame) == 0) {
      inverse = k.inverse;
      return true;
    }
  }
  if (kxmatrix::Invert(frame, inverse) != 0) return false;
  last[older] = {frame, inverse, true};
  older ^= 1;
  return true;
}

// The object's placement in the root's frame: its Matrix chain.
kxmatrix ChainFrame(const kxgeometricobject* object) {
  kxmatrix frame = object->Matrix;
  for (kxgeometricobject* p = ChildObject(object->parent); p; p = ChildObject(p->parent)) {
    kxmatrix::Multiply4x4(&frame, &p->Matrix, &frame);
  }
  return frame;
}

/*
 * Other bodies' geometry hanging below a body's geometry is taken out of the
 * tree while the body is measured, so its mesh adds neither area nor mass
 * and no rebuild or frame of this body resets its Matrix. The graphics
 * integrals walk whole subtrees; a pruned copy of them was the alternative,
 * but two sets of integrals would drift apart. On the way back each object
 * is re-placed relative to its new parent frame from its own body's frame.
 */
class foreignparts {
 public:
  foreignparts(kxgeometricobject* object, const kxdbody* self) { Take(object, self); }
  ~foreignparts() {
    for (auto it = taken.rbegin(); it != taken.rend(); ++it) {
      if (it->before) {
        it->before->InsertAfter(it->object);
      } else {
        it->parent->AddChild(it->object);
      }
    }
    for (const slot& s : taken) kxdgeometry::SetMatrix(s.object, BodyOf(s.object)->B);
  }
  foreignparts(const foreignparts&) = delete;
  foreignparts& operator=(const foreignparts&) = delete;

 private:
  struct slot {
    kxgeometricobject* object;
    kxnode* parent;
    kxnode* before;
  };
  void Take(kxgeometricobject* object, const kxdbody* self) {
    for (kxnode* c = object->firstChild; c;) {
      kxnode* next = c->nextSibling;
      kxgeometricobject* child = ChildObject(c);
      if (child && Foreign(child, self)) {
        // Unlinked in order and put back in reverse, each lands where it was.
        taken.push_back({child, c->parent, c->prevSibling});
        c->Unlink();
      } else if (child) {
        Take(child, self);
      }
      c = next;
    }
  }
  std::vector<slot> taken;
};

}  // namespace

namespace kxdgeometry {

const kxtype* Type() { return &kxgeometricobject::Type; }

kxnode** Field(kxgeometricobject** field) { return reinterpret_cast<kxnode**>(field); }

kxgeometricobject* From(kxnode* node) {
  if (!node || !kxtype::IsDerivedFrom(node->type, &kxgeometricobject::Type)) return nullptr;
  return static_cast<kxgeometricobject*>(node);
}

kxnode* AsNode(kxgeometricobject* object) { return object; }

void SetOwner(kxgeometricobject* object, kxdbody* owner) {
  if (!object) return;
  // Another body's geometry nested below keeps its own owner.
  OwnParts(object, owner, [owner](kxgeometricobject* o) { o->Object = owner; });
}

void SetMatrix(kxgeometricobject* object, const kxmatrix& frame) {
  if (!object) return;
  object->MatrixDraw = frame;
  kxmatrix parent = ParentFrame(object), inverse;
  // A frame's inverse succeeds only with every element finite.
  if (!InverseOf(parent, inverse)) {
    kxcore::Log("kxdynamics:  frame above %s singular\n", object->name.Text());
    return;
  }
  kxmatrix::Multiply4x4(&object->Matrix, &inverse, &frame);
}

void PlaceChildren(kxdbody* body) {
  kxgeometricobject* g = body ? body->Geometry : nullptr;
  if (!g) return;
  OwnParts(g, body, [g](kxgeometricobject* o) {
    if (o == g) return;
    kxgeometricobject* parent = ChildObject(o->parent);
    kxmatrix::Multiply4x4(&o->MatrixDraw, &parent->MatrixDraw, &o->Matrix);
  });
}

void RebaseMesh(kxgeometricobject* object) {
  if (!object) return;
  OwnParts(object, BodyOf(object), [](kxgeometricobject* o) {
    kxmatrix inverse;
    o->RestoreVertices();
    if (kxmatrix::Invert(ChainFrame(o), inverse) == 0) o->Transform(inverse);
  });
}

int ApplyFrame(kxgeometricobject* object, const kxmatrix& frame) {
  if (!object || !object->ApplyFrame(frame)) return 0;
  // The graphics call gave the object the frame itself; below another
  // object it is wanted relative to that object's frame.
  SetMatrix(object, frame);
  return 1;
}

void AnalyseBody(kxdbody* body, const kxvector4r& massOffset) {
  kxgeometricobject* g = body ? body->Geometry : nullptr;
  if (!g) return;
  foreignparts aside(g, body);
  // The rest shape is held in aircraft coordinates: start from it, so a
  // repeated analysis gives the same result.
  g->Rebuild();
  kxvector4r centroid;
  float area = g->SurfaceCentroid(&centroid, kxmatrix::Identity());
  if (area > 0.0f && std::isfinite(centroid.x) && std::isfinite(centroid.y) && std::isfinite(centroid.z)) {
    body->B.R = {centroid.x, centroid.y, centroid.z, 1.0f};
  }
  if (!ApplyFrame(g, body->B)) return;
  float inertia[16];
  if (g->SurfaceInertia(inertia, kxmatrix::Identity()) > 0.0f) {
    bool finite = true;
    for (float v : inertia) finite = finite && std::isfinite(v);
    if (finite) {
      for (int i = 0; i < 16; ++i) body->Inertia[i] = body->Mass * inertia[i];
    }
  }
  body->Inertia[15] = body->Mass;
  // The mass placed off the mesh's centre: the frame moves there, the mesh
  // is expressed in it again and stays where it is drawn.
  if ((massOffset.x != 0.0f || massOffset.y != 0.0f || massOffset.z != 0.0f) && std::isfinite(massOffset.x) &&
      std::isfinite(massOffset.y) && std::isfinite(massOffset.z)) {
    kxmatrix moved = body->B;
    moved.R = {moved.R.x + massOffset.x, moved.R.y + massOffset.y, moved.R.z + massOffset.z, 1.0f};
    g->Rebuild();
    if (ApplyFrame(g, moved)) body->B = moved;
    else ApplyFrame(g, body->B);
  }
  g->UpdateBounds();
  const float* lo = g->boundsMin;
  const float* hi = g->boundsMax;
  if (hi[0] < lo[0] || hi[1] < lo[1] || hi[2] < lo[2]) return;
  for (int k = 0; k < kxdbody::kMaxContactPoints; ++k) {
    body->ContactPoints[k] = {(k & 1) ? hi[0] : lo[0], (k & 2) ? hi[1] : lo[1], (k & 4) ? hi[2] : lo[2], 1.0f};
  }
  body->ContactCount = kxdbody::kMaxContactPoints;
}

void ProjectedAreas(kxgeometricobject* object, float& ax, float& ay, float& az) {
  ax = ay = az = 0.0f;
  if (!object) return;
  foreignparts aside(object, BodyOf(object));
  ax = object->ProjectedArea({1.0f, 0.0f, 0.0f, 0.0f}, kxmatrix::Identity());
  ay = object->ProjectedArea({0.0f, 1.0f, 0.0f, 0.0f}, kxmatrix::Identity());
  az = object->ProjectedArea({0.0f, 0.0f, 1.0f, 0.0f}, kxmatrix::Identity());
  if (!std::isfinite(ax)) ax = 0.0f;
  if (!std::isfinite(ay)) ay = 0.0f;
  if (!std::isfinite(az)) az = 0.0f;
}

void MoveBy(kxgeometricobject* object, const kxmatrix& frame) {
  if (!object) return;
  object->RestoreVertices();
  object->Transform(frame);
  object->StoreVertices();
  for (kxnode* c = object->firstChild; c; c = c->nextSibling) {
    if (kxgeometricobject* child = ChildObject(c)) MoveBy(child, frame);
  }
}

kxnode* NewRoot() { return new kxgeometricobject; }

void Extent(kxgeometricobject* object, const kxvector4r& direction, float* min, float* max) {
  if (!object) return;
  object->ExtentAlong(direction, min, max, ChainFrame(object));
}

}  // namespace kxdgeometry
