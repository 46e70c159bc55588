#include "tools/meshgen/meshgen.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/mesh.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Signed volume by the divergence theorem: positive when every triangle
// winds counter-clockwise seen from outside.
double Volume(const meshgen::mesh& m) {
  double v = 0;
  for (size_t t = 0; t + 2 < m.triangles.size(); t += 3) {
    const float* a = m.vertices[m.triangles[t]].p;
    const float* b = m.vertices[m.triangles[t + 1]].p;
    const float* c = m.vertices[m.triangles[t + 2]].p;
    v += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) + a[2] * (b[0] * c[1] - b[1] * c[0])) /
         6.0;
  }
  return v;
}

// Closed and consistently wound: every edge between two positions is met
// once in each direction (seams may repeat vertices at one position).
int UnmatchedEdges(const meshgen::mesh& m) {
  std::map<std::tuple<long, long, long>, int> ids;
  auto id = [&](const float* p) {
    auto key = std::make_tuple(std::lround(p[0] * 1e4), std::lround(p[1] * 1e4), std::lround(p[2] * 1e4));
    return ids.emplace(key, static_cast<int>(ids.size())).first->second;
  };
  std::multiset<std::pair<int, int>> edges;
  for (size_t t = 0; t + 2 < m.triangles.size(); t += 3) {
    int c[3] = {id(m.vertices[m.triangles[t]].p), id(m.vertices[m.triangles[t + 1]].p),
                id(m.vertices[m.triangles[t + 2]].p)};
    if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2]) continue;  // collapsed at a pole or edge
    for (int k = 0; k < 3; ++k) edges.insert({c[k], c[(k + 1) % 3]});
  }
  int unmatched = 0;
  for (const auto& e : edges)
    if (edges.count({e.second, e.first}) != edges.count(e)) ++unmatched;
  return unmatched;
}

}  // namespace

TEST(MeshGenerator, PrimitivesAreClosedOutwardAndOfTheirVolume) {
  meshgen::mesh box = meshgen::Box(2, 4, 6);
  EXPECT_EQ(UnmatchedEdges(box), 0);
  EXPECT_NEAR(Volume(box), 48.0, 1e-4);
  meshgen::mesh sphere = meshgen::Sphere(1.0f, 64, 32);
  EXPECT_EQ(UnmatchedEdges(sphere), 0);
  EXPECT_NEAR(Volume(sphere), 4.0 / 3.0 * kPi, 0.02 * 4.0 / 3.0 * kPi);
  meshgen::mesh cylinder = meshgen::Cylinder(0.5f, 2.0f, 64);
  EXPECT_EQ(UnmatchedEdges(cylinder), 0);
  EXPECT_NEAR(Volume(cylinder), kPi * 0.25 * 2.0, 0.01 * kPi * 0.5);
  meshgen::mesh torus = meshgen::Torus(1.0f, 0.25f, 64, 32);
  EXPECT_EQ(UnmatchedEdges(torus), 0);
  EXPECT_NEAR(Volume(torus), 2 * kPi * kPi * 0.0625, 0.02 * 2 * kPi * kPi * 0.0625);
}

TEST(MeshGenerator, BodyOfRevolutionFacesOutWhicheverWayTheProfileRuns) {
  std::vector<std::pair<float, float>> profile = {{1.0f, 0.0f}, {0.8f, 0.2f}, {-0.8f, 0.2f}, {-1.0f, 0.0f}};
  meshgen::mesh forward = meshgen::BodyOfRevolution(profile, 48);
  std::reverse(profile.begin(), profile.end());
  meshgen::mesh backward = meshgen::BodyOfRevolution(profile, 48);
  EXPECT_EQ(UnmatchedEdges(forward), 0);
  EXPECT_GT(Volume(forward), 0.15);
  EXPECT_NEAR(Volume(backward), Volume(forward), 1e-4);
}

TEST(MeshGenerator, NacaSectionHasItsThickness) {
  meshgen::airfoil a = meshgen::Naca4(12, 40);
  float thickest = 0, at = 0;
  for (size_t i = 0; i < a.upper.size(); ++i) {
    float t = a.upper[i].second - a.lower[i].second;
    if (t > thickest) thickest = t, at = a.upper[i].first;
  }
  EXPECT_NEAR(thickest, 0.12f, 0.002f);
  EXPECT_NEAR(at, 0.3f, 0.05f);
  EXPECT_NEAR(a.upper.back().second, a.lower.back().second, 1e-6);  // closed trailing edge
}

TEST(MeshGenerator, ControlSurfaceAndFixedPartMakeUpThePanel) {
  meshgen::airfoil section = meshgen::Naca4(2412, 24);
  meshgen::wingpanel w;
  w.span = 1.0f;
  w.rootChord = 0.3f;
  w.tipChord = 0.2f;
  w.sweepDeg = 5.0f;
  w.dihedralDeg = 4.0f;
  w.twistDeg = -3.0f;
  w.chordSteps = 40;
  meshgen::mesh whole = meshgen::WingPanel(section, w);
  w.chordTo = 0.7f;
  meshgen::mesh fixed = meshgen::WingPanel(section, w);
  w.chordFrom = 0.7f;
  w.chordTo = 1.0f;
  meshgen::mesh flap = meshgen::WingPanel(section, w);
  for (const meshgen::mesh* m : {&whole, &fixed, &flap}) {
    EXPECT_EQ(UnmatchedEdges(*m), 0);
    EXPECT_GT(Volume(*m), 0);
  }
  EXPECT_NEAR(Volume(fixed) + Volume(flap), Volume(whole), 0.02 * Volume(whole));
  // The tip sits a span out, raised by the dihedral.
  float maxY = 0, tipZ = 0;
  for (const meshgen::vertex& v : whole.vertices)
    if (v.p[1] >= maxY) maxY = v.p[1], tipZ = v.p[2];
  EXPECT_FLOAT_EQ(maxY, 1.0f);
  EXPECT_NEAR(tipZ, std::tan(4.0 * kPi / 180), 0.03);
}

TEST(MeshGenerator, BladeReachesItsRadiusWithItsPitch) {
  meshgen::mesh blade = meshgen::Blade(0.05f, 0.5f, 0.06f, 0.03f, 20.0f, 10.0f, 8);
  EXPECT_EQ(UnmatchedEdges(blade), 0);
  EXPECT_GT(Volume(blade), 0);
  float minY = 1, maxY = 0;
  for (const meshgen::vertex& v : blade.vertices) minY = std::min(minY, v.p[1]), maxY = std::max(maxY, v.p[1]);
  EXPECT_FLOAT_EQ(minY, 0.05f);
  EXPECT_FLOAT_EQ(maxY, 0.5f);
}

TEST(MeshGenerator, FlatGroundFacesUpAndRollingGroundKeepsItsBorder) {
  meshgen::mesh flat = meshgen::Ground(200.0f, 4, 0.0f);
  for (const meshgen::vertex& v : flat.vertices) {
    EXPECT_EQ(v.p[2], 0.0f);
    EXPECT_FLOAT_EQ(v.n[2], 1.0f);
  }
  EXPECT_EQ(flat.triangles.size(), 4u * 4u * 6u);
  meshgen::mesh rolling = meshgen::Ground(200.0f, 20, 5.0f);
  float highest = 0;
  for (const meshgen::vertex& v : rolling.vertices) {
    highest = std::max(highest, std::fabs(v.p[2]));
    if (std::fabs(v.p[0]) == 100.0f) {
      EXPECT_NEAR(v.p[2], 0.0f, 1e-5);
    }
  }
  EXPECT_GT(highest, 1.0f);
  EXPECT_LE(highest, 5.0f);
}

namespace {

meshgen::sampleairplane Biplane(float propellerRadius) {
  meshgen::sampleairplane p;
  p.fuselage = {{0.4f, 0.0f}, {0.3f, 0.06f}, {-0.6f, 0.01f}, {-0.62f, 0.0f}};
  meshgen::samplewing upper;
  upper.name = "Upper";
  upper.z = 0.15f;
  upper.incidenceDeg = 10.0f;
  meshgen::samplewing lower;
  lower.name = "Lower";
  lower.ailerons = false;
  p.wings = {upper, lower};
  p.propellerX = 0.42f;
  p.propellerRadius = propellerRadius;
  p.propellerPitch = 0.15f;
  return p;
}

const kxgeometry* Group(const kxgeometry* list, const char* group) {
  for (const kxgeometry* el = list; el; el = el->next) {
    if (std::string(el->group) == group) return el;
  }
  return nullptr;
}

}  // namespace

TEST(MeshGenerator, SampleAirplaneListsEachPartAfterItsParent) {
  kxgeometry* list = meshgen::SampleAirplane(Biplane(0.15f));
  ASSERT_NE(list, nullptr);
  std::vector<std::string> order;
  for (const kxgeometry* el = list; el; el = el->next) {
    order.push_back(el->group);
    EXPECT_GT(el->triangleCount, 0) << el->group;
  }
  const std::vector<std::string> expected = {
      "Fuselage", "LeftUpperWing", "LeftUpperWing/LeftUpperAileron", "RightUpperWing",
      "RightUpperWing/RightUpperAileron", "LeftLowerWing", "RightLowerWing", "Stabilizer", "Stabilizer/Elevator",
      "Fin", "Fin/Rudder", "Propeller/Blade1", "Propeller/Blade2"};
  EXPECT_EQ(order, expected);
  // The right half mirrors the left; the incidence drops the trailing edge.
  const kxgeometry* left = Group(list, "LeftUpperWing");
  const kxgeometry* right = Group(list, "RightUpperWing");
  EXPECT_NEAR(left->boundsMax[1], -right->boundsMin[1], 1e-4f);
  EXPECT_NEAR(left->boundsMax[1], 0.6f, 1e-3f);
  EXPECT_LT(left->boundsMin[2], 0.15f - 0.22f * std::sin(10.0f * static_cast<float>(kPi) / 180.0f) + 0.01f);
  // The blades reach the radius about the hub.
  const kxgeometry* blade = Group(list, "Propeller/Blade1");
  EXPECT_NEAR(std::max(blade->boundsMax[1], -blade->boundsMin[1]), 0.15f, 0.01f);
  kxgeometry::Free(&list);
}

TEST(MeshGenerator, SampleAirplaneWithoutPropellerRadiusHasNoBlades) {
  kxgeometry* list = meshgen::SampleAirplane(Biplane(0.0f));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Group(list, "Propeller/Blade1"), nullptr);
  EXPECT_NE(Group(list, "Fin/Rudder"), nullptr);
  kxgeometry::Free(&list);
}

// A leg joins its mount on the airframe to its wheel's hub: the strut's box
// spans the two points, widened by no more than its radius.
TEST(MeshGenerator, SampleAirplaneLegRunsFromItsMountToTheHub) {
  meshgen::sampleairplane p = Biplane(0.0f);
  p.wheels = {{0.1f, 0.15f, -0.2f, 0.04f}};
  p.legs = {{{0.12f, 0.04f, -0.06f}, {0.1f, 0.13f, -0.2f}}};
  p.legRadius = 0.005f;
  kxgeometry* list = meshgen::SampleAirplane(p);
  ASSERT_NE(list, nullptr);
  const kxgeometry* leg = Group(list, "Gear1");
  ASSERT_NE(leg, nullptr);
  const float lo[3] = {0.1f, 0.04f, -0.2f}, hi[3] = {0.12f, 0.13f, -0.06f};
  for (int k = 0; k < 3; ++k) {
    EXPECT_LT(leg->boundsMin[k], lo[k] + 1e-4f) << k;
    EXPECT_GT(leg->boundsMin[k], lo[k] - p.legRadius - 1e-4f) << k;
    EXPECT_GT(leg->boundsMax[k], hi[k] - 1e-4f) << k;
    EXPECT_LT(leg->boundsMax[k], hi[k] + p.legRadius + 1e-4f) << k;
  }
  // The leg follows the wheel in the list, as the geometry script appends it.
  const kxgeometry* wheel = Group(list, "Wheel1");
  ASSERT_NE(wheel, nullptr);
  EXPECT_EQ(wheel->next, leg);
  kxgeometry::Free(&list);
}

// The glider rolls on a main wheel a little ahead of its balance point
// and a tail wheel that keeps the tail cone off the ground.
TEST(MeshGenerator, GliderStandsOnItsWheelsWithTheTailClear) {
  kxgeometry* list = meshgen::Glider();
  ASSERT_NE(list, nullptr);
  const kxgeometry* fuselage = Group(list, "Fuselage");
  const kxgeometry* main = Group(list, "Wheel1");
  const kxgeometry* tail = Group(list, "Wheel2");
  ASSERT_TRUE(fuselage && main && tail);
  EXPECT_LT(main->boundsMin[2], fuselage->boundsMin[2]);
  // The line under both wheels passes below the fuselage's rear end.
  const float mainX = 0.5f * (main->boundsMin[0] + main->boundsMax[0]);
  const float tailX = 0.5f * (tail->boundsMin[0] + tail->boundsMax[0]);
  const float slope = (tail->boundsMin[2] - main->boundsMin[2]) / (tailX - mainX);
  const float underTail = main->boundsMin[2] + slope * (fuselage->boundsMin[0] - mainX);
  EXPECT_LT(underTail, fuselage->boundsMin[2]);
  // Ahead of the balance point at x = 0, yet close enough for the tail to
  // rise at flying speed.
  EXPECT_GT(mainX, 0.03f);
  EXPECT_LT(mainX, 0.12f);
  kxgeometry::Free(&list);
}
