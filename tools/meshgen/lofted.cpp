// Lofted shapes of the mesh generator: airfoils, wing panels, bodies of
// revolution and blades.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/meshgen/meshgen.h"
#include "tools/meshgen/meshgen_grid.h"

namespace meshgen {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kDeg = kPi / 180.0f;

float Interpolate(const std::vector<std::pair<float, float>>& side, float x) {
  if (side.empty()) return 0.0f;
  if (x <= side.front().first) return side.front().second;
  for (size_t i = 1; i < side.size(); ++i) {
    if (x <= side[i].first) {
      float x0 = side[i - 1].first, x1 = side[i].first;
      float f = x1 > x0 ? (x - x0) / (x1 - x0) : 0.0f;
      return side[i - 1].second + f * (side[i].second - side[i - 1].second);
    }
  }
  return side.back().second;
}

// Adds a quad with the winding that makes its normal point along dir.
void AddQuadFacing(mesh& m, const float a[3], const float b[3], const float c[3], const float d[3],
                   const float dir[3]) {
  float u[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]}, v[3] = {d[0] - b[0], d[1] - b[1], d[2] - b[2]};
  float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
  if (n[0] * dir[0] + n[1] * dir[1] + n[2] * dir[2] >= 0) AddQuad(m, a, b, c, d);
  else AddQuad(m, d, c, b, a);
}

// A point of the panel at span fraction s, chord fraction f on one side.
void PanelPoint(const airfoil& section, const wingpanel& w, float s, float f, bool upper, float* p) {
  float chord = w.rootChord + s * (w.tipChord - w.rootChord);
  float y = s * w.span;
  float lead = -y * std::tan(w.sweepDeg * kDeg);
  float lift = y * std::tan(w.dihedralDeg * kDeg);
  float twist = s * w.twistDeg * kDeg;
  float x = -f * chord;
  float z = (upper ? Interpolate(section.upper, f) : Interpolate(section.lower, f)) * chord;
  // Nose up: the trailing edge (-x) moves down.
  p[0] = lead + x * std::cos(twist) - z * std::sin(twist);
  p[1] = y;
  p[2] = lift + z * std::cos(twist) + x * std::sin(twist);
}

}  // namespace

airfoil Naca4(int code, int points) {
  points = std::max(points, 4);
  float camber = static_cast<float>(code / 1000 % 10) / 100.0f;
  float position = static_cast<float>(code / 100 % 10) / 10.0f;
  float thickness = static_cast<float>(code % 100) / 100.0f;
  airfoil a;
  for (int i = 0; i <= points; ++i) {
    float x = 0.5f * (1.0f - std::cos(kPi * i / points));  // denser at both edges
    // Closed trailing edge form of the thickness polynomial.
    float yt = 5 * thickness *
               (0.2969f * std::sqrt(x) - 0.1260f * x - 0.3516f * x * x + 0.2843f * x * x * x -
                0.1036f * x * x * x * x);
    float yc = 0.0f;
    if (camber > 0 && position > 0) {
      yc = x < position ? camber / (position * position) * (2 * position * x - x * x)
                        : camber / ((1 - position) * (1 - position)) * (1 - 2 * position + 2 * position * x - x * x);
    }
    a.upper.push_back({x, yc + yt});
    a.lower.push_back({x, yc - yt});
  }
  return a;
}

mesh WingPanel(const airfoil& section, const wingpanel& w) {
  int rows = std::max(w.spanSteps, 1), cols = std::max(w.chordSteps, 1);
  // Surfaces, caps and cut faces take their stations from these two, so
  // neighbouring faces meet at bit-identical positions.
  auto spanAt = [&](int r) { return r >= rows ? w.spanTo : w.spanFrom + (w.spanTo - w.spanFrom) * r / rows; };
  auto chordAt = [&](int k) { return k >= cols ? w.chordTo : w.chordFrom + (w.chordTo - w.chordFrom) * k / cols; };
  auto index = [](float t, int n) { return static_cast<int>(std::lround(t * n)); };
  // Upper side runs forward (from the last chord station) so its normal points up.
  mesh m = Grid(rows, cols, false, [&](float u, float v, float* p) {
    PanelPoint(section, w, spanAt(index(v, rows)), chordAt(cols - index(u, cols)), true, p);
  });
  mesh lower = Grid(rows, cols, false, [&](float u, float v, float* p) {
    PanelPoint(section, w, spanAt(index(v, rows)), chordAt(index(u, cols)), false, p);
  });
  Append(m, lower);
  const float out[3] = {0, 1, 0}, in[3] = {0, -1, 0}, front[3] = {1, 0, 0}, back[3] = {-1, 0, 0};
  for (int k = 0; k < cols; ++k) {
    float fa = chordAt(k), fb = chordAt(k + 1);
    for (int end = 0; end < 2; ++end) {
      float s = spanAt(end ? rows : 0);
      float a[3], b[3], c[3], d[3];
      PanelPoint(section, w, s, fa, false, a);
      PanelPoint(section, w, s, fb, false, b);
      PanelPoint(section, w, s, fb, true, c);
      PanelPoint(section, w, s, fa, true, d);
      AddQuadFacing(m, a, b, c, d, end ? out : in);
    }
  }
  // Cut faces where the panel stops inside the chord (hinge lines).
  for (int edge = 0; edge < 2; ++edge) {
    float f = chordAt(edge ? cols : 0);
    if (f <= 0.0f || f >= 1.0f) continue;
    for (int r = 0; r < rows; ++r) {
      float a[3], b[3], c[3], d[3];
      PanelPoint(section, w, spanAt(r), f, false, a);
      PanelPoint(section, w, spanAt(r + 1), f, false, b);
      PanelPoint(section, w, spanAt(r + 1), f, true, c);
      PanelPoint(section, w, spanAt(r), f, true, d);
      AddQuadFacing(m, a, b, c, d, edge ? back : front);
    }
  }
  return m;
}

void HingedPanel(const airfoil& section, wingpanel panel, float hinge, mesh* fixed, mesh* surface) {
  float to = panel.chordTo;
  panel.chordTo = hinge;
  *fixed = WingPanel(section, panel);
  panel.chordFrom = hinge;
  panel.chordTo = to;
  *surface = WingPanel(section, panel);
}

void AileronWing(const airfoil& section, wingpanel panel, float from, float hinge, mesh* wing, mesh* aileron) {
  float to = panel.spanTo;
  panel.spanTo = from;
  *wing = WingPanel(section, panel);
  panel.spanFrom = from;
  panel.spanTo = to;
  mesh outer;
  HingedPanel(section, panel, hinge, &outer, aileron);
  Append(*wing, outer);
}

mesh BodyOfRevolution(const std::vector<std::pair<float, float>>& profile, int segments) {
  int rows = static_cast<int>(profile.size()) - 1;
  if (rows < 1) return mesh{};
  mesh m = Grid(rows, std::max(segments, 3), true, [&](float u, float v, float* p) {
    int i = std::clamp(static_cast<int>(std::lround(v * rows)), 0, rows);
    float a = 2 * kPi * u;
    p[0] = profile[i].first;
    p[1] = profile[i].second * std::cos(a);
    p[2] = profile[i].second * std::sin(a);
  });
  // The winding depends on the direction the profile runs; make it face out.
  for (size_t t = 0; t + 2 < m.triangles.size(); t += 3) {
    const vertex& a = m.vertices[m.triangles[t]];
    const vertex& b = m.vertices[m.triangles[t + 1]];
    const vertex& c = m.vertices[m.triangles[t + 2]];
    float u[3], w[3];
    for (int k = 0; k < 3; ++k) u[k] = b.p[k] - a.p[k], w[k] = c.p[k] - a.p[k];
    float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    float radial = n[1] * (a.p[1] + b.p[1] + c.p[1]) + n[2] * (a.p[2] + b.p[2] + c.p[2]);
    if (radial == 0.0f) continue;
    if (radial < 0) {
      for (size_t k = 0; k + 2 < m.triangles.size(); k += 3) std::swap(m.triangles[k + 1], m.triangles[k + 2]);
      for (vertex& v : m.vertices) v.n[0] = -v.n[0], v.n[1] = -v.n[1], v.n[2] = -v.n[2];
    }
    break;
  }
  return m;
}

mesh Blade(float hubRadius, float radius, float rootChord, float tipChord, float rootPitchDeg, float tipPitchDeg,
           int steps) {
  airfoil flat;
  airfoil thin = Naca4(8, 8);
  flat.upper = thin.upper;
  for (auto& point : flat.upper) point.second *= 2.0f;  // all thickness on top
  for (const auto& point : thin.upper) flat.lower.push_back({point.first, 0.0f});
  wingpanel w;
  w.span = radius - hubRadius;
  w.rootChord = rootChord;
  w.tipChord = tipChord;
  w.twistDeg = tipPitchDeg - rootPitchDeg;
  w.spanSteps = steps;
  w.chordSteps = 8;
  mesh m = WingPanel(flat, w);
  Translate(m, rootChord * 0.25f, 0.0f, 0.0f);
  RotateY(m, rootPitchDeg);
  Translate(m, 0.0f, hubRadius, 0.0f);
  return m;
}

void RotateY(mesh& m, float degrees) { Rotate(m, degrees * kDeg, 0, 2); }

void StandUp(mesh& m) {
  for (vertex& v : m.vertices) {
    float y = v.p[1], z = v.p[2];
    v.p[1] = -z, v.p[2] = y;
    y = v.n[1], z = v.n[2];
    v.n[1] = -z, v.n[2] = y;
  }
}

}  // namespace meshgen
