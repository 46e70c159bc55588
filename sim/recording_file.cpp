// Recording files "recordings/<name>.rec": a header naming the aircraft and
// the scenery, then each frame's part records as text, then "end".

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

/* A file is read beside the player's store and put into it only once it is
   known to play. Read straight into the store, a file refused at the end
   (too short, its aircraft missing, its records not pairing) would already
   have cost the recording held, perhaps a flight not yet saved. The records
   go into one buffer reserved for as many as the file's size could hold
   (no more than the store does): reserved pages cost nothing until written,
   so the extra memory is the file's own records, for as long as the load
   takes, and the buffer never moves what it holds. Reading the file twice
   (once to check, once into the store) would need none, but a file changed
   between the two readings could still cost the recording. */
constexpr long kShortestPosLine = 12;  // bytes: "pos" and nine numbers of one character

struct readframe {
  float time;  // s
  int count;   // records of the frame: the "pos" lines read after its "records" line
};

struct reader {
  recordingheader header;
  std::vector<readframe> frames;
  std::vector<float> records;  // kFloats a record
  bool stop = false;
};

void Header(recordingheader& h, const char* line) {
  if (StartsWith(line, "aircraft")) {
    Word(line + 8, h.aircraft);
  } else if (StartsWith(line, "scenery")) {
    Word(line + 7, h.scenery);
  } else if (StartsWith(line, "length")) {
    Numbers(line + 6, 1, &h.length);
  } else if (StartsWith(line, "radius")) {
    Numbers(line + 6, 1, &h.radius);
  } else if (StartsWith(line, "bbmin")) {
    Numbers(line + 5, 3, h.bbmin);
  } else if (StartsWith(line, "bbmax")) {
    Numbers(line + 5, 3, h.bbmax);
  }
}

/* A frame keeps the "pos" lines that follow its "records" line, however many
   the line announces: the count as read could point past what was stored.
   Reading stops when the frame index or the record store would be full, so
   what is read always fits the store with the end mark after it. */
void Line(reader& r, const char* text) {
  const char* line = SkipBlanks(text);
  if (StartsWith(line, "records")) {
    const char* at = SkipBlanks(line + 7);
    long long announced = 0;  // passed over: the "pos" lines count
    size_t used = kxnumber::ReadLeadingInt(at, announced);
    float time;
    if (!used || !Numbers(at + used, 1, &time)) return;
    if (r.frames.size() >= static_cast<size_t>(simplayer::kRecordFrames)) {
      r.stop = true;
      return;
    }
    r.frames.push_back({time, 0});
  } else if (StartsWith(line, "pos")) {
    if (r.frames.empty()) return;
    if (r.records.size() >= static_cast<size_t>(simplayer::kRecordPositions * kFloats)) {
      r.stop = true;
      return;
    }
    float values[kFloats];
    if (!Numbers(line + 3, kFloats, values)) return;
    r.records.insert(r.records.end(), values, values + kFloats);
    ++r.frames.back().count;
  } else if (StartsWith(line, "end")) {
    r.stop = true;
  } else {
    Header(r.header, line);
  }
}

// Reads the file into r; false when it cannot be opened.
bool Read(const std::string& path, reader& r) {
  kxfile* file = kxsystem::OpenFile(path.c_str(), 30);
  if (!file) return false;
  const long fits = kxsystem::GetFileSize(path.c_str()) / kShortestPosLine + 1;
  r.records.reserve(static_cast<size_t>(std::clamp(fits, 0L, simplayer::kRecordPositions)) * kFloats);
  while (!r.stop && !kxsystem::IsEof(file)) Line(r, kxsystem::ReadLine(file));
  kxsystem::CloseFile(file);
  return true;
}

// Puts what was read in place of the player's recording: the header, the
// frames with the end mark after the last, their records in the store.
void Commit(const reader& r, simplayer& p) {
  p.recording.header = r.header;
  float* at = p.record_store.positions;
  recordframe* frame = p.record_store.frames;
  for (const readframe& f : r.frames) {
    *frame++ = {f.time, f.count, at};
    at += static_cast<long>(f.count) * kFloats;
  }
  frame->records = nullptr;
  std::copy(r.records.begin(), r.records.end(), p.record_store.positions);
}

/* Recordings saved before the rotor and propeller blades were drawn parts
   hold fewer records a frame than the playback aircraft now has parts, and
   the format says nothing of its version. Played, each record after the
   first missing one would move the wrong part, so such a file (like one
   whose aircraft has changed since) is refused, and the user told why.
   The first frame whose count differs, or null when all pair. */
const readframe* FirstUnpaired(const std::vector<readframe>& frames, long parts) {
  for (const readframe& f : frames)
    if (f.count != parts) return &f;
  return nullptr;
}

void Upload(const kxgeometricobject* node) {
  kxgl::UploadGeometryTextures(node->mesh);
  for (const kxnode* c = node->firstChild; c; c = c->nextSibling)
    if (const kxgeometricobject* part = kxnode::As<kxgeometricobject>(const_cast<kxnode*>(c))) Upload(part);
}

// The aircraft as the player's playback copy with its textures: its drawn
// tree, or null. The loader logs its own lines: the result line is written
// whole.
kxgeometricobject* LoadRecordedCopy(simplayer& p, const char* aircraft) {
  kxgeometricobject* instance = LoadPlaybackCopy(&p, aircraft);
  if (instance) Upload(instance);
  kxsystem::Log("record:  loading recorded aircraft geometry %s=%s\n", aircraft, instance ? "ok" : "fail");
  return instance;
}

/* The playback slot holds one aircraft, and the file's had to be loaded
   into it to pair its records with the parts: the recording held lost the
   copy it is drawn with. It gets it back: `same`, the copy just loaded when
   it is of the held aircraft, else a new one. A recording held without a
   copy stays without. */
void KeepHeldDrawn(simplayer& p, const std::string& held, kxgeometricobject* same) {
  if (!p.recording.instance) return;
  kxsystem::Log("record:  the recording held before stays\n");
  p.recording.instance = same ? same : LoadRecordedCopy(p, held.c_str());
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
int SaveRecording(const char* name, simplayer* player, std::string* problem) {
  if (!player || !SafeName(name, "sim:")) {
    if (problem) *problem = "\"" + std::string(name ? name : "") + "\": no file name";
    return 0;
  }
  const simplayer& p = *player;
  const std::string path = RecordingPath(name);
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
  // Logged in one piece after the write: the file functions log what
  // stands in its way on lines of their own.
  const std::string why = kxsystem::WriteWholeFileProblem(path.c_str(), text.data(), static_cast<long>(text.size()));
  if (!why.empty()) {
    kxsystem::Log("sim:  saving recording to file %s=fail (%s)\n", path.c_str(), why.c_str());
    if (problem) *problem = why;
    return 0;
  }
  kxsystem::Log("sim:  saving recording to file %s=%d frames\n", path.c_str(), frames);
  return 1;
}

int LoadRecording(const char* name, simplayer* player) {
  if (!player || !player->record_store.frames || !player->record_store.positions || !SafeName(name, "record:"))
    return 0;
  simplayer& p = *player;
  const std::string path = RecordingPath(name);
  // What the file does not say is not taken from the recording held. The
  // result line is written whole: the opening's own lines come first.
  reader r;
  if (!Read(path, r)) {
    kxsystem::Log("record:  loading recording %s=fail (%s)\n", path.c_str(), kxsystem::ReadProblem(path.c_str()).c_str());
    NotPlayed(name, "its file could not be read");
    return 0;
  }
  const int frames = static_cast<int>(r.frames.size());
  kxsystem::Log("record:  loading recording %s=%.2f seconds with %d frames, %d positions\n", path.c_str(),
                r.header.length, frames, static_cast<int>(r.records.size() / kFloats));
  // Playback runs until the header's length: one that the frames do not
  // reach would hold the last frame still for as long.
  const float last = frames > 0 ? r.frames.back().time : 0.0f;
  if (std::fabs(r.header.length - last) > kLengthTolerance) {
    kxsystem::Log("record:  %s: length %.2f s does not match its frames; %.2f s taken\n", path.c_str(),
                  r.header.length, last);
    r.header.length = last;
  }
  // Playback blends two frames: with fewer there is nothing to show. This
  // is known before the aircraft is loaded, which would take the playback
  // slot from the recording held.
  if (r.header.length <= kShortestPlayable || frames < 2) {
    kxsystem::Log("record:  %s: %d frames over %.2f s, too few to play\n", path.c_str(), frames, r.header.length);
    NotPlayed(name, "it holds too little of a flight");
    return 0;
  }
  const std::string held = p.recording.header.aircraft;
  kxgeometricobject* instance = LoadRecordedCopy(p, r.header.aircraft);
  if (!instance) {
    NotPlayed(name, "the aircraft it names could not be loaded");
    KeepHeldDrawn(p, held, nullptr);
    return 0;
  }
  const long parts = RecordedParts(instance);
  if (const readframe* odd = FirstUnpaired(r.frames, parts)) {
    kxsystem::Log("record:  %s: a frame holds %d part records, %s draws %ld parts: made by an older version; not played\n",
                  path.c_str(), odd->count, r.header.aircraft, parts);
    PostNotice("The recorded flight " + std::string(name) + " was made by an older version of the program: its records "
               "do not pair with the parts of " + r.header.aircraft + ", so it is not played.");
    KeepHeldDrawn(p, held, std::strcmp(r.header.aircraft, held.c_str()) == 0 ? instance : nullptr);
    return 0;
  }
  Commit(r, p);
  p.recording.instance = instance;
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
  p.recording.instance = LoadRecordedCopy(p, p.recording.header.aircraft);
  if (!p.recording.instance) {
    p.recording.header.length = 0.0f;
    p.recording.present = 0;
    p.recording.state = kRecordIdle;
    return 0;
  }
  return 1;
}

}  // namespace sim
