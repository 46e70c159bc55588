#include "sim/particles.h"

#include <algorithm>

#include "dynamics/flight_state.h"
#include "platform/random.h"
#include "sim/player.h"
#include "sim/session.h"
#include "sim/vec3.h"

namespace sim {
namespace {

// ---- exhaust
constexpr float kPuffSpacing = 0.15f;  // m of exhaust way per puff
constexpr int kMaxPuffs = 18;          // per exhaust point and frame
constexpr float kPuffSize = 0.06f;     // m
constexpr float kPuffGrowth = 2.0f;    // m/s
constexpr float kPuffDrag = 0.5f;      // 1/s
constexpr float kPuffGrowthDecay = 20.0f;  // 1/s
constexpr float kPuffFade = 10.0f;     // 1/s
constexpr float kPuffAgeFade = 0.01f;  // extra fading per place down the row

// ---- smoke
constexpr int kSmokeSubsteps = 5;
constexpr float kSmokeLife = 7.0f;           // s at most
constexpr float kSmokeDrag = 0.55f;          // 1/s
constexpr float kSmokeGrowthDecay = 0.08f;   // 1/s
constexpr float kSmokeInvisible = 0.001f;    // alpha below which a particle dies
constexpr float kSmokeGroundReach = 0.75f;   // share of the size kept above the ground
constexpr float kSmokeThreshold = 0.02f;     // smoke amount above which smoke is emitted
constexpr float kSmokeSize = 0.07f;          // m
constexpr float kSmokeFarBelow = -10000.0f;  // m, height of the newest record before any emission

// A puff one place further down the row, advanced by h seconds; the row's
// links stay as they are.
void Age(particle& to, const particle& from, float h, int place) {
  for (int k = 0; k < 3; ++k) {
    to.position[k] = from.position[k] + from.velocity[k] * h;
    to.velocity[k] = from.velocity[k] * (1.0f - kPuffDrag * h);
  }
  to.size = from.size + from.growth * h;
  to.growth = from.growth * (1.0f - kPuffGrowthDecay * h);
  to.alpha = from.alpha * (1.0f - kPuffFade * h) * (1.0f - kPuffAgeFade * static_cast<float>(place));
  to.angle = from.angle;
}

// Puffs for the way since the last one; a way that is not finite gives one.
int PuffCount(float way) {
  const float n = way / kPuffSpacing;
  if (n >= static_cast<float>(kMaxPuffs)) return kMaxPuffs;
  return n >= 1.0f ? static_cast<int>(n) : 1;
}

void ExhaustRow(particle* row, const kxdexhaustpoint& e, float t) {
  float P0[3], V0[3];
  vec3::Copy(P0, row[0].position);
  vec3::Copy(V0, row[0].velocity);
  float drifted[3];
  vec3::AddScaled(drifted, P0, t, V0);
  const int m = PuffCount(vec3::Distance(e.position, drifted));
  const float h = t / static_cast<float>(m);
  for (int j = m - 1; j >= 0; --j) {
    for (int i = simplayer::kExhaustRowLength - 1; i >= 1; --i) Age(row[i], row[i - 1], h, i);
    particle& q = row[0];
    const float s = static_cast<float>(j) / static_cast<float>(m);
    for (int k = 0; k < 3; ++k) {
      q.position[k] = (1.0f - s) * e.position[k] + s * P0[k];
      q.velocity[k] = (1.0f - s) * e.velocity[k] + s * V0[k];
    }
    q.alpha = 0.2f + 0.2f * e.intensity;
    q.size = kPuffSize;
    q.growth = kPuffGrowth;
    q.angle = 360.0f * kxsystem::Random();
  }
}

// ---- smoke

int SmokeCount() { return std::clamp(session.settings.smoke_particles, 0, simplayer::kSmokePool); }

void MoveSmoke(particle& q, float h) {
  for (int k = 0; k < 3; ++k) q.position[k] += q.velocity[k] * h;
  q.size += q.growth * h;
  for (float& v : q.velocity) v -= v * kSmokeDrag * h;
  q.growth -= q.growth * kSmokeGrowthDecay * h;
  const float a = session.settings.smoke_density * q.life / kSmokeLife;
  const float alpha = q.start_alpha * a * a;
  q.alpha = std::min(alpha, 1.0f);
  if (alpha < kSmokeInvisible) q.life = -1.0f;
  // On the ground the smoke spreads sideways with what it had of falling.
  if (q.position[2] - kSmokeGroundReach * q.size < q.ground) {
    q.position[2] = q.ground + kSmokeGroundReach * q.size;
    const float vz = q.velocity[2];
    q.velocity[0] += (2.0f * kxsystem::Random() - 1.0f) * kSmokeGroundReach * vz;
    q.velocity[1] += (2.0f * kxsystem::Random() - 1.0f) * kSmokeGroundReach * vz;
    q.velocity[2] = 0.0f;
  }
}

void Emit(particle& q, const kxdflightstate& s, const float at[3]) {
  const float k = std::min(0.05f * vec3::Length4(s.velocity), 1.0f);
  vec3::Copy(q.position, at);
  for (int c = 0; c < 3; ++c) {
    float v = 0.5f * s.smoke_velocity[c] - s.row_x()[c];
    v *= 0.15f + 0.55f * kxsystem::Random();
    q.velocity[c] = v + (kxsystem::Random() - 0.5f);
  }
  q.size = kSmokeSize;
  q.growth = 0.4f + 0.25f * k;
  q.ground = s.smoke_ground;
  q.life = kSmokeLife - kxsystem::Random();
  q.angle = 360.0f * kxsystem::Random();
  q.start_alpha = q.alpha = 0.02f + 0.98f * s.smoke_amount;
}

}  // namespace

void UpdateExhaust(simplayer* player, float dt) {
  if (!player || !player->flight_state) return;
  const kxdflightstate& s = *player->flight_state;
  const int count = std::clamp(s.exhaust_count, 0, simplayer::kExhaustRows);
  for (int e = 0; e < count; ++e) ExhaustRow(player->particles.exhaust_particles[e], s.exhaust[e], dt);
}

void UpdateSmoke(simplayer* player, float dt) {
  if (!player || !player->flight_state) return;
  simplayer& p = *player;
  const kxdflightstate& s = *p.flight_state;
  const float h = dt / static_cast<float>(kSmokeSubsteps);
  const int n = SmokeCount();
  // At most n / 7 emissions per second keep about n particles alive.
  const float interval = n > 0 ? kSmokeLife / static_cast<float>(n) : 0.0f;
  float at[3];  // where the smoke point was, moved forward each substep
  vec3::AddScaled(at, s.smoke_point, -dt, s.velocity);
  particle* free = nullptr;
  for (int step = 0; step < kSmokeSubsteps; ++step) {
    p.particles.smoke_clock += h;
    int walked = 0;  // a broken chain cannot loop for ever
    for (particle* q = p.particles.smoke_list; q && walked < simplayer::kSmokePool; q = q->next, ++walked) {
      q->life -= h;
      if (q->life <= 0.0f) {
        free = q;
      } else {
        MoveSmoke(*q, h);
      }
    }
    if (free && n > 0 && s.smoke_amount > kSmokeThreshold && p.particles.smoke_clock - p.particles.smoke_last_emit >= interval) {
      Emit(*free, s, at);
      p.particles.smoke_newest = free;
      p.particles.smoke_last_emit = p.particles.smoke_clock;
      free = nullptr;  // alive now: the next emission needs another dead one
    }
    vec3::AddScaled(at, at, h, s.velocity);
  }
}

void ResetSmoke(simplayer* player) {
  if (!player) return;
  simplayer& p = *player;
  const int n = SmokeCount();
  for (int i = 0; i < n; ++i) {
    p.particles.smoke_pool[i].life = -1.0f;
    p.particles.smoke_pool[i].next = i + 1 < n ? &p.particles.smoke_pool[i + 1] : nullptr;
  }
  p.particles.smoke_list = n > 0 ? p.particles.smoke_pool : nullptr;
  p.particles.smoke_newest = p.particles.smoke_pool;
  p.particles.smoke_pool[0].position[2] = kSmokeFarBelow;
  p.particles.smoke_clock = p.particles.smoke_last_emit = 0.0f;
}

}  // namespace sim
