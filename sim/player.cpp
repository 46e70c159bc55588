#include "sim/player.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>

namespace {

// Where q points into the n records from first, the same place in the n
// records from to; any other link (null, or outside) stays as it is.
particle* Relink(particle* q, const particle* first, particle* to, int n) {
  const std::less<const particle*> before;
  if (!q || before(q, first) || !before(q, first + n)) return q;
  return to + (q - first);
}

}  // namespace

playerparticles::playerparticles() : smoke_pool(new particle[kSmokePool]()) {
  for (auto& row : exhaust_particles)
    for (int i = 0; i + 1 < kExhaustRowLength; ++i) row[i].next = &row[i + 1];
}

playerparticles::playerparticles(const playerparticles& other) : playerparticles() { *this = other; }

playerparticles::~playerparticles() { delete[] smoke_pool; }

playerparticles& playerparticles::operator=(const playerparticles& other) {
  if (this == &other) return *this;
  std::copy(other.smoke_pool, other.smoke_pool + kSmokePool, smoke_pool);
  CopyExhaust(other);
  auto relink = [&](particle* q) {
    particle* at = RelinkExhaust(q, other);
    return at != q ? at : Relink(q, other.smoke_pool, smoke_pool, kSmokePool);
  };
  for (particle* q = smoke_pool; q != smoke_pool + kSmokePool; ++q) q->next = relink(q->next);
  smoke_list = relink(other.smoke_list);
  smoke_newest = relink(other.smoke_newest);
  return *this;
}

playerparticles& playerparticles::operator=(playerparticles&& other) noexcept {
  if (this == &other) return *this;
  std::swap(smoke_pool, other.smoke_pool);
  std::swap(smoke_list, other.smoke_list);
  std::swap(smoke_newest, other.smoke_newest);
  CopyExhaust(other);
  return *this;
}

void playerparticles::CopyExhaust(const playerparticles& other) {
  for (int r = 0; r < kExhaustRows; ++r)
    std::copy(other.exhaust_particles[r], other.exhaust_particles[r] + kExhaustRowLength, exhaust_particles[r]);
  for (auto& row : exhaust_particles)
    for (particle& q : row) q.next = RelinkExhaust(q.next, other);
  smoke_clock = other.smoke_clock;
  smoke_last_emit = other.smoke_last_emit;
}

particle* playerparticles::RelinkExhaust(particle* q, const playerparticles& other) {
  for (int r = 0; r < kExhaustRows; ++r) {
    particle* at = Relink(q, other.exhaust_particles[r], exhaust_particles[r], kExhaustRowLength);
    if (at != q) return at;
  }
  return q;
}

playertrace::playertrace() { std::fill(std::begin(time), std::end(time), -1.0f); }

simplayer::simplayer() {
  kxmatrix::SetIdentity(&viewer);
  kxmatrix::SetIdentity(&saved_frame);
}

namespace sim {

simplayer players[kPlayers];
simplayer staging_player;

simplayer* Player(int index) { return index >= 0 && index < kPlayers ? &players[index] : nullptr; }

int PlayerIndex(const simplayer* player) {
  for (int i = 0; i < kPlayers; ++i)
    if (player == &players[i]) return i;
  return -1;
}

}  // namespace sim
