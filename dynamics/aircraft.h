// kxdaircraft: the root of an aircraft's component tree. It knows its
// instance, carries the file's lock key and, in its analysis, binds the
// receivers placed directly below it to their player's channels.
#pragma once

#include "dynamics/integrable.h"

class kxdaircraftinstance;

class kxdaircraft : public kxdintegrable {
 public:
  static kxtype Type;

  // Binds a receiver-like component to player k's channels (PlayerChannels
  // of the pinboard slot array). Installed per exact type name by the
  // component library.
  using PlayerBinder = void (*)(kxnode* component, int player, float* slots);
  static void RegisterPlayerBinder(const char* typeName, PlayerBinder binder);
  // The slot array (4096 floats) receivers and the flight state read: the one
  // set here, else that of "/Pinboard/", else null.
  static void SetPinboardSlots(float* slots);
  static float* PinboardSlots();
  // Player k's function channels in a slot array: slots + 2000 + 100 k; null
  // without slots.
  static float* PlayerChannels(float* slots, int player);

  kxdaircraft();

  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void Analyse() override;

  static kxdaircraft* As(kxnode* node);

  kxdaircraftinstance* Instance = nullptr;  // set when loaded or cloned
  int Lock = 0;                             // the file's "Lock" key
};
