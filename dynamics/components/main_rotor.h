// The helicopter main rotors: a hub of flapping blades driven by an engine
// through a gear and a one-way clutch, steered by collective and cyclic
// pushrods, with a see-saw flybar, momentum-theory inflow and ground effect.
// kxdrotor00 (up to 4 blades, flybar on the blades) and kxdrotor01 (up to 8
// blades, turning the other way, no flybar term, angle wrap) are one model
// with a sense of rotation; the rotor rides on its fuselage and acts on it.
//
// Sections: main_rotor.cpp (keys, copies, file lines, lifecycle, drawing),
// main_rotor_step.cpp (force pass and integration), rotor_blades.cpp (the
// blades in the force pass), blade_elements.cpp (the elements' loads),
// rotor_geometry.cpp (blade measurement), rotor_aero.cpp (the small laws the
// step is made of).
#pragma once

#include <limits>

#include "dynamics/body.h"
#include "dynamics/component_sound.h"

class kxgeometricobject;
class kxdengine;

// The small laws of the rotor model, free functions so they can be checked
// one by one.
namespace kxdrotoraero {

// Clutch stiffness (N m per rad/s of slip) at engine speed w (rad/s): 10 at
// or above the engagement speed, falling by 0.1 per rad/s below it, never
// negative.
float ClutchFactor(float engineSpeed, float engagementSpeed);
// Drive torque (N m) through the one-way clutch; 0 while the rotor overruns.
float DriveTorque(float clutch, float engineSpeed, float gearRatio, float rotorSpeed);
// Induced velocity over hover induced velocity at axial inflow ratio mu:
// normal working state, vortex ring (-2 <= mu <= -1) and windmill state.
float InducedFactor(float mu);
// Factor on the induced velocity at hub height h (m) over a rotor of radius
// r (m): 1 above 2.4 r, 0.28 on the ground.
float GroundEffect(float hubHeight, float radius);
// Blade lift and drag coefficients at angle of attack alpha (rad); inline,
// so the rotor's element loop takes them four elements at a time.
constexpr float kBladeSlope = -5.7f;  // per rad
constexpr float kMaxLift = 0.7f;
constexpr float kMaxBladeDrag = 2.0f;
inline float BladeLift(float alpha) {
  float cl = kBladeSlope * alpha;
  return cl < -kMaxLift ? -kMaxLift : (cl > kMaxLift ? kMaxLift : cl);
}
inline float BladeDrag(float alpha, float cd0, float cd2) {
  float cd = cd2 * alpha * alpha + cd0;
  return cd > kMaxBladeDrag ? kMaxBladeDrag : cd;
}
// The same for the flybar paddles.
constexpr float kPaddleSlope = -2.7f;  // per rad
constexpr float kMaxPaddleDrag = 1.0f;
constexpr float kPaddleDrag2 = 0.5f;
constexpr float kPaddleDrag0 = 0.02f;
inline float PaddleLift(float alpha) {
  float cl = kPaddleSlope * alpha;
  return cl < -kMaxLift ? -kMaxLift : (cl > kMaxLift ? kMaxLift : cl);
}
inline float PaddleDrag(float alpha) {
  float cd = kPaddleDrag2 * alpha * alpha + kPaddleDrag0;
  return cd > kMaxPaddleDrag ? kMaxPaddleDrag : cd;
}

}  // namespace kxdrotoraero

// The blade elements' loads, the elements of all blades side by side and
// worked four at a time (blade_elements.cpp, built so the compiler may take
// their roots and divisions together).
namespace kxdbladeelements {

constexpr int kPerBlade = 4;  // elements, at (2k + 1) / 8 of the span from the hinge

// One blade's part of its elements' flow and its axes, world axes (m/s, unit).
struct blade {
  kxvector4r a;      // flow per m from the hub: the fuselage's and the blade's turn, the air's change
  kxvector4r c;      // flow per m from the hinge: the flapping, the air's change
  kxvector4r normal; // the blade's normal, pitched
  kxvector4r span;   // along the blade, outward in the sense of rotation
  kxvector4r chord;  // span x normal
  kxvector4r y, z;   // the blade's Y and Z: its drag and flap arms
};

// The elements' fixed places and the substep's common values.
struct rows {
  const float* e;      // m from the hinge, kPerBlade
  const float* rho;    // m from the hub, kPerBlade
  kxvector4r base;     // flow common to all elements (fuselage, hub air, induced), m/s
  float area;          // m^2, one element
  float cd0, cd2;      // blade drag coefficient at zero angle and its growth
};

// For element k of blade i (row kPerBlade i + k): its moment about the
// rotor axis per unit drag arm (N m), its moment about the flap hinge (N m)
// and the magnitude of its angle of attack (rad); an element without flow
// or with the air from behind the chord has a negative angle and no loads.
void Loads(const rows& r, const blade* blades, int count, float* drag, float* moment, float* alpha);

}  // namespace kxdbladeelements

class kxdmainrotor : public kxdbody {
 public:
  static kxtype Type;  // abstract base: no factory
  static constexpr int kMaxBlades = 8;

  // Blade capacity (4 or 8) and sense: +1 turns the frame by +psi, -1 by -psi.
  kxdmainrotor(int maxBlades, int sense, const char* tag);
  ~kxdmainrotor() override;

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void Analyse() override;
  void Prepare() override;
  void UpdateVisual() override;
  void ResetState() override;
  float GetRPM() override;
  float AskExtent() const override;
  // A rotor that turns takes its whole frame from its fuselage at the start
  // of its force pass (Place); without contact points of its own nothing
  // in a substep reads the rest of what the follow pass would place.
  bool PlacesItself() const override { return Body && Geometry && Blades > 0 && !Contact; }

  // Blades, hub centre, frames, radius, chord and inertia from the mesh; 0
  // (keys kept) without a mesh or without a blade.
  int MeasureBlades();
  // The rotor frame from the fuselage, the hub placement and the angle.
  void Place();
  // Mean flap angle of the blades (rad); 0 while broken. The views tilt the
  // rotor disc by it.
  float ConeValue() const;
  // The engine linked, when it is one.
  kxdengine* Shaft() const;
  // rad/s and rad: the rotor speed and angle (Omega of kxdbody is the
  // fuselage-like angular velocity the rotor does not use).
  float Speed() const { return Spin; }

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdmainrotor* As(kxnode* node);

  // Model shape.
  int MaxBlades;          // 4 or 8
  int Sense;              // +1 or -1
  const char* Tag;        // log and trace prefix, the type name

  // Keys.
  kxdbody* Body;                  // the fuselage (exact kxdfuselage00 after Prepare); null when none
  kxvector4r R0;                  // m, hub in the fuselage frame
  float Radius;                   // m, tip distance from the hub centre
  float BladeMass;                // kg, one blade
  float RangeRadiusMax, RangeRadiusMin;
  float RangeBladeMassMax, RangeBladeMassMin;
  float TorqueFactor;             // share of the drive torque felt by the fuselage
  float GearRatio;                // engine speed / rotor speed
  float RotationSpeedGear;        // rad/s of the engine for full clutch engagement
  float PitchMin, PitchMax;       // rad at collective -1 and +1
  float PitchCyclic;              // cyclic gain
  kxvector4r BladeHinge[kMaxBlades];  // m, aircraft axes, w 1 when written
  float* PitchPushrod;            // collective; null reads 0
  float* RollPushrod;
  float* NickPushrod;
  kxdcomponentsound Sound;        // name is the SoundFile key
  kxnode* Engine;                 // kxdengine00 or kxdengine10; null when none
  float BellHillerRadius;         // m, paddle distance from the flybar axis
  float BellHillerMass;           // kg, one paddle
  float BellHillerArea;           // m^2, one paddle
  kxvector4r BellHillerR;         // m, flybar pivot in the rotor frame
  float UH0, UH1, UH2, UH3;       // cyclic rate gain, cyclic tilt gain, blade CD0, CD growth
  float Kx, Ky, Dx, Dy, DampingX, DampingY, Ct0, Ct1, Cq0, Cq2, Cnr, Crr;  // stored only
  float Forward01, Forward02, LossR, LossN, SolidLift, Sigma;              // stored only
  kxgeometricobject* BellHillerGeometry;  // flybar mesh object; null when none

  // Measured and derived.
  float HingeRadius;              // m, hinge distance from the hub centre
  float Chord;                    // m
  int Blades;                     // 0..MaxBlades
  kxgeometricobject* BladeObject[kMaxBlades];
  kxmatrix BladeRows[kMaxBlades]; // X, Y, Z of each blade in the rotor frame
  float BladePitch[kMaxBlades];   // rad, last step
  float Flap[kMaxBlades];         // rad; in the twin the flap rate
  float FlapRate[kMaxBlades];     // rad/s; in the twin the flap acceleration
  float FlapInertia[kMaxBlades];  // kg m^2
  kxmatrix Flybar;                // flybar frame in the rotor frame
  kxmatrix FlybarRest;            // X, Y, Z at Prepare
  float FlybarAngle;              // rad; in the twin its rate
  float FlybarRate;               // rad/s; in the twin its acceleration
  float PaddlePitch;              // rad, last paddle computed
  float FlybarInertia;            // kg m^2
  kxvector4r DiscAxis;            // unit, world; in the twin its rate
  float Spin;                     // rad/s, rotor speed; in the twin dOmega/dt
  float Angle;                    // rad, rotor angle; in the twin its rate
  int Broken;                     // a blade or the flybar struck; until Prepare
  float Induced;                  // m/s through the disc along the rotor axis
  float HubHeight;                // m above the ground below the hub
  float Thrust;                   // N, sum of the hinge forces along the axis
  float SmoothedAlpha;            // rad, low-passed blade angle of attack (sound)
  float RPMValue;                 // 60 Omega / 2 pi, per frame
  kxmatrix Placement;             // rotor frame in the fuselage frame (R is R0)
  int Skipped;                    // a missing link was logged since Prepare
  // The turn Place last took the cosine and sine of: the force pass of a
  // substep places the rotor at the angle its integration left.
  float placedAngle = std::numeric_limits<float>::quiet_NaN();  // rad; NaN: none yet
  float placedCos = 1.0f, placedSin = 0.0f;
  // The blade elements, kElements to a blade at (2k + 1) / (2 kElements) of
  // the span: distance from the hinge and from the hub, the same on every
  // blade. Set for the radii in elementsFor, again when those change.
  static constexpr int kElements = kxdbladeelements::kPerBlade;
  float ElementE[kElements] = {};    // m
  float ElementRho[kElements] = {};  // m
  float elementsFor[2] = {std::numeric_limits<float>::quiet_NaN(), 0.0f};  // Radius, HingeRadius
  // How far the parts' strike boxes reach from the hub as the parts were
  // last placed (m, summed over the rotor's axes, so it bounds every
  // turn); NaN while unknown: then each part is asked alone.
  float strikeReach = std::numeric_limits<float>::quiet_NaN();

 private:
  int Ready();
  void StrikeTest();
  void MeasureStrikeReach();
  void DriveStep(kxdmainrotor* d);
  // What a force pass works out once for the flybar and the blades.
  struct common {
    kxvector4r an;      // the disc axis, unit
    kxvector4r hubAir;  // m/s, the air at the hub
    float turnX, turnY; // rad/s, the fuselage's turn about its X and Y
    bool sheared;       // the air changes along the rotor
  };
  void FlybarStep(kxdmainrotor* d, const common& pass);
  void PlaceElements();
  void BladeStep(kxdmainrotor* d, const common& pass);
  void FlapStep(kxdmainrotor* d, const common& pass, const kxvector4r* axes, const float* moments);
  void HingeForces(const kxdbladeelements::blade* blades, const kxvector4r* axes);
  void InflowStep(const kxvector4r& hubAir);
};

class kxdrotor00 : public kxdmainrotor {
 public:
  static kxtype Type;
  kxdrotor00();
};

class kxdrotor01 : public kxdmainrotor {
 public:
  static kxtype Type;
  kxdrotor01();
};
