// kxdgyro00: a rate gyro between a radio signal and a servo. A small rigid
// body of its own that measures its turn rate about a body-fixed axis and
// publishes the correction -Gain (rate - signal), clamped to [-1, 1], as a
// signal a servo can link to.
#pragma once

#include "dynamics/body.h"

class kxdgyro00 : public kxdbody {
 public:
  static kxtype Type;

  kxdgyro00();

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void Prepare() override;

  // rad/s about the sensing axis, from the frame and its derivative.
  float MeasuredRate() const;

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdgyro00* As(kxnode* node);

  float* SignalIn;   // commanded rate, rad/s per unit signal; null reads 0
  float SignalOut;   // published correction in [-1, 1]
  float Gain;        // correction per rad/s of rate error
  float Angle;       // rad, integral of the rate; in the Change twin the rate
  kxvector4r Axis;   // sensing axis in body axes; only x, y, z take part
  float RawOutput;   // correction before the clamp
};
