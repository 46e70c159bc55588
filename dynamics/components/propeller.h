// kxdpropeller00: turns the shaft speed of its engine into thrust, shaft
// torque, an in-plane drag and a slipstream. It has no dynamics of its own:
// it rides on the engine's shaft, pushes the engine's body and loads its
// shaft. Its analysis measures the blades (count, radius, hub radius, pitch
// at 75 % radius) and builds the thrust and power coefficient tables. A
// blade that touches the ground breaks it and crashes the aircraft.
#pragma once

#include <limits>

#include "dynamics/body.h"

class kxdengine;

class kxdpropeller00 : public kxdbody {
 public:
  static kxtype Type;
  static constexpr int kTable = 100;      // coefficients at J = 0, 0.1, ..., 9.9
  static constexpr int kMaxBlades = 8;    // blades the analysis measures

  kxdpropeller00();

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void Analyse() override;
  void Prepare() override;
  void UpdateVisual() override;
  float GetRPM() override;
  float AskExtent() const override;
  // With an engine the force pass takes hub, shaft axis and their rates
  // from it.
  bool PlacesItself() const override { return Engine != nullptr && Shaft() != nullptr; }
  // A carried propeller's force pass hands on what it put on itself (its
  // thrust pushes the free body directly).
  int SubstepPasses(const kxdfold*) const override { return ParentBody ? kAllPasses | kOwnHandOver : kAllPasses; }

  // Measures the blades of the geometry; 0 (keys kept) when there is
  // nothing it can measure.
  int MeasureBlades();
  // CT and CP over J from Radius and Pitch.
  void BuildTables();
  // Coefficients at advance ratio J (clamped to 0..9).
  void Coefficients(float J, float* ct, float* cp) const;
  // The frame from the engine's frame and the phase: Z along the engine's X.
  void Place();

  // m/s of the slipstream of the last propeller step, any aircraft.
  static float GlobalSlipstreamSpeed;

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdpropeller00* As(kxnode* node);

  kxnode* Engine;             // the driving engine (kxdengine00 or kxdengine10); null when none
  int Blades;                 // counted by the analysis
  float Radius;               // m, tip radius
  float Pitch;                // m, advance per turn at 75 % radius
  float HubRadius;            // m, nearest blade root
  kxvector4r Placement;       // m, position in the engine's frame (w 1 after Prepare)
  float RangeRadiusMax;       // m, the designer's range
  float RangeRadiusMin;
  float Phase;                // rad, blade angle
  float ShaftSpeed;           // rad/s, the engine's
  float RPMValue;             // shaft speed x 9.58
  float DragLateral;          // in-plane drag per newton of thrust per m/s
  int Broken;                 // a blade touched something; until the next Prepare
  float CT[kTable];           // thrust coefficients
  float CP[kTable];           // power coefficients
  float Wash;                 // m/s, slipstream speed added behind the disc
  // The blade angle Place last took the cosine and sine of: the force pass
  // of a substep places the propeller at the phase its integration left.
  float placedPhase = std::numeric_limits<float>::quiet_NaN();  // rad; NaN: none yet
  float placedCos = 1.0f, placedSin = 0.0f;
  // How far the blades' strike boxes reach from the hub as they were last
  // measured (m, summed over the propeller's axes, so it bounds every blade
  // angle); NaN while unknown: then the blades are placed and asked alone.
  float strikeReach = std::numeric_limits<float>::quiet_NaN();
  // The shaft axis (world) of the last force pass, which the wash of the
  // integration blows back along.
  kxvector4r shaftAxis = {0.0f, 0.0f, 0.0f, 0.0f};
  // The engine Shaft last found for a link and its class: asked twice a
  // substep, the class's test walks the type chain.
  mutable const kxnode* shaftNode = nullptr;
  mutable const kxtype* shaftType = nullptr;
  mutable kxdengine* shaft = nullptr;
  // The hub in the folded engine's carrier's axes, and the fold's cache
  // generation it was placed for (0: none).
  kxvector4r foldedHub = {0.0f, 0.0f, 0.0f, 0.0f};
  unsigned foldedHubEpoch = 0;

 private:
  kxdengine* Shaft() const;
  void StrikeTest();
  void MeasureStrikeReach();
  // Thrust, drag, shaft load and wash from the hub's flow through the air
  // (v, axes of the force), the shaft axis a and the shaft speed. Whether
  // the blades push at all; the force goes to *force, not applied.
  bool Thrust(kxdengine* e, const kxvector4r& v, const kxvector4r& a, kxvector4r* force);
  // The force pass of a clear frame with the engine folded: the thrust
  // worked in the carrier's axes, on the engine's place there.
  void ThrustFolded(kxdengine* e, const kxdfold& engineFold);
};
