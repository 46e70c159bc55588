// Sections: the argument scanner; the loading pass and its state; objects;
// settings of the scenery; start positions and lights; contests; the
// keyword table; the two passes.
#include "sim/world/scenery_file.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/hooks.h"
#include "core/maths.h"
#include "core/numbers.h"
#include "core/string.h"
#include "graphics/mesh.h"
#include "graphics/mesh_load.h"
#include "platform/files.h"
#include "platform/random.h"
#include "platform/text.h"
#include "sim/world/balloons.h"
#include "sim/world/blocks.h"
#include "sim/world/photo_grid.h"
#include "sim/world/scenery_mesh.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr const char* kSceneryFolder = "scenery/";
constexpr size_t kFileChars = 120;        // a mesh file name: "scenery/" + it fits a 128-byte path
constexpr size_t kWordChars = 32;         // option and kind words
constexpr int kMaxGridSide = 60;          // more tiles per row or column leave no segments
constexpr float kDefaultProbeStep = 50.0f;  // m
constexpr float kWheelSpinMin = 0.9f;     // wind-wheel spin factor 0.9 .. 1.1
constexpr float kWheelSpinRange = 0.2f;
// m: a balloon's radius is up to twice its size, and its mesh, bounds and
// collision body scale with it (their volumes with its cube); no scenery
// needs more, and far more would leave the shape without finite numbers.
constexpr float kMaxBalloonSize = 1.0e6f;

// ---- the argument scanner

// Reads blank-separated arguments as the conversions %d, %f and %s would:
// each from where the last one stopped, all failing after the first that
// fails, and a failed read leaves its target as it was. Numbers must be
// finite. A word longer than its buffer is consumed and logged, fails, and
// does not stop the words after it.
class argscan {
 public:
  explicit argscan(const char* text) : p_(text) {}

  bool Int(int* out) {
    if (!Begin()) return false;
    long long value = 0;
    size_t n = kxnumber::ReadLeadingInt(p_, value);
    if (!n) return Stop();
    p_ += n;
    *out = static_cast<int>(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
    return true;
  }

  bool Real(float* out) {
    if (!Begin()) return false;
    float value = 0.0f;
    size_t n = kxnumber::ReadLeading(p_, value);
    if (!n) {
      // A value no float holds ("nan", "1e40") is said: the line falls back
      // on its defaults, and the author would not know why.
      std::string_view word(p_, std::strcspn(p_, " \t\r\n\v\f"));
      if (kxnumber::IsNonFiniteFloatText(word))
        kxcore::Log("sim:    %s is no finite number; the rest of its line is not read\n", kxexcerpt(word).c_str());
      return Stop();
    }
    p_ += n;
    *out = value;
    return true;
  }

  bool Word(char* out, size_t capacity) {
    if (!Begin()) return false;
    size_t n = 0;
    while (p_[n] && !std::isspace(static_cast<unsigned char>(p_[n]))) ++n;
    std::string_view word(p_, n);
    p_ += n;
    skipped_ = n >= capacity;
    if (skipped_) {
      kxcore::Log("sim:    word of %zu characters too long, skipped\n", n);
      return false;
    }
    std::memcpy(out, word.data(), n);
    out[n] = 0;
    return true;
  }
  // The last word was too long for its buffer.
  bool Skipped() const { return skipped_; }

 private:
  bool Begin() {
    skipped_ = false;
    if (!ok_) return false;
    while (std::isspace(static_cast<unsigned char>(*p_))) ++p_;
    return *p_ ? true : Stop();
  }
  bool Stop() {
    ok_ = false;
    return false;
  }

  const char* p_;
  bool ok_ = true;
  bool skipped_ = false;
};

// ---- the loading pass and its state

struct loadpass {
  world* w;
  float position[3] = {0, 0, 0};   // POSITION, m
  float rotation[3] = {0, 0, 0};   // ROTATE, degrees
  float scale[3] = {1, 1, 1};      // SCALE
  float sphere[3] = {0, 0, 0};     // PHOTOSPHERE, degrees
  contestrec* contest = nullptr;   // opened by the last CONTEST line
  int objectCapacity = 0;          // entries of the arrays sized by the counting pass
  int dynCapacity = 0;
  int objectCount = 0;             // entries filled
  int dynCount = 0;
};

using reader = void (*)(loadpass& s, argscan& in);

std::string SceneryPath(const char* file) { return std::string(kSceneryFolder) + file; }

// A file a scenery names must stay inside the data folder; one that would
// leave it is refused with a log line.
bool Inside(const char* file) { return !*file || kxsystem::NameStaysInside(file, "sim:    "); }

bool Exists(const std::string& path) { return kxsystem::GetFileSize(path.c_str()) > 0; }

void ReadThree(argscan& in, float v[3]) {
  for (int k = 0; k < 3; ++k) in.Real(&v[k]);
}

// ---- objects

void ReadObject(loadpass& s, argscan& in) {
  char file[kFileChars] = "", second[kWordChars] = "";
  bool named = in.Word(file, sizeof file);
  bool tooLong = in.Skipped();
  in.Word(second, sizeof second);
  if (tooLong || !Inside(file)) return;
  std::string path = SceneryPath(file);
  std::string twin = path.substr(0, path.size() - 4) + ".tgo";
  if (!named || (!Exists(path) && !Exists(twin))) {
    kxcore::Log("sim:    object %s not found\n", path.c_str());
    return;
  }
  if (s.objectCount >= s.objectCapacity) return;
  int ground = kxsystem::StrStartsNoCase(second, "GROUND");
  kxgeometryobject* e = s.w->objects + s.objectCount;
  *e = kxgeometryobject{};
  e->flags = ground ? kObjectGround : 0u;
  std::snprintf(e->path, sizeof e->path, "%s", path.c_str());
  int loaded = kxgl::LoadGeometry(e->path, &e->mesh, 1, 0);
  kxcore::Log("sim:    loading %s %s=%s\n", ground ? "ground object" : "object", e->path, loaded ? "ok" : "fail");
  if (!loaded) return;
  TransformObject(e, s.position, s.rotation, s.scale);
  for (kxgeometry* el = e->mesh; el; el = el->next)
    if (kxsystem::StrStartsNoCase(el->name, "T__")) el->transparent = 1;
  if (s.objectCount > 0) s.w->objects[s.objectCount - 1].next = e;
  ++s.objectCount;
}

void ReadDynObject(loadpass& s, argscan& in) {
  char file[kFileChars] = "", kind[kWordChars] = "";
  float position[3] = {0, 0, 0};
  bool named = in.Word(file, sizeof file);
  bool tooLong = in.Skipped();
  ReadThree(in, position);
  in.Word(kind, sizeof kind);
  if (tooLong || !Inside(file)) return;
  std::string path = SceneryPath(file);
  if (!named || !Exists(path)) {
    kxcore::Log("sim:    dynobject %s not found\n", path.c_str());
    return;
  }
  if (s.dynCount >= s.dynCapacity) return;
  kxgeometrydynobject* e = s.w->dynobjects + s.dynCount;
  *e = kxgeometrydynobject{};
  std::snprintf(e->path, sizeof e->path, "%s", path.c_str());
  std::memcpy(e->position, position, sizeof position);
  if (!kxgl::LoadGeometry(e->path, &e->mesh, 1, 0)) {
    kxcore::Log("sim:    loading dynobject %s=fail\n", e->path);
    return;
  }
  kxcore::Log("sim:    loading dynobject %s=  (pos=%.2f,%.2f,%.2f)\n", e->path, position[0], position[1], position[2]);
  if (kxsystem::StrStartsNoCase(kind, "wwblades")) {
    e->kind = kDynWindBlades;
    e->spin = kWheelSpinMin + kWheelSpinRange * kxsystem::Random();
    e->angle = 360.0f * kxsystem::Random();
    // The blades turn about their centre of volume, which becomes the hub;
    // blades without a volume stay where they are, about their own origin.
    if (!CenterOfVolume(e->mesh, 1, e->hub, &e->volume)) e->hub[0] = e->hub[1] = e->hub[2] = 0.0f;
  } else if (kxsystem::StrStartsNoCase(kind, "wwbase")) {
    e->kind = kDynWindBase;
  }
  // Until the wind update turns it, the object stands unturned at its place.
  kxmatrix::SetIdentity(&e->frame);
  e->frame.R = {position[0] + e->hub[0], position[1] + e->hub[1], position[2] + e->hub[2], 1.0f};
  if (s.dynCount > 0) s.w->dynobjects[s.dynCount - 1].next = e;
  ++s.dynCount;
}

// GROUND and OCEAN: a later line of the same keyword loads into the same place.
void ReadMesh(argscan& in, kxgeometry** slot, const char* what) {
  char file[kFileChars] = "";
  in.Word(file, sizeof file);
  if (!Inside(file)) return;
  std::string path = SceneryPath(file);
  if (kxgl::LoadGeometry(path.c_str(), slot, 1, 0)) kxcore::Log("sim:    loading %s %s\n", what, path.c_str());
  else kxcore::Log("sim:    failed to load %s %s\n", what, path.c_str());
}

void ReadGround(loadpass& s, argscan& in) { ReadMesh(in, &s.w->ground, "ground"); }
void ReadOcean(loadpass& s, argscan& in) { ReadMesh(in, &s.w->ocean, "ocean"); }

// ---- settings of the scenery

void ReadScenerySize(loadpass& s, argscan& in) {
  int size = 0;
  if (in.Int(&size) && size > 0) s.w->scenery_size = size;
}

void ReadClouds(loadpass& s, argscan& in) {
  world* w = s.w;
  in.Int(&w->cloud_height);
  in.Int(&w->cloud_repeat);
  in.Real(&w->cloud_density);
  in.Real(&w->cloud_exponent);
  char path[sizeof w->cloud_path] = "";
  if (in.Word(path, sizeof path) && Inside(path)) std::memcpy(w->cloud_path, path, sizeof path);
}

// The sphere's X, Y and Z rows are the rows of Rz(c) Rx(a) Ry(b), so the
// frame (whose rows are the columns of its rotation) is the transpose:
// Ry(-b) Rx(-a) Rz(-c).
void ReadPhotoSphere(loadpass& s, argscan& in) {
  ReadThree(in, s.sphere);
  constexpr float kRad = kxmaths::kRadiansPerDegree;
  kxmatrix ry, rx, rz, m;
  kxmatrix::SetRotation(&ry, {0, 1, 0, 0}, -s.sphere[1] * kRad);
  kxmatrix::SetRotation(&rx, {1, 0, 0, 0}, -s.sphere[0] * kRad);
  kxmatrix::SetRotation(&rz, {0, 0, 1, 0}, -s.sphere[2] * kRad);
  kxmatrix::Multiply4x4(&m, &ry, &rx);
  kxmatrix::Multiply4x4(&s.w->photo_matrix, &m, &rz);
  s.w->photo_matrix.R = {0, 0, 0, 1};
  kxcore::Log("sim:    sphere params=%.4f %.4f %.4f\n", s.sphere[0], s.sphere[1], s.sphere[2]);
}

void ReadPhotoTextures(loadpass& s, argscan& in) {
  int columns = 0, rows = 0;
  bool sized = in.Int(&columns) && in.Int(&rows);
  char name[world::kNameChars];
  std::memcpy(name, s.w->photo_name, sizeof name);
  in.Word(name, sizeof name);
  if (!Inside(name)) return;
  if (!sized || columns < 1 || rows < 1 || columns > kMaxGridSide || rows > kMaxGridSide ||
      columns * rows > world::kPhotoTiles) {
    kxcore::Log("sim:    texture grid %dx%d outside 1..%d per side and %d tiles; ignored\n", columns, rows,
                kMaxGridSide, world::kPhotoTiles);
    return;
  }
  std::memcpy(s.w->photo_name, name, sizeof name);
  LoadPhotoGrid(s.w, columns, rows, s.w->photo_name);
}

void ReadPosition(loadpass& s, argscan& in) { ReadThree(in, s.position); }
void ReadRotate(loadpass& s, argscan& in) { ReadThree(in, s.rotation); }
void ReadScale(loadpass& s, argscan& in) { ReadThree(in, s.scale); }
void ReadHasShadow(loadpass& s, argscan&) { s.w->has_shadow = 1; }

void ReadViewProbe(loadpass& s, argscan& in) {
  float step = 0.0f;
  // A step of 0 or less would never finish the viewer's ground probe.
  if (in.Real(&step)) s.w->viewer_probe_step = step > 0.0f ? step : kDefaultProbeStep;
  in.Real(&s.w->viewer_probe_range);
}

void ReadCube(loadpass& s, argscan& in) {
  // Non-positive sizes or counts could keep the octree from finishing.
  for (int k = 0; k < 3; ++k) {
    float cell = 0.0f;
    if (in.Real(&cell) && cell > 0.0f) s.w->octree_min_cell[k] = cell;
  }
  int count = 0;
  if (in.Int(&count) && count > 0) s.w->octree_max_triangles = count;
}

// ---- start positions and lights

void ReadStartPosition(loadpass& s, argscan& in) {
  world* w = s.w;
  if (w->start_count >= world::kMaxStarts) return;
  int i = w->start_count;
  float* aircraft = w->start_aircraft[i];
  float* viewer = w->start_viewer[i];
  ReadThree(in, aircraft);
  in.Real(&w->start_heading[i]);
  ReadThree(in, viewer);
  int flags = world::kStartHelicopters | world::kStartAirplanes;
  for (int k = 0; k < 4; ++k) {
    char word[kWordChars] = "";
    if (!in.Word(word, sizeof word)) continue;
    if (kxsystem::StrEqualNoCase(word, "indoor")) flags |= world::kStartIndoor;
    else if (kxsystem::StrEqualNoCase(word, "noheli")) flags &= ~world::kStartHelicopters;
    else if (kxsystem::StrEqualNoCase(word, "noairplane")) flags &= ~world::kStartAirplanes;
  }
  w->start_flags[i] = flags;
  w->start_count = i + 1;
  kxcore::Log("sim:    start position %d %s%s%s\n", i + 1, flags & world::kStartHelicopters ? "" : " (not for helicopter)",
              flags & world::kStartAirplanes ? "" : " (not for airplanes)", flags & world::kStartIndoor ? " (indoor)" : "");
}

// Lights 0..3; another index leaves the line without effect.
float* Light(float (*table)[4], argscan& in) {
  int i = -1;
  return in.Int(&i) && i >= 0 && i < world::kLights ? table[i] : nullptr;
}

void ReadColour(float* light, argscan& in) {
  if (light) ReadThree(in, light);
}

void ReadAmbient(loadpass& s, argscan& in) { ReadColour(Light(s.w->light_ambient, in), in); }
void ReadDiffuse(loadpass& s, argscan& in) { ReadColour(Light(s.w->light_diffuse, in), in); }
void ReadSpecular(loadpass& s, argscan& in) { ReadColour(Light(s.w->light_specular, in), in); }
// A direction is normalised after the load: components whose squares
// overflow would turn it into a zero vector, so such a line is refused.
void ReadLightPosition(loadpass& s, argscan& in) {
  float* light = Light(s.w->light_position, in);
  if (!light) return;
  float read[4];
  std::memcpy(read, light, sizeof read);
  for (float& c : read) in.Real(&c);
  if (!std::isfinite(read[0] * read[0] + read[1] * read[1] + read[2] * read[2] + read[3] * read[3])) {
    kxcore::Log("sim:    light position %g %g %g %g too large; ignored\n", read[0], read[1], read[2], read[3]);
    return;
  }
  std::memcpy(light, read, sizeof read);
}

// ---- contests

void ReadContest(loadpass& s, argscan& in) {
  world* w = s.w;
  if (w->contest_count >= world::kMaxContests) return;
  contestrec* c = w->contests + w->contest_count;
  // The record may still hold an earlier scenery's contest: start clean.
  FreeBalloons(c);
  *c = contestrec{};
  c->kind = kContestNone;
  char word[kWordChars] = "";
  in.Word(word, sizeof word);
  static const struct {
    const char* word;
    contestkind kind;
  } kKinds[] = {{"PYLONRACE", kContestPylonRace},
                {"BALLOONPOP", kContestBalloonPop},
                {"DRAGRACE", kContestDragRace},
                {"SPOTLANDING", kContestSpotLanding}};
  for (const auto& k : kKinds) {
    if (word[0] && kxsystem::StrStartsNoCase(word, k.word)) {
      c->kind = k.kind;
      break;
    }
  }
  if (c->kind == kContestNone) kxcore::Log("sim:    contest %s of unknown kind\n", word);
  if (w->contest_count > 0) w->contests[w->contest_count - 1].next = c;
  ++w->contest_count;
  s.contest = c;
}

void ReadStartAircraft(loadpass& s, argscan& in) {
  if (!s.contest) return;
  ReadThree(in, s.contest->start_position);
  in.Real(&s.contest->heading);
}

void ReadStartView(loadpass& s, argscan& in) {
  if (s.contest) ReadThree(in, s.contest->view_position);
}

void ReadPylon(loadpass& s, argscan& in) {
  contestrec* c = s.contest;
  if (!c || c->kind != kContestPylonRace || c->pylon_count >= contestrec::kMaxPylons) return;
  pylonrec* p = c->pylons + c->pylon_count;
  ReadThree(in, p->position);
  in.Real(&p->p4);
  in.Real(&p->p5);
  for (int k = 0; k < 3; ++k) p->position[k] += s.position[k];
  if (c->pylon_count > 0) c->pylons[c->pylon_count - 1].next = p;
  else c->first_pylon = p;
  ++c->pylon_count;
  kxcore::Log("sim:    pylon %d=(%.2f,%.2f,%.2f)\n", c->pylon_count, p->position[0], p->position[1], p->position[2]);
}

void ReadBalloons(loadpass& s, argscan& in) {
  contestrec* c = s.contest;
  if (!c || c->kind != kContestBalloonPop) return;
  // Read into a copy: a refused line leaves the balloons of an earlier one
  // with their own size and box.
  int count = -1;
  float size = c->balloon_size, low[3], high[3];
  std::memcpy(low, c->balloon_min, sizeof low);
  std::memcpy(high, c->balloon_max, sizeof high);
  in.Int(&count);
  in.Real(&size);
  ReadThree(in, low);
  ReadThree(in, high);
  if (count < 0 || count >= contestrec::kMaxBalloons || !(size > 0.0f)) {
    kxcore::Log("sim:    %d balloons of size %.2f outside 0..%d and above 0; ignored\n", count, size,
                contestrec::kMaxBalloons - 1);
    return;
  }
  if (size > kMaxBalloonSize) {
    kxcore::Log("sim:    balloons of size %g above %g would have no finite shape; ignored\n", size, kMaxBalloonSize);
    return;
  }
  c->balloon_size = size;
  std::memcpy(c->balloon_min, low, sizeof low);
  std::memcpy(c->balloon_max, high, sizeof high);
  kxcore::Log("sim:    ballons=%d (%.2f,%.2f,%.2f) (%.2f,%.2f,%.2f)\n", count, c->balloon_min[0], c->balloon_min[1],
              c->balloon_min[2], c->balloon_max[0], c->balloon_max[1], c->balloon_max[2]);
  MakeBalloons(c, count, c->balloon_size);
}

void ReadDragRace(loadpass& s, argscan& in) {
  contestrec* c = s.contest;
  if (!c || c->kind != kContestDragRace) return;
  in.Real(&c->drag_distance);
  in.Real(&c->drag_heading);
  kxcore::Log("sim:    dragrace=(%.2f,%.2f)\n", c->drag_distance, c->drag_heading);
}

void ReadSpotArea(loadpass& s, argscan& in) {
  contestrec* c = s.contest;
  if (!c || c->kind != kContestSpotLanding) return;
  in.Real(&c->spot_length);
  in.Real(&c->spot_width);
  kxcore::Log("sim:    spotarea=(%.2f,%.2f)\n", c->spot_length, c->spot_width);
}

// ---- the keyword table

constexpr int kFromFirstBlank = -1;

struct keyword {
  const char* text;   // matched as a case-insensitive prefix, trailing blank included
  int column;         // where the arguments start (kFromFirstBlank: after the line's first blank)
  reader read;
};

// In matching order: the first keyword the line begins with wins.
const keyword kKeywords[] = {
    {"OBJECT", kFromFirstBlank, ReadObject},
    {"DYNOBJECT", 9, ReadDynObject},
    {"SCENERY", 7, ReadScenerySize},
    {"CLOUDS", 6, ReadClouds},
    {"PHOTOSPHERE", 11, ReadPhotoSphere},
    {"PHOTOTEXTURES", 13, ReadPhotoTextures},
    {"GROUND", 7, ReadGround},
    {"OCEAN", 6, ReadOcean},
    {"POSITION", 8, ReadPosition},
    {"ROTATE", 6, ReadRotate},
    {"SCALE", 5, ReadScale},
    {"START_POSITION", 14, ReadStartPosition},
    {"HASSHADOW", 9, ReadHasShadow},
    {"LIGHT_AMBIENT ", 13, ReadAmbient},
    {"LIGHT_DIFFUSE ", 13, ReadDiffuse},
    {"LIGHT_SPECULAR ", 14, ReadSpecular},
    {"LIGHT_POSITION ", 14, ReadLightPosition},
    {"VIEWC ", 5, ReadViewProbe},
    {"CUBE", 4, ReadCube},
    {"CONTEST", 7, ReadContest},
    {"STARTACFT", 9, ReadStartAircraft},
    {"STARTVIEW", 9, ReadStartView},
    {"PYLON", 5, ReadPylon},
    {"BALLOONS", 8, ReadBalloons},
    {"DRAGRACE", 8, ReadDragRace},
    {"SPOTAREA", 8, ReadSpotArea},
};

const keyword* Classify(const char* line) {
  for (const keyword& k : kKeywords)
    if (kxsystem::StrStartsNoCase(line, k.text)) return &k;
  return nullptr;
}

const char* Arguments(const char* line, const keyword& k) {
  if (k.column == kFromFirstBlank) {
    const char* blank = std::strchr(line, ' ');
    return blank ? blank : "";
  }
  size_t length = std::strlen(line);
  return static_cast<size_t>(k.column) <= length ? line + k.column : "";
}

// ---- the two passes

template <class F>
void ForEachLine(const char* path, F&& f) {
  kxfile* file = kxsystem::OpenFile(path, 30);
  if (!file) return;
  while (!kxsystem::IsEof(file)) f(kxsystem::ReadLine(file));
  kxsystem::CloseFile(file);
}

}  // namespace

void ReadSceneryFile(const char* path, world* w) {
  const std::string problem = kxsystem::ReadProblem(path);
  // An empty file is told by the line reader.
  if (!problem.empty() && problem != "empty file") kxcore::Log("sim:    %s %s\n", path, problem.c_str());
  int objects = 0, dynobjects = 0;
  ForEachLine(path, [&](const char* line) {
    const keyword* k = Classify(line);
    if (k && k->read == ReadObject) ++objects;
    if (k && k->read == ReadDynObject) ++dynobjects;
  });
  kxcore::Log("sim:    %d objects  %d dynobjects\n", objects, dynobjects);

  loadpass s;
  s.w = w;
  w->objects = ReserveEntries<kxgeometryobject>(objects, "kxgeometryobject");
  w->dynobjects = ReserveEntries<kxgeometrydynobject>(dynobjects, "kxgeometrydynobject");
  s.objectCapacity = w->objects ? objects : 0;
  s.dynCapacity = w->dynobjects ? dynobjects : 0;
  ForEachLine(path, [&](const char* line) {
    if (const keyword* k = Classify(line)) {
      argscan in(Arguments(line, *k));
      k->read(s, in);
    }
  });
  // Arrays whose every line failed hold no object: the lists are empty.
  if (!s.objectCount) ReleaseBlock(w->objects);
  if (!s.dynCount) ReleaseBlock(w->dynobjects);
}

}  // namespace sim
