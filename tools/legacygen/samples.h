// The sample legacy models: their .dns text and their mesh, whose elements
// are named like the parts that draw them. Body axes: x forward, y left,
// z up, origin at the centre of gravity; metres, kilograms, seconds.
//
// Every model starts with its mass part, a dummy of Type 6 whose M is the
// mass, whose X, Y, Z hold the inertia tensor and XT, YT, ZT its inverse,
// and whose Expo shapes the control curve. The values are a starting point
// for flight, meant to be tuned.
#pragma once

#include <string>

struct kxgeometry;

namespace legacygen {

struct sample {
  std::string name;            // file stem
  std::string dns;             // the model file's text
  kxgeometry* mesh = nullptr;  // owned by the caller; null for a model without one
};

sample Fall();      // the mass part alone: a falling body
sample Glider();    // no power; tricycle wheels and tip skids
sample Trainer();   // engine and propeller; the mesh has one unnamed element
sample VectorJet();   // vectored thrust, drawn control surfaces, air brake, vario and drawn parts
sample Heli();      // rotor of Type 10, heading-lock gyro, tail propeller on channel 11
sample Piccolo();   // the small helicopter of the older simulator's own folder

}  // namespace legacygen
