// Every sample flown through a fixed script and compared with its committed
// trace: the main body's position and axes every 0.1 s over 10 s. The
// traces pin what the driver computes, so a change that should only make it
// faster shows here as more than rounding. Over the first second the flight
// stays within 1 cm and 0.01 rad of its trace; later, rounding grows through
// the flight's own instabilities, and each script's bounds come from flying
// it with the rounding of its sums changed (see kScripts).
// SKYVANE_UPDATE_GOLDEN=1 writes the traces anew.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "samples_support.h"

namespace {

using namespace kxdtest;

namespace fs = std::filesystem;

constexpr float kTraced = 10.0f;     // s
constexpr float kEarly = 1.0f;       // s held to the tight bounds
constexpr int kEvery = 6;            // frames between trace rows
constexpr float kEarlyPosition = 0.01f;  // m
constexpr float kEarlyAngle = 0.01f;     // rad
constexpr float kSpinUp = 10.0f;     // s of rotor run-up on the ground before a helicopter's trace
constexpr float kHoverCollective = 0.045f;  // where the rigging puts the hover
constexpr float kSkidsBelowBody = 0.16f;   // m, skid undersides below the main body's origin

enum class kind { air, roll, hover };

struct script {
  const char* name;
  kind how;
  float speed;     // m/s at placement
  float position;  // m, bound after kEarly
  float angle;     // rad, bound after kEarly
};

// The later bounds are ten times the larger of two measured changes made by
// rounding alone: the association of one sum in every hand-over of a
// carried body's torque, and matrix-vector products summed in double
// instead of float. At least the early bounds. The tail-dragger's roll is
// the touchiest: its tail wheel's friction turns with the sign of its speed.
const script kScripts[] = {
    {"christeneagle", kind::air, 13.0f, 0.017f, 0.01f}, {"trainer", kind::air, 11.0f, 0.01f, 0.01f},
    {"jet", kind::air, 17.0f, 0.016f, 0.01f},           {"glider", kind::air, 9.0f, 0.01f, 0.01f},
    {"christeneagle", kind::roll, 5.0f, 2.2f, 0.045f},  {"trainer", kind::roll, 5.0f, 0.081f, 0.036f},
    {"jet", kind::roll, 5.0f, 0.13f, 0.024f},           {"heli", kind::hover, 0.0f, 0.022f, 0.018f},
    {"heli01", kind::hover, 0.0f, 0.01f, 0.01f},
};

struct row {
  float t;
  float v[9];  // position, X axis, Y axis
};

std::string FileName(const script& s) {
  static const char* const kKinds[] = {"air", "roll", "hover"};
  return std::string(s.name) + "_" + kKinds[static_cast<int>(s.how)] + ".txt";
}

void PrintTo(const script& s, std::ostream* out) { *out << FileName(s); }

class sampletrace : public samples, public ::testing::WithParamInterface<script> {
 protected:
  sampletrace() : samples(0.0f) {}
  void SetUp() override {
    samples::SetUp();
    CopySamples({"christeneagle", "trainer", "jet", "glider", "heli", "heli01", "airfoil"});
  }

  // The script's controls at time t of the trace: slow sweeps of every
  // surface, each at its own period, so the links move in every substep.
  void Controls(const script& s, float t, const kxdbody* m) {
    float sweep = std::sin(t * 1.3f);
    if (s.how == kind::hover) {
      Set(kCollective, kHoverCollective - 0.4f * m->D.R.z);
      Set(kRoll, -3.0f * m->B.Y.z - 0.3f * m->D.Y.z + 0.1f * sweep);
      Set(kCyclicPitch, 3.0f * m->B.X.z + 0.3f * m->D.X.z + 0.1f * std::sin(t * 0.7f));
      Set(kTailRotor, 0.2f * std::sin(t * 0.9f));
      return;
    }
    // On the ground the steering is gentle: a ground loop would make the
    // roll chaotic, and rounding alone would then decide where it ends.
    float share = s.how == kind::air ? 1.0f : 0.3f;
    Set(kEngine1, s.how == kind::air ? 1.0f : 0.2f * sweep - 0.6f);
    Set(kElevator, 0.2f * std::sin(t * 0.8f));
    Set(kLeftAileron, 0.3f * share * sweep);
    Set(kRightAileron, -0.3f * share * sweep);
    Set(kRudder, 0.3f * share * std::sin(t * 1.7f));
  }

  std::vector<row> Fly(const script& s) {
    std::vector<row> trace;
    if (!kxdaircraftinstance::AircraftLoad(s.name, 0)) return trace;
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    if (s.how == kind::hover) {
      Set(kCollective, -1.0f);
      Place(instance, kSkidsBelowBody + 0.001f, 0.0f);
      samples::Fly(kSpinUp);
    } else {
      Place(instance, s.how == kind::air ? 100.0f : 0.5f, s.speed);
    }
    // Start makes the simulated clone anew: its main body is read after it.
    const kxdbody* m = instance->SimMainBody;
    for (int k = 0; k <= static_cast<int>(std::lround(kTraced / kFrame)); ++k) {
      float t = k * kFrame;
      if (k % kEvery == 0) {
        row r{t, {m->B.R.x, m->B.R.y, m->B.R.z, m->B.X.x, m->B.X.y, m->B.X.z, m->B.Y.x, m->B.Y.y, m->B.Y.z}};
        trace.push_back(r);
      }
      Controls(s, t, m);
      kxdynamics::Step(kFrame, &ground);
    }
    kxdynamics::Stop();
    kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
    return trace;
  }

  static fs::path Golden(const script& s) { return fs::path(KX_TEST_DATA) / "traces" / FileName(s); }

  static void Write(const fs::path& path, const std::vector<row>& trace) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path);
    out << "# t, main body position (m), X axis, Y axis\n";
    char line[256];
    for (const row& r : trace) {
      int n = std::snprintf(line, sizeof line, "%.2f", r.t);
      for (float v : r.v) n += std::snprintf(line + n, sizeof line - n, " %.9g", v);
      out << line << "\n";
    }
  }

  static std::vector<row> Read(const fs::path& path) {
    std::vector<row> trace;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream fields(line);
      row r{};
      fields >> r.t;
      for (float& v : r.v) fields >> v;
      if (fields) trace.push_back(r);
    }
    return trace;
  }
};

// Largest position distance (m) and axis difference (about rad) of two rows.
void Differences(const row& a, const row& b, float* position, float* angle) {
  float d2 = 0.0f, x2 = 0.0f, y2 = 0.0f;
  for (int k = 0; k < 3; ++k) {
    d2 += (a.v[k] - b.v[k]) * (a.v[k] - b.v[k]);
    x2 += (a.v[3 + k] - b.v[3 + k]) * (a.v[3 + k] - b.v[3 + k]);
    y2 += (a.v[6 + k] - b.v[6 + k]) * (a.v[6 + k] - b.v[6 + k]);
  }
  *position = std::sqrt(d2);
  *angle = std::sqrt(std::max(x2, y2));
}

TEST_P(sampletrace, FliesItsCommittedTrace) {
  const script& s = GetParam();
  std::vector<row> flown = Fly(s);
  ASSERT_EQ(flown.size(), static_cast<size_t>(std::lround(kTraced / (kEvery * kFrame))) + 1)
      << kxtest::logcapture::Text();
  if (std::getenv("SKYVANE_UPDATE_GOLDEN")) {
    Write(Golden(s), flown);
    return;
  }
  std::vector<row> golden = Read(Golden(s));
  ASSERT_EQ(golden.size(), flown.size());
  float worstPosition = 0.0f, worstAngle = 0.0f;
  for (size_t i = 0; i < golden.size(); ++i) {
    ASSERT_NEAR(flown[i].t, golden[i].t, 1e-3f);
    float position = 0.0f, angle = 0.0f;
    Differences(flown[i], golden[i], &position, &angle);
    bool early = golden[i].t <= kEarly + 1e-3f;
    EXPECT_LE(position, early ? kEarlyPosition : s.position) << "at " << golden[i].t << " s";
    EXPECT_LE(angle, early ? kEarlyAngle : s.angle) << "at " << golden[i].t << " s";
    worstPosition = std::max(worstPosition, position);
    worstAngle = std::max(worstAngle, angle);
  }
  std::printf("%s: within %.3g m and %.3g rad of its trace\n", FileName(s).c_str(), worstPosition, worstAngle);
}

INSTANTIATE_TEST_SUITE_P(Samples, sampletrace, ::testing::ValuesIn(kScripts),
                         [](const ::testing::TestParamInfo<script>& info) {
                           std::string name = FileName(info.param);
                           return name.substr(0, name.size() - 4);
                         });

}  // namespace
