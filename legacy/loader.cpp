// Sections: paths; mass data; mesh parts; loading; unloading.
#include "legacy/loader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/hooks.h"
#include "graphics/draw.h"
#include "graphics/mesh.h"
#include "graphics/mesh_load.h"
#include "legacy/blur_texture.h"
#include "legacy/dns_reader.h"
#include "legacy/dynamics.h"
#include "legacy/factory.h"
#include "legacy/mesh_binding.h"
#include "legacy/model_names.h"
#include "legacy/parts.h"
#include "legacy/pool.h"
#include "legacy/sound_commands.h"
#include "platform/files.h"
#include "platform/sound.h"

namespace dnsmodel {
namespace {

// ---- paths -----------------------------------------------------------------------

constexpr const char* kModelFolder = "airlark/aircraft/";
constexpr const char* kPiccoloFolder = "aircraft/piccolo/";
constexpr int32_t kTypePropeller = 2, kTypePowered = 5, kTypeMass = 6, kTypeRotor = 10;
constexpr float kLoadWindDirection = 1.7f;   // rad
constexpr float kLoadWindSpeed = 1.0f;       // m/s
constexpr int kClearedControls = 16;

std::string MeshPath(const char* name) {
  if (IsPiccoloModel(name)) return std::string(kPiccoloFolder) + kPiccoloModel + ".tgo";
  return std::string(kModelFolder) + name + ".obj";
}

// ---- mass data -------------------------------------------------------------------

// The model's mass, inertia, inverse inertia and control expo from its mass
// part. The inverse and the expo are the fields after the frame of a dummy
// (XT, YT, ZT, Expo) or of a wing (X0, Y0, Z0, Ca0); other classes have
// none, and the model gets a zero inverse: it does not turn.
void TakeMassData(dynamicsystem* root, object* p) {
  root->mass = p->M;
  SetRows(root->inertia, Load(p->X), Load(p->Y), Load(p->Z));
  if (dummy* d = As<dummy>(p)) {
    SetRows(root->inverseInertia, Load(d->XT), Load(d->YT), Load(d->ZT));
    root->controlExpo = d->Expo;
  } else if (wing* w = As<wing>(p)) {
    SetRows(root->inverseInertia, Load(w->X0), Load(w->Y0), Load(w->Z0));
    root->controlExpo = w->Ca0;
  } else {
    SetRows(root->inverseInertia, {0, 0, 0}, {0, 0, 0}, {0, 0, 0});
    root->controlExpo = 0.0f;
    kxcore::Log("dnsmodel:  mass part %s is a %s, which holds no inverse inertia; the model does not turn\n", p->Name,
                p->GetTypeName());
  }
}

void ScanParts(dynamicsystem* root, dnsstate* record) {
  record->hasType10 = 0;
  record->noType2or5 = 1;
  object* massPart = nullptr;
  for (object* p = root->objects; p; p = p->next) {
    if (p->Type == kTypeRotor) record->hasType10 = 1;
    if (p->Type == kTypePropeller || p->Type == kTypePowered) record->noType2or5 = 0;
    if (p->Type == kTypeMass) massPart = p;
  }
  if (massPart) TakeMassData(root, massPart);
  if (!(root->mass > 0.0f && std::isfinite(root->mass))) {
    kxcore::Log("dnsmodel:  %s has no mass; it stays where it is placed\n", record->name);
  }
}

// ---- mesh parts ------------------------------------------------------------------

bool Named(const object* list, const char* name) {
  for (; list; list = list->next) {
    if (std::strncmp(list->Name, name, kNameBytes) == 0) return true;
  }
  return false;
}

// A drawn part at the identity frame for every element that no part names;
// an element without a name is named "Graphic%03d" with the count of such
// elements so far, and so is its part.
void AddMeshParts(dynamicsystem* root, kxgeometry* geometry) {
  int unnamed = 0;
  for (kxgeometry* el = geometry; el; el = el->next) {
    if (!el->name[0]) {
      std::snprintf(el->name, sizeof el->name, "Graphic%03d", unnamed++);
    } else if (std::strlen(el->name) >= kNameBytes) {
      // A part name holds 31 characters; the element takes the shortened
      // name too, so its part still finds it.
      kxcore::Log("dnsmodel:  mesh element %s is named with more than %d characters; shortened\n", el->name,
                  kNameBytes - 1);
      el->name[kNameBytes - 1] = '\0';
    }
    if (Named(root->objects, el->name)) continue;
    auto* part = static_cast<puregraphic*>(CreateObject("puregraphic"));
    if (!part) {
      kxcore::Log("dnsmodel:  no room in the pool for the part of mesh element %s; the rest are not drawn\n", el->name);
      return;
    }
    object& o = part->base;
    std::memcpy(o.Name, el->name, kNameBytes - 1);
    Store(o.X, {1, 0, 0});
    Store(o.Y, {0, 1, 0});
    Store(o.Z, {0, 0, 1});
    o.next = root->objects;
    root->objects = &o;
  }
}

// An engine's shaft is integrated against its inertia, which Init made the
// file's plus what its propellers and rotors reflect onto it.
void ReportStillShafts(const dynamicsystem* root) {
  for (object* p = root->objects; p; p = p->next) {
    const engine* e = As<engine>(p);
    if (e && !(e->Constant > kConstantShaftAbove) && !(e->Inertia > 0.0f)) {
      kxcore::Log("dnsmodel:  engine %s has no inertia; its shaft does not turn\n", p->Name);
    }
  }
}

}  // namespace

// ---- loading ---------------------------------------------------------------------

int LoadWithPropBlur(const char* name, int soundOn, int* kind) {
  dnsstate& record = Runtime().state;
  // Loading over a model still held would leak its parts and sounds.
  if (record.model) Unload();
  if (!name || std::strlen(name) >= sizeof record.name) {
    kxcore::Log("dnsmodel:  model name %.40s... is longer than %d characters; not loaded\n", name ? name : "",
                kModelNameBytes - 1);
    return 0;
  }
  record.hasType10 = 0;
  record.noType2or5 = 0;
  record.soundOn = soundOn;
  std::snprintf(record.name, sizeof record.name, "%s", name);
  LoadActive(&record);
  record.blurTexture = MakeBlurTexture();
  SetRows(record.transform, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
  SetRows(record.pose, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
  if (kind) *kind = KindCode(&record);
  kxgl::UploadGeometryTextures(record.geometry);
  return record.model ? 1 : 0;
}

int KindCode(const dnsstate* record) {
  if (record->hasType10) return kKindHelicopter;
  return record->noType2or5 ? kKindGlider : kKindPlane;
}

void LoadActive(dnsstate* record) { LoadModel(&Runtime().root, record); }

void LoadModel(dynamicsystem** rootHolder, dnsstate* record) {
  dnsruntime& rt = Runtime();
  const bool piccolo = IsPiccoloModel(record->name);
  rt.piccoloModel = piccolo ? 1 : 0;
  RestartPendingSounds();
  auto* root = static_cast<dynamicsystem*>(CreateObject("dynamicsystem"));
  *rootHolder = record->model = root;
  record->parts = nullptr;
  if (!root) {
    kxcore::Log("dnsmodel:  no room in the pool for model %s\n", record->name);
    EndPendingSounds();
    return;
  }
  root->stateRecord = record;
  std::string path = std::string(piccolo ? kPiccoloFolder : kModelFolder) + record->name + ".dns";
  root->objects = record->parts = ReadDnsFile(path.c_str());
  ScanParts(root, record);

  interaction::Clear(&root->interaction);
  interaction::AddSegment(&root->interaction, 0, 0, 0, 0, 0, 0);
  Store(root->axisX, {1, 0, 0});
  Store(root->axisY, {0, 1, 0});
  Store(root->axisZ, {0, 0, 1});
  SetRows(root->toBody, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
  SetColumns(root->toWorld, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
  root->density = kAirDensity;
  root->status = kStatusCalm;
  // Until the ground below is first found, it is level at height 0.
  record->groundLevel = 0.0f;
  Store(record->terrainNormal, {0, 0, 1});

  LoadGeometry(record);
  AddMeshParts(root, record->geometry);
  record->parts = root->objects;
  for (object* p = root->objects; p; p = p->next) {
    BindPartMesh(p, record->geometry);
    p->Init(root);
    p->Update(root);
  }
  ReportStillShafts(root);
  interaction::Reset(&root->interaction);
  Store(root->slipstream, {0, 0, 0});
  wind::Set(&rt.wind, kLoadWindDirection, kLoadWindSpeed);
  std::fill(record->controls, record->controls + kClearedControls, 0.0f);
  EndPendingSounds();
  RunSoundCommands(rt.soundCommands);
}

int LoadGeometry(dnsstate* record) {
  return kxgl::LoadGeometry(MeshPath(record->name).c_str(), &record->geometry, 0, 0) ? 1 : 0;
}

void FreeModel(dnsstate* record) {
  FreeParts(record->parts);
  if (record->model) PoolFree(CurrentPool(), record->model);
}

// ---- unloading -------------------------------------------------------------------

void Unload() {
  dnsruntime& rt = Runtime();
  dnsstate& record = rt.state;
  kxcore::Log("DELETE BEGIN AL\n");
  FreeModel(&record);
  kxgeometry::Free(&record.geometry);
  for (int i = 0; i < record.soundCount; ++i) directsound::DeleteSound(record.sounds[i]);
  record.soundCount = 0;
  record.parts = nullptr;
  record.model = nullptr;
  rt.root = nullptr;
  kxcore::Log("DELETE END AL\n");
}

}  // namespace dnsmodel
