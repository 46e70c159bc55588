#include "dynamics/aircraft.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/arguments.h"
#include "core/reference.h"
#include "dynamics/instance.h"
#include "platform/pinboard.h"

kxtype kxdaircraft::Type("kxdaircraft", sizeof(kxdaircraft), kxcreate<kxdaircraft>);

namespace {

constexpr int kChannelBase = 2000;     // first slot of player 0's function channels
constexpr int kChannelsPerPlayer = 100;

struct binder {
  std::string typeName;
  kxdaircraft::PlayerBinder bind;
};

std::vector<binder>& Binders() {
  static std::vector<binder> binders;
  return binders;
}

float* pinboardSlots = nullptr;

}  // namespace

void kxdaircraft::RegisterPlayerBinder(const char* typeName, PlayerBinder bind) {
  if (!typeName) return;
  for (binder& b : Binders()) {
    if (b.typeName == typeName) {
      b.bind = bind;
      return;
    }
  }
  Binders().push_back({typeName, bind});
}

void kxdaircraft::SetPinboardSlots(float* slots) { pinboardSlots = slots; }
float* kxdaircraft::PinboardSlots() {
  if (pinboardSlots) return pinboardSlots;
  kxpinboard* pinboard = input::Pinboard();
  return pinboard ? pinboard->slots : nullptr;
}

float* kxdaircraft::PlayerChannels(float* slots, int player) {
  return slots ? slots + kChannelBase + kChannelsPerPlayer * player : nullptr;
}

kxdaircraft* kxdaircraft::As(kxnode* node) { return kxnode::As<kxdaircraft>(node); }

kxdaircraft::kxdaircraft() { type = &Type; }

kxvalueptr kxdaircraft::GetMember(const char* member, const kxargs& args) {
  if (member && std::strcmp(member, "Lock") == 0) return kxvalueptr(new kxintref(&Lock));
  return kxdintegrable::GetMember(member, args);
}

void kxdaircraft::CopyTo(kxnode* other) {
  kxdaircraft* a = As(other);
  if (!a || a == this) return;
  a->Instance = Instance;
  a->Lock = Lock;
}

void kxdaircraft::Analyse() {
  int player = Instance ? Instance->Player : 0;
  if (player < 0 || player >= kxdaircraftinstance::kPlayers) player = 0;
  float* slots = PlayerChannels(PinboardSlots(), player);
  // Only receivers directly below the root are bound: a nested one belongs
  // to a part that feeds it itself.
  for (kxnode* c = firstChild; c; c = c->nextSibling) {
    for (const binder& b : Binders()) {
      if (c->type && c->type->name == b.typeName && b.bind) b.bind(c, player, slots);
    }
  }
  kxdintegrable::Analyse();
}
