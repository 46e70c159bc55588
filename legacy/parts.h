// The part classes of a legacy model. A model is a singly linked list of
// parts; each part is an `object` followed by the fields of its class.
//
// Why composition and a table of functions rather than C++ inheritance and
// virtual functions: the member table finds every field by offsetof, which
// is only valid on standard-layout types, and the factory copies prototypes
// into pool blocks. So each class is a standard-layout, trivially copyable
// struct whose first field is its `object`; the class identity is a plain
// pointer to the class's table of operations (its four slots and its type
// name), which may be copied with the rest of the prototype. A pointer to a
// part and to its `object` are interchangeable (As<T> converts back).
//
// Fields named in CamelCase (and xw, yw, zw, ww) are members that a model
// file can assign; lower-case fields are runtime state.
#pragma once

#include <cstdint>
#include <type_traits>

#include "legacy/records.h"

struct kxgeometry;

namespace dnsmodel {

struct object;
struct propeller;
struct rotor;

constexpr int kNameBytes = 32;     // Name, Engine, Flap and Brake
constexpr float kWheelAlwaysDown = -2.0f;  // Retract below every gear channel value

// The operations of one part class. The loader runs init then update on each
// part, the resets run update, every substep runs compute.
struct partclass {
  const char* typeName;   // the factory's name for the class
  void (*init)(object* part, dynamicsystem* model);
  void (*update)(object* part, dynamicsystem* model);   // back to rest
  void (*compute)(object* part, dynamicsystem* model, float dt);
};

struct object {
  static const partclass kClass;

  const partclass* cls;   // class identity; never null in a part the factory made
  char Name[kNameBytes];  // links between parts are made by this name
  // The part's frame, 16 floats in the column-major order OpenGL takes: axis
  // columns X, Y, Z and the position R, in body axes, each with its w entry.
  float X[3];
  float xw;
  float Y[3];
  float yw;
  float Z[3];
  float zw;
  float R[3];   // m
  float ww;
  float M;      // as the file gives it; the Type 6 part's is the model's mass (kg)
  int32_t Type; // 2 propeller, 10 rotor, 6 mass part, 5 powered; others are drawn parts
  object* next; // null ends the list
  kxgeometry* mesh;  // element named like the part; null when none

  void Init(dynamicsystem* model) { cls->init(this, model); }
  void Update(dynamicsystem* model) { cls->update(this, model); }
  void Compute(dynamicsystem* model, float dt) { cls->compute(this, model, dt); }
  const char* GetTypeName() const { return cls->typeName; }

  // The base behaviours: the w column becomes (0, 0, 0, 1); Compute does
  // nothing.
  static void InitFrame(object* part, dynamicsystem* model);
  static void ComputeNothing(object* part, dynamicsystem* model, float dt);
};

struct wing {
  static const partclass kClass;
  object base;
  float X0[3];   // working chord axis, rewritten every substep
  float Y0[3];
  float Z0[3];   // working normal
  float Ca0, Ca1, Ca2, Ca3, Ca4, Ca5, Ca6;   // lift polynomial (Ca0 rewritten every substep)
  float Cw0, Cw1, Cw2, Cw3, Cw4, Cw5;        // drag polynomial (Cw0 rewritten every substep)
  float C0, C1, C2, C3;                      // control curve of the channel value
  float Cw00, Ca00, Ccr, Ccw, Cca;
  float V[3];    // m/s, local airflow at R
  float Vn[3];   // its unit vector
  float Density;
  float Area;    // m^2; 0.002 or less makes no force
  float Rl[3];   // m, body, where the lift acts
  float L[3];    // N, lift of the substep
  float D[3];    // N, drag of the substep
  int32_t Channel;
  int32_t ChannelB;  // air-brake channel
  float Bl, Bd;
  char Brake[kNameBytes];
  char Flap[kNameBytes];
  float Edge, Slope, Loss;
  float* brakeLink;  // the named brake's input; null without one
  float* flapLink;   // the named flap's input; null without one
  float Factor;      // share of the propeller slipstream felt
};

struct wheel {
  static const partclass kClass;
  object base;
  int32_t frictionState;  // 0 no contact, 1 rolling or sliding, 2 sticking
  float S[3];             // m, body: the tyre point that meets the ground
  float anchor[3];        // m, world: where a sticking wheel is held
  float worldR[3];        // m, world position of R this substep
  float normal[3];        // out of the ground, body axes
  float rolling[3];       // rolling direction, body axes
  float side[3];          // side direction, body axes
  float pointVelocity[3]; // m/s, body, of R
  float force[3];         // N, body, of the substep
  float normalForce;      // N
  float Radius, Maximum, Distance;
  float Kz;               // N/m
  float KRoll, KSRoll, KSlip, KSSlip;
  float Dz;               // N s/m
  float C0;               // rad of steering per unit of channel 3
  float savedX[3];        // axes as loaded
  float savedY[3];
  int32_t contact;        // index into the contact table; -1 without one
  float Retract;          // gear is down while below channel 5
};

struct graphic {
  static const partclass kClass;
  object base;
};

struct tip {
  static const partclass kClass;
  object base;
  int32_t freeFlag;       // 1 when the ray found nothing on the previous substep
  float current[3];       // m, world position of R
  float previous[3];      // m, world position of R one substep before
  float normal[3];
  float force[3];         // N, body, of the substep
  float Max;              // N; a larger contact force is a crash
  float Kc, Kd;
  float Kz;               // N/m
  float Dz;               // N s/m
  int32_t contactA;       // swept segment
  int32_t contactB;       // ray to the reference point
};

constexpr float kConstantShaftAbove = 2.0f;   // rad/s: an engine's Constant above it fixes its shaft speed

struct engine {
  static const partclass kClass;
  object base;
  sound soundRecord;
  float RPM, Min, Max, Mass, Constant;   // Min, Max, Constant in rad/s
  float torque;           // N m on the shaft this substep
  int32_t Channel;
  float C0, C1, C2, C3;   // throttle curve
  float Inertia;          // kg m^2, grows by every linked propeller's and rotor's
  float Cm0, Cm1, Cm2, Cm3;  // torque curve
  int32_t Const;
  float shaftSpeed;       // rad/s
  propeller* propellerLink;
  rotor* rotorLink;
};

struct propeller {
  static const partclass kClass;
  object base;
  sound soundRecord;
  char Engine[kNameBytes];
  int32_t Channel;        // pitch channel; 11 gives moment only
  float omega;            // rad/s
  float thrust;           // N
  float torque;           // N m, the load the engine feels
  float induced;          // m/s, lagged induced velocity
  float blur;             // 0..1, drawn disc
  float C0, C1, C2, C3;   // pitch curve
  float Radius, Angle, Chord, Blades, Pitch, Inertia, Trans, Max;
  float* engineLink;      // the engine's shaftSpeed; null without an engine
  float Cp0, Cp1, Ct0, Ct1, Area, Sigma, Theta;
  float ct, cp;           // effective coefficients of the substep
  float thrustVector[3];  // N, body
};

struct dummy {
  static const partclass kClass;
  object base;
  float XT[3];   // inverse inertia rows of a Type 6 part
  float YT[3];
  float ZT[3];
  float Expo;    // control expo of a Type 6 part
};

struct flap {
  static const partclass kClass;
  object base;
  float input;      // deflection written by the linked wing or rotor
  float savedX[3];  // axes as loaded
  float savedY[3];
};

struct puregraphic {
  static const partclass kClass;
  object base;
};

struct fuselage {
  static const partclass kClass;
  object base;
  float flow[3];         // m/s, local airflow
  float flowUnit[3];
  float crossForce[3];   // N
  float drag[3];         // N
  float Cw, Cw0, Cw1, Cw2, Ca, Ca0, Ca1;
  float Area;            // m^2
};

struct rotor {
  static const partclass kClass;
  object base;
  sound soundRecord;
  float savedX[3];        // axes as loaded
  float savedY[3];
  float discAxis[3];      // world, unit; (0, 0, 1) after Init
  float tiltedAxis[3];    // body, this substep
  float tiltA, tiltB;     // tilt along savedX and savedY
  float tiltRateA, tiltRateB;
  float Kx, Ky, Dx, Dy;
  float omega;            // rad/s
  float torque;           // N m, the load the engine feels
  char Engine[kNameBytes];
  char Flap[kNameBytes];
  int32_t ChannelR, ChannelN, ChannelP;
  float* engineLink;      // the engine's shaftSpeed; null without an engine
  float* flapLink;        // the named flap's input
  float Radius, Angle, Chord, Blades, Sigma, Area, Trans, Inertia, Vv, Thrust;
  float ct, cq;           // effective coefficients of the substep
  float gyroMoment[3];    // N m, body
  float thrustVector[3];  // N, body
  float Cp0, Cp1, Cp2, Cp3, Cr0, Cr1, Cr2, Cr3, Cn0, Cn1, Cn2, Cn3;
  float Ct0, Ct1, Cq0, Cq2;
  float Forward01, Forward02, Ground01, Ground02, LossR, LossN, DampingX, DampingY;
  float blur;             // 0..0.5, drawn disc
  float Direction;        // 7272 or more mirrors the drawn spin
};

struct gyro {
  static const partclass kClass;
  object base;
  float Fade, Angle, Gain;
  int32_t Channel, Reverse, Lock;
};

struct brake {
  static const partclass kClass;
  object base;
  float rest;    // m, R.z as loaded
  float input;   // written by the linked wing
  float Shift;   // m per unit input
};

struct vario {
  static const partclass kClass;
  object base;
  sound soundRecord;
  float energy;           // m, energy height
  float previousEnergy;   // m
  float filteredChange;   // m
};

struct harrier {
  static const partclass kClass;
  object base;
  sound soundRecord;
  float ForceMax;         // N at full throttle
  float throttle;         // 0..1, lagged
  float nozzle;           // rad, lagged
  float R0[3], R1[3], R2[3], R3[3];   // m, body, the four nozzles
  float DiffPitch, DiffRoll, DiffYaw, DampPitch, DampRoll, DampYaw;
};

// The part of class T that p is, or null when p is null or of another class.
template <class T>
T* As(object* p) {
  if (!p || p->cls != &T::kClass) return nullptr;
  if constexpr (std::is_same_v<T, object>) return p;
  else return reinterpret_cast<T*>(p);
}

// The part p as its own class T: the class tables hand each operation only
// parts of its class.
template <class T>
T& Self(object* p) {
  return *reinterpret_cast<T*>(p);
}

}  // namespace dnsmodel
