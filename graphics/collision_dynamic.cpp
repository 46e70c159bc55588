// Moving collision objects: one per dynamic scenery entry, with its faces in
// the entry's own frame, so that the wind update only moves the frame.
#include <cstring>

#include "core/hooks.h"
#include "graphics/collision_face.h"
#include "graphics/collision_world.h"
#include "graphics/mesh.h"
#include "graphics/reserve_bridge.h"
#include "graphics/scenery_records.h"

int kxcolldynamic::Build(kxcollision* w, const kxgeometrydynobject* first) {
  if (!w) return 0;
  Free(w);
  int count = 0;
  for (const kxgeometrydynobject* e = first; e; e = e->next) ++count;
  if (!count) return 1;
  if (!kxgl::ReserveBytes(&w->dynamicBlock, sizeof(kxcolldynamic) * count, "kxcolldynamic")) return 0;
  kxcolldynamic* objects = static_cast<kxcolldynamic*>(w->dynamicBlock);
  w->dynamics = objects;
  int index = 0;
  for (const kxgeometrydynobject* e = first; e; e = e->next, ++index) {
    kxcolldynamic* o = objects + index;
    o->frame = &e->frame;
    o->next = index + 1 < count ? objects + index + 1 : nullptr;
    int triangles = 0;
    for (const kxgeometry* el = e->mesh; el; el = el->next) triangles += el->triangleCount;
    if (!triangles) continue;
    void* faces = nullptr;
    void* edges = nullptr;
    if (!kxgl::ReserveBytes(&faces, sizeof(kxcollface) * triangles, "kxcolldynfaces") ||
        !kxgl::ReserveBytes(&edges, sizeof(kxcolledge) * 3 * triangles, "kxcolldynedges")) {
      kxgl::ReleaseBytes(&faces);
      kxcore::Log("gl:  collision object %s=fail\n", e->path);
      return 0;
    }
    o->faces = static_cast<kxcollface*>(faces);
    o->edges = static_cast<kxcolledge*>(edges);
    int n = 0;
    for (const kxgeometry* el = e->mesh; el; el = el->next) {
      int surface = kxcollision::SurfaceCode(el->name);
      for (int t = 0; t < el->triangleCount; ++t) {
        float p[3][3];
        bool ok = true;
        for (int k = 0; k < 3; ++k) ok = ok && kxgeometry::GetVertexPosition(el, static_cast<int>(el->triangles[3 * t + k]), p[k]);
        kxcollface* f = o->faces + n;
        if (!ok || !kxcollbuild::MakeFace(p[0], p[1], p[2], f, o->edges + 3 * n)) continue;
        f->surface = surface;
        f->frame = e->frame.Data();
        f->sunDot = kxcollbuild::Dot3(f->normal, w->sun);
        f->id = n;
        if (n > 0) o->faces[n - 1].next = f;
        ++n;
      }
    }
    o->faceCount = n;
  }
  return 1;
}

void kxcolldynamic::Free(kxcollision* w) {
  if (!w) return;
  for (kxcolldynamic* o = w->dynamics; o; o = o->next) {
    void* faces = o->faces;
    void* edges = o->edges;
    kxgl::ReleaseBytes(&faces);
    kxgl::ReleaseBytes(&edges);
    o->faces = nullptr;
    o->edges = nullptr;
    o->faceCount = 0;
  }
  w->dynamics = nullptr;
  kxgl::ReleaseBytes(&w->dynamicBlock);
}
