// kxdtailrotor00: the helicopter tail rotor with its built-in yaw gyro. It
// turns at a fixed ratio to the main rotor or the engine, sets its pitch
// from the rudder pushrod corrected by the gyro (rate damping, or heading
// hold that integrates the yaw rate into a bounded heading error) and pushes
// the fuselage sideways with a thrust growing with the square of its tip
// speed. A strike against the scenery stops its thrust.
#pragma once

#include "dynamics/body.h"

// The gyro's command laws, free so they can be checked alone.
namespace kxdtailgyro {

// Rate mode: the gyro's share clamp(gain q, +-range) plus the stick.
float RateCommand(float input, float yawRate, float gain, float range);
// Heading hold: the stick less the dead band of 0.05 either side.
float DeadBand(float input);
// Heading hold: the command from the bounded heading error e (rad) and the
// yaw rate q (rad/s).
float HoldCommand(float error, float yawRate, float gain);

}  // namespace kxdtailgyro

class kxdtailrotor00 : public kxdbody {
 public:
  static kxtype Type;
  static constexpr float kMaxError = 0.4f;  // rad, heading error bound

  kxdtailrotor00();

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void Analyse() override;
  void Prepare() override;
  void UpdateVisual() override;
  float GetRPM() override;
  // On a free carrier the tail rotor takes its frame in its own force pass
  // (its thrust is placed from the fuselage's), in a clear frame only its
  // place.
  bool PlacesItself() const override { return ParentBody && !ParentBody->ParentBody; }
  // The strike test asks about its box.
  float AskExtent() const override;

  // The drive speed (rad/s) of the tail rotor from its linked sources, the
  // last linked of Engine, Rotor, Rotor1 winning; speed when none is linked.
  float DriveSpeed(float speed) const;
  // Blade pitch (rad) for command cmd at tip speed vt and axial speed vax.
  float PitchFor(float cmd, float vt, float vax) const;

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdtailrotor00* As(kxnode* node);

  kxdbody* Body;            // the fuselage (exact kxdfuselage00 after Prepare); null when none
  kxvector4r R0;            // m, hub in the fuselage frame
  float Radius;             // m
  float RangeRadiusMax, RangeRadiusMin;
  float PitchMin, PitchMax; // rad at command -1 and +1
  kxnode* Rotor;            // exact kxdrotor00; null when none
  kxnode* Rotor1;           // exact kxdrotor01; null when none
  kxnode* Engine;           // kxdengine00 or kxdengine10; null when none
  float GearRatio;          // drive speed / tail rotor speed
  float GyroGain;
  float GyroFade;           // stored only
  float GyroRange;          // rate mode authority
  float GyroZero;           // command trim
  float GyroSpeed;          // rad/s of yaw per unit stick in heading hold
  int GyroLock;             // 0 rate mode, else heading hold
  float Ct0, Ct1, Cq0, Cq2; // Ct0/Ct1 forced to 0.4/0 each step; Cq stored only
  float* PitchPushrod;      // rudder; null reads 0

  float Speed;              // rad/s
  float Phase;              // rad; in the twin its rate
  float RPMValue;
  float Error;              // rad, heading error; in the twin its rate
  float Thrust;             // N
  float Lift;               // lift coefficient of the last step
  int Broken;
  int Countdown;            // steps to the next strike test
  kxmatrix Placement;       // X, Y, Z relative to the fuselage
  kxvector4r Xw, Yw, Zw;    // unspun world rows; X and Y only when turned
  int Skipped;              // a missing link was logged since Prepare

 private:
  void StrikeTest();
  // Turns the unturned rows under F by the phase into B's axes.
  void TurnFrame(const kxmatrix& F);
};
