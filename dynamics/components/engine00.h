// kxdengine00: the piston engine. A rigid engine block carrying a shaft: a
// torque curve built from PowerMax and RotationSpeedMax, the throttle from a
// servo, the load of the driven parts, the reaction torque on the block,
// three cross-faded engine sounds, and the exhaust record the smoke reads.
#pragma once

#include "dynamics/component_sound.h"
#include "dynamics/components/engine.h"

// Final: the shaft's passes then call its drive directly, not through the
// table, in every substep.
class kxdengine00 final : public kxdengine {
 public:
  static kxtype Type;
  static constexpr int kTableSize = 1024;
  static constexpr int kSounds = 3;

  kxdengine00();
  ~kxdengine00() override;

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void Analyse() override;
  void Prepare() override;
  void UpdateVisual() override;
  void ResetState() override;
  float* ShaftAngle() override { return &Angle; }

  // Full-throttle torque (N m) at shaft speed w (rad/s) from the table.
  float FullTorque(float w) const;
  // Rebuilds the table from PowerMax and RotationSpeedMax; 0 (table kept,
  // one log line) when they give no curve.
  int BuildTable();
  // (L + 1) / 2 of the throttle servo, unclamped; 0 without a link.
  float ThrottleSetting() const;
  // Volumes and frequencies of the three sounds at rpm and throttle t.
  void SoundMix(float rpm, float t, float gain[kSounds], float frequency[kSounds]) const;

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdengine00* As(kxnode* node);

  float Angle;                  // rad, shaft angle; in the Change twin its rate
  float Table[kTableSize];      // N m at full throttle for w = 10 i rad/s
  float PowerMax;               // W, peak of the torque curve's power
  float PowerMaxRevs;           // stored and written only
  float TorqueFactor;           // share of the engine torque felt by the block
  int Record;                   // exhaust record 0..3 in the instance
  kxvector4r ExhaustR;          // m, body axes, w 1
  float RotationSpeedIdle;      // rad/s, lower bound of the shaft speed
  float RotationSpeedPowerMax;  // stored, copied and written only
  float RotationSpeedMax;       // rad/s where the torque curve ends
  kxdcomponentsound Sound[kSounds];  // low, middle, high
  float SoundRPM[kSounds];      // rpm at which each sample plays at 22050 Hz
  float Sound01RPM;             // rpm of the cross-over of sounds 0 and 1
  float Sound12RPM;             // rpm of the cross-over of sounds 1 and 2
  float* ThrottleControl;       // servo output; null reads closed throttle

 protected:
  // Full-throttle torque scaled by the throttle, less the closed-throttle drag.
  float DriveTorque(float* reaction) override;
};
