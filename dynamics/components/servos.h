// Servos: turn a radio signal into a mechanical position (MechLink) that
// engines, rotors, turbines, gear legs, wings and joints follow.
// kxdservo00 maps the signal through a cubic and moves toward it at one
// speed; kxdservo01 moves an input position toward the signal, maps it
// through a table of up to 32 points and moves its output toward that.
// Both are bang-bang movers without mass or motion of their own.
#pragma once

#include "dynamics/body.h"

// What both servos share: the signal link, the published position and an
// empty visual update.
class kxdservo : public kxdbody {
 public:
  kxdservo();
  void UpdateVisual() override {}
  // A servo moves its output, not itself: its frame serves only drawing.
  bool FrameInSubsteps() const override { return false; }
  // Folded, the servos of a class are worked together: a force pass reads
  // only the servo's own state and its signal, which moves once a frame or
  // in an integration, and no integration reads a servo's output.
  const batch* SubstepBatch(const kxdfold* fold) const override;

  // The signal and output keys both servos start with.
  static const kxdkeytable Keys;

  static kxdservo* As(kxnode* node);

  float* SignalIn;  // commanding signal; null when unlinked (the servo holds still)
  float MechLink;   // published position
};

class kxdservo00 : public kxdservo {
 public:
  static kxtype Type;

  kxdservo00();

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void ResetState() override;

  // P0 + s (P1 + s (P2 + s P3)).
  float Target(float s) const;
  // The passes themselves; c is the twin.
  void Force(kxdservo00* c) const;
  void Step(const kxdservo00* c, float dt);

  float P0, P1, P2, P3;  // target polynomial of the signal
  float Position;        // state; in the Change twin its rate, units/s
  float Vmax;            // units/s
  float PFirst;          // start signal when |PFirst| > 0.001

  // Before a frame's batched substeps: whether the signal is a receiver's
  // output, which moves once a frame (as last found for SignalIn), and then
  // the frame's target.
  void TakeFrameTarget();
  // Force with that target when it was taken.
  void ForceInFrame(kxdservo00* c) const;

 private:
  const float* checkedSignal = nullptr;
  bool fromReceiver = false;
  bool frameTargetSet = false;  // frameTarget holds this frame's target
  float frameTarget = 0.0f;
};

class kxdservo01 : public kxdservo {
 public:
  static kxtype Type;
  static constexpr int kPoints = 32;

  kxdservo01();

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void ResetState() override;

  // The table value at input position p: linear within the first segment
  // that holds p; 0 outside every segment or with fewer than two points.
  float TableValue(float p) const;
  // ValueNumber limited to the table's 0..32 entries.
  int Points() const;
  // The passes themselves; c is the twin.
  void Force(kxdservo01* c) const;
  void Step(const kxdservo01* c, float dt);

  float VelocityIn;         // 1/s, input stage rate
  float VelocityOut;        // 1/s, output stage rate
  float ValueIn[kPoints];   // ascending abscissae
  float ValueOut[kPoints];  // outputs at the abscissae
  int ValueNumber;          // points in use
  float InputPosition;      // state in [-1, 1]; in the twin its rate
  float OutputPosition;     // state; in the twin its rate
  float PositionFirst;      // start input position when |PositionFirst| > 0.001
};
