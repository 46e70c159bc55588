// Sections: parts shared by the samples; meshes shared by the samples; the
// helicopters; the samples.
#include "tools/legacygen/samples.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/maths.h"
#include "graphics/mesh.h"
#include "tools/legacygen/dns_text.h"
#include "tools/meshgen/meshgen.h"

namespace legacygen {
namespace {

// ---- Parts shared by the samples --------------------------------------------

constexpr vec kForward{1, 0, 0};
constexpr vec kLeft{0, 1, 0};
constexpr vec kUp{0, 0, 1};
// A wing's frame has X forward, Y to the right and Z down, so positive lift
// coefficients lift the model.
constexpr vec kRight{0, -1, 0};
constexpr vec kDown{0, 0, -1};
// A fin's frame has Y up and Z to the right: it lifts toward the left, so
// positive rudder pushes the tail left and yaws the nose right.
constexpr vec kFinY = kUp;
constexpr vec kFinZ = kRight;
constexpr int kTypeMass = 6;
constexpr int kTypePropeller = 2;
constexpr int kTypePowered = 5;
constexpr int kTypeRotor = 10;
constexpr int kChannelThrottle = 0;
constexpr int kChannelAileron = 1;
constexpr int kChannelElevator = 2;
constexpr int kChannelRudder = 3;
constexpr int kChannelPropellerPitch = 7;  // left at 0: a fixed-pitch propeller
constexpr int kChannelTailDrive = 11;      // written by the gyro: moment only
constexpr int kFrequencyBase = 11025;      // Hz
constexpr int kFrequencyShift = 22050;     // Hz

vec Mirrored(vec v) { return {v.x, -v.y, v.z}; }
vec Minus(vec a, vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
vec Cross(vec a, vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
vec Unit(vec a) {
  float n = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
  return {a.x / n, a.y / n, a.z / n};
}

// The mass part: a diagonal inertia tensor (kg m^2) and its inverse.
void MassPart(dnstext& d, float mass, vec inertia, float expo) {
  d.Part("dummy", "Mass").SetInt("Type", kTypeMass).Set("M", mass);
  d.SetVector("X", {inertia.x, 0, 0}).SetVector("Y", {0, inertia.y, 0}).SetVector("Z", {0, 0, inertia.z});
  d.SetVector("XT", {1.0f / inertia.x, 0, 0}).SetVector("YT", {0, 1.0f / inertia.y, 0});
  d.SetVector("ZT", {0, 0, 1.0f / inertia.z}).Set("Expo", expo);
}

void Fuselage(dnstext& d, float cw0, float ca1, float area) {
  d.Part("fuselage", "Body").SetAxes(kForward, kLeft, kUp).Set("Cw0", cw0).Set("Ca1", ca1).Set("Area", area);
}

struct surface {
  const char* name;
  vec x, y, z;      // frame
  vec r;            // m, where the drag acts
  vec rl;           // m, where the lift acts
  float area;       // m^2
  int channel;
  float c1;         // control per unit of the channel; its sign is the sense
  float ca00, ca1, cca;
  float factor;     // share of the slipstream
  float cw00 = 0.02f, cw3 = 1.0f;
  float edge = 0.25f, slope = 8.0f, loss = 0.6f;
};

void Surface(dnstext& d, const surface& s) {
  d.Part("wing", s.name).SetAxes(s.x, s.y, s.z).SetVector("R", s.r).SetVector("Rl", s.rl);
  d.Set("Area", s.area).SetInt("Channel", s.channel).Set("C1", s.c1);
  d.Set("Cca", s.cca).Set("Ca00", s.ca00).Set("Ca1", s.ca1).Set("Cw00", s.cw00).Set("Cw3", s.cw3);
  d.Set("Edge", s.edge).Set("Slope", s.slope).Set("Loss", s.loss).Set("Factor", s.factor);
}

// v turned about x by the angle (rad): +y toward +z.
vec TurnedAboutX(vec v, float a) {
  const float c = std::cos(a), s = std::sin(a);
  return {v.x, v.y * c - v.z * s, v.y * s + v.z * c};
}

// A wing half on the left and its mirror image with the opposite aileron.
// With dihedral (deg) each half is turned about x so that its tip rises,
// and its points rise with it.
void WingPair(dnstext& d, surface left, float dihedralDeg = 0.0f) {
  const float a = dihedralDeg * kxmaths::kRadiansPerDegree;
  surface right = left;
  left.y = TurnedAboutX(left.y, a);
  left.z = TurnedAboutX(left.z, a);
  left.r.z += left.r.y * std::tan(a);
  left.rl.z += left.rl.y * std::tan(a);
  Surface(d, left);
  right.name = "WingR";
  right.y = TurnedAboutX(right.y, -a);
  right.z = TurnedAboutX(right.z, -a);
  right.r = Mirrored(left.r);
  right.rl = Mirrored(left.rl);
  right.c1 = -left.c1;
  Surface(d, right);
}

struct strut {
  float kz = 400.0f;      // N/m
  float dz = 8.0f;        // N s/m
  float kRoll = 0.05f, kSRoll = 0.5f, kSlip = 0.8f, kSSlip = 1.0f;
};

// A wheel whose tyre meets the ground at s below its mounting point r.
// Steering is rad per unit of the rudder channel; a positive angle turns
// the wheel toward +y (left), so a nose wheel that follows the rudder
// right has a negative one.
void Wheel(dnstext& d, const char* name, vec r, vec s, float steering, const strut& k) {
  d.Part("wheel", name).SetAxes(kForward, kLeft, kUp).SetVector("R", r).SetVector("S", s);
  d.Set("Kz", k.kz).Set("Dz", k.dz).Set("KRoll", k.kRoll).Set("KSRoll", k.kSRoll);
  d.Set("KSlip", k.kSlip).Set("KSSlip", k.kSSlip).Set("C0", steering);
}

struct skid {
  float max = 60.0f;      // N
  float kc = 2.0f, kd = 1.0f;
  float kz = 500.0f;      // N/m
  float dz = 5.0f;        // N s/m
};

void Tip(dnstext& d, const char* name, vec r, const skid& k) {
  d.Part("tip", name).SetVector("R", r).Set("Max", k.max).Set("Kc", k.kc).Set("Kd", k.kd);
  d.Set("Kz", k.kz).Set("Dz", k.dz);
}

struct powerplant {
  float max;              // rad/s of the shaft
  float inertia;          // kg m^2
  float c0, c1;           // throttle curve
  float cm0, cm1, cm3;    // torque curve
  const char* sound;      // "" for none
};

void Engine(dnstext& d, const powerplant& p) {
  d.Part("engine", "Eng").SetVector("R", {0.2f, 0, 0}).SetInt("Channel", kChannelThrottle);
  d.Set("C0", p.c0).Set("C1", p.c1).Set("Cm0", p.cm0).Set("Cm1", p.cm1).Set("Cm3", p.cm3);
  d.Set("Inertia", p.inertia).Set("Min", 0.0f).Set("Max", p.max);
  if (*p.sound) {
    d.SetText("SoundFile", p.sound).SetInt("SoundFrequencyBase", kFrequencyBase);
    d.SetInt("SoundFrequencyShift", kFrequencyShift);
  }
}

struct airscrew {
  const char* name;
  vec x, y, z;            // frame: thrust along z
  vec r;                  // m, hub
  int channel;
  float radius;           // m
  float sigma;            // solidity
  float trans;            // shaft turns per engine turn
  float inertia;          // kg m^2
  float theta, c1;        // pitch offset and pitch per unit of the channel
  float ct0, cp0, cp1;
  float max;              // rad/s of full sound pitch
};

void Propeller(dnstext& d, const airscrew& a) {
  d.Part("propeller", a.name).SetInt("Type", kTypePropeller).SetAxes(a.x, a.y, a.z).SetVector("R", a.r);
  d.SetText("Engine", "Eng").SetInt("Channel", a.channel).Set("Theta", a.theta).Set("C1", a.c1);
  d.Set("Radius", a.radius).Set("Area", 3.14159265f * a.radius * a.radius).Set("Sigma", a.sigma);
  d.Set("Ct0", a.ct0).Set("Cp0", a.cp0).Set("Cp1", a.cp1).Set("Trans", a.trans).Set("Inertia", a.inertia);
  d.Set("Max", a.max);
}

struct mainrotor {
  vec r;                  // m, hub
  float radius;           // m
  float sigma;
  float trans;
  float inertia;          // kg m^2
  float cp0, cp1;         // collective curve (radians x 5)
  float cp2, cp3;         // gust amplitudes of the older simulator's small helicopter
  const char* sound;
  // N m per rad of disc tilt (Kx, Ky) at the rotor's gyroscopic speed: the
  // hub pulls the body after the disc.
  float tiltMoment;
  // N m per rad/s of the tilt's rate (Dx, Dy). A body turning under a disc
  // that holds its attitude tilts the disc against the turn, and the
  // moment follows that rate with the gain's sign: a positive gain drives
  // the turn on (on a small inertia the roll runs away within seconds, on a
  // larger one it rocks at the hub's frequency), a negative one damps it.
  float rateDamping;
};

void Rotor(dnstext& d, const mainrotor& m) {
  d.Part("rotor", "Rotor").SetInt("Type", kTypeRotor).SetAxes(kForward, kLeft, kUp).SetVector("R", m.r);
  d.SetText("Engine", "Eng").Set("Trans", m.trans).Set("Inertia", m.inertia);
  d.SetInt("ChannelP", kChannelThrottle).SetInt("ChannelR", kChannelAileron).SetInt("ChannelN", kChannelElevator);
  d.Set("Radius", m.radius).Set("Area", 3.14159265f * m.radius * m.radius).Set("Sigma", m.sigma);
  d.Set("Cp0", m.cp0).Set("Cp1", m.cp1).Set("Cp2", m.cp2).Set("Cp3", m.cp3).Set("Cr1", 0.3f).Set("Cn1", 0.3f);
  d.Set("Ct0", 0.05f).Set("Ct1", 5.0f).Set("Cq0", 0.008f).Set("Cq2", 0.5f);
  d.Set("Ground01", 1.0f).Set("Ground02", 4.0f).Set("Forward01", 0.02f).Set("Forward02", 0.01f);
  d.Set("LossR", 0.05f).Set("LossN", 0.05f).Set("DampingX", 2.0f).Set("DampingY", 2.0f);
  d.Set("Kx", m.tiltMoment).Set("Ky", m.tiltMoment).Set("Dx", m.rateDamping).Set("Dy", m.rateDamping);
  d.SetText("SoundFile", m.sound).SetInt("SoundFrequencyBase", kFrequencyBase);
  d.SetInt("SoundFrequencyShift", kFrequencyBase);
}

// The heading lock sums the yaw rate into its angle while its rate term
// acts against the rate, so the two agree only with a negative Gain; the
// tail rotor's pitch then falls as the gyro's output rises.
void HeadingGyro(dnstext& d, float gain, float fade) {
  d.Part("gyro", "Gyro").SetAxes(kForward, kLeft, kUp).SetInt("Channel", kChannelRudder);
  d.SetInt("Lock", 1).SetInt("Reverse", 1).Set("Gain", gain).Set("Fade", fade);
}

// A drawn control surface hinged on the line from a to b (body axes): the
// linked wing swings it by 0.4 rad per unit of its control about its Z
// axis, so with the hinge running toward +y a positive control lowers its
// trailing edge, and with the hinge running down it turns it right.
void ControlSurface(dnstext& d, const char* name, vec a, vec b) {
  vec z = Unit(Minus(b, a));
  d.Part("flap", name).SetAxes(kForward, Cross(z, kForward), z).SetVector("R", a);
}

// ---- Meshes shared by the samples -------------------------------------------

constexpr float kWhite[3] = {0.92f, 0.92f, 0.9f};
constexpr float kYellow[3] = {0.95f, 0.8f, 0.15f};
constexpr float kRed[3] = {0.85f, 0.15f, 0.1f};
constexpr float kGrey[3] = {0.25f, 0.25f, 0.28f};
constexpr float kBlack[3] = {0.08f, 0.08f, 0.08f};
constexpr float kGlass[3] = {0.3f, 0.45f, 0.7f};

struct elements {
  std::vector<kxgeometry*> list;
  void Add(const meshgen::mesh& m, const char* name, const float* rgb) {
    list.push_back(meshgen::ColouredElement(m, name, "", rgb));
  }
  kxgeometry* Chain() { return meshgen::Chain(list.data(), list.size()); }
};

meshgen::mesh Panel(int naca, float span, float rootChord, float tipChord, float dihedralDeg) {
  meshgen::wingpanel w;
  w.span = span;
  w.rootChord = rootChord;
  w.tipChord = tipChord;
  w.dihedralDeg = dihedralDeg;
  w.spanSteps = 6;
  return meshgen::WingPanel(meshgen::Naca4(naca, 12), w);
}

// Left and right wing halves with the leading edge at x and the root at z.
void Wings(elements& e, float span, float rootChord, float tipChord, float dihedralDeg, float x, float z) {
  meshgen::mesh left = Panel(2412, span, rootChord, tipChord, dihedralDeg);
  meshgen::Translate(left, x, 0, z);
  meshgen::mesh right = left;
  meshgen::Mirror(right);
  e.Add(left, "WingL", kYellow);
  e.Add(right, "WingR", kYellow);
}

void Tail(elements& e, float halfSpan, float chord, float finSpan, float finChord, float x, float z) {
  meshgen::mesh stab = Panel(9, halfSpan, chord, 0.8f * chord, 0.0f);
  meshgen::AddMirrorImage(stab);
  meshgen::Translate(stab, x, 0, z);
  meshgen::mesh fin = Panel(9, finSpan, finChord, 0.6f * finChord, 0.0f);
  meshgen::StandUp(fin);
  meshgen::Translate(fin, x - 0.02f, 0, z + 0.01f);
  e.Add(stab, "Stab", kRed);
  e.Add(fin, "Fin", kRed);
}

// Blades spinning about z, the first along +y.
meshgen::mesh Blades(int count, float hub, float radius, float chord, float pitchDeg) {
  meshgen::mesh all;
  for (int i = 0; i < count; ++i) {
    meshgen::mesh blade = meshgen::Blade(hub, radius, chord, 0.6f * chord, pitchDeg, 0.5f * pitchDeg, 4);
    meshgen::RotateZ(blade, 360.0f * i / count);
    meshgen::Append(all, blade);
  }
  return all;
}

// A wheel on an axle along y, touching the ground at s.
void WheelMesh(elements& e, const char* name, vec s, float radius) {
  meshgen::mesh tyre = meshgen::Cylinder(radius, 0.4f * radius, 12);
  meshgen::StandUp(tyre);
  meshgen::Translate(tyre, s.x, s.y, s.z + radius);
  e.Add(tyre, name, kBlack);
}

// A helicopter body: cabin, tail boom, rotor mast and two skids (m).
meshgen::mesh HeliBody(float length, float skidY, float skidZ, float mastTop) {
  meshgen::mesh body = meshgen::BodyOfRevolution(
      {{0.3f * length, 0}, {0.25f * length, 0.08f * length}, {0.05f * length, 0.11f * length},
       {-0.15f * length, 0.08f * length}, {-0.25f * length, 0.03f * length}, {-0.27f * length, 0}},
      12);
  meshgen::mesh boom = meshgen::Cylinder(0.015f * length, 0.7f * length, 8);
  meshgen::RotateY(boom, 90.0f);
  meshgen::Translate(boom, -0.6f * length, 0, 0.05f * length);
  meshgen::Append(body, boom);
  meshgen::mesh mast = meshgen::Cylinder(0.01f * length, mastTop, 8);
  meshgen::Translate(mast, 0, 0, 0.5f * mastTop);
  meshgen::Append(body, mast);
  for (float side : {1.0f, -1.0f}) {
    meshgen::mesh skid = meshgen::Box(0.5f * length, 0.02f * length, 0.02f * length);
    meshgen::Translate(skid, 0, side * skidY, skidZ);
    meshgen::Append(body, skid);
  }
  return body;
}

// ---- The vector jet ----------------------------------------------------------

// Its wing: leading edge at x, root at height z, aileron outboard of
// kAileronFrom of the half span behind kHinge of the chord.
constexpr float kJetSpan = 0.5f, kJetRootChord = 0.22f, kJetTipChord = 0.14f, kJetWingX = 0.1f, kJetWingZ = 0.03f;
constexpr float kAileronFrom = 0.55f, kHinge = 0.72f;
// The tail's hinge lines (m): the elevator's along y, the rudder's along z.
constexpr float kJetTailX = -0.36f, kJetTailChord = 0.11f, kJetStabSpan = 0.17f, kJetFinSpan = 0.14f;
constexpr float kJetTailHingeX = kJetTailX - kHinge * kJetTailChord;

meshgen::wingpanel JetPanel(float span, float rootChord, float tipChord) {
  meshgen::wingpanel w;
  w.span = span;
  w.rootChord = rootChord;
  w.tipChord = tipChord;
  w.spanSteps = 4;
  w.chordSteps = 8;
  return w;
}

// A tail surface of the span (m) with its control surface behind the hinge,
// its leading edge at the tail and its root at height z: a fin stands up, a
// stabiliser is made whole across y = 0.
void JetTailSurface(elements& e, const char* name, const char* surfaceName, float span, bool fin, float z) {
  meshgen::mesh fixed, surface;
  meshgen::HingedPanel(meshgen::Naca4(9, 12), JetPanel(span, kJetTailChord, kJetTailChord), kHinge, &fixed, &surface);
  for (meshgen::mesh* m : {&fixed, &surface}) {
    if (fin) meshgen::StandUp(*m);
    else meshgen::AddMirrorImage(*m);
    meshgen::Translate(*m, kJetTailX, 0, z);
  }
  e.Add(fixed, name, kGrey);
  e.Add(surface, surfaceName, kRed);
}

// The hinge of the left aileron at a share of the half span (body axes).
vec AileronHinge(float share) {
  float chord = kJetRootChord + (kJetTipChord - kJetRootChord) * share;
  return {kJetWingX - kHinge * chord, kJetSpan * share, kJetWingZ};
}

// The vector jet's wings, tail, body and gear as parts.
void JetAirframe(dnstext& d) {
  MassPart(d, 1.2f, {0.04f, 0.06f, 0.09f}, 0.3f);
  Fuselage(d, 1.0f, 0.5f, 0.012f);  // the exhausts hang in the flow
  for (const char* side : {"L", "R"}) {
    const bool left = side[0] == 'L';
    const float y = left ? 0.25f : -0.25f;
    Surface(d, {left ? "WingL" : "WingR", kForward, kRight, kDown, {0, y, kJetWingZ}, {-0.02f, y, kJetWingZ}, 0.09f,
                kChannelAileron, left ? 1.0f : -1.0f, 0.25f, 5.0f, 0.3f, 0.0f});
    // The air brake opens with the throttle in its lowest two fifths.
    d.SetText("Flap", std::string("Aileron") + side).SetText("Brake", "Spoiler");
    // The induced drag of a wing of aspect ratio 5.6. With the exhausts'
    // drag on the body it damps the swings of speed and height, which the
    // nozzles' thrust, the same at any speed, would not.
    d.Set("Cw5", 0.1f);
    d.SetInt("ChannelB", kChannelThrottle).Set("Bl", 0.3f).Set("Bd", 0.01f);
  }
  Surface(d, {"Stab", kForward, kRight, kDown, {kJetTailX - 0.04f, 0, 0.02f}, {kJetTailX - 0.05f, 0, 0.02f}, 0.035f,
              kChannelElevator, 1.0f, 0.0f, 4.0f, 0.8f, 0.0f});
  d.SetText("Flap", "Elevator");
  Surface(d, {"Fin", kForward, kFinY, kFinZ, {kJetTailX - 0.05f, 0, 0.08f}, {kJetTailX - 0.06f, 0, 0.08f}, 0.016f,
              kChannelRudder, 1.0f, 0.0f, 3.0f, 0.5f, 0.0f});
  d.SetText("Flap", "Rudder");
  // The right aileron's hinge runs toward +y too: both lower their trailing
  // edge for a positive control of their own wing.
  ControlSurface(d, "AileronL", AileronHinge(kAileronFrom), AileronHinge(1.0f));
  ControlSurface(d, "AileronR", Mirrored(AileronHinge(1.0f)), Mirrored(AileronHinge(kAileronFrom)));
  ControlSurface(d, "Elevator", {kJetTailHingeX, 0, 0.02f}, {kJetTailHingeX, 1, 0.02f});
  ControlSurface(d, "Rudder", {kJetTailHingeX, 0, 0.1f}, {kJetTailHingeX, 0, -0.9f});
  // A plate on the back that rises 3 cm with the air brake fully open.
  d.Part("brake", "Spoiler").SetAxes(kForward, kLeft, kUp).SetVector("R", {-0.08f, 0, 0.055f}).Set("Shift", 0.03f);
  strut k;
  k.kz = 500.0f;
  Wheel(d, "Nose", {0.3f, 0, -0.08f}, {0.3f, 0, -0.14f}, -0.3f, k);
  Wheel(d, "MainL", {-0.05f, 0.12f, -0.08f}, {-0.05f, 0.12f, -0.14f}, 0.0f, k);
  Wheel(d, "MainR", {-0.05f, -0.12f, -0.08f}, {-0.05f, -0.12f, -0.14f}, 0.0f, k);
  skid s;
  Tip(d, "TipNose", {0.45f, 0, 0}, s);
  Tip(d, "TipL", {0, kJetSpan, kJetWingZ}, s);
  Tip(d, "TipR", {0, -kJetSpan, kJetWingZ}, s);
  Tip(d, "TipTail", {-0.5f, 0, 0.02f}, s);
}

// Four nozzles beside the centre of gravity share the thrust and steer it:
// pitch between the front and the rear pair, roll between the left and the
// right, yaw with a sideways push of one rear nozzle; each against the
// body's rate as well.
void Nozzles(dnstext& d, float forceMax) {
  d.Part("harrier", "Lift").Set("ForceMax", forceMax);
  d.SetVector("R0", {0.05f, 0.07f, 0}).SetVector("R1", {0.05f, -0.07f, 0});
  d.SetVector("R2", {-0.05f, 0.07f, 0}).SetVector("R3", {-0.05f, -0.07f, 0});
  d.Set("DiffPitch", -0.2f).Set("DiffRoll", 0.2f).Set("DiffYaw", 0.3f);
  d.Set("DampPitch", 0.05f).Set("DampRoll", -0.05f).Set("DampYaw", 0.05f);
  d.SetText("SoundFile", "jet").SetInt("SoundFrequencyBase", kFrequencyBase).SetInt("SoundFrequencyShift", kFrequencyBase);
}

// ---- The helicopters ---------------------------------------------------------

// The tail rotor blows sideways: thrust along y, its disc in the x-z plane.
constexpr vec kTailY{0, 0, -1};

// The two helicopters differ in size and in the sounds they use.
struct helicopter {
  const char* name;
  const char* description;
  float scale;            // lengths against the large one
  float mass;             // kg
  vec inertia;            // kg m^2
  powerplant engine;
  mainrotor rotor;
  airscrew tail;
  float gyroGain, gyroFade;
};

sample Helicopter(const helicopter& h) {
  float l = h.scale;
  dnstext d(std::string(h.name) + ": " + h.description);
  MassPart(d, h.mass, h.inertia, 0.3f);
  Fuselage(d, 0.6f, 1.0f, 0.04f * l * l);
  Engine(d, h.engine);
  HeadingGyro(d, h.gyroGain, h.gyroFade);
  Rotor(d, h.rotor);
  Propeller(d, h.tail);
  skid s;
  s.max = 80.0f * h.mass;
  s.kz = 800.0f * h.mass;
  s.dz = 8.0f * h.mass;
  const char* skids[] = {"SkidFL", "SkidFR", "SkidBL", "SkidBR"};
  for (int i = 0; i < 4; ++i) {
    Tip(d, skids[i], {(i < 2 ? 0.15f : -0.15f) * l, (i % 2 ? -0.12f : 0.12f) * l, -0.2f * l}, s);
  }
  Tip(d, "TipTail", {-0.95f * l, 0, 0.05f * l}, s);

  elements e;
  e.Add(HeliBody(l, 0.12f * l, -0.2f * l, h.rotor.r.z), "Body", kRed);
  meshgen::mesh rotor = Blades(2, 0.04f * l, h.rotor.radius, 0.08f * h.rotor.radius, 6.0f);
  meshgen::Translate(rotor, h.rotor.r.x, h.rotor.r.y, h.rotor.r.z);
  e.Add(rotor, "Rotor", kGrey);
  meshgen::mesh tail = Blades(2, 0.01f * l, h.tail.radius, 0.2f * h.tail.radius, 10.0f);
  meshgen::StandUp(tail);  // spins about y
  meshgen::Translate(tail, h.tail.r.x, h.tail.r.y, h.tail.r.z);
  e.Add(tail, "TailRotor", kGrey);
  return {h.name, d.Text(), e.Chain()};
}

}  // namespace

// ---- The samples ------------------------------------------------------------


sample Fall() {
  dnstext d("fall: the mass part alone, a body falling freely");
  MassPart(d, 1.0f, {0.1f, 0.1f, 0.1f}, 0.3f);
  return {"fall", d.Text(), nullptr};
}

sample Glider() {
  dnstext d("glider: body axes x fwd, y left, z up, origin = centre of gravity");
  MassPart(d, 1.0f, {0.12f, 0.06f, 0.17f}, 0.3f);
  Fuselage(d, 0.2f, 0.5f, 0.008f);
  WingPair(d, {"WingL", kForward, kRight, kDown, {0, 0.5f, 0.04f}, {-0.015f, 0.5f, 0.04f}, 0.19f, kChannelAileron,
               1.0f, 0.35f, 5.5f, 0.3f, 0.0f, 0.015f, 0.8f});
  Surface(d, {"Stab", kForward, kRight, kDown, {-0.8f, 0, 0.04f}, {-0.82f, 0, 0.04f}, 0.05f, kChannelElevator, 1.0f,
              -0.1f, 4.0f, 0.8f, 0.0f});
  Surface(d, {"Fin", kForward, kFinY, kFinZ, {-0.82f, 0, 0.1f}, {-0.84f, 0, 0.1f}, 0.025f, kChannelRudder, 1.0f,
              0.0f, 3.0f, 0.5f, 0.0f});
  strut k;
  k.kz = 300.0f;
  Wheel(d, "Nose", {0.2f, 0, -0.06f}, {0.2f, 0, -0.11f}, -0.3f, k);
  Wheel(d, "MainL", {-0.04f, 0.1f, -0.06f}, {-0.04f, 0.1f, -0.11f}, 0.0f, k);
  Wheel(d, "MainR", {-0.04f, -0.1f, -0.06f}, {-0.04f, -0.1f, -0.11f}, 0.0f, k);
  skid s;
  Tip(d, "TipNose", {0.36f, 0, 0}, s);
  Tip(d, "TipL", {0, 1.0f, 0.07f}, s);
  Tip(d, "TipR", {0, -1.0f, 0.07f}, s);
  Tip(d, "TipTail", {-0.85f, 0, 0}, s);

  elements e;
  e.Add(meshgen::BodyOfRevolution({{0.36f, 0}, {0.32f, 0.035f}, {0.2f, 0.05f}, {0.0f, 0.045f}, {-0.35f, 0.025f},
                                   {-0.85f, 0.012f}, {-0.88f, 0}},
                                  14),
        "Body", kWhite);
  Wings(e, 1.0f, 0.2f, 0.13f, 3.0f, 0.05f, 0.04f);
  Tail(e, 0.22f, 0.11f, 0.16f, 0.13f, -0.76f, 0.04f);
  WheelMesh(e, "Nose", {0.2f, 0, -0.11f}, 0.025f);
  WheelMesh(e, "MainL", {-0.04f, 0.1f, -0.11f}, 0.025f);
  WheelMesh(e, "MainR", {-0.04f, -0.1f, -0.11f}, 0.025f);
  return {"glider", d.Text(), e.Chain()};
}

/* The trainer on its take-off run. Its nose wheel turns half as far as a
   full rudder would take it (about 11 degrees): with the wheels' sliding
   friction a wider travel made a small rudder input swing it round at taxi
   speeds (0.2 turned it 72 degrees in 1.6 s at 10 km/h, now 40). A wing
   tip that touches slides over the grass: its friction is a newton at
   40 km/h, not the model's whole weight, which had a tip caught by a
   banked lift-off slew the model round at up to 260 degrees a second.
   Its ailerons move as far as a trainer's do (a full roll rate of about
   75 degrees a second at 50 km/h, not 125): with the wider travel the
   keypad's first two steps of aileron and rudder at 40 km/h at full
   throttle, where it lifts off, banked it 33 degrees in 1.5 s onto a tip,
   which swung it 35 degrees round in 1.6 s; now it banks 28 degrees and
   turns 18. Off its wheels by then, a wider track would not have held it
   up, and the dihedral, which its wing now flies with as drawn, rolls it
   a little further with the rudder's slip. Its tips touch where the drawn
   tips are. */
constexpr float kTrainerNoseSteering = -0.2f;     // rad per unit of the rudder channel
constexpr float kTrainerWingTipFriction = 0.1f;   // N s/m
constexpr float kTrainerAileronTravel = 0.6f;     // of the wing's control per unit of the aileron channel
constexpr float kTrainerHalfSpan = 0.7f;          // m
constexpr float kTrainerWingZ = 0.05f;            // m, the root's chord line
constexpr float kTrainerDihedral = 2.0f;          // deg, each half
constexpr float kTrainerTipDepth = 0.01f;         // m, the tip's underside below its chord line

sample Trainer() {
  dnstext d("trainer: body axes x fwd, y left, z up, origin = centre of gravity");
  MassPart(d, 1.2f, {0.08f, 0.06f, 0.13f}, 0.3f);
  Fuselage(d, 0.3f, 0.5f, 0.01f);
  const float halfWay = 0.5f * kTrainerHalfSpan;
  WingPair(d, {"WingL", kForward, kRight, kDown, {0, halfWay, kTrainerWingZ}, {-0.02f, halfWay, kTrainerWingZ}, 0.16f,
               kChannelAileron, kTrainerAileronTravel, 0.3f, 5.0f, 0.3f, 0.3f},
           kTrainerDihedral);
  Surface(d, {"Stab", kForward, kRight, kDown, {-0.6f, 0, 0.05f}, {-0.62f, 0, 0.05f}, 0.06f, kChannelElevator, 1.0f,
              -0.15f, 4.0f, 0.8f, 0.3f});
  Surface(d, {"Fin", kForward, kFinY, kFinZ, {-0.62f, 0, 0.12f}, {-0.64f, 0, 0.12f}, 0.03f, kChannelRudder, 1.0f,
              0.0f, 3.0f, 0.5f, 0.3f});
  Engine(d, {1600.0f, 0.0002f, 0.0f, 1.0f, 0.5f, -0.0003f, -0.05f, "engine"});
  Propeller(d, {"Prop", kLeft, kUp, kForward, {0.3f, 0, 0}, kChannelPropellerPitch, 0.125f, 0.1f, 1.0f, 0.0001f,
                0.15f, 0.0f, 0.1f, 0.02f, 1.0f, 1600.0f});
  strut k;
  Wheel(d, "Nose", {0.25f, 0, -0.12f}, {0.25f, 0, -0.2f}, kTrainerNoseSteering, k);
  Wheel(d, "MainL", {-0.05f, 0.15f, -0.12f}, {-0.05f, 0.15f, -0.2f}, 0.0f, k);
  Wheel(d, "MainR", {-0.05f, -0.15f, -0.12f}, {-0.05f, -0.15f, -0.2f}, 0.0f, k);
  skid s;
  skid wingTip = s;
  wingTip.kd = kTrainerWingTipFriction;
  const float tipZ = kTrainerWingZ + kTrainerHalfSpan * std::tan(kTrainerDihedral * kxmaths::kRadiansPerDegree) -
                     kTrainerTipDepth;
  Tip(d, "TipL", {0, kTrainerHalfSpan, tipZ}, wingTip);
  Tip(d, "TipR", {0, -kTrainerHalfSpan, tipZ}, wingTip);
  Tip(d, "TipTail", {-0.72f, 0, 0}, s);

  elements e;
  e.Add(meshgen::BodyOfRevolution({{0.3f, 0}, {0.28f, 0.05f}, {0.15f, 0.065f}, {-0.1f, 0.06f}, {-0.45f, 0.035f},
                                   {-0.7f, 0.01f}, {-0.72f, 0}},
                                  16),
        "Body", kWhite);
  Wings(e, kTrainerHalfSpan, 0.22f, 0.2f, kTrainerDihedral, 0.06f, kTrainerWingZ);
  Tail(e, 0.22f, 0.12f, 0.16f, 0.14f, -0.55f, 0.05f);
  meshgen::mesh prop = Blades(2, 0.015f, 0.125f, 0.025f, 30.0f);
  meshgen::RotateY(prop, 90.0f);  // spins about x
  meshgen::Translate(prop, 0.3f, 0, 0);
  e.Add(prop, "Prop", kGrey);
  WheelMesh(e, "Nose", {0.25f, 0, -0.2f}, 0.04f);
  WheelMesh(e, "MainL", {-0.05f, 0.15f, -0.2f}, 0.04f);
  WheelMesh(e, "MainR", {-0.05f, -0.15f, -0.2f}, 0.04f);
  // No part is named for the canopy: it is drawn as an element of its own.
  meshgen::mesh canopy = meshgen::Sphere(0.05f, 12, 8);
  meshgen::Translate(canopy, 0.08f, 0, 0.06f);
  e.Add(canopy, "", kGlass);
  return {"trainer", d.Text(), e.Chain()};
}

// Its nozzles point 45 deg down and back, where their channel rests in the
// program: at full throttle they carry half its weight, it leaves the
// ground after about 6 s with the elevator neutral and climbs on its wings
// at about 10 deg.
sample VectorJet() {
  dnstext d("vectorjet: vectored thrust, drawn control surfaces, an air brake and a vario");
  JetAirframe(d);
  Nozzles(d, 8.0f);
  d.Part("vario", "Vario");
  d.Part("graphic", "Canopy").SetAxes(kForward, kLeft, kUp);
  // The nozzles have no frame to be drawn in: their exhausts are, and they
  // make the model a powered one for the simulator.
  d.Part("graphic", "Exhausts").SetInt("Type", kTypePowered).SetAxes(kForward, kLeft, kUp);

  elements e;
  e.Add(meshgen::BodyOfRevolution({{0.45f, 0}, {0.4f, 0.035f}, {0.25f, 0.06f}, {0.0f, 0.06f}, {-0.3f, 0.04f},
                                   {-0.5f, 0.02f}, {-0.52f, 0}},
                                  16),
        "Body", kWhite);
  meshgen::mesh wing, aileron;
  meshgen::AileronWing(meshgen::Naca4(2412, 12), JetPanel(kJetSpan, kJetRootChord, kJetTipChord), kAileronFrom, kHinge,
                       &wing, &aileron);
  meshgen::Translate(wing, kJetWingX, 0, kJetWingZ);
  meshgen::Translate(aileron, kJetWingX, 0, kJetWingZ);
  meshgen::mesh wingR = wing, aileronR = aileron;
  meshgen::Mirror(wingR);
  meshgen::Mirror(aileronR);
  e.Add(wing, "WingL", kGrey);
  e.Add(wingR, "WingR", kGrey);
  e.Add(aileron, "AileronL", kRed);
  e.Add(aileronR, "AileronR", kRed);
  JetTailSurface(e, "Stab", "Elevator", kJetStabSpan, false, 0.02f);
  JetTailSurface(e, "Fin", "Rudder", kJetFinSpan, true, 0.03f);
  meshgen::mesh spoiler = meshgen::Box(0.06f, 0.05f, 0.006f);
  meshgen::Translate(spoiler, -0.08f, 0, 0.055f);
  e.Add(spoiler, "Spoiler", kYellow);
  meshgen::mesh canopy = meshgen::Sphere(0.045f, 12, 8);
  meshgen::Translate(canopy, 0.2f, 0, 0.045f);
  e.Add(canopy, "Canopy", kGlass);
  meshgen::mesh exhausts;
  for (vec at : {vec{0.05f, 0.07f, -0.03f}, vec{0.05f, -0.07f, -0.03f}, vec{-0.05f, 0.07f, -0.03f},
                 vec{-0.05f, -0.07f, -0.03f}}) {
    meshgen::mesh nozzle = meshgen::Cylinder(0.018f, 0.04f, 10);
    meshgen::Translate(nozzle, at.x, at.y, at.z);
    meshgen::Append(exhausts, nozzle);
  }
  e.Add(exhausts, "Exhausts", kBlack);
  WheelMesh(e, "Nose", {0.3f, 0, -0.14f}, 0.025f);
  WheelMesh(e, "MainL", {-0.05f, 0.12f, -0.14f}, 0.03f);
  WheelMesh(e, "MainR", {-0.05f, -0.12f, -0.14f}, 0.03f);
  return {"vectorjet", d.Text(), e.Chain()};
}

// Its collective holds a hover at about 0.15 of the stick, climbs 6 m/s at
// full and sinks at the bottom; its light engine spins the rotor up in about
// three seconds.
sample Heli() {
  return Helicopter({"heli", "rotor of Type 10, heading-lock gyro, tail rotor on channel 11", 1.0f, 1.5f,
                     {0.03f, 0.08f, 0.07f},
                     {1600.0f, 0.0001f, 0.8f, 0.2f, 0.6f, -0.0003f, -0.05f, ""},
                     {{0, 0, 0.25f}, 0.6f, 0.05f, 0.1f, 0.02f, 0.38f, 0.3f, 0.0f, 0.0f, "heli", 0.5f, -0.5f},
                     {"TailRotor", kForward, kTailY, kLeft, {-0.9f, 0.03f, 0.05f}, kChannelTailDrive, 0.1f, 0.1f,
                      0.5f, 0.00005f, 0.0f, -0.3f, 0.1f, 0.01f, 1.0f, 800.0f},
                     -2.0f, 0.5f});
}

// Its collective is fixed: the throttle, from idle to full, turns the rotor
// from too slow to lift it to fast enough to climb.
sample Piccolo() {
  return Helicopter({"piccolo", "the small helicopter: fixed collective, gusts near the ground", 0.4f, 0.25f,
                     {0.0015f, 0.004f, 0.0035f},
                     {1200.0f, 0.00005f, 0.5f, 0.5f, 0.12f, -0.00005f, -0.01f, ""},
                     {{0, 0, 0.1f}, 0.25f, 0.06f, 0.25f, 0.0005f, 0.5f, 0.0f, 0.15f, 0.15f, "motor", 0.025f, -0.025f},
                     {"TailRotor", kForward, kTailY, kLeft, {-0.36f, 0.015f, 0.02f}, kChannelTailDrive, 0.04f, 0.1f,
                      0.6f, 0.000005f, 0.0f, -0.3f, 0.1f, 0.01f, 1.0f, 800.0f},
                     -1.5f, 3.0f});
}

}  // namespace legacygen
