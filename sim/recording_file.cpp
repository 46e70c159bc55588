// Recording files "recordings/<name>.rec": a header naming the aircraft and
// the scenery, then each frame's part records as text, then "end".

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/numbers.h"
#include "core/output.h"
#include "dynamics/flight_state.h"
#include "dynamics/load.h"
#include "graphics/draw.h"
#include "graphics/geometric_object.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/sound.h"
#include "sim/notice.h"
#include "sim/player.h"
#include "sim/recording.h"

namespace sim {
namespace {

constexpr float kShortestPlayable = 2.0f;  // s; a recording this long or shorter is not played
constexpr int kFloats = simplayer::kRecordFloats;

constexpr float kLengthTolerance = 0.5f;  // s the header's length may differ from the last frame's time

// "recordings/<name>.rec" whatever the name's length, so every file the
// list shows loads; empty for a name that would leave the folder.
std::string RecordingPath(const char* name) {
  if (!kxdload::IsSafeName(name)) return std::string();
  return std::string("recordings/") + name + ".rec";
}

// Logs the refusal of an unsafe name; 1 when the name is safe.
int SafeName(const char* name, const char* tag) {
  if (kxdload::IsSafeName(name)) return 1;
  kxsystem::Log("%s  recording name \"%s\" refused\n", tag, name ? name : "");
  return 0;
}

const char* SkipBlanks(const char* s) {
  while (*s == ' ' || *s == '\t') ++s;
  return s;
}

int StartsWith(const char* s, const char* word) { return std::strncmp(s, word, std::strlen(word)) == 0; }

// n blank-separated numbers from text into out, read as every file of the
// program reads them; 1 only when all n were read (each finite).
int Numbers(const char* text, int n, float* out) {
  float v[kFloats];
  for (int i = 0; i < n; ++i) {
    text = SkipBlanks(text);
    size_t used = kxnumber::ReadLeading(text, v[i]);
    if (!used) return 0;
    text += used;
  }
  std::copy(v, v + n, out);
  return 1;
}

// The first word of text into a name field, cut to the field.
void Word(const char* text, char (&field)[simplayer::kNameChars]) {
  char word[simplayer::kNameChars];
  if (std::sscanf(text, "%127s", word) == 1) std::memcpy(field, word, sizeof word);
}

// ---- reading

struct reader {
  simplayer& p;
  float* cursor;           // next free float of the store
  const float* end;        // the store's end
  recordframe* frame;      // the frame being read, null before the first
  int frames;
  int parts;
  bool stop;
};

void Header(reader& r, const char* line) {
  simplayer& p = r.p;
  if (StartsWith(line, "aircraft")) {
    Word(line + 8, p.recording.header.aircraft);
  } else if (StartsWith(line, "scenery")) {
    Word(line + 7, p.recording.header.scenery);
  } else if (StartsWith(line, "length")) {
    Numbers(line + 6, 1, &p.recording.header.length);
  } else if (StartsWith(line, "radius")) {
    Numbers(line + 6, 1, &p.recording.header.radius);
  } else if (StartsWith(line, "bbmin")) {
    Numbers(line + 5, 3, p.recording.header.bbmin);
  } else if (StartsWith(line, "bbmax")) {
    Numbers(line + 5, 3, p.recording.header.bbmax);
  }
}

/* A frame keeps the "pos" lines that follow its "records" line, however many
   the line announces: the count as read could point past what was stored.
   Reading stops when the frame index or the record store is full, so a
   frame never lies beyond the store and the end mark always has its entry. */
void Line(reader& r, const char* text) {
  const char* line = SkipBlanks(text);
  if (StartsWith(line, "records")) {
    const char* at = SkipBlanks(line + 7);
    long long announced = 0;  // passed over: the "pos" lines count
    size_t used = kxnumber::ReadLeadingInt(at, announced);
    float time;
    if (!used || !Numbers(at + used, 1, &time)) return;
    if (r.frames >= simplayer::kRecordFrames) {
      r.stop = true;
      return;
    }
    r.frame = r.p.record_store.frames + r.frames++;
    *r.frame = {time, 0, r.cursor};
  } else if (StartsWith(line, "pos")) {
    if (!r.frame) return;
    if (r.end - r.cursor < kFloats) {
      r.stop = true;
      return;
    }
    if (!Numbers(line + 3, kFloats, r.cursor)) return;
    r.cursor += kFloats;
    ++r.frame->count;
    ++r.parts;
  } else if (StartsWith(line, "end")) {
    r.stop = true;
  } else {
    Header(r, line);
  }
}

/* Recordings saved before the rotor and propeller blades were drawn parts
   hold fewer records a frame than the playback aircraft now has parts, and
   the format says nothing of its version. Played, each record after the
   first missing one would move the wrong part, so such a file (like one
   whose aircraft has changed since) is refused, and the user told why.
   The first frame whose count differs, or null when all pair. */
const recordframe* FirstUnpaired(const recordframe* frames, int count, long parts) {
  for (int i = 0; i < count; ++i)
    if (frames[i].count != parts) return frames + i;
  return nullptr;
}

void Upload(const kxgeometricobject* node) {
  kxgl::UploadGeometryTextures(node->mesh);
  for (const kxnode* c = node->firstChild; c; c = c->nextSibling)
    if (const kxgeometricobject* part = kxnode::As<kxgeometricobject>(const_cast<kxnode*>(c))) Upload(part);
}

// ---- writing

void Record(kxout& out, const float* r) {
  out.Printf("  pos %.4f %.4f %.4f  ", r[0], r[1], r[2]);
  out.Printf("%.4f %.4f %.4f  ", r[3], r[4], r[5]);
  out.Printf("%.4f %.4f %.4f\n", r[6], r[7], r[8]);
}

// A load chosen in the window that ends with nothing to play is said on
// the screen too: the window has closed, and the flight would go on as if
// nothing had been asked.
void NotPlayed(const char* name, const char* why) {
  PostNotice("The recorded flight " + std::string(name) + " cannot be played: " + why + " (see the log).");
}

}  // namespace

/* The radius and box written are those of the aircraft flown when saving,
   which is the recorded one in every recording made in this session; a
   player without an aircraft writes the ones the recording was loaded
   with. */
int SaveRecording(const char* name, simplayer* player) {
  if (!player || !SafeName(name, "sim:")) return 0;
  const simplayer& p = *player;
  const std::string path = RecordingPath(name);
  kxsystem::Log("sim:  saving recording to file %s=", path.c_str());
  const kxdflightstate* s = p.flight_state;
  const float radius = s ? s->radius : p.recording.header.radius;
  const float* lo = s ? s->bounds_min : p.recording.header.bbmin;
  const float* hi = s ? s->bounds_max : p.recording.header.bbmax;
  kxout out;
  out.Printf("aircraft %s\n", p.recording.header.aircraft);
  out.Printf("scenery %s\n", p.recording.header.scenery);
  out.Printf("length %.2f\n", p.recording.header.length);
  out.Printf("radius %.2f\n", radius);
  out.Printf("bbmin %.2f %.2f %.2f\n", lo[0], lo[1], lo[2]);
  out.Printf("bbmax %.2f %.2f %.2f\n\n", hi[0], hi[1], hi[2]);
  int frames = 0;
  const bool store = p.record_store.frames && p.record_store.positions;
  const float* storeEnd = store ? p.record_store.positions + simplayer::kRecordPositions * kFloats : nullptr;
  for (; store && frames < simplayer::kRecordFrames && p.record_store.frames[frames].records; ++frames) {
    const recordframe& f = p.record_store.frames[frames];
    const long room = std::max(0L, static_cast<long>(storeEnd - f.records) / kFloats);
    const long count = std::clamp(static_cast<long>(f.count), 0L, room);
    out.Printf("records %d %f\n", static_cast<int>(count), f.time);
    for (long i = 0; i < count; ++i) Record(out, f.records + i * kFloats);
    out.Printf("  \n");
  }
  out.Printf("end");
  kxsystem::CreateDirectory("recordings");
  const std::string& text = out.Text();
  if (!kxsystem::WriteWholeFile(path.c_str(), text.data(), static_cast<long>(text.size()))) {
    kxsystem::Log("fail\n");
    return 0;
  }
  kxsystem::Log("%d frames\n", frames);
  return 1;
}

int LoadRecording(const char* name, simplayer* player) {
  if (!player || !player->record_store.frames || !player->record_store.positions || !SafeName(name, "record:"))
    return 0;
  simplayer& p = *player;
  const std::string path = RecordingPath(name);
  // The result line is written whole: the opening's own lines come first.
  kxfile* file = kxsystem::OpenFile(path.c_str(), 30);
  if (!file) {
    kxsystem::Log("record:  loading recording %s=fail (%s)\n", path.c_str(), kxsystem::ReadProblem(path.c_str()).c_str());
    NotPlayed(name, "its file could not be read");
    return 0;
  }
  // What the file does not say is not taken from the recording before.
  p.recording.header = {};
  float* store = p.record_store.positions;
  reader r{p, store, store + simplayer::kRecordPositions * kFloats, nullptr, 0, 0, false};
  while (!r.stop && !kxsystem::IsEof(file)) Line(r, kxsystem::ReadLine(file));
  kxsystem::CloseFile(file);
  p.record_store.frames[r.frames].records = nullptr;
  kxsystem::Log("record:  loading recording %s=%.2f seconds with %d frames, %d positions\n", path.c_str(),
                p.recording.header.length, r.frames, r.parts);
  // Playback runs until the header's length: one that the frames do not
  // reach would hold the last frame still for as long.
  const float last = r.frames > 0 ? p.record_store.frames[r.frames - 1].time : 0.0f;
  if (std::fabs(p.recording.header.length - last) > kLengthTolerance) {
    kxsystem::Log("record:  %s: length %.2f s does not match its frames; %.2f s taken\n", path.c_str(),
                  p.recording.header.length, last);
    p.recording.header.length = last;
  }
  if (!LoadRecordedAircraft(&p)) {
    NotPlayed(name, "the aircraft it names could not be loaded");
    return 0;
  }
  // Playback blends two frames: with fewer there is nothing to show.
  if (p.recording.header.length <= kShortestPlayable || r.frames < 2) {
    kxsystem::Log("record:  %s: %d frames over %.2f s, too few to play\n", path.c_str(), r.frames,
                  p.recording.header.length);
    NotPlayed(name, "it holds too little of a flight");
    p.recording.present = 0;
    p.recording.state = kRecordIdle;  // a playback of the one before ends
    return 0;
  }
  const long parts = RecordedParts(p.recording.instance);
  if (const recordframe* odd = FirstUnpaired(p.record_store.frames, r.frames, parts)) {
    kxsystem::Log("record:  %s: a frame holds %d part records, %s draws %ld parts: made by an older version; not played\n",
                  path.c_str(), odd->count, p.recording.header.aircraft, parts);
    PostNotice("The recorded flight " + std::string(name) + " was made by an older version of the program: its records "
               "do not pair with the parts of " + p.recording.header.aircraft + ", so it is not played.");
    p.recording.present = 0;
    return 0;
  }
  p.recording.present = 1;
  p.recording.time = 0.0f;
  p.recording.frame = 1;
  p.record_store.write = p.record_store.positions;
  return 1;
}

const char* CheckRecordingScenery(const char* name) {
  static char scenery[simplayer::kNameChars];
  scenery[0] = 0;
  if (!SafeName(name, "record:")) return nullptr;
  const std::string path = RecordingPath(name);
  kxfile* file = kxsystem::OpenFile(path.c_str(), 30);
  if (!file) {
    kxsystem::Log("record:  checking scenery of recording %s=fail (%s)\n", path.c_str(),
                  kxsystem::ReadProblem(path.c_str()).c_str());
    NotPlayed(name, "its file could not be read");
    return nullptr;
  }
  while (!kxsystem::IsEof(file)) {
    const char* line = SkipBlanks(kxsystem::ReadLine(file));
    if (StartsWith(line, "scenery")) Word(line + 7, scenery);
  }
  kxsystem::CloseFile(file);
  kxsystem::Log("record:  checking scenery of recording %s=%s\n", path.c_str(), scenery);
  return scenery;
}

kxgeometricobject* LoadPlaybackCopy(const simplayer* player, const char* aircraft) {
  const int index = PlayerIndex(player);
  if (index < 0 || !aircraft) return nullptr;
  directsound::suppress_registration = 1;
  kxnode* root = kxdynamics::LoadPlayback(aircraft, index);
  directsound::suppress_registration = 0;
  return kxnode::As<kxgeometricobject>(root);
}

int LoadRecordedAircraft(simplayer* player) {
  if (!player) return 0;
  simplayer& p = *player;
  p.recording.instance = LoadPlaybackCopy(&p, p.recording.header.aircraft);
  // The loader logs its own lines: the result line is written whole.
  if (!p.recording.instance) {
    p.recording.header.length = 0.0f;
    p.recording.present = 0;
    p.recording.state = kRecordIdle;
    kxsystem::Log("record:  loading recorded aircraft geometry %s=fail\n", p.recording.header.aircraft);
    return 0;
  }
  Upload(p.recording.instance);
  kxsystem::Log("record:  loading recorded aircraft geometry %s=ok\n", p.recording.header.aircraft);
  return 1;
}

}  // namespace sim
