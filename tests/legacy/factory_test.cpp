#include "legacy/factory.h"

#include <cstring>
#include <string>

#include "legacy/schema.h"
#include "tests/legacy/legacy_support.h"

namespace {

using namespace dnsmodel;

class LegacyFactoryTest : public kxltest::legacytest {};

const char* const kTypeNames[] = {"simulation", "object",      "sound",    "wind",  "interaction", "dynamicsystem",
                                  "wing",       "wheel",       "graphic",  "tip",   "engine",      "propeller",
                                  "dummy",      "flap",        "puregraphic", "fuselage", "rotor", "gyro",
                                  "brake",      "vario",       "harrier"};
const char* const kRecords[] = {"simulation", "sound", "wind", "interaction", "dynamicsystem"};

bool IsRecord(const std::string& name) {
  for (const char* r : kRecords)
    if (name == r) return true;
  return false;
}

// Every type is made from a prototype that is zero in every member, with
// the class identity of a part and a wheel's Retract of -2 the only
// exceptions, even from a pool block that held other bytes before.
TEST_F(LegacyFactoryTest, EveryTypeIsMadeFromItsPrototype) {
  for (const char* name : kTypeNames) {
    SCOPED_TRACE(name);
    const typeinfo* type = FindType(name);
    ASSERT_NE(type, nullptr);
    void* dirty = PoolAlloc(static_cast<size_t>(type->size));
    ASSERT_NE(dirty, nullptr);
    std::memset(dirty, 0xA5, static_cast<size_t>(type->size));
    PoolFree(CurrentPool(), dirty);

    void* made = CreateObject(name);
    ASSERT_EQ(made, dirty) << "the same block again";
    for (int i = 0; i < type->Count(); ++i) {
      const memberinfo* m = type->At(i);
      const unsigned char* field = static_cast<const unsigned char*>(made) + m->offset;
      float retract;
      std::memcpy(&retract, field, sizeof retract);
      if (std::string(name) == "wheel" && std::string(m->name) == "Retract") {
        EXPECT_EQ(retract, -2.0f);
        continue;
      }
      for (int b = 0; b < m->bytes; ++b) ASSERT_EQ(field[b], 0) << m->name;
    }
    if (IsRecord(name)) {
      EXPECT_EQ(type->cls, nullptr);
    } else {
      object* part = static_cast<object*>(made);
      EXPECT_STREQ(part->GetTypeName(), name);
      EXPECT_EQ(As<object>(part) != nullptr, std::string(name) == "object");
      EXPECT_EQ(As<wheel>(part) != nullptr, std::string(name) == "wheel");
      EXPECT_EQ(part->next, nullptr);
      EXPECT_EQ(part->mesh, nullptr);
    }
    PoolFree(CurrentPool(), made);
  }
  EXPECT_EQ(CurrentPool()->used, 0);
}

TEST_F(LegacyFactoryTest, OtherNamesMakeNothing) {
  for (const char* name : {"Wheel", "wheel ", "", "kxdwing00", "objects"}) {
    EXPECT_EQ(CreateObject(name), nullptr) << name;
  }
  EXPECT_EQ(CreateObject(nullptr), nullptr);
  EXPECT_EQ(CurrentPool()->used, 0);
}

TEST_F(LegacyFactoryTest, AFullPoolMakesNothingAndFreePartsReturnsAList) {
  object* head = nullptr;
  object** tail = &head;
  int made = 0;
  while (object* p = static_cast<object*>(CreateObject("rotor"))) {
    *tail = p;
    tail = &p->next;
    ++made;
  }
  EXPECT_EQ(made, kPoolBytes / (FindType("rotor")->size + kBlockHeaderBytes));
  EXPECT_EQ(CreateObject("rotor"), nullptr);
  FreeParts(head);
  EXPECT_EQ(CurrentPool()->used, 0);
  EXPECT_EQ(CurrentPool()->blocks, 1);
}

}  // namespace
