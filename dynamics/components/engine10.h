// kxdengine10: the electric drive: a brushed DC motor fed by a battery of
// identical cells through the throttle, driving the shaft through a gearbox.
// Its body is placed and weighted from the motor, gearbox and cell masses;
// it offers driven parts the same shaft as the combustion engine (without a
// shaft angle) and plays one sound that follows the rpm.
#pragma once

#include "dynamics/component_sound.h"
#include "dynamics/components/engine.h"

// Final: the shaft's passes then call its drive directly, not through the
// table, in every substep.
class kxdengine10 final : public kxdengine {
 public:
  static kxtype Type;

  kxdengine10();
  ~kxdengine10() override;

  void Analyse() override;
  void Prepare() override;
  void UpdateVisual() override;
  void ResetState() override;

  // V s/rad: back-EMF and torque constant, 60 / (2 pi MotorNs).
  float K() const;
  // V: battery voltage.
  float BatteryVoltage() const;
  // Shaft speed per motor speed as the drive computes with it: at least a
  // hundredth.
  float Ratio() const;
  // ohm: motor and cells in series.
  float Resistance() const;
  // rad/s of the motor without load at full voltage.
  float NoLoadSpeed() const;
  // Clamps the keys into their ranges, in place.
  void ClampKeys();

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdengine10* As(kxnode* node);

  int ConstantRPM;          // 0: throttle sets the voltage; else it sets a held speed
  float TorqueFactor;       // share of the shaft torque felt by the body
  float CellNum;            // cells in series, a whole number
  float CellVoltage;        // V per cell
  float CellMass;           // kg per cell
  float CellRi;             // ohm per cell
  float MotorNs;            // rpm per volt
  float MotorRi;            // ohm
  float MotorI0;            // A, no-load current
  float MotorMass;          // kg
  float GearRatio;          // shaft speed per motor speed
  float GearEta;            // stored and written only
  float GearMass;           // kg, at MotorR
  kxvector4r MotorR;        // m, aircraft axes: motor and gearbox
  kxvector4r CellR;         // m, aircraft axes: cells
  float Throttle;           // throttle of the last force pass, 0 below the cut-off
  kxdcomponentsound Sound;  // motor sound
  float Sound0RPM;          // rpm at which the sample plays at 22050 Hz
  float Sound0RPMLow;       // rpm below which the sound stops
  float* ThrottleControl;   // servo output; null reads 0

 protected:
  // The motor's torque through the gearbox at the battery voltage the
  // throttle (or the speed hold) gives.
  float DriveTorque(float* reaction) override;
  // The back-EMF's: k^2 / (R ratio^2), with the resistance of motor and cells.
  float DriveDamping() const override;
};
