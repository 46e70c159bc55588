// Link value types of the aircraft files and their converters: the members
// that point at a radio signal, a servo's mechanical output, another body,
// an airfoil, an engine or a rotor. Assigning a value to a link member runs
// its converter, which decides what may be stored; anything else stores null.
#pragma once

#include "core/reference.h"

class kxdbody;

namespace kxdlinktypes {
extern kxtype Signal;       // "kxdrcout": a radio signal, a float in [-1, 1]
extern kxtype SignalPtr;    // "kxdrcout*"
extern kxtype MechLink;     // "kxdmechlink": a servo's mechanical output
extern kxtype MechLinkPtr;  // "kxdmechlink*"
extern kxtype BodyPtr;      // "kxdbody*"
extern kxtype AirfoilPtr;   // "kxdairfoil*"
extern kxtype EnginePtr;    // "kxdengine*"
extern kxtype RotorPtr;     // "kxdrotor*"
void Register();
}  // namespace kxdlinktypes

namespace kxdlink {

// A kxdmechlink* value gives the pointer it holds, a kxdmechlink value the
// address of its float; anything else null.
float* AsMechLink(const kxvalue& value);
// The same rule for radio signals (kxdrcout, kxdrcout*).
float* AsSignal(const kxvalue& value);
// The airfoil named by a text value (through the finder the wings install);
// null for any other value or without a finder.
void* AsAirfoil(const kxvalue& value);
using AirfoilFinder = void* (*)(const char* name);
void SetAirfoilFinder(AirfoilFinder finder);
// A node value whose type is exactly one of the registered engine types.
kxnode* AsEngine(const kxvalue& value);
void RegisterEngineType(const char* typeName);
// A node value deriving from kxdbody.
kxdbody* AsBody(const kxvalue& value);

// Member references for link fields.
kxvalueptr MechLinkRef(float** field);
kxvalueptr SignalRef(float** field);
kxvalueptr BodyRef(kxdbody** field);
kxvalueptr AirfoilRef(void** field);
kxvalueptr EngineRef(kxnode** field);

}  // namespace kxdlink
