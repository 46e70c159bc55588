#include "sim/world/balloons.h"

#include <algorithm>
#include <cmath>

#include "graphics/convex_body.h"
#include "graphics/mesh.h"
#include "graphics/mesh_load.h"
#include "platform/random.h"
#include "sim/world/contest_record.h"

namespace sim {
namespace {

constexpr const char* kBalloonMesh = "objects/balloon.obj";
constexpr float kBalloonAlpha = 0.9f;

// Grows the mesh by r about its origin; the grown shape becomes its rest
// shape. Returns the largest hull point distance from the origin.
float Grow(kxgeometry* mesh, float r) {
  double reach = 0.0;
  for (kxgeometry* el = mesh; el; el = el->next) {
    float p[3];
    for (int i = 0; i < el->vertexCount; ++i) {
      if (!kxgeometry::GetVertexPosition(el, i, p)) continue;
      for (float& c : p) c *= r;
      kxgeometry::SetVertexPosition(el, i, p);
    }
    for (int h = 0; h < el->hullCount; ++h) {
      double d2 = 0.0;
      for (int k = 0; k < 3; ++k) {
        if (el->hull) el->hull[3 * h + k] *= r;
        if (el->hull4) el->hull4[4 * h + k] *= r;
        double c = el->hull ? el->hull[3 * h + k] : 0.0;
        d2 += c * c;
      }
      reach = std::max(reach, std::sqrt(d2));
    }
    kxgeometry::UpdateBounds(el);
    kxgeometry::Store(el);
  }
  return static_cast<float>(reach);
}

}  // namespace

void MakeBalloons(contestrec* contest, int count, float size) {
  FreeBalloons(contest);
  int made = 0;
  for (int b = 0; b < count && b < contestrec::kMaxBalloons; ++b) {
    float r = size * (1.0f + kxsystem::Random());
    balloonrec* balloon = contest->balloons + made;
    *balloon = balloonrec{};
    kxmatrix::SetIdentity(&balloon->frame);
    if (!kxgl::LoadGeometry(kBalloonMesh, &balloon->mesh, 1, 0)) continue;
    // Bigger balloons are redder: f runs from 0.2 to 0.4.
    float f = 0.2f * r / size;
    const float colour[4] = {0.5f + 1.25f * f, f, f, kBalloonAlpha};
    std::copy(colour, colour + 4, balloon->mesh->ambient);
    std::copy(colour, colour + 4, balloon->mesh->diffuse);
    balloon->radius = Grow(balloon->mesh, r);
    kxcbody::Init(&balloon->body, balloon->mesh, balloon->frame.Data(), 0);
    if (made > 0) contest->balloons[made - 1].next = balloon;
    else contest->first_balloon = balloon;
    ++made;
  }
  contest->balloon_count = made;
  contest->balloons_left = made;
}

void FreeBalloons(contestrec* contest) {
  for (balloonrec& balloon : contest->balloons) {
    kxcbody::Free(&balloon.body);
    kxgeometry::Free(&balloon.mesh);
    balloon.next = nullptr;
  }
  contest->first_balloon = nullptr;
  contest->balloon_count = 0;
  contest->balloons_left = 0;
}

}  // namespace sim
