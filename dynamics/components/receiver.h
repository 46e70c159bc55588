// kxdreceiver00: the model's radio receiver. It is the source of every radio
// signal in an aircraft: once per frame it copies its player's 32 function
// channels into its outputs Out(0)..Out(31), and it carries the V-tail
// mixing factors the player's control mapper uses.
#pragma once

#include "dynamics/body.h"

class kxdreceiver00 : public kxdbody {
 public:
  static kxtype Type;
  static constexpr int kOutputs = 32;

  kxdreceiver00();

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Integrate(kxdintegrable* change, int flag, float dt) override;
  void UpdateVisual() override;
  void ResetState() override;
  // Copies channels; its frame serves only drawing.
  bool FrameInSubsteps() const override { return false; }
  // Its force pass and integration are empty: the channels move per frame.
  bool WorksWhenFolded() const override { return false; }
  int SubstepPasses(const kxdfold*) const override { return 0; }
  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  // Output i := source[i]; nothing while no source is bound.
  void UpdateChannels();
  // The aircraft analysis' binding: the player's channel slots and V-tail
  // factors.
  static void BindToPlayer(kxnode* component, int player, float* slots);

  static kxdreceiver00* As(kxnode* node);

  float* SlotAnalog;           // player's first function channel; null until bound
  float Out[kOutputs];         // radio signals, normally -1..1
  float VTailMixElevator;      // elevator share of the V-tail mix
  float VTailMixRudder;        // rudder share of the V-tail mix
};
