// Sections: names and slots; unloading; clones; loading; placing; commands.
#include "dynamics/load.h"

#include <cmath>
#include <cstring>
#include <string>

#include "core/function.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/node_copy.h"
#include "dynamics/aircraft.h"
#include "dynamics/attach.h"
#include "dynamics/body.h"
#include "dynamics/component_file.h"
#include "dynamics/flight_state.h"
#include "dynamics/fuselage.h"
#include "dynamics/geometry_link.h"
#include "dynamics/header.h"
#include "dynamics/instance.h"
#include "dynamics/registry.h"
#include "dynamics/summary.h"
#include "dynamics/tow.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh_load.h"
#include "platform/files.h"

namespace {

// ---- names and slots

const char* const kSlotNames[kxdaircraftinstance::kSlots] = {"Aircraft0", "Aircraft1", "Playback0", "Playback1"};

bool IsPlayback(const kxdaircraftinstance* instance) { return instance->slotIndex >= kxdaircraftinstance::kPlayers; }

void SetInstance(kxnode* node, kxdaircraftinstance* instance) {
  for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
    if (kxdbody* b = kxdbody::As(c)) b->Instance = instance;
    SetInstance(c, instance);
  }
}

kxdbody* FindMainBody(kxdaircraft* root) {
  for (kxnode* c = root->firstChild; c; c = c->nextSibling) {
    if (c->type == &kxdfuselage00::Type) return kxdbody::As(c);
  }
  for (kxnode* c = root->firstChild; c; c = c->nextSibling) {
    kxdbody* b = kxdbody::As(c);
    if (b && b->Mass > 0.0f) return b;
  }
  return nullptr;
}

// Takes off a rope whose hooks lie in the tree, so no hook is left pointing
// at a deleted rope and no rope at deleted hooks.
void DetachRopes(kxnode* tree) {
  kxnode* state = kxdynamics::Tree(kxdynamics::kxdtree::kState);
  if (!tree || !state) return;
  for (kxnode* c = state->firstChild; c;) {
    kxnode* next = c->nextSibling;
    kxdrope00* rope = kxdrope00::As(c);
    if (rope) {
      for (kxdhook00* h : rope->Hooks) {
        if (h && (h == tree || h->IsDescendantOf(tree))) {
          kxdynamics::RebuildChange(rope);
          break;
        }
      }
    }
    c = next;
  }
}

// m; x extent of the main body's geometry, 1 without one.
float MainBodyLength(kxdbody* main) {
  if (!main || !main->Geometry) return 1.0f;
  float lo = INFINITY, hi = -INFINITY;
  kxdgeometry::Extent(main->Geometry, {1.0f, 0.0f, 0.0f, 0.0f}, &lo, &hi);
  return hi > lo ? hi - lo : 1.0f;
}

template <class T>
void DeleteNode(T*& node) {
  delete node;
  node = nullptr;
}

}  // namespace

// ---- unloading

void kxdaircraftinstance::Unload(kxdaircraftinstance* instance) {
  if (!instance) return;
  DetachRopes(instance->Clone);
  DeleteNode(instance->Twin);
  DeleteNode(instance->Clone);
  DeleteNode(instance->Graphics);
  DeleteNode(instance->Template);
  DeleteNode(instance->GeometryTemplate);
  instance->Meshes = nullptr;
  instance->MainBody = instance->SimMainBody = nullptr;
  instance->MainBodyLength = 1.0f;
  instance->TypeWord = instance->Locked = 0;
  instance->Name = "";
  instance->Directory = "";
  instance->AirVelocity = {};
  for (float& g : instance->AirGradient) g = 0.0f;
  instance->RPMValue = 0.0f;
  instance->ClearShared();
  kxdynamics::PublishRoots(instance);
}

// ---- clones

void kxdaircraftinstance::RebuildGraphics(kxdaircraftinstance* instance) {
  if (!instance) return;
  DeleteNode(instance->Graphics);
  if (instance->GeometryTemplate) {
    kxclonemap map;
    instance->Graphics = instance->GeometryTemplate->Clone(kxdynamics::Tree(kxdynamics::kxdtree::kInvisible));
    map.CopyAll();
  }
  // The simulated clones point into the old drawn clone until rebuilt.
  ++instance->Generation;
  kxdynamics::PublishRoots(instance);
}

void kxdaircraftinstance::RebuildClones(kxdaircraftinstance* instance) {
  if (!instance || !instance->Template) return;
  DetachRopes(instance->Clone);
  DeleteNode(instance->Twin);
  DeleteNode(instance->Clone);
  DeleteNode(instance->Graphics);
  {
    kxclonemap map;
    if (instance->GeometryTemplate) {
      instance->Graphics = instance->GeometryTemplate->Clone(kxdynamics::Tree(kxdynamics::kxdtree::kInvisible));
    }
    // Playback clones are drawn, never stepped: they stay out of State.
    kxnode* parent = IsPlayback(instance) ? nullptr : kxdynamics::Tree(kxdynamics::kxdtree::kState);
    instance->Clone = kxdaircraft::As(instance->Template->Clone(parent));
    map.CopyAll();
    instance->SimMainBody = kxnode::Remap(instance->MainBody);
  }
  // Components added since the load (the designer) learn their owner too.
  SetInstance(instance->Template, instance);
  if (instance->Clone) SetInstance(instance->Clone, instance);
  if (instance->Clone && !IsPlayback(instance)) {
    instance->Twin = kxdaircraft::As(instance->Clone->Clone(kxdynamics::Tree(kxdynamics::kxdtree::kChange)));
  }
  instance->ClonesGeneration = ++instance->Generation;
  kxdynamics::PublishRoots(instance);
}

// ---- loading

namespace kxdload {

int IsSafeName(const char* name) { return kxsystem::IsPlainName(name); }

namespace {

std::vector<std::string>& Problems() {
  static std::vector<std::string> problems;
  return problems;
}

// The mesh "<base>.tgo", else "<base>.obj"; without a usable one the
// aircraft would fly unseen, which is said once here.
kxgeometry* LoadMesh(const std::string& base) {
  kxgeometry* meshes = nullptr;
  const std::string files[2] = {base + ".tgo", base + ".obj"};
  for (const std::string& file : files) {
    if (kxsystem::GetFileSize(file.c_str()) > 0) {
      kxgl::LoadGeometry(file.c_str(), &meshes, 1, 0);
      if (meshes) return meshes;
      AddLoadProblem("its mesh " + file + " does not load");
      return nullptr;
    }
  }
  std::string problem = kxsystem::ReadProblem(files[1].c_str());
  if (problem == kxsystem::kNotFound) problem = kxsystem::ReadProblem(files[0].c_str());
  kxcore::Log("kxdynamics:  %s.tgo or .obj: %s; the aircraft has no mesh\n", base.c_str(), problem.c_str());
  AddLoadProblem("it has no mesh (" + base + ".tgo or .obj: " + problem + ")");
  return nullptr;
}

}  // namespace

const std::vector<std::string>& LoadProblems() { return Problems(); }

// A file can name a missing airfoil in every line: the log has each, the
// notice a few; the count stays bounded when no load empties it (the
// designer's edits).
constexpr size_t kMaxProblems = 32;

void AddLoadProblem(const std::string& text) {
  if (Problems().size() < kMaxProblems) Problems().push_back(text);
}

int LoadSlot(int slot, const char* name) {
  kxdaircraftinstance* instance = kxdaircraftinstance::Slot(slot);
  if (!instance) return 0;
  kxdaircraftinstance::Unload(instance);
  Problems().clear();
  const char* shown = name ? name : "";
  // The result line is written whole at the end: the readers log their own
  // lines on the way.
  auto result = [shown](int ok) {
    kxcore::Log("kxdynamics:  loading aircraft %s=%s\n", shown, ok ? "ok" : "fail");
    return ok;
  };
  if (!IsSafeName(name)) return result(0);
  std::string directory = std::string("aircraft/") + name;
  std::string base = directory + "/" + name;
  std::string components = base + ".kxd";
  // Read once: the header is parsed from the text the components run from.
  std::string componentText;
  if (!kxdload::ReadComponentText(components.c_str(), componentText)) return result(0);
  kxdheader header;
  header.Parse(componentText.data(), componentText.size());

  kxdaircraft* root = new kxdaircraft;
  kxnode* geometry = kxdgeometry::NewRoot();
  if (!root || !geometry) {
    delete root;
    delete geometry;
    return result(0);
  }
  root->name = geometry->name = kSlotNames[slot];
  root->Instance = instance;
  kxdynamics::Tree(kxdynamics::kxdtree::kInitial)->AppendChild(root);
  kxdynamics::Tree(kxdynamics::kxdtree::kTemplates)->AppendChild(geometry);
  instance->Template = root;
  instance->GeometryTemplate = geometry;

  // The mesh first: the geometry script's objects take its elements by group.
  kxgeometry* meshes = LoadMesh(base);
  kxscript::SetAlias("Aircraft", root);
  kxscript::SetAlias("Geometry", geometry);
  kxgeometricobject::SetScriptFolder(directory.c_str());
  kxscript::ReadFileWithin((base + ".kxg").c_str(), geometry);
  kxgeometricobject::SetScriptFolder("");
  if (meshes) {
    kxgeometricobject::AttachMesh(static_cast<kxgeometricobject*>(geometry), meshes);
    instance->Meshes = meshes;
  }
  kxdload::RunComponentText(components.c_str(), componentText, root);
  kxscript::ClearAlias("Aircraft");
  kxscript::ClearAlias("Geometry");
  // A file that made no component (empty, another encoding, not text) is
  // no aircraft: loading it would give a player nothing to fly.
  if (instance->Template && !instance->Template->firstChild)
    kxcore::Log("kxdynamics:  %s: no component in it\n", components.c_str());
  if (!instance->Template || !instance->Template->firstChild) {
    kxdaircraftinstance::Unload(instance);
    return result(0);
  }

  SetInstance(root, instance);
  instance->Name = name;
  instance->Directory = directory;
  instance->TypeWord = header.type;
  instance->Locked = root->Lock;
  instance->MainBody = FindMainBody(root);
  kxdsystem::Summary(instance);
  instance->MainBodyLength = MainBodyLength(instance->MainBody);
  kxdaircraftinstance::RebuildClones(instance);
  instance->ClearShared();
  kxdaircraftinstance::PrepareClone(instance);
  if (instance->Clone) instance->Clone->ResetState();
  kxdynamics::Publish(instance, 0.0f);
  return result(1);
}

}  // namespace kxdload

int kxdaircraftinstance::AircraftLoad(const char* name, int player) {
  if (player < 0 || player >= kPlayers) {
    kxcore::Log("kxdynamics:  loading aircraft %s=fail\n", name ? name : "");
    return 0;
  }
  return kxdload::LoadSlot(player, name);
}

// ---- placing

void kxdaircraftinstance::PlaceAt(kxdaircraftinstance* instance, const kxmatrix& frame, const kxvector4r& velocity) {
  if (!instance || !instance->Template) return;
  RebuildClones(instance);
  if (!instance->Clone) return;
  kxdbody* main = instance->SimMainBody;
  if (main) {
    // Every body moves rigidly with the main body onto the pose.
    kxmatrix inverse, move;
    kxmatrix::Invert(main->B, inverse);
    kxmatrix::Multiply4x4(&move, &frame, &inverse);
    instance->Clone->ApplyMatrix(move);
  }
  instance->ClearShared();
  PrepareClone(instance);
  instance->Clone->ResetState();
  kxvector4r v = {std::isfinite(velocity.x) ? velocity.x : 0.0f, std::isfinite(velocity.y) ? velocity.y : 0.0f,
                  std::isfinite(velocity.z) ? velocity.z : 0.0f, 0.0f};
  struct start {
    static void Walk(kxnode* node, const kxvector4r& v) {
      for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
        if (kxdbody* b = kxdbody::As(c)) {
          if (!b->ParentBody && !b->Held) {
            b->P = {v.x * b->SystemMass, v.y * b->SystemMass, v.z * b->SystemMass, 0.0f};
            b->DeriveMotion();
          }
        }
        Walk(c, v);
      }
    }
    static void Follow(kxnode* node, unsigned pass) {
      for (kxnode* c = node->firstChild; c; c = c->nextSibling) {
        if (kxdbody* b = kxdbody::As(c)) b->Follow(pass);
        Follow(c, pass);
      }
    }
  };
  start::Walk(instance->Clone, v);
  start::Follow(instance->Clone, kxdbody::NewPass());
  kxdynamics::Publish(instance, 0.0f);
}

// ---- commands

namespace kxdynamics {

namespace {
void AircraftLoadCommand(const char* name, int player) { kxdaircraftinstance::AircraftLoad(name, player); }
}  // namespace

void RegisterLoadCommand() {
  kxfunction* f = kxfunction::Find("AircraftLoad");
  if (f) return;
  f = new kxfunction("AircraftLoad");
  f->BindHandler([](const kxargs& args) -> kxvalueptr {
    kxstring name = args.String(0);
    AircraftLoadCommand(name.Text(), args.Int(1));
    return kxvoid();
  });
  kxfunction::Register(f);
}

kxnode* LoadPlayback(const char* name, int p) {
  if (p < 0 || p > 1) return nullptr;
  if (!kxdload::LoadSlot(kxdaircraftinstance::kPlayers + p, name)) return nullptr;
  return kxdaircraftinstance::Slot(kxdaircraftinstance::kPlayers + p)->Graphics;
}

}  // namespace kxdynamics
