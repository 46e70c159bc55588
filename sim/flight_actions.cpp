// The menu actions that act on the flight rather than on a switch:
// recording and playback, contests and the aerotow.
// Sections: recording; contests; aerotow.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "dynamics/tow.h"
#include "graphics/geometric_object.h"
#include "platform/log.h"
#include "sim/contest.h"
#include "sim/menu_bar_actions.h"
#include "sim/placement.h"
#include "sim/player.h"
#include "sim/recording.h"
#include "sim/session.h"
#include "sim/view_modes.h"
#include "sim/world/scenery_mesh.h"
#include "sim/world/world.h"

namespace sim {

namespace {

constexpr float kViewerAboveAircraft = 1.8f;  // m, a start viewer height below 0 means this above the aircraft
constexpr char kLegacyNotRecorded[] = "Older-format models cannot be recorded";
constexpr float kLegacyNoticeSeconds = 3.0f;  // s

void CopyName(char* out, const char* text) {
  const size_t n = strnlen(text, simplayer::kNameChars - 1);
  std::memcpy(out, text, n);
  out[n] = 0;
}

void Rewind(simplayer& p, int frame) {
  p.recording.time = 0;
  p.recording.frame = frame;
  p.record_store.write = p.record_store.positions;
}

// No recording: nothing present, no length, no frame.
void Empty(simplayer& p) {
  p.recording.present = 0;
  p.recording.header.length = 0;
  Rewind(p, 0);
  if (p.record_store.frames) p.record_store.frames[0].records = nullptr;
}

// Loads the player's aircraft once more as the playback copy. 1 when the
// copy is there; else the recording is idle and empty and the name stays the
// old one, so the next start tries again. The loader logs lines of its own:
// the result line is written whole.
int LoadCopy(simplayer& p, const char* aircraft) {
  kxgeometricobject* instance = LoadPlaybackCopy(&p, aircraft);
  if (!instance) {
    p.recording.instance = nullptr;
    p.recording.state = kRecordIdle;
    p.recording.present = 0;
    kxsystem::Log("sim:  loading aircraft copy %s=fail\n", aircraft);
    return 0;
  }
  CopyName(p.recording.header.aircraft, aircraft);
  p.recording.instance = instance;
  shadowquad box;
  CollectBounds(instance, nullptr, &box);
  for (int c = 0; c < 3; ++c) {
    p.recording.header.bbmin[c] = box.min[c];
    p.recording.header.bbmax[c] = box.max[c];
  }
  SquareRecordingBounds(p.recording.header.bbmin, p.recording.header.bbmax);
  p.recording.header.radius = box.size;  // the reach of its ground shadow
  kxsystem::Log("sim:  loading aircraft copy %s=ok\n", aircraft);
  return 1;
}

}  // namespace

// --- recording

void SquareRecordingBounds(float min[3], float max[3]) {
  float h = std::fabs(min[0]);
  for (float v : {max[0], min[1], max[1]}) h = std::fmax(h, std::fabs(v));
  min[0] = min[1] = -h;
  max[0] = max[1] = h;
}

/*
 * A recording starts empty: no length and no frames. Left as they were, a
 * recording started and stopped while paused (its clock stands) would bring
 * back the frames of the one before under the new aircraft's name.
 */
void RecordFlightOn(int) {
  world* w = TheWorld();
  for (simplayer* p = &players[0]; p; p = p->next) {
    int index = static_cast<int>(p - players);
    if (p->legacy) {
      // Its parts are the older runtime's, not a tree a copy could replay;
      // the recording held stays as it is.
      kxsystem::Log("sim:  %s is an older-format model and is not recorded\n", session.settings.aircraft0);
      std::snprintf(session.run.status_text, sizeof session.run.status_text, "%s", kLegacyNotRecorded);
      session.run.status_time = kLegacyNoticeSeconds;
      continue;
    }
    Empty(*p);
    p->recording.state = kRecording;
    CopyName(p->recording.header.scenery, w ? w->name : "");
    const char* aircraft = index == 0 ? session.settings.aircraft0 : session.settings.aircraft1;
    if (std::strcmp(p->recording.header.aircraft, aircraft) != 0) LoadCopy(*p, aircraft);
  }
}

void RecordFlightPlay(int) {
  for (simplayer* p = &players[0]; p; p = p->next) {
    if (!p->recording.present) continue;
    p->recording.state = kRecordPlaying;
    Rewind(*p, 1);
  }
}

void RecordFlightStop(int) {
  for (simplayer* p = &players[0]; p; p = p->next) {
    p->recording.state = kRecordIdle;
    Rewind(*p, 1);
    if (p->recording.header.length > kMinRecording) {
      p->recording.present = 1;
    } else {
      p->recording.present = 0;
      p->recording.header.length = 0;
    }
  }
}

void RecordFlightClear(int) {
  for (simplayer* p = &players[0]; p; p = p->next) {
    Empty(*p);
    p->recording.state = kRecordIdle;
  }
}

// --- contests

void ContestStart() {
  world* w = TheWorld();
  int n = w ? w->contest_count : 0;
  int i = session.run.selected_contest;
  if (i >= 1 && i <= n) StartContest(&w->contests[i - 1]);
  else session.run.selected_contest = 0;
}

void ContestStop() { StopContest(); }

void ContestSelect(int i) {
  if (i < 1) {
    StopContest();
    session.run.selected_contest = 0;
    session.run.current_contest = nullptr;
    return;
  }
  world* w = TheWorld();
  int n = w ? w->contest_count : 0;
  int j = i > n ? 0 : i;
  // A scenery with one contest takes any choice as that one.
  if (n == 1) j = 1;
  session.run.selected_contest = j;
  if (j >= 1 && j <= n) SetupContest(&w->contests[j - 1], 1);
}

// --- aerotow

void TowLineUp(const world& w, float ropeLength, int towedFirst, kxmatrix frames[2]) {
  const float heading = w.start_count > 0 ? w.start_heading[0] : 0.0f;
  for (int i = 0; i < 2; ++i) frames[i] = HeadingFrame(heading, w.start_aircraft[0]);
  const float c = frames[0].X.x, s = frames[0].Y.x;
  kxmatrix& towed = frames[towedFirst ? 0 : 1];
  towed.R.x -= ropeLength * c;
  towed.R.y += ropeLength * s;
}

void FSchleppStart() {
  world* w = TheWorld();
  if (!w || !kxdynamics::FindHookPair()) return;
  session.run.current_contest = nullptr;
  const kxdflightstate* first = players[0].flight_state;
  int towedFirst = first && (first->flags & kxdflightstate::kTowed) ? 1 : 0;
  kxmatrix frames[2];
  TowLineUp(*w, session.settings.fschlepp_rope_length, towedFirst, frames);
  for (simplayer* p = &players[0]; p; p = p->next) {
    int index = static_cast<int>(p - players);
    const float zero[4] = {0, 0, 0, 0};
    ResetAircraft(p, &frames[index], zero);
    const float* viewer = w->start_viewer[0];
    for (int c = 0; c < 3; ++c) p->viewer_position()[c] = viewer[c];
    if (viewer[2] < 0) p->viewer_position()[2] = frames[index].R.z + kViewerAboveAircraft;
    SetViewMode(p, p->view_mode);
  }
  kxdbody* a = players[0].flight_state ? players[0].flight_state->tow_body : nullptr;
  kxdbody* b = players[1].flight_state ? players[1].flight_state->tow_body : nullptr;
  const sessionsettings& set = session.settings;
  session.run.rope = kxdynamics::CreateTowRope(a, b, set.fschlepp_rope_length, set.fschlepp_rope_strength);
}

void FSchleppDetach() {
  if (!session.run.rope) return;
  kxdynamics::RebuildChange(session.run.rope);
  session.run.rope = nullptr;
}

}  // namespace sim
