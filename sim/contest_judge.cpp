// The running contest, once per frame: its millisecond clock, the countdown
// beeps, false starts, and the rules of the four kinds.

#include "dynamics/flight_state.h"
#include "graphics/collision_world.h"
#include "graphics/convex_body.h"
#include "platform/codes.h"
#include "platform/sound.h"
#include "sim/contest.h"
#include "sim/placement.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/vec3.h"
#include "sim/world/world.h"

namespace sim {
namespace {

constexpr int kCountdownMarks[] = {-3000, -2000, -1000};  // ms
constexpr float kCountdownBeep = 13000.0f;  // Hz
constexpr float kStartBeep = 16000.0f;      // Hz
constexpr float kFalseStartDistance = 0.4f; // m from the lined-up position
constexpr int kCutPenalty = 10000;          // ms added for a pylon passed on the inside
constexpr int kPenaltyShown = 4000;         // ms
constexpr float kHintHeight = 2.0f;         // m above ground arms a landing attempt
constexpr float kFullPointsReach = 1.0f;    // m into the area scoring 100

// Gate flags.
constexpr int kPassedA = 1;
constexpr int kPassedB = 2;
constexpr int kCutA = 4;

void Beep(float frequency) {
  kxsound* beep = session.media.beep_sound;
  if (!beep) return;
  beep->frequency = frequency;
  directsound::PlaySound(beep, kxcode::kSoundOnce, session.settings.sound);
}

const float* PositionOf(const simplayer* p) { return p->flight_state ? p->flight_state->position() : nullptr; }

void BestTime(contestrec* c, int time) {
  if (c->best_time < 0 || time < c->best_time) c->best_time = time;
}

// ---- countdown

void Countdown(contestrec* c, int clock, int ms) {
  for (int mark : kCountdownMarks) {
    if (c->previous_clock < mark && clock >= mark) {
      Beep(kCountdownBeep);
      break;
    }
  }
  for (simplayer* p = &players[0]; p; p = p->next) {
    p->contest.time += ms;
    const float* at = PositionOf(p);
    if (at && vec3::Distance(at, p->contest.position) > kFalseStartDistance) p->contest.phase = kContestFalseStart;
  }
}

// ---- pylon race

/* Whether the way from Q to P crossed the plane (normal n, offset d) from its
   negative side, and where. A way lying in the plane (both distances 0) is
   taken as crossed at P. Returns the signed distance of P. */
float Crossing(const float n[3], float d, const float P[3], const float Q[3], int* crossed, float X[3]) {
  const float a = vec3::Dot(n, P) - d, b = vec3::Dot(n, Q) - d;
  *crossed = b <= 0.0f && 0.0f <= a;
  if (*crossed) {
    const float f = a - b != 0.0f ? a / (a - b) : 0.0f;
    for (int k = 0; k < 3; ++k) X[k] = P[k] + f * (Q[k] - P[k]);
  }
  return a;
}

void PylonRace(contestrec* c, simplayer* p, int ms) {
  p->contest.time += ms;
  const float* P = PositionOf(p);
  if (!P) return;
  float Q[3];
  vec3::Copy(Q, p->contest.last_position);
  vec3::Copy(p->contest.last_position, P);
  const pylonrec* G = p->contest.pylon;
  if (!G) return;
  int crossed;
  float X[3];
  if (!(p->contest.gate_flags & kPassedA)) {
    p->contest.gate_distance = Crossing(G->planeA, G->offsetA, P, Q, &crossed, X);
    if (crossed) p->contest.gate_flags |= vec3::Dot(G->sideC, X) < G->limitC ? kCutA : kPassedA;
  }
  if (!(p->contest.gate_flags & kPassedB)) {
    Crossing(G->planeB, G->offsetB, P, Q, &crossed, X);
    if (crossed && vec3::Dot(G->sideD, X) >= G->limitD) p->contest.gate_flags |= kPassedB;
  }
  if (p->contest.gate_flags <= kPassedB) return;
  if (p->contest.gate_flags & kCutA) {
    p->contest.time += kCutPenalty;
    p->contest.penalty_display = kPenaltyShown;
    ++p->contest.pylons_missed;
  }
  p->contest.gate_flags = 0;
  if (G->next) {
    p->contest.pylon = G->next;
  } else if (--p->contest.rounds_left < 1) {
    p->contest.pylon = nullptr;
    p->contest.phase = kContestFinished;
    BestTime(c, p->contest.time);
  } else {
    p->contest.pylon = c->first_pylon;
  }
}

// ---- balloon pop

/* The aircraft's collision bodies are its rotating parts. The placement
   pairs each with every balloon that has a body, part by part, then contest
   by contest through the scenery, then balloon by balloon; the walk below
   follows that layout to find each pair's record. A record that does not
   hold the expected bodies (pairs not yet rebuilt for these balloons) is
   replaced by a pair made here. */
balloonrec* TouchedBalloon(const kxdflightstate* s, const contestrec* contest) {
  const world* w = TheWorld();
  int k = 0;
  for (int i = 0; i < s->rotating_count && i < kxdflightstate::kRotatingParts; ++i) {
    kxcbody* part = static_cast<kxcbody*>(s->rotating_bodies[i]);
    if (!part) continue;
    for (const contestrec* c = w->first_contest; c; c = c->next) {
      if (c->kind != kContestBalloonPop) continue;
      for (balloonrec* b = c->first_balloon; b; b = b->next) {
        if (!b->body) continue;
        kxcpair* pair = s->rotating_pairs && k < kRotatingPairs ? s->rotating_pairs + k : nullptr;
        ++k;
        if (c != contest || b->popped) continue;
        kxcpair made;
        if (!pair || pair->a != part || pair->b != b->body) {
          if (!kxcpair::Init(&made, part, b->body)) continue;
          pair = &made;
        }
        if (kxcollision::AircraftContacts(pair) && pair->distance < 0.0) return b;
      }
    }
  }
  return nullptr;
}

simplayer* MostBalloons() {
  simplayer* best = &players[0];
  for (simplayer* p = &players[0]; p; p = p->next)
    if (p->contest.score > best->contest.score) best = p;
  return best;
}

// 1 when a balloon popped: the frame's judging ends there.
int BalloonPop(contestrec* c, simplayer* p, int ms) {
  if (p->crash_timer > 0.0f || !p->flight_state) return 0;
  p->contest.time += ms;
  balloonrec* b = TouchedBalloon(p->flight_state, c);
  if (!b) return 0;
  ++p->contest.score;
  --c->balloons_left;
  b->popped = 1;
  directsound::PlaySound(session.media.balloon_sound, kxcode::kSoundOnce, session.settings.sound);
  if (c->balloons_left <= 0) {
    BestTime(c, p->contest.time);
    for (simplayer* q = &players[0]; q; q = q->next) q->contest.phase = kContestFinished;
    c->winner = MostBalloons();
  }
  return 1;
}

// ---- drag race

void DragRace(contestrec* c, simplayer* p, int ms) {
  p->contest.time += ms;
  const float* P = PositionOf(p);
  if (!P || vec3::Dot(c->finish_normal, P) - c->finish_offset <= 0.0f) return;
  p->contest.phase = kContestFinished;
  BestTime(c, p->contest.time);
  if (!c->winner) c->winner = p;
}

// ---- spot landing

void SpotLanding(contestrec* c, simplayer* p, int ms) {
  p->contest.time += ms;
  const float* P = PositionOf(p);
  if (!P) return;
  if (P[2] - kxcollision::GroundHeight(&TheWorld()->collision, P, nullptr) > kHintHeight) p->contest.hint = 1;
  if (!p->contest.hint || !p->flight_state->ground_contact) return;
  p->contest.hint = 0;
  const float u = vec3::Dot(c->spot_axisA, P) - c->spot_offsetA;
  const float v = vec3::Dot(c->spot_axisB, P) - c->spot_offsetB;
  const float length = c->spot_length;
  if (u < 0.0f || u > length || v < 0.0f || v > c->spot_width) {
    p->contest.last_points = -1;
  } else {
    const float s = length > 0.0f ? (length - kFullPointsReach - u) / length : 0.0f;
    p->contest.last_points = u <= kFullPointsReach ? 100 : static_cast<int>(100.0f * s * s);
    BestTime(c, p->contest.time);
  }
  if (p->contest.last_points > c->best_points) c->best_points = p->contest.last_points;
}

// ---- running

void Judge(contestrec* c, int clock, int ms) {
  if (c->previous_clock < 0) Beep(kStartBeep);
  if (c->kind == kContestBalloonPop && clock > session.settings.contest_balloonpop_time * 1000) {
    // Players who finished or started early keep what they have.
    for (simplayer* p = &players[0]; p; p = p->next)
      if (p->contest.phase == kContestFlying) p->contest.phase = kContestTimeOver;
    return;
  }
  for (simplayer* p = &players[0]; p; p = p->next) {
    if (p->contest.phase != kContestFlying) continue;
    switch (c->kind) {
      case kContestPylonRace: PylonRace(c, p, ms); break;
      case kContestBalloonPop:
        if (BalloonPop(c, p, ms)) return;
        break;
      case kContestDragRace: DragRace(c, p, ms); break;
      case kContestSpotLanding: SpotLanding(c, p, ms); break;
      default: break;
    }
  }
}

}  // namespace

void UpdateContest(contestrec* contest) {
  if (!contest) return;
  const int ms = static_cast<int>(session.run.sim_time_step * 1000.0f);
  contest->start_time += ms;
  const int clock = contest->start_time;
  for (simplayer* p = &players[0]; p; p = p->next)
    if (p->contest.penalty_display > 0) p->contest.penalty_display -= ms;
  if (clock < 0) {
    Countdown(contest, clock, ms);
  } else {
    Judge(contest, clock, ms);
  }
  contest->previous_clock = clock;
}

}  // namespace sim
