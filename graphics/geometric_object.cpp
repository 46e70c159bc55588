// kxgeometricobject: fields, script members, ownership of the mesh, and the
// distribution of a loaded aircraft mesh over the tree by element group.
#include "graphics/geometric_object.h"

#include <cmath>
#include <cstring>
#include <string>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/reference.h"
#include "graphics/file_bytes.h"
#include "graphics/mesh.h"
#include "graphics/mesh_load.h"
#include "platform/files.h"

kxtype kxgeometricobject::Type{"kxgeometricobject", sizeof(kxgeometricobject), kxcreate<kxgeometricobject>};

namespace {

std::string& ScriptFolder() {
  static std::string folder;
  return folder;
}

// "Matrix = { 16 values }": the script's placement, which is also the
// current frame. A list with a non-finite number changes neither.
class matrixref : public kxfloatsref {
 public:
  explicit matrixref(kxgeometricobject* o) : kxfloatsref(o->Matrix.Data(), 16), object(o) {}
  int Assign(const kxvalue& from) override {
    kxmatrix m = object->Matrix;
    kxfloatsref target(m.Data(), 16);
    if (!target.Assign(from)) return 0;
    for (int i = 0; i < 16; ++i) {
      if (!std::isfinite(m[i])) {
        kxcore::Log("gl:  matrix of %s not finite\n", object->name.Text());
        return 0;
      }
    }
    object->Matrix = m;
    object->MatrixObj = m;
    return 1;
  }
  kxgeometricobject* object;
};

// Path of node below root: "" for root, "A/B" for a grandchild.
std::string PathBelow(const kxnode* node, const kxnode* root) {
  std::string path;
  for (const kxnode* n = node; n && n != root; n = n->parent) {
    path = path.empty() ? std::string(n->name.Text()) : std::string(n->name.Text()) + "/" + path;
  }
  return path;
}

void CollectObjects(kxgeometricobject* o, std::vector<kxgeometricobject*>& out) {
  out.push_back(o);
  for (kxnode* c = o->firstChild; c; c = c->nextSibling) {
    if (kxtype::IsDerivedFrom(c->type, &kxgeometricobject::Type)) {
      CollectObjects(static_cast<kxgeometricobject*>(c), out);
    }
  }
}

void AppendElement(kxgeometry** list, kxgeometry* el) {
  el->next = nullptr;
  while (*list) list = &(*list)->next;
  *list = el;
}

}  // namespace

kxgeometricobject::kxgeometricobject() {
  type = &Type;
  kxmatrix::SetIdentity(&Matrix);
  kxmatrix::SetIdentity(&MatrixObj);
  kxmatrix::SetIdentity(&MatrixDraw);
  X = &Matrix.X;
  Y = &Matrix.Y;
  Z = &Matrix.Z;
  R = &Matrix.R;
  std::memset(&box, 0, sizeof box);
  const float zero[3] = {0, 0, 0};
  kxboxrecord::Set(&box, zero, zero);
  for (int k = 0; k < 3; ++k) boundsMin[k] = boundsMax[k] = 0.0f;
}

kxgeometricobject::~kxgeometricobject() {
  if (ownsMesh) kxgeometry::Free(&mesh);
}

kxvalueptr kxgeometricobject::GetMember(const char* member, const kxargs& args) {
  if (!member) return kxnode::GetMember(member, args);
  if (std::strcmp(member, "Matrix") == 0) return kxvalueptr(new matrixref(this));
  kxvector4r* axis = std::strcmp(member, "X") == 0   ? X
                     : std::strcmp(member, "Y") == 0 ? Y
                     : std::strcmp(member, "Z") == 0 ? Z
                     : std::strcmp(member, "R") == 0 ? R
                                                      : nullptr;
  if (axis) return kxvalueptr(new kxvectorref(&axis->x));
  if (std::strcmp(member, "Shiny") == 0) return kxvalueptr(new kxrealref(&Shiny));
  if (std::strcmp(member, "Mesh") == 0) {
    kxstring file = args.String(0);
    if (!file.Length() || !kxsystem::NameStaysInside(file.Text(), "gl:  mesh ")) return nullptr;
    std::string path = file.Text();
    if (!ScriptFolder().empty()) path = ScriptFolder() + "/" + path;
    kxgeometry* list = nullptr;
    if (!kxgl::LoadGeometry(path.c_str(), &list, 1, 0)) return nullptr;
    // A second "Mesh" replaces the first rather than doubling every part.
    std::vector<kxgeometricobject*> objects;
    CollectObjects(this, objects);
    for (kxgeometricobject* o : objects) {
      if (o->ownsMesh) kxgeometry::Free(&o->mesh);
      o->ownsMesh = 0;
      o->mesh = nullptr;
    }
    AttachMesh(this, list);
    return kxvoid();
  }
  return kxnode::GetMember(member, args);
}

void kxgeometricobject::CopyTo(kxnode* other) {
  if (!other || !kxtype::IsDerivedFrom(other->type, &Type)) return;
  kxgeometricobject* o = static_cast<kxgeometricobject*>(other);
  o->Matrix = Matrix;
  o->MatrixObj = MatrixObj;
  o->MatrixDraw = MatrixDraw;
  o->X = Remap(X);
  o->Y = Remap(Y);
  o->Z = Remap(Z);
  o->R = Remap(R);
  // The clone draws the same mesh; only the loading object frees it.
  if (o->ownsMesh && o->mesh != mesh) kxgeometry::Free(&o->mesh);
  o->mesh = mesh;
  o->ownsMesh = 0;
  o->Object = Remap(Object);
  o->box = box;
  o->box.list[0] = nullptr;
  o->Flags = Flags;
  o->discTexture = discTexture;
  o->discRadius = discRadius;
  o->Shiny = Shiny;
  std::memcpy(o->boundsMin, boundsMin, sizeof boundsMin);
  std::memcpy(o->boundsMax, boundsMax, sizeof boundsMax);
}

int kxgeometricobject::GetMemberName(const void* position, kxstring& out) {
  const char* names[] = {"X", "Y", "Z", "R"};
  const kxvector4r* axes[] = {X, Y, Z, R};
  for (int i = 0; i < 4; ++i) {
    if (position == axes[i]) {
      out = names[i];
      return 1;
    }
  }
  if (position == &Shiny) {
    out = "Shiny";
    return 1;
  }
  return 0;
}

kxgeometricobject* kxgeometricobject::FromValue(const kxvalue* value) {
  return kxnode::FromValue<kxgeometricobject>(value);
}

void kxgeometricobject::SetOwner(kxnode* owner) {
  Object = owner;
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    if (kxtype::IsDerivedFrom(c->type, &Type)) static_cast<kxgeometricobject*>(c)->SetOwner(owner);
  }
}

void kxgeometricobject::SetMesh(kxgeometry* list) {
  if (ownsMesh && mesh != list) kxgeometry::Free(&mesh);
  mesh = list;
  ownsMesh = list ? 1 : 0;
  UpdateBounds();
}

void kxgeometricobject::SetScriptFolder(const char* folder) { ScriptFolder() = folder ? folder : ""; }

void kxgeometricobject::AttachMesh(kxgeometricobject* root, kxgeometry* list) {
  if (!root) return;
  std::vector<kxgeometricobject*> objects;
  CollectObjects(root, objects);
  std::vector<kxgeometry*> elements;
  if (list) {
    for (kxgeometry* el = list; el; el = el->next) elements.push_back(el);
  } else {
    // Shared meshes belong to another tree and stay where they are.
    for (kxgeometricobject* o : objects) {
      if (!o->ownsMesh) continue;
      for (kxgeometry* el = o->mesh; el; el = el->next) elements.push_back(el);
    }
  }
  if (!list) {
    for (kxgeometricobject* o : objects) {
      if (o->ownsMesh) o->mesh = nullptr;
    }
  }
  std::vector<std::string> paths;
  paths.reserve(objects.size());
  for (kxgeometricobject* o : objects) paths.push_back(PathBelow(o, root));
  for (kxgeometry* el : elements) {
    kxgeometricobject* target = root;
    for (size_t i = 0; i < objects.size(); ++i) {
      if (paths[i] == el->group) {
        target = objects[i];
        break;
      }
    }
    if (target->mesh && !target->ownsMesh) target->mesh = nullptr;
    AppendElement(&target->mesh, el);
    target->ownsMesh = 1;
  }
  root->UpdateBounds();
}

int kxgeometricobject::MeshBytes(kxgeometricobject* root, int binary, std::string* out) {
  if (!root || !out) return 0;
  std::vector<kxgeometricobject*> objects;
  CollectObjects(root, objects);
  // Chain every element into one list for the writer, then put the links back.
  std::vector<std::pair<kxgeometry*, kxgeometry*>> links;
  kxgeometry* head = nullptr;
  kxgeometry* tail = nullptr;
  for (kxgeometricobject* o : objects) {
    std::string group = PathBelow(o, root);
    for (kxgeometry* el = o->mesh; el; el = el->next) {
      std::snprintf(el->group, sizeof el->group, "%s", group.c_str());
      links.emplace_back(el, el->next);
    }
  }
  for (auto& [el, next] : links) {
    (void)next;
    if (tail) {
      tail->next = el;
    } else {
      head = el;
    }
    tail = el;
  }
  if (tail) tail->next = nullptr;
  if (head) *out = binary ? kxgeometry::BinaryBytes(head) : kxgeometry::TextBytes(head);
  for (auto& [el, next] : links) el->next = next;
  return head ? 1 : 0;
}

int kxgeometricobject::WriteMesh(kxgeometricobject* root, const char* path, int binary) {
  std::string bytes;
  if (!path || !MeshBytes(root, binary, &bytes)) return 0;
  return kxgl::WriteFileBytes(path, bytes.data(), bytes.size());
}

namespace kxgraphics {

void RegisterTypes() { kxtype::RegisterDerived(&kxgeometricobject::Type, &kxnode::Type); }

}  // namespace kxgraphics
