// Jet turbines: bodies that push along their own X axis. kxdturbine00 is a
// plain jet whose thrust follows the throttle at once and falls off with
// speed; kxdturbine10 splits the same thrust over four vectoring nozzles
// that swivel under a nozzle control, with roll, pitch and yaw reaction
// jets that work as far as the nozzles are swivelled. Both play a turbine
// sound pitched by a turbine speed of 30000 to 120000 rpm.
#pragma once

#include "dynamics/body.h"
#include "dynamics/component_sound.h"

class kxgeometricobject;

class kxdturbine00 : public kxdbody {
 public:
  static kxtype Type;

  kxdturbine00();
  ~kxdturbine00() override;

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Analyse() override;
  void Prepare() override;
  void UpdateVisual() override;
  void ResetState() override;
  // A plain jet held rigidly by its carrier pushes along an axis fixed in
  // the carrier's and at a place fixed there: it may be folded (see
  // kxdcompiled). The vectoring jet turns its nozzles in its own frame.
  bool FrameInSubsteps() const override { return type != &Type; }
  // Folded, its force pass puts its thrust on the carrier, and it has no
  // integration of its own.
  int SubstepPasses(const kxdfold* fold) const override { return fold ? kForcePass | kOwnHandOver : kAllPasses; }

  // N along X at throttle setting t (after the idle floor) and speed V (m/s).
  float Thrust(float t, float speed) const;
  // The throttle servo's (L + 1) / 2, 0 without a link, clamped to [floor, 1].
  float ThrottleAbove(float floor) const;
  // Sound frequency (Hz) and volume at turbine speed (rad/s).
  void SoundAt(float speed, float* frequency, float* volume) const;

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdturbine00* As(kxnode* node);

  float Speed;              // rad/s of the turbine, set every frame from the throttle
  float RotationMax;        // stored and written only
  float ThrustMax;          // N, static thrust at full throttle
  float PowerMax;           // stored and written only
  float PowerMaxRevs;       // stored and written only
  float TorqueFactor;       // stored and written only
  kxvector4r ExhaustR;      // m, body axes, w 1
  kxdcomponentsound Sound;  // "SoundFile"
  float SoundRPMIdle;       // rpm of the lowest pitch
  float SoundRPMMax;        // rpm of the highest pitch
  float Sound1;             // Hz at idle
  float Sound2;             // Hz added at the maximum
  float* ThrottleControl;   // servo output; null reads 0

 protected:
  // Idle floor of the throttle (0.02 plain, 0.05 vectoring).
  float idleFloor;
  // Loads the clone's own sample (a clone carries only its name).
  void PrepareSound();
  // Turbine speed, main body rpm value and sound of one frame.
  void UpdateSpeedAndSound();
};

class kxdturbine10 : public kxdturbine00 {
 public:
  static kxtype Type;
  static constexpr int kNozzles = 4;  // left front, right front, left centre, right centre

  kxdturbine10();

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void Analyse() override;
  void Prepare() override;
  void UpdateVisual() override;

  // Swivels each linked nozzle object about the turbine's Y axis by its
  // angle at the present nozzle position.
  void PlaceNozzles();

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdturbine10* As(kxnode* node);

  float* RollControl;                      // roll jet command, -1..1
  float* PitchControl;                     // pitch jet command
  float* NozzleControl;                    // nozzle position command
  float* YawControl;                       // yaw jet command
  kxgeometricobject* Nozzle[kNozzles];     // meshes; null when not linked
  kxvector4r NozzleR[kNozzles];            // m, pivots in the turbine frame
  float NozzlePosition;                    // 0 aft .. 1 swivelled; in the twin its rate
  float NozzleFrontAngle;                  // rad at position 1
  float NozzleCenterAngle;                 // rad at position 1
};
