// Bringing one legacy model into memory and taking it out again. A model is
// read from "airlark/aircraft/<name>.dns" with its mesh "<name>.obj" beside
// it; the model named "piccolo" (in any case) is read from
// "aircraft/piccolo/", and when named exactly so takes "piccolo.tgo" there.
// Only one model is loaded at a time, into the runtime's model record.
#pragma once

namespace dnsmodel {

struct dnsstate;
struct dynamicsystem;

// The kind code the simulator keeps in the model's flight state: a model
// with a rotor (a part of Type 10) flies as a helicopter, one without any
// power (no part of Type 2 or 5) as a glider, every other as a plane.
constexpr int kKindHelicopter = 34;
constexpr int kKindGlider = 4;
constexpr int kKindPlane = 0;

// Loads the model named name (without folder or extension) into the
// runtime, with the propeller-blur texture and the mesh's textures, sound
// started only while soundOn is set; kind receives its kind code. A model
// still loaded is unloaded first. A name of 64 characters or more is
// refused with a log line. 1 when the runtime holds a model afterwards
// (possibly empty, when its file is missing), 0 when nothing was loaded.
int LoadWithPropBlur(const char* name, int soundOn, int* kind);

// The loaded model's kind code.
int KindCode(const dnsstate* record);

// LoadModel into the runtime's one record and root.
void LoadActive(dnsstate* record);

// Reads the record's named model: the root, the parts with the mass data of
// the last part of Type 6, a part for each mesh element no part names
// ("Graphic%03d" for an element without a name), each part bound to its
// mesh, initialised and at rest, and the load-time sounds. A missing file
// gives a model of its mesh elements only; without room in the pool the
// model stays empty (a log line). The record's name must be set.
void LoadModel(dynamicsystem** root, dnsstate* record);

// The record's mesh into its geometry; 1 when the file loaded.
int LoadGeometry(dnsstate* record);

// Returns every part and then the root to the pool; the record's pointers
// are left as they are.
void FreeModel(dnsstate* record);

// Takes the loaded model out: parts and root back to the pool, the mesh
// freed, the sounds deleted, and the record's parts, model and geometry
// cleared so nothing reaches the freed blocks. Framed by "DELETE BEGIN AL"
// and "DELETE END AL" in the log.
void Unload();

}  // namespace dnsmodel
