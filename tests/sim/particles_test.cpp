#include "sim/particles.h"

#include <cmath>
#include <memory>

#include "tests/sim/sim_support.h"

namespace {

class Particles : public simtest::simtest {
 protected:
  void SetUp() override {
    simtest::SetUp();
    p.flight_state = &state;
    state.row_x()[0] = 1;
    for (auto& row : p.particles.exhaust_particles) Clear(row);
  }
  // The row's puffs back to nothing; its links stay.
  static void Clear(particle* row) {
    for (int i = 0; i < simplayer::kExhaustRowLength; ++i) {
      particle* next = row[i].next;
      row[i] = particle{};
      row[i].next = next;
    }
  }
  simplayer& p = sim::players[0];
  kxdflightstate state;

  int Living() const {
    int n = 0;
    for (const particle* q = p.particles.smoke_list; q; q = q->next) n += q->life > 0;
    return n;
  }
};

// ---- exhaust

TEST_F(Particles, ExhaustEmitsOnePuffPerFifteenCentimetresBetweenOneAndEighteen) {
  struct {
    float way;  // m since the last puff
    int puffs;
  } cases[] = {{0.0f, 1}, {0.1f, 1}, {0.5f, 3}, {3.0f, 18}, {40.0f, 18}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.way);
    Clear(p.particles.exhaust_particles[0]);
    state.exhaust_count = 1;
    state.exhaust[0].position[0] = c.way;
    sim::UpdateExhaust(&p, 0.01f);
    int puffs = 0;
    for (const particle& q : p.particles.exhaust_particles[0]) puffs += q.alpha > 0;
    EXPECT_EQ(puffs, c.puffs);
  }
}

TEST_F(Particles, ExhaustPuffsSpreadEvenlyAlongTheWayAndKeepTheRowLinked) {
  state.exhaust_count = 2;
  state.exhaust[1].position[0] = 3.0f;
  state.exhaust[1].intensity = 0.5f;
  sim::UpdateExhaust(&p, 0.0f);
  const particle* row = p.particles.exhaust_particles[1];
  float alpha = 0.3f;
  for (int j = 0; j < 18; ++j) {
    alpha *= 1.0f - 0.01f * j;  // each place down the row fades a puff more, even in no time
    EXPECT_NEAR(row[j].position[0], 3.0f * (1.0f - j / 18.0f), 1e-5f) << j;
    EXPECT_FLOAT_EQ(row[j].alpha, alpha) << j;
    EXPECT_EQ(row[j].size, 0.06f);
  }
  EXPECT_EQ(row[18].alpha, 0.0f);
  for (int i = 0; i + 1 < simplayer::kExhaustRowLength; ++i) EXPECT_EQ(row[i].next, &row[i + 1]);
  EXPECT_EQ(row[simplayer::kExhaustRowLength - 1].next, nullptr);
}

TEST_F(Particles, OlderExhaustPuffsFadeFasterAndGrowWithTime) {
  state.exhaust_count = 1;
  state.exhaust[0].intensity = 1.0f;
  const float h = 0.01f;
  for (int frame = 0; frame < 3; ++frame) sim::UpdateExhaust(&p, h);  // standing still: one puff a frame
  const particle* row = p.particles.exhaust_particles[0];
  EXPECT_FLOAT_EQ(row[0].alpha, 0.4f);
  EXPECT_FLOAT_EQ(row[1].alpha, 0.4f * (1 - 10 * h) * 0.99f);
  EXPECT_FLOAT_EQ(row[2].alpha, 0.4f * (1 - 10 * h) * 0.99f * (1 - 10 * h) * 0.98f);
  EXPECT_FLOAT_EQ(row[2].size, 0.06f + 2.0f * h + 2.0f * (1 - 20 * h) * h);
}

// ---- smoke

TEST_F(Particles, ThePoolChainsTheSettingsCountClampedAndStartsDead) {
  struct {
    int setting, chained;
  } cases[] = {{700, 700}, {9000, simplayer::kSmokePool}, {0, 0}, {-5, 0}};
  for (const auto& c : cases) {
    sim::session.settings.smoke_particles = c.setting;
    sim::ResetSmoke(&p);
    int n = 0, alive = 0;
    for (const particle* q = p.particles.smoke_list; q; q = q->next) ++n, alive += q->life > 0;
    EXPECT_EQ(n, c.chained) << c.setting;
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(p.particles.smoke_newest, p.particles.smoke_pool);
    EXPECT_EQ(p.particles.smoke_pool[0].position[2], -10000.0f);
  }
  state.smoke_amount = 1;
  sim::UpdateSmoke(&p, 0.01f);  // 0 records: nothing to emit into, nothing divided by 0
  EXPECT_EQ(p.particles.smoke_list, nullptr);
}

TEST_F(Particles, SmokeIsEmittedAtMostSmokeParticlesOverSevenTimesASecond) {
  sim::session.settings.smoke_particles = 700;
  sim::ResetSmoke(&p);
  state.smoke_amount = 0.5f;
  state.velocity[0] = 20;
  int emitted = 0;
  const particle* newest = p.particles.smoke_newest;
  for (int frame = 0; frame < 100; ++frame) {
    sim::UpdateSmoke(&p, 0.01f);
    emitted += p.particles.smoke_newest != newest;
    newest = p.particles.smoke_newest;
  }
  // Five substeps make one emission interval here: rounding of the clock
  // makes some intervals take a sixth.
  EXPECT_LE(emitted, 100);
  EXPECT_GE(emitted, 80);
  EXPECT_EQ(Living(), emitted);
  EXPECT_FLOAT_EQ(p.particles.smoke_newest->start_alpha, 0.02f + 0.98f * 0.5f);
  EXPECT_NEAR(p.particles.smoke_newest->growth, 0.4f + 0.25f, 1e-3f);  // k is 1 from 20 m/s on
}

TEST_F(Particles, NoSmokeUpToTwoHundredthsButLivingParticlesStillMoveAndFade) {
  sim::session.settings.smoke_particles = 700;
  sim::ResetSmoke(&p);
  state.smoke_amount = 1.0f;
  state.smoke_velocity[2] = 4;
  sim::UpdateSmoke(&p, 0.01f);
  ASSERT_EQ(Living(), 1);
  state.smoke_amount = 0.02f;
  const particle q = *p.particles.smoke_newest;
  for (int frame = 0; frame < 50; ++frame) sim::UpdateSmoke(&p, 0.01f);
  EXPECT_EQ(Living(), 1);
  EXPECT_NE(p.particles.smoke_newest->position[2], q.position[2]);
  EXPECT_LT(p.particles.smoke_newest->alpha, q.alpha);
  EXPECT_GT(p.particles.smoke_newest->size, q.size);
}

// A particle dies when its alpha, start alpha x (density x life / 7)^2,
// drops below 0.001, and at the latest when its life (7 s less a random
// part) runs out.
TEST_F(Particles, SmokeLivesAtMostSevenSecondsAndLessWhenThin) {
  for (float density : {1.0f, 0.5f}) {
    SCOPED_TRACE(density);
    sim::session.settings.smoke_density = density;
    sim::session.settings.smoke_particles = 700;
    sim::ResetSmoke(&p);
    state.smoke_amount = 1.0f;
    state.smoke_point[2] = 100;
    sim::UpdateSmoke(&p, 0.01f);
    state.smoke_amount = 0;
    ASSERT_EQ(Living(), 1);
    const float life = p.particles.smoke_newest->life;
    EXPECT_LE(life, 7.0f);
    const float faded = life - 7.0f * std::sqrt(0.001f) / density;  // s of age at which it fades out
    float age = 0;
    for (; age < faded - 0.05f; age += 0.01f) sim::UpdateSmoke(&p, 0.01f);
    EXPECT_EQ(Living(), 1);
    for (; age < faded + 0.05f; age += 0.01f) sim::UpdateSmoke(&p, 0.01f);
    EXPECT_EQ(Living(), 0);
  }
}

TEST_F(Particles, SmokeThatReachesItsGroundStaysOnItAndSpreads) {
  sim::session.settings.smoke_particles = 700;
  sim::ResetSmoke(&p);
  particle& q = p.particles.smoke_pool[3];
  q.life = 5;
  q.start_alpha = 1;
  q.size = 0.1f;
  q.ground = 2.0f;
  q.position[2] = 2.0f + 0.075f + 0.01f;
  q.velocity[2] = -4;
  sim::UpdateSmoke(&p, 0.01f);
  EXPECT_FLOAT_EQ(q.position[2], 2.0f + 0.75f * q.size);
  EXPECT_EQ(q.velocity[2], 0.0f);
  EXPECT_GT(std::hypot(q.velocity[0], q.velocity[1]), 0.01f);
  EXPECT_LT(std::hypot(q.velocity[0], q.velocity[1]), 3.0f * std::sqrt(2.0f));
}

// A copy is linked through its own records: the fresh rows in order, the
// smoke chain and its newest entry at the same places, an outside link kept.
TEST_F(Particles, ACopyLinksItsOwnRecordsAndKeepsOutsideLinks) {
  auto copy = std::make_unique<playerparticles>();
  for (const auto& row : copy->exhaust_particles) {
    for (int i = 0; i + 1 < simplayer::kExhaustRowLength; ++i) EXPECT_EQ(row[i].next, &row[i + 1]);
    EXPECT_EQ(row[simplayer::kExhaustRowLength - 1].next, nullptr);
  }
  sim::session.settings.smoke_particles = 5;
  sim::ResetSmoke(&p);
  particle outside{};
  p.particles.smoke_pool[4].next = &outside;
  p.particles.smoke_newest = &p.particles.smoke_pool[2];
  p.particles.smoke_clock = 1.5f;
  *copy = p.particles;
  EXPECT_EQ(copy->smoke_list, copy->smoke_pool);
  EXPECT_EQ(copy->smoke_newest, &copy->smoke_pool[2]);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(copy->smoke_pool[i].next, &copy->smoke_pool[i + 1]) << i;
  EXPECT_EQ(copy->smoke_pool[4].next, &outside);
  EXPECT_EQ(copy->exhaust_particles[3][7].next, &copy->exhaust_particles[3][8]);
  EXPECT_EQ(copy->smoke_clock, 1.5f);
  p.particles.smoke_pool[4].next = nullptr;
}

}  // namespace
