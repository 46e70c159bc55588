// Contest set-up, start and stop: the line-up at the contest's start and the
// course of each kind, derived once from what the scenery file gave.

#include <cmath>

#include "core/maths.h"
#include "graphics/collision_world.h"
#include "platform/log.h"
#include "platform/random.h"
#include "sim/contest.h"
#include "sim/placement.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/vec3.h"
#include "sim/view_modes.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr int kSetupClock = -6999;          // ms; the countdown's three beeps come at -3 s, -2 s and -1 s
constexpr int kSetupPreviousClock = -7001;  // ms
constexpr float kProbeHigh = 5000.0f;       // m; the ground is sought below this height
constexpr float kDragProbeHigh = 10000.0f;  // m
constexpr float kDragLineWidth = 20.0f;     // m, the finish line's length across the strip
constexpr float kMarkRaise = 0.035f;        // m; finish line and landing area lie this far above the ground
constexpr float kViewerEyeHeight = 1.8f;    // m above the aircraft for a viewpoint given below 0
constexpr int kBalloonDraws = 999;          // places tried per balloon before an overlap is accepted

float GroundBelow(float x, float y, float high) {
  const float p[3] = {x, y, high};
  return kxcollision::GroundHeight(&TheWorld()->collision, p, nullptr);
}

void CameraOneAll(int on) {
  for (simplayer& p : players) p.camera[1].on = on;
}

// The players stand side by side across the start heading, s apart, the
// group centred on the start only along the heading's own axis.
void LineUp(contestrec* c) {
  const kxmatrix start = HeadingFrame(c->heading, c->start_position);
  const float s = session.settings.contest_start_distance, ch = start.X.x, sh = start.Y.x;
  const float n = static_cast<float>(session.run.player_count);
  float offset[2] = {(n - 1.0f) * s / 2.0f * ch, (n - 1.0f) * s / 2.0f * sh};
  for (simplayer* p = &players[0]; p; p = p->next) {
    p->camera[1].on = 1;
    kxmatrix frame = start;
    frame.R.x += offset[0];
    frame.R.y += offset[1];
    const float still[4] = {};
    ResetAircraft(p, &frame, still);
    p->contest = {};
    p->contest.phase = kContestFlying;
    p->contest.time = c->start_time;
    vec3::Set(p->contest.position, frame.R.x, frame.R.y, frame.R.z);
    vec3::Copy(p->contest.last_position, p->contest.position);
    offset[0] += -s * sh;
    offset[1] += s * ch;
  }
}

// Unit direction from a to b; 0 when they stand at the same x, y.
int Direction(const float a[3], const float b[3], float out[3]) {
  vec3::Set(out, b[0] - a[0], b[1] - a[1], b[2] - a[2]);
  if (out[0] == 0.0f && out[1] == 0.0f) return 0;
  return vec3::Normalise(out);
}

/* Gate of pylon p: plane A across the way in (normal a, from the previous
   pylon), plane B across the way out (normal b, towards the next), and for
   each the horizontal normal that tells on which side of the pylon it was
   crossed. Two neighbouring pylons at the same x, y leave no way in or out
   to measure: such a course gets no gates rather than gates of zero normals,
   which every crossing would pass. */
int MakeGates(contestrec* c) {
  pylonrec* first = c->first_pylon;
  if (!first) return 0;
  pylonrec* last = first;
  while (last->next) last = last->next;
  for (pylonrec* p = first; p; p = p->next) p->position[2] = GroundBelow(p->position[0], p->position[1], kProbeHigh);
  for (pylonrec *p = first, *previous = last; p; previous = p, p = p->next) {
    const pylonrec* next = p->next ? p->next : first;
    if (!Direction(previous->position, p->position, p->planeA) || !Direction(p->position, next->position, p->planeB))
      return 0;
    p->offsetA = vec3::Dot(p->position, p->planeA);
    p->offsetB = vec3::Dot(p->position, p->planeB);
    vec3::Set(p->sideC, p->planeA[1], -p->planeA[0], 0.0f);
    vec3::Set(p->sideD, p->planeB[1], -p->planeB[0], 0.0f);
    p->limitC = vec3::Dot(p->position, p->sideC);
    p->limitD = vec3::Dot(p->position, p->sideD);
  }
  return 1;
}

int SetUpPylonRace(contestrec* c) {
  if (!MakeGates(c)) {
    kxsystem::Log("contest=pylon racing needs at least two pylons apart; not started\n");
    return 0;
  }
  for (simplayer* p = &players[0]; p; p = p->next) {
    p->contest.pylon = c->first_pylon;
    p->contest.rounds_left = session.settings.contest_pylon_rounds;
    vec3::Copy(p->contest.last_position, p->contest.position);
  }
  kxsystem::Log("contest=pylon racing for %d rounds with %d pylons\n", session.settings.contest_pylon_rounds,
                c->pylon_count);
  return 1;
}

void Scatter(contestrec* c) {
  kxsystem::Log("contest=balloon pop with %d balloons\n", c->balloon_count);
  for (balloonrec* b = c->first_balloon; b; b = b->next) {
    b->popped = 0;
    float* at = &b->frame.R.x;
    for (int draw = 0; draw < kBalloonDraws; ++draw) {
      for (int k = 0; k < 3; ++k) at[k] = c->balloon_min[k] + kxsystem::Random() * (c->balloon_max[k] - c->balloon_min[k]);
      bool apart = true;
      for (const balloonrec* e = c->first_balloon; e != b && apart; e = e->next) {
        const float reach = 2.0f * (e->radius + b->radius);
        const float* there = &e->frame.R.x;
        const float d[3] = {there[0] - at[0], there[1] - at[1], there[2] - at[2]};
        apart = vec3::Dot(d, d) >= reach * reach;
      }
      if (apart) break;
    }
  }
}

void SetUpDragRace(contestrec* c) {
  const float g = c->drag_heading * kxmaths::kRadiansPerDegree;
  float* d = c->finish_normal;
  float* w = c->finish_line;
  vec3::Set(d, std::cos(g), -std::sin(g), 0.0f);
  const float ground = GroundBelow(c->start_position[0], c->start_position[1], kDragProbeHigh);
  vec3::Set(w, kDragLineWidth * d[1], -kDragLineWidth * d[0], 0.0f);
  for (int k = 0; k < 2; ++k) c->finish_point[k] = c->start_position[k] + d[k] * c->drag_distance - w[k] / 2.0f;
  c->finish_point[2] = ground + kMarkRaise;
  c->finish_offset = vec3::Dot(d, c->finish_point);
}

// The area begins at the start position and runs spot_length along the
// heading (axis A), spot_width wide and centred across it (axis B).
void SetUpSpotLanding(contestrec* c) {
  c->spot_heading = c->heading;
  const float k = c->spot_heading * kxmaths::kRadiansPerDegree;
  vec3::Set(c->spot_centre, c->start_position[0], c->start_position[1],
            GroundBelow(c->start_position[0], c->start_position[1], kProbeHigh) + kMarkRaise);
  vec3::Set(c->spot_axisA, std::cos(k), -std::sin(k), 0.0f);
  vec3::Set(c->spot_axisB, -std::sin(k), -std::cos(k), 0.0f);
  vec3::AddScaled(c->spot_corner, c->spot_centre, -c->spot_width / 2.0f, c->spot_axisB);
  c->spot_offsetA = vec3::Dot(c->spot_corner, c->spot_axisA);
  c->spot_offsetB = vec3::Dot(c->spot_corner, c->spot_axisB);
}

void PlaceViewers(const contestrec* c) {
  for (simplayer* p = &players[0]; p; p = p->next) {
    vec3::Copy(p->viewer_position(), c->view_position);
    // The line-up has just put the aircraft at its contest position.
    if (p->viewer_position()[2] < 0.0f) p->viewer_position()[2] = p->contest.position[2] + kViewerEyeHeight;
    SetViewMode(p, p->view_mode);
  }
}

// 1 when the contest can run.
int Setup(contestrec* c, int placeViewers) {
  if (!c || c->kind == kContestNone) {
    CameraOneAll(0);
    kxsystem::Log("contest=none\n");
    return 0;
  }
  c->start_time = kSetupClock;
  c->previous_clock = kSetupPreviousClock;
  c->winner = nullptr;
  c->balloons_left = c->balloon_count;
  c->running = 0;
  session.run.current_contest = c;
  LineUp(c);
  int ready = 1;
  switch (c->kind) {
    case kContestPylonRace: ready = SetUpPylonRace(c); break;
    case kContestBalloonPop: Scatter(c); break;
    case kContestDragRace: SetUpDragRace(c); break;
    case kContestSpotLanding: SetUpSpotLanding(c); break;
    default: break;
  }
  if (placeViewers) PlaceViewers(c);
  return ready;
}

}  // namespace

void SetupContest(contestrec* contest, int placeViewers) { Setup(contest, placeViewers); }

void StartContest(contestrec* contest) {
  if (!contest) {
    session.run.current_contest = nullptr;
    return;
  }
  int ready = Setup(contest, 0);
  session.run.current_contest = contest;
  contest->running = ready;
}

void StopContest() {
  if (!session.run.current_contest) return;
  session.run.current_contest->running = 0;
  kxsystem::Log("contest=stopped\n");
}

}  // namespace sim
