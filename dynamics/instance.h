// kxdaircraftinstance: one of the four aircraft slots (Aircraft0, Aircraft1,
// Playback0, Playback1). A slot holds the trees loaded from the aircraft's
// files (component template, geometry template, meshes), the clones that are
// simulated and drawn, and the per-aircraft values the components share
// within a step: slipstream, air velocity, crash and contact flags, the rpm
// value, the engine records and the faces gathered near it.
#pragma once

#include <algorithm>

#include "core/matrix.h"
#include "core/string.h"
#include "core/vector.h"
#include "graphics/collision_near.h"

class kxnode;
class kxdaircraft;
class kxdbody;
struct kxdflightstate;

// One engine's values for the exhaust smoke.
struct kxdenginerecord {
  float throttle;       // 0..1
  float exhaust[3];     // m, world
  float slipstream[3];  // m/s, world
};

class kxdaircraftinstance {
 public:
  static constexpr int kSlots = 4;
  static constexpr int kPlayers = 2;
  static constexpr int kEngineRecords = 4;

  // Slot 0 Aircraft0, 1 Aircraft1, 2 Playback0, 3 Playback1; null outside.
  static kxdaircraftinstance* Slot(int index);
  // The instance loaded for player 0 or 1, null when that slot is empty.
  static kxdaircraftinstance* Loaded(int player);
  // The published state of a slot (players' states for slots 0 and 1).
  static kxdflightstate* FlightStateOf(int slot);
  int IsLoaded() const { return Template != nullptr; }

  // Air velocity at a world point: the instance's air velocity plus its
  // gradient times the offset from the main body; zero without an instance.
  static kxvector4r AirVelocityAt(const kxdaircraftinstance* instance, const kxvector4r& point);
  // The gradient AirVelocityAt applies about the main body, 9 floats (zeros
  // without an instance or a main body): points near one whose air is known
  // take theirs by adding G (p - q).
  static const float* AirGradientOf(const kxdaircraftinstance* instance);
  // m^2; WingArea of the template's direct children of (or derived from)
  // kxdwing00, kxdwing20 or kxdwing10.
  static float TotalWingArea(const kxdaircraftinstance* instance);
  // kg; Mass of the template's top-level bodies, 0 when none.
  static float TotalMass(const kxdaircraftinstance* instance);
  // m; twice the Radius of the first main rotor, 0 when none.
  static float RotorDiameter(const kxdaircraftinstance* instance);
  // m; extent (max - min) of the top-level bodies' geometry along world y
  // (A) or x (B), the running minimum starting at 10 and the maximum at -10
  // (so -20 without geometry).
  static float ExtentA(const kxdaircraftinstance* instance);
  static float ExtentB(const kxdaircraftinstance* instance);
  static void PrepareClone(kxdaircraftinstance* instance);
  static void UpdateTemplateGraphics(kxdaircraftinstance* instance);
  // directory := "aircraft/<name>", name := name.
  static void SetName(kxdaircraftinstance* instance, const char* name);

  // Unloads the player's slot and loads "aircraft/<name>/<name>.kxd" with
  // its geometry into it; 1 on success. Player outside 0..1 or a name that
  // would leave "aircraft/" is refused.
  static int AircraftLoad(const char* name, int player);
  // Releases the slot's sounds, templates and clones (a tow rope on it first).
  static void Unload(kxdaircraftinstance* instance);
  // Clones the geometry template anew for drawing (the simulated clones then
  // wait for RebuildClones); the clone keeps every mesh, blades included.
  static void RebuildGraphics(kxdaircraftinstance* instance);
  // The drawn clone, the State clone and its Change twin, made together so
  // the components' geometry links point into the drawn clone.
  static void RebuildClones(kxdaircraftinstance* instance);
  // Restarts the aircraft with its main body at frame, moving at velocity
  // (m/s, world), and publishes its state at once.
  static void PlaceAt(kxdaircraftinstance* instance, const kxmatrix& frame, const kxvector4r& velocity);

  // The exhaust record an engine resetting now uses: min(counter, 3); the
  // counter stops at 4, so a fifth engine shares the last record.
  int TakeEngineRecord();
  // Clears the per-step values (before a reset or a placement).
  void ClearShared();

  int Player = 0;               // 0 or 1; a playback slot p: p
  kxstring Name;                // aircraft folder name
  kxstring Directory;           // "aircraft/<name>"
  int TypeWord = 0;             // header type word: 2 rotorcraft, 4 glider, 0x20 indoor
  int Locked = 0;               // 1 when the aircraft file locks the aircraft
  kxdaircraft* Template = nullptr;      // loaded components ("~Aircraft")
  kxnode* GeometryTemplate = nullptr;   // loaded geometry ("~Geometry"); null without
  void* Meshes = nullptr;               // the aircraft's mesh list; null without
  kxnode* Graphics = nullptr;           // drawn clone of the geometry template
  kxdaircraft* Clone = nullptr;         // simulated clone in State
  kxdaircraft* Twin = nullptr;          // its twin in Change
  kxdbody* MainBody = nullptr;          // in the template
  float MainBodyLength = 1.0f;          // m, x extent of the main body's geometry
  kxdbody* SimMainBody = nullptr;       // the main body in the clone
  kxvector4r Slipstream = {};   // m/s, world; propeller and rotor wash
  kxvector4r AirVelocity = {};  // m/s, world, at the main body
  float AirGradient[9] = {};    // 1/s; row i: d(air_i)/d(x, y, z)
  int Crash = 0;
  int SurfaceCode = 0;          // 1 water, 8 damage
  int GroundContact = 0;        // a wheel or skid touches this frame
  int WheelContact = 0;
  float RPMValue = 0.0f;        // rpm shown for the aircraft
  int EngineCounter = 0;        // 0..4
  kxdenginerecord Engines[kEngineRecords] = {};
  // What the world gathered around the aircraft for the frame being
  // stepped; its contact queries read it. Valid only during the substeps.
  kxcollnear Near;
  // The part of Near the frame's queries are expected to reach (a sphere
  // about the same centre, kxcollision::NarrowNear); it hands the queries
  // it does not cover to Near. Valid only during the substeps.
  kxcollnear Close;
  // m from the main body: how far the last stepped frame's contact queries
  // reached, what Close covers in the next (with the frame's motion).
  float QueryReach = 0.0f;
  // The set the contact queries ask: Close when made, else Near.
  const kxcollnear* ContactSet() const { return Close.valid ? &Close : &Near; }
  // A sphere the world found empty of any surface for the frame being
  // stepped (radius 0: none known); a contact query wholly inside it has
  // nothing to find and is not asked. Valid only during the substeps.
  kxvector4r ClearCentre = {};  // m, world
  float ClearRadius = 0.0f;     // m
  // Whether every point within extent (m) of p lies deeper inside the clear
  // sphere than a contact query reaches from it; at once while FrameClear.
  bool ClearAround(const kxvector4r& p, float extent) const;
  // ClearAround without the substep's answer for the whole aircraft.
  bool ClearOf(const kxvector4r& p, float extent) const;
  // m from the main body's R within which every contact and strike ask of
  // the frame's substeps stays clear whenever the asks of its parts would
  // (the driver measures it before the substeps from the parts' AskExtent);
  // negative while not bounded. Valid only during the substeps.
  float AskReach = -1.0f;
  // Set by the driver in each substep while a sphere of AskReach about the
  // main body is clear: then every ask of the aircraft is, and none is
  // worked out part by part. Valid only during the substeps.
  bool FrameClear = false;
  unsigned Generation = 0;      // graphics clone generation the clones point into
  unsigned ClonesGeneration = 0;

  int slotIndex = 0;            // position in the slot table
};

// Asked by several parts in every substep: kept where it can be inlined.
inline bool kxdaircraftinstance::ClearAround(const kxvector4r& p, float extent) const {
  return FrameClear || ClearOf(p, extent);
}

inline bool kxdaircraftinstance::ClearOf(const kxvector4r& p, float extent) const {
  // A query reaches at least 0.1 m and at most the diagonal of its points
  // below a surface; the slack covers the rounding of both tests.
  constexpr float kLeastReach = 0.1f;  // m
  constexpr float kSlack = 0.05f;      // m
  if (!(ClearRadius > 0.0f) || !(extent >= 0.0f)) return false;
  float room = ClearRadius - extent - std::max(kLeastReach, 2.0f * extent) - kSlack;
  float dx = p.x - ClearCentre.x, dy = p.y - ClearCentre.y, dz = p.z - ClearCentre.z;
  return room > 0.0f && dx * dx + dy * dy + dz * dz < room * room;
}
